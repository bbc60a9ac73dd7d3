// The emission spectrum form: reading the spectrum, the band sliders and
// typed limits, band areas and barycentres, experimental intensity
// parameters saved as .orvaneexp beside the spectrum, clearing, the PNG
// export and the chromaticity window. Every file lives in a temporary
// folder, which is also the current folder (the chromaticity window reads
// its points file from there).

#include "../support/guitestsupport.h"
#include "orvanesmalldisk.h"

#include "orvanefrmciediagram.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvaneomegaexp.h"

#include "customplotzoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Six Gaussian bands 5D0 -> 7F0..7F5 (centre nm, height, standard deviation
// nm) on a 0.25 nm grid from 570 to 720 nm, far enough apart that each band
// window of centre +- 6 sigma holds only its own band.
struct Band
{
    double centre, height, sigma;
};
const Band europiumBands[6] = {{579.0, 0.05, 0.8}, {592.0, 0.30, 1.5}, {614.0, 1.00, 2.0},
                               {652.0, 0.04, 1.5}, {695.0, 0.20, 2.0}, {714.0, 0.02, 0.8}};
constexpr double gridStart = 570.0, gridStep = 0.25;
constexpr int gridPoints = 601;

double europiumIntensity(double lambda)
{
    double y = 0.0;
    for (const Band& band : europiumBands) {
        const double u = (lambda - band.centre) / band.sigma;
        y += band.height * std::exp(-0.5 * u * u);
    }
    return y;
}

QByteArray europiumFile()
{
    QByteArray text;
    for (int i = 0; i < gridPoints; ++i) {
        const double lambda = gridStart + gridStep * i;
        text += QByteArray::number(lambda, 'f', 2) + '\t' + QByteArray::number(europiumIntensity(lambda), 'g', 12)
                + '\n';
    }
    return text;
}

// Sample window of band J: first and one past the last sample.
QPair<int, int> bandWindow(int j)
{
    const Band& band = europiumBands[j];
    return {qRound((band.centre - 6 * band.sigma - gridStart) / gridStep),
            qRound((band.centre + 6 * band.sigma - gridStart) / gridStep)};
}

class EmissionFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        writeFile(QStringLiteral("CIEpoints.txt"), "h\nh\nh\n0.66 0.34 0 1 0 0 255 0 0\n0.31 0.33 0 1 1 1 250 255 254");
        ASSERT_TRUE(cwd.isChanged());
        form = std::make_unique<OrvaneFrmPlotEmissionSpectrum>();
        edit = form->findChild<QLineEdit*>(QStringLiteral("editEmissionSpectrumDirectory"));
        plot = form->findChild<CustomPlotZoom*>(QStringLiteral("customPlot"));
        report = form->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
        for (int j = 0; j < 6; ++j) {
            boxes << form->findChild<QGroupBox*>(QStringLiteral("gbxTransition%1").arg(j, 2, 10, QLatin1Char('0')));
            for (const char* kind : {"Min", "Max"}) {
                const QString suffix = QString::fromLatin1(kind) + QStringLiteral("%1").arg(j, 2, 10, QLatin1Char('0'));
                sliders << form->findChild<QSlider*>(QStringLiteral("sldTransition") + suffix);
                limits << form->findChild<QLineEdit*>(QStringLiteral("lblTransition") + suffix);
            }
        }
    }

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = work.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    // Opens through the edit, as a dropped file does.
    void open(const QString& path) { edit->setText(path); }

    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(QLatin1String(name)); }

    void mark(int j, const QPair<int, int>& window)
    {
        sliders.at(2 * j)->setValue(window.first);
        sliders.at(2 * j + 1)->setValue(window.second);
    }

    IsolatedTempFolder temp;
    QTemporaryDir work;
    ScopedCurrentDirectory cwd{work.path()};
    std::unique_ptr<OrvaneFrmPlotEmissionSpectrum> form;
    QLineEdit* edit = nullptr;
    CustomPlotZoom* plot = nullptr;
    QPlainTextEdit* report = nullptr;
    QList<QGroupBox*> boxes;
    QList<QSlider*> sliders;
    QList<QLineEdit*> limits;
};

