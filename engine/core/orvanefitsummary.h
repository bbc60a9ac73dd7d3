#ifndef ORVANEFITSUMMARY_H
#define ORVANEFITSUMMARY_H

#include "orvaneengine_export.h"

#include <QString>
#include <QStringList>
#include <QVector>

// How close a fit came: each target with the value reached, the targets
// missed, and the parameters that ended at a bound of the fit. Every fit
// builds one at its end, so that the end message, the status line and the
// report all say the same.
//
// Two judgements. The intensity fits judge a target by its relative deviation
// |reached - target| / |target| (missTolerance). The level fits judge it by
// its deviation reached - target in the unit of the levels (inUnits), since a
// level 1500 cm-1 off is under 10 % of a 17000 cm-1 level and a sublevel near
// the reference is over 10 % off by a fraction of a cm-1; their texts also
// give the fitted parameters, the RMS deviation and the largest deviation
// with its target, and always state the threshold.
//
// A missed target is blamed on the bounds only when some parameter ended at
// one (and those parameters are named); otherwise the text says that the
// search stopped short and what may help. A unit always follows its number
// after one blank, whether or not the unit given starts with one.
class ORVANEENGINE_EXPORT OrvaneFitSummary
{
public:
    // A target is missed when its relative deviation exceeds this.
    static constexpr double missTolerance = 0.10;
    // A parameter within this fraction of its range of a bound is at that
    // bound: the annealing refuses points outside, so a best point pressed
    // against a bound stops just inside it.
    static constexpr double boundTolerance = 0.01;

    struct Target {
        QString name;
        double target = 0.0;
        double reached = 0.0; // NaN when the fit computed no value for it
    };
    struct Parameter {
        QString name;
        double value = 0.0;
        double lower = 0.0; // -inf when unbounded below
        double upper = 0.0; // +inf when unbounded above
        QString unit;       // follows the value in the texts (may be empty)
    };

    // Judged by relative deviations. `unit` follows the numbers of the
    // targets in the text (may be empty).
    explicit OrvaneFitSummary(const QString& unit = QString());
    // Judged by deviations in `unit`: a target is missed when its value is
    // more than `missThreshold` away from it.
    static OrvaneFitSummary inUnits(const QString& unit, const double& missThreshold);

    void addTarget(const QString& name, const double& target, const double& reached);
    void addParameter(const QString& name, const double& value, const double& lower, const double& upper,
        const QString& unit = QString());
    // Empties the targets and parameters; the judgement stays.
    void clear();
    bool isEmpty() const { return targets.isEmpty() && parameters.isEmpty(); }
    bool isJudgedInUnits() const { return judgedInUnits; }
    // The threshold of inUnits; NaN for a summary judged by relative deviations.
    double getMissThreshold() const;

    // |reached - target| / |target|; NaN for a target of 0 or a value not reached.
    static double relativeDeviation(const double& target, const double& reached);
    // Whether the relative deviation exceeds missTolerance; a value not
    // reached is missed, a target of 0 is missed when not met exactly.
    static bool isMissed(const Target& t);
    // Whether |reached - target| exceeds `threshold`; a value not reached is missed.
    static bool isMissedBy(const Target& t, const double& threshold);
    // The square root of the mean squared deviation (reached - target) over
    // the targets reached; NaN when none was.
    double rmsDeviation() const;
    // The target reached with the largest |reached - target| (the first of
    // equals); -1 when none was reached.
    int largestDeviation() const;
    // -1 at the lower bound, +1 at the upper one, 0 otherwise (see boundTolerance;
    // with one bound infinite, only the value equal to the other is at it).
    static int boundReached(const Parameter& p);

    QVector<Target> getTargets() const { return targets; }
    QStringList missedTargets() const;
    // Names of the parameters at a bound, each with the bound: "g of group 1 (upper bound 2)".
    QStringList parametersAtBounds() const;
    bool hasWarnings() const { return !missedTargets().isEmpty() || !parametersAtBounds().isEmpty(); }

    // One line per target, then one sentence per kind of warning.
    QString text() const;
    // The same in one line, for a status panel.
    QString statusLine() const;
    // text() as a report section under a heading, every line starting with a
    // blank; it holds no key of the intensity-parameter readers.
    QString reportSection(const QString& heading) const;

private:
    static QString number(const double& value);
    // The number, a blank and the unit (surrounding blanks of `unit` dropped);
    // the number alone for an empty unit.
    static QString withUnit(const double& value, const QString& unit);
    bool missed(const Target& t) const;
    int reachedCount() const;
    QString targetLine(const Target& t) const;
    // What follows the target lines: for a summary in units the closeness
    // and the fitted parameters, then the warnings (or, in units, that none
    // is missed beyond the threshold), one sentence each.
    QStringList sentences() const;

    QString unit;
    bool judgedInUnits = false;
    double missThreshold = 0.0;
    QVector<Target> targets;
    QVector<Parameter> parameters;
};

#endif
