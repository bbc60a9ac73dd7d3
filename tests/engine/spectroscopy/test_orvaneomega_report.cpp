// The intensity-parameter report (.omega).
//
// The golden files under tests/data/reports were written by
// omega_reports_reference.py, which evaluates the model and lays out the text
// on its own (Legendre polynomials of numpy for the harmonics, the addition
// theorem and numpy's eigenvectors for the partition). The tests compare the
// engine's text with them character by character and read every number of
// the full report back, comparing it with the engine's values.

#include "omegaprintingoptions.h"
#include "orvaneeu3model.h"
#include "orvaneinputdata.h"
#include "orvaneomega.h"
#include "sphericalharmonic.h"

#include "orvanefixtures.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <future>
#include <memory>

namespace Eu3 = OrvaneEu3Model;

namespace {

// The inputs that omega_reports_reference.py uses too.
constexpr int donorCount = 9;
const double refractiveIndex = 1.6;
const double gValues[donorCount] = {0.42, 0.63, 0.38, 0.21, 0.55, 0.71, 0.47, 0.90, 0.35};
const double alphaAngstrom3[donorCount] = {1.85, 2.40, 1.62, 0.95, 2.05, 3.10, 1.70, 4.60, 3.35};
const double charges[donorCount] = {-0.912, -0.655, -0.874, -0.502, -0.941, -0.598, -0.889, -0.315, -0.447};
const double sde[donorCount] = {0.6231, 0.9127, 0.5874, 0.2755, 0.6402, 0.8810, 0.5519, 1.4023, 1.1186};
const double qdc[3] = {0.3857, 2.1946, 0.8123};
const QStringList ligandLines = {QStringLiteral("acac 2 4"), QStringLiteral("phen 3 7"), QStringLiteral("water 6"),
    QStringLiteral("fluoride 5"), QStringLiteral("thiocyanate 9")};
const QString citations
    = QStringLiteral("\n Required citations:\n   the intensity model and the charge factors of this report.\n");

OmegaPrintingOptions allSections()
{
    return OmegaPrintingOptions {true, true, true, true, true, true, true, true, true, true, true, true, true, true,
        true, true, true, true};
}

QString reportsDir()
{
    return OrvaneFixtures::dataPath(QStringLiteral("reports"));
}

QString golden(const QString& name)
{
    return QString::fromUtf8(OrvaneFixtures::contents(reportsDir() + QLatin1Char('/') + name));
}

// The report prints the geometry file's name as given: the tests open it by
// its bare name from the reports folder so that the golden files hold no path.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const QString& path)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentDirectory() { QDir::setCurrent(previous); }

private:
    QString previous;
};

struct ReportSetup {
    CurrentDirectory here {reportsDir()};
    std::array<double, 32> g {};
    std::array<double, 32> alpha {};
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    std::unique_ptr<OrvaneOmega> omega;

    ReportSetup()
    {
        for (int d = 0; d < donorCount; ++d) {
            g[d + 2] = gValues[d];
            alpha[d + 2] = alphaAngstrom3[d] * 1e-24;
        }
        omega.reset(new OrvaneOmega(nullptr, 1, QStringLiteral("eu_n9.mop"), QString()));
        omega->setCoordNumber(donorCount);
        omega->setRefractiveIndex(refractiveIndex);
        omega->setChargeFactorAndAlpha(gPointer, alphaPointer);
        omega->setLigandAtomsByLigandVector(ligandLines);
        omega->setRequiredCitations(citations);
    }

    void useQDC()
    {
        QVector<double> q(donorCount + 2, 0.0), s(donorCount + 2, 0.0);
        for (int d = 0; d < donorCount; ++d) {
            q[d + 2] = charges[d];
            s[d + 2] = sde[d];
        }
        omega->setParametersQDC(qdc[0], qdc[1], qdc[2]);
        omega->setAtomicCharges(q);
        omega->setSuperDeslocalizability(s);
    }

    QString report(const OmegaPrintingOptions& options)
    {
        omega->setOmegaPrintingOptions(options);
        return omega->createOutFile(QString());
    }
};

using OrvaneFixtures::firstDifference;

// Half a unit in the last printed place, plus a little for the binary value.
double fixedTolerance(const QString& printed)
{
    const int dot = printed.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : printed.size() - dot - 1;
    return 0.5 * std::pow(10.0, -decimals) * (1.0 + 1e-9);
}

double scientificTolerance(const QString& printed)
{
    const int dot = printed.indexOf(QLatin1Char('.'));
    const int ePos = printed.indexOf(QLatin1Char('e'));
    const int decimals = ePos - dot - 1;
    const int exponent = printed.mid(ePos + 1).toInt();
    return 0.5 * std::pow(10.0, exponent - decimals) * (1.0 + 1e-9);
}

double tolerance(const QString& printed)
{
    return printed.contains(QLatin1Char('e')) ? scientificTolerance(printed) : fixedTolerance(printed);
}

#define EXPECT_PRINTED(printed, value)                                                                             \
    EXPECT_NEAR((printed).toDouble(), (value), tolerance(printed)) << "printed " << qPrintable(printed)

QStringList linesMatching(const QString& text, const QRegularExpression& pattern,
    QList<QRegularExpressionMatch>* matches = nullptr)
{
    QStringList found;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = pattern.match(line);
        if (m.hasMatch()) {
            found.append(line);
            if (matches)
                matches->append(m);
        }
    }
    return found;
}

QList<QRegularExpressionMatch> matchesOf(const QString& text, const QString& pattern)
{
    QList<QRegularExpressionMatch> matches;
    linesMatching(text, QRegularExpression(pattern), &matches);
    return matches;
}