TEST_F(EmissionFormTest, StartsWithoutSpectrumAndReadsTheSeparatorsOfTheFile)
{
    EXPECT_EQ(edit->text(), QStringLiteral("Drag and drop a .txt file here OR click on button Open to open it"));
    EXPECT_FALSE(button("btnCalculate")->isEnabled());
    EXPECT_FALSE(button("btnCIEDiagram")->isEnabled());
    EXPECT_FALSE(button("btnSave")->isEnabled());
    EXPECT_EQ(plot->graphCount(), 7);
    // The open button's advice names every separator the cases below use.
    const QString advice = button("btnOpenEmissionSpectrum")->toolTip();
    for (const char* separator : {"blanks", "tabs", "commas", "semicolons", "decimal point"})
        EXPECT_TRUE(advice.contains(QLatin1String(separator))) << separator << ": " << advice.toStdString();

    const QVector<double> x = {500, 501, 502, 503, 504, 505, 506, 507, 508, 509};
    const QVector<double> y = {10, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    const struct
    {
        const char* name;
        QByteArray text;
        const char* skipped;
    } cases[] = {
        {"commas, blanks and tabs; an empty line and a line of one token are skipped",
         "500,10\n501 12\n502,\t13, x\n\n505\n503 14\n504;15\n505 16\n506 17\n507 18\n508 19\n509 20\n",
         "; 2 lines skipped (blank, or not beginning with two numbers)."},
        {"CRLF, runs of separators and a header",
         "Wavelength,Intensity\r\n500 ,, 10\r\n501\t\t12\r\n502 13\r\n503 14\r\n504 15\r\n505 16\r\n506 17\r\n"
         "507 18\r\n508 19\r\n509 20\r\n",
         "; 1 line skipped (blank, or not beginning with two numbers)."},
        {"falling wavelengths are turned round",
         "509 20\n508 19\n507 18\n506 17\n505 16\n504 15\n503 14\n502 13\n501 12\n500 10\n",
         ", in reverse: its wavelengths fall along the file; 0 lines skipped"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(QStringLiteral("spectrum%1.txt").arg(n++), c.text);
        QSignalSpy log(form.get(), &OrvaneFrmPlotEmissionSpectrum::newObjCalculationMessage);
        open(path);
        EXPECT_EQ(form->getFileName(), path);
        EXPECT_EQ(form->getWavelengths(), x);
        EXPECT_EQ(form->getIntensities(), y);
        EXPECT_EQ(plot->graph(6)->data()->size(), x.size());
        for (QSlider* slider : qAsConst(sliders)) {
            EXPECT_EQ(slider->minimum(), 0);
            EXPECT_EQ(slider->maximum(), x.size() - 1);
            EXPECT_EQ(slider->pageStep(), 10);
        }
        EXPECT_TRUE(button("btnCalculate")->isEnabled());
        EXPECT_DOUBLE_EQ(plot->defaultXRange.lower, x.first());
        EXPECT_DOUBLE_EQ(plot->defaultXRange.upper, x.last());
        ASSERT_EQ(log.count(), 1);
        const QString line = log.at(0).at(0).toString();
        EXPECT_TRUE(line.contains(QStringLiteral(" -> (Orvane Module to Plot Emission Spectrum) 10 points of ") + path
                                  + QStringLiteral(" read")))
            << line.toStdString();
        EXPECT_TRUE(line.contains(QLatin1String(c.skipped))) << line.toStdString();
    }
}

TEST_F(EmissionFormTest, RefusedFilesKeepTheSpectrumInUse)
{
    const QString good = writeFile(QStringLiteral("good.txt"), europiumFile());
    open(good);
    mark(2, bandWindow(2));
    ASSERT_TRUE(plot->graph(2)->visible());

    DialogScript dialogs;
    // Comma in the folder name: refused before anything is cleared.
    const QString comma = writeFile(QStringLiteral("a,b/spectrum.txt"), "600 1\n601 2\n");
    dialogs.pressButton(QMessageBox::Ok);
    open(comma);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Warning"));
    EXPECT_EQ(dialogs.requests().at(0).text,
              QStringLiteral("Please, remove all commans of the filename that contains the wavelengths versus "
                             "emission intensities.\n")
                  + comma);
    // Files that are no spectrum: each refused with its reason and its name.
    const QString fifo = work.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = work.filePath(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QByteArray withNan = europiumFile();
    withNan.replace("\n600.00\t", "\n600.00\tnan\t");
    const struct
    {
        QString path;
        const char* reason;
    } refused[] = {
        {writeFile(QStringLiteral("turning.txt"), "600 1\n601 2\n599 3\n598 1\n597 1\n596 1\n595 1\n594 1\n593 1\n592 1\n"),
         "line 3 goes from 601 to 599 nm"},
        {writeFile(QStringLiteral("comma.txt"), "Wavelength;Intensity\n570,100;2,0000\n570,600;2,5000\n"),
         "Line 2 uses the decimal comma"},
        {writeFile(QStringLiteral("nan.txt"), withNan), "Line 121 holds a value that is not a finite number"},
        {writeFile(QStringLiteral("empty.txt"), ""), "empty"},
        {writeFile(QStringLiteral("short.txt"), "600 1\n601 2\n"), "holds 2 points"},
        {writeFile(QStringLiteral("mopac.txt"),
                   OrvaneFixtures::contents(OrvaneFixtures::dataPath(QStringLiteral("mopac/water.out")))),
         "two numeric columns"},
        {fifo, "is not a regular file"},
        {folder, "is a folder"},
    };
    int asked = 1;
    for (const auto& r : refused) {
        SCOPED_TRACE(r.path.toStdString());
        dialogs.pressButton(QMessageBox::Ok);
        open(r.path);
        ASSERT_EQ(dialogs.requests().size(), ++asked);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
        EXPECT_TRUE(dialogs.requests().last().text.contains(QLatin1String(r.reason)))
            << dialogs.requests().last().text.toStdString();
        EXPECT_TRUE(dialogs.requests().last().text.endsWith(r.path));
        EXPECT_EQ(edit->text(), good);
    }
    // A cancelled open dialog.
    dialogs.cancel();
    button("btnOpenEmissionSpectrum")->click();
    ASSERT_EQ(dialogs.requests().size(), ++asked);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("Choose .txt file"));
    EXPECT_EQ(dialogs.requests().last().filter, QStringLiteral("Input File (*.txt)"));

    EXPECT_EQ(form->getFileName(), good);
    EXPECT_EQ(edit->text(), good);
    EXPECT_EQ(form->getWavelengths().size(), gridPoints);
    EXPECT_TRUE(plot->graph(2)->visible());
    // The sliders still draw on the graphs of that spectrum.
    sliders.at(5)->setValue(bandWindow(2).second + 4);
    EXPECT_EQ(plot->graph(2)->data()->size(), bandWindow(2).second + 4 - bandWindow(2).first);

    // A suffix in capitals clears the project and names the suffix.
    const QString capitals = writeFile(QStringLiteral("spectrum.TXT"), "600 1\n601 2\n");
    dialogs.pressButton(QMessageBox::Ok);
    open(capitals);
    ASSERT_EQ(dialogs.requests().size(), asked + 1);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("Orvane"));
    EXPECT_EQ(dialogs.requests().last().text,
              QStringLiteral("The desired file contains an unknown Extension (TXT).\nPlease, try to open another file. "));
    EXPECT_EQ(form->getFileName(), good);
    EXPECT_FALSE(button("btnCalculate")->isEnabled());
}

TEST_F(EmissionFormTest, SlidersPlaceTheBandWindows)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    // The lower 7F2 limit jumps past the upper: the upper follows 15 samples on.
    sliders.at(5)->setValue(30);
    sliders.at(4)->setValue(40);
    EXPECT_EQ(sliders.at(5)->value(), 55);
    // The edits' mask keeps the decimal point: "580." is 580.
    EXPECT_DOUBLE_EQ(limits.at(4)->text().toDouble(), 580.0);
    EXPECT_DOUBLE_EQ(limits.at(5)->text().toDouble(), 583.75);
    const QCPGraph* band = plot->graph(2);
    ASSERT_EQ(band->data()->size(), 15);
    EXPECT_DOUBLE_EQ(band->data()->at(0)->key, 580.0);
    EXPECT_DOUBLE_EQ(band->data()->at(14)->key, 583.5);
    EXPECT_TRUE(band->visible());
    EXPECT_EQ(band->brush().color(), QColor(255, 0, 0, 255));
    EXPECT_EQ(band->name(), QStringLiteral("Transition: 5D0 -> 7F2"));

    // Back to position 0: nothing changes.
    sliders.at(4)->setValue(0);
    EXPECT_DOUBLE_EQ(limits.at(4)->text().toDouble(), 580.0);
    EXPECT_EQ(band->data()->size(), 15);

    // The optional boxes enable their sliders only while ticked.
    EXPECT_FALSE(sliders.at(6)->isEnabled());
    boxes.at(3)->setChecked(true);
    EXPECT_TRUE(sliders.at(6)->isEnabled() && sliders.at(7)->isEnabled());
    boxes.at(3)->setChecked(false);
    EXPECT_FALSE(sliders.at(7)->isEnabled());
}

