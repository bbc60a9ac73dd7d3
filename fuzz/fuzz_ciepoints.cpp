// The points file of the chromaticity diagram ("CIEpoints.txt") read as the
// diagram window reads it: every point's colour lies in 0..255.

#include "fuzzinput.h"
#include "orvaneciepointsreader.h"

#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("CIEpoints.txt"));
    OrvaneCiePointsReader reader;
    if (!reader.readFile(file))
        std::abort(); // a regular file is always read
    for (const OrvaneCiePoint& point : reader.getPoints()) {
        for (int component : {point.red, point.green, point.blue})
            if (component < 0 || component > 255)
                std::abort();
    }
    return 0;
}
