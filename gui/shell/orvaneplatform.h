#ifndef ORVANEPLATFORM_H
#define ORVANEPLATFORM_H

#include <QFont>
#include <QString>
#include <QUrl>

// Every operating-system service the program shell needs, in one place, so that
// forms never talk to the system directly and each platform's choice is made once.
class OrvanePlatform
{
public:
    OrvanePlatform() = delete;

    // Environment variable and settings key that name the update server,
    // e.g. "http://updates.example.org:8080". The variable wins over the key.
    static const char* const updateServerVariable;
    static const char* const updateServerKey;

    // The temporary folder for the settings file and work files. On Unix this
    // is "orvane-<uid>" under QDir::tempPath(), created with mode 0700; an
    // existing one is used only if it is a real folder owned by this user and
    // closed to everybody else (a shared folder would let another user plant
    // files the program later reads or starts). Empty when refused, with the
    // reason in *error.
    static QString privateTempFolder(QString* error = nullptr);

    // Full path of OrvaneGUI.ini in the private temporary folder; empty when
    // that folder is refused.
    static QString settingsFilePath();

    // Makes this program the current user's opener of files with the given
    // extension (letters and digits only). On Linux: a shared-mime-info
    // package and a desktop entry under $XDG_DATA_HOME; on Windows the
    // per-user class keys. programPath must be absolute.
    static bool registerFileType(const QString& extension, const QString& programPath,
                                 QString* error = nullptr);
    // Asks the desktop to pick up registered types (update-mime-database on
    // Linux, run detached when installed). Call once after registering.
    static void refreshFileTypes();

    // Ends a child started by OrvaneGroupProcess together with everything it
    // started: the whole process group gets SIGTERM, then SIGKILL if still
    // alive after graceMs. Returns false when pid cannot name such a group.
    static bool endProcessTree(qint64 pid, int graceMs = 500);

    // The classic look on Windows; the platform's default style elsewhere.
    static void applyApplicationStyle();

    // The system's fixed-width font in normal weight, for every view of a
    // file: the outputs of the external programs are tables of numbers.
    static QFont fileViewFont();

    // The MOPAC or ORCA program found on the PATH, proposed while the user
    // has chosen none; empty when there is none. An "orca" counts only with
    // ORCA's own modules beside it (the name is also a screen reader's).
    static QString findMopacProgram();
    static QString findOrcaProgram();

    // Base address of the update server, or an empty URL when none is set
    // (or the one set is not an http/https address with a host).
    static QUrl updateServerUrl();
};

#endif
