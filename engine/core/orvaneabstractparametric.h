#ifndef ORVANEABSTRACTPARAMETRIC_H
#define ORVANEABSTRACTPARAMETRIC_H

#include "orvaneabstractobjcalculation.h"
#include "orvanefitsummary.h"

#include <QString>

// Base of every fitted model: one scalar response of a small vector of real
// parameters, minimised by the annealing driver OrvaneGSA. A model evaluates
// one trial vector per runParametrization call, keeps its own best point and
// writes its final report in endOfParametrization.
//
// One end policy for every model: only a fit that finishes with a result
// replaces its report, through writeReport, which replaces the file whole or
// not at all. A fit that is stopped, that kept no point, or whose report
// cannot be made or written leaves the report of an earlier fit byte for
// byte, and its last error says why.
class ORVANEENGINE_EXPORT OrvaneAbstractParametric : public OrvaneAbstractObjCalculation
{
    Q_OBJECT
public:
    explicit OrvaneAbstractParametric(QObject* parent = nullptr);
    ~OrvaneAbstractParametric() override;

    // Evaluates the point and leaves its response in responseFunction; false
    // for a failed evaluation, with the reason in the last error. This base
    // version only stores the count and the pointer (not owned).
    virtual bool runParametrization(const int& nParameters, double*& parameters);
    // Called once after the last run, or after a failed first evaluation.
    // Writes the report with writeReport, or ends with endWithoutReport.
    virtual void endOfParametrization();
    // Called once by the driver before the first evaluation of a fit, to
    // forget what an earlier fit on this object found: the best response and
    // point, the summary, an unwritten report, a failed end and its reason
    // here, the model's own results through forgetEarlierFit. It touches no
    // file.
    void startOfParametrization();
    // Called by the driver, instead of endOfParametrization, when the fit was
    // stopped: no report is written, and the last error says so.
    void stopOfParametrization();

    double getResponseFunction() const { return responseFunction; }
    double getBestResponse() const { return bestResponse; }
    // Whether some evaluation of this fit improved on the initial best
    // response, so that the model holds a best point of its own.
    bool hasBestPoint() const { return bestPointKept; }
    void incrementPointsNumber() { ++pointNumber; }
    int getPointNumber() const { return pointNumber; }
    int getPointNumberMaximum() const { return pointNumberMaximum; }
    void setPointNumberMaximum(const int& n) { pointNumberMaximum = n; }
    QString getRequiredCitations() const { return requiredCitations; }
    // Whether the last endOfParametrization kept no result (the reason in the
    // last error); the driver clears it before calling endOfParametrization.
    bool hasEndFailed() const { return endFailed; }
    void clearEndFailure() { endFailed = false; }
    void setRequiredCitations(const QString& text) { requiredCitations = text; }
    // How close the best point came to the targets, filled by
    // endOfParametrization; empty when the fit kept no point.
    const OrvaneFitSummary& getFitSummary() const { return fitSummary; }
    // The report of the last end whose file could not be written, so that the
    // fitted values are not lost with it; empty after any other end.
    QString getUnwrittenReport() const { return unwrittenReport; }

    // The heading of the citation block that ends every intensity report.
    static QString citationsHeading();

protected:
    static constexpr double initialBestResponse = 1e24;

    // The model's part of a new start: what it keeps of a fit (its best
    // point, a log, results derived from them) goes. The base has nothing of
    // its own to forget here.
    virtual void forgetEarlierFit();
    // The one step by which every model keeps its best point: a response
    // strictly below the best one becomes the best response and true tells
    // the model to copy the point just evaluated as its best point.
    bool keepIfBest(const double& response);

    // requiredCitations preceded by the heading of the citation block and,
    // when not empty, the MOPAC citation of the structure.
    QString citationsWithMopac(const QString& mopacCitation) const;
    // Ends a fit without a report: the reason becomes the last error (before
    // any reason already there when `keepEarlier`, such as that of a failed
    // first evaluation); no file is touched.
    void endWithoutReport(const QString& reason, const bool& keepEarlier = false);
    // Writes the fitted report; when the file cannot be written, the end
    // fails with the reason and the text is kept as the unwritten report.
    void writeReport(const QString& reportFile, const QString& report);

    int nParameters = 0;
    double* parameters = nullptr;
    double responseFunction = 0.0;
    double bestResponse = initialBestResponse;
    QString requiredCitations;
    int pointNumber = 0;
    int pointNumberMaximum = 100000;
    bool endFailed = false;
    bool bestPointKept = false;
    OrvaneFitSummary fitSummary;
    QString unwrittenReport;
};

#endif
