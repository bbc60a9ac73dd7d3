#include "orvanemarkerset.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

// The one-pass marker test must answer as a search for each marker would,
// wherever the marker lies (start, end, overlapping a near miss).

TEST(MarkerSet, AnswersAsASearchForEachMarker)
{
    const char* list[] = {"SUM", "CARTESIAN COORDINATES", "TOTAL JOB TIME:", "AB", "ABA"};
    const OrvaneMarkerSet markers {"SUM", "CARTESIAN COORDINATES", "TOTAL JOB TIME:", "AB", "ABA"};
    const OrvaneMarkerSet longOnly {"SUM", "CARTESIAN COORDINATES", "TOTAL JOB TIME:"};
    const struct {
        const char* line;
        bool any, anyLong;
    } cases[] = {{"", false, false}, {"SU", false, false}, {"SUM", true, true}, {"  CHECKSUM", true, true},
        {"CARTESIAN COORDINATE", false, false}, {"      CARTESIAN COORDINATES ", true, true},
        {"TOTAL JOB TIME", false, false}, {"A", false, false}, {"xAB", true, false}, {"SSUUMM", false, false}};
    for (const auto& c : cases) {
        const int size = int(std::strlen(c.line));
        EXPECT_EQ(markers.foundIn(c.line, size), c.any) << c.line;
        EXPECT_EQ(longOnly.foundIn(c.line, size), c.anyLong) << c.line;
    }

    // Random lines over the markers' own letters: many near misses.
    std::mt19937 random(5);
    const char alphabet[] = "SUMCARTESIAN ODT:JB";
    for (int n = 0; n < 20000; ++n) {
        QByteArray line;
        const int length = int(random() % 40);
        for (int i = 0; i < length; ++i)
            line += alphabet[random() % (sizeof alphabet - 1)];
        if (n % 7 == 0)
            line.insert(int(random() % (line.size() + 1)), list[random() % 3]);
        bool expected = false;
        for (const char* marker : list)
            expected = expected || line.contains(marker);
        ASSERT_EQ(markers.foundIn(line.constData(), line.size()), expected) << line.constData();
    }
}
