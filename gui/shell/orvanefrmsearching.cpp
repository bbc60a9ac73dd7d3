#include "orvanefrmsearching.h"
#include "ui_orvanefrmsearching.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

OrvaneFrmSearching::OrvaneFrmSearching(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmSearching>())
    , placeholderView(std::make_unique<QPlainTextEdit>())
{
    ui->setupUi(this);
    setMaximumHeight(40);
    plainTextEdit = placeholderView.get();
    connect(ui->edtFind, &QLineEdit::textEdited, this,
            [this](const QString& text) { findTextInFile(text); });
}

OrvaneFrmSearching::~OrvaneFrmSearching() = default;

void OrvaneFrmSearching::findTextInFile(QString findWord, bool forward, bool backward)
{
    QTextDocument* document = plainTextEdit->document();
    QTextCursor cursor = plainTextEdit->textCursor();
    QPalette palette = ui->edtFind->palette();
    palette.setColor(QPalette::Active, QPalette::Base, Qt::white);

    if (cursor.hasSelection())
        cursor.setPosition(forward ? cursor.position() : cursor.anchor());
    QTextCursor result = cursor;

    if (!findWord.isEmpty()) {
        QTextDocument::FindFlags flags;
        if (backward)
            flags |= QTextDocument::FindBackward;
        if (ui->chkMatchCase->isChecked())
            flags |= QTextDocument::FindCaseSensitively;

        QTextCursor found = document->find(findWord, cursor, flags);
        if (found.isNull()) {
            QTextCursor restart(document);
            restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
            found = document->find(findWord, restart, flags);
        }
        if (found.isNull())
            palette.setColor(QPalette::Active, QPalette::Base, Qt::red);
        else
            result = found;
    }

    plainTextEdit->setTextCursor(result);
    ui->edtFind->setPalette(palette);
}

void OrvaneFrmSearching::on_btnNextWord_clicked()
{
    findTextInFile(ui->edtFind->text(), true, false);
}

void OrvaneFrmSearching::on_btnPreviousWord_clicked()
{
    findTextInFile(ui->edtFind->text(), false, true);
}

void OrvaneFrmSearching::on_btnClose_clicked()
{
    hide();
}
