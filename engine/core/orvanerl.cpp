#include "orvanerl.h"

#include "orvanefixedcolumns.h"
#include "orvanereportfile.h"

#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

bool isEuropiumLabel(const QString& label)
{
    return label.compare(QLatin1String("Eu"), Qt::CaseInsensitive) == 0;
}

} // namespace

OrvaneRL::OrvaneRL(QObject* parent, const QString& file)
    : OrvaneAbstractObjCalculation(parent)
    , fileName(file)
    , inputData(new OrvaneInputData(nullptr, file))
{
}

OrvaneRL::~OrvaneRL()
{
    delete inputData;
}

int OrvaneRL::getStatesNumber() const
{
    return tripletRL.size();
}

// Reads the file and places the ion: (x, y, z) in Angstrom, and the 0-based
// index of the ion among the atoms (-1 when the ion is a point charge).
bool OrvaneRL::readMolecule(double& x, double& y, double& z, int& ionIndex)
{
    ionIndex = -1;
    bool read = false;
    switch (program) {
    case Zindo:
        read = inputData->readCoordFromZindoOutFile() && inputData->readOutputZindo();
        if (read)
            ionIndex = inputData->coord.isEmpty() ? -1 : 0;
        break;
    case Orca:
        read = inputData->readCoordFromOrcaOutFile() && inputData->readOutputOrca();
        if (read && !inputData->isOrcaTDDFT) {
            // The semi-empirical run replaces the ion by a point charge.
            if (!inputData->readChargePointFileOrca(x, y, z))
                read = false;
            else
                return true;
        } else if (read) {
            for (int a = 0; a < inputData->coord.size() && ionIndex < 0; ++a)
                if (inputData->coord.at(a).label.toUpper() == QLatin1String("EU"))
                    ionIndex = a;
        }
        break;
    case Gaussian:
        read = inputData->readOutputGaussian();
        for (int a = 0; read && a < inputData->coord.size() && ionIndex < 0; ++a)
            if (inputData->coord.at(a).label == QLatin1String("Eu"))
                ionIndex = a;
        break;
    default:
        lastError = QStringLiteral("Unknown excited-state program %1 (0 ZINDO, 1 ORCA, 2 Gaussian) for the file: \n")
                        .arg(program)
            + fileName;
        return false;
    }
    if (!read) {
        lastError = inputData->getLastError();
        return false;
    }
    if (ionIndex < 0) {
        lastError = QStringLiteral("ORVANE could not find the Eu ion among the atoms of the file: \n") + fileName;
        return false;
    }
    const Coord& ion = inputData->coord.at(ionIndex);
    x = ion.x;
    y = ion.y;
    z = ion.z;
    return true;
}

bool OrvaneRL::calcRL(const int& program)
{
    this->program = program;
    double x = 0.0, y = 0.0, z = 0.0;
    int ionIndex = -1;
    if (!readMolecule(x, y, z, ionIndex))
        return false;
    selExcitateState = inputData->selExcitateState;

    // ZINDO and Gaussian number atoms from 1, ORCA from 0: a leading entry lets
    // every program's atom number index the list directly.
    QVector<double> distances;
    const QVector<Coord>& atoms = inputData->coord;
    distances.reserve(atoms.size() + 1);
    if (program != Orca)
        distances.append(0.0);
    minDistanceLnLigand = 1000.0;
    for (int a = 0; a < atoms.size(); ++a) {
        const Coord& atom = atoms.at(a);
        const double d = std::sqrt((atom.x - x) * (atom.x - x) + (atom.y - y) * (atom.y - y)
                                   + (atom.z - z) * (atom.z - z));
        distances.append(d);
        // The ion is known by its place, whatever its label; other Eu centres are no ligands.
        if (a != ionIndex && !isEuropiumLabel(atom.label) && d < minDistanceLnLigand)
            minDistanceLnLigand = d;
    }

    return appendRL(inputData->singletExcitateStateVector, distances, QStringLiteral("singlet"), singletRL)
        && appendRL(inputData->tripletExcitateStateVector, distances, QStringLiteral("triplet"), tripletRL);
}

