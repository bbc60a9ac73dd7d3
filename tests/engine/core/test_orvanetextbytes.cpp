// A file opened to be read, edited and saved keeps its bytes: only its line
// ends become line feeds.

#include "orvanetextbytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

using OrvaneTextBytes::Encoding;
using Charset = OrvaneTextBytes::Encoding::Charset;

namespace {

QByteArray bytes(const char* data, int size)
{
    return QByteArray(data, size);
}

// The bytes of `text` in `encoding`, or the reason; fails the test on a
// refusal.
QByteArray encoded(const QString& text, const Encoding& encoding)
{
    QByteArray out;
    QString reason;
    EXPECT_TRUE(OrvaneTextBytes::encode(text, encoding, out, reason)) << reason.toStdString();
    return out;
}

std::string hex(const QByteArray& data)
{
    return data.toHex(' ').toStdString();
}

} // namespace

TEST(TextBytes, EveryByteIsReadAndSavedInTheEncodingItCameIn)
{
    const struct
    {
        const char* name;
        QByteArray file;
        QString text;
        Encoding encoding;
        QByteArray saved;
    } cases[] = {
        {"empty", "", QString(), {Charset::Utf8, false}, ""},
        {"UTF-8 with a NUL", bytes("a\0\xce\xa9\n", 5), QString::fromUtf8("a\0\xce\xa9\n", 5), {Charset::Utf8, false},
         bytes("a\0\xce\xa9\n", 5)},
        // A NUL ends nothing: everything after it is read and saved.
        {"Latin-1 with NULs", bytes("\0r\xe9sum\xe9\0\0 25\xb0" "C", 13),
         QString::fromLatin1("\0r\xe9sum\xe9\0\0 25\xb0" "C", 13), {Charset::Latin1, false},
         bytes("\0r\xe9sum\xe9\0\0 25\xb0" "C", 13)},
        {"UTF-8 mark alone", "\xef\xbb\xbf", QString(), {Charset::Utf8, true}, "\xef\xbb\xbf"},
        // Only the first mark is the file's; a second one is text.
        {"UTF-8 mark twice", "\xef\xbb\xbf\xef\xbb\xbf" "a", QString(QChar(0xFEFF)) + QLatin1Char('a'),
         {Charset::Utf8, true}, "\xef\xbb\xbf\xef\xbb\xbf" "a"},
        {"UTF-8 cut inside a character", "caf\xc3", QString::fromLatin1("caf\xc3"), {Charset::Latin1, false},
         "caf\xc3"},
        {"UTF-16 LE mark alone", "\xff\xfe", QString(), {Charset::Utf16Le, true}, "\xff\xfe"},
        {"UTF-16 BE mark alone", "\xfe\xff", QString(), {Charset::Utf16Be, true}, "\xfe\xff"},
        {"UTF-16 LE", bytes("\xff\xfe" "E\0u\0\r\0\n\0\xa9\x03\0\0", 14), QString::fromUtf8("Eu\n\xce\xa9\0", 6),
         {Charset::Utf16Le, true}, bytes("\xff\xfe" "E\0u\0\n\0\xa9\x03\0\0", 12)},
        {"UTF-16 BE", bytes("\xfe\xff\0E\0u\0\r\0\n\x03\xa9\0\0", 14), QString::fromUtf8("Eu\n\xce\xa9\0", 6),
         {Charset::Utf16Be, true}, bytes("\xfe\xff\0E\0u\0\n\x03\xa9\0\0", 12)},
        {"UTF-16 LE beyond 16 bits", "\xff\xfe\x35\xd8\xfc\xde", QString::fromUtf8("\xf0\x9d\x9b\xbc"),
         {Charset::Utf16Le, true}, "\xff\xfe\x35\xd8\xfc\xde"},
        // The bytes CR LF inside one UTF-16 character are no line end.
        {"UTF-16 LE character U+0A0D", "\xff\xfe\x0d\x0a", QString(QChar(0x0A0D)), {Charset::Utf16Le, true},
         "\xff\xfe\x0d\x0a"},
        // What is not UTF-16 after its mark is Latin-1, whole.
        {"UTF-16 mark, odd size", "\xff\xfe" "a", QString::fromLatin1("\xff\xfe" "a"), {Charset::Latin1, false},
         "\xff\xfe" "a"},
        {"UTF-16 mark, half a pair", bytes("\xff\xfe\x00\xd8" "a\0", 6),
         QString::fromLatin1("\xff\xfe\x00\xd8" "a\0", 6),
         {Charset::Latin1, false}, bytes("\xff\xfe\x00\xd8" "a\0", 6)},
        {"line ends of every kind", "a\r\nb\rc\n\r\r\n", QStringLiteral("a\nb\nc\n\n\n"), {Charset::Utf8, false},
         "a\nb\nc\n\n\n"},
        {"Latin-1 with CRLF", "r\xe9sum\xe9\r\n", QString::fromLatin1("r\xe9sum\xe9\n"), {Charset::Latin1, false},
         "r\xe9sum\xe9\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Encoding encoding{Charset::Latin1, true};
        const QString text = OrvaneTextBytes::decode(c.file, encoding);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(text.size(), c.text.size());
        EXPECT_EQ(encoding.charset, c.encoding.charset);
        EXPECT_EQ(encoding.byteOrderMark, c.encoding.byteOrderMark);
        EXPECT_EQ(hex(encoded(text, encoding)), hex(c.saved));
    }
}

TEST(TextBytes, ACharacterTheEncodingCannotHoldIsRefusedWithItsLine)
{
    const QString lonelyHalf = QStringLiteral("ok\nx ") + QChar(0xD835);
    const struct
    {
        const char* name;
        QString text;
        Encoding encoding;
        QString reason;
    } cases[] = {
        {"Greek letter in Latin-1", QString::fromUtf8("L1 2 3\nL\xce\xb1 4 5"), {Charset::Latin1, false},
         QStringLiteral("Line 2 holds the character \"\u03b1\" (U+03B1), which Latin-1 (ISO 8859-1) cannot hold.")},
        {"half a pair in UTF-8", lonelyHalf, {Charset::Utf8, true},
         QStringLiteral("Line 2 holds the character \"") + QChar(0xD835)
             + QStringLiteral("\" (U+D835), which UTF-8 cannot hold.")},
        {"half a pair in UTF-16", lonelyHalf, {Charset::Utf16Be, true},
         QStringLiteral("Line 2 holds the character \"") + QChar(0xD835)
             + QStringLiteral("\" (U+D835), which UTF-16 cannot hold.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray out("stale");
        QString reason;
        EXPECT_FALSE(OrvaneTextBytes::encode(c.text, c.encoding, out, reason));
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(reason, c.reason + QStringLiteral(" The file is saved in the encoding it was read in; replace that "
                                                    "character and save again."));
    }
}

namespace {

// A file's code units: one byte each in UTF-8 and Latin-1, two in UTF-16.
struct Units
{
    Charset charset;
    std::vector<std::uint16_t> units;

    QByteArray file(bool withMark) const
    {
        QByteArray out;
        const bool wide = charset == Charset::Utf16Le || charset == Charset::Utf16Be;
        if (wide && withMark)
            out = charset == Charset::Utf16Le ? QByteArray("\xff\xfe") : QByteArray("\xfe\xff");
        for (const std::uint16_t u : units) {
            const char high = static_cast<char>(u >> 8);
            const char low = static_cast<char>(u & 0xFF);
            if (!wide)
                out.append(low);
            else if (charset == Charset::Utf16Le)
                out.append(low).append(high);
            else
                out.append(high).append(low);
        }
        return out;
    }

    // CR LF and CR become LF, counted in code units.
    Units withLineFeeds() const
    {
        Units out{charset, {}};
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (units[i] == '\r') {
                out.units.push_back('\n');
                if (i + 1 < units.size() && units[i + 1] == '\n')
                    ++i;
            } else {
                out.units.push_back(units[i]);
            }
        }
        return out;
    }
};

// `count` units of `charset` that hold line ends of every kind and NULs;
// for Latin-1 the first two are "é" and NUL, which UTF-8 cannot be; for
// UTF-16 no surrogates.
Units someUnits(Charset charset, int count, std::mt19937& random)
{
    const std::uint16_t frequent[] = {'\r', '\n', 0, ' ', 'E', 'u'};
    const std::uint16_t top = charset == Charset::Utf8 ? 0x7F : charset == Charset::Latin1 ? 0xFF : 0xD7FF;
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> any(0, top);
    Units made{charset, {}};
    for (int i = 0; i < count; ++i)
        made.units.push_back(pick(random) < 6 ? frequent[pick(random) % 6] : static_cast<std::uint16_t>(any(random)));
    if (charset == Charset::Latin1) {
        made.units[0] = 0xE9;
        if (count > 1)
            made.units[1] = 0;
    }
    return made;
}

} // namespace

// Sizes the fuzzer's inputs do not reach (it stops at 128 KiB) and the
// smallest ones.
TEST(TextBytes, FilesOfEverySizeComeBackWithLineFeeds)
{
    std::mt19937 random(20240611);
    for (const Charset charset : {Charset::Utf8, Charset::Latin1, Charset::Utf16Le, Charset::Utf16Be}) {
        for (const int count : {1, 2, 3, 4096, 65537, (3 << 20) + 1}) {
            SCOPED_TRACE(testing::Message() << "charset " << static_cast<int>(charset) << ", " << count << " units");
            const Units file = someUnits(charset, count, random);
            Encoding encoding;
            const QString text = OrvaneTextBytes::decode(file.file(true), encoding);
            EXPECT_EQ(encoding.charset, charset);
            const Units expected = file.withLineFeeds();
            EXPECT_EQ(text.size(), static_cast<int>(expected.units.size()));
            const QByteArray saved = encoded(text, encoding);
            const QByteArray wanted = expected.file(true);
            ASSERT_EQ(saved.size(), wanted.size());
            const auto differ = std::mismatch(saved.begin(), saved.end(), wanted.begin()).first;
            EXPECT_TRUE(saved == wanted) << "first difference at byte " << differ - saved.begin();
        }
    }
}