// The text between a heading line and the next blank line.
QString section(const QString& text, const QString& heading)
{
    const int start = text.indexOf(heading);
    if (start < 0)
        return QString();
    const int end = text.indexOf(QStringLiteral("\n\n"), start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

// A complex number of the report: "re + im" or a modulus.
std::complex<double> complexOf(const QRegularExpressionMatch& m, int re, int im)
{
    return {m.captured(re).toDouble(), m.captured(im).toDouble()};
}

const QString number = QStringLiteral(R"((-?\d+\.\d+(?:e[-+]\d+)?))");

} // namespace

// ---------------------------------------------------------------------------
// Whole reports against the independently written golden files.

TEST(OmegaReport, GoldenFiles)
{
    OmegaPrintingOptions omegaAlone;
    omegaAlone.omega = true;
    const struct {
        const char* file;
        OmegaPrintingOptions options;
        bool qdc;
    } cases[] = {
        {"eu_n9_all.omega", allSections(), true},
        {"eu_n9_none.omega", OmegaPrintingOptions(), false},
        {"eu_n9_omega.omega", omegaAlone, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ReportSetup setup;
        ASSERT_TRUE(setup.omega->getLastError().isEmpty()) << qPrintable(setup.omega->getLastError());
        ASSERT_TRUE(setup.omega->calcOmega());
        if (c.qdc)
            setup.useQDC();
        const QString expected = golden(QString::fromLatin1(c.file));
        ASSERT_FALSE(expected.isEmpty());
        const QString text = setup.report(c.options);
        EXPECT_TRUE(setup.omega->getLastError().isEmpty()) << qPrintable(setup.omega->getLastError());
        EXPECT_EQ(text, expected) << qPrintable(firstDifference(text, expected));
    }
}

TEST(OmegaReport, AllSectionsOffIsTheMinimalReport)
{
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    EXPECT_EQ(setup.report(OmegaPrintingOptions()),
        OrvaneInputData::ORVANETitle
            + QStringLiteral("\n\n\nThe data shown below were calculated from the geometry read in following file: \n"
                             "    eu_n9.mop\n\n\n\n")
            + citations);
}

// ---------------------------------------------------------------------------
// Every number of the full golden report read back and compared with the
// engine's values.

class OmegaReportReadBack : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(setup.omega->calcOmega()) << qPrintable(setup.omega->getLastError());
        text = golden(QStringLiteral("eu_n9_all.omega"));
        ASSERT_FALSE(text.isEmpty());
    }

    const OrvaneInputData& data() const { return *setup.omega->getInputData(); }

    ReportSetup setup;
    QString text;
};

TEST_F(OmegaReportReadBack, GeometryAndPerAtomInputs)
{
    const auto rows = matchesOf(section(text, QStringLiteral("ATOM        R")),
        QStringLiteral(R"(^ (\S+)\s+(\d+\.\d{4})\s+(\d+\.\d{2})\s+(\d+\.\d{2})$)"));
    ASSERT_EQ(rows.size(), donorCount + 1); // the Eu ion and the donors, no hydrogen
    for (int k = 0; k < rows.size(); ++k) {
        const CoordSPH position = data().getCoordSPH(k + 1);
        EXPECT_EQ(rows[k].captured(1), data().getAtomLabel(k + 1));
        EXPECT_PRINTED(rows[k].captured(2), position.r);
        EXPECT_PRINTED(rows[k].captured(3), position.theta);
        EXPECT_PRINTED(rows[k].captured(4), position.phi);
    }

    const auto q = matchesOf(text, QStringLiteral(R"(^ Q =\s*%1 au\^-1\s+D =\s*%1 au\^-1\.A\^3\s+C =\s*%1 A\^3\s+)"
                                                  R"(Ratio D/C =\s*%1 au\^-1 $)")
                                       .arg(number));
    ASSERT_EQ(q.size(), 1);
    EXPECT_PRINTED(q[0].captured(1), qdc[0]);
    EXPECT_PRINTED(q[0].captured(2), qdc[1]);
    EXPECT_PRINTED(q[0].captured(3), qdc[2]);
    EXPECT_PRINTED(q[0].captured(4), qdc[1] / qdc[2]);

    const auto pairs = [&](const QString& first, const QString& second) {
        return matchesOf(text, QStringLiteral(R"(^ %1\((\d+)\)\s*=\s*%3\s+%2\((\d+)\)\s*=\s*%3$)")
                                   .arg(first, second, number));
    };
    const auto chargeRows = pairs(QStringLiteral("atomic charges"), QStringLiteral("SDE"));
    const auto gRows = pairs(QStringLiteral("g"), QStringLiteral("alpha"));
    ASSERT_EQ(chargeRows.size(), donorCount);
    ASSERT_EQ(gRows.size(), donorCount);
    for (int d = 0; d < donorCount; ++d) {
        const int atom = d + 2;
        EXPECT_EQ(chargeRows[d].captured(1).toInt(), atom);
        EXPECT_EQ(chargeRows[d].captured(3).toInt(), atom);
        EXPECT_PRINTED(chargeRows[d].captured(2), charges[d]);
        EXPECT_PRINTED(chargeRows[d].captured(4), sde[d]);
        EXPECT_EQ(gRows[d].captured(1).toInt(), atom);
        EXPECT_PRINTED(gRows[d].captured(2), setup.omega->getChargeFactor(atom));
        EXPECT_PRINTED(gRows[d].captured(4), setup.omega->getAlpha(atom) * 1e24);
    }

    for (const QString name : {QStringLiteral("ro"), QStringLiteral("beta")}) {
        const auto rowsOf = matchesOf(text, QStringLiteral(R"(^     %1\((\d+)\)\s*= %2$)").arg(name, number));
        ASSERT_EQ(rowsOf.size(), donorCount) << qPrintable(name);
        for (int d = 0; d < donorCount; ++d) {
            const int atom = rowsOf[d].captured(1).toInt();
            EXPECT_EQ(atom, d + 2);
            EXPECT_PRINTED(rowsOf[d].captured(2),
                name == QLatin1String("ro") ? setup.omega->getRo(atom) : setup.omega->getBeta(atom));
        }
    }
    // The sulphur donor (atom 9) has no beta, so no forced-dipole term.
    EXPECT_TRUE(text.contains(QStringLiteral("\n     beta(9)  = 0.0000\n")));
}

