#include "myplaintextedit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {
// File managers offer a dragged file as "text/uri-list", often with a
// "text/plain" copy of it; either is enough to be let in.
bool offersFileOrText(const QMimeData* data)
{
    return data->hasFormat(QStringLiteral("text/plain"))
        || data->hasFormat(QStringLiteral("text/uri-list"));
}
} // namespace

MyPlainTextEdit::MyPlainTextEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setAcceptDrops(true);
}

MyPlainTextEdit::~MyPlainTextEdit() = default;

void MyPlainTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (offersFileOrText(event->mimeData()))
        event->acceptProposedAction();
}

// The base class refuses moves over a read-only view or with data it cannot
// insert; the drop is ours to judge.
void MyPlainTextEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (offersFileOrText(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MyPlainTextEdit::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty()) {
        const QString path = urls.first().toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).isFile())
            setPlainText(path);
    }
    event->acceptProposedAction();
}
