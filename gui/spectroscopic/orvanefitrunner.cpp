#include "orvanefitrunner.h"

#include "threadadjustomega.h"

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

OrvaneFitRunner::OrvaneFitRunner(QWidget* form, const QString& progressLabel, const int& progressMaximum)
    : worker(std::make_unique<ThreadAdjustOmega>())
{
    connect(worker.get(), &QThread::finished, this, &OrvaneFitRunner::workerFinished);
    dialog = new QProgressDialog(progressLabel, tr("Cancel"), 1, progressMaximum, form, Qt::WindowTitleHint);
    // Created hidden: a progress dialog otherwise shows itself after a delay.
    dialog->reset();
    dialog->cancel();
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setGeometry(400, 200, 0, 0);
}

OrvaneFitRunner::~OrvaneFitRunner()
{
    stopAndWait();
    deleteFitObjects();
}

void OrvaneFitRunner::stopAndWait()
{
    // A QThread destroyed while running aborts the program, and the worker
    // uses the fit's objects until its run returns.
    if (!worker->isRunning())
        return;
    worker->killGSA();
    worker->wait();
}

bool OrvaneFitRunner::isBusy() const
{
    return phase != Phase::Idle || worker->isRunning();
}

OrvaneGSA* OrvaneFitRunner::driver() const
{
    for (QObject* object : fitObjects) {
        if (auto* gsa = qobject_cast<OrvaneGSA*>(object))
            return gsa;
    }
    return nullptr;
}

void OrvaneFitRunner::keep(QObject* object)
{
    if (object && !fitObjects.contains(object))
        fitObjects << object;
}

bool OrvaneFitRunner::release()
{
    if (isBusy())
        return false;
    deleteFitObjects();
    return true;
}

void OrvaneFitRunner::deleteFitObjects()
{
    worker->gsa = nullptr;
    // The driver first, as it points at the problem. QPointer: deleting one
    // object may delete another kept one (its Qt child).
    QVector<QPointer<QObject>> objects;
    OrvaneGSA* gsa = driver();
    if (gsa)
        objects << QPointer<QObject>(gsa);
    for (QObject* object : qAsConst(fitObjects)) {
        if (object != gsa)
            objects << QPointer<QObject>(object);
    }
    fitObjects.clear();
    for (const QPointer<QObject>& object : qAsConst(objects))
        delete object.data();
}

bool OrvaneFitRunner::start(OrvaneGSA* gsa, const int& progressMaximum)
{
    if (!gsa || isBusy())
        return false;
    keep(gsa);
    connect(gsa, &OrvaneGSA::newOmegaCalculation, dialog, &QProgressDialog::setValue);
    dialog->setMaximum(progressMaximum);
    worker->gsa = gsa;
    phase = Phase::Running;
    lastEnd = OrvaneGSA::FitState::Running;
    worker->start(QThread::InheritPriority);
    dialog->show();
    return true;
}

void OrvaneFitRunner::cancel()
{
    if (phase != Phase::Running)
        return;
    // A fit on another page goes on.
    worker->killGSA();
    phase = Phase::Stopping;
}

void OrvaneFitRunner::closeProgress()
{
    dialog->reset();
    dialog->cancel();
}

void OrvaneFitRunner::workerFinished()
{
    if (phase == Phase::Idle)
        return;
    // The worker is done: its driver may be read on this thread now.
    lastEnd = worker->gsa ? worker->gsa->getFitState() : OrvaneGSA::FitState::NotStarted;
    phase = Phase::Idle;
    closeProgress();
    emit fitEnded();
}