TEST_F(OmegaReportReadBack, IntensityParametersAndConstants)
{
    struct Part {
        QString name;
        double (OrvaneOmega::*value)(const int&) const;
    };
    const Part parts[] = {{QStringLiteral("omega"), &OrvaneOmega::getOmega},
        {QStringLiteral("omegaED"), &OrvaneOmega::getOmegaED}, {QStringLiteral("omegaDC"), &OrvaneOmega::getOmegaDC}};
    for (const Part& part : parts) {
        const auto rows = matchesOf(text, QStringLiteral(R"(^\s+%1\((\d)\) =\s+(\S+)e-20 cm\^2$)").arg(part.name));
        ASSERT_EQ(rows.size(), 3) << qPrintable(part.name);
        for (int k = 0; k < 3; ++k) {
            const int lambda = 2 * k + 2;
            EXPECT_EQ(rows[k].captured(1).toInt(), lambda);
            EXPECT_PRINTED(rows[k].captured(2), ((*setup.omega).*part.value)(lambda) * 1e20);
        }
    }

    const auto racah = matchesOf(text, QStringLiteral(R"(<f\|C\(2\)\|f> =\s*%1\s+<f\|C\(4\)\|f> =\s*%1\s+)"
                                                      R"(<f\|C\(6\)\|f> =\s*%1$)")
                                           .arg(number));
    const auto shielding = matchesOf(text, QStringLiteral(R"(sigma\(2\) =\s*%1\s+sigma\(4\) =\s*%1\s+)"
                                                          R"(sigma\(6\) =\s*%1$)")
                                               .arg(number));
    const auto radial = matchesOf(text, QStringLiteral(R"(r\(2\) =\s*%1 cm\^2\s+r\(4\) =\s*%1 cm\^4\s+)"
                                                       R"(r\(6\) =\s*%1 cm\^6\s+r\(8\) =\s*%1 cm\^8$)")
                                            .arg(number));
    ASSERT_EQ(racah.size(), 1);
    ASSERT_EQ(shielding.size(), 1);
    ASSERT_EQ(radial.size(), 1);
    for (int k = 0; k < 3; ++k) {
        EXPECT_PRINTED(racah[0].captured(k + 1), Eu3::racahTensor(2 * k + 2));
        EXPECT_PRINTED(shielding[0].captured(k + 1), Eu3::shieldingFactor(2 * k + 2));
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_PRINTED(radial[0].captured(k + 1), Eu3::radialIntegral(2 * k + 2));
    int thetaCount = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QRegularExpressionMatchIterator it
            = QRegularExpression(QStringLiteral(R"(teta\((\d),(\d)\) =\s*%1)").arg(number)).globalMatch(line);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            EXPECT_PRINTED(m.captured(3), Eu3::theta(m.captured(1).toInt(), m.captured(2).toInt()));
            ++thetaCount;
        }
    }
    EXPECT_EQ(thetaCount, 6);
    EXPECT_TRUE(text.contains(QStringLiteral("\n Delta E = -2.3834e-11\n")));
}

TEST_F(OmegaReportReadBack, HarmonicsAgreeWithTheSphericalHarmonic)
{
    const auto rows = matchesOf(text,
        QStringLiteral(R"(^Y\((\d),(-?\d),(\d+)\)\s*=\s+%1 \+\s+%1i\s+\|Y\(\1,\2,\3\)\|\s*=\s+%1$)").arg(number));
    ASSERT_EQ(rows.size(), (3 + 7 + 11 + 15) * donorCount);
    for (const auto& m : rows) {
        const int t = m.captured(1).toInt(), p = m.captured(2).toInt(), atom = m.captured(3).toInt();
        MyComplex y = sphericalHarmonic(data().getCoordSPH(atom), t, std::abs(p));
        if (p < 0) { // Y(t,-p) = (-1)^p conj(Y(t,p))
            const double sign = p % 2 == 0 ? 1.0 : -1.0;
            y = MyComplex {sign * y.re, -sign * y.im};
        }
        SCOPED_TRACE(qPrintable(m.captured(0)));
        EXPECT_PRINTED(m.captured(4), y.re);
        EXPECT_PRINTED(m.captured(5), y.im);
        EXPECT_PRINTED(m.captured(6), std::hypot(y.re, y.im));
    }
}

