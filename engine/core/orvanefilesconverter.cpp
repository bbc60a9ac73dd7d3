#include "orvanefilesconverter.h"

#include "orvaneatomgrid.h"
#include "orvaneinputdata.h"

#include <QHash>

#include <cmath>

namespace {

constexpr double twoPi = 6.28318530717959;
constexpr double degreesPerRadian = 57.29578; // the factor the Z-matrix writers have always used
constexpr double radiansPerDegree = 3.141592653589793 / 180.0;

// acos argument kept in [-1, 1]; a NaN (coincident atoms) counts as 1.
double clampCosine(double c)
{
    if (!(c < 1.0))
        return 1.0;
    if (!(c > -1.0))
        return -1.0;
    return c;
}

int atomicNumberOfLabel(const QString& label)
{
    // Only the elements of the complexes studied; any other label gets 0, never
    // the dummy (99) or translation-vector (107) numbers that gmetry strips.
    static const QHash<QString, int> numbers = {
        {QStringLiteral("H"), 1}, {QStringLiteral("C"), 6}, {QStringLiteral("N"), 7},
        {QStringLiteral("O"), 8}, {QStringLiteral("F"), 9}, {QStringLiteral("P"), 15},
        {QStringLiteral("S"), 16}, {QStringLiteral("Cl"), 17}, {QStringLiteral("Fe"), 26}, {QStringLiteral("Eu"), 63},
        {QStringLiteral("Tb"), 65}};
    return numbers.value(label, 0);
}

const QString conversionMessage = QStringLiteral("Conversion from xyz coordinate to .xyz coordinate.");

} // namespace

OrvaneFilesConverter::OrvaneFilesConverter()
    : OrvaneAbstractObjCalculation(nullptr)
{
}

OrvaneFilesConverter::OrvaneFilesConverter(QObject* parent, const QString& fileName)
    : OrvaneAbstractObjCalculation(parent)
    , fileName(fileName)
{
    for (const QString& symbol : OrvaneInputData::lanthanideList)
        lanthanides.append(symbol);
}

OrvaneFilesConverter::~OrvaneFilesConverter() = default;

OrvaneFilesConverter::Table OrvaneFilesConverter::newTable(int numat)
{
    const std::size_t size = static_cast<std::size_t>(std::max(numat, 0)) + 1;
    return {std::vector<double>(size, 0.0), std::vector<double>(size, 0.0),
        std::vector<double>(size, 0.0), std::vector<double>(size, 0.0)};
}

OrvaneFilesConverter::References OrvaneFilesConverter::newReferences(int numat)
{
    return References(static_cast<std::size_t>(std::max(numat, 0)) + 1, 0);
}

double OrvaneFilesConverter::bangle(const Table& xyz, int i, int j, int k)
{
    auto squaredDistance = [&xyz](int a, int b) {
        double sum = 0.0;
        for (int r = 1; r <= 3; ++r) {
            const double d = xyz[r][a] - xyz[r][b];
            sum += d * d;
        }
        return sum;
    };
    const double dij = squaredDistance(i, j);
    const double djk = squaredDistance(j, k);
    const double dik = squaredDistance(i, k);
    return std::acos(clampCosine((djk + dij - dik) * 0.5 / std::sqrt(djk * dij)));
}

double OrvaneFilesConverter::dang(double a1, double a2, double b1, double b2)
{
    const double zero = 1.0e-6;
    if ((std::fabs(a1) < zero && std::fabs(a2) < zero) || (std::fabs(b1) < zero && std::fabs(b2) < zero))
        return 0.0;
    const double lengthA = std::sqrt(a1 * a1 + a2 * a2);
    const double lengthB = std::sqrt(b1 * b1 + b2 * b2);
    a1 /= lengthA;
    a2 /= lengthA;
    b1 /= lengthB;
    b2 /= lengthB;
    const double cosine = clampCosine(a1 * b1 + a2 * b2);
    const double sine = a1 * b2 - a2 * b1;
    double r = std::acos(cosine);
    if (std::fabs(r) < 4.0e-5)
        return 0.0;
    if (sine > 0.0)
        r = twoPi - r;
    return -r;
}

