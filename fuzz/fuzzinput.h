#ifndef ORVANEFUZZINPUT_H
#define ORVANEFUZZINPUT_H

// A fuzz input reaches the engine the way a chemist's file does: written to a
// file and read through the public interface of the reader. Each process
// (libFuzzer's -jobs and -fork start several) writes into a folder of its own.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace OrvaneFuzz {

inline QString folder()
{
    static QTemporaryDir dir;
    return dir.path();
}

inline QString path(const QString& name)
{
    return folder() + QLatin1Char('/') + name;
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size));
}

inline QString writeInput(const QByteArray& bytes, const QString& name)
{
    const QString file = path(name);
    QFile out(file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(bytes);
    return file;
}

// Readers that take two files (a MOPAC input beside an indices file, a point
// charge beside an ORCA output) get the parts before and after the first line
// "@@@@"; an input without that line gives both files the whole input.
inline QPair<QByteArray, QByteArray> splitInput(const QByteArray& bytes)
{
    const QByteArray separator("\n@@@@\n");
    const int at = bytes.indexOf(separator);
    if (at < 0)
        return qMakePair(bytes, bytes);
    return qMakePair(bytes.left(at + 1), bytes.mid(at + separator.size()));
}

// The engine reads some tables from the current folder: the fuzzer's folder
// is made current only while the reader runs, so that libFuzzer's relative
// paths (corpus, artifacts, a replayed input) keep their meaning.
class InFolder
{
public:
    InFolder()
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(folder());
    }
    ~InFolder() { QDir::setCurrent(previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    QString previous;
};

// Readers that take several files get the parts between lines "@@@@" in
// turn; with fewer parts than files the parts are used again from the first.
inline QList<QByteArray> splitSections(const QByteArray& bytes, int count)
{
    const QByteArray separator("\n@@@@\n");
    QList<QByteArray> parts;
    int from = 0;
    for (int at = bytes.indexOf(separator); at >= 0; at = bytes.indexOf(separator, from)) {
        parts << bytes.mid(from, at + 1 - from);
        from = at + separator.size();
    }
    parts << bytes.mid(from);
    QList<QByteArray> sections;
    for (int i = 0; i < count; ++i)
        sections << parts.at(i % parts.size());
    return sections;
}

// A count (atoms, coordinating atoms) between 1 and limit that varies with the
// input, so that the readers taking one see several values.
inline int smallNumber(const QByteArray& bytes, int limit)
{
    return 1 + bytes.size() % limit;
}

// Qt's warnings would flood the fuzzer's output.
inline void quietQt()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

} // namespace OrvaneFuzz

#define ORVANE_FUZZ_QUIET_QT                                                                        \
    extern "C" int LLVMFuzzerInitialize(int*, char***)                                              \
    {                                                                                               \
        OrvaneFuzz::quietQt();                                                                      \
        return 0;                                                                                   \
    }

#endif
