// The Sparkle reference of a MOPAC output: the input is the output "complex.out"
// beside the input "complex.mop" that the forms name. The result always opens
// with the Sparkle heading, and the citations of a QDC intensity run open with
// that same result.

#include "fuzzinput.h"
#include "requiredcitations.h"

#include <cstdlib>

ORVANE_FUZZ_QUIET_QT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OrvaneFuzz::writeInput(OrvaneFuzz::bytesOf(data, size), QStringLiteral("complex.out"));
    const QString input = OrvaneFuzz::path(QStringLiteral("complex.mop"));
    const QString sparkle = sparkleCitation(input);
    if (!sparkle.startsWith(QStringLiteral("Sparkle model was used to optimize the compound geometry\n\n")))
        std::abort();
    const QString citations = requiredCitations(3, 2, input, 0, false, true, true);
    if (!citations.startsWith(sparkle) || citations.size() <= sparkle.size())
        std::abort();
    return 0;
}
