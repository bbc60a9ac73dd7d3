// Measured emission spectra read as the emission page reads them, and the
// promises of a spectrum that was accepted: at least ten points, finite
// values, wavelengths rising.

#include "fuzzinput.h"
#include "orvaneemissionspectrumreader.h"

#include <cmath>
#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("spectrum.txt"));
    OrvaneEmissionSpectrumReader reader;
    if (!reader.readFile(file)) {
        if (reader.getLastError().isEmpty() || !reader.getWavelengths().isEmpty())
            std::abort();
        return 0;
    }
    const QVector<double>& x = reader.getWavelengths();
    const QVector<double>& y = reader.getIntensities();
    if (x.size() != y.size() || x.size() < OrvaneEmissionSpectrumReader::minimumPoints)
        std::abort();
    for (int i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x.at(i)) || !std::isfinite(y.at(i)) || (i > 0 && x.at(i) < x.at(i - 1)))
            std::abort();
    }
    if (x.first() == x.last())
        std::abort();
    return 0;
}
