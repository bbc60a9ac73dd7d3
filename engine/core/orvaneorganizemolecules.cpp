#include "orvaneorganizemolecules.h"

#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"

#include <QPair>
#include <QSet>

using OrvaneText::field;
using OrvaneText::integerField;
using OrvaneText::numberField;
using OrvaneText::splitFields;

namespace {

const QString defaultKey = QStringLiteral("AM1 SPARKLE PRECISE XYZ T=10D BFGS GNORM=0.25 + \n"
                                          "NOLOG GEO-OK SCFCRT=1.D-10 ALLVEC\n");
constexpr const char* sectionMarker = "@<TRIPOS>";
// Atoms of one residue a lanthanide can be, as many as any complex holds.
constexpr int maxLanthanidesPerResidue = 100;

// A MOL2 atom name without its serial number: "Eu1" -> "Eu", "C12" -> "C".
QString elementOfAtomName(const QString& name)
{
    int end = 0;
    while (end < name.size() && !(name.at(end) >= QLatin1Char('0') && name.at(end) <= QLatin1Char('9')))
        ++end;
    return name.left(end).simplified();
}

// One "@<TRIPOS>ATOM" section with the bonds of the "@<TRIPOS>BOND" section
// that follows it in the same molecule.
struct Residue {
    QStringList lines;
    QVector<Coord> atoms;              // element and position of each atom line
    QVector<int> numbers;              // first field of each atom line
    QVector<QPair<int, int>> bonds;    // origin and target atom numbers
};

} // namespace

OrvaneOrganizeMolecules::OrvaneOrganizeMolecules(QObject* parent)
    : OrvaneAbstractObjCalculation(parent)
    , key(defaultKey)
{
    for (const QString& symbol : OrvaneInputData::lanthanideList)
        lanthanides.append(symbol);
}

OrvaneOrganizeMolecules::~OrvaneOrganizeMolecules() = default;

Coord OrvaneOrganizeMolecules::getCoord(const int& i) const
{
    return (i >= 1 && i <= coord.size()) ? coord.at(i - 1) : Coord();
}

QString OrvaneOrganizeMolecules::getAtomLabel(const int& i) const
{
    return getCoord(i).label;
}

bool OrvaneOrganizeMolecules::isLnPresent(const QVector<Coord>& atoms)
{
    isLanthanidePresent = false;
    for (const Coord& atom : atoms)
        if (lanthanides.contains(atom.label))
            isLanthanidePresent = true;
    return isLanthanidePresent;
}

bool OrvaneOrganizeMolecules::readMOL2(const QString& mol2File)
{
    // A second read of the same object replaces the first: appending would
    // mix two structures in one input.
    coord.clear();
    atomLines.clear();
    isLanthanidePresent = false;

    OrvaneInputData molecule(nullptr, mol2File);
    if (!molecule.readMol2File()) {
        lastError = molecule.getLastError();
        return false;
    }
    // A structure without atoms would become a MOPAC input with nothing to compute.
    if (molecule.getCoord().isEmpty()) {
        lastError = QStringLiteral("The file holds no atoms: ") + mol2File;
        return false;
    }
    if (!isLnPresent(molecule.getCoord())) {
        coord = molecule.getCoord();
        return true;
    }
    QVector<Coord> orderedAtoms;
    if (!orderAtomLines(mol2File, orderedAtoms))
        return false;
    if (!setCoordVector(orderedAtoms)) {
        lastError = QStringLiteral("There has been an error during read in the following file: ") + mol2File;
        return false;
    }
    return true;
}

