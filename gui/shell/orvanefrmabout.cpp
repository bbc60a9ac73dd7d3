#include "orvanefrmabout.h"
#include "ui_orvanefrmabout.h"

#include <QDesktopServices>
#include <QUrl>

OrvaneFrmAbout::OrvaneFrmAbout(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmAbout>())
{
    ui->setupUi(this);
    for (QLabel* contact : {ui->lblContact1, ui->lblContact2, ui->lblContact3})
        connect(contact, &QLabel::linkActivated, this, &OrvaneFrmAbout::linkActivated);
}

OrvaneFrmAbout::~OrvaneFrmAbout() = default;

void OrvaneFrmAbout::linkActivated(QString link)
{
    // A link the desktop cannot open is ignored: there is nothing the user
    // could do about it here.
    QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}
