#include "threadadjustomega.h"

#include "orvanegsa.h"

ThreadAdjustOmega::ThreadAdjustOmega(QObject* parent)
    : QThread(parent)
{
}

ThreadAdjustOmega::~ThreadAdjustOmega()
{
    if (isRunning()) {
        killGSA();
        wait();
    }
}

void ThreadAdjustOmega::killGSA()
{
    if (isRunning() && gsa)
        gsa->requestStop();
}

void ThreadAdjustOmega::run()
{
    if (gsa)
        gsa->initializeGSA();
}
