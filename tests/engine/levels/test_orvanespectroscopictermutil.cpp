#include "orvanespectroscopictermutil.h"

#include <gtest/gtest.h>

using namespace OrvaneSpectroscopicTermUtil;

namespace {

struct LabelCase
{
    double S;
    int L;
    int index;
    double J;
    const char* label;
};

// Level labels of 4f^N levels written out by hand: 2S+1, the letter of L,
// "(index)" for a repeated term, J in the shortest decimal form.
const LabelCase levelLabels[] = {
    {3.0, 3, 0, 0.0, "7F0"},
    {2.0, 2, 2, 4.0, "5D(2)4"},
    {0.5, 5, 2, 5.5, "2H(2)5.5"},
    {1.5, 6, 0, 7.5, "4I7.5"},
    {3.5, 0, 0, 3.5, "8S3.5"},
    {0.0, 12, 1, 12.0, "1Q(1)12"},
    {1.0, 7, 9, 8.0, "3K(9)8"},
    {0.5, 3, 10, 3.5, "2F(10)3.5"},  // f^7 has terms up to index 10
    {0.0, 4, 4, 4.0, "1G(4)4"},
};

void expectTerm(const SpectroscopicTerm& term, double S, int L, int index, double J)
{
    EXPECT_EQ(term.S, S);
    EXPECT_EQ(term.L, L);
    EXPECT_EQ(term.index, index);
    EXPECT_EQ(term.J, J);
}

} // namespace

TEST(OrvaneSpectroscopicTermUtil, LetterTable)
{
    EXPECT_EQ(termLetters.join(QString()), QStringLiteral("SPDFGHIKLMNOQ"));
    EXPECT_EQ(letterToL(QStringLiteral("S")), 0);
    EXPECT_EQ(letterToL(QStringLiteral("K")), 7);
    EXPECT_EQ(letterToL(QStringLiteral("Q")), 12);
    for (const char* unknown : {"J", "R", "f", "", "FG", "?"})
        EXPECT_EQ(letterToL(QString::fromLatin1(unknown)), -1) << unknown;
}

TEST(OrvaneSpectroscopicTermUtil, LevelLabelsFormatAndReadBack)
{
    for (const LabelCase& c : levelLabels) {
        SCOPED_TRACE(c.label);
        SpectroscopicTerm term;
        term.S = c.S;
        term.L = c.L;
        term.index = c.index;
        term.J = 99.0; // the J argument counts, not the record's
        EXPECT_EQ(termLabel(term, c.J), QString::fromLatin1(c.label));
        expectTerm(parseTermLabel(QString::fromLatin1(c.label), true), c.S, c.L, c.index, c.J);
    }
}

TEST(OrvaneSpectroscopicTermUtil, TermLabelEdgeCases)
{
    SpectroscopicTerm term;
    term.S = 2.0;
    term.L = 2;
    term.index = -3;
    EXPECT_EQ(termLabel(term, 4.0), QStringLiteral("5D4")); // a negative index is written like 0
    // An L outside the table (a malformed level line) gets the marker letter,
    // which reads back as an unknown letter.
    for (const int L : {-1, 13, 1000, -1000}) {
        term.L = L;
        EXPECT_EQ(termLabel(term, 1.0), QStringLiteral("5?1")) << L;
    }
    EXPECT_EQ(parseTermLabel(QStringLiteral("5?1"), true).L, -1);
}

TEST(OrvaneSpectroscopicTermUtil, TermLabelsOfTheDataFiles)
{
    struct Case
    {
        const char* label;
        double S;
        int L;
        int index;
    };
    const Case cases[] = {
        {"2H2", 0.5, 5, 2},
        {"4I", 1.5, 6, 0},
        {"7F", 3.0, 3, 0},
        {"2F10", 0.5, 3, 10},
        {"3P6", 1.0, 1, 6},
        {"2J1", 0.5, -1, 1},   // J is no orbital letter
        {"2R1", 0.5, -1, 1},
        {"5d", 2.0, -1, 0},    // case-sensitive
        {"", -0.5, -1, 0},     // missing characters read as empty text, hence 0
        {"xF2", -0.5, 3, 2},   // a multiplicity that is no number reads as 0
        {"2Hz", 0.5, 5, 0},
        {"2H99999999999", 0.5, 5, 0}, // beyond int: 0, never a wrapped number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        expectTerm(parseTermLabel(QString::fromLatin1(c.label), false), c.S, c.L, c.index, 0.0);
    }
}

TEST(OrvaneSpectroscopicTermUtil, LevelLabelParsingEdgeCases)
{
    struct Case
    {
        const char* label;
        double S;
        int L;
        int index;
        double J;
    };
    const Case cases[] = {
        {"5D0", 2.0, 2, 0, 0.0},
        {"4I15/2", 1.5, 6, 0, 0.0},      // a fraction is not understood here
        {"2H(2)11/2", 0.5, 5, 2, 0.0},
        {"2F(12)2.5", 0.5, 3, 12, 2.5},  // every index digit is read
        {"2F(1", 0.5, 3, 1, 0.0},        // no ")": J from position 2 on, not a number
        {"2F(x)2.5", 0.5, 3, 0, 2.5},
        {"2F()3", 0.5, 3, 0, 3.0},
        {"7F", 3.0, 3, 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        expectTerm(parseTermLabel(QString::fromLatin1(c.label), true), c.S, c.L, c.index, c.J);
    }
}
