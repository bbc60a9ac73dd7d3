#include "orvaneindicescalculation.h"

#include "orvaneeu3model.h"
#include "orvanetextreader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int maxColumns = 8; // orbitals side by side in one block of the eigenvector listing
const QString unreadableOutput = QStringLiteral("ORVANE could not read Mopac Output File - Indices Calculation");
const QString noEigenvectors = QStringLiteral(
    "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nProbably, you have forgetten to add the "
    "ALLVEC keyword in the MOPAC input file.");

// A marker on the last line counts as missing: everything wanted comes after it.
bool skipTo(OrvaneLineReader& reader, const QLatin1String& marker, QString& line)
{
    return reader.readUpTo(marker, line) && !reader.atEnd();
}

} // namespace

OrvaneIndicesCalculation::OrvaneIndicesCalculation(QObject* parent, const QString& mopacOutputFile,
    const int& coordNumber)
    : OrvaneAbstractObjCalculation(parent)
    , fileName(mopacOutputFile)
    , coordNumber(coordNumber)
{
}

OrvaneIndicesCalculation::~OrvaneIndicesCalculation() = default;

double OrvaneIndicesCalculation::getAtomicCharge(const int& i) const
{
    return atomicCharge.value(i, 0.0);
}

double OrvaneIndicesCalculation::getSuperDeslocalizability(const int& i) const
{
    return superDeslocalizability.value(i, 0.0);
}

double OrvaneIndicesCalculation::getMinimumSuperDeslocalizability() const
{
    double minimum = 1.0;
    for (double value : superDeslocalizability)
        minimum = std::min(minimum, value);
    return minimum;
}

QString OrvaneIndicesCalculation::getAtomicOrbital(const int& j)
{
    switch (j) {
    case 0:
        return QStringLiteral("S");
    case 1:
        return QStringLiteral("Px");
    case 2:
        return QStringLiteral("Py");
    default:
        return QStringLiteral("Pz");
    }
}

bool OrvaneIndicesCalculation::coeff(const int& k, const int& atom, const QString& label, float& value) const
{
    const MolecularOrbitalVEC& orbital = molecularOrbitals.at(k);
    for (int row = 0; row < orbital.atoms.size(); ++row) {
        if (orbital.atoms.at(row) == atom && orbital.labels.at(row) == label) {
            value = orbital.coefficients.at(row);
            return true;
        }
    }
    return false;
}

bool OrvaneIndicesCalculation::readMopacOutputFile()
{
    // Checked before anything is read or counted: atom numbers past the
    // donors the ion can hold would overflow the loops over them.
    if (coordNumber < 0 || coordNumber > OrvaneEu3Model::maxCoordNumber) {
        lastError = QStringLiteral("The coordination number %1 is outside the range 0 to %2.")
                        .arg(coordNumber)
                        .arg(OrvaneEu3Model::maxCoordNumber);
        return false;
    }
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(QStringLiteral("Cannot find the file ") + fileName);
        return false;
    }

    QString line;
    if (!skipTo(reader, QLatin1String("CARTESIAN COORDINATES "), line)) {
        lastError = unreadableOutput;
        return false;
    }
    reader.skipLines(3);
    atomLabels = QStringList{QString()};
    while (reader.readLine(line)) {
        line = line.simplified();
        if (line.isEmpty())
            break;
        atomLabels.append(OrvaneText::field(OrvaneText::splitFields(line), 2).simplified());
    }
    atomsNumber = coordNumber + 1;
    molecularOrbitals.clear();

    if (!skipTo(reader, QLatin1String("RHF CALCULATION"), line)) {
        lastError = unreadableOutput;
        return false;
    }
    occupiedLevels = OrvaneText::toInteger(line.split(QLatin1Char('='), Qt::SkipEmptyParts).value(1));

    if (!skipTo(reader, QLatin1String("EIGENVECTORS"), line)) {
        lastError = noEigenvectors;
        return false;
    }
    const QString truncated = QStringLiteral(
        "ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nThe eigenvector listing ends before "
        "NET ATOMIC CHARGES or SUPERDELOCALIZABILITIES: the file is incomplete. \n") + fileName;
    if (!reader.skipLines(3)) {
        lastError = truncated;
        return false;
    }

    // Blocks of up to eight orbitals side by side: "Root No." line (already
    // read), blank, symmetry labels, blank, eigenvalues, blank, then one row
    // per basis function: label, element, atom number, coefficients.
    for (;;) {
        if (!reader.skipLines(3) || !reader.readLine(line)) {
            lastError = truncated;
            return false;
        }
        const QStringList eigenvalues = OrvaneText::splitFields(line);
        const int columns = eigenvalues.size();
        // MOPAC prints at most eight orbitals side by side; a wider line is
        // no eigenvalue line, and every orbital of it would be kept.
        if (columns > maxColumns) {
            lastError = QStringLiteral("ORVANE could not read EIGENVECTOR from the MOPAC Output File. \nA block of "
                                       "the eigenvector listing holds %1 orbitals; MOPAC prints at most %2. \n")
                            .arg(columns)
                            .arg(maxColumns)
                + fileName;
            return false;
        }
        QVector<MolecularOrbitalVEC> block(columns);
        for (int q = 0; q < columns; ++q)
            block[q].eigenvalue = static_cast<float>(OrvaneText::toNumber(eigenvalues.at(q)));
        if (!reader.skipLines(1)) {
            lastError = truncated;
            return false;
        }

        bool endOfListing = false;
        for (;;) {
            if (!reader.readLine(line)) {
                lastError = truncated;
                return false;
            }
            if (line.trimmed().isEmpty())
                continue;
            if (line.contains(QLatin1String("Root No.")))
                break;
            if (line.contains(QLatin1String("NET ATOMIC CHARGES"))
                || line.contains(QLatin1String("SUPERDELOCALIZABILITIES"))) {
                endOfListing = true;
                break;
            }
            const QStringList pieces = OrvaneText::splitFields(line);
            if (pieces.size() != columns + 3)
                continue;
            const int atom = OrvaneText::toInteger(pieces.at(2));
            for (int q = 0; q < columns; ++q) {
                block[q].atoms.append(atom);
                block[q].labels.append(pieces.at(0));
                block[q].coefficients.append(static_cast<float>(OrvaneText::toNumber(pieces.at(3 + q))));
            }
        }
        molecularOrbitals += block;
        if (endOfListing)
            break;
    }
    return true;
}

