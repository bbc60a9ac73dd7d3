// Readers of ZINDO (INDO/S) configuration-interaction outputs. ZINDO numbers
// atoms and orbitals from 1; atom 1 is the lanthanide, kept as a point charge.
//
// Every loop that waits for a closing line also stops at the end of the
// file, so a cut or foreign file ends the reader with a failure instead of
// an endless wait.

#include "orvaneinputdata.h"

#include "orvanetextreader.h"

#include <QStringList>
#include <algorithm>

using OrvaneText::field;
using OrvaneText::integerField;
using OrvaneText::isBlank;
using OrvaneText::numberField;
using OrvaneText::splitFields;
using OrvaneText::toInteger;
using OrvaneText::toNumber;

namespace {

const QString zindoOrbitalsError = QStringLiteral(
    "ORVANE could not read the molecular orbitals from the Zindo output file: \n");
const QString zindoSingletError = QStringLiteral(
    "There has been an error during read of the SINGLET states from the ZINDO output file. \n");
const QString zindoTripletError = QStringLiteral(
    "There has been an error during read of the TRIPLET states from the ZINDO output file. \n");
const QString zindoAbsorptionError = QStringLiteral(
    "There has been an error during read of the absorption spectrum data from the ZINDO output file. \n");
constexpr int maxZindoBlock = 3; // orbitals side by side in one block of coefficients
const QString zindoCoordinatesError = QStringLiteral(
    "There has been an error during read in cartesian coordinates from the desired Zindo output file (.zin): \n");

// Lines of (state number, energy) pairs up to a blank line.
QVector<double> readEnergyList(OrvaneLineReader& reader)
{
    QVector<double> energies;
    QString line;
    while (reader.readLine(line) && !isBlank(line)) {
        const QStringList fields = splitFields(line);
        for (int pair = 1; pair <= fields.size() / 2; ++pair)
            energies.append(numberField(fields, 2 * pair));
    }
    return energies;
}

// The CI vector of one state: lines of five-field transitions up to a line
// without fields. The reached orbital is field 4 of the first transition of a
// line and field 9 of the others; the reference determinant ("COMPONENT" in
// field 3) reaches no orbital.
ExcitateState readZindoState(OrvaneLineReader& reader, double energy, bool referenceTest)
{
    ExcitateState state;
    state.energy = energy;
    QString line;
    while (reader.readLine(line)) {
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            break;
        const bool reference = referenceTest && field(fields, 3).contains(QStringLiteral("COMPONENT"));
        const int transitions = fields.size() / 5;
        for (int t = 0; t < transitions; ++t) {
            if (reference) {
                state.orbitals.append(0);
                continue;
            }
            QString reached = field(fields, t == 0 ? 4 : 9);
            reached.remove(QLatin1Char(','));
            state.orbitals.append(toInteger(reached));
        }
    }
    return state;
}

} // namespace

bool OrvaneInputData::readOutputZindo()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;

    // Molecular orbitals: blocks headed by five fields per orbital, rows of
    // (function, atom, label, coefficient) per orbital, a blank line after each.
    if (!reader.readUpTo(QStringLiteral("RHF/ROHF - MOs follow"), line)) {
        lastError = zindoOrbitalsError + fileName;
        return false;
    }
    reader.skipLines(2);
    const QString sectionEnd = QStringLiteral("___________________");
    for (;;) {
        if (!reader.readLine(line)) {
            lastError = zindoOrbitalsError + fileName;
            return false;
        }
        const QStringList header = splitFields(line);
        if (header.isEmpty() || header.contains(sectionEnd))
            break;
        const int n = header.size() / 5;
        // A wider header is no block of ZINDO's: each of its rows would add
        // an entry to every one of its orbitals.
        if (n > maxZindoBlock) {
            lastError = zindoOrbitalsError + fileName
                + QStringLiteral("\nA block of the coefficients heads %1 orbitals side by side; ZINDO prints at most %2.")
                      .arg(n)
                      .arg(maxZindoBlock);
            return false;
        }
        QVector<MolecularOrbital> block(n);
        for (;;) {
            if (!reader.readLine(line)) {
                lastError = zindoOrbitalsError + fileName;
                return false;
            }
            if (isBlank(line))
                break;
            const QStringList fields = splitFields(line);
            for (int i = 1; i <= n; ++i) {
                MolecularOrbital& orbital = block[i - 1];
                orbital.atoms.append(integerField(fields, 4 * i - 2));
                orbital.labels.append(field(fields, 4 * i - 1));
                orbital.coefficients.append(numberField(fields, 4 * i));
            }
        }
        molecularOrbitalVector += block;
    }

    // Singlets: the energy list, then one CI vector per state.
    if (!reader.readUpTo(QStringLiteral("SINGLETS"), line)) {
        lastError = zindoSingletError + fileName;
        return false;
    }
    reader.skipLines(5);
    const QVector<double> singletEnergies = readEnergyList(reader);
    reader.skipLines(2);
    int next = 0;
    while (reader.readLine(line) && !isBlank(line) && !line.contains(QStringLiteral("TRANSITION MOMENTS"))) {
        const double energy = next < singletEnergies.size() ? singletEnergies.at(next) : 0.0;
        ++next;
        singletExcitateStateVector.append(readZindoState(reader, energy, true));
    }

    // Triplets, up to the file-usage summary that closes the run.
    if (!reader.readUpTo(QStringLiteral("TRIPLETS"), line)) {
        lastError = zindoTripletError + fileName;
        return false;
    }
    reader.skipLines(6);
    const QVector<double> tripletEnergies = readEnergyList(reader);
    reader.skipLines(1);
    next = 0;
    for (;;) {
        if (!reader.readLine(line)) {
            lastError = zindoTripletError + fileName;
            return false;
        }
        if (line.contains(QStringLiteral("ZIO file usage")))
            break;
        const double energy = next < tripletEnergies.size() ? tripletEnergies.at(next) : 0.0;
        ++next;
        tripletExcitateStateVector.append(readZindoState(reader, energy, false));
    }

    excitedStateCount = tripletEnergies.size();
    return readAbsorptionDataZindo();
}

