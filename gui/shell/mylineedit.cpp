#include "mylineedit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {
const QString uriListFormat = QStringLiteral("text/uri-list");
}

MyLineEdit::MyLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

MyLineEdit::~MyLineEdit() = default;

void MyLineEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(uriListFormat))
        event->acceptProposedAction();
}

// The base class would judge moves by "text/plain" and by read-only state;
// a file drag must stay accepted over the whole field.
void MyLineEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(uriListFormat))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MyLineEdit::dropEvent(QDropEvent* event)
{
    setStyleSheet(QString());
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty()) {
        const QString path = urls.first().toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).isFile())
            setText(path);
    }
    event->acceptProposedAction();
}
