// The CIE points file that the build generates for the diagram window,
// checked against the CIE 1931 colour-matching functions it was made from:
// its rows parse, its keys are unique, the edge of its points follows the
// spectral locus and its white is white.

#include "../support/guitestsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Point
{
    double x = 0.0, y = 0.0;
    int r = 0, g = 0, b = 0;
};

QByteArray contents(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chromaticity of a pure spectral line read from the CGATS file: one data
// block of three rows (x-bar, y-bar, z-bar), SPECTRAL_START_NM to _END_NM.
QPointF spectralLine(double wavelength)
{
    const QStringList lines = QString::fromLatin1(contents(ORVANE_CIE1931_CMF)).split(QLatin1Char('\n'));
    double start = 0.0, end = 0.0;
    QVector<QStringList> rows;
    bool inData = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("SPECTRAL_START_NM")))
            start = line.section(QLatin1Char('\t'), 1).toDouble();
        else if (line.startsWith(QLatin1String("SPECTRAL_END_NM")))
            end = line.section(QLatin1Char('\t'), 1).toDouble();
        else if (line == QLatin1String("BEGIN_DATA"))
            inData = true;
        else if (line == QLatin1String("END_DATA"))
            break;
        else if (inData && !line.isEmpty())
            rows << line.split(QRegularExpression(QStringLiteral("\\s+")));
    }
    if (rows.size() != 3 || rows.at(0).size() < 2)
        return QPointF(-1, -1);
    const int index = qRound((wavelength - start) / (end - start) * (rows.at(0).size() - 1));
    const double x = rows.at(0).at(index).toDouble();
    const double y = rows.at(1).at(index).toDouble();
    const double z = rows.at(2).at(index).toDouble();
    return QPointF(x / (x + y + z), y / (x + y + z));
}

class CiePointsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        text = contents(ORVANE_CIE_POINTS_FILE);
        ASSERT_FALSE(text.isEmpty()) << ORVANE_CIE_POINTS_FILE;
        const QList<QByteArray> lines = text.split('\n');
        ASSERT_GT(lines.size(), 3);
        for (int i = 3; i < lines.size(); ++i) {
            SCOPED_TRACE(i + 1);
            const QStringList fields = QString::fromLatin1(lines.at(i)).split(QLatin1Char(' '));
            ASSERT_EQ(fields.size(), 9) << lines.at(i).constData();
            bool ok[5] = {};
            Point point;
            point.x = fields.at(0).toDouble(&ok[0]);
            point.y = fields.at(1).toDouble(&ok[1]);
            point.r = fields.at(6).toInt(&ok[2]);
            point.g = fields.at(7).toInt(&ok[3]);
            point.b = fields.at(8).toInt(&ok[4]);
            ASSERT_TRUE(std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }));
            for (int channel : {point.r, point.g, point.b}) {
                ASSERT_GE(channel, 0);
                ASSERT_LE(channel, 255);
            }
            points << point;
            keys << fields.at(0) + QLatin1Char(' ') + fields.at(1);
        }
    }

    const Point* find(const QString& key) const
    {
        const int at = keys.indexOf(key);
        return at < 0 ? nullptr : &points.at(at);
    }

    QByteArray text;
    QVector<Point> points;
    QStringList keys;
};

TEST_F(CiePointsFileTest, EveryRowParsesAndEveryKeyIsUnique)
{
    EXPECT_GT(points.size(), 3000) << "a 0.01 grid over the whole locus";
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    // The window's key is the two-decimal text of the parsed values.
    for (int i = 0; i < points.size(); ++i)
        ASSERT_EQ(QString::number(points.at(i).x, 'f', 2) + QLatin1Char(' ')
                      + QString::number(points.at(i).y, 'f', 2),
                  keys.at(i));
    EXPECT_FALSE(text.endsWith('\n')) << "no trailing blank line";
    // The red edge where Eu(III) emission lies.
    EXPECT_NE(find(QStringLiteral("0.66 0.34")), nullptr);
}

TEST_F(CiePointsFileTest, TheEdgeOfThePointsFollowsTheSpectralLocus)
{
    const QPointF white(0.3127, 0.3290);
    const struct
    {
        double wavelength;
        int dominant; // 0 red, 1 green, 2 blue
    } lines[] = {{470.0, 2}, {520.0, 1}, {610.0, 0}};
    for (const auto& line : lines) {
        SCOPED_TRACE(line.wavelength);
        const QPointF locus = spectralLine(line.wavelength);
        ASSERT_GT(locus.x(), 0.0);
        const QPointF out = locus - white;
        const double reach = std::hypot(out.x(), out.y());
        // The nearest point of a 0.01 grid is at most 0.0071 away; the
        // farthest point toward this line lies no more than the 0.015 margin
        // (plus a grid step) beyond it.
        double nearest = 1.0, farthest = 0.0;
        const Point* nearestPoint = nullptr;
        for (const Point& p : points) {
            const QPointF d(p.x - white.x(), p.y - white.y());
            const double distance = std::hypot(p.x - locus.x(), p.y - locus.y());
            if (distance < nearest) {
                nearest = distance;
                nearestPoint = &p;
            }
            const double along = (d.x() * out.x() + d.y() * out.y()) / reach;
            const double across = std::fabs(d.x() * out.y() - d.y() * out.x()) / reach;
            if (across < 0.01)
                farthest = std::max(farthest, along);
        }
        EXPECT_LT(nearest, 0.0072);
        EXPECT_GT(farthest, reach - 0.0072);
        EXPECT_LT(farthest, reach + 0.015 + 0.0072);
        // The colour of a spectral line is saturated in its own primary.
        const int channels[3] = {nearestPoint->r, nearestPoint->g, nearestPoint->b};
        EXPECT_EQ(channels[line.dominant], 255);
        for (int c = 0; c < 3; ++c)
            if (c != line.dominant)
                EXPECT_LT(channels[c], 200) << c;
    }
}

TEST_F(CiePointsFileTest, TheWhitePointIsNearlyWhite)
{
    const Point* white = find(QStringLiteral("0.31 0.33"));
    ASSERT_NE(white, nullptr);
    EXPECT_GE(std::min({white->r, white->g, white->b}), 240);
    EXPECT_LE(std::max({white->r, white->g, white->b}) - std::min({white->r, white->g, white->b}), 12);
}

} // namespace
