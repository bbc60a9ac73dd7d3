// The layers as the build states them: a one-line source that includes a
// header is compiled with the very command of a folder's target (from the
// build's compile_commands.json). An include of a layer above is not found;
// an include of a layer below compiles, so each refused header does exist.

#include "orvanefixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct CompileCommand
{
    QString directory;
    QString command; // for the shell, without its output and input
};

// A compile command of one of `target`'s objects; empty when the build has
// no such target.
CompileCommand compileCommandOf(const QString& target)
{
    QFile file(QStringLiteral(ORVANE_COMPILE_COMMANDS));
    if (!file.open(QIODevice::ReadOnly))
        return CompileCommand();
    const QRegularExpression object(QStringLiteral("\\s-o\\s+\\S*CMakeFiles/") + QRegularExpression::escape(target) +
                                    QStringLiteral("\\.dir/\\S+\\s+-c\\s+\\S+\\s*$"));
    const QJsonArray entries = QJsonDocument::fromJson(file.readAll()).array();
    for (const QJsonValue& value : entries) {
        const QJsonObject entry = value.toObject();
        const QString command = entry.value(QStringLiteral("command")).toString();
        const QRegularExpressionMatch match = object.match(command);
        if (match.hasMatch())
            return {entry.value(QStringLiteral("directory")).toString(), command.left(match.capturedStart())};
    }
    return CompileCommand();
}

const struct
{
    const char* target;
    const char* header;
    bool found;
} cases[] = {
    // The engine's core below its levels and spectroscopy, which do not see
    // each other; the generated colour-matching table is the chromaticity's.
    {"OrvaneEngineCore", "orvaneenergylevels.h", false},
    {"OrvaneEngineCore", "orvanechromaticity.h", false},
    {"OrvaneEngineCore", "orvanecie1931table.inc", false},
    {"OrvaneEngineLevels", "orvanechromaticity.h", false},
    {"OrvaneEngineSpectroscopy", "orvaneenergylevels.h", false},
    {"OrvaneEngineLevels", "orvanetextreader.h", true},
    {"OrvaneEngineSpectroscopy", "orvanetextreader.h", true},
    {"OrvaneEngineSpectroscopy", "orvanecie1931table.inc", true},
    // The engine below the graphical program, the shell below the plots and
    // the spectroscopic forms, the plots below the spectroscopic forms; the
    // main window, which builds every page, above them all.
    {"OrvaneEngineSpectroscopy", "orvanedialogs.h", false},
    // Nor does the engine find a Qt module but Core by its class or module
    // name (spelt through the Qt include root, it is the include scan's).
    {"OrvaneEngineCore", "QWidget", false},
    {"OrvaneEngineLevels", "qpainter.h", false},
    {"OrvaneEngineSpectroscopy", "QtNetwork", false},
    {"OrvaneGUIShell", "QWidget", true},
    {"OrvaneGUIShell", "customplotzoom.h", false},
    {"OrvaneGUIShell", "orvanefitrunner.h", false},
    {"OrvaneGUIPlots", "orvanefitrunner.h", false},
    {"OrvaneGUIShell", "orvaneenergylevels.h", true},
    {"OrvaneGUIShell", "orvanechromaticity.h", true},
    {"OrvaneGUIPlots", "orvanedialogs.h", true},
    {"OrvaneGUISpectroscopic", "customplotzoom.h", true},
    {"OrvaneGUILib", "orvanefitrunner.h", true},
};

} // namespace

TEST(LayerTargets, EachFolderCompilesWithTheHeadersOfItsOwnLayerAndThoseBelowOnly)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());

    // Every case compiles at once: the refused ones end at their first line.
    std::vector<std::unique_ptr<QProcess>> compilers;
    for (const auto& c : cases) {
        const CompileCommand command = compileCommandOf(QString::fromLatin1(c.target));
        ASSERT_FALSE(command.command.isEmpty()) << "no compile command of " << c.target << " in " ORVANE_COMPILE_COMMANDS;
        const QString source = root.filePath(QStringLiteral("%1_%2.cpp").arg(compilers.size()).arg(c.target));
        OrvaneFixtures::writeFile(source, QByteArray("#include \"") + c.header + "\"\n");
        auto compiler = std::make_unique<QProcess>();
        compiler->setProcessChannelMode(QProcess::MergedChannels);
        compiler->setWorkingDirectory(command.directory);
        compiler->start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), command.command + QStringLiteral(" -fsyntax-only ") + source});
        compilers.push_back(std::move(compiler));
    }

    for (std::size_t i = 0; i < compilers.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(std::string(c.target) + " includes " + c.header);
        QProcess& compiler = *compilers[i];
        ASSERT_TRUE(compiler.waitForFinished(120000));
        const QString output = QString::fromLocal8Bit(compiler.readAll());
        const bool compiled = compiler.exitStatus() == QProcess::NormalExit && compiler.exitCode() == 0;
        EXPECT_EQ(compiled, c.found) << output.toStdString();
        if (!c.found) {
            // Refused for the header it cannot find, not for another fault.
            const QRegularExpression notFound(QRegularExpression::escape(QString::fromLatin1(c.header)) +
                                              QStringLiteral("'?:? (No such file or directory|file not found)"));
            EXPECT_TRUE(output.contains(notFound)) << output.toStdString();
        }
    }
}
