// Every report line that a form reads back is read as it was written: the
// .omega and .orvane value lines, the .orvaneexp Omega and lifetime lines and
// the .expdata side file; and the two side-file naming rules.

#include "orvanefilenames.h"
#include "orvaneomegaexpreportlines.h"
#include "orvaneomegareportlines.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeText(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return path;
}

} // namespace

TEST(ReportLinesRoundTrip, OmegaValueLinesReadAsWritten)
{
    QTemporaryDir dir;
    const double written[6] = {12.34, 5.67, 0.8912, 0.0001, 1.2345, 9.8765};
    QString text = QStringLiteral("banner\n\n");
    for (int k = 0; k < 3; ++k)
        text += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaName, 2 + 2 * k, written[k], k == 2 ? 4 : 2);
    text += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaDCName, 2, 99.0, 4);
    for (int k = 0; k < 3; ++k)
        text += OrvaneOmegaReport::valueLine(OrvaneOmegaReport::omegaEDName, 2 + 2 * k, written[3 + k], 4);
    EXPECT_TRUE(text.contains(QStringLiteral("    omega(2) =  12.34e-20 cm^2\n")));
    OrvaneOmegaReport::Values values;
    QString reason;
    ASSERT_TRUE(OrvaneOmegaReport::read(writeText(dir, QStringLiteral("r.omega"), text), values, reason));
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(values[std::size_t(k)].has_value()) << k;
        EXPECT_DOUBLE_EQ(*values[std::size_t(k)], written[k]) << k;
    }
    EXPECT_FALSE(OrvaneOmegaReport::read(dir.filePath(QStringLiteral("missing.omega")), values, reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(ReportLinesRoundTrip, ExperimentalOmegasAndLifetimeReadAsWritten)
{
    QTemporaryDir dir;
    const QString text = OrvaneOmegaExpReport::omegaLine(2, 7.85) + OrvaneOmegaExpReport::omegaLine(4, 12.5)
        + QStringLiteral("\n    Arad = 100.00 s^-1\n") + OrvaneOmegaExpReport::lifeTimeLine(1.25);
    EXPECT_TRUE(text.startsWith(QStringLiteral("    omega(2) =   7.85e-20 cm^2 \n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    Experimental Lifetime Used = 1.2500 ms\n")));
    const QString path = writeText(dir, QStringLiteral("r.orvaneexp"), text);
    OrvaneOmegaExpReport::Omegas omegas;
    ASSERT_TRUE(OrvaneOmegaExpReport::readOmegas(path, omegas));
    EXPECT_DOUBLE_EQ(omegas.omega2.value_or(-1), 7.85);
    EXPECT_DOUBLE_EQ(omegas.omega4.value_or(-1), 12.5);
    EXPECT_DOUBLE_EQ(OrvaneOmegaExpReport::readLifeTime(path).value_or(-1), 1.25);
}

TEST(ReportLinesRoundTrip, ExpDataSideFileReadAsWritten)
{
    QTemporaryDir dir;
    double omega2 = 0, omega4 = 0;
    ASSERT_TRUE(OrvaneExpDataFile::read(
        writeText(dir, QStringLiteral("a.expdata"), OrvaneExpDataFile::text(QStringLiteral("Eu"), 10.5, 4.2)), omega2,
        omega4));
    EXPECT_DOUBLE_EQ(omega2, 10.5);
    EXPECT_DOUBLE_EQ(omega4, 4.2);
}

TEST(SideFileNames, BothRules)
{
    EXPECT_EQ(OrvaneFileNames::withFinalSuffix(QStringLiteral("/data/a.b.out"), QStringLiteral("expdata")),
              QStringLiteral("/data/a.b.expdata"));
    EXPECT_EQ(OrvaneFileNames::withFinalSuffix(QStringLiteral("/data.d/x"), QStringLiteral("omega")),
              QStringLiteral("/data.d/x.omega"));
    EXPECT_EQ(OrvaneFileNames::withBaseName(QStringLiteral("/data/a.b.out"), QStringLiteral("orvaneexp")),
              QStringLiteral("/data/a.orvaneexp"));
    EXPECT_EQ(OrvaneFileNames::finalSuffix(QStringLiteral("/data.d/x")), QString());
    EXPECT_EQ(OrvaneFileNames::finalSuffix(QStringLiteral("/d/run.OMEGA")), QStringLiteral("OMEGA"));
}