// Types into a limit edit as a chemist does over a pre-filled limit: Home,
// then the digits and the point (the mask overwrites); the caller ends it.
void typeLimit(QLineEdit* limit, const QString& text)
{
    limit->setFocus();
    QTest::keyClick(limit, Qt::Key_Home);
    QTest::keyClicks(limit, text);
}

TEST_F(EmissionFormTest, TypedLimitsGoToTheNearestSample)
{
    // Samples at 560.5, 561.5, ... : 580 lies half-way between two.
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += QByteArray::number(560.5 + i) + " 1\n";
    open(writeFile(QStringLiteral("half.txt"), text));
    sliders.at(3)->setValue(30); // the upper 7F1 limit first, at 590.5

    typeLimit(limits.at(2), QStringLiteral("580.00"));
    EXPECT_EQ(sliders.at(2)->value(), 0) << "nothing is applied while typing";
    QTest::keyClick(limits.at(2), Qt::Key_Return);
    EXPECT_EQ(sliders.at(2)->value(), 19) << "579.5, the lower of the two";
    EXPECT_DOUBLE_EQ(limits.at(2)->text().toDouble(), 579.5);
    EXPECT_EQ(plot->graph(1)->data()->size(), 11);

    // Beyond the spectrum: the first or the last sample, and a status line
    // that says so; no box.
    QSignalSpy log(form.get(), &OrvaneFrmPlotEmissionSpectrum::newObjCalculationMessage);
    DialogScript dialogs;
    typeLimit(limits.at(3), QStringLiteral("700.00"));
    QTest::keyClick(limits.at(3), Qt::Key_Enter);
    EXPECT_EQ(sliders.at(3)->value(), 39);
    EXPECT_DOUBLE_EQ(limits.at(3)->text().toDouble(), 599.5);
    EXPECT_EQ(plot->graph(1)->data()->size(), 39 - 19);
    ASSERT_EQ(log.count(), 1);
    EXPECT_TRUE(log.at(0).at(0).toString().endsWith(
        QStringLiteral("The upper limit of 5D0 -> 7F1 typed, 700 nm, lies beyond the spectrum (560.5 to 599.5 nm): "
                       "it was set to the last wavelength, 599.5 nm.")))
        << log.at(0).at(0).toString().toStdString();
    // Focus out ends the editing as well.
    typeLimit(limits.at(2), QStringLiteral("100.00"));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(limits.at(2), &focusOut);
    EXPECT_EQ(sliders.at(2)->value(), 0);
    EXPECT_DOUBLE_EQ(limits.at(2)->text().toDouble(), 560.5);
    EXPECT_EQ(plot->graph(1)->data()->size(), 39) << "a window from the first sample is drawn";
    ASSERT_EQ(log.count(), 2);
    EXPECT_TRUE(log.at(1).at(0).toString().contains(QStringLiteral("set to the first wavelength, 560.5 nm")));
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

// Reference values: emission_reference.py, which rebuilds the file's
// spectrum, snaps each typed limit to its nearest sample by hand, and sums
// the trapezoids and the closed formulas of Omega and Arad on its own.
TEST_F(EmissionFormTest, TypedLimitsOfEveryBandGiveTheReferenceOmega)
{
    open(writeFile(QStringLiteral("typed.txt"), europiumFile()));
    // Pre-filled limits, wider than the bands, as sliders leave them.
    mark(1, {40, 140});
    mark(2, {110, 260});
    mark(4, {420, 580});
    const struct
    {
        int j;
        const char *lower, *upper;
        int lo, hi;           // the samples they snap to
        double lowNm, highNm; // and their wavelengths
    } typed[] = {{1, "586.10", "598.40", 64, 114, 586.0, 598.5},
                 {2, "602.00", "626.13", 128, 225, 602.0, 626.25},
                 {4, "683.00", "706.90", 452, 548, 683.0, 707.0}};
    for (const auto& t : typed) {
        SCOPED_TRACE(t.j);
        for (int side = 0; side < 2; ++side) {
            QLineEdit* limit = limits.at(2 * t.j + side);
            typeLimit(limit, QLatin1String(side == 0 ? t.lower : t.upper));
            QTest::keyClick(limit, Qt::Key_Return);
        }
        EXPECT_EQ(sliders.at(2 * t.j)->value(), t.lo);
        EXPECT_EQ(sliders.at(2 * t.j + 1)->value(), t.hi);
        EXPECT_DOUBLE_EQ(limits.at(2 * t.j)->text().toDouble(), t.lowNm);
        EXPECT_DOUBLE_EQ(limits.at(2 * t.j + 1)->text().toDouble(), t.highNm);
        const QCPGraph* band = plot->graph(t.j);
        ASSERT_EQ(band->data()->size(), t.hi - t.lo);
        EXPECT_DOUBLE_EQ(band->data()->at(0)->key, t.lowNm);
    }

    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    const QString text = report->toPlainText();
    auto number = [&text](const QString& marker) {
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (line.contains(marker))
                return line.section(QLatin1Char('='), 1).section(QLatin1Char(' '), 0, -1, QString::SectionSkipEmpty)
                    .section(QLatin1Char(' '), 0, 0).remove(QStringLiteral("e-20")).toDouble();
        return -1.0;
    };
    // emission_reference.py: areas 1.12792744503817, 5.01325653891455 and
    // 1.00265130659945; barycentres 16891.8918918919, 16286.6449513834 and
    // 14388.4892092099 cm^-1; Omega2 7.72004676506521 and Omega4
    // 3.52645058289989 (10^-20 cm^2); Arad 335.518101456485 s^-1. The report
    // prints them rounded.
    EXPECT_NEAR(number(QStringLiteral("    5D0 -> 7F1 =")), 1.12792744503817, 0.00005);
    EXPECT_NEAR(number(QStringLiteral("    5D0 -> 7F2 =")), 5.01325653891455, 0.00005);
    EXPECT_NEAR(number(QStringLiteral("    5D0 -> 7F4 =")), 1.00265130659945, 0.00005);
    EXPECT_NEAR(number(QStringLiteral("Sigma(5D0 -> 7F1)")), 16891.8918918919, 0.005);
    EXPECT_NEAR(number(QStringLiteral("Sigma(5D0 -> 7F2)")), 16286.6449513834, 0.005);
    EXPECT_NEAR(number(QStringLiteral("Sigma(5D0 -> 7F4)")), 14388.4892092099, 0.005);
    EXPECT_NEAR(number(QStringLiteral("omega(2)")), 7.72004676506521, 0.005);
    EXPECT_NEAR(number(QStringLiteral("omega(4)")), 3.52645058289989, 0.005);
    EXPECT_NEAR(number(QStringLiteral("Arad = ")), 335.518101456485, 0.005);
}

// The same spectrum as instruments write it: a header, blank lines, CRLF
// and falling wavelengths give the same bands, areas and report.
TEST_F(EmissionFormTest, InstrumentLayoutsGiveIdenticalBandsAreasAndOmega)
{
    const QByteArray clean = europiumFile();
    QByteArray blank = clean;
    blank.replace("\n604.00\t", "\n\n  \n604.00\t");
    QByteArray falling;
    const QList<QByteArray> lines = clean.trimmed().split('\n');
    for (int i = lines.size() - 1; i >= 0; --i)
        falling += lines.at(i) + '\n';
    const struct
    {
        const char* name;
        QByteArray text;
    } cases[] = {{"clean", clean},
                 {"header", "Eu(III) complex, 298 K\nexcitation 394 nm\nWavelength (nm)\tIntensity\n" + clean},
                 {"blank lines", blank},
                 {"CRLF", QByteArray(clean).replace("\n", "\r\n")},
                 {"falling", falling}};
    QString reference;
    QVector<QVector<double>> referenceBands;
    DialogScript dialogs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(QStringLiteral("layout_%1.txt").arg(QString::fromLatin1(c.name).left(5)), c.text);
        open(path);
        ASSERT_EQ(form->getWavelengths().size(), gridPoints);
        for (int j : {1, 2, 4})
            mark(j, bandWindow(j));
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.pendingAnswers(), 0);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Information"));
        // The report names its file: compare everything else.
        QString text = report->toPlainText();
        text.remove(path);
        QVector<QVector<double>> bands;
        for (int j : {1, 2, 4}) {
            QVector<double> values;
            for (auto it = plot->graph(j)->data()->constBegin(); it != plot->graph(j)->data()->constEnd(); ++it)
                values << it->key << it->value;
            bands << values;
        }
        if (reference.isEmpty()) {
            reference = text;
            referenceBands = bands;
            EXPECT_TRUE(text.contains(QStringLiteral("omega(2)")));
            continue;
        }
        EXPECT_EQ(text, reference);
        EXPECT_EQ(bands, referenceBands);
    }
}

