#ifndef MYTHREAD_H
#define MYTHREAD_H

#include <QString>
#include <QThread>

#include <atomic>

class OrvaneGroupProcess;

// Runs one external calculation (MOPAC or ORCA) as a child process and waits
// for it on its own thread. The child's state changes become status texts,
// MOPAC's refusals to run become problem reports, and killProcess ends the
// child together with everything it started. One object serves one run.
class MyThread : public QThread
{
    Q_OBJECT
public:
    // inputFile: for MOPAC the path of its input with the platform's
    // separators (QDir::toNativeSeparators), passed unchanged; MOPAC writes
    // name.out beside name.mop. The calculation page names the .mop itself:
    // given a path without extension, MOPAC 22 cuts it at a dot in a folder
    // name. For ORCA the full path of the .orcinp file, whose output goes to
    // the same name with ".orcout".
    MyThread(QObject* parent, const QString& inputFile);
    // Ends a child that still runs and waits for run() to return.
    ~MyThread() override;

    // Ends the running child and its descendants; nothing when no child runs.
    // Safe to call from any thread while run() waits. A request that arrives
    // while the child is still being started ends it as soon as it exists.
    void killProcess();

    // 0: MOPAC, 1: ORCA; any other value starts nothing. Set before start().
    int mode = -1;
    // Full path of the external program. Set before start().
    QString programPath;

signals:
    void calculationIsProcessingSignal(const QString& processStateMessage);
    void problemDuringCalculation(const QString& message);

protected:
    void run() override;

private slots:
    void calculationIsProcessingSlot();
    void processStandardOutput();

private:
    void startMopac();
    void startOrca();
    void publishChild(qint64 pid);

    QString inputFile;
    // The child of the current run. It is created, used and destroyed on the
    // runner's own thread only, inside run(); null outside a run.
    OrvaneGroupProcess* process = nullptr;

    // What killProcess needs, handed over without touching the process
    // object from another thread: the running child's id (0 when none) and
    // whether an end was asked for during this run.
    std::atomic<qint64> childPid{0};
    std::atomic<bool> killRequested{false};
};

#endif
