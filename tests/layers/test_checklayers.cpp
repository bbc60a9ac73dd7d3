// The layer check, run on a small tree written in a temporary folder: the
// tree passes as written; one include planted in it, of each kind the layers
// forbid, fails the check with that file and that include named; includes the
// layers allow leave it passing.

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
    {"engine/spectroscopy/orvanespectrum.h", "#include \"orvanebase.h\"\n#include \"orvanelevel.h\"\n"},
    {"gui/shell/orvanedroptarget.h", "#include \"orvanebase.h\"\n#include <QLineEdit>\n"},
    {"gui/shell/orvaneshellform.h", "#include \"orvanedroptarget.h\"\n#include <QWidget>\n"},
    {"gui/shell/orvaneshellform.ui", "<ui>\n <customwidgets>\n  <customwidget>\n   <class>DropTarget</class>\n"
                                     "   <header>orvanedroptarget.h</header>\n  </customwidget>\n </customwidgets>\n</ui>\n"},
    {"gui/shell/orvanefrmmainwindow.cpp", "#include \"orvaneshellform.h\"\n#include \"orvaneplotform.h\"\n"
                                          "#include \"orvanespecform.h\"\n#include \"ui_orvanespecform.h\"\n"},
    {"gui/plots/orvaneplotform.h", "#include \"orvaneshellform.h\"\n#include \"ui_orvaneshellform.h\"\n"},
    {"gui/plots/orvaneplotform.ui", "<ui><customwidgets><customwidget><class>DropTarget</class>"
                                    "<header>orvanedroptarget.h</header></customwidget></customwidgets></ui>\n"},
    {"gui/spectroscopic/orvanespecform.h", "#include \"orvaneplotform.h\"\n#include \"orvaneshellform.h\"\n"},
    {"gui/spectroscopic/orvanespecform.ui", "<ui/>\n"},
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
    check.start(QStringLiteral(ORVANE_CMAKE_COMMAND),
                {QStringLiteral("-DSOURCE_DIR=") + root.path(),
                 QStringLiteral("-DQT_CORE_HEADER_DIR=" ORVANE_QT_CORE_HEADER_DIR), QStringLiteral("-P"),
                 QStringLiteral(ORVANE_CHECK_LAYERS_SCRIPT)});
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

TEST(LayerCheck, EachPlantedIncludeOfAHigherLayerFailsNamingIt)
{
    const struct
    {
        const char* file;
        const char* text;
        const char* included; // as the check names it
    } cases[] = {
        // The engine's core below its spectroscopy and levels.
        {"engine/core/planted.cpp", "#include \"orvanespectrum.h\"\n", "orvanespectrum.h"},
        {"engine/core/planted.h", "#include \"orvanelevel.h\"\n", "orvanelevel.h"},
        {"engine/levels/planted.cpp", "#include \"orvanespectrum.h\"\n", "orvanespectrum.h"},
        // The engine below the graphical program.
        {"engine/spectroscopy/planted.cpp", "#include \"orvaneshellform.h\"\n", "orvaneshellform.h"},
        {"engine/core/planted.cpp", "#include \"ui_orvaneplotform.h\"\n", "ui_orvaneplotform.h"},
        {"engine/levels/planted.cpp", "#  include \"QImage\"\n", "QImage"},
        // Nothing of the shell but the main window includes the plots or the
        // spectroscopic forms: not by header, form header, path or designer form.
        {"gui/shell/planted.cpp", "#include \"orvaneplotform.h\"\n", "orvaneplotform.h"},
        {"gui/shell/planted.cpp", "#include \"ui_orvaneplotform.h\"\n", "ui_orvaneplotform.h"},
        {"gui/shell/planted.h", "#include \"orvanespecform.h\"\n", "orvanespecform.h"},
        {"gui/shell/planted.h", "#include \"../spectroscopic/orvanespecform.h\"\n",
         "../spectroscopic/orvanespecform.h"},
        {"gui/shell/planted.ui", "<ui><customwidgets><customwidget><class>Plot</class>"
                                 "<header>orvaneplotform.h</header></customwidget></customwidgets></ui>\n",
         "orvaneplotform.h"},
        {"gui/shell/orvanefrmmainwindows.cpp", "#include \"orvaneplotform.h\"\n", "orvaneplotform.h"},
        {"gui/shell/orvanefrmmainwindowdock.h", "#include \"orvanespecform.h\"\n", "orvanespecform.h"},
        // The plots below the spectroscopic forms.
        {"gui/plots/planted.cpp", "#include \"orvanespecform.h\"\n", "orvanespecform.h"},
        {"gui/plots/planted.cpp", "#include \"ui_orvanespecform.h\"\n", "ui_orvanespecform.h"},
        {"gui/plots/planted.ui", "<ui>\n  <header>orvanespecform.h</header>\n</ui>\n", "orvanespecform.h"},
    };
    for (const auto& c : cases)
        expectRefused(QString::fromLatin1(c.file), c.text, QString::fromLatin1(c.included));
}

