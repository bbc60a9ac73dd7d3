#ifndef ORVANEOUTPUTFOLLOWER_H
#define ORVANEOUTPUTFOLLOWER_H

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>


class QFileSystemWatcher;
class QTimer;

// Follows a text file that another program is writing, as "tail -f" does:
// each read takes only the bytes added since the last one, so a view of an
// output of tens of megabytes costs what was written, not the whole file at
// every change. A file that shrinks or is replaced by another is read again
// from its start (restarted() first). The file need not exist yet.
//
// Change notifications are coalesced; a large backlog is read in slices, one
// per turn of the event loop, so the window keeps answering.
class OrvaneOutputFollower : public QObject
{
    Q_OBJECT
public:
    explicit OrvaneOutputFollower(QObject* parent = nullptr);
    ~OrvaneOutputFollower() override;

    // Starts following fileName from its beginning; what it already holds is
    // delivered too. Ends any earlier follow.
    void follow(const QString& fileName);
    // Stops following and lets go of the file.
    void stop();
    // Delivers at once everything added since the last read.
    void readNow();

    QString fileName() const { return followedFile; }
    bool isFollowing() const { return !followedFile.isEmpty(); }
    // Bytes read from the file since follow().
    qint64 bytesRead() const { return totalBytesRead; }

    // Coalescing delay of change notifications.
    static constexpr int readDelayMs = 200;
    // Largest slice read in one turn of the event loop.
    static constexpr qint64 sliceBytes = 4 * 1024 * 1024;

signals:
    // The text delivered so far is no longer the file's start.
    void restarted();
    // Text added to the file, line ends as "\n".
    void textAppended(const QString& text);

private:
    void scheduleRead();
    // Reads at most one slice; true when more is waiting.
    bool readSlice();
    bool openFromStart();
    bool replacedOrShrunk() const;
    void restart();
    // The text of the bytes read, a character cut at their end kept for the next read.
    QString textOfRead(const QByteArray& bytes);

    QString followedFile;
    QFile file;
    qint64 totalBytesRead = 0;
    // A "\r" at the end of a slice may start a "\r\n" in the next one.
    bool pendingCarriageReturn = false;
    // The start of a character whose remaining bytes are not written yet.
    QByteArray heldBytes;
    QFileSystemWatcher* watcher = nullptr;
    QTimer* readTimer = nullptr;
};

#endif
