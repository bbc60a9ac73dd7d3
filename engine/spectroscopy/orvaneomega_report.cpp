// The intensity-parameter report (.omega) of OrvaneOmega.

#include "orvaneomega.h"

#include "orvanearadpartition.h"
#include "orvaneeu3model.h"
#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvaneomegareportlines.h"
#include "orvanereportfile.h"
#include "orvanespectroscopiccalculation.h"
#include "sphericalharmonic.h"

#include <Eigen/Dense>

#include <cmath>
#include <memory>

namespace Col = OrvaneColumns;
namespace Eu3 = OrvaneEu3Model;

namespace {

QString num(int value)
{
    return QString::number(value);
}

// Atom suffixes: the blanks shrink once the atom number takes two digits.
QString suffixS(int i) { return i <= 9 ? QStringLiteral(")  = ") : QStringLiteral(") = "); }
QString suffixT(int i) { return i <= 9 ? QStringLiteral(")|  = ") : QStringLiteral(")| = "); }
QString suffixU(int i) { return i <= 9 ? QStringLiteral(") = ") : QStringLiteral(")="); }

double modulus(const MyComplex& z)
{
    return std::sqrt(z.re * z.re + z.im * z.im);
}

// A share of a total, in percent; a zero total (no donors, or all g and
// alpha zero) gives 0 instead of nan.
double percentOf(double part, double total)
{
    return total != 0.0 ? 100.0 * part / total : 0.0;
}

QString dashes(int count)
{
    return QString(count, QLatin1Char('-'));
}

// printf writes a value that is not finite as "inf", "-inf" or "nan", after a
// blank, a sign or "="; from `from` on, where the report's numbers start (the
// file name above may hold anything).
bool containsNonFiniteNumber(const QString& text, int from)
{
    for (const QLatin1String word : {QLatin1String("inf"), QLatin1String("nan")}) {
        for (int at = text.indexOf(word, from); at >= 0; at = text.indexOf(word, at + 1)) {
            const QChar before = at > 0 ? text.at(at - 1) : QLatin1Char(' ');
            const bool numberBefore = before.isSpace() || before == QLatin1Char('-') || before == QLatin1Char('+')
                || before == QLatin1Char('=');
            const bool wordGoesOn = at + 3 < text.size() && text.at(at + 3).isLetterOrNumber();
            if (numberBefore && !wordGoesOn)
                return true;
        }
    }
    return false;
}

} // namespace

MyComplex OrvaneOmega::Bkq(const int& k, const int& q, const int& i) const
{
    const double r = inputData->getCoordSPH(i).r * Eu3::angstromToCm;
    const double e2 = Eu3::elementaryCharge * Eu3::elementaryCharge;
    const double factor = e2 * std::sqrt(Eu3::fourPi / (2 * k + 1)) * radialIntegral[k] * ro[i]
        * std::pow(2.0 * beta[i], k + 1) * chargeFactor[i] / std::pow(r, k + 1);
    const MyComplex y = harmonic(k, q, i);
    return MyComplex {factor * y.re, -factor * y.im};
}

bool OrvaneOmega::checkReportInputs()
{
    // The same conditions as a calculation: every section reads the donors'
    // positions and, for N > 0, the caller's g and alpha arrays.
    if (!checkInputs())
        return false;
    if (useQDC) {
        const int needed = coordNumber + 2;
        if (atomicCharges.size() < needed || superDeslocalizability.size() < needed) {
            lastError = QStringLiteral("The QDC section needs the atomic charges and superdelocalizabilities of "
                                       "atoms 2 to %1 (indexed by atom number, %2 entries); %3 and %4 were given.")
                            .arg(coordNumber + 1)
                            .arg(needed)
                            .arg(atomicCharges.size())
                            .arg(superDeslocalizability.size());
            return false;
        }
    }
    return true;
}

