// The energy-transfer and quantum-yield reports (.orvane) of
// OrvaneSpectroscopicCalculation.

#include "orvanespectroscopiccalculation.h"

#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvaneomegareportlines.h"
#include "orvanereportfile.h"
#include "orvanerl.h"

namespace Col = OrvaneColumns;

namespace {

// Channels in printing order; the upper-triplet channel only in two-triplet mode.
constexpr int channelOrder[] = {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 14};
constexpr int lastChannel = 14; // its lines close the Franck-Condon and transfer blocks

bool isMultipolar(int channel)
{
    return channel == 5 || channel % 10 < 3;
}

struct ChannelLabels {
    QString franckCondon, transfer, backTransfer;
};

ChannelLabels labelsOf(int channel, bool twoTriplets)
{
    static const char* const levels[5] = {"5D4", "5G6", "5L6", "5D1", "5D0"};
    const QString level = QString::fromLatin1(levels[channel == 5 ? 0 : channel % 10]);
    const QString mechanism = isMultipolar(channel) ? QStringLiteral("MM") : QStringLiteral("EX");
    QString donor, transferDonor;
    if (channel == 5) {
        donor = transferDonor = QStringLiteral("Triplet2");
    } else if (channel < 5) {
        donor = transferDonor = QStringLiteral("Singlet");
    } else {
        // In two-triplet mode the triplet channels are those of the lower
        // triplet; the 5G6 and 5L6 transfer lines keep the plain label.
        donor = twoTriplets ? QStringLiteral("Triplet1") : QStringLiteral("Triplet");
        transferDonor = twoTriplets && channel != 11 && channel != 12 ? QStringLiteral("Triplet1")
                                                                      : QStringLiteral("Triplet");
    }
    const QString separator = channel == 5 ? QStringLiteral(" -> ") : QStringLiteral(" - ");
    ChannelLabels labels;
    labels.franckCondon = QStringLiteral("    F (") + donor + separator + level + QStringLiteral(") = ");
    labels.transfer = QStringLiteral("      Wet") + mechanism + QStringLiteral(" (") + transferDonor
        + QStringLiteral(" -> ") + level + QStringLiteral(") = ");
    labels.backTransfer = QStringLiteral("      Wbt") + mechanism + QStringLiteral(" (") + donor
        + QStringLiteral(" -> ")
        + level + QStringLiteral(") = ");
    return labels;
}

} // namespace

QString OrvaneSpectroscopicCalculation::createOutFileET(const QString& name)
{
    lastError.clear();
    QString out;
    if (!writeEnergyTransferReport(out) || !writeReport(name, out))
        return QString();
    return name.isEmpty() ? out : QString();
}

QString OrvaneSpectroscopicCalculation::createOutFile(const QString& name)
{
    lastError.clear();
    QString out;
    if (!writeEnergyTransferReport(out) || !writeQuantumYieldSections(out) || !writeReport(name, out))
        return QString();
    return name.isEmpty() ? out : QString();
}

