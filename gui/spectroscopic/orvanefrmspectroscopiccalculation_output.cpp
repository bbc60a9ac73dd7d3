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
    // A new report: the notice of the one it replaced no longer holds.
    markReportSaved();
    return view;
}

void OrvaneFrmSpectroscopicCalculation::showOutput(const QString& text)
{
    showInReportTab(text)->appendPlainText(citations);
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
    // Mode 0 has no Save button of its own: the notice shows it, without
    // which the report would be lost.
    unsavedReportNotice->showUnsaved(reason);
}

void OrvaneFrmSpectroscopicCalculation::markReportSaved()
{
    unsavedReportNotice->clearNotice();
}

void OrvaneFrmSpectroscopicCalculation::saveOutputBesideInput()
{
    const QString path = mode == 0 ? OrvaneFileNames::withBaseName(mopacFile, QStringLiteral("omega"))
                                   : OrvaneFileNames::withBaseName(orcaFile, QStringLiteral("orvane"));
    // On No the report stays on screen, marked unsaved, with its Save button.
    if (!unsavedReportNotice->confirmReplace(this, path, replaceQuestion(path)))
        return;
    if (writeOutputFile(path))
        OrvaneDialogs::information(this, QStringLiteral("Information"),
                                   tr("The file was successfully created at ") + path);
}

QString OrvaneFrmSpectroscopicCalculation::omegaSaveFilter()
{
    return tr("ORVANE .omega File (*.omega)");
}

QString OrvaneFrmSpectroscopicCalculation::replaceQuestion(const QString& path)
{
    return tr("The destination already has a file named\n") + path
        + tr("\nAre you sure you want to replace the file in the destination?");
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
