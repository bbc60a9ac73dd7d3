#ifndef ORVANEREPORTFILE_H
#define ORVANEREPORTFILE_H

#include "orvaneengine_export.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// Writes a report, generated input or image file, or copies a file into its
// place. A failure is explained with the file name and the system's reason
// ("No space left on device", "Permission denied", ...). Only regular files
// are replaced: a folder, FIFO or device of that name is refused. A link is
// followed: the file it names is written. In a folder shared by every user
// (mode 1777, such as /tmp) only a link of the user's own, or of the
// folder's owner, is followed, to the file or to a folder on its way; another user's link there is refused with
// that reason, whatever the system's own rule for such links is set to.
//
// Replaced atomically (the usual way). The new content is written whole to
// a hidden file beside the target (".<name>.orvane-part"; a name too long
// for those additions gets a shortened hidden name ending in its digest),
// flushed to the disk, given the earlier file's owner, group and permissions
// where the system allows (root may give any; a user may give a group of
// their own) and its extended attributes, its access control list among
// them, and renamed over the target. A reader, a failure or a kill at any
// moment finds the earlier file whole or the new one whole, never a mix. The
// hidden file is always made new, by this write and for it alone: a failure
// removes it; one left by a killed writer (the user's own) is removed by the
// next write of the same file, also when it has other links, which keep
// their content; a name taken by another user's file or link is left alone
// and a further hidden name ("...orvane-part-1", ...) is used. The new file
// is a new file: other hard links to the earlier one keep the earlier
// content. A file the user may not write is not replaced.
//
// Rewritten in place (the fallback). Where the new file cannot be made or
// renamed beside the target, or cannot be given the earlier file's extended
// attributes, but the target itself may be written (a folder the user may
// not write; a shared folder of mode 1777 holding a colleague's file that
// the user's group may write), the file is rewritten in place, which cannot
// be atomic. The file keeps its owner, group, permissions, attributes and
// links. Room for the new content is reserved first (where the file system
// cannot reserve room, its free room is checked instead), so that a full
// disk refuses the write with the file untouched; a refused write gives the
// reserved room back. The earlier content is kept aside in an unnamed file
// of the temporary folder (where the user may read it and there is room).
// The new content then goes in, the file is cut to its new length and
// flushed; should that fail, the earlier content is written back. Only a kill, or the machine stopping, during those few
// calls can leave the file holding part of each content. Copies and the
// earlier content go through a block of fixed size, so a large file is never
// held in memory.
//
// Several files (writeAll, copyAll). Every file is written whole beside
// its target, or prepared for its in-place rewrite, before the first one is
// replaced: a failure up to then leaves every earlier file as it was. The
// files are then put in place from the last to the first, so list a file
// that names others (an ORCA input naming its point charges) before them:
// it never stands beside earlier versions of the files it names. Between
// the renames, which follow each other directly, a reader or a kill may
// find the earlier first file beside later files already new (the earlier
// input with the new charges; never the new input with the earlier
// charges). A file that already holds its new content is left as it is,
// so with unchanged charges there is no such moment at all.
class ORVANEENGINE_EXPORT OrvaneReportFile
{
public:
    // Text is written as UTF-8.
    static bool write(const QString& fileName, const QString& text, QString& reason);
    static bool write(const QString& fileName, const QByteArray& bytes, QString& reason);
    // Files that belong together: (file name, text) pairs, the file that
    // names the others first.
    static bool writeAll(const QVector<QPair<QString, QString>>& files, QString& reason);
    // Copies (source, target) pairs as writeAll writes: a file that names
    // the others first. `placed`, when given, receives the targets that hold
    // their new content, also when the call fails part way.
    static bool copyAll(const QVector<QPair<QString, QString>>& sourcesAndTargets, QString& reason,
                        QStringList* placed = nullptr);
    // Empty when `fileName` is missing or a regular file; otherwise why it
    // cannot be written or read as one (a folder, a FIFO, a device).
    static QString notRegularReason(const QString& fileName);

    // For tests: the points of a write at which a test may end the writing
    // process, to see what a kill there leaves.
    enum class Step {
        Staged,  // a file's new content stands whole beside it, or room is reserved to rewrite it
        Replaced // a file holds its new content
    };
    using StepObserver = void (*)(Step step, const QString& fileName);
    static void setStepObserverForTesting(StepObserver observer);
    // For tests: writes behave as on a file system that cannot reserve room
    // for a file (many network shares), when `available` is false.
    static void setRoomReservationForTesting(bool available);
    // For tests: the block in which a copy, or the earlier content of a
    // file rewritten in place, is read and written (1 MiB unless set).
    static void setCopyBlockForTesting(int bytes);
};

#endif
