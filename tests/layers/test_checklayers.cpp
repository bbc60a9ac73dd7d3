// The check of the includes the compiler cannot refuse, run on a small tree
// written in a temporary folder: the tree passes as written; one include
// planted in it, of each kind the check forbids, fails the check with that
// file and that include named; includes the layers allow leave it passing.

#include "orvanefixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using OrvaneFixtures::writeFile;

namespace {

// A file of each layer, including what its layer may include, in every
// spelling the planted cases use.
const struct
{
    const char* path;
    const char* text;
} cleanTree[] = {
    {"engine/core/orvanebase.h", "#include <QString>\n#include <QtCore/QVector>\n#include <QtCore/qglobal.h>\n"
                                 "#include <QtGlobal>\n#include <qstring.h>\n#include <Eigen/Dense>\n"
                                 "#include <vector>\n#include <sys/stat.h>\n"},
    {"engine/core/orvanebase.cpp", "#include \"orvanebase.h\"\n#include <QSaveFile>\n"},
    {"engine/levels/orvanelevel.h", "#include \"orvanebase.h\"\n"},
    {"engine/spectroscopy/orvanespectrum.h", "#include \"orvanebase.h\"\n"},
    {"gui/shell/orvaneshellform.h", "#include \"orvanebase.h\"\n#include <QWidget>\n#include <QtGui/QColor>\n"},
    {"gui/plots/orvaneplotform.h", "#include \"orvaneshellform.h\"\n#include \"ui_orvaneshellform.h\"\n"},
    {"gui/spectroscopic/orvanespecform.h", "#include \"orvaneplotform.h\"\n"},
};

struct Outcome
{
    int exitCode = -1;
    QString output;
};

using Files = QList<QPair<QString, QByteArray>>;

// Writes the clean tree with the `planted` files (path, text) into a fresh
// folder and runs the check on it.
Outcome checkTree(const Files& planted = Files())
{
    QTemporaryDir root;
    EXPECT_TRUE(root.isValid());
    const auto put = [&](const QString& path, const QByteArray& bytes) {
        const QString file = root.filePath(path);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        writeFile(file, bytes);
    };
    for (const auto& f : cleanTree)
        put(QString::fromLatin1(f.path), f.text);
    for (const auto& f : planted)
        put(f.first, f.second);

    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral(ORVANE_CMAKE_COMMAND), {QStringLiteral("-DSOURCE_DIR=") + root.path(),
                                                       QStringLiteral("-P"), QStringLiteral(ORVANE_CHECK_LAYERS_SCRIPT)});
    Outcome outcome;
    if (!check.waitForFinished(60000))
        return outcome;
    outcome.exitCode = check.exitStatus() == QProcess::NormalExit ? check.exitCode() : -1;
    outcome.output = QString::fromLocal8Bit(check.readAll());
    return outcome;
}

} // namespace

TEST(LayerCheck, TheCleanTreePasses)
{
    const Outcome outcome = checkTree();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
}

namespace {

// The "<file> includes <header>" of every line of the check's report.
QStringList namedIncludes(const QString& output)
{
    static const QRegularExpression line(QStringLiteral("^\\s+(\\S+ includes \\S+) \\("),
                                         QRegularExpression::MultilineOption);
    QStringList named;
    for (auto match = line.globalMatch(output); match.hasNext();)
        named << match.next().captured(1);
    return named;
}

// The check fails on `text` planted as `file`, naming that file and
// `included` alone.
void expectRefused(const QString& file, const QByteArray& text, const QString& included)
{
    SCOPED_TRACE(file.toStdString() + ": " + text.toStdString());
    const Outcome outcome = checkTree({{file, text}});
    EXPECT_NE(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_EQ(namedIncludes(outcome.output), QStringList{file + QStringLiteral(" includes ") + included})
        << outcome.output.toStdString();
}

} // namespace

TEST(LayerCheck, TheEngineReachesNoQtModuleButCoreThroughTheQtIncludeRoot)
{
    const char* const headers[] = {"QtGui/QColor", "QtGui/qpainter.h", "QtWidgets/qwidget.h", "QtWidgets/QWidget",
                                   "QtNetwork/QNetworkAccessManager", "QtOpenGL/QGLWidget", "QtTest/QTest",
                                   // A module that is not even installed.
                                   "QtQml/QQmlEngine"};
    for (const char* header : headers) {
        expectRefused(QStringLiteral("engine/spectroscopy/planted.cpp"), QByteArray("#include <") + header + ">\n",
                      QString::fromLatin1(header));
    }
    expectRefused(QStringLiteral("engine/core/planted.h"), "#  include \"QtNetwork/QNetworkReply\"\n",
                  QStringLiteral("QtNetwork/QNetworkReply"));
}

TEST(LayerCheck, NoSourceIncludesAPathOutOfItsFolder)
{
    const struct
    {
        const char* file;
        const char* text;
        const char* included; // as the check names it
    } cases[] = {
        {"engine/core/planted.cpp", "#include \"../levels/orvanelevel.h\"\n", "../levels/orvanelevel.h"},
        {"engine/levels/planted.h", "#include \"../spectroscopy/orvanespectrum.h\"\n",
         "../spectroscopy/orvanespectrum.h"},
        {"gui/shell/planted.h", "#include \"../spectroscopic/orvanespecform.h\"\n",
         "../spectroscopic/orvanespecform.h"},
        {"gui/plots/planted.cpp", "#include <gui/plots/../spectroscopic/orvanespecform.h>\n",
         "gui/plots/../spectroscopic/orvanespecform.h"},
    };
    for (const auto& c : cases)
        expectRefused(QString::fromLatin1(c.file), c.text, QString::fromLatin1(c.included));
}

TEST(LayerCheck, IncludesTheLayersAllowLeaveItPassing)
{
    const struct
    {
        const char* file;
        const char* text;
    } cases[] = {
        // Qt Core in every spelling, Eigen, and system headers that merely
        // begin with a q or a Qt.
        {"engine/spectroscopy/allowed.cpp",
         "#include <QtCore>\n#include <QtCore/QFile>\n#include <QtCore/qfileinfo.h>\n#include <qfileinfo.h>\n"
         "#include <QLoggingCategory>\n#include <Eigen/Eigenvalues>\n#include <queue>\n#include <quadmath.h>\n"
         "#include \"orvanebase.h\"\n#include \"Qtables/table.h\"\n"},
        // The graphical program includes any Qt module.
        {"gui/plots/allowed.cpp", "#include <QtPrintSupport/QPrinter>\n#include <QtGui/QPainter>\n"},
        {"gui/spectroscopic/allowed.cpp", "#include \"orvaneplotform.h\"\n#include <QtWidgets>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.text);
        const Outcome outcome = checkTree({{QString::fromLatin1(c.file), c.text}});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    }
}
