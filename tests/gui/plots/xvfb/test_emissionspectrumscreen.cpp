// The emission spectrum form on a real X server with an Eu(III) spectrum and
// two marked bands, kept as a screenshot in the build tree.

#include "ciespectra.h"
#include "generateddatafolder.h"

#include "customplotzoom.h"
#include "orvanefrmplotemissionspectrum.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(EmissionSpectrumScreen, ASpectrumWithTwoMarkedBands)
{
    GeneratedDataFolder work;
    ASSERT_TRUE(work.isReady());

    const CieSpectra::Spectrum europium = CieSpectra::europium();
    QByteArray text;
    for (int i = 0; i < europium.wavelengths.size(); ++i)
        text += QByteArray::number(europium.wavelengths.at(i)) + ' '
                + QByteArray::number(europium.intensities.at(i), 'g', 10) + '\n';
    QFile spectrum(work.filePath(QStringLiteral("europium.txt")));
    ASSERT_TRUE(spectrum.open(QIODevice::WriteOnly));
    spectrum.write(text);
    spectrum.close();

    OrvaneFrmPlotEmissionSpectrum form;
    form.resize(1100, 800);
    form.findChild<QLineEdit*>(QStringLiteral("editEmissionSpectrumDirectory"))->setText(spectrum.fileName());
    // 7F1 around 592 nm and 7F2 around 612 nm (0.5 nm samples from 570 nm).
    const struct
    {
        const char* lower;
        const char* upper;
        int from, to;
    } bands[] = {{"sldTransitionMin01", "sldTransitionMax01", 34, 54}, {"sldTransitionMin02", "sldTransitionMax02", 70, 100}};
    for (const auto& band : bands) {
        form.findChild<QSlider*>(QLatin1String(band.lower))->setValue(band.from);
        form.findChild<QSlider*>(QLatin1String(band.upper))->setValue(band.to);
    }
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(200);
    auto* plot = form.findChild<CustomPlotZoom*>(QStringLiteral("customPlot"));
    EXPECT_TRUE(plot->graph(1)->visible() && plot->graph(2)->visible());

    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    const QImage image = form.grab().toImage();
    ASSERT_TRUE(image.save(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/emission_spectrum_bands.png")));
    // Under the 7F2 peak the band's red fills the plot.
    const QPoint peak(qRound(plot->xAxis->coordToPixel(612.0)), qRound(plot->yAxis->coordToPixel(0.5)));
    const QColor fill(image.pixel(plot->mapTo(&form, peak)));
    EXPECT_GT(fill.red(), 200) << fill.name().toStdString();
    EXPECT_LT(fill.green(), 60);
}

} // namespace