// GAMA, gama and the three B tables are read back and chained: the sums are
// the sums of the atom lines, the B values are the model's factors times those
// sums, and the printed B give back the intensity parameters.
TEST_F(OmegaReportReadBack, LatticeSumsAndBltpGiveBackTheIntensityParameters)
{
    QMap<QString, std::complex<double>> sums; // "GAMA t,p" -> value
    for (const QString name : {QStringLiteral("GAMA"), QStringLiteral("gama")}) {
        const auto atomRows = matchesOf(text,
            QStringLiteral(R"(^%2\((\d),(-?\d),(\d+)\)\s*=\s*%1 \+\s*%1i .*\|%2\(\1,\2,\3\)\|\s*=\s*%1 )").arg(number, name));
        const auto sumRows = matchesOf(text,
            QStringLiteral(R"(^Sum %2\((\d),(-?\d)\) = \s*%1 \+\s*%1i .*\|%2\(\1,\2\)\| = \s*%1 )").arg(number, name));
        ASSERT_EQ(atomRows.size(), 36 * donorCount) << qPrintable(name);
        ASSERT_EQ(sumRows.size(), 36) << qPrintable(name);
        QMap<QString, std::complex<double>> atomSums;
        QMap<QString, double> atomSumTolerance;
        for (const auto& m : atomRows) {
            const std::complex<double> term = complexOf(m, 4, 5);
            EXPECT_NEAR(std::abs(term), m.captured(6).toDouble(), 2 * tolerance(m.captured(6)) + 1e-3 * std::abs(term))
                << qPrintable(m.captured(0));
            const QString key = m.captured(1) + QLatin1Char(',') + m.captured(2);
            atomSums[key] += term;
            atomSumTolerance[key] += tolerance(m.captured(4)) + tolerance(m.captured(5));
            // GAMA / gama of one atom is alpha / (e^2 rho (2 beta)^(t+1) g).
            if (name == QLatin1String("gama") && m.captured(3).toInt() != 9) {
                const int atom = m.captured(3).toInt(), t = m.captured(1).toInt();
                const double ratio = setup.omega->getAlpha(atom)
                    / (Eu3::elementaryChargeSquared * setup.omega->getRo(atom)
                        * std::pow(2.0 * setup.omega->getBeta(atom), t + 1) * setup.omega->getChargeFactor(atom));
                const QString atomKey = QStringLiteral("GAMA ") + m.captured(1) + QLatin1Char(',')
                    + m.captured(2) + QLatin1Char(',') + m.captured(3);
                ASSERT_TRUE(sums.contains(atomKey));
                EXPECT_NEAR(std::abs(sums[atomKey]) / (ratio * std::abs(term)), 1.0, 2e-3)
                    << qPrintable(m.captured(0));
            }
            if (name == QLatin1String("GAMA"))
                sums[QStringLiteral("GAMA ") + key + QLatin1Char(',') + m.captured(3)] = term;
            if (name == QLatin1String("gama") && m.captured(3).toInt() == 9) // sulphur: beta 0
                EXPECT_EQ(term, std::complex<double>(0.0, 0.0));
        }
        for (const auto& m : sumRows) {
            const QString key = m.captured(1) + QLatin1Char(',') + m.captured(2);
            const std::complex<double> sum = complexOf(m, 3, 4);
            EXPECT_NEAR(sum.real(), atomSums[key].real(), tolerance(m.captured(3)) + atomSumTolerance[key]);
            EXPECT_NEAR(sum.imag(), atomSums[key].imag(), tolerance(m.captured(4)) + atomSumTolerance[key]);
            EXPECT_NEAR(std::abs(sum), m.captured(5).toDouble(), 2 * tolerance(m.captured(5)) + 1e-3 * std::abs(sum));
            sums[name + QLatin1Char(' ') + key] = sum;
        }
    }

    QMap<QString, std::complex<double>> bValues; // "ED 2,1,-1" -> value
    QMap<QString, double> squares;               // "2,1,-1" -> |B|^2
    for (const QString tag : {QStringLiteral(" ED"), QStringLiteral(" DC"), QString()}) {
        const QString pattern = tag.isEmpty()
            ? QStringLiteral(R"(^B\((\d),(\d),(-?\d)\) = \s*%1 \+\s*%1i cm\s+\|B\(\1,\2,\3\)\| = \s*%1 cm\s+)"
                             R"(\|B\(\1,\2,\3\)\|\^2 = \s*%1 cm\^2$)")
                  .arg(number)
            : QStringLiteral(R"(^B\((\d),(\d),(-?\d)\)%2 = \s*%1 \+\s*%1i cm\s+\|B\(\1,\2,\3\)%2\| = \s*%1 cm$)")
                  .arg(number, tag);
        const auto rows = matchesOf(text, pattern);
        ASSERT_EQ(rows.size(), (3 + 7) + (7 + 11) + (11 + 15)) << qPrintable(tag); // (lambda, t, p)
        for (const auto& m : rows) {
            const int lambda = m.captured(1).toInt(), t = m.captured(2).toInt();
            const QString index = m.captured(1) + QLatin1Char(',') + m.captured(2) + QLatin1Char(',') + m.captured(3);
            const QString tp = m.captured(2) + QLatin1Char(',') + m.captured(3);
            const std::complex<double> b = complexOf(m, 4, 5);
            bValues[tag.trimmed() + QLatin1Char(' ') + index] = b;
            std::complex<double> expected;
            if (tag == QLatin1String(" ED"))
                expected = (2.0 / Eu3::deltaE) * Eu3::radialIntegral(t + 1) * Eu3::theta(t, lambda)
                    * sums[QStringLiteral("gama ") + tp];
            else if (tag == QLatin1String(" DC") && t == lambda + 1)
                expected = -std::sqrt(double((lambda + 1) * (2 * lambda + 3)) / (2 * lambda + 1))
                    * Eu3::radialIntegral(lambda) * (1.0 - Eu3::shieldingFactor(lambda)) * Eu3::racahTensor(lambda)
                    * sums[QStringLiteral("GAMA ") + tp];
            else if (tag.isEmpty())
                expected = bValues[QStringLiteral("ED ") + index] + bValues[QStringLiteral("DC ") + index];
            SCOPED_TRACE(qPrintable(m.captured(0)));
            // The sums and the B are both rounded to four digits.
            EXPECT_NEAR(b.real(), expected.real(), 2e-3 * std::abs(expected) + 2 * tolerance(m.captured(4)));
            EXPECT_NEAR(b.imag(), expected.imag(), 2e-3 * std::abs(expected) + 2 * tolerance(m.captured(5)));
            EXPECT_NEAR(std::abs(b), m.captured(6).toDouble(), 2 * tolerance(m.captured(6)) + 1e-3 * std::abs(b));
            if (tag.isEmpty()) {
                // |B|^2 from the rounded |B| carries that rounding twice.
                const double size = m.captured(6).toDouble();
                EXPECT_NEAR(m.captured(7).toDouble(), size * size,
                    tolerance(m.captured(7)) + 2.0 * size * tolerance(m.captured(6)));
                squares[index] = m.captured(7).toDouble();
            }
        }
    }

    // Omega(lambda) = (2 lambda + 1) sum_t sum_p |B(lambda,t,p)|^2 / (2t + 1), from the printed numbers.
    for (int lambda = 2; lambda <= 6; lambda += 2) {
        double total = 0.0, ed = 0.0, dc = 0.0;
        for (int t = lambda - 1; t <= lambda + 1; t += 2)
            for (int p = -t; p <= t; ++p) {
                const QString index = QStringLiteral("%1,%2,%3").arg(lambda).arg(t).arg(p);
                total += squares[index] / (2 * t + 1);
                ed += std::norm(bValues[QStringLiteral("ED ") + index]) / (2 * t + 1);
                dc += std::norm(bValues[QStringLiteral("DC ") + index]) / (2 * t + 1);
            }
        EXPECT_NEAR(total * (2 * lambda + 1) / setup.omega->getOmega(lambda), 1.0, 2e-3) << lambda;
        EXPECT_NEAR(ed * (2 * lambda + 1) / setup.omega->getOmegaED(lambda), 1.0, 2e-3) << lambda;
        EXPECT_NEAR(dc * (2 * lambda + 1) / setup.omega->getOmegaDC(lambda), 1.0, 2e-3) << lambda;
    }
}

