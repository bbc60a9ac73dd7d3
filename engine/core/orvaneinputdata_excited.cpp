// Readers of the excited-state programs' outputs: Gaussian TD-DFT logs and
// ORCA outputs with their point-charge companions.
//
// Every loop that waits for a closing line also stops at the end of the
// file, so a cut or foreign file ends the reader with a failure instead of
// an endless wait.

#include "orvaneinputdata.h"

#include "orvaneelementtables.h"
#include "orvanetextreader.h"

#include <QStringList>

using OrvaneText::field;
using OrvaneText::integerField;
using OrvaneText::isBlank;
using OrvaneText::numberField;
using OrvaneText::splitFields;
using OrvaneText::toInteger;
using OrvaneText::toNumber;

namespace {

const QString gaussianStatesError = QStringLiteral(
    "There has been an error during read of the excited states from the GAUSSIAN output file. \n");
const QString gaussianOrbitalsError = QStringLiteral(
    "ORVANE could not read the molecular orbitals from the GAUSSIAN output file: \n");
const QString orcaOrbitalsError = QStringLiteral(
    "ORVANE could not read the molecular orbitals from the ORCA output file: \n");
const QString orcaSingletError = QStringLiteral(
    "There has been an error during read of the SINGLET states from the ORCA output file. \n");
const QString orcaTripletError = QStringLiteral(
    "There has been an error during read of the TRIPLET states from the ORCA output file. \n");
const QString orcaAbsorptionError = QStringLiteral(
    "There has been an error during read of the absorption spectrum data from the ORCA output file. \n");

// Orbitals printed side by side in one block of coefficients. A wider "block"
// is no block of the program: each of its rows would add an entry to every
// one of its orbitals, so memory would grow with the square of the file.
constexpr int maxGaussianBlock = 6;
constexpr int maxOrcaBlock = 6;

QString tooWideBlock(int orbitals, const char* program, int most)
{
    return QStringLiteral("\nA block of the coefficients lists %1 orbitals side by side; %2 prints at most %3.")
        .arg(orbitals)
        .arg(QLatin1String(program))
        .arg(most);
}

// Wavelength in nm to wavenumber in cm-1; a wavelength that did not read as a
// number (0) gives 0 rather than an infinite energy.
double wavenumberOfWavelength(double nm)
{
    return nm != 0.0 ? 1.0e7 / nm : 0.0;
}

// Keeps the three lists of an orbital parallel: a row whose layout is not
// understood still occupies one basis-function slot, with no weight.
void appendBasisFunction(MolecularOrbital& orbital, int atom, const QString& label, double coefficient)
{
    orbital.atoms.append(atom);
    orbital.labels.append(label);
    orbital.coefficients.append(coefficient);
}

// Field 1 of an ORCA orbital row joins the atom number and the element symbol
// ("12Eu"); with a label glued on as well, the label follows a second capital.
int orcaAtomNumber(const QString& first)
{
    int end = 0;
    while (end < first.size() && !first.at(end).isUpper())
        ++end;
    return toInteger(first.left(end));
}

QString orcaGluedLabel(const QString& first)
{
    const int firstCapital = [&] {
        for (int i = 0; i < first.size(); ++i)
            if (first.at(i).isUpper())
                return i;
        return -1;
    }();
    if (firstCapital < 0)
        return QString();
    int secondCapital = -1;
    for (int i = firstCapital + 1; i < first.size(); ++i)
        if (first.at(i).isUpper()) {
            secondCapital = i;
            break;
        }
    return secondCapital < 0 ? first.mid(firstCapital + 1)
                             : first.mid(firstCapital + 1, secondCapital - firstCapital - 1);
}

// Gaussian: the singlet of greatest strength below 40000 cm-1; failing that,
// the strongest singlet; 0 without singlets.
int selectGaussianState(const QVector<ExcitateState>& singlets)
{
    auto strongest = [&](bool belowLimit) {
        int selected = 0;
        double best = -1.0;
        for (int i = 0; i < singlets.size(); ++i) {
            const ExcitateState& state = singlets.at(i);
            if (state.oscillatorStrength > best && (!belowLimit || state.energy < 40000.0)) {
                selected = i + 1;
                best = state.oscillatorStrength;
            }
        }
        return selected;
    };
    const int selected = strongest(true);
    return selected != 0 ? selected : strongest(false);
}

// One ORCA state: the state line gives the energy, the lines up to a blank one
// the reached orbitals ("1050a -> 1052a : ...", field 3 without its "a").
ExcitateState readOrcaState(OrvaneLineReader& reader, const QString& stateLine)
{
    ExcitateState state;
    state.energy = numberField(splitFields(stateLine), 8);
    QString line;
    while (reader.readLine(line)) {
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            break;
        QString reached = field(fields, 3);
        reached.remove(QLatin1Char('a'));
        state.orbitals.append(OrvaneText::toTruncatedInteger(reached));
    }
    return state;
}

} // namespace

