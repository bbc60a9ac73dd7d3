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
const QString sectionMarker = QStringLiteral("@<TRIPOS>");
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

bool OrvaneOrganizeMolecules::seekLanthanide1(const QString& atomName) const
{
    return lanthanides.contains(elementOfAtomName(atomName));
}

bool OrvaneOrganizeMolecules::seekLanthanide2(const QString& atomLine) const
{
    return seekLanthanide1(field(splitFields(atomLine), 2));
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
    if (!orderAtomLines(mol2File))
        return false;
    if (!setCoordVector()) {
        lastError = QStringLiteral("There has been an error during read in the following file: ") + mol2File;
        return false;
    }
    return true;
}

bool OrvaneOrganizeMolecules::orderAtomLines(const QString& mol2File)
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
    QString line;
    while (reader.readLine(line)) {
        if (line.contains(sectionMarker)) {
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
            residues.last().lines.append(line);
            residues.last().numbers.append(integerField(fields, 1));
        } else if (section == Section::Bonds) {
            residues.last().bonds.append(qMakePair(integerField(fields, 2), integerField(fields, 3)));
        }
    }

    QVector<QStringList> ordered;
    ordered.reserve(residues.size());
    for (const Residue& residue : qAsConst(residues)) {
        const int count = residue.lines.size();
        QVector<int> ions; // indices of the lanthanide atom lines
        for (int j = 0; j < count && ions.size() < maxLanthanidesPerResidue; ++j)
            if (seekLanthanide1(field(splitFields(residue.lines.at(j)), 2)))
                ions.append(j);
        auto isIonNumber = [&](int number) {
            for (int j : qAsConst(ions))
                if (residue.numbers.at(j) == number)
                    return true;
            return false;
        };

        QVector<bool> placed(count, false);
        QStringList lines;
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
            if (!placed.at(ion)) {
                placed[ion] = true;
                lines.append(residue.lines.at(ion));
            }
            for (int j = 0; j < count; ++j) {
                if (!placed.at(j) && bonded.contains(residue.numbers.at(j))) {
                    placed[j] = true;
                    lines.append(residue.lines.at(j));
                }
            }
        }
        for (int j = 0; j < count; ++j)
            if (!placed.at(j))
                lines.append(residue.lines.at(j));
        ordered.append(lines);
    }

    // The first residue led by an ion goes first, the others keep file order.
    // Without such a residue there is no ion to place the atoms about.
    int first = -1;
    for (int r = 0; r < ordered.size() && first < 0; ++r)
        if (!ordered.at(r).isEmpty() && seekLanthanide2(ordered.at(r).first()))
            first = r;
    if (first < 0)
        return true;
    atomLines = ordered.at(first);
    for (int r = 0; r < ordered.size(); ++r)
        if (r != first)
            atomLines += ordered.at(r);
    return true;
}

bool OrvaneOrganizeMolecules::setCoordVector()
{
    if (atomLines.isEmpty())
        return false;
    const QStringList originFields = splitFields(atomLines.first());
    const double ox = numberField(originFields, 3);
    const double oy = numberField(originFields, 4);
    const double oz = numberField(originFields, 5);
    coord.reserve(coord.size() + atomLines.size());
    for (const QString& line : qAsConst(atomLines)) {
        const QStringList fields = splitFields(line);
        Coord atom;
        atom.label = elementOfAtomName(field(fields, 2));
        atom.x = numberField(fields, 3) - ox;
        atom.y = numberField(fields, 4) - oy;
        atom.z = numberField(fields, 5) - oz;
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