TEST_F(EmissionFormTest, BandAreaAndBarycentreOfAWindow)
{
    open(writeFile(QStringLiteral("small.txt"), "1 0\n2 0\n3 2\n4 2\n5 4\n6 4\n7 0\n8 0\n9 0\n10 0\n"));
    double barycenter = 0.0, area = 0.0;
    form->calculateBandAreaAndBarycenter(2, 5, barycenter, area);
    // Pairs (3, 4) and (4, 5): (2 + 2) / 2 + (2 + 4) / 2; mean of 3 and 4 weighted 2 and 2.
    EXPECT_DOUBLE_EQ(area, 5.0);
    EXPECT_DOUBLE_EQ(barycenter, 1e7 / 3.5);
}

TEST_F(EmissionFormTest, ExperimentalParametersAreSavedBesideTheSpectrum)
{
    const QString spectrum = writeFile(QStringLiteral("Eu.run1.txt"), europiumFile());
    const QString saved = work.filePath(QStringLiteral("Eu.orvaneexp"));
    open(spectrum);
    for (int j : {1, 2, 4})
        mark(j, bandWindow(j));

    // The areas and barycentres the form must hand over, summed here, and
    // the report the engine gives for them.
    double area[6] = {0, 0, 0, 0, 0, 0}, barycenter[6] = {0, 0, 0, 0, 0, 0};
    for (int j : {1, 2, 4}) {
        double sxy = 0.0, sy = 0.0;
        for (int i = bandWindow(j).first; i + 1 < bandWindow(j).second; ++i) {
            const double x0 = gridStart + gridStep * i, x1 = x0 + gridStep;
            area[j] += 0.5 * (europiumIntensity(x0) + europiumIntensity(x1)) * gridStep;
            sxy += x0 * europiumIntensity(x0);
            sy += europiumIntensity(x0);
        }
        barycenter[j] = 1e7 * sy / sxy;
        // A Gaussian's area is height x sigma x sqrt(2 pi).
        const Band& band = europiumBands[j];
        EXPECT_NEAR(area[j], band.height * band.sigma * std::sqrt(2 * M_PI), 1e-6 * area[j]);
    }
    OrvaneOmegaExp expected(nullptr, 1.5);
    expected.setFileName(spectrum);
    expected.setAreaOfTransition(area[0], area[1], area[2], area[3], area[4], area[5]);
    expected.setBarycenterOfEnergy(barycenter[0], barycenter[1], barycenter[2], barycenter[3], barycenter[4],
                                   barycenter[5]);
    ASSERT_TRUE(expected.calcOmegaExp());
    const QString expectedReport = expected.createOutputFile(QString());

    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).text, QStringLiteral("The file was successfully created at: ") + saved);
    EXPECT_EQ(report->toPlainText(), expectedReport);
    EXPECT_EQ(QString::fromUtf8(readAll(saved)), expectedReport + QStringLiteral("\n\n\n"));
    EXPECT_FALSE(expectedReport.contains(QStringLiteral("Lifetime")));
    EXPECT_EQ(form->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 1);
    EXPECT_TRUE(button("btnSave")->isEnabled());

    // Again with a lifetime, declining to replace: the old file stays, the
    // new report shows.
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxLifeTime"))->setValue(0.5);
    dialogs.pressButton(QMessageBox::No);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Question"));
    EXPECT_EQ(dialogs.requests().at(1).text,
              QStringLiteral("The destination already has a file named\n") + saved
                  + QStringLiteral("\nAre you sure you want to replace the file in the destination ?"));
    EXPECT_TRUE(report->toPlainText().contains(QStringLiteral("Experimental Lifetime Used = 0.5000 ms")));
    EXPECT_EQ(QString::fromUtf8(readAll(saved)), expectedReport + QStringLiteral("\n\n\n"));
    // Accepting replaces it.
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    EXPECT_TRUE(readAll(saved).contains("Experimental Lifetime Used = 0.5000 ms"));
    EXPECT_TRUE(readAll(saved).endsWith("\n\n\n"));
}

