// Plain coordinate files: spherical coordinates about the ion, Z-matrices and
// XYZ files from MOPAC outputs and inputs, MOL2 files and Z-matrix files.

#include "orvanefilesconverter.h"

#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvaneorganizemolecules.h"

#include <cmath>

using OrvaneColumns::fixed;
using OrvaneColumns::left;
using OrvaneColumns::right;

namespace {

const QString moduleText = QStringLiteral("Orvane Files Converter Module");

bool isTranslationVector(const QString& label)
{
    return label == QLatin1String("Tv");
}

} // namespace

bool OrvaneFilesConverter::convertFromOutToSph(const QString& sphFile)
{
    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    if (!molecule.createSphericalCoordinate()) {
        lastError = molecule.getLastError();
        return false;
    }
    QString text;
    for (int i = 1; i <= molecule.getAtomsNumber(); ++i) {
        const CoordSPH sph = molecule.getCoordSPH(i);
        text += left(4, molecule.getAtomLabel(i)) + fixed(14, 5, sph.r) + fixed(12, 3, sph.theta)
            + fixed(12, 3, sph.phi) + QLatin1Char('\n');
    }
    return writeFile(sphFile, text);
}

bool OrvaneFilesConverter::convertFromOutToZmt(const QString& zmtFile)
{
    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    const QVector<CoordZMT> rows = zMatrixOf(molecule.getCoord());
    for (int k = 0; k < rows.size(); ++k) {
        const CoordZMT& row = rows.at(k);
        if (!std::isfinite(row.bond) || !std::isfinite(row.angle) || !std::isfinite(row.dihedral)) {
            lastError = QStringLiteral("The internal coordinates of atom %1 (%2) are not finite numbers: the "
                                       "Cartesian coordinates are too large. \n")
                            .arg(k + 1)
                            .arg(row.label)
                + fileName;
            return false;
        }
    }

    // Keyword, title and comment lines left empty; every value flagged for optimisation.
    QString text = QStringLiteral("\n\n\n");
    const QString flag = QStringLiteral(" 1");
    for (const CoordZMT& row : rows) {
        text += left(2, row.label) + fixed(10, 5, row.bond) + flag + fixed(14, 5, row.angle) + flag
            + fixed(14, 5, row.dihedral) + flag + right(5, QString::number(row.na))
            + right(5, QString::number(row.nb)) + right(5, QString::number(row.nc)) + QLatin1Char('\n');
    }
    text += QStringLiteral("0\n");
    return writeFile(zmtFile, text);
}

bool OrvaneFilesConverter::writeCoordXYZ(const QString& xyzFile, const QVector<Coord>& atoms, const bool& keepTv)
{
    // MOPAC allows one to three translation vectors: the count is that of the
    // rows actually written.
    QString rows;
    int count = 0;
    for (const Coord& atom : atoms) {
        if (!keepTv && isTranslationVector(atom.label))
            continue;
        rows += left(2, atom.label) + fixed(14, 4, atom.x) + fixed(14, 4, atom.y) + fixed(14, 4, atom.z)
            + QLatin1Char('\n');
        ++count;
    }
    return writeFile(xyzFile, left(5, QString::number(count)) + QStringLiteral("\n\n") + rows);
}

bool OrvaneFilesConverter::convertFromOutToXYZ(const QString& xyzFile, const bool& keepTv)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .xyz file"));
    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    return writeCoordXYZ(xyzFile, molecule.getCoord(), keepTv);
}

bool OrvaneFilesConverter::convertFromMopToXYZ(const QString& xyzFile, const bool& keepTv)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .mop file to .xyz file"));
    OrvaneInputData molecule(nullptr, fileName);
    if (!molecule.readMopFile()) {
        lastError = molecule.getLastError();
        return false;
    }
    return writeCoordXYZ(xyzFile, molecule.getCoord(), keepTv);
}

bool OrvaneFilesConverter::convertFromMOL2ToXYZ(const QString& xyzFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .mol2 file to .xyz file"));
    OrvaneOrganizeMolecules reader(this);
    if (!reader.readMOL2(fileName)) {
        lastError = reader.getLastError();
        return false;
    }
    const int count = reader.getAtomsNumber();
    QString text = QString::number(count) + QStringLiteral("\n\n");
    for (int i = 1; i <= count; ++i) {
        const Coord atom = reader.getCoord(i);
        text += left(3, reader.getAtomLabel(i)) + fixed(10, 4, atom.x) + fixed(10, 4, atom.y)
            + fixed(10, 4, atom.z) + QLatin1Char('\n');
    }
    return writeFile(xyzFile, text);
}

bool OrvaneFilesConverter::convertFromZmtToXYZ(const QString& xyzFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .zmt file to .xyz file"));
    OrvaneInputData molecule(nullptr, fileName);
    if (!molecule.readZmtFile()) {
        lastError = molecule.getLastError();
        return false;
    }
    QVector<CoordZMT> rows;
    for (int i = 1; i <= molecule.getAtomsNumber(); ++i)
        rows.append(molecule.getCoordZMT(i));
    // A Z-matrix that cannot be placed has no Cartesian atoms to write: writing
    // the atoms before the failing row as if complete would hide the fault.
    QVector<Coord> atoms;
    if (!placeZMatrix(rows, atoms))
        return false;

    QString text = QString::number(atoms.size()) + QStringLiteral("\n\n");
    for (const Coord& atom : qAsConst(atoms)) {
        text += left(2, atom.label) + fixed(12, 4, atom.x) + fixed(12, 4, atom.y) + fixed(12, 4, atom.z)
            + QLatin1Char('\n');
    }
    return writeFile(xyzFile, text);
}