TEST_F(OmegaReportReadBack, RadiativeRatesAndTheirPartition)
{
    const auto rate = [&](const QString& label) {
        const auto rows = matchesOf(text, QStringLiteral(R"(^ %1\s*=\s*(\d+\.\d\d) s\^-1$)")
                                              .arg(QRegularExpression::escape(label)));
        EXPECT_EQ(rows.size(), 1) << qPrintable(label);
        return rows.isEmpty() ? QString() : rows[0].captured(1);
    };
    // Arad_lambda = A_lambda Omega_lambda; A_lambda at n = 1.6 from the
    // constants at n = 1.5 (omega_reference.py) scaled by chi(1.6) / chi(1.5).
    const double chiRatio = (1.6 * std::pow(1.6 * 1.6 + 2, 2)) / (1.5 * std::pow(1.5 * 1.5 + 2, 2));
    const double perOmega[3] = {3.0002908849374626e+21, 1.5178344777231476e+21, 8.277786233591102e+19};
    double ed = 0.0;
    const QString labels[3] = {QStringLiteral("Arad(ED02) (5D0->7F2)"), QStringLiteral("Arad(ED04) (5D0->7F4)"),
        QStringLiteral("Arad(ED06) (5D0->7F6)")};
    for (int k = 0; k < 3; ++k) {
        const double expected = perOmega[k] * chiRatio * setup.omega->getOmega(2 * k + 2);
        EXPECT_PRINTED(rate(labels[k]), expected);
        ed += expected;
    }
    // Magnetic dipole: 64 pi^4 sigma^3 / (3h) n^3 9.6e-42 with sigma = 16921 cm^-1.
    const double md = 64.0 * std::pow(3.14159265359, 4) * std::pow(16921.0, 3) / 1.987820871e-26 * std::pow(1.6, 3)
        * 9.6e-42;
    EXPECT_PRINTED(rate(QStringLiteral("Arad(ED) (5D0->7FJ, J=2,4,6)")), ed);
    EXPECT_PRINTED(rate(QStringLiteral("Arad(MD) (5D0->7F1)")), md);
    EXPECT_PRINTED(rate(QStringLiteral("Arad [Arad(ED) + Arad(MD)]")), ed + md);
    EXPECT_TRUE(text.contains(QStringLiteral("\n Chosen Refractive Index = 1.600\n")));

    // Partition by atom: every donor once, shares adding up to Arad(ED).
    const auto atoms = matchesOf(text, QStringLiteral(R"(^(\S*)\((\d+)\)\s+%1\s+%1 %$)").arg(number));
    ASSERT_EQ(atoms.size(), donorCount);
    const auto totals = matchesOf(text, QStringLiteral(R"(^Arad\(ED\)\s+%1  100\.00 %$)").arg(number));
    ASSERT_EQ(totals.size(), 2);
    const QString total = totals[0].captured(1);
    EXPECT_EQ(totals[1].captured(1), total);
    EXPECT_EQ(total, rate(QStringLiteral("Arad(ED) (5D0->7FJ, J=2,4,6)")));
    EXPECT_PRINTED(total, ed);
    double shareSum = 0.0, percentSum = 0.0;
    QMap<int, double> shares;
    const QMap<int, QString> ligandOfAtom {{2, QStringLiteral("acac")}, {4, QStringLiteral("acac")},
        {3, QStringLiteral("phen")}, {7, QStringLiteral("phen")}, {6, QStringLiteral("water")},
        {5, QStringLiteral("fluoride")}, {9, QStringLiteral("thiocyanate")}};
    for (int d = 0; d < donorCount; ++d) {
        const int atom = atoms[d].captured(2).toInt();
        EXPECT_EQ(atom, d + 2);
        EXPECT_EQ(atoms[d].captured(1), ligandOfAtom.value(atom)); // atoms 8 and 10 belong to no ligand
        shares[atom] = atoms[d].captured(3).toDouble();
        shareSum += shares[atom];
        percentSum += atoms[d].captured(4).toDouble();
        EXPECT_NEAR(atoms[d].captured(4).toDouble(), 100.0 * shares[atom] / ed, 0.006 + 0.5 / ed);
    }
    EXPECT_NEAR(shareSum, ed, donorCount * 0.005 + 0.005);
    EXPECT_NEAR(percentSum, 100.0, donorCount * 0.005);

    const auto groups = matchesOf(text, QStringLiteral(R"(^(acac|phen|water|fluoride|thiocyanate)\s+%1\s+%1 %$)")
                                            .arg(number));
    ASSERT_EQ(groups.size(), ligandLines.size());
    for (const auto& m : groups) {
        double expected = 0.0;
        int members = 0;
        for (auto it = ligandOfAtom.cbegin(); it != ligandOfAtom.cend(); ++it)
            if (it.value() == m.captured(1)) {
                expected += shares[it.key()];
                ++members;
            }
        EXPECT_NEAR(m.captured(2).toDouble(), expected, 0.005 * (members + 1)) << qPrintable(m.captured(0));
        EXPECT_NEAR(m.captured(3).toDouble(), 100.0 * expected / ed, 0.006 + 0.5 * members / ed);
    }
}

