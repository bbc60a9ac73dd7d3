#include "orvaneabstractparametric.h"

#include "orvanereportfile.h"

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
    bestResponse = initialBestResponse;
    bestPointKept = false;
    endFailed = false;
    // An end that keeps the last evaluation's reason must not keep the earlier fit's.
    lastError.clear();
    fitSummary.clear();
    unwrittenReport.clear();
    forgetEarlierFit();
}

void OrvaneAbstractParametric::forgetEarlierFit()
{
}

bool OrvaneAbstractParametric::keepIfBest(const double& response)
{
    if (!(response < bestResponse))
        return false;
    bestResponse = response;
    bestPointKept = true;
    return true;
}

void OrvaneAbstractParametric::stopOfParametrization()
{
    endWithoutReport(QStringLiteral("The fit was stopped before its end: no new report was written, and a report "
                                    "of an earlier fit was left as it was."));
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