double OrvaneFilesConverter::dihed(const Table& xyz, int i, int j, int k, int l)
{
    const double xi = xyz[1][i] - xyz[1][k], yi = xyz[2][i] - xyz[2][k], zi = xyz[3][i] - xyz[3][k];
    const double xj = xyz[1][j] - xyz[1][k], yj = xyz[2][j] - xyz[2][k], zj = xyz[3][j] - xyz[3][k];
    const double xl = xyz[1][l] - xyz[1][k], yl = xyz[2][l] - xyz[2][k], zl = xyz[3][l] - xyz[3][k];

    // Turn the k-to-j vector into the y-z plane, then onto the z axis, and
    // measure the angle between the projections of i and l on the x-y plane.
    const double d = std::sqrt(xj * xj + yj * yj + zj * zj);
    const double c = clampCosine(zj / d);
    double xi1 = xi, xl1 = xl, yi1 = yi, yl1 = yl;
    double cosTheta = c, sinTheta = 0.0;
    const double s = 1.0 - c * c > 0.0 ? d * std::sqrt(1.0 - c * c) : 0.0;
    if (s > 1.0e-7) {
        const double cp = yj / s;
        const double sp = xj / s;
        xi1 = xi * cp - yi * sp;
        xl1 = xl * cp - yl * sp;
        yi1 = xi * sp + yi * cp;
        yl1 = xl * sp + yl * cp;
        sinTheta = (xj * sp + yj * cp) / d;
    }
    const double yi2 = yi1 * cosTheta - zi * sinTheta;
    const double yl2 = yl1 * cosTheta - zl * sinTheta;

    double angle = dang(xl1, yl2, xi1, yi2);
    if (angle < 0.0)
        angle += twoPi;
    if (angle >= twoPi)
        angle = 0.0;
    return angle;
}

void OrvaneFilesConverter::xyzint(const Table& xyz, int numat, References& na, References& nb, References& nc,
    double degree, Table& geo, bool useGrid)
{
    // Each atom enters the grid after its own search, so a search sees the
    // earlier atoms only. The scan's test na[j] != j && nb[j] != j never
    // excludes an earlier atom (na[j] < j, and nb[j] is an earlier atom's na
    // or atom 1's 2 or 3), so the grid search needs no such test.
    OrvaneAtomGrid grid;
    const bool gridded = useGrid && grid.build(xyz[1].data(), xyz[2].data(), xyz[3].data(), numat);
    for (int i = 1; i <= numat; ++i) {
        na[i] = 2;
        nb[i] = 3;
        nc[i] = 4;
        if (gridded) {
            const int nearest = i == 1 ? 0 : grid.nearest(i, 1.0e30);
            grid.insert(i);
            if (i == 1)
                continue;
            na[i] = nearest == 0 ? i - 1 : nearest;
            if (i > 2)
                nb[i] = na[na[i]];
            if (i > 3)
                nc[i] = nb[na[i]];
            continue;
        }
        if (i == 1)
            continue;
        double best = 1.0e30;
        int nearest = 0;
        for (int j = 1; j < i; ++j) {
            double r = 0.0;
            for (int c = 1; c <= 3; ++c) {
                const double d = xyz[c][i] - xyz[c][j];
                r += d * d;
            }
            if (r < best && na[j] != j && nb[j] != j) {
                best = r;
                nearest = j;
            }
        }
        // Non-finite coordinates compare with nothing; keep the references valid.
        if (nearest == 0)
            nearest = i - 1;
        // The earlier atoms' references are read as they stand now: atom 1
        // still carries na = 2, nb = 3 and atom 2 nb = 3.
        na[i] = nearest;
        if (i > 2)
            nb[i] = na[nearest];
        if (i > 3)
            nc[i] = nb[nearest];
    }
    if (numat >= 1)
        na[1] = nb[1] = nc[1] = 0;
    if (numat > 1)
        nb[2] = nc[2] = 0;
    if (numat > 2)
        nc[3] = 0;
    xyzgeo(xyz, numat, na, nb, nc, degree, geo, gridded ? &grid : nullptr);
}

