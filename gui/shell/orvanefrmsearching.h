#ifndef ORVANEFRMSEARCHING_H
#define ORVANEFRMSEARCHING_H

#include <QWidget>

#include <memory>

class QPlainTextEdit;

namespace Ui {
class OrvaneFrmSearching;
}

// One-line find bar under a text view: searches while the user types, steps
// to the next or previous match with wrap-around, and turns its field red on
// a miss. It never changes the searched text.
class OrvaneFrmSearching : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmSearching(QWidget* parent = nullptr);
    ~OrvaneFrmSearching() override;

    // The view searched; owners point it at their visible view (not owned).
    // Until then it is an empty placeholder view owned by the bar.
    QPlainTextEdit* plainTextEdit = nullptr;

public slots:
    // forward: continue after the current match; backward: search backwards
    // from before it; neither: re-test from the start of the current match,
    // which grows it in place while the user types.
    void findTextInFile(QString findWord, bool forward = false, bool backward = false);

private slots:
    void on_btnNextWord_clicked();
    void on_btnPreviousWord_clicked();
    void on_btnClose_clicked();

private:
    std::unique_ptr<Ui::OrvaneFrmSearching> ui;
    std::unique_ptr<QPlainTextEdit> placeholderView;
};

#endif
