#ifndef ORVANEFILESCONVERTER_H
#define ORVANEFILESCONVERTER_H

#include "orvaneabstractobjcalculation.h"
#include "orvanerecords.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <vector>

class OrvaneAtomGrid;
class OrvaneInputData;

// Converts molecular geometries between Cartesian coordinates and Z-matrices
// (internal coordinates in MOPAC's conventions: each atom placed by its
// distance to atom na, its angle with na and nb, and its dihedral with na, nb
// and nc), and writes the files that hand a complex to the next program: the
// inputs of Gaussian, ZINDO, ORCA and MOPAC made from a MOPAC output, and
// plain coordinate files. The routines keep no state between calls, so a
// converter built with the default constructor serves them.
//
// Every writer returns true on success and false with the reason in
// getLastError() (assigned, not appended); a target that cannot be written
// fails with its name and the system's reason, and is never left half-written.
class ORVANEENGINE_EXPORT OrvaneFilesConverter : public OrvaneAbstractObjCalculation
{
public:
    // No source file and no lanthanide list: the ORCA writer then treats no
    // atom as a lanthanide.
    OrvaneFilesConverter();
    OrvaneFilesConverter(QObject* parent, const QString& fileName);
    ~OrvaneFilesConverter() override;

    // --- inputs of other programs, from the MOPAC output `fileName` -------------
    bool convertFromOutToGjf(const QString& gjfFile);
    bool convertFromOutToInp(const QString& inpFile);
    // occupied and virtuals both non-zero: the energy window is taken from the
    // ORCA output named after orcaFile with the suffix "orcout". An empty
    // pointChargeFile is named after orcaFile with the suffix "pointcharge".
    bool convertFromOutToInpOrca(const QString& orcaFile, bool triplets, bool energyWindow, int occupied,
        int virtuals, int roots, QString pointChargeFile);
    bool convertFromOutToMop(const QString& mopFile);

    // --- coordinate files ---------------------------------------------------------
    bool convertFromOutToSph(const QString& sphFile);
    bool convertFromOutToZmt(const QString& zmtFile);
    bool convertFromOutToXYZ(const QString& xyzFile, const bool& keepTv);
    bool convertFromMopToXYZ(const QString& xyzFile, const bool& keepTv);
    bool convertFromMOL2ToXYZ(const QString& xyzFile);
    bool convertFromZmtToXYZ(const QString& xyzFile);

    // One Cartesian atom per Z-matrix row, in row order, with the row's label;
    // angles in degrees. Atom 1 lands at the origin, atom 2 on the x axis,
    // atom 3 in the x-y plane. On a Z-matrix that cannot be placed (a
    // reference that is not an earlier atom, coincident reference atoms) the
    // result is empty and getLastError() names the row.
    QVector<Coord> createXYZFromZMTCoord(const QVector<CoordZMT>& rows);
    // The Z-matrix of Cartesian atoms, reference atoms chosen automatically;
    // angles in degrees.
    QVector<CoordZMT> createZMTFromXYZCoord(const QVector<Coord>& atoms);
    // The same Z-matrix with every reference found by scanning all earlier
    // atoms, time growing with the square of the atoms: the yardstick the
    // grid search of createZMTFromXYZCoord must match.
    static QVector<CoordZMT> zMatrixByFullScan(const QVector<Coord>& atoms);

    // The source of every conversion: a MOPAC output, or the .mop, MOL2 or
    // Z-matrix file of the XYZ writers.
    QString fileName;
    // Symbols treated as lanthanide ions, La to Lu.
    QStringList lanthanides;

private:
    // The point-charge file (+3 at every lanthanide of the molecule); counter
    // grows by one per charge.
    QString pointChargesText(const OrvaneInputData& molecule, int& counter) const;
    // The XYZ layout of the MOPAC-file converters; "Tv" rows dropped unless keepTv.
    bool writeCoordXYZ(const QString& xyzFile, const QVector<Coord>& atoms, const bool& keepTv);
    // Reads `fileName` as a MOPAC output into molecule; false with the reader's
    // reason in lastError.
    bool readMopacOutput(OrvaneInputData& molecule, bool keepTv);
    bool writeFile(const QString& file, const QString& text);
    // createXYZFromZMTCoord and createZMTFromXYZCoord without their progress line.
    bool placeZMatrix(const QVector<CoordZMT>& rows, QVector<Coord>& atoms);
    static QVector<CoordZMT> zMatrixOf(const QVector<Coord>& atoms, bool useGrid = true);

    // Tables addressed from 1 as MOPAC's are: row r = 1, 2, 3 (x, y, z; or
    // bond, angle, dihedral) and entry i for atom i; row 0 and entry 0 are
    // never used. Every row and reference list holds at least numat + 1
    // entries (see newTable and newReferences).
    using Table = std::array<std::vector<double>, 4>;
    using References = std::vector<int>;

    static Table newTable(int numat);
    static References newReferences(int numat);

    // Angle at atom j between atoms i and k, radians; never NaN.
    static double bangle(const Table& xyz, int i, int j, int k);
    // Signed angle from plane vector (a1, a2) to (b1, b2); 0 when either is degenerate.
    static double dang(double a1, double a2, double b1, double b2);
    // Dihedral angle i-j-k-l, radians in [0, 2 pi).
    static double dihed(const Table& xyz, int i, int j, int k, int l);
    // Chooses na, nb, nc for every atom and fills geo (bond; angle and
    // dihedral multiplied by degree).
    // The reference searches go through a spatial grid unless useGrid is
    // false (or the geometry gives no usable grid); the answers are the same.
    static void xyzint(const Table& xyz, int numat, References& na, References& nb, References& nc,
        double degree, Table& geo, bool useGrid = true);
    // geo for the given references; a dihedral reference within 15 degrees of
    // collinear is replaced, and the replacement written into nc.
    static void xyzgeo(const Table& xyz, int numat, const References& na, const References& nb,
        References& nc, double degree, Table& geo, const OrvaneAtomGrid* grid = nullptr);
    // Cartesian coordinates of a Z-matrix (angles in radians) into coord.
    // Atomic numbers 99 (dummy) and 107 (translation vector) are stripped from
    // the result. False, with the reason in lastError and coord untouched,
    // when a reference is not an earlier atom or two references coincide.
    bool gmetry(const Table& geo, Table& coord, const References& na, const References& nb,
        const References& nc, const References& labels, int numat);

    static constexpr const char* moduleName = "Orvane Files Converter Module";
};

#endif
