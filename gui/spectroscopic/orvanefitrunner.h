#ifndef ORVANEFITRUNNER_H
#define ORVANEFITRUNNER_H

#include "orvanegsa.h"

#include <QObject>
#include <QObjectList>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;
class ThreadAdjustOmega;

// The life of one annealing fit at a time, shared by the forms that fit:
// the worker thread, the progress dialog (a child of the form, hidden until a
// fit starts), the stop request to this runner's driver alone, and the
// per-fit objects (driver, problem, what the problem reads), which are
// deleted only once no worker uses them. When the worker's run has ended the
// dialog closes and fitEnded() tells the form, which words the end from
// endState().
//
// The start point handed to the driver belongs to the form and must outlive
// the runner; a form destroys its runner before its own members go.
class OrvaneFitRunner : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Running, Stopping };

    OrvaneFitRunner(QWidget* form, const QString& progressLabel, const int& progressMaximum);
    // A fit still running is stopped and waited for; then its objects go.
    ~OrvaneFitRunner() override;

    ThreadAdjustOmega* thread() const { return worker.get(); }
    QProgressDialog* progressDialog() const { return dialog; }
    Phase getPhase() const { return phase; }
    // A fit started whose end the form has not been told yet, or a worker
    // still finishing: no other fit may start.
    bool isBusy() const;
    // How the last fit ended; NotStarted before any.
    OrvaneGSA::FitState endState() const { return lastEnd; }
    OrvaneGSA* driver() const;
    const QObjectList& getFitObjects() const { return fitObjects; }

    // The runner owns `object` from now on (it may also be a Qt child of the
    // form): deleted by release() or with the runner, after the worker.
    void keep(QObject* object);
    // Deletes the objects of the previous fit; refused (false) while busy.
    bool release();
    // Runs `gsa` (kept, if it was not) on the worker and shows the dialog
    // with the given maximum; false, nothing started, while busy or without
    // a driver.
    bool start(OrvaneGSA* gsa, const int& progressMaximum);
    // Asks a running fit to stop after its current annealing step.
    void cancel();
    // Hides the dialog (a failed evaluation says why while the worker ends).
    void closeProgress();

signals:
    // The worker's run has ended and the dialog is closed.
    void fitEnded();

private:
    void workerFinished();
    void stopAndWait();
    void deleteFitObjects();

    std::unique_ptr<ThreadAdjustOmega> worker;
    QProgressDialog* dialog = nullptr; // child of the form
    QObjectList fitObjects;
    Phase phase = Phase::Idle;
    OrvaneGSA::FitState lastEnd = OrvaneGSA::FitState::NotStarted;
};

#endif