TEST(LayerCheck, TheEngineIncludesNoQtModuleButCoreHoweverTheHeaderIsSpelt)
{
    const char* const headers[] = {
        "QtGui/QColor", "QColor", "QImage", "QPainter", "qpainter.h", "QtGui", "QWidget", "QtWidgets/qwidget.h",
        "QtNetwork/QNetworkAccessManager", "QNetworkReply", "QtNetwork", "QtOpenGL/QGLWidget", "QTest",
        "QtCore/QWidget",
        // A class of a Qt module that is not even installed.
        "QQmlEngine"};
    for (const char* header : headers) {
        expectRefused(QStringLiteral("engine/spectroscopy/planted.cpp"),
                      QByteArray("#include <") + header + ">\n", QString::fromLatin1(header));
    }
}

TEST(LayerCheck, IncludesTheLayersAllowLeaveItPassing)
{
    const struct
    {
        const char* file;
        const char* text;
    } cases[] = {
        // Qt Core in every spelling, Eigen, and system headers that merely
        // begin with a q.
        {"engine/spectroscopy/allowed.cpp",
         "#include <QtCore>\n#include <QtCore/QFile>\n#include <qfileinfo.h>\n#include <QLoggingCategory>\n"
         "#include <Eigen/Eigenvalues>\n#include <queue>\n#include <quadmath.h>\n#include \"orvanelevel.h\"\n"},
        // The main window, also split into parts, builds every page.
        {"gui/shell/orvanefrmmainwindow.h", "#include \"orvanespecform.h\"\n#include \"orvaneplotform.h\"\n"},
        {"gui/shell/orvanefrmmainwindow_pages.cpp", "#include \"ui_orvaneplotform.h\"\n"},
        {"gui/shell/orvanefrmmainwindow.ui", "<ui><header>orvanespecform.h</header></ui>\n"},
        // The upper layers include the lower ones.
        {"gui/plots/allowed.cpp", "#include \"orvaneshellform.h\"\n#include \"ui_orvaneshellform.h\"\n"
                                  "#include \"orvanespectrum.h\"\n#include <QPainter>\n"},
        {"gui/spectroscopic/allowed.cpp", "#include \"orvaneplotform.h\"\n#include \"ui_orvaneplotform.h\"\n"},
        {"gui/spectroscopic/allowed.ui", "<ui><header>orvaneplotform.h</header></ui>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.text);
        const Outcome outcome = checkTree({{QString::fromLatin1(c.file), c.text}});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    }

    // A header of the including file's own folder is its own, whatever
    // another layer names its files.
    const Outcome ownHeader = checkTree({{QStringLiteral("gui/plots/orvanespecform.h"), "#include <QWidget>\n"},
                                         {QStringLiteral("gui/plots/allowed.cpp"), "#include \"orvanespecform.h\"\n"}});
    EXPECT_EQ(ownHeader.exitCode, 0) << ownHeader.output.toStdString();
}
