#ifndef ORVANEFRMABOUT_H
#define ORVANEFRMABOUT_H

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class OrvaneFrmAbout;
}

// The last page of the main window: what ORVANE is for and whom to write to.
// The contact links open the desktop's mail program.
class OrvaneFrmAbout : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmAbout(QWidget* parent = nullptr);
    ~OrvaneFrmAbout() override;

private slots:
    void linkActivated(QString link);

private:
    std::unique_ptr<Ui::OrvaneFrmAbout> ui;
};

#endif
