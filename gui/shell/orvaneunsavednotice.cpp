#include "orvaneunsavednotice.h"

OrvaneUnsavedNotice::OrvaneUnsavedNotice(const QString& objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setWordWrap(true);
    // The reason names the file and the system's error: let it be copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFrameShape(QFrame::StyledPanel);
    hide();
}

void OrvaneUnsavedNotice::showUnsaved(const QString& what, const QString& reason, const QString& howToSave)
{
    setText(tr("%1 is not saved: %2\n%3").arg(what, reason, howToSave));
    show();
}

void OrvaneUnsavedNotice::clearNotice()
{
    hide();
    clear();
}
