#include "orvaneexternalrun.h"

#include "orvanefilenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QRegularExpression>

#include <algorithm>

namespace {

// White space and commas, which ORCA cannot take in file and folder names.
const QRegularExpression& blankOrComma()
{
    static const QRegularExpression expression(QStringLiteral("(\\s|,)"));
    return expression;
}

const QByteArray orcaNormalEnd = QByteArrayLiteral("****ORCA TERMINATED NORMALLY****");

// Whether every marker occurs in the file. It is read in blocks, each with
// the tail of the one before so that a marker across two blocks is found:
// an output of gigabytes costs one block of memory. Only a regular file is
// opened (a FIFO would block the opening).
bool containsAll(const QString& fileName, const QList<QByteArray>& markers)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    int overlap = 0;
    for (const QByteArray& marker : markers)
        overlap = std::max(overlap, marker.size() - 1);
    QList<QByteArray> missing = markers;
    QByteArray window;
    while (!missing.isEmpty() && !file.atEnd()) {
        const QByteArray block = file.read(1 << 20);
        if (block.isEmpty())
            break;
        window = window.right(overlap) + block;
        for (auto it = missing.begin(); it != missing.end();)
            it = window.contains(*it) ? missing.erase(it) : it + 1;
    }
    return missing.isEmpty();
}

} // namespace

OrvaneExternalRun::OrvaneExternalRun(Program program, Source source, const QString& inputFile,
                                     const QString& workFolder)
    : runProgram(program)
    , runSource(source)
    , input(inputFile)
    , workFolder(workFolder)
{
}

bool OrvaneExternalRun::hasBlankOrComma(const QString& path)
{
    return path.contains(blankOrComma());
}

QString OrvaneExternalRun::inputFolder() const
{
    return QFileInfo(input).absolutePath();
}

QString OrvaneExternalRun::cleanBaseName() const
{
    QString base = QFileInfo(input).baseName();
    base.remove(blankOrComma());
    return base;
}

QString OrvaneExternalRun::mopacInput() const
{
    return OrvaneFileNames::withFinalSuffix(input, QStringLiteral("mop"));
}

QString OrvaneExternalRun::orcaWorkInput() const
{
    if (runProgram != Program::Orca || runSource != Source::MopacOutput)
        return QString();
    return workFolder + QLatin1Char('/') + cleanBaseName() + QStringLiteral(".orcinp");
}

QString OrvaneExternalRun::programArgument() const
{
    // MOPAC gets the prepared input by its full name. Without the extension
    // MOPAC 22 would pick name.mop or name.dat itself, and it cuts such a
    // path at a dot in a folder name ("/data/v1.2/complex" is looked for as
    // "/data/v1"); with it, the .mop is the file read, and the outputs
    // name.out and name.arc are written beside it all the same.
    if (runProgram == Program::Mopac)
        return QDir::toNativeSeparators(mopacInput());
    if (runSource == Source::MopacOutput)
        return orcaWorkInput();
    return input;
}

QString OrvaneExternalRun::followedOutput() const
{
    if (runProgram == Program::Mopac)
        return OrvaneFileNames::withFinalSuffix(input, QStringLiteral("out"));
    return OrvaneFileNames::withFinalSuffix(programArgument(), QStringLiteral("orcout"));
}

QString OrvaneExternalRun::orcaResultFile() const
{
    if (runSource == Source::OrcaInput)
        return OrvaneFileNames::withFinalSuffix(input, QStringLiteral("orcout"));
    return inputFolder() + QLatin1Char('/') + cleanBaseName() + QStringLiteral(".orcout");
}

bool OrvaneExternalRun::isSuccessfulOutput(Program program, const QString& outputFileName)
{
    if (program == Program::Mopac)
        return containsAll(outputFileName, {QByteArrayLiteral("FINAL HEAT OF FORMATION"),
                                            QByteArrayLiteral("== MOPAC DONE ==")});
    return containsAll(outputFileName, {orcaNormalEnd});
}

QStringList OrvaneExternalRun::deleteMopacAuxiliaryFiles() const
{
    QStringList names;
    for (const char* extension : {"log", "end", "temp", "arc"}) {
        const QString name = OrvaneFileNames::withFinalSuffix(input, QString::fromLatin1(extension));
        QFile::remove(name);
        names << name;
    }
    return names;
}

void OrvaneExternalRun::deleteOrcaAuxiliaryFiles() const
{
    if (runSource == Source::OrcaInput) {
        // Its orbital file stays, as the orbital file of a run from a MOPAC
        // output does.
        const QFileInfo chosen(input);
        const QString keep = chosen.fileName() + QStringLiteral(".gbw");
        const QStringList names = chosen.dir().entryList(
            QStringList{chosen.fileName() + QStringLiteral(".*")}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            if (name != keep)
                chosen.dir().remove(name);
        }
        return;
    }
    const QFileInfo work(orcaWorkInput());
    const QStringList names = work.dir().entryList(
        QStringList{work.fileName() + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    QDir folder(inputFolder());
    for (const QString& name : names) {
        if (folder != work.dir())
            folder.remove(name);
    }
}

QStringList OrvaneExternalRun::moveOrcaResults() const
{
    const QFileInfo work(orcaWorkInput());
    const QString from = work.absolutePath() + QLatin1Char('/');
    const QString to = inputFolder() + QLatin1Char('/');
    const QString base = cleanBaseName();
    const QList<QPair<QString, QString>> moves = {
        {from + base + QStringLiteral(".orcinp"), to + base + QStringLiteral(".orcinp")},
        {from + base + QStringLiteral(".pointcharge"), to + base + QStringLiteral(".pointcharge")},
        {from + base + QStringLiteral(".orcout"), to + base + QStringLiteral(".orcout")},
        {from + base + QStringLiteral(".orcinp.gbw"), to + base + QStringLiteral(".gbw")}};

    QStringList failures;
    for (const auto& move : moves) {
        if (!QFileInfo(move.first).isFile())
            failures << move.first + QStringLiteral(" does not exist.");
    }
    if (!failures.isEmpty())
        return failures;

    for (const auto& move : moves) {
        if (QFileInfo(move.first).absoluteFilePath() == QFileInfo(move.second).absoluteFilePath())
            continue;
        if (QFileInfo::exists(move.second) && !QFile::remove(move.second)) {
            failures << move.first + QStringLiteral(" -> ") + move.second;
            continue;
        }
        if (!QFile::rename(move.first, move.second))
            failures << move.first + QStringLiteral(" -> ") + move.second;
    }
    return failures;
}
