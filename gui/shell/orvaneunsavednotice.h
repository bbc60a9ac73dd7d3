#ifndef ORVANEUNSAVEDNOTICE_H
#define ORVANEUNSAVEDNOTICE_H

#include <QLabel>
#include <QString>

// A framed notice above a result that exists on screen only, because its
// file could not be written: it says why and how to save the result under
// another name, and hides once the result is saved (or replaced).
class OrvaneUnsavedNotice : public QLabel
{
    Q_OBJECT
public:
    // Hidden until showUnsaved.
    OrvaneUnsavedNotice(const QString& objectName, QWidget* parent);

    // "<what> is not saved: <reason>", then howToSave on a line of its own.
    void showUnsaved(const QString& what, const QString& reason, const QString& howToSave);
    void clearNotice();
};

#endif
