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

// The side files each program writes, the only files its clean-up may
// remove. MOPAC's sit beside its input under the input's name with these
// extensions (MOPAC 22 writes the .arc; older versions the others too).
const char* const mopacSideFileKinds[] = {"log", "end", "temp", "arc"};

// ORCA's, as its manual names them, after "name.orcinp." of the input it
// runs: its scratch files "name.orcinp.x.tmp" (also "name.orcinp.tmp"), the
// CI vectors of the CIS module and the electron densities. The orbital file
// ".gbw" is a result, not a side file. A name is a side file's only when
// the whole rest matches: "eu.orcinp.notes" or "eu.orcinp.2024-06.orcout"
// are the chemist's.
struct SideFileKind {
    const char* suffix;
    bool afterAnyStem; // also "<anything>.<suffix>"
};
const SideFileKind orcaSideFileKinds[] = {{"tmp", true}, {"cis", false}, {"densities", false}};

bool isOrcaSideFileKind(const QString& rest)
{
    for (const SideFileKind& kind : orcaSideFileKinds) {
        const QString suffix = QString::fromLatin1(kind.suffix);
        if (rest == suffix || (kind.afterAnyStem && rest.endsWith(QLatin1Char('.') + suffix)))
            return true;
    }
    return false;
}

// A new folder in `parent` named `stem`, or stem-2, stem-3, ... when that
// is taken: each call gets a folder of its own, also within one second.
// Empty when none can be made.
QString makeUniqueFolder(const QString& parent, const QString& stem)
{
    for (int n = 1; n < 1000; ++n) {
        const QString folder =
            parent + QLatin1Char('/') + stem + (n == 1 ? QString() : QLatin1Char('-') + QString::number(n));
        if (QDir().mkdir(folder))
            return folder;
        if (!QFileInfo::exists(folder))
            return QString();
    }
    return QString();
}

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

QString OrvaneExternalRun::workFilesLock() const
{
    if (orcaWorkInput().isEmpty())
        return QString();
    return workFolder + QLatin1Char('/') + cleanBaseName() + QStringLiteral(".lock");
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

bool OrvaneExternalRun::FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size && modified == other.modified;
}

OrvaneExternalRun::SideFiles OrvaneExternalRun::sideFiles() const
{
    QStringList names;
    if (runProgram == Program::Mopac) {
        for (const char* extension : mopacSideFileKinds)
            names << OrvaneFileNames::withFinalSuffix(input, QString::fromLatin1(extension));
    } else if (!programArgument().isEmpty()) {
        const QFileInfo ran(programArgument());
        const QDir folder = ran.dir();
        // Case-sensitive: "EU.ORCINP.TMP" is no side file of eu.orcinp.
        const QString prefix = ran.fileName() + QLatin1Char('.');
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
            if (name.startsWith(prefix) && isOrcaSideFileKind(name.mid(prefix.size())))
                names << folder.filePath(name);
        }
    }
    SideFiles files;
    for (const QString& name : names) {
        // Only regular files: the program writes no links or folders.
        struct stat st = {};
        if (::lstat(QFile::encodeName(name).constData(), &st) != 0 || !S_ISREG(st.st_mode))
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

QStringList OrvaneExternalRun::deleteSideFiles(const SideFiles& atStart) const
{
    // For a run in T nothing beside I is touched: the side files are those
    // of the folder the program ran in.
    const SideFiles now = sideFiles();
    QStringList removed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (atStart.contains(it.key()) && atStart.value(it.key()) == it.value())
            continue;
        if (QFile::remove(it.key()))
            removed << it.key();
    }
    return removed;
}

OrvaneExternalRun::ResultMove OrvaneExternalRun::moveOrcaResults(const QDateTime& now) const
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
        result.output = moves.first().second;
        return result;
    }
    // The set that stays goes into a folder of its own, under the names it
    // would have beside I (a rename within T: it needs no room).
    result.keptSetFolder =
        makeUniqueFolder(work.absolutePath(), base + QLatin1Char('-') + now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    for (const auto& move : moves) {
        if (QFileInfo::exists(move.first)) {
            QString stays = move.first;
            const QString kept = result.keptSetFolder + QLatin1Char('/') + QFileInfo(move.second).fileName();
            if (!result.keptSetFolder.isEmpty() && QFile::rename(move.first, kept))
                stays = kept;
            result.leftInWork << stays;
            if (move == moves.first())
                result.output = stays;
        }
        if (QFileInfo::exists(move.second) && !result.placed.contains(move.second))
            result.kept << move.second;
    }
    if (result.output.isEmpty() && result.placed.contains(moves.first().second))
        result.output = moves.first().second;
    if (!result.keptSetFolder.isEmpty() && QDir().rmdir(result.keptSetFolder)) // nothing stayed
        result.keptSetFolder.clear();
    return result;
}
