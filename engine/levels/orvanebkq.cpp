#include "orvanebkq.h"

#include "orvaneeu3model.h"
#include "orvanetextreader.h"
#include "sphericalharmonic.h"

#include <algorithm>
#include <cmath>

namespace Eu3 = OrvaneEu3Model;

OrvaneBkq::OrvaneBkq(const QString& fileName, const int& coordNumber)
    : pi(Eu3::fourPi / 4.0)
    , electronCharge(Eu3::elementaryCharge)
    , bohrRadius(Eu3::bohrRadius)
    , fileName(fileName)
    , coordNumber(std::max(coordNumber, 0))
    , capacity(std::max(coordNumber, 0))
{
    for (int k = 2; k <= 8; k += 2)
        radialIntegral[k] = Eu3::radialIntegral(k);
    readMopFile();
    ro.assign(std::size_t(capacity) + 2, 0.0);
    beta.assign(std::size_t(capacity) + 2, 0.0);
    rMin = 100.0;
    for (int i = 1; i <= capacity && i < coordSPH.size(); ++i) {
        // A ligand on the ion has no direction: it takes no part.
        if (coordSPH.at(i).r > 0.0)
            rMin = std::min(rMin, coordSPH.at(i).r);
    }
    calculateRO(defaultRO0);
}

void OrvaneBkq::readMopFile()
{
    coord.clear();
    coordSPH.clear();
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen())
        return;
    // Keyword line, title and comment; the Cartesian layout follows.
    if (!reader.skipLines(3))
        return;
    QString line;
    while (coord.size() < capacity + 1 && reader.readLine(line)) {
        if (OrvaneText::isBlank(line))
            break;
        const QStringList fields = OrvaneText::splitFields(line);
        Coord atom;
        atom.label = OrvaneText::field(fields, 1);
        atom.x = OrvaneText::numberField(fields, 2);
        atom.y = OrvaneText::numberField(fields, 4);
        atom.z = OrvaneText::numberField(fields, 6);
        coord.append(atom);
    }
    convertToSPH(coord.size());
}

void OrvaneBkq::convertToSPH(const int& n)
{
    if (coord.isEmpty())
        return;
    const Coord& origin = coord.at(0);
    for (int j = 0; j < n && j < coord.size(); ++j) {
        const Coord& atom = coord.at(j);
        CoordSPH position = sphericalPosition(atom.x - origin.x, atom.y - origin.y, atom.z - origin.z);
        position.label = atom.label;
        coordSPH.append(position);
    }
}

void OrvaneBkq::calculateRO(const double& scale)
{
    ro0 = scale;
    for (int i = 1; i <= capacity; ++i) {
        ro[std::size_t(i)] = 0.0;
        beta[std::size_t(i)] = 0.0;
        if (i >= coordSPH.size() || !(coordSPH.at(i).r > 0.0))
            continue;
        const double overlap = ro0 * std::pow(rMin / coordSPH.at(i).r, 3.5);
        ro[std::size_t(i)] = overlap;
        const QString& label = coordSPH.at(i).label;
        if (label == QLatin1String("O"))
            beta[std::size_t(i)] = 1.0 / (1.0 + overlap);
        else if (label == QLatin1String("N") || label == QLatin1String("Cl") || label == QLatin1String("F"))
            beta[std::size_t(i)] = 1.0 / (1.0 - overlap);
    }
}

void OrvaneBkq::setChargeFactor(double*& g)
{
    chargeFactor = g;
}

double OrvaneBkq::getChargeFactor(const int& i) const
{
    return chargeFactor && i >= 1 && i <= capacity ? chargeFactor[i] : 0.0;
}

void OrvaneBkq::setCoordNumber(const int& n)
{
    coordNumber = std::clamp(n, 0, capacity);
}

QString OrvaneBkq::getAtomLabel(const int& i) const
{
    return i >= 0 && i < coord.size() ? coord.at(i).label : QString();
}

double OrvaneBkq::getRo(const int& i) const
{
    return i >= 1 && i <= capacity ? ro[std::size_t(i)] : 0.0;
}

double OrvaneBkq::getBeta(const int& i) const
{
    return i >= 1 && i <= capacity ? beta[std::size_t(i)] : 0.0;
}

CoordSPH OrvaneBkq::getCoordSPH(const int& i) const
{
    return i >= 0 && i < coordSPH.size() ? coordSPH.at(i) : CoordSPH();
}

MyComplex OrvaneBkq::getBkq(const int& k, const int& q, const int& i) const
{
    MyComplex result;
    if (!chargeFactor || i < 1 || i > coordNumber || i >= coordSPH.size() || k < 0 || k > 8)
        return result;
    const CoordSPH& position = coordSPH.at(i);
    if (!(position.r > 0.0) || beta[std::size_t(i)] == 0.0)
        return result;
    const MyComplex y = signedOrderHarmonic(position, k, q);
    const double R = position.r * Eu3::angstromToCm;
    const double A = std::sqrt(4.0 * pi / (2 * k + 1)) * electronCharge * electronCharge * Eu3::ergToWavenumber;
    const double M = radialIntegral[k] * ro[std::size_t(i)] * std::pow(2.0 * beta[std::size_t(i)], k + 1)
        * chargeFactor[i] / std::pow(R, k + 1);
    result.re = M * A * y.re;
    result.im = -(M * A * y.im);
    return result;
}

MyComplex OrvaneBkq::getBkq(const int& k, const int& q) const
{
    MyComplex sum;
    for (int i = 1; i <= coordNumber; ++i) {
        const MyComplex term = getBkq(k, q, i);
        sum.re += term.re;
        sum.im += term.im;
    }
    return sum;
}
