#ifndef ORVANEFIXTURES_H
#define ORVANEFIXTURES_H

// Helpers for tests that read the hand-written program outputs under
// tests/data and variants of them written by the tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>

namespace OrvaneFixtures {

inline QString dataPath(const QString& relative)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR) + QLatin1Char('/') + relative;
}

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The file as UTF-8 text; empty when it cannot be read.
inline QString readText(const QString& path)
{
    return QString::fromUtf8(contents(path));
}

// The first line where two texts part, for a readable failure; empty when
// they are equal.
inline QString firstDifference(const QString& actual, const QString& expected)
{
    const QList<QString> a = actual.split(QLatin1Char('\n'));
    const QList<QString> b = expected.split(QLatin1Char('\n'));
    for (int i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = a.value(i, QStringLiteral("<end>"));
        const QString y = b.value(i, QStringLiteral("<end>"));
        if (x != y)
            return QStringLiteral("line %1\n  actual:   \"%2\"\n  expected: \"%3\"").arg(i + 1).arg(x, y);
    }
    return QString();
}

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

// A copy of `source` with each (from, to) replacement applied once per
// occurrence; a replacement that matches nothing is an error of the test.
inline QByteArray variant(const QByteArray& source, const QList<QPair<QByteArray, QByteArray>>& replacements,
                          bool* allMatched = nullptr)
{
    QByteArray text = source;
    bool matched = true;
    for (const auto& r : replacements) {
        if (!text.contains(r.first))
            matched = false;
        text.replace(r.first, r.second);
    }
    if (allMatched)
        *allMatched = matched;
    return text;
}

// The first `count` lines of `text` (each with its line feed).
inline QByteArray firstLines(const QByteArray& text, int count)
{
    int end = 0;
    for (int i = 0; i < count && end < text.size(); ++i) {
        const int lf = text.indexOf('\n', end);
        end = lf < 0 ? text.size() : lf + 1;
    }
    return text.left(end);
}

// Index (from 0) of the first line containing `marker`, or -1.
inline int lineOf(const QByteArray& text, const QByteArray& marker)
{
    const int at = text.indexOf(marker);
    return at < 0 ? -1 : text.left(at).count('\n');
}

// The result of `work`, run on its own thread; ends the whole test program
// when it has not returned within `seconds`: a reader that waits for a line
// its file does not hold must fail loudly instead of hanging until the CTest
// timeout.
inline bool resultWithin(int seconds, const std::function<bool()>& work)
{
    auto result = std::async(std::launch::async, work);
    if (result.wait_for(std::chrono::seconds(seconds)) == std::future_status::timeout) {
        std::fprintf(stderr, "A reader did not return within %d s: it waits for input the file does not hold.\n",
                     seconds);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    return result.get();
}

// Makes `path` the current folder for the life of the object (data files
// such as "EnergyLevels4f/" and "CIEpoints.txt" are read from the current
// folder) and restores the previous one afterwards.
class ScopedCurrentDirectory
{
public:
    explicit ScopedCurrentDirectory(const QString& path)
        : previous(QDir::currentPath())
        , changed(QDir::setCurrent(path))
    {
    }
    ~ScopedCurrentDirectory() { QDir::setCurrent(previous); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;
    bool isChanged() const { return changed; }

private:
    QString previous;
    bool changed;
};

} // namespace OrvaneFixtures

#endif
