#include "orvaneabstractparametric.h"

#include "orvanereportfile.h"

#include <QFile>
#include <QFileInfo>

OrvaneAbstractParametric::OrvaneAbstractParametric(QObject* parent)
    : OrvaneAbstractObjCalculation(parent)
{
}

OrvaneAbstractParametric::~OrvaneAbstractParametric() = default;

bool OrvaneAbstractParametric::runParametrization(const int& n, double*& x)
{
    nParameters = n;
    parameters = x;
    return true;
}

void OrvaneAbstractParametric::endOfParametrization()
{
}

void OrvaneAbstractParametric::startOfParametrization()
{
}

QString OrvaneAbstractParametric::citationsHeading()
{
    return QStringLiteral("------------------------------------------------------\n"
                          "      Required Citations for this Calculation         \n"
                          "------------------------------------------------------\n\n");
}

QString OrvaneAbstractParametric::citationsWithMopac(const QString& mopacCitation) const
{
    QString text = citationsHeading();
    if (!mopacCitation.isEmpty())
        text += mopacCitation + QStringLiteral("\n\n");
    return text + requiredCitations;
}

void OrvaneAbstractParametric::removeEarlierReport(const QString& reportFile)
{
    // Only a report: a folder, FIFO or device of that name is not ours to remove.
    if (!reportFile.isEmpty() && QFileInfo(reportFile).isFile())
        QFile::remove(reportFile);
}

void OrvaneAbstractParametric::endWithoutFit(const QString& reportFile, const QString& note)
{
    // A failed first evaluation leaves its own reason; keep it.
    lastError = lastError.isEmpty() ? note : note + QLatin1Char('\n') + lastError;
    endFailed = true;
    unwrittenReport.clear();
    writeFailureNote(reportFile);
}

void OrvaneAbstractParametric::endWithoutReport(const QString& reason, const bool& keepEarlier)
{
    lastError = keepEarlier && !lastError.isEmpty() ? reason + QLatin1Char('\n') + lastError : reason;
    endFailed = true;
    unwrittenReport.clear();
}

void OrvaneAbstractParametric::writeReport(const QString& reportFile, const QString& report)
{
    unwrittenReport.clear();
    // A fit asked for no file (the caller reads the values) writes none.
    if (reportFile.isEmpty())
        return;
    QString reason;
    if (OrvaneReportFile::write(reportFile, report, reason))
        return;
    endWithoutReport(reason);
    unwrittenReport = report;
}

void OrvaneAbstractParametric::writeFailureNote(const QString& reportFile) const
{
    if (reportFile.isEmpty())
        return;
    // The note is a courtesy beside the last error, which already holds the
    // reason; a note that cannot be written (a FIFO, a full disk) adds nothing.
    QString ignored;
    OrvaneReportFile::write(reportFile, lastError + QLatin1Char('\n'), ignored);
}