bool OrvaneRL::appendRL(const QVector<ExcitateState>& states, const QVector<double>& distances, const QString& kind,
                        QVector<double>& rl)
{
    const QVector<MolecularOrbital>& orbitals = inputData->molecularOrbitalVector;
    // ORCA numbers orbitals from 0, ZINDO and Gaussian from 1.
    const int orbitalOffset = program == Orca ? 0 : 1;

    // The sums over an orbital's basis functions, made once per orbital: a
    // state may reach the same orbital many times, and summing anew would
    // make the work grow with transitions times functions.
    struct OrbitalSums {
        bool done = false;
        bool bad = false; // names an atom the file does not hold
        int badAtom = 0;
        double sum = 0.0;
        double weighted = 0.0;
    };
    QVector<OrbitalSums> sums(orbitals.size());
    auto sumsOf = [&](int index) -> const OrbitalSums& {
        OrbitalSums& s = sums[index];
        if (s.done)
            return s;
        s.done = true;
        const MolecularOrbital& orbital = orbitals.at(index);
        const int functions = std::min(orbital.coefficients.size(), orbital.atoms.size());
        for (int k = 0; k < functions; ++k) {
            const int atom = orbital.atoms.at(k);
            if (atom < 0 || atom >= distances.size()) {
                s.bad = true;
                s.badAtom = atom;
                break;
            }
            const double c2 = orbital.coefficients.at(k) * orbital.coefficients.at(k);
            s.sum += c2;
            s.weighted += c2 * distances.at(atom);
        }
        return s;
    };

    rl.reserve(rl.size() + states.size() + 1);
    rl.append(0.0);
    for (int s = 0; s < states.size(); ++s) {
        double sum = 0.0;
        double weighted = 0.0;
        for (int number : states.at(s).orbitals) {
            if (number == 0)
                continue;
            const int index = number - orbitalOffset;
            if (index < 0 || index >= orbitals.size()) {
                lastError = QStringLiteral("The %1 state %2 reaches the molecular orbital %3, but only %4 molecular "
                                           "orbitals were read from the file: \n")
                                .arg(kind)
                                .arg(s + 1)
                                .arg(number)
                                .arg(orbitals.size())
                    + fileName;
                return false;
            }
            const OrbitalSums& orbital = sumsOf(index);
            if (orbital.bad) {
                lastError = QStringLiteral("The molecular orbital %1 names the atom %2, which the file does not "
                                           "hold: \n")
                                .arg(number)
                                .arg(orbital.badAtom)
                    + fileName;
                return false;
            }
            sum += orbital.sum;
            weighted += orbital.weighted;
        }
        rl.append(sum != 0.0 ? weighted / sum : 0.0);
    }
    return true;
}

bool OrvaneRL::createOutput(const QString& file)
{
    lastError.clear();
    const int s = selExcitateState;
    // The lowest triplet: ZINDO lists its reference determinant first.
    const int lowest = program == Zindo ? 2 : 1;
    const QString pad = QStringLiteral(" Angs").leftJustified(15, QLatin1Char(' '));
    QString text;
    QTextStream stream(&text);
    stream << "****************  Calculation of RL *************************\n"
           << "Excited State Chosen = " << s << "\n"
           << "Singlet RL " << OrvaneColumns::fixed(4, getSingletRL(s)) << pad << "Singlet Energy: " << OrvaneColumns::fixed(4, getSingletEnergy(s))
           << " cm^-1\n"
           << "Lowerst Energy:\n"
           << "Triplet RL " << OrvaneColumns::fixed(4, getTripletRL(lowest)) << pad << "Triplet Energy: "
           << OrvaneColumns::fixed(4, getTripletEnergy(lowest)) << " cm^-1\n"
           << "\n"
           << "Triplet Associated with Singlet\n"
           << "Triplet RL " << OrvaneColumns::fixed(4, getTripletRL(s)) << pad << "Triplet Energy: " << OrvaneColumns::fixed(4, getTripletEnergy(s))
           << " cm^-1\n"
           << "\n\n";
    stream.flush();
    for (const double value : {getSingletRL(s), getSingletEnergy(s), getTripletRL(lowest), getTripletEnergy(lowest),
                               getTripletRL(s), getTripletEnergy(s)}) {
        if (!std::isfinite(value)) {
            lastError = QStringLiteral("The RL report was not written: a distance or energy of the file is not a "
                                       "finite number: \n")
                + fileName;
            return false;
        }
    }
    QString reason;
    if (!OrvaneReportFile::write(file, text, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}
