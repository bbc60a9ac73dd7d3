#include "orvanetextreader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>

using namespace OrvaneText;

TEST(TextReader, SplitsAtBlanksDroppingEmptyParts)
{
    EXPECT_EQ(splitFields(QStringLiteral("  Eu   1.0\t-2.5  ")),
              (QStringList{QStringLiteral("Eu"), QStringLiteral("1.0"), QStringLiteral("-2.5")}));
    EXPECT_TRUE(splitFields(QStringLiteral("   ")).isEmpty());
    EXPECT_TRUE(splitFields(QString()).isEmpty());
}

TEST(TextReader, NumbersReadInTheCLocaleAndNonNumbersAsZero)
{
    // A German desktop locale must not turn "1.5" into 15 or 0.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5}, {"-0.25", -0.25}, {" 3e2 ", 300.0}, {"1,5", 0.0}, {"abc", 0.0},
        {"", 0.0},    {"nan", 0.0},     {"inf", 0.0},     {"1e999", 0.0}, {"12.5kcal", 0.0}};
    for (const auto& c : cases)
        EXPECT_EQ(toNumber(QString::fromLatin1(c.first)), c.second) << c.first;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(toInteger(QStringLiteral("42")), 42);
    EXPECT_EQ(toInteger(QStringLiteral("4.2")), 0);
}

TEST(TextReader, FieldsCountFromOne)
{
    const QStringList f{QStringLiteral("a"), QStringLiteral("2.5")};
    EXPECT_EQ(field(f, 1), QStringLiteral("a"));
    EXPECT_TRUE(field(f, 0).isEmpty());
    EXPECT_TRUE(field(f, 3).isEmpty());
    EXPECT_EQ(numberField(f, 2), 2.5);
    EXPECT_EQ(numberField(f, 1), 0.0);
    EXPECT_EQ(numberField(f, 9), 0.0);
    EXPECT_EQ(integerField(f, 9), 0);
}

TEST(TextReader, LinesLoseUnixAndWindowsLineEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mixed.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("first\r\nsecond\n\r\nlast");
    f.close();

    OrvaneLineReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    QString line;
    QStringList lines;
    while (reader.readLine(line))
        lines << line;
    EXPECT_EQ(lines, (QStringList{QStringLiteral("first"), QStringLiteral("second"), QString(),
                                  QStringLiteral("last")}));
    EXPECT_EQ(reader.lineNumber(), 4);
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_TRUE(line.isEmpty());
}

TEST(TextReader, MissingFileReadsNothing)
{
    OrvaneLineReader reader(QStringLiteral("/nonexistent/file.out"));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_TRUE(reader.readLine().isEmpty());
}

TEST(TextReader, OverlongLineIsCappedNotSwallowed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3 * OrvaneLineReader::maxLineLength, 'x'));
    f.write("\nend\n");
    f.close();
    OrvaneLineReader reader(path);
    QString line;
    int count = 0;
    while (reader.readLine(line)) {
        EXPECT_LT(line.size(), OrvaneLineReader::maxLineLength);
        ++count;
    }
    EXPECT_EQ(line, QString());
    EXPECT_GE(count, 4);
}

TEST(TextReader, BytesOfPlainNumbersReadAsTheirText)
{
    // The byte route reads plain decimals itself and hands everything else to
    // the text route: both must give the same double, bit for bit, under a
    // desktop locale with a decimal comma too.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const char* tokens[] = {"0.95707082", "-0.00520958", "1e5", "1E-5", "-0", "00012", "1.5e+3", "2.5E-07",
        "0.1", "123456789.123456789", "9007199254740993", "4.9406564584124654e-324", "1.7976931348623157e308",
        "+1.5", "1e999", "1e-400", ".5", "5.", "nan", "inf", "0x10", "1,5", "", "1.0e", "-", "1e+", "--1", "1.2.3",
        "12345678901234567890123456789012345678901234567890123456789012345678901234567890"};
    for (const char* token : tokens) {
        const double bytes = toNumber(token, int(std::strlen(token)));
        const double text = toNumber(QString::fromLatin1(token));
        EXPECT_EQ(std::memcmp(&bytes, &text, sizeof bytes), 0) << token << ": " << bytes << " vs " << text;
    }
    std::setlocale(LC_ALL, "C");
}

TEST(TextReader, LinesAcrossReadBlocksKeepEveryByte)
{
    // Lines of many lengths, some longer than the reader's blocks and some
    // at the cap, each tagged with a marker at its end; expected lines follow
    // the rule: a line holds at most maxLineLength - 1 bytes with its end.
    const int cap = int(OrvaneLineReader::maxLineLength) - 1;
    const int lengths[] = {0, 5, 262143, 262144, 262145, 300000, 700000, cap - 2, cap - 1, cap, cap + 5, 17, 1};
    QByteArray content;
    for (int i = 0; i < int(std::size(lengths)); ++i) {
        QByteArray line(lengths[i], char('a' + i));
        if (lengths[i] >= 4)
            line.replace(lengths[i] - 4, 4, "MARK");
        content += line + (i % 2 ? "\r\n" : "\n");
    }
    QList<QByteArray> expected;
    for (int at = 0; at < content.size();) {
        const int end = content.indexOf('\n', at);
        int take = (end < 0 ? content.size() : end + 1) - at;
        take = std::min(take, cap);
        QByteArray line = content.mid(at, take);
        at += take;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        expected << line;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blocks.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(content), content.size());
    f.close();

    OrvaneLineReader bytes(path);
    OrvaneLineReader text(path);
    QString line;
    for (int k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "line " << k + 1 << " of " << expected.at(k).size() << " bytes");
        ASSERT_TRUE(bytes.nextLine());
        ASSERT_EQ(QByteArray(bytes.lineData(), bytes.lineSize()), expected.at(k));
        EXPECT_EQ(bytes.lineHas("MARK"), expected.at(k).contains("MARK"));
        ASSERT_TRUE(text.readLine(line));
        ASSERT_EQ(line, QString::fromLatin1(expected.at(k)));
    }
    EXPECT_FALSE(bytes.nextLine());
    EXPECT_FALSE(text.readLine(line));
    EXPECT_TRUE(bytes.atEnd());
}
