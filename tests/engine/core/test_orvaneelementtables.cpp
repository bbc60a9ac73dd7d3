#include "orvaneelementtables.h"
#include "orvaneinputdata.h"

#include <gtest/gtest.h>

using OrvaneElements::massOfSymbol;
using OrvaneElements::symbolFromAtomicNumber;

TEST(ElementTables, SymbolFromAtomicNumber)
{
    const std::pair<int, const char*> cases[] = {
        {1, "H"}, {8, "O"}, {57, "La"}, {63, "Eu"}, {71, "Lu"}, {80, "Hg"}, {102, "No"},
        {103, "Lw"}, {0, ""}, {-1, ""}, {104, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(symbolFromAtomicNumber(c.first), QString::fromLatin1(c.second)) << c.first;
}

TEST(ElementTables, MassLookUpIsExact)
{
    double mass = 0.0;
    ASSERT_TRUE(massOfSymbol(QStringLiteral("Eu"), mass));
    EXPECT_DOUBLE_EQ(mass, 151.97);
    ASSERT_TRUE(massOfSymbol(QStringLiteral("Mg"), mass));
    EXPECT_DOUBLE_EQ(mass, 24.31);
    ASSERT_TRUE(massOfSymbol(QStringLiteral("Lr"), mass));
    EXPECT_DOUBLE_EQ(mass, 260.0);
    for (const char* absent : {"eu", "EU", " Eu", "Lw", ""})
        EXPECT_FALSE(massOfSymbol(QString::fromLatin1(absent), mass)) << absent;
}

TEST(ElementTables, LanthanideListRunsLaToLu)
{
    const char* expected[] = {"La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd",
                              "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu"};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(OrvaneInputData::lanthanideList[i], QString::fromLatin1(expected[i]));
        // They are the elements 57 to 71 of the number table.
        EXPECT_EQ(symbolFromAtomicNumber(57 + i), OrvaneInputData::lanthanideList[i]);
    }
}

TEST(ReportBanner, ElevenLinesOf107Characters)
{
    const QString& banner = OrvaneInputData::ORVANETitle;
    EXPECT_EQ(banner.size(), 1188);
    ASSERT_TRUE(banner.endsWith(QLatin1Char('\n')));
    const QStringList lines = banner.left(banner.size() - 1).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 11);
    for (const QString& line : lines)
        EXPECT_EQ(line.size(), 107) << line.toStdString();

    const QString stars = QString(16, QLatin1Char(' ')) + QString(91, QLatin1Char('*'));
    EXPECT_EQ(lines[0], stars);
    EXPECT_EQ(lines[10], stars);
    for (int blank : {1, 3, 9})
        EXPECT_TRUE(lines[blank].trimmed().isEmpty()) << blank;

    EXPECT_TRUE(lines[2].startsWith(QString(37, QLatin1Char(' ')) + QStringLiteral("ORVANE - ")));
    EXPECT_TRUE(lines[2].trimmed().endsWith(QStringLiteral(" - version 1.4.1")));
    EXPECT_TRUE(lines[4].startsWith(QString(18, QLatin1Char(' ')) + QStringLiteral("Cite this work as: ")));
    for (int text : {5, 6, 7, 8}) {
        EXPECT_TRUE(lines[text].startsWith(QString(37, QLatin1Char(' ')))) << text;
        EXPECT_NE(lines[text].at(37), QLatin1Char(' ')) << text;
    }
    EXPECT_EQ(lines[8].mid(37, 4), QStringLiteral("DOI:"));
    EXPECT_TRUE(banner.contains(QStringLiteral("README")));
}
