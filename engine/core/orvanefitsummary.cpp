#include "orvanefitsummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

OrvaneFitSummary::OrvaneFitSummary(const QString& unit)
    : unit(unit)
{
}

OrvaneFitSummary OrvaneFitSummary::inUnits(const QString& unit, const double& missThreshold)
{
    OrvaneFitSummary summary(unit);
    summary.judgedInUnits = true;
    summary.missThreshold = missThreshold;
    return summary;
}

double OrvaneFitSummary::getMissThreshold() const
{
    return judgedInUnits ? missThreshold : std::numeric_limits<double>::quiet_NaN();
}

void OrvaneFitSummary::addTarget(const QString& name, const double& target, const double& reached)
{
    targets.append(Target {name, target, reached});
}

void OrvaneFitSummary::addParameter(const QString& name, const double& value, const double& lower,
    const double& upper, const QString& unit)
{
    parameters.append(Parameter {name, value, lower, upper, unit});
}

void OrvaneFitSummary::clear()
{
    targets.clear();
    parameters.clear();
}

double OrvaneFitSummary::relativeDeviation(const double& target, const double& reached)
{
    if (target == 0.0 || !std::isfinite(reached))
        return std::numeric_limits<double>::quiet_NaN();
    return std::abs(reached - target) / std::abs(target);
}

bool OrvaneFitSummary::isMissed(const Target& t)
{
    if (!std::isfinite(t.reached))
        return true;
    if (t.target == 0.0)
        return t.reached != 0.0;
    return relativeDeviation(t.target, t.reached) > missTolerance;
}

bool OrvaneFitSummary::isMissedBy(const Target& t, const double& threshold)
{
    return !std::isfinite(t.reached) || std::abs(t.reached - t.target) > threshold;
}

bool OrvaneFitSummary::missed(const Target& t) const
{
    return judgedInUnits ? isMissedBy(t, missThreshold) : isMissed(t);
}

int OrvaneFitSummary::reachedCount() const
{
    return int(std::count_if(targets.cbegin(), targets.cend(),
                             [](const Target& t) { return std::isfinite(t.reached); }));
}

double OrvaneFitSummary::rmsDeviation() const
{
    double sum = 0.0;
    for (const Target& t : targets) {
        if (std::isfinite(t.reached))
            sum += (t.reached - t.target) * (t.reached - t.target);
    }
    const int reached = reachedCount();
    return reached > 0 ? std::sqrt(sum / reached) : std::numeric_limits<double>::quiet_NaN();
}

int OrvaneFitSummary::largestDeviation() const
{
    int largest = -1;
    double size = 0.0;
    for (int i = 0; i < targets.size(); ++i) {
        const Target& t = targets.at(i);
        if (std::isfinite(t.reached) && (largest < 0 || std::abs(t.reached - t.target) > size)) {
            largest = i;
            size = std::abs(t.reached - t.target);
        }
    }
    return largest;
}

int OrvaneFitSummary::boundReached(const Parameter& p)
{
    const bool bothFinite = std::isfinite(p.lower) && std::isfinite(p.upper);
    const double margin = bothFinite ? boundTolerance * (p.upper - p.lower) : 0.0;
    if (std::isfinite(p.lower) && p.value - p.lower <= margin)
        return -1;
    if (std::isfinite(p.upper) && p.upper - p.value <= margin)
        return 1;
    return 0;
}

QStringList OrvaneFitSummary::missedTargets() const
{
    QStringList names;
    for (const Target& t : targets) {
        if (missed(t))
            names << t.name;
    }
    return names;
}

QStringList OrvaneFitSummary::parametersAtBounds() const
{
    QStringList names;
    for (const Parameter& p : parameters) {
        const int side = boundReached(p);
        if (side < 0)
            names << QStringLiteral("%1 (lower bound %2)").arg(p.name, number(p.lower));
        else if (side > 0)
            names << QStringLiteral("%1 (upper bound %2)").arg(p.name, number(p.upper));
    }
    return names;
}

QString OrvaneFitSummary::number(const double& value)
{
    return QString::number(value, 'g', 6);
}

QString OrvaneFitSummary::withUnit(const double& value, const QString& unit)
{
    // One blank between a number and its unit, however the unit was given.
    const QString trimmed = unit.trimmed();
    return trimmed.isEmpty() ? number(value) : number(value) + QLatin1Char(' ') + trimmed;
}

