#ifndef MARKEDEUROPIUMSPECTRUM_H
#define MARKEDEUROPIUMSPECTRUM_H

// The Eu(III) emission spectrum the screenshot tests load on the emission
// page, with its 5D0 -> 7F1, 7F2 and 7F4 bands marked by the sliders.

#include <QByteArray>
#include <QSlider>
#include <QString>
#include <QWidget>

#include <cmath>

namespace MarkedEuropiumSpectrum {

struct Band
{
    int j;
    double centre, height, sigma;
};

constexpr Band bands[] = {{1, 592.0, 0.3, 2.0}, {2, 613.0, 1.0, 3.0}, {4, 700.0, 0.15, 4.0}};
constexpr double firstWavelength = 570.0;
constexpr double step = 0.5;
constexpr int points = 301;

// Two tab-separated columns, one sample a line, as an instrument writes them.
inline QByteArray text()
{
    QByteArray result;
    for (int i = 0; i < points; ++i) {
        const double lambda = firstWavelength + step * i;
        double y = 0.0;
        for (const Band& band : bands)
            y += band.height * std::exp(-0.5 * std::pow((lambda - band.centre) / band.sigma, 2));
        result += QByteArray::number(lambda, 'f', 1) + '\t' + QByteArray::number(y, 'g', 10) + '\n';
    }
    return result;
}

// Sets each band's window to its centre +- 4 sigma on the emission page.
inline void markBands(QWidget* emissionPage)
{
    for (const Band& band : bands) {
        const QString j = QString::number(band.j).rightJustified(2, QLatin1Char('0'));
        emissionPage->findChild<QSlider*>(QStringLiteral("sldTransitionMin") + j)
            ->setValue(qRound((band.centre - 4 * band.sigma - firstWavelength) / step));
        emissionPage->findChild<QSlider*>(QStringLiteral("sldTransitionMax") + j)
            ->setValue(qRound((band.centre + 4 * band.sigma - firstWavelength) / step));
    }
}

} // namespace MarkedEuropiumSpectrum

#endif
