#include "orvaneunsavednotice.h"

#include "orvanedialogs.h"

#include <QAbstractButton>
#include <QFileInfo>

OrvaneUnsavedNotice::OrvaneUnsavedNotice(const QString& objectName, QWidget* parent, const QString& what,
                                         const QString& howToSave, QAbstractButton* saveButton, SaveButton use)
    : QLabel(parent), what(what), howToSave(howToSave), saveButton(saveButton), use(use)
{
    setObjectName(objectName);
    setWordWrap(true);
    // The reason names the file and the system's error: let it be copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFrameShape(QFrame::StyledPanel);
    hide();
    if (use == SaveButton::WithNotice)
        saveButton->hide();
}

void OrvaneUnsavedNotice::showUnsaved(const QString& why)
{
    // The result shown stays whose it was: a new result clears the notice
    // before it can be marked unsaved.
    reason = why;
    showText();
    show();
    saveButton->show();
    saveButton->setEnabled(true);
}

void OrvaneUnsavedNotice::showText()
{
    const QString subject =
        ofEarlierInputs ? tr("%1, of the earlier inputs (the last run gave no result),").arg(what) : what;
    setText(tr("%1 is not saved: %2\n%3").arg(subject, reason, howToSave));
}

void OrvaneUnsavedNotice::markOfEarlierInputs()
{
    if (isHidden())
        return;
    ofEarlierInputs = true;
    showText();
}

void OrvaneUnsavedNotice::clearNotice()
{
    hide();
    clear();
    reason.clear();
    ofEarlierInputs = false;
    if (use == SaveButton::WithNotice)
        saveButton->hide();
}

bool OrvaneUnsavedNotice::askReplace(QWidget* asker, const QString& path, const QString& question)
{
    if (!QFileInfo::exists(path))
        return true;
    return OrvaneDialogs::question(asker, tr("ORVANE Question"), question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::No;
}

bool OrvaneUnsavedNotice::confirmReplace(QWidget* asker, const QString& path, const QString& question)
{
    if (askReplace(asker, path, question))
        return true;
    // The earlier file keeps its older values: the result on screen is in no file.
    showUnsaved(tr("the earlier file %1 was kept.").arg(path));
    return false;
}