QString OrvaneOmega::createOutFile(const QString& name)
{
    lastError.clear();
    if (!checkReportInputs())
        return QString();

    const OmegaPrintingOptions& options = printingOptions;
    QString out = OrvaneInputData::ORVANETitle + QStringLiteral("\n\n\n");
    out += QStringLiteral("The data shown below were calculated from the geometry read in following file: \n");
    out += QStringLiteral("    ") + fileName + QStringLiteral("\n\n");
    const int numbersFrom = out.size();

    out += fitSection;
    if (options.sphericalCoordinates)
        writeSphericalCoordinates(out);
    if (useQDC)
        writeParametersQDC(out);
    if (options.gAndAlpha)
        writeChargeFactorsAndAlpha(out);
    if (options.omega)
        writeOmega(out);
    if (options.constantValues)
        writeConstantValues(out);
    if (options.sphericalHarmonicals)
        writeSphericalHarmonics(out);
    if (options.betaAndRo)
        writeOverlapAndBeta(out);
    if (options.GAMA || options.sumGAMA)
        writeLatticeSums(out, true);
    if (options.bltpParametersDC)
        writeBltp(out, 2);
    if (options.omegaDC)
        writeOmegaPart(out, false);
    if (options.gama || options.sumgama)
        writeLatticeSums(out, false);
    if (options.bltpParametersED)
        writeBltp(out, 1);
    if (options.omegaED)
        writeOmegaPart(out, true);
    if (options.bltpParameters)
        writeBltp(out, 0);
    if (options.arad && !writeRadiativeRates(out))
        return QString();
    if (options.ligandContributionForArad)
        writeAradPartition(out);
    out += QStringLiteral("\n\n");
    if (options.bkq)
        writeBkq(out);
    out += requiredCitations;

    // Coordinates near the largest double overflow the derived terms: a
    // report with inf or nan in it is no result.
    if (containsNonFiniteNumber(out, numbersFrom)) {
        lastError = QStringLiteral("The intensity report holds values that are not finite numbers: the geometry "
                                   "or the charge factors and polarizabilities are out of range. No report was "
                                   "written.");
        return QString();
    }
    if (name.isEmpty())
        return out;
    QString reason;
    if (!OrvaneReportFile::write(name, out, reason))
        lastError = reason;
    return QString();
}