void OrvaneFilesConverter::xyzgeo(const Table& xyz, int numat, const References& na, const References& nb,
    References& nc, double degree, Table& geo, const OrvaneAtomGrid* grid)
{
    const double fifteenDegrees = 0.2617993878;
    std::vector<int> nearby;
    for (int i = 2; i <= numat; ++i) {
        const int j = na[i];
        const int k = nb[i];
        int l = nc[i];
        if (i >= 3)
            geo[2][i] = bangle(xyz, i, j, k) * degree;
        if (i >= 4) {
            // A dihedral about a reference bond that is nearly straight is
            // ill-defined: look for a nearby atom that makes a proper angle.
            const double a = bangle(xyz, j, k, l);
            if (a > 2.87979326578979 || a < fifteenDegrees) {
                double tolerance = fifteenDegrees;
                double best = 100.0;
                if (grid) {
                    // Only atoms within 10 Angstrom of k can qualify (best
                    // starts at 100 square Angstrom). The least distance
                    // wins, the lowest index among equals, as in the scan.
                    nearby.clear();
                    grid->around(k, 10.0, nearby);
                    for (int pass = 0; pass < 2; ++pass) {
                        int chosen = 0;
                        double least = best;
                        for (int m : nearby) {
                            if (m >= i || m == j || m == k)
                                continue;
                            double r = 0.0;
                            for (int c = 1; c <= 3; ++c) {
                                const double d = xyz[c][m] - xyz[c][k];
                                r += d * d;
                            }
                            if (!(r < best) || r > least || (r == least && chosen != 0 && m > chosen))
                                continue;
                            const double angle = bangle(xyz, j, k, m);
                            if (angle > tolerance && angle < 3.14159265358979 - tolerance) {
                                least = r;
                                chosen = m;
                            }
                        }
                        if (chosen != 0) {
                            best = least;
                            l = chosen;
                        }
                        if (best > 99.0 && tolerance > 0.1)
                            tolerance = 0.08726646259971647; // five degrees
                        else
                            break;
                    }
                }
                for (int pass = 0; pass < 2 && !grid; ++pass) {
                    for (int m = 1; m < i; ++m) {
                        if (m == j || m == k)
                            continue;
                        double r = 0.0;
                        for (int c = 1; c <= 3; ++c) {
                            const double d = xyz[c][m] - xyz[c][k];
                            r += d * d;
                        }
                        const double angle = bangle(xyz, j, k, m);
                        if (r < best && angle > tolerance && angle < 3.14159265358979 - tolerance) {
                            best = r;
                            l = m;
                        }
                    }
                    if (best > 99.0 && tolerance > 0.1)
                        tolerance = 0.08726646259971647; // five degrees
                    else
                        break;
                }
                nc[i] = l;
            }
            geo[3][i] = dihed(xyz, i, j, k, l) * degree;
        }
        double r = 0.0;
        for (int c = 1; c <= 3; ++c) {
            const double d = xyz[c][i] - xyz[c][j];
            r += d * d;
        }
        geo[1][i] = std::sqrt(r);
    }
    if (numat >= 1)
        geo[1][1] = geo[2][1] = geo[3][1] = 0.0;
    if (numat >= 2)
        geo[2][2] = geo[3][2] = 0.0;
    if (numat >= 3)
        geo[3][3] = 0.0;
}

