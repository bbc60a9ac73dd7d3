#include "orvaneoutputfollower.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
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
    heldBytes.clear();
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
    heldBytes.clear();
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

namespace {

// Bytes at the end that begin a UTF-8 character still being written: a
// well-formed start of a character that lacks its last bytes.
int incompleteTailLength(const QByteArray& bytes)
{
    const int size = bytes.size();
    for (int back = 1; back <= 3 && back <= size; ++back) {
        const auto lead = static_cast<unsigned char>(bytes.at(size - back));
        if ((lead & 0xC0) == 0x80)
            continue; // a continuation byte: its lead may lie further back
        const int announced = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 1;
        if (announced <= back)
            return 0;
        if (back >= 2) {
            // The second byte's range narrows for these leads (no overlong
            // forms, no surrogates, nothing above U+10FFFF).
            const auto second = static_cast<unsigned char>(bytes.at(size - back + 1));
            const bool allowed = lead == 0xE0 ? second >= 0xA0 : lead == 0xED ? second <= 0x9F
                : lead == 0xF0                 ? second >= 0x90 : lead == 0xF4 ? second <= 0x8F : true;
            if (!allowed)
                return 0;
        }
        return back;
    }
    return 0;
}

} // namespace

QString OrvaneOutputFollower::textOfRead(const QByteArray& bytes)
{
    // A character cut between two reads is held back and decoded with the
    // bytes that follow it, each piece without state, so the view shows the
    // same text however the file was cut into reads (a stateful decoder
    // replaces a cut invalid sequence differently from a whole one).
    heldBytes += bytes;
    const int complete = heldBytes.size() - incompleteTailLength(heldBytes);
    const QString text = QString::fromUtf8(heldBytes.constData(), complete);
    heldBytes.remove(0, complete);
    return text;
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

    QString text = textOfRead(bytes);
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