bool OrvaneInputData::readOutputGaussian()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;

    // Atoms: the first orientation table.
    if (!reader.readUpTo(QStringLiteral("Coordinates (Angstroms)"), line)) {
        lastError = gaussianStatesError + fileName;
        return false;
    }
    reader.skipLines(2);
    while (reader.readLine(line) && !line.contains(QStringLiteral("------------------------"))) {
        const QStringList fields = splitFields(line);
        Coord atom;
        atom.label = OrvaneElements::symbolFromAtomicNumber(integerField(fields, 2));
        atom.x = numberField(fields, 4);
        atom.y = numberField(fields, 5);
        atom.z = numberField(fields, 6);
        coord.append(atom);
    }
    atomsNumber = coord.size();

    // States, singlets and triplets in the order printed, up to "SavETr:".
    if (!reader.readUpTo(QStringLiteral("Excitation energies"), line)) {
        lastError = gaussianStatesError + fileName;
        return false;
    }
    reader.skipLines(1);
    const QString endOfStates = QStringLiteral("SavETr:");
    bool endFound = false;
    while (!endFound && reader.nextLine()) {
        // Most lines between the states are neither a state nor the end:
        // they are passed over on their bytes.
        if (!reader.lineHas("SavETr:") && !(reader.lineHas("Excited") && reader.lineHas("State")))
            continue;
        line = reader.lineText().simplified();
        if (line.contains(endOfStates)) {
            endFound = true;
            break;
        }
        if (!line.contains(QStringLiteral("Excited State")))
            continue;

        const bool singlet = line.contains(QStringLiteral("Singlet"));
        const QStringList stateFields = splitFields(line);
        ExcitateState state;
        state.energy = wavenumberOfWavelength(numberField(stateFields, 7));
        state.oscillatorStrength = toNumber(field(stateFields, 9).remove(QStringLiteral("f=")));

        while (reader.readLine(line)) {
            line = line.simplified();
            if (line.isEmpty())
                break;
            if (line.contains(endOfStates)) {
                endFound = true;
                break;
            }
            const QStringList fields = splitFields(line);
            if (fields.size() > 4)
                continue; // "This state for optimization...", "Total Energy, ..."
            // "45 -> 47 0.7", "45 <- 47 0.1", or "1050 ->1052 0.7" once numbers reach four digits.
            QString reached = fields.size() == 3 ? field(fields, 2) : field(fields, 3);
            reached.remove(QStringLiteral("->"));
            state.orbitals.append(toInteger(reached));
        }
        (singlet ? singletExcitateStateVector : tripletExcitateStateVector).append(state);
    }
    if (!endFound) {
        lastError = gaussianStatesError + fileName;
        return false;
    }
    excitedStateCount = singletExcitateStateVector.size();

    // Molecular orbitals, block by block.
    if (!reader.readUpTo(QStringLiteral("Molecular Orbital Coefficients:"), line)) {
        lastError = gaussianOrbitalsError + fileName;
        return false;
    }
    reader.skipLines(1); // orbital numbers of the first block
    for (;;) {
        if (!reader.readLine(line)) {
            lastError = gaussianOrbitalsError + fileName;
            return false;
        }
        const int n = splitFields(line).size(); // one occupancy (or symmetry) mark per orbital
        if (n > maxGaussianBlock) {
            lastError = gaussianOrbitalsError + fileName + tooWideBlock(n, "Gaussian", maxGaussianBlock);
            return false;
        }
        reader.skipLines(1); // eigenvalues
        QVector<MolecularOrbital> block(n);
        int atom = 0;
        bool densityMatrix = false;
        for (;;) {
            if (!reader.readLine(line)) {
                lastError = gaussianOrbitalsError + fileName;
                return false;
            }
            if (line.contains(QStringLiteral("Density Matrix:"))) {
                densityMatrix = true;
                break;
            }
            const QStringList fields = splitFields(line);
            if (fields.isEmpty() || !fields.last().contains(QLatin1Char('.')))
                break; // orbital numbers of the next block, or the end of the section
            const int count = fields.size();
            for (int j = 1; j <= n; ++j) {
                MolecularOrbital& orbital = block[j - 1];
                if (count == n + 4) { // "1 1 O 1S c1..cn": first function of an atom
                    atom = integerField(fields, 2);
                    appendBasisFunction(orbital, atom, field(fields, 4), numberField(fields, j + 4));
                } else if (count == n + 3) { // "10 3D 0 c1..cn": label printed with a blank
                    appendBasisFunction(orbital, atom, field(fields, 2) + field(fields, 3),
                                        numberField(fields, j + 3));
                } else if (count == n + 2) { // "2 2S c1..cn"
                    appendBasisFunction(orbital, atom, field(fields, 2), numberField(fields, j + 2));
                } else {
                    appendBasisFunction(orbital, atom, QString(), 0.0);
                }
            }
        }
        molecularOrbitalVector += block;
        if (densityMatrix || n < 5)
            break;
    }

    selExcitateState = selectGaussianState(singletExcitateStateVector);
    reportProgress(QStringLiteral("All data were successfully loaded from the Gaussian output file. \n") + fileName);
    return true;
}

