#ifndef ORVANEFIXEDCOLUMNS_H
#define ORVANEFIXEDCOLUMNS_H

#include <QString>

// The numbers and columns of every text the engine writes: files for other
// programs, which read them by position, and the reports. Fields are padded
// with blanks to a width, never cut; numbers use the C locale.
namespace OrvaneColumns {

// `text` padded on the left to `width` characters.
inline QString right(int width, const QString& text)
{
    return text.rightJustified(width, QLatin1Char(' '));
}

// `text` padded on the right to `width` characters.
inline QString left(int width, const QString& text)
{
    return text.leftJustified(width, QLatin1Char(' '));
}

// `value` in fixed notation with `decimals` decimals, C locale.
inline QString fixed(int decimals, double value)
{
    return QString::number(value, 'f', decimals);
}

// Fixed notation right-aligned in `width` characters.
inline QString fixed(int width, int decimals, double value)
{
    return right(width, fixed(decimals, value));
}

// `value` in exponent notation with `decimals` decimals ("1.23e-04").
inline QString scientific(int decimals, double value)
{
    return QString::number(value, 'e', decimals);
}

// Report numbers: an exact zero of either sign prints without a sign, so
// that the imaginary part of a real term does not read "-0.0000". Files for
// other programs keep a read "-0.0" as it was (fixed above).
inline QString signlessFixed(int decimals, double value)
{
    return fixed(decimals, value == 0.0 ? 0.0 : value);
}

inline QString signlessScientific(int decimals, double value)
{
    return scientific(decimals, value == 0.0 ? 0.0 : value);
}

} // namespace OrvaneColumns

#endif