void OrvaneOmega::writeSphericalCoordinates(QString& out) const
{
    out += QStringLiteral("------------------------------------------------------\n"
                          " Spherical coordinates of the coordination polyhedron \n"
                          "------------------------------------------------------\n\n");
    out += QStringLiteral("ATOM        R          theta         phi\n"
                          "        (Angstroms)  (degrees)    (degrees)\n");
    for (int i = 1; i <= coordNumber + 1; ++i) {
        const CoordSPH position = inputData->getCoordSPH(i);
        out += QLatin1Char(' ') + Col::left(2, inputData->getAtomLabel(i))
            + Col::right(13, Col::signlessFixed(4, position.r))
            + Col::right(12, Col::signlessFixed(2, position.theta))
            + Col::right(12, Col::signlessFixed(2, position.phi)) + QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeParametersQDC(QString& out) const
{
    out += dashes(67) + QLatin1Char('\n') + QStringLiteral("          QDC Ajusted Values") + QLatin1Char('\n')
        + dashes(67) + QLatin1Char('\n');
    out += QStringLiteral(" au^-1 = inverse atomic units       A^3 = cubic Angstroms\n\n");
    // D/C is undefined for C = 0: print a mark instead of inf or nan.
    const QString ratio = C != 0.0 ? Col::signlessFixed(2, D / C) : QStringLiteral("n/a");
    out += QStringLiteral(" Q =") + Col::right(7, Col::signlessFixed(4, Q)) + Col::left(11, QStringLiteral(" au^-1"))
        + QStringLiteral(" D =")
        + Col::right(8, Col::signlessFixed(4, D)) + Col::left(15, QStringLiteral(" au^-1.A^3")) + QStringLiteral(" C =")
        + Col::right(8, Col::signlessFixed(4, C))
        + Col::left(7, QStringLiteral(" A^3")) + QStringLiteral(" Ratio D/C =") + Col::right(5, ratio)
        + Col::left(7, QStringLiteral(" au^-1")) + QStringLiteral("\n\n");
    out += QStringLiteral("-------------------------------------------------------------------\n"
                          " Atomic Charges (au)             Superdelocalizabilities (au)\n"
                          "-------------------------------------------------------------------\n\n");
    for (int i = 2; i <= coordNumber + 1; ++i) {
        out += Col::left(8, QStringLiteral(" atomic charges(") + num(i) + suffixS(i))
            + Col::right(8, Col::signlessFixed(4, atomicCharges.at(i)))
            + Col::right(19, QStringLiteral(" SDE(") + num(i) + suffixS(i))
            + Col::right(8, Col::signlessFixed(4, superDeslocalizability.at(i)))
            + QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeChargeFactorsAndAlpha(QString& out) const
{
    out += QStringLiteral("------------------------------------------------------------------\n"
                          " Charge Factors         Polarizabilies (cubic Angstroms)          \n"
                          "------------------------------------------------------------------\n\n");
    for (int i = 2; i <= coordNumber + 1; ++i) {
        out += Col::left(8, QStringLiteral(" g(") + num(i) + suffixS(i))
            + Col::right(8, Col::signlessFixed(4, chargeFactor[i]))
            + Col::right(19, QStringLiteral(" alpha(") + num(i) + suffixS(i))
            + Col::right(8, Col::signlessFixed(4, alpha[i] * 1e24))
            + QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeOmega(QString& out) const
{
    out += QStringLiteral("-------------------------------------------------------\n"
                          " Theoretical Judd-Ofelt Intensity Parameters, omega(l) \n"
                          "-------------------------------------------------------\n\n");
    // The forms read these lines back (OrvaneOmegaReport::read).
    for (int lambda = 2; lambda <= 6; lambda += 2)
        out += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaName, lambda, omega[lambda] * 1e20,
                                            lambda == 6 ? 4 : 2);
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeConstantValues(QString& out) const
{
    out += QStringLiteral("-----------------------------------\n"
                          "  Constant values for the Eu3+ Ion \n"
                          "-----------------------------------\n\n");
    out += QStringLiteral(" Used Racah Tensor Operator:  <f|C(2)|f> =")
        + Col::right(8, Col::signlessFixed(4, racahTensor[2]))
        + Col::right(20, QStringLiteral("<f|C(4)|f> =")) + Col::right(8, Col::signlessFixed(4, racahTensor[4]))
        + Col::right(20, QStringLiteral("<f|C(6)|f> =")) + Col::right(8, Col::signlessFixed(4, racahTensor[6]))
        + QStringLiteral("\n\n");
    out += QStringLiteral(" Used Shielding Factor:         sigma(2) =")
        + Col::right(8, Col::signlessFixed(3, shieldingFactor[2]))
        + Col::right(20, QStringLiteral("sigma(4) =")) + Col::right(8, Col::signlessFixed(3, shieldingFactor[4]))
        + Col::right(20, QStringLiteral("sigma(6) =")) + Col::right(8, Col::signlessFixed(3, shieldingFactor[6]))
        + QStringLiteral("\n\n");
    out += QStringLiteral(" Radial Integrals:  r(2) =") + Col::right(10, Col::signlessScientific(3, radialIntegral[2]))
        + QStringLiteral(" cm^2") + Col::right(16, QStringLiteral("r(4) ="))
        + Col::right(10, Col::signlessScientific(3, radialIntegral[4]))
        + QStringLiteral(" cm^4") + Col::right(16, QStringLiteral("r(6) ="))
        + Col::right(10, Col::signlessScientific(3, radialIntegral[6]))
        + QStringLiteral(" cm^6") + Col::right(16, QStringLiteral("r(8) ="))
        + Col::right(10, Col::signlessScientific(3, radialIntegral[8]))
        + QStringLiteral(" cm^8\n\n");
    auto theta = [](int t, int lambda) { return Col::right(7, Col::signlessFixed(3, tet(t, lambda))); };
    out += QStringLiteral(" Numberic Factors of Europium Ion, teta(t,l):\n    teta(1,2) =") + theta(1, 2)
        + QStringLiteral("    teta(3,2) =") + theta(3, 2) + QStringLiteral("\n    teta(3,4) =") + theta(3, 4)
        + QStringLiteral("    teta(5,4) =") + theta(5, 4) + QStringLiteral("\n    teta(5,6) =") + theta(5, 6)
        + QStringLiteral("    teta(7,6) =") + theta(7, 6) + QStringLiteral("\n\n");
    out += QStringLiteral(" Delta E = ") + Col::signlessScientific(4, deltaE)
        + QStringLiteral("\n\n Delta E is a constant, approximately given by the energy difference between the "
                         "barycenters\n of the ground 4fN and first opposite parity excited of configuration "
                         "4f(N-1)5d of the europium ion)\n");
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeSphericalHarmonics(QString& out) const
{
    out += QStringLiteral("---------------------------------------------------------------------\n"
                          " Spherical Harmonicals Y(t,p,i), where i represents the ligand atoms \n"
                          "---------------------------------------------------------------------\n\n");
    for (int t = 1; t <= 7; t += 2) {
        for (int p = -t; p <= t; ++p) {
            for (int i = 2; i <= coordNumber + 1; ++i) {
                const MyComplex y = harmonic(t, p, i);
                const QString index = num(t) + QLatin1Char(',') + num(p) + QLatin1Char(',') + num(i);
                out += Col::left(13, QStringLiteral("Y(") + index + suffixU(i))
                    + Col::right(8, Col::signlessFixed(4, y.re))
                    + QStringLiteral(" + ") + Col::right(8, Col::signlessFixed(4, y.im)) + QStringLiteral("i        ")
                    + Col::left(16, QStringLiteral("|Y(") + index + suffixT(i))
                    + Col::right(7, Col::signlessScientific(3, modulus(y)))
                    + QLatin1Char('\n');
            }
        }
    }
    out += QLatin1Char('\n');
}

void OrvaneOmega::writeOverlapAndBeta(QString& out) const
{
    out += QStringLiteral("---------------------------------------------------\n"
                          " Quantities associated to the Simple Overlap Model \n"
                          "---------------------------------------------------\n\n");
    out += QStringLiteral("    Overlap (degree of covalency of the metal-ligand bond), ro(i), i standing for each "
                          "ligand atom.\n\n");
    for (int i = 2; i <= coordNumber + 1; ++i)
        out += QStringLiteral("     ro(") + num(i) + suffixS(i) + Col::signlessFixed(4, ro[i]) + QLatin1Char('\n');
    out += QLatin1Char('\n');
    out += QStringLiteral("    Beta factor (according to the SOM the beta factor is introduced as a parameter to "
                          "account for the fact that the charge\n    distributions may not necessarily be centered "
                          "at the middle distances Ri/2), beta (i), i standing for each ligand atom.\n\n");
    for (int i = 2; i <= coordNumber + 1; ++i)
        out += QStringLiteral("     beta(") + num(i) + suffixS(i) + Col::signlessFixed(4, beta[i]) + QLatin1Char('\n');
    out += QLatin1Char('\n');
}

// The GAMA(t,p,i) (dynamic coupling) or gama(t,p,i) (odd-rank ligand field)
// terms of every donor and their sums over the donors.
void OrvaneOmega::writeLatticeSums(QString& out, bool dynamicCoupling) const
{
    const bool perAtom = dynamicCoupling ? printingOptions.GAMA : printingOptions.gama;
    const bool sums = dynamicCoupling ? printingOptions.sumGAMA : printingOptions.sumgama;
    const QString name = dynamicCoupling ? QStringLiteral("GAMA") : QStringLiteral("gama");
    if (dynamicCoupling)
        out += QStringLiteral("---------------------------\n"
                              "   Parameters GAMA(t,p,i)  \n"
                              "---------------------------\n\n");
    else
        out += QStringLiteral("----------------------------------------------\n"
                              " Odd-rank ligand field parameters, gama(t,p,i)\n"
                              "----------------------------------------------\n\n");

    for (int t = 1; t <= 7; t += 2) {
        QString unit;
        if (dynamicCoupling)
            unit = t == 1 ? QStringLiteral("cm   ") : QStringLiteral("cm^-%1").arg(t - 2);
        else
            unit = QStringLiteral("erg cm^-%1").arg(t);
        for (int p = -t; p <= t; ++p) {
            MyComplex sum;
            for (int i = 2; i <= coordNumber + 1; ++i) {
                const MyComplex term = dynamicCoupling ? GAMMA(t, p, i) : gamma(t, p, i);
                sum.re += term.re;
                sum.im += term.im;
                if (!perAtom)
                    continue;
                const QString index = num(t) + QLatin1Char(',') + num(p) + QLatin1Char(',') + num(i);
                // Only the GAMA modulus label follows the atom-number width.
                const QString modulusEnd = dynamicCoupling ? suffixT(i) : QStringLiteral(")| = ");
                out += name + QLatin1Char('(') + index + suffixS(i)
                    + Col::right(10, Col::signlessScientific(3, term.re))
                    + QStringLiteral(" + ") + Col::right(10, Col::signlessScientific(3, term.im)) + QStringLiteral("i ")
                    + unit
                    + Col::right(24, QLatin1Char('|') + name + QLatin1Char('(') + index + modulusEnd)
                    + Col::right(10, Col::signlessScientific(3, modulus(term))) + QLatin1Char(' ') + unit
                    + QLatin1Char('\n');
            }
            if (sums) {
                const QString index = num(t) + QLatin1Char(',') + num(p);
                out += QStringLiteral("Sum ") + name + QLatin1Char('(') + index + QStringLiteral(") = ")
                    + Col::right(10, Col::signlessScientific(3, sum.re)) + QStringLiteral(" + ")
                    + Col::right(10, Col::signlessScientific(3, sum.im))
                    + QStringLiteral("i ") + unit
                    + Col::right(21, QLatin1Char('|') + name + QLatin1Char('(') + index + QStringLiteral(")| = "))
                    + Col::right(10, Col::signlessScientific(3, modulus(sum))) + QLatin1Char(' ') + unit
                    + QLatin1Char('\n');
            }
        }
    }
    out += QLatin1Char('\n');
}

// part 0: B = BEd + BDc; 1: BEd alone; 2: BDc alone.
void OrvaneOmega::writeBltp(QString& out, int part) const
{
    if (part == 2)
        out += QStringLiteral("-------------------------------------------------\n"
                              "  Dynamics Coupling Bltp Parameters, B(l,t,p) DC \n"
                              "-------------------------------------------------\n\n");
    else if (part == 1)
        out += QStringLiteral("----------------------------------------------\n"
                              " Electric Dipole Bltp Parameters, B(l,t,p) ED \n"
                              "----------------------------------------------\n\n");
    else
        out += QStringLiteral("-------------------------------------------------------\n"
                              " Bltp parameters (B(l,t,p) = B(l,t,p) ED + B(l,t,p) DC)\n"
                              "-------------------------------------------------------\n\n");
    const QString tag = part == 2 ? QStringLiteral(" DC") : part == 1 ? QStringLiteral(" ED") : QString();

    for (int lambda = 2; lambda <= 6; lambda += 2) {
        for (int t = lambda - 1; t <= lambda + 1; t += 2) {
            for (int p = -t; p <= t; ++p) {
                const MyComplex b = part == 2 ? BDc(lambda, t, p) : part == 1 ? BEd(lambda, t, p) : B(lambda, t, p);
                const double size = modulus(b);
                const QString index = num(lambda) + QLatin1Char(',') + num(t) + QLatin1Char(',') + num(p);
                const QString label = QStringLiteral("B(") + index + QLatin1Char(')') + tag;
                const QString modulusLabel = QStringLiteral("|B(") + index + QLatin1Char(')') + tag;
                out += Col::left(part == 0 ? 12 : 15, label + QStringLiteral(" = "))
                    + Col::right(10, Col::signlessScientific(3, b.re))
                    + QStringLiteral(" + ") + Col::right(10, Col::signlessScientific(3, b.im)) + QStringLiteral("i cm")
                    + Col::right(part == 0 ? 22 : 24, modulusLabel + QStringLiteral("| = "))
                    + Col::right(10, Col::signlessScientific(3, size))
                    + QStringLiteral(" cm");
                if (part == 0)
                    out += Col::right(24, modulusLabel + QStringLiteral("|^2 = "))
                        + Col::right(10, Col::signlessScientific(3, size * size))
                        + QStringLiteral(" cm^2");
                out += QLatin1Char('\n');
            }
        }
    }
    if (part != 0)
        out += QLatin1Char('\n');
}

void OrvaneOmega::writeOmegaPart(QString& out, bool forcedDipole) const
{
    if (forcedDipole)
        out += QStringLiteral("-----------------------------------------------------------\n"
                              " Forced Electric Dipole Judd-Ofelt Parameters, omegaED (l) \n"
                              "-----------------------------------------------------------\n\n");
    else
        out += QStringLiteral("-----------------------------------------------------\n"
                              " Dynamics Coupling Judd-Ofelt Parameters, omegaDC(l) \n"
                              "-----------------------------------------------------\n\n");
    const QLatin1String& name = forcedDipole ? OrvaneOmegaReport::omegaEDName : OrvaneOmegaReport::omegaDCName;
    for (int lambda = 2; lambda <= 6; lambda += 2) {
        double value = (forcedDipole ? omegaED[lambda] : omegaDC[lambda]) * 1e20;
        // A vanishing forced-dipole part reads 0.0001, never 0.0000, in the
        // lines that the forms read back.
        if (forcedDipole && value < 0.0001)
            value = 0.0001;
        out += OrvaneOmegaReport::valueLine(name, lambda, value, 4);
    }
    out += QLatin1Char('\n');
}

bool OrvaneOmega::writeRadiativeRates(QString& out)
{
    OrvaneSpectroscopicCalculation rates(nullptr);
    rates.setRefractiveIndex(refractiveIndex);
    rates.setOmegaValues(omega[2] * 1e20, omega[4] * 1e20, omega[6] * 1e20);
    if (!rates.calcArad()) {
        lastError = rates.getLastError();
        return false;
    }
    out += QStringLiteral("---------------------------------------------------------------\n"
                          "             Theoretical Radiative Emission Rates              \n"
                          "---------------------------------------------------------------\n"
                          " ED electric dipole, MD magnetic dipole\n\n");
    out += QStringLiteral(" Chosen Refractive Index = ") + Col::signlessFixed(3, refractiveIndex)
        + QStringLiteral("\n\n");
    out += QStringLiteral(" Arad(ED02) (5D0->7F2)        =") + Col::right(8, Col::signlessFixed(2, rates.getArad02()))
        + QStringLiteral(" s^-1\n");
    out += QStringLiteral(" Arad(ED04) (5D0->7F4)        =") + Col::right(8, Col::signlessFixed(2, rates.getArad04()))
        + QStringLiteral(" s^-1\n");
    out += QStringLiteral(" Arad(ED06) (5D0->7F6)        =") + Col::right(8, Col::signlessFixed(2, rates.getArad06()))
        + QStringLiteral(" s^-1\n\n");
    out += QStringLiteral(" Arad(ED) (5D0->7FJ, J=2,4,6) =")
        + Col::right(8, Col::signlessFixed(2, rates.getArad() - rates.getAradMD()))
        + QStringLiteral(" s^-1\n");
    out += QStringLiteral(" Arad(MD) (5D0->7F1)          =") + Col::right(8, Col::signlessFixed(2, rates.getAradMD()))
        + QStringLiteral(" s^-1\n\n");
    out += QStringLiteral(" Arad [Arad(ED) + Arad(MD)]   =") + Col::right(8, Col::signlessFixed(2, rates.getArad()))
        + QStringLiteral(" s^-1\n");
    return true;
}

void OrvaneOmega::writeAradPartition(QString& out)
{
    // Owned here, without a Qt parent: a fit writes its report on its worker
    // thread, where this object may not live.
    const std::unique_ptr<OrvaneAradPartition> partition(
        new OrvaneAradPartition(nullptr, inputData, coordNumber, refractiveIndex));
    partition->setChargeFactorAndAlpha(chargeFactor, alpha);
    // No ligand lines: no section. A list the partition refuses (an atom that
    // is no donor, say) puts its reason in place of the section and in the
    // last error, so that the section never vanishes without a word.
    if (!partition->setLigandsVector(ligandAtoms)) {
        const QString reason = partition->getLastError();
        if (!reason.isEmpty()) {
            out += QStringLiteral("\n    Chemical Partition of Arad(ED) not calculated: ") + reason + QLatin1Char('\n');
            lastError = reason;
        }
        return;
    }

    const int n = coordNumber;
    Eigen::MatrixXd M(n, n);
    for (int i = 2; i <= n + 1; ++i)
        for (int j = 2; j <= n + 1; ++j) {
            double sum = 0.0;
            for (int lambda = 2; lambda <= 6; lambda += 2)
                sum += partition->calcConstArad(lambda) * partition->E(lambda, i, j);
            M(i - 2, j - 2) = sum;
        }
    const Eigen::MatrixXd shares = partition->calculatePartition(M);
    const double total = shares.sum();

    const QString line63 = dashes(63);
    const QString footer = QStringLiteral("=================================\n")
        + Col::left(10, QStringLiteral("Arad(ED)"))
        + Col::right(9, Col::signlessFixed(2, total)) + Col::right(10, QStringLiteral("100.00 %")) + QLatin1Char('\n');
    out += QLatin1Char('\n') + line63 + QLatin1Char('\n') + QStringLiteral("    Chemical Partition of Arad(ED)")
        + QLatin1Char('\n') + line63 + QStringLiteral("\n\n");
    out += QStringLiteral("---------------------------------\n"
                          "Chemical Partition by Atom (s^-1)\n"
                          "---------------------------------\n");
    for (int k = 0; k < n; ++k) {
        const int atom = k + 2;
        const double share = shares(0, k);
        out += Col::left(11, partition->getLigand(atom).name + QLatin1Char('(') + num(atom) + QStringLiteral(")  "))
            + Col::right(8, Col::signlessFixed(2, share))
            + Col::right(8, Col::signlessFixed(2, percentOf(share, total))) + QStringLiteral(" %\n");
    }
    out += footer + QLatin1Char('\n');
    out += QStringLiteral("-------------------------------------\n"
                          "Chemical Partition by Grouping (s^-1)\n"
                          "-------------------------------------\n");
    for (int l = 0; l < partition->getLigandsNumber(); ++l) {
        double share = 0.0;
        for (int atom : partition->getLigandAtoms(l))
            share += shares(0, atom - 2);
        out += Col::left(11, partition->getLigandsName(l)) + Col::right(8, Col::signlessFixed(2, share))
            + Col::right(8, Col::signlessFixed(2, percentOf(share, total)))
            + QStringLiteral(" %\n");
    }
    out += footer;
}

void OrvaneOmega::writeBkq(QString& out) const
{
    // Bkq in erg, printed in cm^-1.
    const double ergToWavenumber = Eu3::ergToWavenumber;
    out += QStringLiteral("----------------------------------------------\n"
                          "    Bkq ligand field parameters, Bkq(k,q)   \n"
                          "----------------------------------------------\n\n");
    for (int k = 2; k <= 6; k += 2) {
        for (int q = -k; q <= k; ++q) {
            MyComplex sum;
            for (int i = 2; i <= coordNumber + 1; ++i) {
                const MyComplex term = Bkq(k, q, i);
                sum.re += term.re;
                sum.im += term.im;
            }
            sum.re *= ergToWavenumber;
            sum.im *= ergToWavenumber;
            const QString index = num(k) + QLatin1Char(',') + num(q);
            out += QStringLiteral("Bkq(") + index + (q >= 0 ? QStringLiteral(")  = ") : QStringLiteral(") = "))
                + Col::right(10, Col::signlessFixed(2, sum.re)) + QStringLiteral(" + ")
                + Col::right(8, Col::signlessFixed(2, sum.im)) + QStringLiteral("i ")
                + QStringLiteral("cm^-1") + Col::right(21, QStringLiteral("|Bkq(") + index + QStringLiteral(")| = "))
                + Col::right(10, Col::signlessFixed(2, modulus(sum))) + QLatin1Char(' ') + QStringLiteral("cm^-1")
                + QLatin1Char('\n');
        }
    }
    out += QLatin1Char('\n');
}
