#include "orvanefitsummary.h"

#include <cmath>
#include <limits>

OrvaneFitSummary::OrvaneFitSummary(const QString& unit)
    : unit(unit)
{
}

void OrvaneFitSummary::addTarget(const QString& name, const double& target, const double& reached)
{
    targets.append(Target {name, target, reached});
}

void OrvaneFitSummary::addParameter(const QString& name, const double& value, const double& lower,
    const double& upper)
{
    parameters.append(Parameter {name, value, lower, upper});
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
        if (isMissed(t))
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

QString OrvaneFitSummary::targetLine(const Target& t) const
{
    const QString target = QStringLiteral("%1: target %2%3").arg(t.name, number(t.target), unit);
    if (!std::isfinite(t.reached))
        return target + QStringLiteral(", no value reached by the fit");
    const QString reached = QStringLiteral(", reached %1%2").arg(number(t.reached), unit);
    if (t.target == 0.0)
        return target + reached
            + QStringLiteral(", deviation %1%2 (no relative deviation: the target is 0)")
                  .arg(number(std::abs(t.reached)), unit);
    return target + reached
        + QStringLiteral(", relative deviation %1 %").arg(relativeDeviation(t.target, t.reached) * 100.0, 0, 'f', 1);
}

QString OrvaneFitSummary::warnings(const QString& separator) const
{
    QStringList sentences;
    const QStringList missed = missedTargets();
    if (!missed.isEmpty())
        sentences << QStringLiteral("Targets missed by more than %1 %: %2.")
                         .arg(missTolerance * 100.0, 0, 'g', 3)
                         .arg(missed.join(QStringLiteral(", ")));
    const QStringList atBounds = parametersAtBounds();
    if (!atBounds.isEmpty())
        sentences << QStringLiteral("Parameters that ended at a bound of the fit: %1.")
                         .arg(atBounds.join(QStringLiteral(", ")));
    if (!missed.isEmpty())
        sentences << QStringLiteral("The model may not reach these targets within its bounds.");
    return sentences.join(separator);
}

QString OrvaneFitSummary::text() const
{
    QStringList lines;
    for (const Target& t : targets)
        lines << targetLine(t);
    const QString warningText = warnings(QStringLiteral("\n"));
    if (!warningText.isEmpty())
        lines << warningText;
    return lines.join(QLatin1Char('\n'));
}

QString OrvaneFitSummary::statusLine() const
{
    QStringList parts;
    for (const Target& t : targets)
        parts << targetLine(t);
    QString line = parts.join(QStringLiteral("; "));
    const QString warningText = warnings(QStringLiteral(" "));
    if (!warningText.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(". ")) + warningText;
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
