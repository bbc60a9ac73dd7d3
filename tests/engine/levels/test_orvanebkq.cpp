// Ligand-field parameters B(k,q) of the simple overlap model. The reference
// values come from ligandfield_reference.py (sympy's spherical harmonics and
// the model written out there); the single-ligand values are worked by hand.

#include "orvanebkq.h"
#include "orvaneomega.h"

#include "ligandfieldfixture.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using LigandField::Atom;

namespace {

// e^2 x (erg -> cm^-1) and <r^k> of the model, written out: e = 4.803204505713468e-10 esu,
// a0 = 5.2917721092e-9 cm, <r^k> = c_k a0^k.
const double e2cm = 4.803204505713468e-10 * 4.803204505713468e-10 * 5.035e15;
double radial(int k)
{
    const double c = k == 2 ? 0.9175 : k == 4 ? 2.02 : 9.039;
    return c * std::pow(5.2917721092e-9, k);
}

double magnitude(const MyComplex& z)
{
    return std::hypot(z.re, z.im);
}

} // namespace

TEST(OrvaneBkq, MatchesTheIndependentSumOverALowSymmetryGeometry)
{
    QTemporaryDir dir;
    const QString mop = LigandField::writeReferenceMop(dir);
    std::vector<double> g = LigandField::referenceChargeFactors();
    double* gp = g.data();
    OrvaneBkq bkq(mop, LigandField::referenceCoordNumber);
    bkq.setChargeFactor(gp);
    for (const auto& row : LigandField::referenceBkq) {
        const MyComplex b = bkq.getBkq(row.k, row.q);
        const double tolerance = 1e-9 * std::max(1.0, std::hypot(row.re, row.im));
        EXPECT_NEAR(b.re, row.re, tolerance) << "B(" << row.k << "," << row.q << ")";
        EXPECT_NEAR(b.im, row.im, tolerance) << "B(" << row.k << "," << row.q << ")";
    }
    // The S ligand (beta 0) and the atom past N take no part.
    EXPECT_EQ(bkq.getAtomLabel(7), QStringLiteral("S"));
    EXPECT_EQ(magnitude(bkq.getBkq(2, 0, 7)), 0.0);
    EXPECT_TRUE(bkq.getAtomLabel(8).isEmpty());
}

TEST(OrvaneBkq, NegativeOrdersAreSignedConjugatesForEveryAtomAndTheSum)
{
    QTemporaryDir dir;
    std::vector<double> g = LigandField::referenceChargeFactors();
    double* gp = g.data();
    OrvaneBkq bkq(LigandField::writeReferenceMop(dir), LigandField::referenceCoordNumber);
    bkq.setChargeFactor(gp);
    for (int k = 2; k <= 6; k += 2) {
        for (int q = 1; q <= k; ++q) {
            const double sign = q % 2 == 0 ? 1.0 : -1.0;
            for (int i = 0; i <= LigandField::referenceCoordNumber; ++i) {
                const MyComplex plus = i == 0 ? bkq.getBkq(k, q) : bkq.getBkq(k, q, i);
                const MyComplex minus = i == 0 ? bkq.getBkq(k, -q) : bkq.getBkq(k, -q, i);
                const double tolerance = 1e-12 * std::max(1.0, magnitude(plus));
                EXPECT_NEAR(minus.re, sign * plus.re, tolerance) << k << " " << q << " atom " << i;
                EXPECT_NEAR(minus.im, -sign * plus.im, tolerance) << k << " " << q << " atom " << i;
            }
        }
    }
}

TEST(OrvaneBkq, OneOxygenOnTheAxisGivesTheAxialParametersOnly)
{
    QTemporaryDir dir;
    const double r = 2.4;
    const QString mop = LigandField::writeMop(dir, QStringLiteral("axial.mop"),
        {Atom {"Eu", 1.0, 2.0, 3.0}, Atom {"O", 1.0, 2.0, 3.0 + r}});
    std::vector<double> g {0.0, 0.7};
    double* gp = g.data();
    OrvaneBkq bkq(mop, 1);
    bkq.setChargeFactor(gp);
    // rMin = r, so ro = 0.0801 and beta = 1/1.0801; Y_k^0 on the axis is
    // sqrt((2k+1)/4pi), which cancels the prefactor sqrt(4pi/(2k+1)).
    const double ro = 0.0801;
    const double beta = 1.0 / (1.0 + ro);
    const double R = r * 1e-8;
    for (int k = 2; k <= 6; k += 2) {
        const double expected = e2cm * radial(k) * ro * std::pow(2.0 * beta, k + 1) * 0.7 / std::pow(R, k + 1);
        const MyComplex b = bkq.getBkq(k, 0);
        EXPECT_NEAR(b.re, expected, 1e-9 * expected) << "k = " << k;
        EXPECT_EQ(b.im, 0.0);
        for (int q = -k; q <= k; ++q) {
            if (q != 0)
                EXPECT_NEAR(magnitude(bkq.getBkq(k, q)), 0.0, 1e-12 * expected) << k << "," << q;
        }
    }
    EXPECT_DOUBLE_EQ(bkq.getRo(1), ro);
    EXPECT_DOUBLE_EQ(bkq.getBeta(1), beta);
    EXPECT_DOUBLE_EQ(bkq.getRMin(), r);
}

