#include "orvanemarkerset.h"

#include <cstring>

OrvaneMarkerSet::OrvaneMarkerSet(std::initializer_list<const char*> list)
    : table(1024, 0)
{
    for (const char* marker : list) {
        const QByteArray bytes(marker);
        if (bytes.size() < 3) {
            shortMarkers.push_back(bytes);
            continue;
        }
        const unsigned k = key(bytes.constData());
        table[k >> 6] |= std::uint64_t(1) << (k & 63);
        markers.push_back(bytes);
    }
}

bool OrvaneMarkerSet::foundIn(const char* bytes, int size) const
{
    for (const QByteArray& marker : shortMarkers)
        if (marker.isEmpty() || QByteArray::fromRawData(bytes, size).contains(marker))
            return true;
    for (int i = 0; i + 3 <= size; ++i) {
        const unsigned k = key(bytes + i);
        if (!(table[k >> 6] >> (k & 63) & 1))
            continue;
        for (const QByteArray& marker : markers) {
            const int length = marker.size();
            if (i + length <= size && std::memcmp(bytes + i, marker.constData(), std::size_t(length)) == 0)
                return true;
        }
    }
    return false;
}
