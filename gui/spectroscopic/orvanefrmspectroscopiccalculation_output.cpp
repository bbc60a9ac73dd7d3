// Output tabs of OrvaneFrmSpectroscopicCalculation: showing the input and the
// report, and saving the report.

#include "orvanefrmspectroscopiccalculation.h"
#include "ui_orvanefrmspectroscopiccalculation.h"

#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvanefrmsearching.h"
#include "orvanereportfile.h"
#include "orvanetextfileview.h"
#include "orvaneunsavednotice.h"
#include "orvanewaitcursor.h"

#include <QFileInfo>
#include <QPlainTextEdit>

QPlainTextEdit* OrvaneFrmSpectroscopicCalculation::tabView(const int& index) const
{
    return qobject_cast<QPlainTextEdit*>(ui->tabWidgetViewFiles->widget(index));
}

void OrvaneFrmSpectroscopicCalculation::setPlainTextEdit(const int& index)
{
    if (QPlainTextEdit* view = tabView(index))
        findBar->plainTextEdit = view;
}

bool OrvaneFrmSpectroscopicCalculation::loadFileInTab(const QString& fileName, const int& tabIndex)
{
    QPlainTextEdit* view = tabView(tabIndex);
    if (!view)
        return false;
    findBar->plainTextEdit = view;
    QString problem;
    const bool shown = OrvaneTextFileView::show(view, fileName, problem);
    ui->tabWidgetViewFiles->setCurrentIndex(tabIndex);
    if (tabIndex == 1)
        markReportSaved();
    if (shown)
        return true;
    OrvaneDialogs::warning(this, tr("ORVANE Warning"), problem);
    return false;
}

QPlainTextEdit* OrvaneFrmSpectroscopicCalculation::showInReportTab(const QString& text)
{
    ui->tabWidgetViewFiles->setCurrentIndex(1);
    QPlainTextEdit* view = tabView(1);
    findBar->plainTextEdit = view;
    OrvaneWaitCursor wait;
    view->setPlainText(text);
    return view;
}

void OrvaneFrmSpectroscopicCalculation::showOutput(const QString& text)
{
    showInReportTab(text)->appendPlainText(citations);
    markReportSaved();
}

bool OrvaneFrmSpectroscopicCalculation::writeOutputFile(const QString& fileName)
{
    QString reason;
    if (OrvaneReportFile::write(fileName, tabView(1)->toPlainText() + QStringLiteral("\n\n\n"), reason)) {
        markReportSaved();
        return true;
    }
    OrvaneDialogs::critical(this, tr("ORVANE Error"), reason);
    markReportUnsaved(reason);
    return false;
}

void OrvaneFrmSpectroscopicCalculation::markReportUnsaved(const QString& reason)
{
    // Only an .omega file is read back as intensity parameters (by the
    // energy-transfer page): say which filter keeps the report usable.
    unsavedReportNotice->showUnsaved(
        tr("This report"), reason,
        mode == 0 ? tr("Save it under another name with the Save button; choose \"%1\" to read it on the "
                       "energy-transfer page.")
                        .arg(omegaSaveFilter())
                  : tr("Save it under another name with the Save button."));
    // Mode 0 has no Save button of its own: without it the report would be lost.
    ui->btnSaveOutputFile->show();
    ui->btnSaveOutputFile->setEnabled(true);
}

void OrvaneFrmSpectroscopicCalculation::markReportSaved()
{
    unsavedReportNotice->clearNotice();
}

void OrvaneFrmSpectroscopicCalculation::saveOutputBesideInput()
{
    const QString path = mode == 0 ? OrvaneFileNames::withBaseName(mopacFile, QStringLiteral("omega"))
                                   : OrvaneFileNames::withBaseName(orcaFile, QStringLiteral("orvane"));
    if (!confirmReplace(path)) {
        // The report on screen is in no file; mode 0 has no Save button without this.
        markReportUnsaved(tr("the earlier file %1 was kept.").arg(path));
        return;
    }
    if (writeOutputFile(path))
        OrvaneDialogs::information(this, QStringLiteral("Information"),
                                   tr("The file was successfully created at ") + path);
}

QString OrvaneFrmSpectroscopicCalculation::omegaSaveFilter()
{
    return tr("ORVANE .omega File (*.omega)");
}

bool OrvaneFrmSpectroscopicCalculation::confirmReplace(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    const QMessageBox::StandardButton answer =
        OrvaneDialogs::question(this, tr("ORVANE Question"),
                                tr("The destination already has a file named\n") + path
                                    + tr("\nAre you sure you want to replace the file in the destination?"),
                                QMessageBox::Yes | QMessageBox::No);
    return answer != QMessageBox::No;
}

QString OrvaneFrmSpectroscopicCalculation::getSaveOutputFileName(const QString& extension)
{
    // An intensity-parameter report may also be kept as .omega, the one
    // extension under which it can be read back.
    QString filter = tr("ORVANE .orvane File (*.%1)").arg(extension);
    if (mode == 0)
        filter += QStringLiteral(";;") + omegaSaveFilter();
    return OrvaneDialogs::saveFileName(this, tr("Save ORVANE .orvane File"), lastDirectory, filter);
}

void OrvaneFrmSpectroscopicCalculation::on_btnSaveOutputFile_clicked()
{
    const QString name = getSaveOutputFileName(QStringLiteral("orvane"));
    if (name.isEmpty())
        return;
    if (writeOutputFile(name))
        OrvaneDialogs::information(this, tr("ORVANE Information"),
                                   tr("The ORVANE output file was successfully created at: \n") + name);
}
