#include "orvanefrmplaceholderpage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

OrvaneFrmPlaceholderPage::OrvaneFrmPlaceholderPage(QWidget* parent, const QString& title)
    : AbstractObjCalculationWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont font = lblTitle->font();
    font.setPointSize(12);
    font.setBold(true);
    lblTitle->setFont(font);
    lblTitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblTitle);

    auto* note = new QLabel(tr("This calculation is not available in this version of ORVANE."), this);
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(note);

    auto* form = new QFormLayout;
    edtInputFile = new QLineEdit(this);
    edtInputFile->setObjectName(QStringLiteral("edtInputFile"));
    edtInputFile->setReadOnly(true);
    form->addRow(tr("Input file:"), edtInputFile);
    layout->addLayout(form);
    layout->addStretch(1);
}

OrvaneFrmPlaceholderPage::~OrvaneFrmPlaceholderPage() = default;

void OrvaneFrmPlaceholderPage::setInputFileName(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    inputFileName = fileName;
    edtInputFile->setText(fileName);
}
