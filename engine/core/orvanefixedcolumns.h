#ifndef ORVANEFIXEDCOLUMNS_H
#define ORVANEFIXEDCOLUMNS_H

#include <QString>

// Fixed-column text of the files the engine writes for other programs, which
// read them by position: fields padded with blanks to a width, never cut.
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

} // namespace OrvaneColumns

#endif
