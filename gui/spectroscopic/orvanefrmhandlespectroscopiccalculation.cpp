#include "orvanefrmhandlespectroscopiccalculation.h"
#include "ui_orvanefrmhandlespectroscopiccalculation.h"

#include "orvanefrmenergylevels.h"
#include "orvanefrmioniontransfer.h"
#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvanefrmspectroscopiccalculation.h"

#include <QIcon>
#include <QListWidgetItem>

OrvaneFrmHandleSpectroscopicCalculation::OrvaneFrmHandleSpectroscopicCalculation(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmHandleSpectroscopicCalculation>())
{
    ui->setupUi(this);
    ui->lblTitle->setText(tr("Module 3: Spectroscopic Properties Calculations"));

    ui->listWidget->setViewMode(QListView::IconMode);
    ui->listWidget->setIconSize(QSize(40, 30));
    ui->listWidget->setMovement(QListView::Static);
    ui->listWidget->setResizeMode(QListView::Adjust);
    ui->listWidget->setMinimumWidth(113);
    ui->listWidget->setMaximumWidth(113);
    ui->listWidget->setSpacing(10);
    // The fixed width holds the icons and their texts; a scroll bar under
    // them would only cover the last row.
    ui->listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const struct
    {
        const char* icon;
        const char* text;
    } rows[] = {
        {":/icones/emission_spectrum.png", QT_TR_NOOP(" Plot Emission   \n     Spectrum     ")},
        {":/icones/omega.png", QT_TR_NOOP(" Intensity    \n     Parameter   ")},
        {":/icones/energy_transfer.png", QT_TR_NOOP("Energy\n Transfer Rates\nand\nQuantum Yield")},
        {":/icones/absorption_spectrum.png", QT_TR_NOOP("Plot Absorption  \n   Spectrum    ")},
        {":/icones/plotGraph.png", QT_TR_NOOP("Free-Ion\nEnergy Levels")},
        {":/icones/transfer_mechanisms.png", QT_TR_NOOP("Ion-to-Ion\nEnergy Transfer")},
        {":/icones/run_calculation.png", QT_TR_NOOP("Non-Radiative\nRate")},
    };
    for (const auto& row : rows) {
        auto* item = new QListWidgetItem(QIcon(QString::fromLatin1(row.icon)), tr(row.text),
                                         ui->listWidget);
        item->setTextAlignment(Qt::AlignHCenter);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    connect(ui->listWidget, &QListWidget::currentItemChanged, this,
            &OrvaneFrmHandleSpectroscopicCalculation::changePage);

    // The pages, in row order.
    addPage(new OrvaneFrmPlotEmissionSpectrum(this));
    addPage(new OrvaneFrmSpectroscopicCalculation(this, 0));
    addPage(new OrvaneFrmSpectroscopicCalculation(this, 2));
    frmPlotAbsorptionSpectrum = new OrvaneFrmPlotAbsorptionSpectrum(this);
    addPage(frmPlotAbsorptionSpectrum);
    addPage(new OrvaneFrmEnergyLevels(this));
    addPage(new OrvaneFrmIonIonTransfer(this));
    addPage(new OrvaneFrmNonRadiativeRateCalculation(this));

    ui->listWidget->setCurrentRow(EmissionSpectrum);
}

OrvaneFrmHandleSpectroscopicCalculation::~OrvaneFrmHandleSpectroscopicCalculation() = default;

void OrvaneFrmHandleSpectroscopicCalculation::addPage(QWidget* page)
{
    ui->stackedWidget->addWidget(page);
    connect(page, SIGNAL(newObjCalculationMessage(const QString&)), this,
            SLOT(statusMessage(const QString&)));
}

void OrvaneFrmHandleSpectroscopicCalculation::statusMessage(const QString& message)
{
    emit newObjCalculationMessage(message);
}

void OrvaneFrmHandleSpectroscopicCalculation::changePage(QListWidgetItem* current,
                                                          QListWidgetItem* previous)
{
    QListWidgetItem* shown = current ? current : previous;
    if (shown)
        ui->stackedWidget->setCurrentIndex(ui->listWidget->row(shown));
}

void OrvaneFrmHandleSpectroscopicCalculation::setPageToBeDisplayed(const int& index,
                                                                    const QString& fileName)
{
    // An index outside the list would leave no row selected while a page
    // still shows: row and page would disagree.
    if (index >= 0 && index < ui->listWidget->count()) {
        ui->listWidget->setCurrentRow(index);
        ui->stackedWidget->setCurrentIndex(index);
    }
    frmPlotAbsorptionSpectrum->setInputFileName(fileName);
}
