#ifndef CIESPECTRA_H
#define CIESPECTRA_H

// Spectra whose chromaticity the engine and the chromaticity window are
// tested on, the same ones tests/engine/spectroscopy/chromaticity_reference.py
// evaluates.

#include <QVector>

#include <algorithm>
#include <cmath>

namespace CieSpectra {

struct Spectrum
{
    QVector<double> wavelengths;
    QVector<double> intensities;
};

// The 5D0 -> 7F0..7F4 bands of a typical Eu(III) complex as Gaussians
// (centre nm, height, standard deviation nm) at `count` wavelengths in 0.5 nm
// steps from `first`.
inline Spectrum europiumBands(double first, int count)
{
    struct Band
    {
        double centre, height, sigma;
    };
    const Band bands[] = {{579.0, 0.02, 1.0}, {592.0, 0.25, 2.5}, {612.0, 1.0, 3.0}, {652.0, 0.06, 3.0},
                          {700.0, 0.12, 4.0}};
    Spectrum spectrum;
    for (int k = 0; k < count; ++k) {
        const double lambda = first + 0.5 * k;
        double intensity = 0.0;
        for (const Band& band : bands) {
            const double u = (lambda - band.centre) / band.sigma;
            intensity += band.height * std::exp(-0.5 * u * u);
        }
        spectrum.wavelengths << lambda;
        spectrum.intensities << intensity;
    }
    return spectrum;
}

// The bands from 570 to 720 nm.
inline Spectrum europium()
{
    return europiumBands(570.0, 301);
}

// The bands as an instrument may export them: 400-750 nm on a baseline 3 %
// of the peak below zero.
inline Spectrum europiumBelowZeroBaseline()
{
    Spectrum spectrum = europiumBands(400.0, 701);
    const double peak = *std::max_element(spectrum.intensities.cbegin(), spectrum.intensities.cend());
    for (double& intensity : spectrum.intensities)
        intensity -= 0.03 * peak;
    return spectrum;
}

// A narrow line: a Gaussian of 0.1 nm standard deviation, 0.01 nm steps over
// +-1 nm around the centre.
inline Spectrum line(double centre)
{
    Spectrum spectrum;
    for (int k = -100; k <= 100; ++k) {
        const double lambda = centre + 0.01 * k;
        const double u = (lambda - centre) / 0.1;
        spectrum.wavelengths << lambda;
        spectrum.intensities << std::exp(-0.5 * u * u);
    }
    return spectrum;
}

inline Spectrum reversed(const Spectrum& spectrum)
{
    Spectrum result;
    for (int i = spectrum.wavelengths.size() - 1; i >= 0; --i) {
        result.wavelengths << spectrum.wavelengths.at(i);
        result.intensities << spectrum.intensities.at(i);
    }
    return result;
}

} // namespace CieSpectra

#endif