bool OrvaneFilesConverter::gmetry(const Table& geo, Table& coord, const References& na, const References& nb,
    const References& nc, const References& labels, int numat)
{
    if (numat <= 0)
        return true;
    const std::size_t needed = static_cast<std::size_t>(numat) + 1;
    for (int r = 1; r <= 3; ++r) {
        if (geo[r].size() < needed || coord[r].size() < needed) {
            lastError = QStringLiteral("\nThe coordinate tables hold fewer than %1 atoms.").arg(numat);
            return false;
        }
    }
    if (na.size() < needed || nb.size() < needed || nc.size() < needed || labels.size() < needed) {
        lastError = QStringLiteral("\nThe reference lists hold fewer than %1 atoms.").arg(numat);
        return false;
    }

    // A reference that is not an earlier atom would read a position that was
    // never computed, or one outside the tables. Atom 3 takes atom 1 when its
    // na is 1 and atom 2 otherwise (0 being MOPAC's default).
    auto badReference = [this](int row, int reference, const char* kind) {
        lastError = QStringLiteral("\nZ-matrix row %1 refers to atom %2 as its %3 reference; "
                                   "a reference must be an earlier atom, 1 to %4. \n")
                        .arg(row)
                        .arg(reference)
                        .arg(QString::fromLatin1(kind))
                        .arg(row - 1);
        return false;
    };
    if (numat >= 3 && (na[3] < 0 || na[3] > 2))
        return badReference(3, na[3], "distance");
    for (int i = 4; i <= numat; ++i) {
        if (na[i] < 1 || na[i] >= i)
            return badReference(i, na[i], "distance");
        if (nb[i] < 1 || nb[i] >= i)
            return badReference(i, nb[i], "angle");
        if (nc[i] < 1 || nc[i] >= i)
            return badReference(i, nc[i], "dihedral");
    }

    Table xyz = newTable(numat);
    if (numat >= 2)
        xyz[1][2] = geo[1][2];
    if (numat >= 3) {
        const double ccos = std::cos(geo[2][3]);
        xyz[1][3] = na[3] == 1 ? xyz[1][1] + geo[1][3] * ccos : xyz[1][2] - geo[1][3] * ccos;
        xyz[2][3] = geo[1][3] * std::sin(geo[2][3]);
        xyz[3][3] = 0.0;
    }
    for (int i = 4; i <= numat; ++i) {
        const int mc = na[i];
        const int mb = nb[i];
        const int ma = nc[i];
        double bx = xyz[1][mb] - xyz[1][mc];
        const double by = xyz[2][mb] - xyz[2][mc];
        double bz = xyz[3][mb] - xyz[3][mc];
        const double r = bx * bx + by * by + bz * bz;
        if (r < 1.0e-16) {
            lastError = QStringLiteral("ATOMS   ") + QString::number(mb) + QStringLiteral(" AND  ")
                + QString::number(mc) + QStringLiteral(" ARE COINCIDENT\n ")
                + QStringLiteral(" THIS IS A FATAL ERROR, RUN STOPPED IN GMETRY ")
                + QStringLiteral("\nZ-matrix row %1. \n").arg(i);
            return false;
        }
        const double rbc = 1.0 / std::sqrt(r);
        double ax = xyz[1][ma] - xyz[1][mc];
        const double ay = xyz[2][ma] - xyz[2][mc];
        double az = xyz[3][ma] - xyz[3][mc];

        // With the reference bond close to the z axis, work in a frame turned
        // by 90 degrees about y so that its projection on x-y is not tiny.
        double xyb = std::sqrt(bx * bx + by * by);
        int k = -1;
        if (xyb <= 0.1) {
            const double turnedXyb = std::sqrt(bz * bz + by * by);
            // A short bond along x would have no projection left after the
            // turn; it is well placed in the original frame.
            if (turnedXyb > 0.0) {
                const double t = ax;
                ax = az;
                az = -t;
                const double u = bx;
                bx = bz;
                bz = -u;
                xyb = turnedXyb;
                k = 1;
            }
        }
        const double costh = bx / xyb;
        const double sinth = by / xyb;
        const double xpa = ax * costh + ay * sinth;
        const double ypa = ay * costh - ax * sinth;
        const double sinph = bz * rbc;
        const double cosph = std::sqrt(std::fabs(1.0 - sinph * sinph));
        const double zqa = az * cosph - xpa * sinph;
        const double yza = std::sqrt(ypa * ypa + zqa * zqa);
        double coskh = 1.0;
        double sinkh = 0.0;
        if (yza >= 1.0e-4) {
            coskh = ypa / yza;
            sinkh = zqa / yza;
        }

        const double bond = geo[1][i];
        const double angle = geo[2][i];
        const double dihedral = geo[3][i];
        const double xd = bond * std::cos(angle);
        const double yd = bond * std::sin(angle) * std::cos(dihedral);
        const double zd = -bond * std::sin(angle) * std::sin(dihedral);

        const double ypd = yd * coskh - zd * sinkh;
        const double zpd = zd * coskh + yd * sinkh;
        const double xpd = xd * cosph - zpd * sinph;
        const double zqd = zpd * cosph + xd * sinph;
        const double xqd = xpd * costh - ypd * sinth;
        const double yqd = ypd * costh + xpd * sinth;
        if (k == -1) {
            xyz[1][i] = xqd + xyz[1][mc];
            xyz[2][i] = yqd + xyz[2][mc];
            xyz[3][i] = zqd + xyz[3][mc];
        } else {
            xyz[1][i] = -zqd + xyz[1][mc];
            xyz[2][i] = yqd + xyz[2][mc];
            xyz[3][i] = xqd + xyz[3][mc];
        }
    }

    // Dummy atoms and translation vectors place the others but are no atoms.
    int kept = 0;
    for (int i = 1; i <= numat; ++i) {
        if (labels[i] == 99 || labels[i] == 107)
            continue;
        ++kept;
        for (int r = 1; r <= 3; ++r)
            xyz[r][kept] = xyz[r][i];
    }
    for (int r = 1; r <= 3; ++r)
        for (int i = 1; i <= numat; ++i)
            coord[r][i] = xyz[r][i];
    return true;
}