TEST_F(OmegaReportReadBack, LigandFieldParameters)
{
    const auto rows = matchesOf(text,
        QStringLiteral(R"(^Bkq\((\d),(-?\d)\)\s*=\s*%1 \+\s*%1i cm\^-1\s+\|Bkq\(\1,\2\)\| =\s*%1 cm\^-1$)").arg(number));
    ASSERT_EQ(rows.size(), 5 + 9 + 13);
    for (const auto& m : rows) {
        const int k = m.captured(1).toInt(), q = m.captured(2).toInt();
        // sum_i e^2 sqrt(4 pi / (2k+1)) <r^k> rho_i (2 beta_i)^(k+1) g_i / R_i^(k+1) conj(Y_k^q(i)), in cm^-1
        std::complex<double> sum;
        for (int atom = 2; atom <= donorCount + 1; ++atom) {
            const CoordSPH position = data().getCoordSPH(atom);
            MyComplex y = sphericalHarmonic(position, k, std::abs(q));
            if (q < 0) {
                const double sign = q % 2 == 0 ? 1.0 : -1.0;
                y = MyComplex {sign * y.re, -sign * y.im};
            }
            const double r = position.r * 1e-8;
            sum += Eu3::elementaryCharge * Eu3::elementaryCharge * std::sqrt(Eu3::fourPi / (2 * k + 1))
                * Eu3::radialIntegral(k) * setup.omega->getRo(atom)
                * std::pow(2.0 * setup.omega->getBeta(atom), k + 1) * setup.omega->getChargeFactor(atom)
                / std::pow(r, k + 1) * std::complex<double>(y.re, -y.im);
        }
        sum *= 5.035e15;
        SCOPED_TRACE(qPrintable(m.captured(0)));
        EXPECT_PRINTED(m.captured(3), sum.real());
        EXPECT_PRINTED(m.captured(4), sum.imag());
        EXPECT_PRINTED(m.captured(5), std::abs(sum));
    }
}

// ---------------------------------------------------------------------------
// Layout details that other programs and readers rely on.