bool OrvaneOrganizeMolecules::orderAtomLines(const QString& mol2File, QVector<Coord>& orderedAtoms)
{
    OrvaneLineReader reader(mol2File);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(mol2File + QStringLiteral(" does not exist."));
        return false;
    }

    // One pass over the file. Every "@<TRIPOS>" line closes the section before
    // it, so no line of another section is taken for an atom or a bond, and
    // the end of the file ends the reading wherever it comes.
    enum class Section { Other, Atoms, Bonds };
    Section section = Section::Other;
    QVector<Residue> residues;
    bool bondsBelongToLastResidue = false;
    while (reader.nextLine()) {
        // Lines of sections that are not read are passed over undecoded.
        if (section == Section::Other && !reader.lineHas(sectionMarker))
            continue;
        const QString line = reader.lineText();
        if (line.contains(QLatin1String(sectionMarker))) {
            const QStringList fields = splitFields(line);
            if (line.contains(QLatin1String("@<TRIPOS>ATOM"))) {
                residues.append(Residue());
                section = Section::Atoms;
                bondsBelongToLastResidue = true;
            } else if (fields.contains(QStringLiteral("@<TRIPOS>BOND")) && bondsBelongToLastResidue) {
                section = Section::Bonds;
            } else {
                if (line.contains(QLatin1String("@<TRIPOS>MOLECULE")))
                    bondsBelongToLastResidue = false;
                section = Section::Other;
            }
            continue;
        }
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            continue;
        if (section == Section::Atoms) {
            // Each atom line is split once, here.
            Coord atom;
            atom.label = elementOfAtomName(field(fields, 2));
            atom.x = numberField(fields, 3);
            atom.y = numberField(fields, 4);
            atom.z = numberField(fields, 5);
            residues.last().lines.append(line);
            residues.last().atoms.append(atom);
            residues.last().numbers.append(integerField(fields, 1));
        } else if (section == Section::Bonds) {
            residues.last().bonds.append(qMakePair(integerField(fields, 2), integerField(fields, 3)));
        }
    }

    QVector<QStringList> ordered;
    QVector<QVector<Coord>> orderedResidueAtoms;
    ordered.reserve(residues.size());
    orderedResidueAtoms.reserve(residues.size());
    for (const Residue& residue : qAsConst(residues)) {
        const int count = residue.lines.size();
        QVector<int> ions; // indices of the lanthanide atom lines
        for (int j = 0; j < count && ions.size() < maxLanthanidesPerResidue; ++j)
            if (lanthanides.contains(residue.atoms.at(j).label))
                ions.append(j);
        auto isIonNumber = [&](int number) {
            for (int j : qAsConst(ions))
                if (residue.numbers.at(j) == number)
                    return true;
            return false;
        };

        QVector<bool> placed(count, false);
        QStringList lines;
        QVector<Coord> atoms;
        auto place = [&](int j) {
            placed[j] = true;
            lines.append(residue.lines.at(j));
            atoms.append(residue.atoms.at(j));
        };
        for (int ion : qAsConst(ions)) {
            const int ionNumber = residue.numbers.at(ion);
            // Bonds between two ions do not make one a donor of the other.
            // A set: every atom line is looked up in it.
            QSet<int> bonded;
            for (const auto& bond : residue.bonds) {
                if (bond.first == ionNumber && !isIonNumber(bond.second))
                    bonded.insert(bond.second);
                if (bond.second == ionNumber && !isIonNumber(bond.first))
                    bonded.insert(bond.first);
            }
            if (!placed.at(ion))
                place(ion);
            for (int j = 0; j < count; ++j)
                if (!placed.at(j) && bonded.contains(residue.numbers.at(j)))
                    place(j);
        }
        for (int j = 0; j < count; ++j)
            if (!placed.at(j))
                place(j);
        ordered.append(lines);
        orderedResidueAtoms.append(atoms);
    }

    // The first residue led by an ion goes first, the others keep file order.
    // Without such a residue there is no ion to place the atoms about.
    int first = -1;
    for (int r = 0; r < ordered.size() && first < 0; ++r)
        if (!orderedResidueAtoms.at(r).isEmpty() && lanthanides.contains(orderedResidueAtoms.at(r).first().label))
            first = r;
    if (first < 0)
        return true;
    atomLines = ordered.at(first);
    orderedAtoms = orderedResidueAtoms.at(first);
    for (int r = 0; r < ordered.size(); ++r)
        if (r != first) {
            atomLines += ordered.at(r);
            orderedAtoms += orderedResidueAtoms.at(r);
        }
    return true;
}

bool OrvaneOrganizeMolecules::setCoordVector(const QVector<Coord>& orderedAtoms)
{
    if (orderedAtoms.isEmpty())
        return false;
    const Coord origin = orderedAtoms.first();
    coord.reserve(coord.size() + orderedAtoms.size());
    for (Coord atom : orderedAtoms) {
        atom.x -= origin.x;
        atom.y -= origin.y;
        atom.z -= origin.z;
        coord.append(atom);
    }
    return true;
}

bool OrvaneOrganizeMolecules::createOutpuFile(const QString& mopFile)
{
    QString text = key;
    if (!isLanthanidePresent)
        text.remove(QStringLiteral("SPARKLE"));
    text += QStringLiteral("\n\n");
    const QString flag = QStringLiteral(" 1 ");
    for (const Coord& atom : qAsConst(coord)) {
        text += OrvaneColumns::left(4, atom.label) + OrvaneColumns::fixed(10, 4, atom.x) + flag
            + OrvaneColumns::fixed(10, 4, atom.y) + flag + OrvaneColumns::fixed(10, 4, atom.z) + flag
            + QLatin1Char('\n');
    }
    text += QLatin1Char('0');

    QString reason;
    if (!OrvaneReportFile::write(mopFile, text, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}
