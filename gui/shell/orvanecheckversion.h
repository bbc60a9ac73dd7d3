#ifndef ORVANECHECKVERSION_H
#define ORVANECHECKVERSION_H

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkReply;

// The network side of the update check: fetches the latest version text from
// the update server, compares it with this program's version, and downloads
// the new installer into memory. The server is OrvanePlatform::updateServerUrl().
//
// Version text: fields separated by "$"; field 1 the latest version (dotted
// numbers), every further field a news line; empty fields are skipped.
class OrvaneCheckVersion : public QObject
{
    Q_OBJECT
public:
    explicit OrvaneCheckVersion(QObject* parent = nullptr);
    ~OrvaneCheckVersion() override;

    static const QString versionTextPath;
    // The installer of this platform on the server, the filter of its save
    // dialog, and the name proposed for it (version, then the installer's kind).
    static const QString installerPath;
    static const QString installerFilter;
    static QString installerFileName(const QString& version);
    static const QString programVersion;
    static const QString noServerMessage;

    // Asynchronous; answers with signalInformationDownloaded or
    // signalErrorDetected (at once when no server is configured).
    void downloadInformation();
    // Asynchronous; answers with downloaded() or signalErrorDetected.
    void downloadInstaller();

    QString getCurrentVersion() const { return currentVersion; }
    QString getLatestVersion() const { return latestVersion; }
    QString getVersionNews() const { return versionNews; }
    QByteArray getInstallerData() const { return installerData; }

    // True when latest is not newer than current, compared as dotted numbers
    // (1.4.10 > 1.4.2 > 1.4.1 and 1.5 > 1.4.1). False with *readable false
    // when latest is not such a number.
    static bool isUpToDate(const QString& latest, const QString& current, bool* readable);

signals:
    void downloaded();
    void signalInformationDownloaded(bool isVersionUpdated);
    void signalReplyProgress(qint64 bytesReceived, qint64 bytesTotal);
    void signalErrorDetected(QString error);

public slots:
    void installerDownloaded(QNetworkReply* pReply);
    void informationDownloaded(QNetworkReply* pReply);
    void slotReplyProgress(qint64 bytesReceived, qint64 bytesTotal);

private:
    QUrl serverFileUrl(const QString& path) const;

    bool versionUpdated = false;
    QString currentVersion;
    QString latestVersion;
    QString connectionErrorMessage;
    QString versionNews;
    QByteArray installerData;
    QNetworkReply* installerReply = nullptr;
    QNetworkAccessManager informationManager;
    QNetworkAccessManager installerManager;
};

#endif