bool OrvaneSpectroscopicCalculation::writeReport(const QString& name, const QString& text)
{
    if (name.isEmpty())
        return true;
    // One write of the whole text: a failure never leaves half a report.
    QString reason;
    if (!OrvaneReportFile::write(name, text, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}

bool OrvaneSpectroscopicCalculation::writeEnergyTransferReport(QString& out)
{
    if (!calcEnergyTransferRate() || !calcArad())
        return false;
    const SpecPrintingOptions& options = specPrintingOptions;
    const QChar nl = QLatin1Char('\n');

    out += OrvaneInputData::ORVANETitle + QStringLiteral("\n\n\n");
    out += QStringLiteral("The data shown below were calculated from the geometry and excited states energies read "
                          "in following file: \n");
    out += QStringLiteral("    ") + rlInputFile + QStringLiteral("\n\n");

    if (options.omega) {
        out += QStringLiteral("-------------------------------------------------------\n"
                              " Theoretical Judd-Ofelt Intensity Parameters, omega(l) \n"
                              "-------------------------------------------------------\n\n");
        for (int l = 2; l <= 6; l += 2)
            out += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaName, l, omega[std::size_t(l)] * 1e20, 2);
        out += nl;
    }

    if (options.omegaED) {
        out += QStringLiteral("-----------------------------------------------------------\n"
                              " Forced Electric Dipole Judd-Ofelt Parameters, omegaED (l)\n"
                              "-----------------------------------------------------------\n\n");
        for (int l = 2; l <= 6; l += 2)
            out += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaEDName, l, omegaED[std::size_t(l)] * 1e20, 4);
        out += nl;
    }

    if (options.constantValues) {
        out += QStringLiteral("-----------------------------------\n"
                              " Constant values for the Eu3+ Ion  \n"
                              "-----------------------------------\n\n");
        out += QStringLiteral("  Racah Tensor Operator Used:  <f|C(2)|f> =")
            + Col::right(8, Col::signlessFixed(4, racahTensor[2]))
            + Col::right(20, QStringLiteral("<f|C(4)|f> =")) + Col::right(8, Col::signlessFixed(4, racahTensor[4]))
            + Col::right(20, QStringLiteral("<f|C(6)|f> =")) + Col::right(8, Col::signlessFixed(4, racahTensor[6]))
            + QStringLiteral("\n\n");
        out += QStringLiteral(" Shielding Factor Used:         sigma(2) =")
            + Col::right(8, Col::signlessFixed(3, shieldingFactor[2]))
            + Col::right(20, QStringLiteral("sigma(4) =")) + Col::right(8, Col::signlessFixed(3, shieldingFactor[4]))
            + Col::right(20, QStringLiteral("sigma(6) =")) + Col::right(8, Col::signlessFixed(3, shieldingFactor[6]))
            + QStringLiteral("\n\n");
        out += QStringLiteral(" Radial Integrals:  r(2) =")
            + Col::right(10, Col::signlessScientific(3, radialIntegral[2]))
            + QStringLiteral(" cm^2") + Col::right(16, QStringLiteral("r(4) = "))
            + Col::right(10, Col::signlessScientific(3, radialIntegral[4]))
            + QStringLiteral(" cm^4") + Col::right(16, QStringLiteral("r(6) ="))
            + Col::right(10, Col::signlessScientific(3, radialIntegral[6]))
            + QStringLiteral(" cm^6") + QStringLiteral("\n\n\n\n");
    }

    if (options.singletAndTripletEnergy) {
        const QString angstrom = Col::left(25, QStringLiteral(" Angs"));
        out += QStringLiteral("-------------------------------------------------\n"
                              " Singlet and Triplet Excited States Energies and \n"
                              " RL Parameters                                   \n"
                              "-------------------------------------------------\n\n");
        out += QStringLiteral("    Chosen Singlet Excited State = ") + QString::number(singletLevel) + nl;
        out += QStringLiteral("    RL Singlet: ") + Col::signlessFixed(4, getSingletRL()) + angstrom
            + QStringLiteral("Singlet Energy: ") + Col::signlessFixed(2, getSingletEnergy()) + QStringLiteral(" cm^-1")
            + nl;
        out += QStringLiteral("    Chosen Triplet Excited State = ") + QString::number(tripletLevel) + nl;
        out += (considerTwoTriplets ? QStringLiteral("    RL Triplet2: ") : QStringLiteral("    RL Triplet: "))
            + Col::signlessFixed(4, getTripletRL()) + angstrom + QStringLiteral("Triplet Energy: ")
            + Col::signlessFixed(2, getTripletEnergy())
            + QStringLiteral(" cm^-1") + QStringLiteral("\n\n");
        if (considerTwoTriplets)
            out += QStringLiteral("    RL Triplet1: ") + Col::signlessFixed(4, getLowerTripletRL()) + angstrom
                + QStringLiteral("    Triplet Energy: ") + Col::signlessFixed(2, getLowerTripletEnergy())
                + QStringLiteral(" cm^-1")
                + QStringLiteral("\n\n");
        out += QStringLiteral(" RL: distance from the donor state located at the organic ligands \n"
                              " and the Eu3+ ion nucleus.\n\n");
    }

    if (options.gama) {
        // At the RL of the state the excited-state file selected, whatever
        // singlet the user chose; a state without RL has no gama.
        const double R = rl->getSingletRL(rl->getSelExcitateState()) * 1e-8;
        auto value = [&](int l) {
            return Col::right(8, R > 0.0 ? Col::signlessScientific(4, gama(l, R)) : QStringLiteral("n/a"));
        };
        out += QStringLiteral("---------------------\n"
                              " gama(l) Parameters  \n"
                              "---------------------\n\n");
        out += Col::right(13, QStringLiteral("gama(2) = ")) + value(2) + Col::right(20, QStringLiteral("gama(4) = "))
            + value(4)
            + Col::right(20, QStringLiteral("gama(6) = ")) + value(6) + QStringLiteral("\n\n");
    }

    if (options.frankCondonFactor) {
        out += QStringLiteral("------------------------------------------------------\n"
                              " Frank Condon's Factor (F), this factor depend on the \n"
                              "------------------------------------------------------\n\n");
        for (int i : channelOrder) {
            if (!isChannelEnabled(i))
                continue;
            out += labelsOf(i, considerTwoTriplets).franckCondon
                + Col::signlessScientific(4, F(energyMismatch[std::size_t(i)], bandHalfWidth))
                + (i == lastChannel ? QStringLiteral(" erg^-1   \n\n") : QStringLiteral(" erg^-1 \n"));
        }
    }

    if (options.wet) {
        out += QStringLiteral("------------------------------------------------------\n"
                              " Energy Transfer (Wet) and Back-Transfer Rates (Wbt)  \n"
                              "    Wet from the Multipolar Mechanism (WetMM)         \n"
                              "    Wet from the Exchange Mechanism (WetEX)           \n"
                              "------------------------------------------------------\n\n");
        out += QStringLiteral("    Energy Transfer Rates\n");
        for (int i : channelOrder) {
            if (!isChannelEnabled(i))
                continue;
            const double value = isMultipolar(i) ? wetMM[std::size_t(i)] : wetEX[std::size_t(i)];
            out += labelsOf(i, considerTwoTriplets).transfer + Col::signlessScientific(2, value)
                + (i == lastChannel ? QStringLiteral(" s^-1  \n\n") : QStringLiteral(" s^-1 \n"));
        }
        out += QStringLiteral("    Energy Back-Transfer Rates\n");
        for (int i : channelOrder) {
            if (!isChannelEnabled(i))
                continue;
            const double value = isMultipolar(i) ? wbtMM[std::size_t(i)] : wbtEX[std::size_t(i)];
            out += labelsOf(i, considerTwoTriplets).backTransfer + Col::signlessScientific(2, value)
                + (i == lastChannel ? QStringLiteral(" s^-1 \n\n") : QStringLiteral(" s^-1 \n"));
        }
    }

    if (options.aradAndBeta) {
        out += QStringLiteral("-------------------------------------\n"
                              " Radiative emission rate (Arad) and  \n"
                              " Branchio Rates (beta)               \n"
                              "-------------------------------------\n\n");
        out += QStringLiteral(" Refractive Index Used = ") + Col::signlessFixed(3, refractiveIndex)
            + QStringLiteral("\n\n");
        out += QStringLiteral(" Arad = ") + Col::signlessFixed(2, arad) + QStringLiteral(" s^-1\n\n");
        out += QStringLiteral(" Beta values (contribution of each 5D0 -> 7FJ transition in percentage to radiative "
                              "decay rate)\n\n");
        auto beta = [&](int J) {
            return QStringLiteral("    5D0 -> 7F%1: ").arg(J) + Col::signlessFixed(2, branchingRatio[std::size_t(J)]);
        };
        out += beta(1) + QLatin1Char('\t') + beta(2) + QLatin1Char('\t') + beta(3) + QStringLiteral("\n\n") + beta(4)
            + QLatin1Char('\t') + beta(5) + QLatin1Char('\t') + beta(6) + QStringLiteral("\t\n\n");
    }
    return true;
}

