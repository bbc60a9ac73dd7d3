#include "orvanefrmabout.h"
#include "ui_orvanefrmabout.h"

#include <QDesktopServices>
#include <QUrl>

OrvaneFrmAbout::OrvaneFrmAbout(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmAbout>())
{
    ui->setupUi(this);
    // The project has no mail addresses: questions and reports go where its
    // README says.
    const QString link = QStringLiteral("<a href=\"%1\">README.md</a>")
                             .arg(readmeUrl().toString(QUrl::FullyEncoded).toHtmlEscaped());
    for (QLabel* contact : {ui->lblContact1, ui->lblContact2, ui->lblContact3}) {
        contact->setText(QStringLiteral("See ") + link);
        connect(contact, &QLabel::linkActivated, this, &OrvaneFrmAbout::linkActivated);
    }
    ui->lblInstitutionAddress->setText(QStringLiteral("The ORVANE Project\n"
                                                      "Free software for lanthanide luminescence\n"
                                                      "Questions and reports: see README.md in the ORVANE sources"));
}

OrvaneFrmAbout::~OrvaneFrmAbout() = default;

QUrl OrvaneFrmAbout::readmeUrl()
{
    return QUrl::fromLocalFile(QStringLiteral(ORVANE_README_PATH));
}

void OrvaneFrmAbout::linkActivated(QString link)
{
    // A link the desktop cannot open is ignored: there is nothing the user
    // could do about it here.
    QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}
