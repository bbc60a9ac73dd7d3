// The whole-file text of the viewer and of the typed tables (a partition's
// `.ligands`): whatever the bytes, the text read from them is saved again,
// in the encoding it was read in, as the same bytes but for its line ends,
// which become line feeds. A difference stops the run.

#include "fuzzinput.h"
#include "orvanetextbytes.h"

#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

namespace {

using Charset = OrvaneTextBytes::Encoding::Charset;

// The bytes with every CR LF and lone CR made LF, in code units of
// `width` bytes (after a mark of `markSize` bytes) stored in the given
// order.
QByteArray withLineFeeds(const QByteArray& bytes, const int markSize, const int width, const bool bigEndian)
{
    auto unitAt = [&](int at) -> unsigned {
        const auto byte = [&](int k) -> unsigned { return static_cast<unsigned char>(bytes.at(at + k)); };
        if (width == 1)
            return byte(0);
        return bigEndian ? (byte(0) << 8 | byte(1)) : (byte(1) << 8 | byte(0));
    };
    const QByteArray lineFeed = width == 1 ? QByteArray("\n")
                                : bigEndian ? QByteArray("\0\n", 2)
                                            : QByteArray("\n\0", 2);
    QByteArray out = bytes.left(markSize);
    for (int at = markSize; at < bytes.size(); at += width) {
        if (unitAt(at) != '\r') {
            out.append(bytes.mid(at, width));
            continue;
        }
        out.append(lineFeed);
        if (at + width < bytes.size() && unitAt(at + width) == '\n')
            at += width;
    }
    return out;
}

QByteArray expectedSave(const QByteArray& bytes, const OrvaneTextBytes::Encoding& encoding)
{
    switch (encoding.charset) {
    case Charset::Utf16Le:
        return withLineFeeds(bytes, 2, 2, false);
    case Charset::Utf16Be:
        return withLineFeeds(bytes, 2, 2, true);
    case Charset::Utf8:
    case Charset::Latin1:
        break;
    }
    return withLineFeeds(bytes, 0, 1, false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = OrvaneFuzz::bytesOf(data, size);
    OrvaneTextBytes::Encoding encoding;
    const QString text = OrvaneTextBytes::decode(bytes, encoding);
    QByteArray saved;
    QString reason;
    if (!OrvaneTextBytes::encode(text, encoding, saved, reason))
        std::abort(); // a text read from a file can always be saved
    if (saved != expectedSave(bytes, encoding))
        std::abort();
    if (text.contains(QLatin1Char('\r')))
        std::abort();
    return 0;
}
