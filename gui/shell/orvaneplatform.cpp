#include "orvaneplatform.h"

#include "orvanesettings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <QSettings>
#endif

const char* const OrvanePlatform::updateServerVariable = "ORVANE_UPDATE_SERVER";
const char* const OrvanePlatform::updateServerKey = "updateServer";

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool writeWholeFile(const QString& path, const QByteArray& content, QString* error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        setError(error, QStringLiteral("Cannot create the folder of %1.").arg(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        setError(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

#ifndef Q_OS_WIN
// One argument of a desktop entry's Exec key: quoted, with the characters the
// desktop-entry format reserves escaped, then the value escaping of the file.
QString desktopExecArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
            || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}
#endif

} // namespace

QString OrvanePlatform::privateTempFolder(QString* error)
{
#ifdef Q_OS_UNIX
    const uid_t uid = geteuid();
    const QString path = QDir::tempPath() + QStringLiteral("/orvane-") + QString::number(uid);
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        setError(error, QStringLiteral("Cannot create the folder %1: %2")
                            .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        return QString();
    }
    struct stat info;
    if (::lstat(native.constData(), &info) != 0) {
        setError(error, QStringLiteral("Cannot inspect the folder %1: %2")
                            .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        return QString();
    }
    if (!S_ISDIR(info.st_mode)) {
        setError(error, QStringLiteral("%1 is not a folder.").arg(path));
        return QString();
    }
    if (info.st_uid != uid) {
        setError(error, QStringLiteral("The folder %1 belongs to another user.").arg(path));
        return QString();
    }
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        setError(error, QStringLiteral("The folder %1 is open to other users.").arg(path));
        return QString();
    }
    return path;
#else
    Q_UNUSED(error)
    return QDir::tempPath();
#endif
}

QString OrvanePlatform::settingsFilePath()
{
    const QString folder = privateTempFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/OrvaneGUI.ini");
}

bool OrvanePlatform::registerFileType(const QString& extension, const QString& programPath,
                                      QString* error)
{
    static const QRegularExpression plainExtension(QStringLiteral("^[A-Za-z0-9]+$"));
    if (!plainExtension.match(extension).hasMatch()) {
        setError(error, QStringLiteral("\"%1\" is not a plain file extension.").arg(extension));
        return false;
    }
    if (!QFileInfo(programPath).isAbsolute() || programPath.contains(QLatin1Char('\n'))
        || programPath.contains(QLatin1Char('\r'))) {
        setError(error, QStringLiteral("\"%1\" is not an absolute program path.").arg(programPath));
        return false;
    }
    const QString className = extension + QStringLiteral("_auto_file");

#ifdef Q_OS_WIN
    QString command = QLatin1Char('"') + programPath + QStringLiteral("\" \"%1\"");
    command.replace(QLatin1Char('/'), QLatin1Char('\\'));
    {
        QSettings classKey(QStringLiteral("Classes"), className, nullptr);
        classKey.beginGroup(QStringLiteral("shell"));
        classKey.beginGroup(QStringLiteral("open"));
        classKey.beginGroup(QStringLiteral("command"));
        classKey.setValue(QStringLiteral("Default"), command);
    }
    QSettings extensionKey(QStringLiteral("Classes"), QLatin1Char('.') + extension, nullptr);
    extensionKey.setValue(QStringLiteral("Default"), className);
    extensionKey.sync();
    if (extensionKey.status() != QSettings::NoError) {
        setError(error, QStringLiteral("Cannot write the registry key of .%1.").arg(extension));
        return false;
    }
    return true;
#else
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty()) {
        setError(error, QStringLiteral("No per-user data folder is known."));
        return false;
    }
    const QString mimeType = QStringLiteral("application/x-orvane-") + extension.toLower();

    const QString mimePackage =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"%1\">\n"
                       "    <comment>ORVANE .%2 file</comment>\n"
                       "    <glob pattern=\"*.%2\"/>\n"
                       "  </mime-type>\n"
                       "</mime-info>\n")
            .arg(mimeType, extension);
    if (!writeWholeFile(dataHome + QStringLiteral("/mime/packages/orvane-") + extension
                            + QStringLiteral(".xml"),
                        mimePackage.toUtf8(), error))
        return false;

    const QString desktopEntry = QStringLiteral("[Desktop Entry]\n"
                                                "Type=Application\n"
                                                "Name=ORVANE\n"
                                                "Exec=%1 %f\n"
                                                "MimeType=%2;\n"
                                                "NoDisplay=true\n"
                                                "Terminal=false\n")
                                     .arg(desktopExecArgument(programPath), mimeType);
    return writeWholeFile(dataHome + QStringLiteral("/applications/orvane-") + className
                              + QStringLiteral(".desktop"),
                          desktopEntry.toUtf8(), error);
#endif
}

void OrvanePlatform::refreshFileTypes()
{
#ifndef Q_OS_WIN
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty())
        return;
    const QString mimeFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mime");
    QProcess::startDetached(tool, {mimeFolder});
#endif
}

bool OrvanePlatform::endProcessTree(qint64 pid, int graceMs)
{
#ifdef Q_OS_UNIX
    // A pid of 0 or 1 would address our own group or every process; our own
    // group would end this program.
    if (pid <= 1 || static_cast<pid_t>(pid) == getpgrp())
        return false;
    const pid_t group = static_cast<pid_t>(pid);
    if (::kill(-group, SIGTERM) != 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < graceMs) {
        if (::kill(-group, 0) != 0)
            return true;
        QThread::msleep(10);
    }
    ::kill(-group, SIGKILL);
    return true;
#else
    if (pid <= 0)
        return false;
    Q_UNUSED(graceMs)
    return QProcess::execute(QStringLiteral("TASKKILL"),
                             {QStringLiteral("/PID"), QString::number(pid), QStringLiteral("/T"),
                              QStringLiteral("/F")})
        == 0;
#endif
}

void OrvanePlatform::applyApplicationStyle()
{
#ifdef Q_OS_WIN
    if (QStyle* style = QStyleFactory::create(QStringLiteral("windowsxp")))
        QApplication::setStyle(style);
#endif
}

QFont OrvanePlatform::fileViewFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // A platform without a theme (offscreen, a bare X server) may answer with
    // its proportional default: ask the font configuration for its monospace.
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    // Set explicitly, so that a bold group box around a view does not pass on
    // its weight.
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QString OrvanePlatform::findMopacProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("mopac"));
}

QString OrvanePlatform::findOrcaProgram()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("orca"));
    if (program.isEmpty())
        return QString();
    // ORCA runs its modules (orca_scf, ...) from its own folder.
    const QString folder = QFileInfo(program).absolutePath();
    if (QStandardPaths::findExecutable(QStringLiteral("orca_scf"), {folder}).isEmpty())
        return QString();
    return program;
}

QUrl OrvanePlatform::updateServerUrl()
{
    QString text = qEnvironmentVariable(updateServerVariable);
    if (text.trimmed().isEmpty())
        text = OrvaneSettings::value(QString::fromLatin1(updateServerKey));
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return QUrl();
    return url;
}
