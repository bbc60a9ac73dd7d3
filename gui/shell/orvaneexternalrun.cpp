#include "orvaneexternalrun.h"

#include "orvanefilenames.h"
#include "orvanereportfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QRegularExpression>

#include <algorithm>

#include <sys/stat.h>

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

bool OrvaneExternalRun::FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size && modified == other.modified;
}

OrvaneExternalRun::SideFiles OrvaneExternalRun::orcaSideFiles() const
{
    SideFiles files;
    if (runProgram != Program::Orca || programArgument().isEmpty())
        return files;
    const QFileInfo ran(programArgument());
    const QDir folder = ran.dir();
    // Case-sensitive: "EU.ORCINP.BAK" is no side file of eu.orcinp.
    const QStringList names = folder.entryList(QStringList{ran.fileName() + QStringLiteral(".*")},
                                               QDir::Files | QDir::CaseSensitive, QDir::Name);
    for (const QString& name : names) {
        struct stat st = {};
        if (::lstat(QFile::encodeName(folder.filePath(name)).constData(), &st) != 0)
            continue;
        FileStamp stamp;
        stamp.device = static_cast<quint64>(st.st_dev);
        stamp.inode = static_cast<quint64>(st.st_ino);
        stamp.size = static_cast<qint64>(st.st_size);
        stamp.modified = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        files.insert(name, stamp);
    }
    return files;
}

QStringList OrvaneExternalRun::deleteOrcaAuxiliaryFiles(const SideFiles& atStart) const
{
    // The orbital file stays: beside a chosen input as its own, in T to be
    // moved beside I. The side files are those of the folder ORCA ran in;
    // nothing beside I is touched for a run in T.
    const QFileInfo ran(programArgument());
    const QString orbitals = ran.fileName() + QStringLiteral(".gbw");
    const SideFiles now = orcaSideFiles();
    QStringList removed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (it.key() == orbitals || (atStart.contains(it.key()) && atStart.value(it.key()) == it.value()))
            continue;
        if (ran.dir().remove(it.key()))
            removed << ran.dir().filePath(it.key());
    }
    return removed;
}

OrvaneExternalRun::ResultMove OrvaneExternalRun::moveOrcaResults() const
{
    const QFileInfo work(orcaWorkInput());
    const QString from = work.absolutePath() + QLatin1Char('/');
    const QString to = inputFolder() + QLatin1Char('/');
    const QString base = cleanBaseName();
    // The output first, so that it is put in place last: a reader who finds
    // the new output finds the input and charges that made it beside it.
    const QVector<QPair<QString, QString>> moves = {
        {from + base + QStringLiteral(".orcout"), to + base + QStringLiteral(".orcout")},
        {from + base + QStringLiteral(".orcinp"), to + base + QStringLiteral(".orcinp")},
        {from + base + QStringLiteral(".pointcharge"), to + base + QStringLiteral(".pointcharge")},
        {from + base + QStringLiteral(".orcinp.gbw"), to + base + QStringLiteral(".gbw")}};

    ResultMove result;
    QVector<QPair<QString, QString>> copies;
    for (const auto& move : moves) {
        if (!QFileInfo(move.first).isFile()) {
            if (result.reason.isEmpty())
                result.reason = move.first + QStringLiteral(" does not exist.");
        } else if (QFileInfo(move.first).absoluteFilePath() != QFileInfo(move.second).absoluteFilePath()) {
            copies.append(move);
        }
    }
    if (result.reason.isEmpty() && OrvaneReportFile::copyAll(copies, result.reason, &result.placed)) {
        for (const auto& copy : copies)
            QFile::remove(copy.first);
        result.placed.clear();
        for (const auto& move : moves)
            result.placed << move.second;
        return result;
    }
    for (const auto& move : moves) {
        if (QFileInfo::exists(move.first))
            result.leftInWork << move.first;
        if (QFileInfo::exists(move.second) && !result.placed.contains(move.second))
            result.kept << move.second;
    }
    return result;
}
