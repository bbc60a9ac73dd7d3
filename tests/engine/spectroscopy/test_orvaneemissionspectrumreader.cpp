// The reader of measured emission spectra: the files spectrometers write
// (headers, blank lines, CRLF, semicolons, falling wavelengths) give the same
// points; the decimal comma, values that are not finite numbers, too few
// points, things that are not files and files that are not two numeric
// columns are refused with a reason that names the line where there is one.

#include "orvaneemissionspectrumreader.h"
#include "orvanefixtures.h"
#include "orvanetextreader.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Twelve points of a Eu(III) band, 0.5 nm apart.
const double cleanX[] = {610.0, 610.5, 611.0, 611.5, 612.0, 612.5, 613.0, 613.5, 614.0, 614.5, 615.0, 615.5};
const double cleanY[] = {0.01, 0.1, 0.4, 0.9, 1.0, 0.8, 0.5, 0.25, 0.1, 0.05, 0.02, 0.0};
constexpr int cleanPoints = 12;

QByteArray cleanText(const char* separator = " ", const char* lineEnd = "\n")
{
    QByteArray text;
    for (int i = 0; i < cleanPoints; ++i)
        text += QByteArray::number(cleanX[i], 'f', 1) + separator + QByteArray::number(cleanY[i], 'g', 6) + lineEnd;
    return text;
}

class EmissionSpectrumReaderTest : public ::testing::Test
{
protected:
    QString write(const QByteArray& text)
    {
        return OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("spectrum%1.txt").arg(files++)), text);
    }

    QTemporaryDir dir;
    int files = 0;
};