bool OrvaneInputData::readOutputOrca()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;

    // Molecular orbitals, block by block (six columns, the last block maybe fewer).
    if (!reader.readUpTo(QStringLiteral("MOLECULAR ORBITAL"), line)) {
        lastError = orcaOrbitalsError + fileName;
        return false;
    }
    reader.skipLines(1);
    reader.readLine(line);
    int m = splitFields(line).size();
    for (;;) {
        if (m > maxOrcaBlock) {
            lastError = orcaOrbitalsError + fileName + tooWideBlock(m, "ORCA", maxOrcaBlock);
            return false;
        }
        reader.skipLines(3); // energies, occupations, dashes
        QVector<MolecularOrbital> block(m);
        QString endLine;
        for (;;) {
            if (!reader.readLine(line)) {
                lastError = orcaOrbitalsError + fileName;
                return false;
            }
            const QStringList fields = splitFields(line);
            if (fields.isEmpty() || !fields.last().contains(QLatin1Char('.'))) {
                endLine = line;
                break;
            }
            const QString first = field(fields, 1);
            const int atom = orcaAtomNumber(first);
            const int count = fields.size();
            for (int j = 1; j <= m; ++j) {
                MolecularOrbital& orbital = block[j - 1];
                if (count == m + 2) { // "12Eu 1s c1..cm"
                    appendBasisFunction(orbital, atom, field(fields, 2).remove(QStringLiteral("1-")),
                                        numberField(fields, j + 2));
                } else if (count == m + 1) { // label glued to the symbol
                    appendBasisFunction(orbital, atom, orcaGluedLabel(first).remove(QStringLiteral("1-")),
                                        numberField(fields, j + 1));
                } else {
                    appendBasisFunction(orbital, atom, QString(), 0.0);
                }
            }
        }
        molecularOrbitalVector += block;
        if (endLine.isEmpty() || m < 6)
            break;
        m = splitFields(endLine).size();
    }

    // Singlets.
    if (!reader.readUpTo(QStringLiteral("EXCITED STATES (SINGLETS)"), line)) {
        lastError = orcaSingletError + fileName;
        return false;
    }
    if (line.contains(QStringLiteral("TD-DFT")))
        isOrcaTDDFT = true;
    reader.skipLines(4);
    while (reader.readLine(line) && !isBlank(line))
        singletExcitateStateVector.append(readOrcaState(reader, line));
    excitedStateCount = singletExcitateStateVector.size();

    // Triplets.
    if (!reader.readUpTo(QStringLiteral("EXCITED STATES (TRIPLETS)"), line)) {
        lastError = orcaTripletError + fileName;
        return false;
    }
    reader.skipLines(4);
    while (reader.readLine(line) && !isBlank(line) && !line.contains(QStringLiteral("----------------------")))
        tripletExcitateStateVector.append(readOrcaState(reader, line));

    // Selected state: the strongest absorption line among the singlets below 40000 cm-1.
    if (!reader.readUpTo(QStringLiteral("ABSORPTION SPECTRUM"), line)) {
        lastError = orcaAbsorptionError + fileName;
        return false;
    }
    reader.skipLines(4);
    double best = -10000.0;
    for (int j = 1; j <= singletExcitateStateVector.size() && reader.readLine(line); ++j) {
        const double strength = numberField(splitFields(line), 4);
        if (strength > best && singletExcitateStateVector.at(j - 1).energy < 40000.0) {
            best = strength;
            selExcitateState = j;
        }
    }

    reportProgress(QStringLiteral("All data were successfully loaded from the ORCA output file. \n") + fileName);
    return true;
}

