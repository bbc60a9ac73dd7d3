#include "orvanefrmnonradiativeratecalculation.h"
#include "ui_orvanefrmnonradiativeratecalculation.h"

#include "orvanedialogs.h"
#include "orvanefrmsearching.h"
#include "orvanespectroscopiccalculation.h"
#include "orvanetextfileview.h"
#include "orvanewaitcursor.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>

OrvaneFrmNonRadiativeRateCalculation::OrvaneFrmNonRadiativeRateCalculation(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmNonRadiativeRateCalculation>())
{
    ui->setupUi(this);
    frmSearching = new OrvaneFrmSearching(this);
    frmSearching->hide();
    ui->stackedWidgetSearching->hide();
    // The tabs take the page's spare height once they hold a file; until
    // then an empty frame would only push the choices into a corner.
    ui->tabWidget->hide();
    connect(ui->tabWidget, &QTabWidget::currentChanged, this,
            &OrvaneFrmNonRadiativeRateCalculation::setPlainTextEdit);

    // Computed mode; the force-constant output is asked for once the MOPAC
    // output is known, and Calculate waits for both.
    ui->dsbArad->setEnabled(false);
    ui->lblArad->setEnabled(false);
    ui->lblMopacForce->setEnabled(false);
    ui->edtMopacForce->setEnabled(false);
    ui->btnChooseMopacForce->setEnabled(false);
    ui->btnCalculate->setEnabled(false);
}

OrvaneFrmNonRadiativeRateCalculation::~OrvaneFrmNonRadiativeRateCalculation() = default;

void OrvaneFrmNonRadiativeRateCalculation::setFileControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*> {ui->lblMopacOut, ui->edtMopacOut, ui->btnChooseMopacOut,
                                                       ui->lblMopacForce, ui->edtMopacForce,
                                                       ui->btnChooseMopacForce})
        w->setEnabled(enabled);
    ui->dsbArad->setEnabled(!enabled);
    ui->lblArad->setEnabled(!enabled);
}

void OrvaneFrmNonRadiativeRateCalculation::on_rdbCalcArad_clicked(bool isChecked)
{
    setFileControlsEnabled(isChecked);
    ui->btnCalculate->setEnabled(!ui->edtMopacForce->text().isEmpty());
}

void OrvaneFrmNonRadiativeRateCalculation::on_rdbSetArad_clicked(bool isChecked)
{
    setFileControlsEnabled(!isChecked);
    ui->btnCalculate->setEnabled(true);
}

void OrvaneFrmNonRadiativeRateCalculation::on_btnChooseMopacOut_clicked()
{
    mopacOutFile =
        OrvaneDialogs::openFileName(this, tr("Choose Mopac Output File"), QDir::homePath(), tr("Mopac Output File (*.out)"));
    if (mopacOutFile.isEmpty())
        return;
    ui->edtMopacOut->setText(mopacOutFile);
    ui->lblMopacForce->setEnabled(true);
    ui->edtMopacForce->setEnabled(true);
    ui->btnChooseMopacForce->setEnabled(true);
    loadFileIntoTab(mopacOutFile, QStringLiteral("Mopac Output File"), 0);
}

void OrvaneFrmNonRadiativeRateCalculation::on_btnChooseMopacForce_clicked()
{
    forceFile = OrvaneDialogs::openFileName(this, tr("Choose .out file"), QDir::homePath(), tr("Mopac Output File (*.out)"));
    if (forceFile.isEmpty())
        return;
    ui->edtMopacForce->setText(forceFile);
    ui->btnCalculate->setEnabled(true);
    loadFileIntoTab(forceFile, QStringLiteral("Mopac Force File"), 1);
}

void OrvaneFrmNonRadiativeRateCalculation::on_btnCalculate_clicked()
{
    double arad = 0.0;
    double anrad = 0.0;
    bool ok = false;
    QString failure;
    {
        const OrvaneWaitCursor wait;
        if (ui->rdbCalcArad->isChecked()) {
            OrvaneSpectroscopicCalculation calculation(nullptr, 0, 0, ui->edtMopacOut->text(),
                                                       ui->edtMopacForce->text(), QString(), 0, 0);
            // The rates of files the engine could not read mean nothing: its
            // reason is shown instead.
            if (calculation.getLastError().isEmpty() && calculation.calcArad()
                && calculation.calcAnrad(calculation.getArad())) {
                ok = true;
                arad = calculation.getArad();
                anrad = calculation.getAnrad();
            } else {
                failure = calculation.getLastError();
            }
        } else {
            OrvaneSpectroscopicCalculation calculation(nullptr);
            if (calculation.calcAnrad(ui->dsbArad->value())) {
                ok = true;
                arad = calculation.getArad();
                anrad = calculation.getAnrad();
            } else {
                failure = calculation.getLastError();
            }
        }
    }
    if (!ok) {
        OrvaneDialogs::critical(this, QStringLiteral("ORVANE Error"),
                                failure.isEmpty() ? QStringLiteral("The rates could not be calculated.") : failure);
        return;
    }
    OrvaneDialogs::information(this, QStringLiteral("Result"),
                               QString::number(anrad, 'g', 6) + QLatin1Char('\n') + QString::number(arad, 'g', 6));
}

void OrvaneFrmNonRadiativeRateCalculation::loadFileIntoTab(const QString& fileName, const QString& title,
                                                           const int& index)
{
    QTabWidget* tabs = ui->tabWidget;
    QPlainTextEdit* view = nullptr;
    if (index < tabs->count())
        view = qobject_cast<QPlainTextEdit*>(tabs->widget(index));
    if (!view) {
        view = new QPlainTextEdit(tabs);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        tabs->addTab(view, title);
        tabs->show();
    }
    frmSearching->plainTextEdit = view;

    // What cannot be shown is told by the view's note; the rates are still
    // read from the file by the engine.
    QString reason;
    OrvaneTextFileView::show(view, fileName, reason);
    tabs->setCurrentIndex(index);
}

void OrvaneFrmNonRadiativeRateCalculation::setPlainTextEdit(int index)
{
    auto* view = qobject_cast<QPlainTextEdit*>(ui->tabWidget->widget(index));
    if (!view)
        return;
    currentTextView = view;
    frmSearching->plainTextEdit = view;
}

void OrvaneFrmNonRadiativeRateCalculation::handleFrmSearching(bool addFrmSearching)
{
    if (!addFrmSearching) {
        ui->stackedWidgetSearching->hide();
        return;
    }
    ui->stackedWidgetSearching->show();
    if (ui->stackedWidgetSearching->indexOf(frmSearching) < 0)
        ui->stackedWidgetSearching->addWidget(frmSearching);
    ui->stackedWidgetSearching->setCurrentWidget(frmSearching);
    if (auto* field = frmSearching->findChild<QLineEdit*>(QStringLiteral("edtFind")))
        field->setFocus();
    frmSearching->show();
}

void OrvaneFrmNonRadiativeRateCalculation::on_btnFind_clicked()
{
    handleFrmSearching(true);
}
