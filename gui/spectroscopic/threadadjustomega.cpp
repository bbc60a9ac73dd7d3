#include "threadadjustomega.h"

#include "orvanegsa.h"

ThreadAdjustOmega::ThreadAdjustOmega(QObject* parent)
    : QThread(parent)
{
}

ThreadAdjustOmega::~ThreadAdjustOmega()
{
    if (isRunning()) {
        if (gsa)
            gsa->requestStop();
        wait();
    }
}

void ThreadAdjustOmega::run()
{
    if (gsa)
        gsa->initializeGSA();
}
