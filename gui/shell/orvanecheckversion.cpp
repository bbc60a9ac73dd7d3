#include "orvanecheckversion.h"

#include "orvaneplatform.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QVersionNumber>

const QString OrvaneCheckVersion::versionTextPath = QStringLiteral("/orvane_current_version_2.txt");
#ifdef Q_OS_WIN
const QString OrvaneCheckVersion::installerPath = QStringLiteral("/ORVANE-Setup.exe");
const QString OrvaneCheckVersion::installerFilter = QStringLiteral("*.exe");
#else
const QString OrvaneCheckVersion::installerPath = QStringLiteral("/ORVANE-linux.tar.gz");
const QString OrvaneCheckVersion::installerFilter = QStringLiteral("Archives (*.tar.gz)");
#endif
const QString OrvaneCheckVersion::programVersion = QStringLiteral("1.4.1");
const QString OrvaneCheckVersion::noServerMessage =
    QStringLiteral("No ORVANE update server is configured. Set the environment variable %1 "
                   "(or the setting \"%2\") to the server's address, for example "
                   "http://updates.example.org:8080.")
        .arg(QString::fromLatin1(OrvanePlatform::updateServerVariable),
             QString::fromLatin1(OrvanePlatform::updateServerKey));

OrvaneCheckVersion::OrvaneCheckVersion(QObject* parent)
    : QObject(parent)
    , currentVersion(programVersion)
    , connectionErrorMessage(QStringLiteral("It is not possible to connect to the ORVANE server. "
                                            "Please, check your connection to the internet."))
{
    // Connected once, so every reply is handled exactly once however many
    // checks are started.
    connect(&informationManager, &QNetworkAccessManager::finished, this,
            &OrvaneCheckVersion::informationDownloaded);
    connect(&installerManager, &QNetworkAccessManager::finished, this,
            &OrvaneCheckVersion::installerDownloaded);
}

OrvaneCheckVersion::~OrvaneCheckVersion() = default;

QUrl OrvaneCheckVersion::serverFileUrl(const QString& path) const
{
    QUrl url = OrvanePlatform::updateServerUrl();
    if (url.isEmpty())
        return url;
    QString base = url.path();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    url.setPath(base + path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

void OrvaneCheckVersion::downloadInformation()
{
    const QUrl url = serverFileUrl(versionTextPath);
    if (url.isEmpty()) {
        emit signalErrorDetected(noServerMessage);
        return;
    }
    informationManager.get(QNetworkRequest(url));
}

void OrvaneCheckVersion::downloadInstaller()
{
    const QUrl url = serverFileUrl(installerPath);
    if (url.isEmpty()) {
        emit signalErrorDetected(noServerMessage);
        return;
    }
    installerReply = installerManager.get(QNetworkRequest(url));
    connect(installerReply, &QNetworkReply::downloadProgress, this,
            &OrvaneCheckVersion::slotReplyProgress);
}

QString OrvaneCheckVersion::installerFileName(const QString& version)
{
    // "/ORVANE-Setup.exe" is saved as "ORVANE1.5-Setup.exe".
    return QStringLiteral("ORVANE") + version + installerPath.mid(QStringLiteral("/ORVANE").size());
}

bool OrvaneCheckVersion::isUpToDate(const QString& latest, const QString& current, bool* readable)
{
    // Checked by pattern: QVersionNumber alone accepts a leading number with
    // any text after it ("1.4.1-beta", "1..4").
    static const QRegularExpression dottedNumber(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
    const QString latestText = latest.trimmed();
    const bool ok = dottedNumber.match(latestText).hasMatch();
    if (readable)
        *readable = ok;
    if (!ok)
        return false;
    return QVersionNumber::compare(QVersionNumber::fromString(latestText).normalized(),
                                   QVersionNumber::fromString(current).normalized())
        <= 0;
}

void OrvaneCheckVersion::informationDownloaded(QNetworkReply* pReply)
{
    pReply->deleteLater();
    if (pReply->error() != QNetworkReply::NoError) {
        emit signalErrorDetected(connectionErrorMessage);
        return;
    }
    const QString text = QString::fromUtf8(pReply->readAll());
    if (text.isEmpty())
        return;

    // A text file on the server usually ends with a line break; blanks around
    // a field are not part of it.
    QStringList fields;
    for (const QString& field : text.split(QLatin1Char('$'))) {
        const QString trimmed = field.trimmed();
        if (!trimmed.isEmpty())
            fields << trimmed;
    }
    if (fields.isEmpty())
        return;

    latestVersion = fields.takeFirst();
    versionNews.clear();
    for (const QString& news : fields)
        versionNews += news + QLatin1Char('\n');

    bool readable = false;
    versionUpdated = isUpToDate(latestVersion, currentVersion, &readable);
    if (!readable) {
        emit signalErrorDetected(
            QStringLiteral("The ORVANE server announced a version that cannot be read: \"%1\".")
                .arg(latestVersion));
        return;
    }
    emit signalInformationDownloaded(versionUpdated);
}

void OrvaneCheckVersion::installerDownloaded(QNetworkReply* pReply)
{
    pReply->deleteLater();
    if (pReply == installerReply)
        installerReply = nullptr;
    if (pReply->error() != QNetworkReply::NoError) {
        disconnect(pReply, &QNetworkReply::downloadProgress, this,
                   &OrvaneCheckVersion::slotReplyProgress);
        emit signalErrorDetected(connectionErrorMessage);
        return;
    }
    installerData = pReply->readAll();
    emit downloaded();
}

void OrvaneCheckVersion::slotReplyProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    emit signalReplyProgress(bytesReceived, bytesTotal);
}
