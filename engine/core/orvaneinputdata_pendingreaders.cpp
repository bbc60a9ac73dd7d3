#include "orvaneinputdata.h"

// Stand-ins for the MOPAC readers while they are being written on their own
// branch. They are weak symbols: the real definitions replace them at link
// time as soon as they are compiled into the library, and this file can then
// be deleted. Until then the intensity calculation links and reports plainly
// that it cannot read a MOPAC file.

namespace {
const QString notAvailable = QStringLiteral("The MOPAC readers are not available in this build: ");
}

__attribute__((weak)) bool OrvaneInputData::readMopacOutFile(const bool&)
{
    lastError += notAvailable + fileName;
    return false;
}

__attribute__((weak)) bool OrvaneInputData::readForceConstant(const QString& mopacOutput, const int&)
{
    lastError += notAvailable + mopacOutput;
    return false;
}

__attribute__((weak)) bool OrvaneInputData::readMopFile()
{
    lastError += notAvailable + fileName;
    return false;
}
