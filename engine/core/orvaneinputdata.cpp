#include "orvaneinputdata.h"

#include "orvaneelementtables.h"
#include "orvanetextreader.h"
#include "sphericalharmonic.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int bannerWidth = 107;

QString bannerLine(int indent, const QString& text)
{
    QString line = QString(indent, QLatin1Char(' ')) + text;
    line.truncate(bannerWidth);
    return line.leftJustified(bannerWidth, QLatin1Char(' ')) + QLatin1Char('\n');
}

QString buildBanner()
{
    const QString stars = bannerLine(16, QString(91, QLatin1Char('*')));
    const QString blank = bannerLine(0, QString());
    return stars + blank
        + bannerLine(37, QStringLiteral("ORVANE - Lanthanide Luminescence Software - version 1.4.1"))
        + blank
        + bannerLine(18, QStringLiteral("Cite this work as: The ORVANE developers,"))
        + bannerLine(37, QStringLiteral("ORVANE: theoretical lanthanide luminescence package"))
        + bannerLine(37, QStringLiteral("README.md of the ORVANE source distribution, 2026, version 1.4.1"))
        + bannerLine(37, QStringLiteral("See README.md in the ORVANE sources"))
        + bannerLine(37, QStringLiteral("DOI: none (cite the README)"))
        + blank + stars;
}

template <typename T>
T elementOrDefault(const QVector<T>& list, int index)
{
    return (index >= 0 && index < list.size()) ? list.at(index) : T();
}

// Coordinates near the largest double overflow the distance: the first
// spherical entry (from 1) that is not finite, 0 when all are.
int firstNonFiniteSpherical(const QVector<CoordSPH>& points)
{
    for (int i = 0; i < points.size(); ++i) {
        const CoordSPH& p = points.at(i);
        if (!std::isfinite(p.r) || !std::isfinite(p.theta) || !std::isfinite(p.phi))
            return i + 1;
    }
    return 0;
}

bool isCoordinating(const QString& label, double r)
{
    if (label == QLatin1String("O") || label == QLatin1String("N"))
        return r < 2.65;
    if (label == QLatin1String("Cl") || label == QLatin1String("S"))
        return r < 2.9;
    if (label == QLatin1String("I"))
        return r < 3.0;
    return false;
}

const QString emptyCoordinatesMessage = QStringLiteral(
    "\nThe vector of cartesian coordinates empty. This way, firstly, it is necessary to use a "
    "specific function to read the desired file. \n");
const QString sphericalDoneMessage = QStringLiteral(
    "Cartesian coordinates were successfully converted to spherical coordinates. \n");

} // namespace

const QString OrvaneInputData::ORVANETitle = buildBanner();
const QString OrvaneInputData::lanthanideList[15] = {
    QStringLiteral("La"), QStringLiteral("Ce"), QStringLiteral("Pr"), QStringLiteral("Nd"),
    QStringLiteral("Pm"), QStringLiteral("Sm"), QStringLiteral("Eu"), QStringLiteral("Gd"),
    QStringLiteral("Tb"), QStringLiteral("Dy"), QStringLiteral("Ho"), QStringLiteral("Er"),
    QStringLiteral("Tm"), QStringLiteral("Yb"), QStringLiteral("Lu")};

OrvaneInputData::OrvaneInputData(QObject* parent, const QString& fileName)
    : OrvaneAbstractObjCalculation(parent)
    , fileName(fileName)
{
}

OrvaneInputData::~OrvaneInputData() = default;

void OrvaneInputData::reportProgress(const QString& message)
{
    emitProgress(QString::fromLatin1(moduleName), message);
}

QString OrvaneInputData::getAtomLabel(const int& i) const { return elementOrDefault(coord, i - 1).label; }
Coord OrvaneInputData::getCoord(const int& i) const { return elementOrDefault(coord, i - 1); }
CoordSPH OrvaneInputData::getCoordSPH(const int& i) const { return elementOrDefault(coordSPH, i - 1); }
CoordZMT OrvaneInputData::getCoordZMT(const int& i) const { return elementOrDefault(coordZMT, i - 1); }
double OrvaneInputData::getSingletEnergy(const int& i) const
{
    return elementOrDefault(singletExcitateStateVector, i - 1).energy;
}
double OrvaneInputData::getTripletEnergy(const int& i) const
{
    return elementOrDefault(tripletExcitateStateVector, i - 1).energy;
}
ExcitateState OrvaneInputData::getSingletExcitateStateVector(const int& i) const
{
    return elementOrDefault(singletExcitateStateVector, i);
}
ExcitateState OrvaneInputData::getTripletExcitateStateVector(const int& i) const
{
    return elementOrDefault(tripletExcitateStateVector, i);
}
double OrvaneInputData::getAtomicCharges(const int& i) const { return elementOrDefault(atomicCharges, i); }
double OrvaneInputData::getForceConstant(const int& i) const { return elementOrDefault(forceConstant, i); }
double OrvaneInputData::getEnergyVector(const int& i) const { return elementOrDefault(energyVector, i); }
double OrvaneInputData::getOscForceVector(const int& i) const { return elementOrDefault(oscForceVector, i); }
MolecularOrbitalOCC OrvaneInputData::getMolecularOrbital(const int& i) const
{
    return elementOrDefault(molecularOrbital, i);
}
MolecularOrbital OrvaneInputData::getMolecularOrbitalVector(const int& i) const
{
    return elementOrDefault(molecularOrbitalVector, i);
}

