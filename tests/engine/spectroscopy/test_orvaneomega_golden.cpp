#include "omegagoldencases.h"
#include "orvaneomega.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

#include <cstdlib>

using namespace OmegaGoldenCases;

// The donor sums were reordered for speed with every sum still adding its
// donors in the same order: the figures must not move by a single bit. The
// physics itself is checked against independent values in test_orvaneomega.
TEST(OrvaneOmegaGolden, KeptTermsGiveTheSameBitsAsBeforeTheReordering)
{
    QFile file(QStringLiteral(ORVANE_TEST_DATA_DIR "/omega/calcomega_golden.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QList<QStringList> rows;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            rows.append(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
    ASSERT_EQ(rows.size(), int(std::size(donorCounts)) * trialsPerCase);

    Lcg random(20261210);
    int row = 0;
    for (int n : donorCounts) {
        const QVector<Coord> atoms = geometry(n, random);
        std::array<double, 32> g {}, alpha {};
        double* gPointer = g.data();
        double* alphaPointer = alpha.data();
        OrvaneOmega omega(nullptr, atoms);
        omega.setCoordNumber(n);
        omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
        for (int t = 0; t < trialsPerCase; ++t, ++row) {
            SCOPED_TRACE(testing::Message() << n << " donors, trial " << t);
            trialPoint(n, random, g, alpha);
            ASSERT_TRUE(omega.calcOmega()) << qPrintable(omega.getLastError());
            const QStringList& fields = rows.at(row);
            ASSERT_EQ(fields.size(), 11);
            ASSERT_EQ(fields.at(0).toInt(), n);
            const double got[] = {omega.getOmega(2), omega.getOmega(4), omega.getOmega(6), omega.getOmegaED(2),
                omega.getOmegaED(4), omega.getOmegaED(6), omega.getOmegaDC(2), omega.getOmegaDC(4),
                omega.getOmegaDC(6)};
            for (int k = 0; k < 9; ++k) {
                const double expected = std::strtod(fields.at(2 + k).toLatin1().constData(), nullptr);
                EXPECT_EQ(got[k], expected) << "column " << k + 2 << ": " << qPrintable(fields.at(2 + k));
            }
        }
    }
}