// Where the result cannot be written beside the spectrum (a full disk, a
// folder that became read-only) the earlier file keeps its values; the page
// keeps the new result on screen, says that it is not saved and why, and
// saves it under another name.
TEST_F(EmissionFormTest, AResultThatCannotBeWrittenStaysOnScreenAndIsSavedElsewhere)
{
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full disk" : "read-only folder");
        SmallDisk disk(work.path() + (full ? QStringLiteral("/full") : QStringLiteral("/readonly")));
        if (!disk.mounted)
            GTEST_SKIP() << disk.skipReason;
        const QString spectrum = disk.path(QStringLiteral("Eu.txt"));
        QFile file(spectrum);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(europiumFile());
        file.close();
        const QString saved = disk.path(QStringLiteral("Eu.orvaneexp"));
        open(spectrum);
        for (int j : {1, 2, 4})
            mark(j, bandWindow(j));
        auto* notice = form->findChild<QLabel*>(QStringLiteral("lblUnsavedResult"));
        QPushButton* saveAs = button("btnSaveResult");
        ASSERT_NE(notice, nullptr);
        ASSERT_NE(saveAs, nullptr);

        DialogScript dialogs;
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        const QByteArray earlier = readAll(saved);
        ASSERT_FALSE(earlier.isEmpty());
        EXPECT_FALSE(notice->isVisibleTo(form.get()));
        EXPECT_FALSE(saveAs->isVisibleTo(form.get()));

        ASSERT_TRUE(full ? disk.fill() : disk.makeReadOnly());
        form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxLifeTime"))->setValue(0.5);
        form->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(0);
        dialogs.pressButton(QMessageBox::Yes);
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.requests().size(), 3);
        const OrvaneDialogs::Request& error = dialogs.requests().at(2);
        EXPECT_EQ(error.kind, OrvaneDialogs::Kind::Critical);
        EXPECT_TRUE(error.text.contains(saved)) << error.text.toStdString();
        EXPECT_TRUE(error.text.contains(full ? QStringLiteral("No space left on device")
                                             : QStringLiteral("Read-only file system")))
            << error.text.toStdString();
        EXPECT_EQ(readAll(saved), earlier);
        const QString shown = report->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("Experimental Lifetime Used = 0.5000 ms")));
        EXPECT_EQ(form->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 1);
        EXPECT_TRUE(notice->isVisibleTo(form.get()));
        EXPECT_EQ(notice->text(), QStringLiteral("This result is not saved: ") + error.text
                                      + QStringLiteral("\nSave it under another name with the Save As button."));
        EXPECT_TRUE(saveAs->isVisibleTo(form.get()));

        // Saved elsewhere: the result as shown, and the notice goes.
        const QString elsewhere = work.filePath(QStringLiteral("elsewhere-%1").arg(full ? 1 : 2));
        dialogs.chooseFile(elsewhere);
        dialogs.pressButton(QMessageBox::Ok);
        saveAs->click();
        ASSERT_EQ(dialogs.requests().size(), 5);
        const OrvaneDialogs::Request& save = dialogs.requests().at(3);
        EXPECT_EQ(save.kind, OrvaneDialogs::Kind::SaveFileName);
        EXPECT_EQ(save.filter, QStringLiteral("ORVANE .orvaneexp File (*.orvaneexp)"));
        EXPECT_EQ(save.directory, saved);
        EXPECT_EQ(dialogs.requests().at(4).text,
                  QStringLiteral("The file was successfully created at: ") + elsewhere + QStringLiteral(".orvaneexp"));
        EXPECT_EQ(QString::fromUtf8(readAll(elsewhere + QStringLiteral(".orvaneexp"))),
                  shown + QStringLiteral("\n\n\n"));
        EXPECT_FALSE(notice->isVisibleTo(form.get()));
        EXPECT_FALSE(saveAs->isVisibleTo(form.get()));
    }
}

