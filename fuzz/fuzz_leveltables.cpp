// The free-ion tables "EnergyLevels4f/f<N>.cfp" and "f<N>.ele": the first line
// of the input picks N (its first byte modulo 7, plus 1, so "3" gives f3), the
// rest is the parentage table, then after a line "@@@@" the electrostatic
// table. The levels of every J, of one J, the report and the unit tensor
// elements are computed from what was read.

#include "fuzzinput.h"
#include "orvaneenergylevels.h"
#include "orvaneunitarymatrixelement.h"

#include <QDir>

#include <memory>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    const int n = bytes.isEmpty() ? 6 : 1 + static_cast<unsigned char>(bytes.at(0)) % 7;
    const int firstLine = bytes.indexOf('\n');
    const auto tables = OrvaneFuzz::splitInput(firstLine < 0 ? QByteArray() : bytes.mid(firstLine + 1));

    const QString folder = OrvaneFuzz::folder();
    QDir(folder).mkpath(QStringLiteral("EnergyLevels4f"));
    OrvaneFuzz::writeInput(tables.first, QStringLiteral("EnergyLevels4f/f%1.cfp").arg(n));
    OrvaneFuzz::writeInput(tables.second, QStringLiteral("EnergyLevels4f/f%1.ele").arg(n));

    std::unique_ptr<OrvaneEnergyLevels> read;
    {
        OrvaneFuzz::InFolder current;
        read = std::make_unique<OrvaneEnergyLevels>(nullptr, n);
    }
    OrvaneEnergyLevels& levels = *read;
    levels.setSlaterIntegral(0.0, 371.0, 54.8, 5.75);
    levels.setZetaParameters(1334.0);
    levels.calcEnergyLevels(-1);
    levels.createOutputFile(QString());
    const QVector<MixedState> states = levels.getMixedStatesVector();
    const QVector<OrvaneSpectroscopicTermUtil::SpectroscopicTerm> terms = levels.getSpectroscopicTermVector();
    if (!states.isEmpty()) {
        const auto level = OrvaneSpectroscopicTermUtil::parseTermLabel(states.first().label, true);
        OrvaneUnitaryMatrixElement::mixedUnitaryMatrixElementCouppling(n, 2.0, level, level, &levels);
        levels.getMixedStates(level);
    }
    if (!terms.isEmpty()) {
        OrvaneUnitaryMatrixElement::calc_fk(n, 2.0, terms.first(), &levels);
        OrvaneUnitaryMatrixElement::unitaryMatrixElement(n, 4.0, terms.first(), terms.last(), &levels);
    }
    const QVector<double> J = levels.getJValues();
    levels.calcEnergyLevels(J.isEmpty() ? 0.5 : J.last());
    levels.calcEnergyLevels(-2.0);
    return 0;
}