TEST_F(EmissionSpectrumReaderTest, InstrumentLayoutsOfTheSameDataGiveTheSamePoints)
{
    QByteArray withBlankLines = cleanText();
    withBlankLines.insert(0, "\n");
    withBlankLines.insert(withBlankLines.indexOf("612.0"), "\n  \t\n");
    withBlankLines += "\n\n";
    QByteArray reversed;
    for (int i = cleanPoints - 1; i >= 0; --i)
        reversed += QByteArray::number(cleanX[i], 'f', 1) + "\t" + QByteArray::number(cleanY[i], 'g', 6) + "\n";

    const struct
    {
        const char* name;
        QByteArray text;
        int skipped;
        bool descending;
    } cases[] = {
        {"clean", cleanText(), 0, false},
        {"header lines", "Emission spectrum of [Eu(tta)3(phen)]\nExcitation 350 nm; slits 1,0 nm\n"
                         "Wavelength (nm)\tIntensity (a.u.)\n" + cleanText("\t"), 3, false},
        {"blank lines inside and around", withBlankLines, 5, false},
        {"CRLF line ends", cleanText(" ", "\r\n"), 0, false},
        {"commas", cleanText(","), 0, false},
        {"comma and blank", cleanText(", "), 0, false},
        {"semicolons with decimal points", cleanText(";"), 0, false},
        {"a third column and a byte-order mark", "\xEF\xBB\xBF" + cleanText(" ").replace("\n", " 7\n"), 0, false},
        {"falling wavelengths", reversed, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneEmissionSpectrumReader reader;
        ASSERT_TRUE(reader.readFile(write(c.text))) << reader.getLastError().toStdString();
        ASSERT_EQ(reader.getWavelengths().size(), cleanPoints);
        for (int i = 0; i < cleanPoints; ++i) {
            EXPECT_EQ(reader.getWavelengths().at(i), cleanX[i]);
            EXPECT_EQ(reader.getIntensities().at(i), cleanY[i]);
        }
        EXPECT_EQ(reader.getSkippedLines(), c.skipped);
        EXPECT_EQ(reader.wasDescending(), c.descending);
        EXPECT_TRUE(reader.getLastError().isEmpty());
    }
}

TEST_F(EmissionSpectrumReaderTest, RefusesWhatIsNoSpectrumAndSaysWhy)
{
    QByteArray nonMonotonic = cleanText();
    nonMonotonic.replace("613.5", "609.0");
    QByteArray tooFew;
    for (int i = 0; i < 9; ++i)
        tooFew += QByteArray::number(600 + i) + " 1\n";
    const struct
    {
        const char* name;
        QByteArray text;
        QStringList named; // parts of the reason
    } cases[] = {
        {"semicolons and the decimal comma", "Wavelength;Intensity\n570,100;2,0000\n570,600;2,5000\n",
         {QStringLiteral("Line 2"), QStringLiteral("decimal comma"), QStringLiteral("570,100;2,0000")}},
        {"tab and the decimal comma", cleanText() + "616,0\t0,5\n",
         {QStringLiteral("Line 13"), QStringLiteral("decimal comma")}},
        {"decimal comma in the intensity only", "h\n570 10,5\n", {QStringLiteral("Line 2"), QStringLiteral("decimal comma")}},
        {"nan intensity", cleanText() + "616.0 nan\n", {QStringLiteral("Line 13"), QStringLiteral("not a finite number")}},
        {"infinite wavelength", "inf 3\n" + cleanText(), {QStringLiteral("Line 1"), QStringLiteral("not a finite number")}},
        {"overflowing intensity", cleanText() + "616.0 1e999\n", {QStringLiteral("Line 13")}},
        {"wavelengths back and forth", nonMonotonic,
         {QStringLiteral("line 8"), QStringLiteral("613 to 609"), QStringLiteral("rise or fall")}},
        {"nine points", tooFew, {QStringLiteral("9 points"), QStringLiteral("at least 10")}},
        {"one point", "612 1\n", {QStringLiteral("1 point of")}},
        {"empty", "", {QStringLiteral("empty")}},
        {"only blank lines", "\n \n\r\n", {QStringLiteral("empty")}},
        {"one column", "600\n601\n602\n603\n604\n605\n606\n607\n608\n609\n610\n",
         {QStringLiteral("two numeric columns")}},
        {"all at one wavelength", QByteArray("612 1\n").repeated(12), {QStringLiteral("612 nm")}},
        {"a MOPAC output", OrvaneFixtures::contents(OrvaneFixtures::dataPath(QStringLiteral("mopac/water.out"))),
         {QStringLiteral("two numeric columns")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvaneEmissionSpectrumReader reader;
        EXPECT_FALSE(reader.readFile(write(c.text)));
        for (const QString& part : c.named)
            EXPECT_TRUE(reader.getLastError().contains(part)) << reader.getLastError().toStdString();
        EXPECT_TRUE(reader.getWavelengths().isEmpty());
        EXPECT_TRUE(reader.getIntensities().isEmpty());
    }
}

TEST_F(EmissionSpectrumReaderTest, ThingsThatAreNotFilesAreRefusedWithoutWaiting)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        QString path;
        const char* named;
    } cases[] = {{fifo, "is not a regular file"},
                 {folder, "is a folder"},
                 {dir.filePath(QStringLiteral("missing.txt")), "does not exist"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        OrvaneEmissionSpectrumReader reader;
        // Opening a FIFO for reading would wait for a writer that never comes.
        EXPECT_FALSE(OrvaneFixtures::resultWithin(20, [&] { return reader.readFile(c.path); }));
        EXPECT_TRUE(reader.getLastError().contains(QLatin1String(c.named))) << reader.getLastError().toStdString();
    }
}

TEST_F(EmissionSpectrumReaderTest, ReadsFromTheLineReaderWhereverItStands)
{
    // The reader continues from the line reader's position: what came before
    // is not looked at.
    OrvaneLineReader lines(write("garbage ; ; ;\n" + cleanText()));
    ASSERT_TRUE(lines.skipLines(1));
    OrvaneEmissionSpectrumReader reader;
    ASSERT_TRUE(reader.read(lines));
    EXPECT_EQ(reader.getWavelengths().size(), cleanPoints);
    EXPECT_EQ(reader.getSkippedLines(), 0);
}

} // namespace