// Declining to replace the earlier file also leaves the new result in no
// file: the page says so and offers to save it under another name. The tab
// does not change: the user stays on the spectrum they were looking at.
TEST_F(EmissionFormTest, AResultWhoseEarlierFileIsKeptIsSaidToBeUnsaved)
{
    const QString spectrum = writeFile(QStringLiteral("Eu.txt"), europiumFile());
    const QString saved = work.filePath(QStringLiteral("Eu.orvaneexp"));
    ASSERT_TRUE(QFile(saved).open(QIODevice::WriteOnly));
    open(spectrum);
    mark(1, bandWindow(1));
    mark(2, bandWindow(2));
    mark(4, bandWindow(4));
    auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    tabs->setCurrentIndex(0);
    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::No);
    button("btnCalculate")->click();
    const QLabel* notice = form->findChild<QLabel*>(QStringLiteral("lblUnsavedResult"));
    QPushButton* saveAs = button("btnSaveResult");
    ASSERT_TRUE(notice && saveAs);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_TRUE(readAll(saved).isEmpty());
    const QString shown = report->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("omega(2)")));
    EXPECT_TRUE(notice->isVisibleTo(form.get()));
    EXPECT_EQ(notice->text(), QStringLiteral("This result is not saved: the earlier file ") + saved
                                  + QStringLiteral(" was kept.\nSave it under another name with the Save As "
                                                   "button."));
    EXPECT_TRUE(saveAs->isVisibleTo(form.get()));
    EXPECT_EQ(tabs->currentIndex(), 0);

    // A calculation refused for the windows now marked (7F2 over 7F4)
    // leaves that result: the notice says it is of the earlier windows.
    mark(2, {bandWindow(2).first, 500});
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Error"));
    EXPECT_EQ(report->toPlainText(), shown);
    EXPECT_EQ(notice->text(), QStringLiteral("This result, of the earlier inputs (the last run gave no result), is "
                                             "not saved: the earlier file ")
                                  + saved
                                  + QStringLiteral(" was kept.\nSave it under another name with the Save As "
                                                   "button."));

    const QString elsewhere = work.filePath(QStringLiteral("elsewhere.orvaneexp"));
    dialogs.chooseFile(elsewhere);
    dialogs.pressButton(QMessageBox::Ok);
    saveAs->click();
    EXPECT_EQ(QString::fromUtf8(readAll(elsewhere)), shown + QStringLiteral("\n\n\n"));
    EXPECT_FALSE(notice->isVisibleTo(form.get()));
    EXPECT_FALSE(saveAs->isVisibleTo(form.get()));
}

