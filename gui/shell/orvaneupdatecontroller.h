#ifndef ORVANEUPDATECONTROLLER_H
#define ORVANEUPDATECONTROLLER_H

#include <QObject>
#include <QPointer>
#include <QString>

class OrvaneCheckVersion;
class QProgressBar;
class QPushButton;
class QWidget;

// The window side of the update check: drives the check button and the
// download progress bar of the window that owns it, asks the user whether to
// download a newer version and where to save it, and writes the installer.
// The window keeps one controller (a child) for its whole life; the
// controller handles the button's clicks itself.
class OrvaneUpdateController : public QObject
{
    Q_OBJECT
public:
    // button and progressBar belong to window (message-box parent).
    OrvaneUpdateController(QWidget* window, QPushButton* button, QProgressBar* progressBar);
    ~OrvaneUpdateController() override;

    static const QString idleText;
    static const QString downloadingText;
    static const QString downloadedText;

    // The check at start-up: skipped when no server is configured; tells the
    // user only about a newer version.
    void startSilentCheck();

    OrvaneCheckVersion* checker() const { return versionChecker; }
    bool isSilentCheck() const { return silentVersionCheck; }
    QString getInstallerFileName() const { return installerFileName; }

public slots:
    // The check on demand (the button's click).
    void checkOnDemand();
    void checkVersion(bool isVersionUpdated);
    void errorDetected(QString error);
    void replyProgress(qint64 bytesReceived, qint64 bytesTotal);
    void loadImage();

private:
    void endFailedDownload();

    QPointer<QWidget> window;
    QPointer<QPushButton> button;
    QPointer<QProgressBar> progressBar;
    OrvaneCheckVersion* versionChecker = nullptr;
    bool silentVersionCheck = false;
    bool downloading = false;
    QString installerFileName;
};

#endif
