#ifndef ORVANEGROUPPROCESS_H
#define ORVANEGROUPPROCESS_H

#include <QProcess>

// A child process that leads a process group of its own, so that
// OrvanePlatform::endProcessTree can end it together with every process it
// started (QProcess::kill reaches only the direct child). Create and start it
// on the thread that waits for it.
class OrvaneGroupProcess : public QProcess
{
    Q_OBJECT
public:
    explicit OrvaneGroupProcess(QObject* parent = nullptr);
    ~OrvaneGroupProcess() override;

    // Ends the child and its descendants; false when nothing is running.
    bool endTree(int graceMs = 500);

protected:
    void setupChildProcess() override;
};

#endif
