#ifndef ORVANEFITSUMMARY_H
#define ORVANEFITSUMMARY_H

#include "orvaneengine_export.h"

#include <QString>
#include <QStringList>
#include <QVector>

// How close a fit came: each target with the value reached and the relative
// deviation |reached - target| / |target|, the targets missed by more than
// missTolerance, and the parameters that ended at a bound of the fit. Every
// fit builds one at its end, so that the end message, the status line and
// the report all say the same.
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
    };

    // `unit` follows the numbers of the targets in the text (may be empty).
    explicit OrvaneFitSummary(const QString& unit = QString());

    void addTarget(const QString& name, const double& target, const double& reached);
    void addParameter(const QString& name, const double& value, const double& lower, const double& upper);
    void clear();
    bool isEmpty() const { return targets.isEmpty() && parameters.isEmpty(); }

    // |reached - target| / |target|; NaN for a target of 0 or a value not reached.
    static double relativeDeviation(const double& target, const double& reached);
    // Whether the relative deviation exceeds missTolerance; a value not
    // reached is missed, a target of 0 is missed when not met exactly.
    static bool isMissed(const Target& t);
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
    QString targetLine(const Target& t) const;
    QString warnings(const QString& separator) const;

    QString unit;
    QVector<Target> targets;
    QVector<Parameter> parameters;
};

#endif
