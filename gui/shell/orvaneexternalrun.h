#ifndef ORVANEEXTERNALRUN_H
#define ORVANEEXTERNALRUN_H

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

// The names of one run of an external program, all derived from its input,
// and what becomes of the files around it when the run ends. Holds no
// widgets, so that the naming rules and the clean-up can be checked alone.
//
// Names used below: I is the input file, D its folder, b its base name (up
// to the first dot) without blanks and commas, T the private temporary
// folder, W = T/b.orcinp the ORCA work input of a run from a MOPAC output.
class OrvaneExternalRun
{
public:
    // The page's modes, in the numbering the page is built with.
    enum class Program { Mopac = 0, Orca = 1 };
    // What the run starts from.
    enum class Source { Mol2Drawing, MopacInput, MopacOutput, OrcaInput };

    OrvaneExternalRun() = default;
    // workFolder is T; only a run from a MOPAC output uses it.
    OrvaneExternalRun(Program program, Source source, const QString& inputFile,
                      const QString& workFolder = QString());

    // ORCA cannot take white space or commas in file and folder names.
    static bool hasBlankOrComma(const QString& path);

    static Program programOfMode(const int& mode) { return mode == 0 ? Program::Mopac : Program::Orca; }

    Program program() const { return runProgram; }
    Source source() const { return runSource; }
    QString inputFile() const { return input; }
    bool isEmpty() const { return input.isEmpty(); }

    // D.
    QString inputFolder() const;
    // b.
    QString cleanBaseName() const;
    // What the program is given: for MOPAC the .mop beside I in the
    // platform's separators, for ORCA the work input W or the chosen input I.
    QString programArgument() const;
    // The .mop that a MOL2 drawing becomes, beside it.
    QString mopacInput() const;
    // W (empty unless the run starts from a MOPAC output).
    QString orcaWorkInput() const;
    // T/b.lock, held while a run from a MOPAC output goes: every ORVANE
    // window of the user shares T, and two runs of MOPAC outputs of one base
    // name would write the same work files (empty for other runs).
    QString workFilesLock() const;
    // The output the program writes while it runs: I's .out for MOPAC, the
    // argument's .orcout for ORCA.
    QString followedOutput() const;
    // The ORCA output under the name the run is judged by: beside a chosen
    // ORCA input under its own name, else D/b.orcout (where a run from a
    // MOPAC output places its output only when it succeeds).
    QString orcaResultFile() const;

    // A run is judged by the markers its program writes at a normal end.
    static bool isSuccessfulOutput(Program program, const QString& outputFileName);

    // A file as it stands: two stamps differ when it was written between
    // them. Its status time is left out: a new permission, or a hard link
    // from a backup snapshot, writes nothing.
    struct FileStamp {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modified = 0; // ns
        bool operator==(const FileStamp& other) const;
    };
    // Full path -> stamp.
    using SideFiles = QMap<QString, FileStamp>;
    // The side files of this run's program as they stand now: MOPAC's
    // I.log, I.end, I.temp and I.arc; for ORCA, beside the input it runs (a
    // chosen input, or W), the files of the kinds ORCA writes there (its
    // scratch files, CI vectors, densities; not the orbital file).
    SideFiles sideFiles() const;
    // Removes the side files the run wrote: those that were not there when
    // the run started (`atStart`) or were written since. Every other file,
    // whatever happened to it during the run, stays. Returns the names
    // removed.
    QStringList deleteSideFiles(const SideFiles& atStart) const;

    // What became of the results of a run from a MOPAC output.
    struct ResultMove {
        QStringList placed;     // beside I, holding the new results
        QStringList leftInWork; // new results that stay in the work folder
        QStringList kept;       // earlier results beside I, left as they were
        QString keptSetFolder;  // the folder of this run's set in T, when it could be made
        QString output;         // where this run's output stands now
        QString reason;         // empty when every result is in place
        bool succeeded() const { return reason.isEmpty(); }
    };
    // Moves the results of a successful run from a MOPAC output from T to D,
    // replacing an earlier set only as a whole: each is copied whole beside
    // its target and put in place only when all are (the output last);
    // nothing moves when one is missing or does not fit. A set that stays
    // is moved into a folder of its own in T, named by b and `now` (T is
    // shared by every run, so a later run of the same base name would
    // overwrite it there).
    ResultMove moveOrcaResults(const QDateTime& now = QDateTime::currentDateTime()) const;

private:
    Program runProgram = Program::Mopac;
    Source runSource = Source::Mol2Drawing;
    QString input;
    QString workFolder;
};

#endif
