// The points file of the chromaticity diagram read without a window: three
// header lines, blank-separated rows of nine fields, text that is no number
// read as 0, short rows skipped and counted.

#include "orvaneciepointsreader.h"
#include "orvanefixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(CiePointsReader, RowsOfNineFieldsBecomePoints)
{
    QTemporaryDir dir;
    const QString file = OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("CIEpoints.txt")),
                                                   "header 1\nheader 2 with nine fields a b c d e\nx y z r g b R G B\r\n"
                                                   "0.31 0.33 0.36 0.95 1.00 0.99 250 255 254\r\n"
                                                   "\n"
                                                   "0.66   0.34 0 1 0 0 10 20 30 extra\n"
                                                   "0.68 0.32 0.00 1.00 0.00\n"
                                                   "x 0.32 0 1 0 0.03 200 y 300\n"
                                                   "0.1\t0.8 0 0 1 0 0 255 0\n"
                                                   "0.10 0.80 0.10 0.00 1.00 0.00 0 255 0");
    OrvaneCiePointsReader reader;
    ASSERT_TRUE(reader.readFile(file));
    const struct
    {
        double x, y;
        int r, g, b;
    } expected[] = {{0.31, 0.33, 250, 255, 254}, {0.66, 0.34, 10, 20, 30}, {0.0, 0.32, 200, 0, 255},
                    {0.10, 0.80, 0, 255, 0}};
    ASSERT_EQ(reader.getPoints().size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const OrvaneCiePoint& p = reader.getPoints().at(i);
        EXPECT_DOUBLE_EQ(p.x, expected[i].x);
        EXPECT_DOUBLE_EQ(p.y, expected[i].y);
        EXPECT_EQ(p.red, expected[i].r);
        EXPECT_EQ(p.green, expected[i].g);
        EXPECT_EQ(p.blue, expected[i].b) << "clamped to 255";
    }
    // The blank line, the short row and the row whose tab joins two fields.
    EXPECT_EQ(reader.getSkippedRows(), 3);
}

TEST(CiePointsReader, FilesThatCannotBeReadAreNamed)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("CIEpoints.txt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    OrvaneCiePointsReader reader;
    EXPECT_FALSE(OrvaneFixtures::resultWithin(20, [&] { return reader.readFile(fifo); }));
    EXPECT_TRUE(reader.getLastError().contains(QLatin1String("is not a regular file")));
    EXPECT_FALSE(reader.readFile(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_TRUE(reader.getLastError().contains(QLatin1String("does not exist")));
    EXPECT_TRUE(reader.getPoints().isEmpty());
}

} // namespace
