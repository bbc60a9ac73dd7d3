#ifndef THREADADJUSTOMEGA_H
#define THREADADJUSTOMEGA_H

#include <QThread>

class OrvaneGSA;

// The worker thread of the fits: run() drives the whole annealing of `gsa`,
// which the fit runner sets before starting the thread (not owned).
class ThreadAdjustOmega : public QThread
{
    Q_OBJECT
public:
    explicit ThreadAdjustOmega(QObject* parent = nullptr);
    // A fit still running is asked to stop (its own, no other) and waited
    // for: the thread object must outlive its run.
    ~ThreadAdjustOmega() override;

    OrvaneGSA* gsa = nullptr;

public slots:
    // Stops this thread's own fit after its current annealing step, and no
    // other; the driver is not deleted (its owner does that once the run has
    // returned). Nothing happens when no fit runs.
    void killGSA();

protected:
    void run() override;
};

#endif
