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

// The bytes a UTF-8 character starting with lead takes; 1 for a byte that
// starts no longer character.
int announcedLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

// Whether second may follow lead: these leads narrow its range (no overlong
// forms, no surrogates, nothing above U+10FFFF).
bool mayFollow(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0;
    case 0xED:
        return second <= 0x9F;
    case 0xF0:
        return second >= 0x90;
    case 0xF4:
        return second <= 0x8F;
    default:
        return true;
    }
}

// Bytes at the end that begin a UTF-8 character still being written: a
// well-formed start of a character that lacks its last bytes.
int incompleteTailLength(const QByteArray& bytes)
{
    const int size = bytes.size();
    for (int back = 1; back <= 3 && back <= size; ++back) {
        const auto lead = static_cast<unsigned char>(bytes.at(size - back));
        if ((lead & 0xC0) == 0x80)
            continue; // a continuation byte: its lead may lie further back
        if (announcedLength(lead) <= back)
            return 0;
        if (back >= 2 && !mayFollow(lead, static_cast<unsigned char>(bytes.at(size - back + 1))))
            return 0;
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
    // replaces a cut invalid sequence differently from a whole one). A slice
    // with nothing held before it is decoded where it lies, not copied.
    const QByteArray pending = heldBytes.isEmpty() ? bytes : heldBytes + bytes;
    const int complete = pending.size() - incompleteTailLength(pending);
    heldBytes = pending.mid(complete);
    return QString::fromUtf8(pending.constData(), complete);
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
