#include "orvanegroupprocess.h"

#include "orvaneplatform.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

OrvaneGroupProcess::OrvaneGroupProcess(QObject* parent)
    : QProcess(parent)
{
}

OrvaneGroupProcess::~OrvaneGroupProcess() = default;

bool OrvaneGroupProcess::endTree(int graceMs)
{
    if (state() == QProcess::NotRunning)
        return false;
    return OrvanePlatform::endProcessTree(processId(), graceMs);
}

void OrvaneGroupProcess::setupChildProcess()
{
#ifdef Q_OS_UNIX
    // Runs in the child between fork and exec.
    ::setpgid(0, 0);
#endif
}