TEST(OmegaReport, OmegaLinesParseBackAsTheGraphicalProgramReadsThem)
{
    // Third field of the line, "e-20" dropped.
    const auto readBack = [](const QString& text, const QString& start) {
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (line.trimmed().startsWith(start)) {
                QString field = line.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(2);
                return field.remove(QStringLiteral("e-20"));
            }
        return QString();
    };
    const struct {
        const char* name;
        bool zeroG, zeroAlpha;
    } cases[] = {{"computed", false, false}, {"all g zero", true, false}, {"all alpha zero", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportSetup setup;
        for (int atom = 2; atom <= donorCount + 1; ++atom) {
            if (c.zeroG)
                setup.g[atom] = 0.0;
            if (c.zeroAlpha)
                setup.alpha[atom] = 0.0;
        }
        ASSERT_TRUE(setup.omega->calcOmega());
        const QString text = setup.report(allSections());
        for (int lambda = 2; lambda <= 6; lambda += 2) {
            SCOPED_TRACE(lambda);
            const QString omega = readBack(text, QStringLiteral("omega(%1) =").arg(lambda));
            const QString ed = readBack(text, QStringLiteral("omegaED(%1) =").arg(lambda));
            const QString dc = readBack(text, QStringLiteral("omegaDC(%1) =").arg(lambda));
            EXPECT_EQ(omega.size() - omega.indexOf(QLatin1Char('.')) - 1, lambda == 6 ? 4 : 2);
            EXPECT_PRINTED(omega, setup.omega->getOmega(lambda) * 1e20);
            if (c.zeroG) {
                // A vanishing forced-dipole part reads 0.0001; Omega is then the dynamic coupling.
                EXPECT_EQ(ed, QStringLiteral("0.0001"));
                EXPECT_DOUBLE_EQ(setup.omega->getOmega(lambda), setup.omega->getOmegaDC(lambda));
            } else {
                EXPECT_PRINTED(ed, setup.omega->getOmegaED(lambda) * 1e20);
            }
            if (c.zeroAlpha)
                EXPECT_EQ(dc, QStringLiteral("0.0000"));
            else
                EXPECT_PRINTED(dc, setup.omega->getOmegaDC(lambda) * 1e20);
        }
        EXPECT_FALSE(text.contains(QStringLiteral("nan")));
        EXPECT_FALSE(text.contains(QStringLiteral("inf")));
    }
}

TEST(OmegaReport, AtomSuffixesNarrowAtAtomTen)
{
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    setup.useQDC();
    const QString text = setup.report(allSections());
    const QStringList expected = {
        QStringLiteral("\n     ro(9)  = "), QStringLiteral("\n     ro(10) = "),
        QStringLiteral("\n atomic charges(9)  = "), QStringLiteral("\n atomic charges(10) = "),
        QStringLiteral("\nY(1,0,9) =    "), QStringLiteral("\nY(1,0,10)=    "),
        QStringLiteral("|Y(1,0,9)|  = "), QStringLiteral("|Y(1,0,10)| = "),
        QStringLiteral("\nGAMA(1,0,9)  = "), QStringLiteral("\nGAMA(1,0,10) = "),
        QStringLiteral("|GAMA(1,0,9)|  = "), QStringLiteral("|GAMA(1,0,10)| = "),
        // gama keeps one blank before the equals sign in its modulus label.
        QStringLiteral("\ngama(1,0,9)  = "), QStringLiteral("  |gama(1,0,9)| = "),
        QStringLiteral("  |gama(1,0,10)| = "),
    };
    for (const QString& piece : expected)
        EXPECT_TRUE(text.contains(piece)) << qPrintable(piece);
}

TEST(OmegaReport, EachLatticeFlagPrintsItsOwnLines)
{
    const QRegularExpression atomLine(QStringLiteral(R"(^(GAMA|gama)\(\d)"));
    const QRegularExpression sumLine(QStringLiteral(R"(^Sum (GAMA|gama)\()"));
    const struct {
        const char* name;
        bool OmegaPrintingOptions::*flag;
        int atomLines, sumLines;
        bool dynamicCouplingHeading;
    } cases[] = {
        {"GAMA", &OmegaPrintingOptions::GAMA, 36 * donorCount, 0, true},
        {"sumGAMA", &OmegaPrintingOptions::sumGAMA, 0, 36, true},
        {"gama", &OmegaPrintingOptions::gama, 36 * donorCount, 0, false},
        {"sumgama", &OmegaPrintingOptions::sumgama, 0, 36, false},
    };
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OmegaPrintingOptions options;
        options.*(c.flag) = true;
        const QString text = setup.report(options);
        EXPECT_EQ(linesMatching(text, atomLine).size(), c.atomLines);
        EXPECT_EQ(linesMatching(text, sumLine).size(), c.sumLines);
        EXPECT_EQ(text.count(QStringLiteral("   Parameters GAMA(t,p,i)  \n")), c.dynamicCouplingHeading ? 1 : 0);
        EXPECT_EQ(text.count(QStringLiteral(" Odd-rank ligand field parameters, gama(t,p,i)\n")),
            c.dynamicCouplingHeading ? 0 : 1);
    }
}

// ---------------------------------------------------------------------------
// Undefined ratios and inputs the report cannot print.