bool OrvaneInputData::readAbsorptionDataZindo()
{
    oscForceVector.clear();
    energyVector.clear();
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist. "));
        return false;
    }
    QString line;
    if (!reader.readUpTo(QStringLiteral(" ") + QString(70, QLatin1Char('-')), line)) {
        lastError = zindoAbsorptionError + fileName;
        return false;
    }
    reader.readLine(line);

    int layout = 0;
    if (line.contains(QStringLiteral("(    1)-->(    1)"))) {
        // One record per transition from the ground state, the first to itself.
        layout = 1;
        while (reader.nextLine()) {
            // Only energy, strength and closing lines are decoded.
            if (!reader.lineHas("CM-1)=") && !reader.lineHas("OSC       =")
                && !reader.lineHas("CONFIGURATION INTERACTION"))
                continue;
            line = reader.lineText();
            if (line.contains(QStringLiteral("E(SY,CM-1)=")) || line.contains(QStringLiteral("ENGY(CM-1)="))) {
                energyVector.append(numberField(splitFields(line), 2));
            } else if (line.contains(QStringLiteral("OSC       =")) && !line.contains(QStringLiteral("*********"))) {
                const bool exponent = line.contains(QStringLiteral("D-")) || line.contains(QStringLiteral("D+"))
                    || line.contains(QStringLiteral("E+")) || line.contains(QStringLiteral("E-"));
                if (!exponent) {
                    oscForceVector.append(numberField(splitFields(line), 3));
                } else {
                    // A Fortran D or E exponent fills the field right after "=".
                    QString value = field(splitFields(line), 2);
                    value.remove(QLatin1Char('='));
                    value.replace(QLatin1Char('D'), QLatin1Char('E'));
                    oscForceVector.append(toNumber(value));
                }
            } else if (line.contains(QStringLiteral("OSC       =**********"))) {
                oscForceVector.append(0.0); // the strength overflowed its field
            } else if (line.contains(QStringLiteral("CONFIGURATION INTERACTION"))) {
                break;
            }
        }
    } else if (line.contains(QString(39, QLatin1Char('-')))) {
        // A table of excited states only, from state 2 on.
        layout = 2;
        while (reader.nextLine())
            if (reader.lineHas("CM-1")) {
                const QStringList fields = splitFields(reader.lineText());
                energyVector.append(numberField(fields, 4));
                oscForceVector.append(numberField(fields, 6));
            }
    }

    // A strength whose energy line is missing cannot be placed below the limit.
    const int lines = std::min(oscForceVector.size(), energyVector.size());
    double best = -1.0;
    for (int i = 0; i < lines; ++i)
        if (oscForceVector.at(i) > best && energyVector.at(i) < 40000.0) {
            selExcitateState = i;
            best = oscForceVector.at(i);
        }
    selExcitateState += layout == 2 ? 2 : 1;

    excitedStateCount = energyVector.size();
    return true;
}

bool OrvaneInputData::readCoordFromZindoOutFile()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(fileName + QStringLiteral(" does not exist"));
        return false;
    }
    QString line;
    if (!reader.readUpTo(QStringLiteral("COORDINATES"), line)) {
        lastError = zindoCoordinatesError + fileName;
        return false;
    }
    reader.skipLines(2);
    while (reader.readLine(line)) {
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            break;
        if (fields.size() < 3)
            continue;
        Coord atom;
        atom.label = field(fields, 6);
        atom.x = numberField(fields, 7);
        atom.y = numberField(fields, 8);
        atom.z = numberField(fields, 9);
        coord.append(atom);
    }
    atomsNumber = coord.size();
    // The atom table never closes a complete output.
    if (reader.atEnd()) {
        lastError = zindoCoordinatesError + fileName;
        return false;
    }
    return true;
}