QString OrvaneFitSummary::targetLine(const Target& t) const
{
    const QString target = QStringLiteral("%1: target %2").arg(t.name, withUnit(t.target, unit));
    if (!std::isfinite(t.reached))
        return target + QStringLiteral(", no value reached by the fit");
    const QString reached = QStringLiteral(", reached %1").arg(withUnit(t.reached, unit));
    if (judgedInUnits)
        return target + reached + QStringLiteral(", deviation %1").arg(withUnit(t.reached - t.target, unit));
    if (t.target == 0.0)
        return target + reached
            + QStringLiteral(", deviation %1 (no relative deviation: the target is 0)")
                  .arg(withUnit(std::abs(t.reached), unit));
    return target + reached
        + QStringLiteral(", relative deviation %1 %").arg(relativeDeviation(t.target, t.reached) * 100.0, 0, 'f', 1);
}

QStringList OrvaneFitSummary::sentences() const
{
    QStringList out;
    if (judgedInUnits) {
        const int largest = largestDeviation();
        if (largest >= 0) {
            const Target& t = targets.at(largest);
            out << QStringLiteral("RMS deviation %1 over %2 targets; largest deviation %3 at %4.")
                       .arg(withUnit(rmsDeviation(), unit))
                       .arg(reachedCount())
                       .arg(withUnit(t.reached - t.target, unit), t.name);
        }
        if (!parameters.isEmpty()) {
            QStringList values;
            for (const Parameter& p : parameters)
                values << QStringLiteral("%1 = %2").arg(p.name, withUnit(p.value, p.unit));
            out << QStringLiteral("Fitted parameters: %1.").arg(values.join(QStringLiteral(", ")));
        }
    }
    const QString threshold = judgedInUnits ? withUnit(missThreshold, unit)
                                            : QStringLiteral("%1 %").arg(missTolerance * 100.0, 0, 'g', 3);
    QStringList missedNames;
    for (const Target& t : targets) {
        if (!missed(t))
            continue;
        // In units each miss says by how much: the threshold alone would hide a miss of 1500 cm-1.
        missedNames << (judgedInUnits && std::isfinite(t.reached)
                            ? QStringLiteral("%1 (deviation %2)").arg(t.name, withUnit(t.reached - t.target, unit))
                            : t.name);
    }
    if (!missedNames.isEmpty())
        out << QStringLiteral("Targets missed by more than %1: %2.")
                   .arg(threshold, missedNames.join(QStringLiteral(", ")));
    else if (judgedInUnits && !targets.isEmpty())
        out << QStringLiteral("No target is missed by more than %1.").arg(threshold);
    const QStringList atBounds = parametersAtBounds();
    if (!atBounds.isEmpty())
        out << QStringLiteral("Parameters that ended at a bound of the fit: %1.")
                   .arg(atBounds.join(QStringLiteral(", ")));
    if (!missedNames.isEmpty()) {
        // Only a parameter held at a bound tells that the bounds stand in the
        // way; a best point well inside them means the search stopped short.
        if (!atBounds.isEmpty())
            out << QStringLiteral("The model may not reach these targets within its bounds.");
        else
            out << QStringLiteral("The search ended before reaching these targets, with no parameter at a bound "
                                  "of the fit: more annealing steps or other start values may help.");
    }
    return out;
}

QString OrvaneFitSummary::text() const
{
    QStringList lines;
    for (const Target& t : targets)
        lines << targetLine(t);
    lines << sentences();
    return lines.join(QLatin1Char('\n'));
}

QString OrvaneFitSummary::statusLine() const
{
    QStringList parts;
    for (const Target& t : targets)
        parts << targetLine(t);
    QString line = parts.join(QStringLiteral("; "));
    const QString closing = sentences().join(QLatin1Char(' '));
    if (!closing.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(". ")) + closing;
    return line;
}

QString OrvaneFitSummary::reportSection(const QString& heading) const
{
    const QString rule(qMax(heading.size() + 2, 54), QLatin1Char('-'));
    QString out = rule + QLatin1Char('\n') + QLatin1Char(' ') + heading + QLatin1Char('\n') + rule + QStringLiteral("\n\n");
    for (const QString& line : text().split(QLatin1Char('\n')))
        out += QLatin1Char(' ') + line + QLatin1Char('\n');
    return out + QLatin1Char('\n');
}
