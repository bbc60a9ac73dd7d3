#include "orvaneupdatecontroller.h"

#include "orvanecheckversion.h"
#include "orvanedialogs.h"
#include "orvaneplatform.h"

#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>

#include <limits>

const QString OrvaneUpdateController::idleText = QStringLiteral("Click to check for updates");
const QString OrvaneUpdateController::downloadingText =
    QStringLiteral("Downloading a new ORVANE Version");
const QString OrvaneUpdateController::downloadedText =
    QStringLiteral("New ORVANE Version downloaded");

namespace {
int narrowed(qint64 value)
{
    return static_cast<int>(qBound<qint64>(0, value, std::numeric_limits<int>::max()));
}
} // namespace

OrvaneUpdateController::OrvaneUpdateController(QWidget* window, QPushButton* button,
                                               QProgressBar* progressBar)
    : QObject(window)
    , window(window)
    , button(button)
    , progressBar(progressBar)
    , versionChecker(new OrvaneCheckVersion(this))
{
    progressBar->hide();
    connect(button, &QPushButton::clicked, this, &OrvaneUpdateController::checkOnDemand);
}

OrvaneUpdateController::~OrvaneUpdateController() = default;

void OrvaneUpdateController::startSilentCheck()
{
    if (OrvanePlatform::updateServerUrl().isEmpty())
        return;
    connect(versionChecker, &OrvaneCheckVersion::signalInformationDownloaded, this,
            &OrvaneUpdateController::checkVersion, Qt::UniqueConnection);
    silentVersionCheck = true;
    versionChecker->downloadInformation();
}

void OrvaneUpdateController::checkOnDemand()
{
    silentVersionCheck = false;
    button->setEnabled(false);

    if (button->text() == downloadedText) {
        OrvaneDialogs::information(window, QStringLiteral("ORVANE Information"),
                                   QStringLiteral("The ORVANE Installer was saved at:\n ")
                                       + installerFileName);
        button->setEnabled(true);
        return;
    }
    if (OrvanePlatform::updateServerUrl().isEmpty()) {
        OrvaneDialogs::information(window, QStringLiteral("ORVANE Information"),
                                   OrvaneCheckVersion::noServerMessage);
        button->setEnabled(true);
        return;
    }
    connect(versionChecker, &OrvaneCheckVersion::signalInformationDownloaded, this,
            &OrvaneUpdateController::checkVersion, Qt::UniqueConnection);
    connect(versionChecker, &OrvaneCheckVersion::signalErrorDetected, this,
            &OrvaneUpdateController::errorDetected, Qt::UniqueConnection);
    versionChecker->downloadInformation();
}

void OrvaneUpdateController::checkVersion(bool isVersionUpdated)
{
    disconnect(versionChecker, &OrvaneCheckVersion::signalInformationDownloaded, this,
               &OrvaneUpdateController::checkVersion);
    disconnect(versionChecker, &OrvaneCheckVersion::downloaded, this,
               &OrvaneUpdateController::loadImage);
    disconnect(versionChecker, &OrvaneCheckVersion::signalReplyProgress, this,
               &OrvaneUpdateController::replyProgress);

    if (isVersionUpdated) {
        if (!silentVersionCheck) {
            OrvaneDialogs::information(window, QStringLiteral("ORVANE Information"),
                                       QStringLiteral("You have the latest ORVANE version.\n"
                                                      "                ORVANE ")
                                           + versionChecker->getCurrentVersion());
        }
        return;
    }

    const QString latest = versionChecker->getLatestVersion();
    const QMessageBox::StandardButton answer = OrvaneDialogs::question(
        window, QStringLiteral("ORVANE Question"),
        QStringLiteral("ORVANE version ") + latest
            + QStringLiteral(" is available to download. Would you like to download it?")
            + QStringLiteral("\n\n") + versionChecker->getVersionNews(),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    installerFileName = OrvaneDialogs::saveFileName(
        window, QStringLiteral("Save ORVANE Installer"),
        QDir::homePath() + QLatin1Char('/') + OrvaneCheckVersion::installerFileName(latest),
        OrvaneCheckVersion::installerFilter);
    if (installerFileName.isEmpty())
        return;

    // A download failure is reported however the check began, so the bar and
    // the button never stay in the downloading state.
    connect(versionChecker, &OrvaneCheckVersion::signalErrorDetected, this,
            &OrvaneUpdateController::errorDetected, Qt::UniqueConnection);
    downloading = true;
    versionChecker->downloadInstaller();
    connect(versionChecker, &OrvaneCheckVersion::downloaded, this,
            &OrvaneUpdateController::loadImage, Qt::UniqueConnection);
    connect(versionChecker, &OrvaneCheckVersion::signalReplyProgress, this,
            &OrvaneUpdateController::replyProgress, Qt::UniqueConnection);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->show();
    button->setText(downloadingText);
    // One download at a time: a click now would start a second check.
    button->setEnabled(false);
}

void OrvaneUpdateController::replyProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal < 0) {
        // Size not announced: a busy bar.
        progressBar->setRange(0, 0);
        return;
    }
    // Maximum first: a value beyond the old range would be dropped.
    progressBar->setMaximum(narrowed(bytesTotal));
    progressBar->setValue(narrowed(bytesReceived));
}

void OrvaneUpdateController::loadImage()
{
    disconnect(versionChecker, &OrvaneCheckVersion::signalErrorDetected, this,
               &OrvaneUpdateController::errorDetected);
    downloading = false;
    button->setEnabled(true);

    const QByteArray data = versionChecker->getInstallerData();
    QSaveFile file(installerFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        progressBar->hide();
        button->setText(idleText);
        OrvaneDialogs::critical(window, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The ORVANE Installer could not be saved at:\n")
                                    + installerFileName + QLatin1Char('\n') + file.errorString());
        return;
    }

    OrvaneDialogs::information(
        window, QStringLiteral("ORVANE"),
        QStringLiteral("The ORVANE Version Installer was downloaded successfully, and saved at:\n")
            + installerFileName
            + QStringLiteral("\nPlease, close the current ORVANE instance and install the new "
                             "version."));
    progressBar->hide();
    button->setText(downloadedText);
}

void OrvaneUpdateController::errorDetected(QString error)
{
    disconnect(versionChecker, &OrvaneCheckVersion::signalErrorDetected, this,
               &OrvaneUpdateController::errorDetected);
    if (downloading)
        endFailedDownload();
    OrvaneDialogs::critical(window, QStringLiteral("ORVANE Error"), error);
}

void OrvaneUpdateController::endFailedDownload()
{
    downloading = false;
    disconnect(versionChecker, &OrvaneCheckVersion::downloaded, this,
               &OrvaneUpdateController::loadImage);
    disconnect(versionChecker, &OrvaneCheckVersion::signalReplyProgress, this,
               &OrvaneUpdateController::replyProgress);
    progressBar->hide();
    button->setText(idleText);
    button->setEnabled(true);
}
