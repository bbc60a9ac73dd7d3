#ifndef ORVANEUNSAVEDNOTICE_H
#define ORVANEUNSAVEDNOTICE_H

#include <QLabel>
#include <QString>

class QAbstractButton;

// A framed notice above a result that exists on screen only, because its
// file could not be written or the user kept the earlier file: it says why
// and how to save the result under another name, offers the page's button
// for that, and hides once the result is saved (or replaced).
class OrvaneUnsavedNotice : public QLabel
{
    Q_OBJECT
public:
    // Whether the save button is there for the unsaved result only (shown
    // and hidden with the notice) or is the page's own Save, which stays.
    enum class SaveButton { WithNotice, PagesOwn };

    // Hidden until showUnsaved. `what` names the result ("This report"),
    // `howToSave` says how to save it elsewhere, with `saveButton`.
    OrvaneUnsavedNotice(const QString& objectName, QWidget* parent, const QString& what,
                        const QString& howToSave, QAbstractButton* saveButton, SaveButton use);

    // "<what> is not saved: <reason>", then howToSave on a line of its own;
    // the save button shown and enabled. A mark of earlier inputs stays
    // until clearNotice (a new result clears the notice first).
    void showUnsaved(const QString& reason);
    void clearNotice();
    // The result shown is no longer that of the inputs on screen (a later
    // run was refused): a shown notice says so, so that saving it is not
    // taken for saving those inputs' result.
    void markOfEarlierInputs();

    // Before a result is written over `path`: true when it does not exist
    // or the user agrees to `question` (the page's own words). On No the
    // result stays on screen, said to be unsaved since the earlier file was
    // kept, and nothing may be written.
    bool confirmReplace(QWidget* asker, const QString& path, const QString& question);
    // The same question without the notice: true when `path` may be written.
    static bool askReplace(QWidget* asker, const QString& path, const QString& question);

private:
    void showText();

    const QString what;
    const QString howToSave;
    QAbstractButton* const saveButton;
    const SaveButton use;
    QString reason;
    bool ofEarlierInputs = false;
};

#endif
