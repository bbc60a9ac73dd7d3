#ifndef ORVANEFRMABOUT_H
#define ORVANEFRMABOUT_H

#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace Ui {
class OrvaneFrmAbout;
}

// The last page of the main window: what ORVANE is for and where to turn.
// The contact links open the project's README, which says how to reach it.
class OrvaneFrmAbout : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmAbout(QWidget* parent = nullptr);
    ~OrvaneFrmAbout() override;

    // The README of the ORVANE sources this program was built from.
    static QUrl readmeUrl();

private slots:
    void linkActivated(QString link);

private:
    std::unique_ptr<Ui::OrvaneFrmAbout> ui;
};

#endif
