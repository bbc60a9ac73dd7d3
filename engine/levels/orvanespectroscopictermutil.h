#ifndef ORVANESPECTROSCOPICTERMUTIL_H
#define ORVANESPECTROSCOPICTERMUTIL_H

#include "orvanetextreader.h"

#include <QString>
#include <QStringList>

// Names of the Russell-Saunders terms and J levels of a 4f^N ion. Three label
// forms are in use, multiplicity 2S+1 always first, then the orbital letter:
//   term label   "2H2", "4I"        (data files: index written bare)
//   level label  "2H(2)5.5", "7F0"  (computed levels: index in parentheses
//                                    only when > 0, then J)
//   experimental "5D(1)3/2"         (.exp files; a fraction J reads as 0 here)
// An index in parentheses may have several digits ("2F(10)3.5" in f^7).
// Numbers are written like the 'g' format with 6 significant digits, so a
// half-integer J appears as "2.5". Everything lives in this header so that the
// engine and the program share one table and one formatter.
namespace OrvaneSpectroscopicTermUtil {

// Orbital letters by L; "J" is skipped and the table ends at "Q" (L = 12).
inline const QStringList termLetters = {
    QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("D"), QStringLiteral("F"),
    QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("I"), QStringLiteral("K"),
    QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("N"), QStringLiteral("O"),
    QStringLiteral("Q")};

// Written by termLabel in place of a letter for an L the table lacks (a
// malformed level file can produce one); it reads back as L = -1.
inline const QString unknownLetter = QStringLiteral("?");

// A term (J = 0) or a level. Two records name the same term when S, L and
// index agree; J is compared only where a caller says so.
struct SpectroscopicTerm
{
    double S = 0.0;  // total spin
    int L = 0;       // index into termLetters; -1 for a letter the table lacks
    int index = 0;   // running number among terms of equal S and L; 0 when not repeated
    double J = 0.0;  // total angular momentum; 0 in a term record
};

// Position of the first entry equal to `letter` (whole, case-sensitive), -1 when none.
inline int letterToL(const QString& letter)
{
    return termLetters.indexOf(letter);
}

// Level label of `term` at angular momentum `J` (the record's own J is not used).
// A negative index is written like 0, without parentheses.
inline QString termLabel(const SpectroscopicTerm& term, const double& J)
{
    const QString letter = (term.L >= 0 && term.L < termLetters.size()) ? termLetters.at(term.L)
                                                                         : unknownLetter;
    QString label = QString::number(2.0 * term.S + 1.0, 'g', 6) + letter;
    if (term.index > 0)
        label += QLatin1Char('(') + QString::number(term.index) + QLatin1Char(')');
    return label + QString::number(J, 'g', 6);
}

// The index written in parentheses after the letter of a level or an
// experimental label ("5D(2)4", "2F(10)5/2"): every digit from position 3 on,
// so that the two-digit indexes of f^7 read whole; 0 when there is none.
inline int parenthesisedIndex(const QString& label)
{
    int end = 3;
    while (end < label.size() && label.at(end).isDigit() && label.at(end).unicode() < 128)
        ++end;
    return OrvaneText::toTruncatedInteger(label.mid(3, end - 3));
}

// Reads a term label (withJ false) or a level label (withJ true). A missing
// character reads as empty text and text that is not a number as 0. The index
// of a level label is every digit after "(" (two-digit indexes occur from f^7
// on). J written as a fraction ("11/2") is not understood and reads as 0.
inline SpectroscopicTerm parseTermLabel(const QString& label, const bool& withJ)
{
    SpectroscopicTerm term;
    term.S = (OrvaneText::toNumber(label.mid(0, 1)) - 1.0) * 0.5;
    term.L = letterToL(label.mid(1, 1));
    term.J = 0.0;
    if (!withJ) {
        term.index = OrvaneText::toTruncatedInteger(label.mid(2));
        return term;
    }
    term.index = label.contains(QLatin1Char('(')) ? parenthesisedIndex(label) : 0;
    const int close = label.indexOf(QLatin1Char(')'));
    term.J = OrvaneText::toNumber(close >= 0 ? label.mid(close + 1) : label.mid(2));
    return term;
}

} // namespace OrvaneSpectroscopicTermUtil

#endif