TEST(OrvaneBkq, AzimuthConventionsAboutTheIon)
{
    struct Case {
        Atom atom;
        double theta, phi;
    };
    const Case cases[] = {
        {{"O", 2.0, 0.0, 0.0}, 90.0, 0.0},
        {{"O", -2.0, 0.0, 0.0}, 90.0, 180.0},
        {{"O", 0.0, 2.0, 0.0}, 90.0, 90.0},
        {{"O", 0.0, -2.0, 0.0}, 90.0, 270.0},
        {{"O", 0.0, 0.0, -2.0}, 180.0, 0.0},
        {{"O", -1.0, -1.0, 0.0}, 90.0, 225.0},
        {{"O", 1.0, -1.0, 0.0}, 90.0, 315.0},
        {{"O", -1.0, 1.0, 0.0}, 90.0, 135.0},
    };
    QVector<Atom> atoms {Atom {"Eu", 0.0, 0.0, 0.0}};
    for (const Case& c : cases)
        atoms.append(c.atom);
    QTemporaryDir dir;
    OrvaneBkq bkq(LigandField::writeMop(dir, QStringLiteral("axes.mop"), atoms), atoms.size() - 1);
    const CoordSPH ion = bkq.getCoordSPH(0);
    EXPECT_EQ(ion.label, QStringLiteral("Eu"));
    EXPECT_EQ(ion.r, 0.0);
    EXPECT_EQ(ion.theta, 0.0);
    EXPECT_EQ(ion.phi, 0.0);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const CoordSPH p = bkq.getCoordSPH(i + 1);
        EXPECT_NEAR(p.theta, cases[i].theta, 1e-9) << "ligand " << i + 1;
        EXPECT_NEAR(p.phi, cases[i].phi, 1e-9) << "ligand " << i + 1;
    }
}

TEST(OrvaneBkq, BetaByLabelAndTheRescaledOverlap)
{
    struct Case {
        const char* label;
        int kind; // 1: 1/(1+ro), -1: 1/(1-ro), 0: no contribution
    };
    const Case cases[] = {{"O", 1}, {"N", -1}, {"Cl", -1}, {"F", -1}, {"S", 0}, {"C", 0}, {"O1", 0}, {"o", 0}};
    for (const Case& c : cases) {
        QTemporaryDir dir;
        // The second ligand sets rMin; the one under test lies farther out.
        const QString mop = LigandField::writeMop(dir, QStringLiteral("beta.mop"),
            {Atom {"Eu", 0.0, 0.0, 0.0}, Atom {c.label, 0.3, 2.6, 0.4}, Atom {"O", -2.3, 0.0, 0.0}});
        std::vector<double> g {0.0, 0.5, 0.5};
        double* gp = g.data();
        OrvaneBkq bkq(mop, 2);
        bkq.setChargeFactor(gp);
        const double r = std::sqrt(0.09 + 6.76 + 0.16);
        for (const double scale : {0.0801, 0.05}) {
            if (scale != 0.0801)
                bkq.calculateRO(scale);
            const double ro = scale * std::pow(2.3 / r, 3.5);
            const double beta = c.kind > 0 ? 1.0 / (1.0 + ro) : c.kind < 0 ? 1.0 / (1.0 - ro) : 0.0;
            EXPECT_NEAR(bkq.getRo(1), ro, 1e-15) << c.label << " " << scale;
            EXPECT_NEAR(bkq.getBeta(1), beta, 1e-15) << c.label << " " << scale;
            EXPECT_DOUBLE_EQ(bkq.getRMin(), 2.3);
            EXPECT_EQ(magnitude(bkq.getBkq(4, 1, 1)) == 0.0, c.kind == 0) << c.label;
        }
    }
}

TEST(OrvaneBkq, CopiesOwnTheirOverlapAndShareTheChargeFactors)
{
    QTemporaryDir dir;
    std::vector<double> g = LigandField::referenceChargeFactors();
    double* gp = g.data();
    OrvaneBkq original(LigandField::writeReferenceMop(dir), LigandField::referenceCoordNumber);
    original.setChargeFactor(gp);
    const MyComplex before = original.getBkq(2, 2);

    OrvaneBkq copy(original);
    OrvaneBkq assigned(QString(), 0);
    assigned = original;
    copy.calculateRO(0.02);
    assigned.calculateRO(0.03);
    EXPECT_EQ(original.getRO0(), 0.0801);
    EXPECT_EQ(original.getBkq(2, 2).re, before.re);
    EXPECT_NEAR(copy.getRo(3), original.getRo(3) * 0.02 / 0.0801, 1e-15);
    EXPECT_NEAR(assigned.getRo(3), original.getRo(3) * 0.03 / 0.0801, 1e-15);
    EXPECT_EQ(assigned.getCoordNumber(), LigandField::referenceCoordNumber);
    EXPECT_EQ(assigned.getAtomLabel(4), QStringLiteral("Cl"));

    // The charge factors stay the caller's array, seen by all three.
    g[1] *= 2.0;
    EXPECT_EQ(copy.getChargeFactor(1), g[1]);
    EXPECT_EQ(assigned.getChargeFactor(1), g[1]);
    EXPECT_NE(original.getBkq(2, 2).re, before.re);
}