bool OrvaneInputData::readAbsorptionDataGaussian()
{
    oscForceVector.clear();
    energyVector.clear();
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;
    if (!reader.readUpTo(QStringLiteral("Excitation energies"), line)) {
        lastError = gaussianStatesError + fileName;
        return false;
    }
    reader.skipLines(1);
    for (;;) {
        if (!reader.nextLine()) {
            lastError = gaussianStatesError + fileName;
            return false;
        }
        if (!reader.lineHas("SavETr:") && !(reader.lineHas("Excited") && reader.lineHas("Singlet")))
            continue;
        line = reader.lineText().simplified();
        if (line.contains(QStringLiteral("Excited State")) && line.contains(QStringLiteral("Singlet"))) {
            const QStringList fields = splitFields(line);
            oscForceVector.append(toNumber(field(fields, 9).remove(QStringLiteral("f="))));
            energyVector.append(wavenumberOfWavelength(numberField(fields, 7)));
        }
        if (line.contains(QStringLiteral("SavETr:")))
            break;
    }
    excitedStateCount = oscForceVector.size();
    return true;
}

bool OrvaneInputData::readAbsorptionDataOrca()
{
    oscForceVector.clear();
    energyVector.clear();
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;
    if (!reader.readUpTo(QStringLiteral("ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS"), line)) {
        lastError = orcaAbsorptionError + fileName;
        return false;
    }
    reader.skipLines(4);
    while (reader.readLine(line) && !isBlank(line)) {
        const QStringList fields = splitFields(line);
        energyVector.append(numberField(fields, 2));
        oscForceVector.append(numberField(fields, 4));
    }
    excitedStateCount = oscForceVector.size();
    return true;
}

bool OrvaneInputData::readCoordFromOrcaOutFile()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;
    // The table in Angstrom precedes the one in atomic units.
    if (!reader.readUpTo(QStringLiteral("CARTESIAN COORDINATES"), line)) {
        lastError += QStringLiteral("Cannot find the cartesian coordinates from the desired file: \n") + fileName
            + QStringLiteral("\nCheck the file to identify the possible errors.");
        return false;
    }
    reader.skipLines(1);
    while (reader.readLine(line)) {
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            break;
        Coord atom;
        atom.label = field(fields, 1);
        atom.x = numberField(fields, 2);
        atom.y = numberField(fields, 3);
        atom.z = numberField(fields, 4);
        coord.append(atom);
    }
    atomsNumber = coord.size();
    return true;
}

bool OrvaneInputData::readChargePointFileOrca(double& x, double& y, double& z)
{
    QString pointChargeFile = fileName;
    pointChargeFile.replace(QStringLiteral(".orcout"), QStringLiteral(".pointcharge"));
    OrvaneLineReader reader(pointChargeFile);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(pointChargeFile + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;
    reader.readLine(line); // number of charges
    reader.readLine(line);
    const QStringList fields = splitFields(line);
    if (fields.size() != 4) {
        lastError = QStringLiteral("ORVANE could not read the ORCA point charge file.");
        return false;
    }
    x = numberField(fields, 2);
    y = numberField(fields, 3);
    z = numberField(fields, 4);
    return true;
}

bool OrvaneInputData::readMolecularOrbitalOccupancy()
{
    const QString notFound = QStringLiteral("\nCannot find the molecular orbitals in the desired ORCA output file: \n")
        + fileName + QStringLiteral("\nCheck the file to identify the possible errors.");
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    QString line;
    if (!reader.readUpTo(QStringLiteral("ORBITAL ENERGIES"), line) || reader.atEnd()) {
        lastError += notFound;
        return false;
    }
    reader.skipLines(3);
    QVector<MolecularOrbitalOCC> table;
    while (reader.readLine(line) && !isBlank(line) && !line.contains(QStringLiteral("------------------"))) {
        const QStringList fields = splitFields(line);
        MolecularOrbitalOCC orbital;
        orbital.number = integerField(fields, 1);
        orbital.occupancy = numberField(fields, 2);
        orbital.energy = numberField(fields, 3);
        table.append(orbital);
    }
    // The energy window of an ORCA input is taken between the second and the
    // last orbital: a table of fewer than two rows has no such window.
    if (table.size() < 2) {
        lastError += notFound;
        return false;
    }
    molecularOrbital += table;
    molecularOrbitalNumber = molecularOrbital.size();

    // Without an empty orbital there is no LUMO: both stay at a defined 0,
    // which the input writer treats as "use the whole table".
    homoMO = 0;
    lumoMO = 0;
    for (const MolecularOrbitalOCC& orbital : qAsConst(molecularOrbital))
        if (orbital.occupancy == 0.0) {
            homoMO = orbital.number - 1;
            lumoMO = orbital.number;
            break;
        }
    return true;
}
