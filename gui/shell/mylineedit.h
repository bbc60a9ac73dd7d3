#ifndef MYLINEEDIT_H
#define MYLINEEDIT_H

#include <QLineEdit>

// A line edit that takes a local file dropped on it: the file's path becomes
// its text (so textChanged tells the owning form). A drop of anything else
// leaves the text alone; every drop clears the grey hint style sheet.
class MyLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit MyLineEdit(QWidget* parent = nullptr);
    ~MyLineEdit() override;

    // The grey of a drop target's hint text, until a file is taken.
    static QString hintStyleSheet() { return QStringLiteral("color: rgb(158, 158, 158);"); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

#endif