TEST(OrvaneBkq, MissingAtomsAndALigandOnTheIonContributeNothing)
{
    QTemporaryDir dir;
    std::vector<double> g(12, 0.8);
    double* gp = g.data();
    // A missing file: no atoms, all zero.
    OrvaneBkq none(dir.filePath(QStringLiteral("absent.mop")), 4);
    none.setChargeFactor(gp);
    EXPECT_EQ(magnitude(none.getBkq(2, 0)), 0.0);
    EXPECT_TRUE(none.getAtomLabel(0).isEmpty());

    // Three ligands present of the eight asked for, the second on the ion, and
    // a blank line ending the atoms before the third.
    QFile file(dir.filePath(QStringLiteral("short.mop")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PM3 SPARKLE\nshort\n\nEu 0 1 0 1 0 1\nO 0 1 0 1 2.4 1\nN 0 1 0 1 0 1\n\nF 2.5 1 0 1 0 1\n");
    file.close();
    OrvaneBkq shortGeometry(file.fileName(), 8);
    shortGeometry.setChargeFactor(gp);
    EXPECT_DOUBLE_EQ(shortGeometry.getRMin(), 2.4);
    EXPECT_TRUE(shortGeometry.getAtomLabel(3).isEmpty());
    for (int k = 2; k <= 6; k += 2) {
        const MyComplex onIon = shortGeometry.getBkq(k, 0, 2);
        EXPECT_EQ(magnitude(onIon), 0.0);
        const MyComplex total = shortGeometry.getBkq(k, 0);
        EXPECT_TRUE(std::isfinite(total.re));
        EXPECT_EQ(total.re, shortGeometry.getBkq(k, 0, 1).re);
    }
    // N is kept within the atoms the object was built for.
    shortGeometry.setCoordNumber(50);
    EXPECT_EQ(shortGeometry.getCoordNumber(), 8);
    EXPECT_EQ(magnitude(shortGeometry.getBkq(2, 0, 9)), 0.0);
}

// Where the intensity-parameter route uses the same formula (oxygen donors,
// its ro scale 0.05), its B(k,q) section must give the same numbers.
TEST(OrvaneBkq, AgreesWithTheIntensityParameterRouteForOxygenDonors)
{
    const QVector<Atom> atoms {Atom {"Eu", 0.0, 0.0, 0.0}, Atom {"O", 2.41, 0.22, 0.31}, Atom {"O", -0.45, 2.35, -0.6},
        Atom {"O", -1.2, -1.9, 0.95}, Atom {"O", 0.3, -0.2, -2.5}, Atom {"O", 1.1, 1.3, 1.9}};
    const int n = atoms.size() - 1;
    QTemporaryDir dir;
    std::vector<double> g {0.0, 0.4, 0.9, 0.6, 1.3, 0.25};
    double* gp = g.data();
    OrvaneBkq bkq(LigandField::writeMop(dir, QStringLiteral("oxygen.mop"), atoms), n);
    bkq.setChargeFactor(gp);
    bkq.calculateRO(0.05);

    QVector<Coord> coords;
    for (const Atom& a : atoms)
        coords.append(Coord {QLatin1String(a.label), a.x, a.y, a.z});
    OrvaneOmega omega(nullptr, coords);
    // Its arrays are indexed by atom number: ligand i is atom i+1.
    std::vector<double> gByAtom(30, 0.0), alpha(30, 0.0);
    for (int i = 1; i <= n; ++i)
        gByAtom[std::size_t(i + 1)] = g[std::size_t(i)];
    double* gOmega = gByAtom.data();
    double* alphaOmega = alpha.data();
    omega.setChargeFactorAndAlpha(gOmega, alphaOmega);
    omega.setCoordNumber(n);
    ASSERT_TRUE(omega.calcOmega()) << omega.getLastError().toStdString();
    OmegaPrintingOptions options;
    options.bkq = true;
    omega.setOmegaPrintingOptions(options);
    const QString report = omega.createOutFile(QString());
    ASSERT_FALSE(report.isEmpty()) << omega.getLastError().toStdString();

    const QRegularExpression line(QStringLiteral(R"(Bkq\((\d),(-?\d)\)\s+=\s+(-?\d+\.\d+) \+\s+(-?\d+\.\d+)i cm\^-1)"));
    int rows = 0;
    for (auto it = line.globalMatch(report); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const MyComplex b = bkq.getBkq(m.captured(1).toInt(), m.captured(2).toInt());
        EXPECT_NEAR(b.re, m.captured(3).toDouble(), 0.0051) << m.captured(0).toStdString();
        EXPECT_NEAR(b.im, m.captured(4).toDouble(), 0.0051) << m.captured(0).toStdString();
        ++rows;
    }
    EXPECT_EQ(rows, 27);
}
