#ifndef ORVANEMARKERSET_H
#define ORVANEMARKERSET_H

#include "orvaneengine_export.h"

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <vector>

// Several ASCII markers tested on a line's bytes in one pass, for readers
// that look for many markers on every line of a large file. Each position
// of the line is looked up by its first three bytes in a table of bits; only
// a hit compares whole markers. A marker shorter than three bytes is looked
// for on its own.
class ORVANEENGINE_EXPORT OrvaneMarkerSet
{
public:
    OrvaneMarkerSet(std::initializer_list<const char*> markers);
    // Whether the bytes hold any of the markers.
    bool foundIn(const char* bytes, int size) const;

private:
    static unsigned key(const char* p)
    {
        const auto b = [p](int i) { return unsigned(static_cast<unsigned char>(p[i])); };
        return ((b(0) << 8) ^ (b(1) << 4) ^ b(2) ^ (b(2) << 11)) & 0xFFFFu;
    }

    std::vector<std::uint64_t> table; // 2^16 bits
    std::vector<QByteArray> markers;  // three bytes or longer
    std::vector<QByteArray> shortMarkers;
};

#endif