bool OrvaneIndicesCalculation::calculateIndices()
{
    if (!readMopacOutputFile())
        return false;

    const int lastAtom = coordNumber + 1;
    if (lastAtom >= atomLabels.size()) {
        lastError = QStringLiteral("The MOPAC output lists %1 atoms, fewer than the lanthanide ion and its %2 "
                                   "coordinating atoms: \n")
                        .arg(atomLabels.size() - 1)
                        .arg(coordNumber)
            + fileName;
        return false;
    }
    if (occupiedLevels > molecularOrbitals.size()) {
        lastError = QStringLiteral("The eigenvector listing holds %1 molecular orbitals, fewer than the %2 doubly "
                                   "occupied levels: \n")
                        .arg(molecularOrbitals.size())
                        .arg(occupiedLevels)
            + fileName;
        return false;
    }

    const QString functionLabels[4] = {getAtomicOrbital(0), getAtomicOrbital(1), getAtomicOrbital(2),
        getAtomicOrbital(3)};
    QVector<double> charges{0.0, 0.0};
    QVector<double> superdelocalizabilities{0.0, 0.0};
    for (int atom = 2; atom <= lastAtom; ++atom) {
        const int functions = atomLabels.at(atom) == QLatin1String("H") ? 1 : 4;
        float chargeSum = 0.0f;
        float superSum = 0.0f;
        for (int k = 0; k < occupiedLevels; ++k) {
            float c[4];
            for (int mu = 0; mu < functions; ++mu) {
                if (!coeff(k, atom, functionLabels[mu], c[mu])) {
                    lastError = QStringLiteral("The eigenvector listing has no %1 coefficient of atom %2 (%3) in "
                                               "molecular orbital %4: \n")
                                    .arg(functionLabels[mu])
                                    .arg(atom)
                                    .arg(atomLabels.at(atom))
                                    .arg(k + 1)
                        + fileName;
                    return false;
                }
            }
            const float eigenvalue = molecularOrbitals.at(k).eigenvalue;
            if (eigenvalue == 0.0f) {
                lastError = QStringLiteral("The molecular orbital %1 has a zero eigenvalue: \n").arg(k + 1) + fileName;
                return false;
            }
            float pairs = 0.0f;
            for (int mu = 0; mu < functions; ++mu) {
                chargeSum += c[mu] * c[mu];
                for (int nu = 0; nu < functions; ++nu)
                    pairs += c[mu] * c[nu];
            }
            superSum += pairs / eigenvalue;
        }
        // Coefficients beyond the range of a float (no listing prints
        // such) overflow the sums: refuse them rather than pass on inf or NaN.
        if (!std::isfinite(2.0f * chargeSum) || !std::isfinite(2.0f * superSum)) {
            lastError = QStringLiteral("The indices of atom %1 (%2) are not finite: the eigenvector listing holds "
                                       "coefficients or eigenvalues out of range: \n")
                            .arg(atom)
                            .arg(atomLabels.at(atom))
                + fileName;
            return false;
        }
        charges.append(static_cast<double>(2.0f * chargeSum));
        superdelocalizabilities.append(static_cast<double>(2.0f * superSum));
    }
    atomicCharge = charges;
    superDeslocalizability = superdelocalizabilities;
    return true;
}
