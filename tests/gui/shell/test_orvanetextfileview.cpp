// Every page that shows a user's file as text follows one rule: a FIFO,
// folder or device is refused by its name and never opened (opening a FIFO
// waits for a writer for ever); a file of 100 MiB or more is not read into
// the view; either way the view is emptied and its note says why.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefrmfileviewer.h"
#include "orvanefrmioniontransfer.h"
#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanetextfileview.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_ADDRESS_SANITIZER 1
#endif
#endif

using OrvaneFixtures::writeFile;

namespace {

const char* const childFolderVariable = "ORVANE_TEXT_VIEW_CHILD_FOLDER";
const QString tooLarge = QStringLiteral("100 MiB or more");
const QString notRegular = QStringLiteral("not a regular file");

bool makeSparse(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

// The view is empty and its note names the file and the reason.
void expectRefused(QPlainTextEdit* view, const QString& file, const QString& why)
{
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->toPlainText().isEmpty()) << "stale or loaded text: " << view->toPlainText().left(60).toStdString();
    EXPECT_TRUE(view->placeholderText().contains(file)) << view->placeholderText().toStdString();
    EXPECT_TRUE(view->placeholderText().contains(why)) << view->placeholderText().toStdString();
}

// Virtual memory of this process now, in bytes.
rlim_t virtualMemory()
{
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

} // namespace

TEST(TextFileView, TheLimitIs100MiB)
{
    const qint64 limit = qint64(100) * 1048576;
    EXPECT_TRUE(OrvaneTextFileView::fitsInView(0));
    EXPECT_TRUE(OrvaneTextFileView::fitsInView(limit - 1));
    EXPECT_FALSE(OrvaneTextFileView::fitsInView(limit));
}

TEST(TextFileView, ShowsTextFilesAsChemistsHaveThemAndDropsAnEarlierNote)
{
    IsolatedTempFolder temp;
    QPlainTextEdit view;
    QString reason;
    const QString missing = temp.filePath(QStringLiteral("missing.out"));
    EXPECT_FALSE(OrvaneTextFileView::show(&view, missing, reason));
    EXPECT_EQ(view.placeholderText(), reason);
    EXPECT_EQ(reason, QStringLiteral("The file %1 cannot be read:\n%2")
                          .arg(missing, QString::fromLocal8Bit(std::strerror(ENOENT))));

    const struct {
        const char* name;
        QByteArray bytes;
        QString shown;
    } cases[] = {
        {"crlf.out", "HEADER\r\n\r\n 1  2,5\r\n", QStringLiteral("HEADER\n\n 1  2,5\n")},
        {"utf8.out", "\xce\xa9 2\n", QString::fromUtf8("\xce\xa9 2\n")},
        {"latin1.out", "5D0 \xb5s\n", QString::fromLatin1("5D0 \xb5s\n")},
        {"empty.out", "", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = writeFile(temp.filePath(QLatin1String(c.name)), c.bytes);
        EXPECT_TRUE(OrvaneTextFileView::show(&view, file, reason)) << reason.toStdString();
        EXPECT_EQ(view.toPlainText(), c.shown);
        EXPECT_TRUE(view.placeholderText().isEmpty());
    }
}

TEST(TextFileView, RefusedFilesEmptyTheViewWithTheReasonAsItsNote)
{
    IsolatedTempFolder temp;
    const QString large = temp.filePath(QStringLiteral("large.out"));
    ASSERT_TRUE(makeSparse(large, OrvaneTextFileView::largeFileBytes));
    const QString folder = temp.filePath(QStringLiteral("folder.out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fifo = temp.filePath(QStringLiteral("pipe.out"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString device = QStringLiteral("/dev/zero");

    const struct {
        QString file;
        QString why;
    } cases[] = {{large, tooLarge},
                 {folder, QString::fromLocal8Bit(std::strerror(EISDIR))},
                 {fifo, notRegular},
                 {device, notRegular}};
    QPlainTextEdit view;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        view.setPlainText(QStringLiteral("the previous file"));
        QString reason;
        // Opening the FIFO would never return: the check ends the program.
        EXPECT_FALSE(OrvaneFixtures::resultWithin(20, [&] { return OrvaneTextFileView::show(&view, c.file, reason); }));
        expectRefused(&view, c.file, c.why);
        EXPECT_EQ(view.placeholderText(), reason);
        // The text-only form of the rule, for an input that keeps its own text.
        QString text = QStringLiteral("typed");
        QString why;
        EXPECT_FALSE(OrvaneFixtures::resultWithin(20, [&] { return OrvaneTextFileView::read(c.file, text, why); }));
        EXPECT_EQ(why, reason);
        EXPECT_TRUE(text.isEmpty());
    }
}

// Every page with a text view, in a child process: a FIFO must not freeze
// it (the parent gives up after a while), and a sparse file of 1.5 GB must
// not be read into memory (the child runs under a memory limit that such a
// read would break).
TEST(TextFileView, EveryPageRefusesFifosAndHugeFilesInAChildProcess)
{
    const QByteArray childFolder = qgetenv(childFolderVariable);
    if (childFolder.isEmpty()) {
        IsolatedTempFolder temp;
        for (const char* name : {"pipe.out", "pipe.orcout", "pipe.log"})
            ASSERT_EQ(mkfifo(temp.filePath(QLatin1String(name)).toLocal8Bit().constData(), 0600), 0) << name;
        for (const char* name : {"huge.out", "huge.orcout", "huge.log"})
            ASSERT_TRUE(makeSparse(temp.filePath(QLatin1String(name)), 1536LL * 1048576)) << name;

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(childFolderVariable), temp.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=TextFileView.EveryPageRefusesFifosAndHugeFilesInAChildProcess")});
        ASSERT_TRUE(child.waitForStarted());
        if (!child.waitForFinished(240000)) {
            child.kill();
            child.waitForFinished();
            FAIL() << "a page blocked on a FIFO or took too long:\n" << child.readAll().toStdString();
        }
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << child.readAll().toStdString();
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        return;
    }

#ifdef ORVANE_ADDRESS_SANITIZER
    // The sanitizer reserves terabytes of address space for its shadow
    // memory: no address-space limit can be set; the views are still checked.
    std::fprintf(stderr, "No memory limit under AddressSanitizer.\n");
#else
    // Room for the pages, far less than the file.
    const rlimit limit{virtualMemory() + 768 * 1048576ULL, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
#endif

    const QString folder = QString::fromLocal8Bit(childFolder);
    auto path = [&](const QString& name) { return folder + QLatin1Char('/') + name; };
    IsolatedTempFolder settings;
    // Every box is answered Ok (the engine's word on a file that holds no
    // structure, the pages' own reasons); a file dialog chooses `chosen`.
    QString chosen;
    OrvaneDialogs::setResponder([&](const OrvaneDialogs::Request&) {
        OrvaneDialogs::Reply reply;
        reply.button = QMessageBox::Ok;
        reply.fileNames << chosen;
        return reply;
    });

    OrvaneFrmPlotAbsorptionSpectrum absorption;
    OrvaneFrmIonIonTransfer ionIon;
    OrvaneFrmNonRadiativeRateCalculation nonRadiative;
    OrvaneFrmSpectroscopicCalculation spectroscopic(nullptr, 2);
    OrvaneFrmFileViewer viewer;
    const struct {
        const char* page;
        const char* suffix;
        std::function<QPlainTextEdit*(const QString&)> load;
    } pages[] = {
        {"absorption", "orcout",
         [&](const QString& file) {
             auto* form = &absorption;
             form->setInputFileName(file);
             return qobject_cast<QPlainTextEdit*>(form->findChild<QTabWidget*>()->widget(0));
         }},
        {"ion-to-ion transfer", "out",
         [&](const QString& file) {
             auto* form = &ionIon;
             form->findChild<QLineEdit*>(QStringLiteral("edtInputFile"))->setText(file);
             return form->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
         }},
        {"non-radiative rates", "out",
         [&](const QString& file) {
             auto* form = &nonRadiative;
             chosen = file;
             form->findChild<QPushButton*>(QStringLiteral("btnChooseMopacOut"))->click();
             return qobject_cast<QPlainTextEdit*>(form->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->widget(0));
         }},
        {"spectroscopic calculation", "orcout",
         [&](const QString& file) {
             auto* form = &spectroscopic;
             form->loadFileInTab(file, 0);
             return qobject_cast<QPlainTextEdit*>(
                 form->findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"))->widget(0));
         }},
        {"file viewer", "log",
         [&](const QString& file) {
             viewer.loadFile(file);
             return viewer.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
         }},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        const QString suffix = QLatin1String(p.suffix);
        const QString shown = writeFile(path(QStringLiteral("earlier.") + suffix), "the earlier file\n");
        QPlainTextEdit* view = p.load(shown);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->toPlainText(), QStringLiteral("the earlier file\n"));
        const QString fifo = path(QStringLiteral("pipe.") + suffix);
        expectRefused(p.load(fifo), fifo, notRegular);
        const QString huge = path(QStringLiteral("huge.") + suffix);
        expectRefused(p.load(huge), huge, tooLarge);
    }
    OrvaneDialogs::setResponder(OrvaneDialogs::Responder());
}
