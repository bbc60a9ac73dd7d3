#include "orvaneemissionspectrumreader.h"

#include "orvanetextreader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r' || c == '\v' || c == '\f';
}

// The separators that a decimal-comma file puts between its fields.
bool isFieldSeparator(char c)
{
    return c != ',' && isSeparator(c);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Token
{
    const char* data = nullptr;
    int size = 0;
};

// The next token of the line from `pos`, split at `separator`; false when
// only separators are left.
template<typename Separator>
bool nextToken(const char* line, int size, int& pos, Token& token, Separator separator)
{
    while (pos < size && separator(line[pos]))
        ++pos;
    if (pos >= size)
        return false;
    const int start = pos;
    while (pos < size && !separator(line[pos]))
        ++pos;
    token = Token{line + start, pos - start};
    return true;
}

// [+-]digits,digits: a number written with the decimal comma.
bool isCommaDecimal(const Token& token)
{
    int i = 0;
    if (i < token.size && (token.data[i] == '-' || token.data[i] == '+'))
        ++i;
    const int integerStart = i;
    while (i < token.size && isDigit(token.data[i]))
        ++i;
    if (i == integerStart || i >= token.size || token.data[i] != ',')
        return false;
    const int fractionStart = ++i;
    while (i < token.size && isDigit(token.data[i]))
        ++i;
    return i > fractionStart && i == token.size;
}

bool looksNumeric(const Token& token)
{
    const char c = token.data[0];
    return isDigit(c) || c == '-' || c == '+' || c == '.';
}

// "570,5 10", "570 10,5" or "570,100;2,0000": the first two fields, split
// where a decimal-comma file splits them, begin with a number and one of them
// holds a decimal comma. A lone "500,10" is the comma separating two numbers.
bool usesDecimalComma(const char* line, int size)
{
    int pos = 0;
    Token first, second;
    if (!nextToken(line, size, pos, first, isFieldSeparator) || !looksNumeric(first)
        || !nextToken(line, size, pos, second, isFieldSeparator) || !looksNumeric(second))
        return false;
    return isCommaDecimal(first) || isCommaDecimal(second);
}

// "nan", "inf" or a number too large for a double.
bool spellsNonFinite(const Token& token)
{
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(token.data, token.data + token.size, value);
    if (result.ptr != token.data + token.size)
        return false;
    return result.ec == std::errc::result_out_of_range || (result.ec == std::errc() && !std::isfinite(value));
}

QString quoted(const OrvaneLineReader& reader)
{
    const int shown = 60;
    QString text = reader.lineText().trimmed();
    if (text.size() > shown)
        text = text.left(shown) + QStringLiteral("...");
    return QStringLiteral("\"") + text + QStringLiteral("\"");
}

} // namespace

bool OrvaneEmissionSpectrumReader::fail(const QString& reason)
{
    wavelengths.clear();
    intensities.clear();
    descending = false;
    lastError = reason;
    return false;
}

bool OrvaneEmissionSpectrumReader::readFile(const QString& fileName)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        skippedLines = 0;
        return fail(reader.openFailure(fileName + QStringLiteral(" does not exist.")));
    }
    return read(reader);
}

bool OrvaneEmissionSpectrumReader::read(OrvaneLineReader& reader)
{
    wavelengths.clear();
    intensities.clear();
    skippedLines = 0;
    descending = false;
    lastError.clear();
    int textLines = 0; // skipped lines that are not blank
    int direction = 0; // +1 rising, -1 falling, 0 not known yet
    while (reader.nextLine()) {
        const char* line = reader.lineData();
        const int size = reader.lineSize();
        int pos = 0;
        Token first, second;
        if (!nextToken(line, size, pos, first, isSeparator)) {
            ++skippedLines;
            continue;
        }
        if (usesDecimalComma(line, size))
            return fail(QStringLiteral("Line %1 uses the decimal comma (%2). Please, save the spectrum with decimal "
                                       "points (570.5, not 570,5) and open it again.")
                            .arg(reader.lineNumber())
                            .arg(quoted(reader)));
        const bool hasSecond = nextToken(line, size, pos, second, isSeparator);
        double x = 0.0, y = 0.0;
        const bool xNumber = OrvaneText::toFiniteNumber(first.data, first.size, x);
        const bool yNumber = hasSecond && OrvaneText::toFiniteNumber(second.data, second.size, y);
        if (!xNumber || !yNumber) {
            const bool xNonFinite = !xNumber && spellsNonFinite(first);
            const bool yNonFinite = hasSecond && !yNumber && spellsNonFinite(second);
            if ((xNumber || xNonFinite) && (yNumber || yNonFinite))
                return fail(QStringLiteral("Line %1 holds a value that is not a finite number (%2).")
                                .arg(reader.lineNumber())
                                .arg(quoted(reader)));
            ++skippedLines;
            ++textLines;
            continue;
        }
        if (!wavelengths.isEmpty()) {
            const double previous = wavelengths.last();
            const int step = x > previous ? 1 : (x < previous ? -1 : 0);
            if (direction == 0)
                direction = step;
            else if (step == -direction)
                return fail(QStringLiteral("The wavelengths must rise or fall along the whole file: line %1 goes "
                                           "from %2 to %3 nm, against the order of the lines before it.")
                                .arg(reader.lineNumber())
                                .arg(previous)
                                .arg(x));
        }
        wavelengths.append(x);
        intensities.append(y);
    }

    const int points = wavelengths.size();
    if (points == 0 && textLines == 0)
        return fail(QStringLiteral("The file holds no point of wavelength and intensity: it is empty."));
    if (textLines > points)
        return fail(QStringLiteral("The file is not an emission spectrum of two numeric columns (wavelength and "
                                   "intensity): only %1 of its %2 lines that are not blank begin with two numbers.")
                        .arg(points)
                        .arg(points + textLines));
    if (points < minimumPoints)
        return fail(QStringLiteral("The file holds %1 point%2 of wavelength and intensity; a spectrum needs at "
                                   "least %3.")
                        .arg(points)
                        .arg(points == 1 ? QString() : QStringLiteral("s"))
                        .arg(minimumPoints));
    if (direction == 0)
        return fail(QStringLiteral("All the wavelengths of the file are %1 nm: that is no spectrum.")
                        .arg(wavelengths.first()));
    if (direction < 0) {
        std::reverse(wavelengths.begin(), wavelengths.end());
        std::reverse(intensities.begin(), intensities.end());
        descending = true;
    }
    return true;
}
