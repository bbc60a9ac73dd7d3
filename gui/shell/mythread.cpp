#include "mythread.h"

#include "orvanefilenames.h"
#include "orvanegroupprocess.h"
#include "orvaneplatform.h"

#include <QFileInfo>
#include <QMetaType>
#include <QStringList>

namespace {

const QString notRunningText = QStringLiteral("The calculation is not running.");
const QString runningText = QStringLiteral("The calculation is running. Please, be patient!");
const QString failedToStartText =
    QStringLiteral(" The process failed to start. Either the invoked \nprogram is missing, or you "
                   "may have insufficient permissions to invoke the program.");

// Texts with which MOPAC refuses to run, matched case-sensitively.
const char* const mopacRefusals[] = {"Password invalid", " has expired", "Correct this fault before",
                                     " is currently inaccessible"};

} // namespace

MyThread::MyThread(QObject* parent, const QString& inputFile)
    : QThread(parent)
    , inputFile(inputFile)
{
    qRegisterMetaType<QProcess::ProcessState>("QProcess::ProcessState");
    qRegisterMetaType<QProcess::ProcessError>("QProcess::ProcessError");
}

MyThread::~MyThread()
{
    killProcess();
    // A thread object must never go while its thread runs.
    wait();
}

void MyThread::killProcess()
{
    if (!isRunning())
        return;
    // Either this side sees the published id, or run() sees the request when
    // it publishes the id (both may, and a second end is harmless).
    killRequested.store(true);
    const qint64 pid = childPid.load();
    if (pid > 0)
        OrvanePlatform::endProcessTree(pid);
}

void MyThread::run()
{
    if (mode != 0 && mode != 1)
        return;

    // Created here so that the process object and its notifiers belong to
    // this thread; its signals are handled directly on this thread, in step
    // with the wait below.
    OrvaneGroupProcess child;
    process = &child;
    connect(&child, &QProcess::stateChanged, this, &MyThread::calculationIsProcessingSlot,
            Qt::DirectConnection);
    connect(&child, &QProcess::errorOccurred, this, &MyThread::calculationIsProcessingSlot,
            Qt::DirectConnection);
    connect(&child, &QProcess::readyReadStandardOutput, this, &MyThread::processStandardOutput,
            Qt::DirectConnection);
    connect(&child, &QProcess::readyReadStandardError, this, &MyThread::processStandardOutput,
            Qt::DirectConnection);
    connect(
        &child, &QProcess::started, this, [this] { publishChild(process->processId()); },
        Qt::DirectConnection);

    if (mode == 0)
        startMopac();
    else
        startOrca();
    child.waitForFinished(-1);

    childPid.store(0);
    child.disconnect(this);
    process = nullptr;
}

void MyThread::startMopac()
{
    // MOPAC writes its output files beside the input; its console output and
    // errors stay with the process object and are scanned for refusals.
    process->start(programPath, QStringList{inputFile}, QIODevice::ReadWrite);
}

void MyThread::startOrca()
{
    const QFileInfo input(inputFile);
    // The name the page follows.
    const QString outputFile = OrvaneFileNames::withFinalSuffix(inputFile, QStringLiteral("orcout"));
    process->setStandardOutputFile(outputFile, QIODevice::Append);
    process->setWorkingDirectory(input.absolutePath());
    // No shell is involved: ">" reaches the program as a plain argument, and
    // the redirection above is what puts the output into the file.
    // The input's own file name: a name with several dots ("a.b.orcinp")
    // must not be cut at its first dot.
    process->start(programPath, QStringList{input.fileName(), QStringLiteral(">")},
                   QIODevice::ReadWrite);
}

void MyThread::publishChild(qint64 pid)
{
    childPid.store(pid);
    if (killRequested.load() && pid > 0)
        OrvanePlatform::endProcessTree(pid);
}

void MyThread::calculationIsProcessingSlot()
{
    QString text;
    switch (process->state()) {
    case QProcess::NotRunning:
        text = notRunningText;
        childPid.store(0);
        break;
    case QProcess::Running:
        text = runningText;
        break;
    case QProcess::Starting:
        break;
    }
    if (process->error() == QProcess::FailedToStart) {
        text += failedToStartText;
        emit problemDuringCalculation(text);
    }
    emit calculationIsProcessingSignal(text);
}

void MyThread::processStandardOutput()
{
    QString chunk = QString::fromUtf8(process->readAllStandardOutput());
    // ORCA's standard output goes to its file, and its errors are not read.
    if (mode == 0)
        chunk += QLatin1Char(' ') + QString::fromUtf8(process->readAllStandardError());
    for (const char* refusal : mopacRefusals) {
        if (chunk.contains(QLatin1String(refusal))) {
            emit problemDuringCalculation(chunk);
            return;
        }
    }
}