bool OrvaneSpectroscopicCalculation::writeQuantumYieldSections(QString& out)
{
    // The models reuse the transfer rates the energy-transfer report computed.
    if (!(considerTwoTriplets ? calcQuantumYieldTwoTriplets() : calcQuantumYieldNEW()))
        return false;
    const SpecPrintingOptions& options = specPrintingOptions;

    if (options.anradAndQuantumEfficiency) {
        out += QStringLiteral("---------------------------------------\n"
                              " Nonradiative Decay Rate (Anrad) and   \n"
                              " Quantum Efficiency                    \n"
                              "---------------------------------------\n\n");
        out += QStringLiteral("    Chosen Experimental Lifetime = ") + Col::signlessFixed(4, lifeTime * 1000.0)
            + QStringLiteral(" ms\n\n");
        out += QStringLiteral("    Anrad = ") + Col::signlessFixed(2, anrad) + QStringLiteral(" s^-1\n\n");
        out += getAnradWarning();
        out += QStringLiteral("    Quantum Efficiency = ") + Col::signlessFixed(2, quantumEfficiency)
            + QStringLiteral(" %\n\n\n");
    }

    if (options.levelPopulation) {
        auto population = [&](const char* label, int index) {
            return QString::fromLatin1(label) + Col::signlessFixed(4, populations[std::size_t(index)])
                + QLatin1Char('\n');
        };
        out += QStringLiteral("----------------------------------------------------------------------------\n"
                              "  Level Population of each State Involved in the Process of Energy Transfer \n"
                              "----------------------------------------------------------------------------\n\n");
        out += population("    Fundamental Singlet Population = ", S0);
        out += population("    Excited Singlet Population     = ", S1);
        if (considerTwoTriplets)
            out += population("    Triplet 2 population           = ", UpperTriplet);
        out += population("    Triplet Population             = ", Triplet);
        out += population("    5D4 Population                 = ", Level5D4);
        out += population("    5G6 Population                 = ", Level5G6);
        out += population("    5L6 Population                 = ", Level5L6);
        out += population("    5D1 Population                 = ", Level5D1);
        out += population("    5D0 Population                 = ", Level5D0);
        out += QStringLiteral("\n\n");
    }

    if (options.quantumYield)
        out += quantumYieldBox(quantumYield);
    return true;
}
