#include "orvanetextreader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>

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
