#ifndef ORVANEWAITCURSOR_H
#define ORVANEWAITCURSOR_H

#include <QApplication>

// The application's wait cursor for the life of the object, so that every
// way out of a scope restores it.
class OrvaneWaitCursor
{
public:
    OrvaneWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~OrvaneWaitCursor() { QApplication::restoreOverrideCursor(); }
    OrvaneWaitCursor(const OrvaneWaitCursor&) = delete;
    OrvaneWaitCursor& operator=(const OrvaneWaitCursor&) = delete;
};

#endif
