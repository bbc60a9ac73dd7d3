#include "molecule.h"

#include "elementinfo.h"
#include "orvanefilesconverter.h"
#include "orvaneinputdata.h"

namespace {

const QString progressPrefix = QStringLiteral("-> (Orvane Spectroscopic Calculation - Molecule) ");

} // namespace

void MoleculeAtom::setAtomicNumber(const QString& label)
{
    atomicNumber = 0;
    if (label.isEmpty())
        return;
    const QChar first = label.at(0);
    const bool oneCharacter = label.size() == 1;
    const bool digitFollows = !oneCharacter && label.at(1).isDigit();
    for (int z = 1; z < elementTableSize; ++z) {
        const char* symbol = elementTable[z].symbol;
        if (first != QLatin1Char(symbol[0]))
            continue;
        const bool oneLetterSymbol = symbol[1] == ' ';
        if ((oneLetterSymbol && (oneCharacter || digitFollows))
            || (!oneCharacter && label.at(1) == QLatin1Char(symbol[1]))) {
            atomicNumber = z;
            return;
        }
    }
}

Molecule::Molecule(QWidget* parent)
    : AbstractObjCalculationWidget(parent)
    , lanthanideSymbols{QStringLiteral("La"), QStringLiteral("Ce"), QStringLiteral("Pr"), QStringLiteral("Nd"),
          QStringLiteral("Pm"), QStringLiteral("Sm"), QStringLiteral("Eu"), QStringLiteral("Gd"),
          QStringLiteral("Tb"), QStringLiteral("Dy"), QStringLiteral("Ho"), QStringLiteral("Er"),
          QStringLiteral("Tm"), QStringLiteral("Yb"), QStringLiteral("Lu")}
{
}

Molecule::~Molecule() = default;

void Molecule::report(const QString& message)
{
    emit newObjCalculationMessage(progressPrefix + message);
}

bool Molecule::readMolecule(const QString& fileName, const int& fileType)
{
    lastError.clear();
    atoms.clear();
    bonds.clear();
    if (fileName.isEmpty())
        return true;
    // A type outside the list would read nothing and still report success.
    if (fileType < Mol2File || fileType > ZMatrixFile) {
        lastError = QStringLiteral("Unknown type %1 of the structure file ").arg(fileType) + fileName;
        return false;
    }

    OrvaneInputData reader(nullptr, fileName);
    report(QStringLiteral("Reading input file (Cartesian coordinates)."));
    bool read = false;
    switch (fileType) {
    case Mol2File:
        read = reader.readMol2File();
        break;
    case MopCartesianFile:
        read = reader.readMopFile();
        break;
    case MopacOutputFile:
        read = reader.readMopacOutFile(true);
        break;
    case ZMatrixFile:
        read = reader.readZmtFile();
        break;
    }
    if (!read) {
        lastError = reader.getLastError();
        return false;
    }

    QVector<Coord> positions = reader.getCoord();
    // The Z-matrix reader gives internal coordinates only; placing them makes
    // the structure drawable instead of silently empty.
    if (fileType == ZMatrixFile && positions.isEmpty() && !reader.coordZMT.isEmpty()) {
        OrvaneFilesConverter converter;
        positions = converter.createXYZFromZMTCoord(reader.coordZMT);
        if (positions.size() != reader.coordZMT.size()) {
            lastError = QStringLiteral("The Z-matrix cannot be turned into Cartesian coordinates: ")
                + converter.getLastError() + QLatin1Char('\n') + fileName;
            return false;
        }
    }
    report(QStringLiteral("Cartesian coordinates read successfully."));

    const Coord centre = OrvaneInputData::calcCenterOfMass(positions);
    const int count = qMin(reader.getAtomsNumber(), positions.size());
    QVector<MoleculeAtom> readAtoms;
    readAtoms.reserve(qMax(count, 0));
    bool lanthanideFound = false;
    for (int i = 0; i < count; ++i) {
        const Coord& position = positions.at(i);
        MoleculeAtom atom;
        atom.x = static_cast<float>(position.x - centre.x);
        atom.y = static_cast<float>(position.y - centre.y);
        atom.z = static_cast<float>(position.z - centre.z);
        atom.setAtomicNumber(position.label.simplified() + QLatin1Char(' '));
        const QString symbol = QString::fromLatin1(elementInfo(atom.atomicNumber).symbol).trimmed();
        if (!symbol.isEmpty() && lanthanideSymbols.contains(symbol))
            lanthanideFound = true;
        readAtoms.append(atom);
    }
    containsLanthanide = lanthanideFound;
    if (lanthanideRequired && !containsLanthanide) {
        lastError = QStringLiteral("The lanthanide atom is not present in the current structure.");
        return false;
    }
    atoms = readAtoms;

    report(QStringLiteral(" Link to the molecule is being added."));
    findBonds();
    report(QStringLiteral("Link was added successfully to the molecule."));
    return true;
}

void Molecule::findBonds()
{
    bonds.clear();
    const int n = atoms.size();
    for (int i = n - 1; i >= 1; --i) {
        const MoleculeAtom& a = atoms.at(i);
        const double radiusA = elementInfo(a.atomicNumber).covalentRadius;
        const double ax = a.x, ay = a.y, az = a.z;
        for (int j = i - 1; j >= 0; --j) {
            const MoleculeAtom& b = atoms.at(j);
            if (a.atomicNumber == 1 && b.atomicNumber == 1)
                continue;
            const double reach = radiusA + elementInfo(b.atomicNumber).covalentRadius + 0.3;
            const double limit = reach * reach;
            // Most pairs are rejected on the first axis, without a square root.
            const double dx = ax - double(b.x);
            double sum = dx * dx;
            if (sum > limit)
                continue;
            const double dy = ay - double(b.y);
            sum += dy * dy;
            if (sum > limit)
                continue;
            const double dz = az - double(b.z);
            sum += dz * dz;
            if (sum > limit)
                continue;
            bonds.append(qMakePair(i, j));
        }
    }
}