Coord OrvaneInputData::calcCenterOfMass(const QVector<Coord>& atoms)
{
    // An atom whose label is in no row weighs as the nearest earlier atom that
    // had one; a leading unknown atom weighs 1 so that the sum never vanishes.
    double currentMass = 1.0;
    double sumX = 0.0, sumY = 0.0, sumZ = 0.0, sumMass = 0.0;
    for (const Coord& atom : atoms) {
        double mass = 0.0;
        if (OrvaneElements::massOfSymbol(atom.label, mass))
            currentMass = mass;
        sumX += currentMass * atom.x;
        sumY += currentMass * atom.y;
        sumZ += currentMass * atom.z;
        sumMass += currentMass;
    }
    Coord centre;
    if (sumMass > 0.0) {
        centre.x = sumX / sumMass;
        centre.y = sumY / sumMass;
        centre.z = sumZ / sumMass;
    }
    return centre;
}

bool OrvaneInputData::checkTypeMopFile(const QString& mopFile)
{
    OrvaneLineReader reader(mopFile);
    if (!reader.isOpen())
        return true;
    QString line;
    for (int i = 0; i < 5; ++i)
        if (!reader.readLine(line))
            return true;
    return OrvaneText::splitFields(line).size() != 10;
}

bool OrvaneInputData::refuseNonFiniteSpherical()
{
    const int bad = firstNonFiniteSpherical(coordSPH);
    if (bad == 0)
        return true;
    lastError += QStringLiteral("\nThe spherical coordinates of entry %1 are not finite numbers: the Cartesian "
                                "coordinates are too large. \n")
                     .arg(bad)
        + fileName;
    coordSPH.clear();
    return false;
}

bool OrvaneInputData::createSphericalCoordinate()
{
    if (coord.isEmpty()) {
        lastError += emptyCoordinatesMessage + fileName;
        return false;
    }
    // Rebuilt from scratch so that a second call does not pair atoms with stale entries.
    coordSPH.clear();
    coordSPH.reserve(coord.size());
    const Coord& origin = coord.first();
    for (const Coord& atom : qAsConst(coord))
        coordSPH.append(sphericalPosition(atom.x - origin.x, atom.y - origin.y, atom.z - origin.z));
    if (!refuseNonFiniteSpherical())
        return false;

    coordNumber = 0;
    for (int i = 0; i < coordSPH.size(); ++i)
        if (isCoordinating(coord.at(i).label, coordSPH.at(i).r))
            ++coordNumber;

    reportProgress(sphericalDoneMessage + fileName);
    return true;
}

bool OrvaneInputData::createSphericalCoordinate(const int& n, const int& mode)
{
    if (coord.isEmpty()) {
        lastError += emptyCoordinatesMessage + fileName;
        return false;
    }

    // Checked before any list is built: no group reaches past twice the
    // count, and a count past the atoms would build lists without end.
    const int atomCount = coord.size();
    if (n < 1 || n > atomCount) {
        lastError += QStringLiteral("\nThe molecule has %1 atoms; %2 atoms per centre cannot be placed. \n")
                         .arg(atomCount)
                         .arg(n)
            + fileName;
        return false;
    }

    struct Group {
        int centre;
        QVector<int> members; // atom numbers from 1
    };
    auto range = [](int first, int last, int except = 0) {
        QVector<int> members;
        for (int a = first; a <= last; ++a)
            if (a != except)
                members.append(a);
        return members;
    };

    QVector<Group> groups;
    switch (mode) {
    case 1:
        groups = {{1, range(2, n)}};
        break;
    case 2:
        groups = {{1, range(2, n)}, {n + 1, range(n + 2, 2 * n)}};
        break;
    case 3:
        groups = {{1, range(2, n + 1, n - 1)}, {n - 1, range(n, 2 * n - 2)}};
        break;
    case 4:
        groups = {{1, range(2, n + 1, n)}, {n, range(n + 1, 2 * n - 1)}};
        break;
    default:
        break;
    }

    // Atom numbers past the Cartesian list would read outside it: refuse them.
    for (const Group& group : qAsConst(groups)) {
        bool inside = group.centre >= 1 && group.centre <= atomCount;
        for (int member : group.members)
            inside = inside && member >= 1 && member <= atomCount;
        if (!inside) {
            lastError += QStringLiteral("\nThe molecule has %1 atoms, fewer than the centres and ligands asked for. \n")
                             .arg(atomCount)
                + fileName;
            return false;
        }
    }

    coordSPH.clear();
    for (const Group& group : qAsConst(groups)) {
        const Coord& centre = coord.at(group.centre - 1);
        for (int member : group.members) {
            const Coord& atom = coord.at(member - 1);
            coordSPH.append(sphericalPosition(atom.x - centre.x, atom.y - centre.y, atom.z - centre.z));
        }
    }
    if (!refuseNonFiniteSpherical())
        return false;

    reportProgress(sphericalDoneMessage + fileName);
    return true;
}
