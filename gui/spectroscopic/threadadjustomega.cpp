#include "threadadjustomega.h"

#include "orvanegsa.h"

ThreadAdjustOmega::ThreadAdjustOmega(QObject* parent)
    : QThread(parent)
{
}

ThreadAdjustOmega::~ThreadAdjustOmega()
{
    if (isRunning()) {
        OrvaneGSA::isStopParametrization = true;
        wait();
    }
}

void ThreadAdjustOmega::killGSA()
{
    // The driver in use by a running fit stays.
    if (isRunning())
        return;
    delete gsa;
    gsa = nullptr;
}

void ThreadAdjustOmega::run()
{
    if (gsa)
        gsa->initializeGSA();
}
