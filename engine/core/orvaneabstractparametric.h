#ifndef ORVANEABSTRACTPARAMETRIC_H
#define ORVANEABSTRACTPARAMETRIC_H

#include "orvaneabstractobjcalculation.h"
#include "orvanefitsummary.h"

#include <QString>

// Base of every fitted model: one scalar response of a small vector of real
// parameters, minimised by the annealing driver OrvaneGSA. A model evaluates
// one trial vector per runParametrization call, keeps its own best point and
// writes its final report in endOfParametrization.
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
    virtual void endOfParametrization();
    // Called once by the driver before the first evaluation of a fit. A
    // report of an earlier run is left alone: only a fit that finishes with a
    // result replaces it.
    virtual void startOfParametrization();

    double getResponseFunction() const { return responseFunction; }
    double getBestResponse() const { return bestResponse; }
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
    // requiredCitations preceded by the heading of the citation block and,
    // when not empty, the MOPAC citation of the structure.
    QString citationsWithMopac(const QString& mopacCitation) const;
    // Removes a report that an earlier fit left at `reportFile`.
    static void removeEarlierReport(const QString& reportFile);
    // Ends a fit that kept no point: `note` goes first in the last error
    // (before any reason already there) and the last error into `reportFile`.
    void endWithoutFit(const QString& reportFile, const QString& note);
    // Writes the last error into `reportFile` in place of a report.
    void writeFailureNote(const QString& reportFile) const;
    // Ends a fit without a report: the reason becomes the last error (before
    // any reason already there when `keepEarlier`), no file is touched, so a
    // report of an earlier run stays as it was.
    void endWithoutReport(const QString& reason, const bool& keepEarlier = false);
    // Writes the fitted report; when the file cannot be written, the end
    // fails with the reason and the text is kept as the unwritten report.
    void writeReport(const QString& reportFile, const QString& report);

    int nParameters = 0;
    double* parameters = nullptr;
    double responseFunction = 0.0;
    double bestResponse = 1e24;
    QString requiredCitations;
    int pointNumber = 0;
    int pointNumberMaximum = 100000;
    bool endFailed = false;
    OrvaneFitSummary fitSummary;
    QString unwrittenReport;
};

#endif