TEST_F(EmissionFormTest, UnmarkedOrEmptyBandsStopTheCalculation)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    const QString general = QStringLiteral(
        "Please, you must correctly define the transition areas before carrying out the calculation.");
    const struct
    {
        const char* name;
        std::function<void()> prepare;
        QString message;
    } cases[] = {
        {"nothing marked", [] {}, general + QStringLiteral("\nNo band is marked for: 5D0 -> 7F1, 5D0 -> 7F2, 5D0 -> 7F4.")},
        {"7F1 one sample wide",
         [&] {
             mark(1, {100, 101});
             mark(2, bandWindow(2));
             mark(4, bandWindow(4));
         },
         general + QStringLiteral("\nNo band is marked for: 5D0 -> 7F1.")},
        {"7F3 ticked but not marked",
         [&] {
             mark(1, bandWindow(1));
             boxes.at(3)->setChecked(true);
         },
         QStringLiteral("Please, you must correctly define the 5D0 -> 7F3 transition area before carrying out the "
                        "calculation or unchecking it.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        DialogScript dialogs;
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.requests().size(), 1);
        EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Error"));
        if (!c.message.isEmpty())
            EXPECT_EQ(dialogs.requests().at(0).text, c.message);
        EXPECT_TRUE(report->toPlainText().isEmpty());
        EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("europium.orvaneexp"))));
    }
}

TEST_F(EmissionFormTest, OverlappingWindowsAreRefusedNamingBothTransitions)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    for (int j : {1, 2, 4})
        mark(j, bandWindow(j));
    // 7F2 dragged over 7F4 (sample 500 is 695 nm); 7F3, ticked, across 7F4 too.
    mark(2, {bandWindow(2).first, 500});
    boxes.at(3)->setChecked(true);
    mark(3, {bandWindow(3).first, 480});
    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Error"));
    const QString text = dialogs.requests().at(0).text;
    // Windows run from the lower limit to the sample before the upper one.
    EXPECT_TRUE(text.contains(QStringLiteral("The windows of 5D0 -> 7F2 (602 to 694.75 nm) and 5D0 -> 7F3 (643 to "
                                             "689.75 nm) overlap.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("5D0 -> 7F2 (602 to 694.75 nm) and 5D0 -> 7F4 (683 to 706.75 nm)")));
    EXPECT_TRUE(text.contains(QStringLiteral("5D0 -> 7F3 (643 to 689.75 nm) and 5D0 -> 7F4")));
    EXPECT_FALSE(text.contains(QStringLiteral("5D0 -> 7F1 (")));
    EXPECT_TRUE(report->toPlainText().isEmpty());
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("europium.orvaneexp"))));

    // Windows that only touch at a sample share no interval: accepted.
    boxes.at(3)->setChecked(false);
    mark(2, bandWindow(2));
    mark(4, {bandWindow(2).second - 1, bandWindow(4).second});
    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Information"));
}