QVector<Coord> OrvaneFilesConverter::createXYZFromZMTCoord(const QVector<CoordZMT>& rows)
{
    emitProgress(QString::fromLatin1(moduleName), conversionMessage);
    QVector<Coord> atoms;
    placeZMatrix(rows, atoms);
    return atoms;
}

QVector<CoordZMT> OrvaneFilesConverter::createZMTFromXYZCoord(const QVector<Coord>& atoms)
{
    emitProgress(QString::fromLatin1(moduleName), conversionMessage);
    return zMatrixOf(atoms);
}

bool OrvaneFilesConverter::placeZMatrix(const QVector<CoordZMT>& rows, QVector<Coord>& atoms)
{
    atoms.clear();
    const int n = rows.size();
    Table geo = newTable(n);
    Table xyz = newTable(n);
    References na = newReferences(n), nb = newReferences(n), nc = newReferences(n), labels = newReferences(n);
    for (int k = 0; k < n; ++k) {
        const CoordZMT& row = rows.at(k);
        geo[1][k + 1] = row.bond;
        geo[2][k + 1] = row.angle * radiansPerDegree;
        geo[3][k + 1] = row.dihedral * radiansPerDegree;
        na[k + 1] = row.na;
        nb[k + 1] = row.nb;
        nc[k + 1] = row.nc;
        labels[k + 1] = atomicNumberOfLabel(row.label);
    }
    if (!gmetry(geo, xyz, na, nb, nc, labels, n))
        return false;

    atoms.reserve(n);
    for (int k = 0; k < n; ++k) {
        Coord atom;
        atom.label = rows.at(k).label;
        atom.x = xyz[1][k + 1];
        atom.y = xyz[2][k + 1];
        atom.z = xyz[3][k + 1];
        if (!std::isfinite(atom.x) || !std::isfinite(atom.y) || !std::isfinite(atom.z)) {
            lastError = QStringLiteral("The Z-matrix places atom %1 (%2) at coordinates that are not finite numbers: "
                                       "its bond lengths are too large. \n")
                            .arg(k + 1)
                            .arg(atom.label)
                + fileName;
            atoms.clear();
            return false;
        }
        atoms.append(atom);
    }
    return true;
}

QVector<CoordZMT> OrvaneFilesConverter::zMatrixByFullScan(const QVector<Coord>& atoms)
{
    return zMatrixOf(atoms, false);
}

QVector<CoordZMT> OrvaneFilesConverter::zMatrixOf(const QVector<Coord>& atoms, bool useGrid)
{
    const int n = atoms.size();
    Table xyz = newTable(n);
    Table geo = newTable(n);
    References na = newReferences(n), nb = newReferences(n), nc = newReferences(n);
    for (int k = 0; k < n; ++k) {
        xyz[1][k + 1] = atoms.at(k).x;
        xyz[2][k + 1] = atoms.at(k).y;
        xyz[3][k + 1] = atoms.at(k).z;
    }
    xyzint(xyz, n, na, nb, nc, degreesPerRadian, geo, useGrid);

    QVector<CoordZMT> rows;
    rows.reserve(n);
    for (int k = 0; k < n; ++k) {
        CoordZMT row;
        row.label = atoms.at(k).label;
        row.bond = geo[1][k + 1];
        row.angle = geo[2][k + 1];
        row.dihedral = geo[3][k + 1];
        row.na = na[k + 1];
        row.nb = nb[k + 1];
        row.nc = nc[k + 1];
        rows.append(row);
    }
    return rows;
}
