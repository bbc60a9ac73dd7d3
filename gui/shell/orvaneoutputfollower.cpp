#include "orvaneoutputfollower.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTextCodec>
#include <QTextDecoder>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

OrvaneOutputFollower::OrvaneOutputFollower(QObject* parent)
    : QObject(parent)
    , readTimer(new QTimer(this))
{
    readTimer->setSingleShot(true);
    connect(readTimer, &QTimer::timeout, this, [this] {
        if (readSlice())
            readTimer->start(0);
    });
}

OrvaneOutputFollower::~OrvaneOutputFollower() = default;

void OrvaneOutputFollower::follow(const QString& fileName)
{
    stop();
    followedFile = fileName;
    totalBytesRead = 0;
    watcher = new QFileSystemWatcher(this);
    // A watch on a file that does not exist yet fails: the folder is watched
    // too, and the file is taken up once it appears.
    watcher->addPath(QFileInfo(fileName).absolutePath());
    if (QFileInfo::exists(fileName))
        watcher->addPath(fileName);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &OrvaneOutputFollower::scheduleRead);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &OrvaneOutputFollower::scheduleRead);
    openFromStart();
    scheduleRead();
}

void OrvaneOutputFollower::stop()
{
    readTimer->stop();
    delete watcher;
    watcher = nullptr;
    file.close();
    decoder.reset();
    pendingCarriageReturn = false;
    followedFile.clear();
}

void OrvaneOutputFollower::readNow()
{
    readTimer->stop();
    while (readSlice()) {
    }
}

void OrvaneOutputFollower::scheduleRead()
{
    if (!watcher)
        return;
    // A file replaced by a new one drops out of the watch: take it up again.
    if (QFileInfo::exists(followedFile) && !watcher->files().contains(followedFile))
        watcher->addPath(followedFile);
    if (!readTimer->isActive())
        readTimer->start(readDelayMs);
}

bool OrvaneOutputFollower::openFromStart()
{
    file.close();
    decoder.reset(QTextCodec::codecForName("UTF-8")->makeDecoder());
    pendingCarriageReturn = false;
    file.setFileName(followedFile);
    // A FIFO of that name would block the opening, and the window with it.
    if (!QFileInfo(followedFile).isFile())
        return false;
    // Unbuffered: each read asks the system for what the file holds now.
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool OrvaneOutputFollower::replacedOrShrunk() const
{
    // The open file keeps its own data: compare it with what the name holds now.
    if (file.size() < file.pos())
        return true;
#ifdef Q_OS_UNIX
    struct stat opened;
    struct stat named;
    if (::fstat(file.handle(), &opened) != 0)
        return true;
    if (::stat(QFile::encodeName(followedFile).constData(), &named) != 0)
        return true;
    return opened.st_dev != named.st_dev || opened.st_ino != named.st_ino;
#else
    return !QFileInfo::exists(followedFile);
#endif
}

void OrvaneOutputFollower::restart()
{
    openFromStart();
    emit restarted();
}

bool OrvaneOutputFollower::readSlice()
{
    if (followedFile.isEmpty())
        return false;
    if (!file.isOpen()) {
        if (!openFromStart())
            return false;
        // Text delivered before the file went away belongs to another file.
        if (totalBytesRead > 0)
            emit restarted();
    } else if (replacedOrShrunk()) {
        if (!QFileInfo::exists(followedFile)) {
            // Gone for now: start again when it comes back.
            file.close();
            return false;
        }
        restart();
        if (!file.isOpen())
            return false;
    }

    const QByteArray bytes = file.read(sliceBytes);
    if (bytes.isEmpty())
        return false;
    totalBytesRead += bytes.size();

    QString text = decoder->toUnicode(bytes);
    if (pendingCarriageReturn)
        text.prepend(QLatin1Char('\r'));
    pendingCarriageReturn = text.endsWith(QLatin1Char('\r'));
    if (pendingCarriageReturn)
        text.chop(1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!text.isEmpty())
        emit textAppended(text);
    return file.pos() < file.size();
}