TEST_F(EmissionFormTest, BandsThatAreNoEmissionAreRefusedWithTheEnginesReason)
{
    // 7F1: intensity only at the window's last sample, so its barycentre sum
    // is empty (0/0); a band of negative intensities has a negative area.
    open(writeFile(QStringLiteral("odd.txt"), "500 0\n501 0\n502 0\n503 5\n504 0\n"
                                              "505 1\n506 2\n507 3\n508 2\n509 1\n510 0\n"
                                              "511 1\n512 2\n513 3\n514 2\n515 1\n516 0\n"
                                              "517 -1\n518 -2\n519 -2\n520 -1\n521 0\n"));
    const struct
    {
        const char* name;
        QPair<int, int> f1, f2;
        const char* reason;
    } cases[] = {
        {"no intensity before the last sample", {1, 4}, {5, 10}, "5D0 -> 7F1"},
        {"negative intensities", {2, 5}, {17, 21}, "5D0 -> 7F2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mark(1, c.f1);
        mark(2, c.f2);
        mark(4, {11, 16});
        DialogScript dialogs;
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.requests().size(), 1);
        EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Error"));
        EXPECT_TRUE(dialogs.requests().at(0).text.contains(QLatin1String(c.reason)))
            << dialogs.requests().at(0).text.toStdString();
        EXPECT_TRUE(report->toPlainText().isEmpty());
        EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("odd.orvaneexp"))));
    }
}

TEST_F(EmissionFormTest, ClearingKeepsTheOptionalTicks)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    boxes.at(0)->setChecked(true);
    boxes.at(5)->setChecked(true);
    ASSERT_TRUE(boxes.at(0)->isChecked() && boxes.at(5)->isChecked());
    mark(2, bandWindow(2));

    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::No);
    button("btnClearProject")->click();
    EXPECT_FALSE(form->getFileName().isEmpty());
    dialogs.pressButton(QMessageBox::Yes);
    button("btnClearProject")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(0).text, QStringLiteral("Are you sure you want to clear the current project?"));
    EXPECT_TRUE(form->getFileName().isEmpty());
    EXPECT_TRUE(boxes.at(0)->isChecked() && boxes.at(5)->isChecked());
    EXPECT_FALSE(boxes.at(2)->isEnabled());
    EXPECT_EQ(sliders.at(4)->value(), 0);
    EXPECT_EQ(limits.at(4)->text(), QStringLiteral(".")) << "the mask's empty text";
    EXPECT_FALSE(plot->graph(2)->visible());
    EXPECT_FALSE(button("btnCalculate")->isEnabled());
    EXPECT_EQ(edit->styleSheet(), QStringLiteral("color: rgb(158, 158, 158);"));
}

TEST_F(EmissionFormTest, AGraphNameTypedWithoutSuffixIsSavedAsPng)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    DialogScript dialogs;
    expectSavedWithFilterSuffix(dialogs, work.path(), QStringLiteral("emission"), QStringLiteral("emission.png"),
                                QStringLiteral("The file was successfully created at: "),
                                [&] { QMetaObject::invokeMethod(form.get(), "on_btnSave_clicked"); });
    EXPECT_EQ(QImage(work.filePath(QStringLiteral("emission.png"))).size(), QSize(1000, 400));
}

TEST_F(EmissionFormTest, GraphExportAndTheChromaticityWindow)
{
    open(writeFile(QStringLiteral("europium.txt"), europiumFile()));
    QSignalSpy log(form.get(), &OrvaneFrmPlotEmissionSpectrum::newObjCalculationMessage);
    const QString png = work.filePath(QStringLiteral("spectrum.png"));
    DialogScript dialogs;
    dialogs.chooseFile(png);
    dialogs.pressButton(QMessageBox::Ok);
    // The export is there before a calculation enables its button.
    QMetaObject::invokeMethod(form.get(), "on_btnSave_clicked");
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(0).directory, work.path());
    EXPECT_EQ(QImage(png).size(), QSize(1000, 400));
    ASSERT_EQ(log.count(), 1);
    EXPECT_TRUE(log.at(0).at(0).toString().endsWith(
        QStringLiteral(" -> (Orvane Module to Plot Absorption Spectrum ) Saving graph... The graph was saved at ")
        + work.path()));
    // A folder that does not exist: said so.
    dialogs.chooseFile(work.filePath(QStringLiteral("missing/spectrum.png")));
    dialogs.pressButton(QMessageBox::Ok);
    QMetaObject::invokeMethod(form.get(), "on_btnSave_clicked");
    ASSERT_EQ(dialogs.requests().size(), 4);
    EXPECT_EQ(dialogs.requests().at(3).title, QStringLiteral("ORVANE Error"));
    EXPECT_EQ(log.count(), 1);

    OrvaneFrmCIEDiagram* cie = form->getCieDiagram();
    EXPECT_EQ(cie->parent(), nullptr);
    EXPECT_EQ(cie->windowModality(), Qt::ApplicationModal);
    button("btnCIEDiagram")->click();
    EXPECT_TRUE(cie->isVisible());
    // The whole spectrum, whatever the bands: the Eu(III) red.
    EXPECT_GT(cie->getCieX(), 0.6);
    EXPECT_LT(cie->getCieY(), 0.4);
    cie->close();
}

} // namespace