TEST(OmegaReport, ZeroTotalsAndZeroDenominatorsPrintNoNanOrInf)
{
    const struct {
        const char* name;
        int coordNumber;
        bool zeroParameters;
        QStringList ligands;
    } cases[] = {
        {"g and alpha zero", donorCount, true, ligandLines},
        {"no coordinating atoms", 0, false, {QStringLiteral("empty")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportSetup setup;
        setup.omega->setCoordNumber(c.coordNumber);
        setup.omega->setLigandAtomsByLigandVector(c.ligands);
        if (c.zeroParameters) {
            setup.g.fill(0.0);
            setup.alpha.fill(0.0);
        }
        ASSERT_TRUE(setup.omega->calcOmega()) << qPrintable(setup.omega->getLastError());
        setup.omega->setParametersQDC(0.5, 1.2, 0.0); // C = 0: no D/C
        setup.omega->setAtomicCharges(QVector<double>(c.coordNumber + 2, -0.5));
        setup.omega->setSuperDeslocalizability(QVector<double>(c.coordNumber + 2, 0.7));
        const QString text = setup.report(allSections());
        ASSERT_FALSE(text.isEmpty()) << qPrintable(setup.omega->getLastError());
        EXPECT_FALSE(text.contains(QStringLiteral("nan"))) << qPrintable(text);
        EXPECT_FALSE(text.contains(QStringLiteral("inf")));
        EXPECT_TRUE(text.contains(QStringLiteral(" Ratio D/C =  n/a au^-1 \n")));
        EXPECT_TRUE(text.contains(QStringLiteral("\nArad(ED)       0.00  100.00 %\n")));
        const auto groups = matchesOf(text, QStringLiteral(R"(^%1\s+0\.00\s+0\.00 %$)").arg(c.ligands.first().split(' ').first()));
        EXPECT_EQ(groups.size(), 1);
        if (c.coordNumber > 0)
            EXPECT_EQ(matchesOf(text, QStringLiteral(R"(^\S*\(\d+\)\s+0\.00\s+0\.00 %$)")).size(), donorCount);
    }
}

TEST(OmegaReport, RefusedInputsGiveNoTextAndAReason)
{
    const struct {
        const char* name;
        std::function<void(ReportSetup&)> spoil;
        const char* reason;
    } cases[] = {
        {"no g and alpha arrays",
            [](ReportSetup& s) {
                double* none = nullptr;
                s.omega->setChargeFactorAndAlpha(none, none);
            },
            "charge factors"},
        {"no refractive index for the rates", [](ReportSetup& s) { s.omega->setRefractiveIndex(0.0); },
            "refractive index"},
        {"more donors than atoms", [](ReportSetup& s) { s.omega->setCoordNumber(12); }, "geometry has only 12 atoms"},
        {"QDC data shorter than the donors",
            [](ReportSetup& s) {
                s.omega->setParametersQDC(0.3, 2.0, 0.8);
                s.omega->setAtomicCharges(QVector<double>(donorCount + 1, 0.0));
                s.omega->setSuperDeslocalizability(QVector<double>(donorCount + 2, 0.0));
            },
            "QDC section"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportSetup setup;
        ASSERT_TRUE(setup.omega->calcOmega());
        c.spoil(setup);
        EXPECT_TRUE(setup.report(allSections()).isEmpty());
        EXPECT_TRUE(setup.omega->getLastError().contains(QLatin1String(c.reason)))
            << qPrintable(setup.omega->getLastError());
    }

    // A geometry whose first atom is not Eu: no object to report on.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray mop = OrvaneFixtures::contents(reportsDir() + QStringLiteral("/eu_n9.mop"));
    mop.replace("\nEu ", "\nTb ");
    const QString terbium = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("tb.mop")), mop);
    OrvaneOmega omega(nullptr, 1, terbium, QString());
    ASSERT_FALSE(omega.getLastError().isEmpty());
    EXPECT_TRUE(omega.createOutFile(QString()).isEmpty());
    EXPECT_FALSE(omega.getLastError().isEmpty());
}

// ---------------------------------------------------------------------------
// Written to a file.

TEST(OmegaReport, FileHoldsTheReturnedText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    setup.omega->setOmegaPrintingOptions(allSections());
    const QString text = setup.omega->createOutFile(QString());
    const QString path = dir.filePath(QStringLiteral("eu_n9.omega"));
    OrvaneFixtures::writeFile(path, "an older report, longer than nothing\r\n");

    EXPECT_TRUE(setup.omega->createOutFile(path).isEmpty());
    EXPECT_TRUE(setup.omega->getLastError().isEmpty()) << qPrintable(setup.omega->getLastError());
    const QByteArray bytes = OrvaneFixtures::contents(path);
    EXPECT_EQ(bytes, text.toUtf8());
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_TRUE(bytes.endsWith('\n'));
}

TEST(OmegaReport, UnwritableFileIsReportedWithItsNameAndReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder in place of the file, and a file in place of a parent folder.
    const QString folder = dir.filePath(QStringLiteral("taken.omega"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString underFile
        = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("plain")), "x") + QStringLiteral("/r.omega");
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    for (const QString& target : {folder, underFile}) {
        SCOPED_TRACE(qPrintable(target));
        EXPECT_TRUE(setup.omega->createOutFile(target).isEmpty());
        const QString reason = setup.omega->getLastError();
        EXPECT_TRUE(reason.contains(target)) << qPrintable(reason);
        EXPECT_GT(reason.size(), target.size() + 30) << "the system's reason is missing: " << qPrintable(reason);
    }
    // The next successful report clears the reason.
    EXPECT_TRUE(setup.omega->createOutFile(dir.filePath(QStringLiteral("good.omega"))).isEmpty());
    EXPECT_TRUE(setup.omega->getLastError().isEmpty());
}

namespace {
QStringList qtWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        qtWarnings.append(message);
}
} // namespace

TEST(OmegaReport, WrittenFromAnotherThread)
{
    // A fit writes its final report on its worker thread.
    ReportSetup setup;
    ASSERT_TRUE(setup.omega->calcOmega());
    setup.omega->setOmegaPrintingOptions(allSections());
    const QString here = setup.omega->createOutFile(QString());
    qtWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    const QString there = std::async(std::launch::async, [&] { return setup.omega->createOutFile(QString()); }).get();
    qInstallMessageHandler(previous);
    EXPECT_EQ(there, here);
    EXPECT_TRUE(qtWarnings.isEmpty()) << qPrintable(qtWarnings.join(QLatin1Char('\n')));
}

TEST(OmegaReport, RefusedLigandListLeavesItsReasonInPlaceOfThePartition)
{
    // A chemist listing every atom of the acac ligand: atom 12 is no donor.
    ReportSetup setup;
    setup.omega->setLigandAtomsByLigandVector({QStringLiteral("acac 2 4 12"), QStringLiteral("water 6")});
    ASSERT_TRUE(setup.omega->calcOmega());
    const QString text = setup.report(allSections());
    const QString reason = QStringLiteral("The ligand line \"acac 2 4 12\" names atom \"12\", which is not one of the "
                                          "coordinating atoms 2 to 10.");
    EXPECT_FALSE(text.contains(QLatin1String("Chemical Partition by Atom")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Chemical Partition of Arad(ED) not calculated: ") + reason + '\n'))
        << qPrintable(text);
    EXPECT_EQ(setup.omega->getLastError(), reason);

    // With no ligand lines at all there is no section and nothing to explain.
    setup.omega->setLigandAtomsByLigandVector(QStringList());
    const QString without = setup.report(allSections());
    EXPECT_FALSE(without.contains(QLatin1String("Chemical Partition")));
    EXPECT_TRUE(setup.omega->getLastError().isEmpty()) << qPrintable(setup.omega->getLastError());
}
