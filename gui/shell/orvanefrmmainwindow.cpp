#include "orvanefrmmainwindow.h"
#include "ui_orvanefrmmainwindow.h"

#include "orvanefrmabout.h"
#include "orvanefrmexternalcalculationmodule.h"
#include "orvanefrmfileviewer.h"
#include "orvanefrmfilesconverter.h"
#include "orvanefrmhandlespectroscopiccalculation.h"
#include "orvaneupdatecontroller.h"

#include <QIcon>
#include <QListWidgetItem>
#include <QPalette>
#include <QScreen>

OrvaneFrmMainWindow::OrvaneFrmMainWindow(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmMainWindow>())
{
    ui->setupUi(this);
    QPalette windowPalette(QColor(233, 233, 244));
    windowPalette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    setPalette(windowPalette);
    ui->listWidget->setPalette(QPalette(QColor(Qt::white)));
    ui->plainTextStatusMessage->hide();

    ui->listWidget->setViewMode(QListView::IconMode);
    ui->listWidget->setIconSize(QSize(88, 82));
    ui->listWidget->setMovement(QListView::Static);
    ui->listWidget->setMinimumWidth(128);
    ui->listWidget->setMaximumWidth(128);
    ui->listWidget->setSpacing(12);

    addLoggingPage(new OrvaneFrmExternalCalculationModule(this, 0));
    auto* orcaPage = new OrvaneFrmExternalCalculationModule(this, 1);
    addLoggingPage(orcaPage);
    frmSpectroscopic = new OrvaneFrmHandleSpectroscopicCalculation(this);
    addLoggingPage(frmSpectroscopic);
    addLoggingPage(new OrvaneFrmFilesConverter(this));
    ui->stackedWidget->addWidget(new OrvaneFrmAbout(this));

    // The ORCA page's way to the absorption spectrum: the container opens
    // that page with the ORCA output, then the window shows the container.
    connect(orcaPage,
            qOverload<const int&, const QString&>(
                &OrvaneFrmExternalCalculationModule::showAbsorptionSpectrumCalculationModule),
            frmSpectroscopic, &OrvaneFrmHandleSpectroscopicCalculation::setPageToBeDisplayed);
    connect(orcaPage,
            qOverload<const int&>(&OrvaneFrmExternalCalculationModule::showAbsorptionSpectrumCalculationModule),
            this, &OrvaneFrmMainWindow::setPageToBeDisplayed);

    // The controller drives the update button and the progress bar (and
    // hides the bar) from here on.
    updateController = new OrvaneUpdateController(this, ui->btnCheckVersion, ui->progressBar);
    updateController->startSilentCheck();

    const struct
    {
        const char* icon;
        const char* text;
    } rows[] = {
        {":/icones/geo_opt.png", QT_TR_NOOP("Geometry\nOptimization")},
        {":/icones/absorption_spectrum.png", QT_TR_NOOP("Excited States\nCalculation")},
        {":/icones/energy_transfer.png", QT_TR_NOOP("Spectroscopic\nProperties\nCalculation")},
        {":/icones/files_convert.png", QT_TR_NOOP("Files Converter")},
        {":/icones/InfoBox-icon.png", QT_TR_NOOP("About ORVANE")},
    };
    for (const auto& row : rows) {
        auto* item = new QListWidgetItem(QIcon(QString::fromLatin1(row.icon)), tr(row.text),
                                         ui->listWidget);
        item->setTextAlignment(Qt::AlignHCenter);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    connect(ui->listWidget, &QListWidget::currentItemChanged, this, &OrvaneFrmMainWindow::changePage);
    ui->listWidget->setSelectionRectVisible(true);
    ui->listWidget->setCurrentRow(MopacPage);

    fileViewer = std::make_unique<OrvaneFrmFileViewer>();
    // Close button only (the customize hint makes X11 window managers honour it).
    fileViewer->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                               | Qt::WindowCloseButtonHint);
    fileViewer->setWindowModality(Qt::ApplicationModal);
}

OrvaneFrmMainWindow::~OrvaneFrmMainWindow() = default;

void OrvaneFrmMainWindow::addLoggingPage(QWidget* page)
{
    ui->stackedWidget->addWidget(page);
    connect(page, SIGNAL(newObjCalculationMessage(const QString&)), ui->plainTextStatusMessage,
            SLOT(appendPlainText(const QString&)));
}

void OrvaneFrmMainWindow::changePage(QListWidgetItem* current, QListWidgetItem* previous)
{
    QListWidgetItem* shown = current ? current : previous;
    if (shown)
        ui->stackedWidget->setCurrentIndex(ui->listWidget->row(shown));
}

void OrvaneFrmMainWindow::setPageToBeDisplayed(const int& index)
{
    if (index < 0 || index >= ui->listWidget->count())
        return;
    ui->listWidget->setCurrentRow(index);
    ui->stackedWidget->setCurrentIndex(index);
}

void OrvaneFrmMainWindow::on_btnHideStatusMessage_clicked(bool isVisible)
{
    ui->plainTextStatusMessage->setVisible(isVisible);
}

void OrvaneFrmMainWindow::on_btnFileViewer_clicked()
{
    fileViewer->show();
    if (const QScreen* screen = fileViewer->screen())
        fileViewer->move(screen->availableGeometry().center() - fileViewer->rect().center());
    fileViewer->exec();
}
