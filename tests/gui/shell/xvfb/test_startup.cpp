// The program from start to exit on a real X server: the main window after
// the splash, and the viewer alone when a file is named. The same start-up
// code as the program's main() runs in this process; screenshots go to the
// build tree for a look by eye.

#include "../../support/guitestsupport.h"
#include "../../../support/markedeuropiumspectrum.h"
#include "levelstablesfolder.h"

#include "orvanefrmenergylevels.h"
#include "orvanefrmfileviewer.h"
#include "orvanefrmhandlespectroscopiccalculation.h"
#include "orvanefrmioniontransfer.h"
#include "orvanefrmmainwindow.h"
#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanestartup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QRadioButton>
#include <QDoubleSpinBox>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplashScreen>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <functional>

namespace {

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    return QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/") + name;
}

template <typename T>
QList<T*> topLevel()
{
    QList<T*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (T* typed = qobject_cast<T*>(widget))
            found << typed;
    return found;
}

template <typename T>
T* visibleTopLevel()
{
    for (T* widget : topLevel<T>())
        if (widget->isVisible())
            return widget;
    return nullptr;
}

bool saveScreen(const QString& name)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).save(artifact(name));
}

// Maximising is the window manager's work: Xvfb alone keeps the window as
// it is. A small manager runs for the tests that need one.
class WindowManager
{
public:
    WindowManager()
    {
        // The fixture empties PATH; the manager lives in the system's folders.
        const QString program = QStandardPaths::findExecutable(
            QStringLiteral("jwm"), {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")});
        if (program.isEmpty() || !configOpen)
            return;
        // Plain frames: no tray, no start-up programs.
        config.write("<?xml version=\"1.0\"?>\n<JWM></JWM>\n");
        config.flush();
        process.start(program, {QStringLiteral("-f"), config.fileName()});
        // The manager takes over the screen once it has set up its checks.
        if (!process.waitForStarted(5000))
            return;
        QTest::qWait(300);
        started = process.state() == QProcess::Running;
    }
    ~WindowManager()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) {
                process.kill();
                process.waitForFinished(3000);
            }
        }
    }
    bool isRunning() const { return started; }

private:
    QTemporaryFile config{QDir::tempPath() + QStringLiteral("/jwmrc-XXXXXX")};
    bool configOpen = config.open();
    QProcess process;
    bool started = false;
};

// A start of the program with its own data and temporary folders and no
// update server. run() starts the program with the given arguments and calls
// inspect, with the event loop running, once ready holds; inspect ends by
// closing what the program shows. A program that never gets ready is closed
// after a while, and the test fails.
class StartupFixture : public ::testing::Test
{
protected:
    int run(const QStringList& arguments, const std::function<bool()>& ready,
            const std::function<void()>& inspect)
    {
        bool inspected = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            everyLook();
            if (inspected || !ready())
                return;
            inspected = true;
            poll.stop();
            inspect();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the program did not get ready";
            QApplication::closeAllWindows();
        });
        poll.start();
        watchdog.start(30000);
        return OrvaneStartup::run(arguments);
    }

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = QDir(work.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    // The main window is up and the splash has gone.
    static bool mainWindowShown()
    {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        return window && !visibleTopLevel<QSplashScreen>();
    }

    // The Module 3 container when it is the main window's current page.
    static OrvaneFrmHandleSpectroscopicCalculation* currentModule3(OrvaneFrmMainWindow* window)
    {
        auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        return qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->currentWidget());
    }

    std::function<void()> everyLook = [] {};

    IsolatedTempFolder temp;
    QTemporaryDir dataHome;
    QTemporaryDir work;
    QTemporaryDir emptyBin;
    ScopedEnvironment xdg{"XDG_DATA_HOME", dataHome.path().toLocal8Bit()};
    ScopedEnvironment path{"PATH", emptyBin.path().toLocal8Bit()};
    ScopedEnvironment server{"ORVANE_UPDATE_SERVER", QByteArray()};
    const QString program = QCoreApplication::applicationFilePath();
};

} // namespace

TEST_F(StartupFixture, SplashThenTheMaximisedWindowOnTheMopacPage)
{
    WindowManager windowManager;
    ASSERT_TRUE(windowManager.isRunning()) << "jwm is needed to maximise windows on Xvfb";
    // Some tick of the event loop sees the splash over the built, still
    // hidden window (the splash screen also lets events through while it
    // shows, before the window exists).
    bool splashOverHiddenWindow = false;
    everyLook = [&] {
        if (visibleTopLevel<QSplashScreen>() && !topLevel<OrvaneFrmMainWindow>().isEmpty()
            && !visibleTopLevel<OrvaneFrmMainWindow>())
            splashOverHiddenWindow = true;
    };
    auto ready = [] {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        return window && window->isMaximized() && !visibleTopLevel<QSplashScreen>()
            && window->frameGeometry().size() == window->screen()->availableGeometry().size();
    };
    const int exitCode = run({program}, ready, [&] {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(topLevel<OrvaneFrmMainWindow>().size(), 1);
        EXPECT_TRUE(topLevel<OrvaneFrmFileViewer>().size() == 1
                    && !topLevel<OrvaneFrmFileViewer>().first()->isVisible())
            << "only the window's own hidden viewer";
        auto* list = window->findChild<QListWidget*>(QStringLiteral("listWidget"));
        auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        EXPECT_EQ(list->count(), 5);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(stack->currentIndex(), 0);
        const QRect available = window->screen()->availableGeometry();
        EXPECT_TRUE(window->frameGeometry().contains(available.center()));

        QTest::qWait(200);
        EXPECT_TRUE(saveScreen(QStringLiteral("startup_main_window.png")));
        // Each page and the status panel, for a look by eye.
        auto* panelButton = window->findChild<QPushButton*>(QStringLiteral("btnHideStatusMessage"));
        QTest::mouseClick(panelButton, Qt::LeftButton);
        for (int page = 1; page < list->count(); ++page) {
            list->setCurrentRow(page);
            QTest::qWait(100);
            EXPECT_TRUE(window->grab().save(artifact(QStringLiteral("main_window_page%1.png").arg(page))));
        }
        window->close();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(splashOverHiddenWindow) << "the window shows after the splash delay";
    // Every start registers the file types, in this mode as well.
    for (const QString& extension : OrvaneStartup::fileTypes)
        EXPECT_TRUE(QFile::exists(QDir(dataHome.path()).filePath(
            QStringLiteral("applications/orvane-%1_auto_file.desktop").arg(extension))))
            << extension.toStdString();
}

TEST_F(StartupFixture, ANamedFileOpensOnlyTheViewerCentredOnTheFirstFile)
{
    const QString first = writeFile(QStringLiteral("complex.out"),
                                    "          FINAL HEAT OF FORMATION =      -1234.56789 KCAL/MOL\n"
                                    " == MOPAC DONE ==\n");
    const QString second = writeFile(QStringLiteral("other.out"), "not this one\n");
    for (const QStringList& arguments : {QStringList{program, first}, QStringList{program, first, second}}) {
        SCOPED_TRACE(arguments.size());
        auto ready = [] { return visibleTopLevel<OrvaneFrmFileViewer>() != nullptr; };
        const int exitCode = run(arguments, ready, [&] {
            OrvaneFrmFileViewer* viewer = visibleTopLevel<OrvaneFrmFileViewer>();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
            EXPECT_EQ(viewer->windowTitle(), QStringLiteral("ORVANE File Viewer"));
            EXPECT_TRUE(topLevel<OrvaneFrmMainWindow>().isEmpty());
            EXPECT_EQ(visibleTopLevel<QSplashScreen>(), nullptr);
            EXPECT_EQ(viewer->findChild<QLineEdit*>(QStringLiteral("edtFileName"))->text(), first);
            EXPECT_EQ(viewer->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"))->toPlainText(),
                      QStringLiteral("          FINAL HEAT OF FORMATION =      -1234.56789 KCAL/MOL\n"
                                     " == MOPAC DONE ==\n"));
            const QRect available = viewer->screen()->availableGeometry();
            EXPECT_EQ(viewer->pos(), available.center() - viewer->rect().center());
            EXPECT_TRUE(viewer->windowFlags() & Qt::WindowMinimizeButtonHint);
            EXPECT_TRUE(viewer->windowFlags() & Qt::WindowMaximizeButtonHint);
            EXPECT_TRUE(viewer->windowFlags() & Qt::WindowCloseButtonHint);
            QTest::qWait(200);
            EXPECT_TRUE(saveScreen(QStringLiteral("startup_viewer_%1.png").arg(arguments.size() - 1)));
            viewer->close();
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(QFile::exists(QDir(dataHome.path()).filePath(
            QStringLiteral("applications/orvane-orvane_auto_file.desktop"))));
    }
}

TEST_F(StartupFixture, AFileThatCannotBeReadStillOpensTheViewerEmpty)
{
    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok);
    const QString missing = QDir(work.path()).filePath(QStringLiteral("missing.out"));
    auto ready = [] { return visibleTopLevel<OrvaneFrmFileViewer>() != nullptr; };
    const int exitCode = run({program, missing}, ready, [&] {
        OrvaneFrmFileViewer* viewer = visibleTopLevel<OrvaneFrmFileViewer>();
        EXPECT_TRUE(viewer->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"))->toPlainText().isEmpty());
        viewer->close();
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_TRUE(dialogs.requests().at(0).text.contains(missing));
}

TEST_F(StartupFixture, AMopacOutputDroppedOnTheIntensityPageGivesItsReport)
{
    WindowManager windowManager;
    const QString output = writeFile(QStringLiteral("complex.out"),
                                     OrvaneFixtures::contents(OrvaneFixtures::dataPath(
                                         QStringLiteral("mopac/eu_h2o8_allvec.out"))));
    DialogScript dialogs;
    dialogs.pressButton(QMessageBox::Ok); // the report's "Information"
    const int exitCode = run({program}, mainWindowShown, [&] {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        window->findChild<QListWidget*>(QStringLiteral("listWidget"))
            ->setCurrentRow(OrvaneFrmMainWindow::SpectroscopicPage);
        auto* module3 = currentModule3(window);
        ASSERT_NE(module3, nullptr);
        module3->findChild<QListWidget*>(QStringLiteral("listWidget"))->setCurrentRow(1);
        auto* form = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(
            module3->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentWidget());
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(form->mode, 0);

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(output)});
        dragAndDrop(form->findChild<QLineEdit*>(QStringLiteral("edtMopacOut")), mime);
        EXPECT_EQ(form->coordNumber, 8);
        // The QDC values typed, not fitted.
        QTest::mouseClick(form->findChild<QRadioButton*>(QStringLiteral("rdbSetParametersQDC")), Qt::LeftButton);
        form->frmSetParametersQDC->ui.sbxParameterQ->setValue(1.2);
        form->frmSetParametersQDC->ui.sbxParameterD->setValue(2.5);
        form->frmSetParametersQDC->ui.sbxParameterC->setValue(0.8);
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnCalculate")), Qt::LeftButton);

        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"));
        EXPECT_EQ(tabs->currentIndex(), 1);
        auto* report = qobject_cast<QPlainTextEdit*>(tabs->currentWidget());
        ASSERT_NE(report, nullptr);
        EXPECT_TRUE(report->isVisible());
        EXPECT_TRUE(report->toPlainText().contains(QStringLiteral("Required Citations for this Calculation")));
        EXPECT_TRUE(QFile::exists(QDir(work.path()).filePath(QStringLiteral("complex.omega"))));
        QTest::qWait(200);
        EXPECT_TRUE(window->grab().save(artifact(QStringLiteral("module3_intensity_report.png"))));
        window->close();
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Information"));
}

// Each of Module 3's four pages reached from the main window, with something
// on it: the emission page with a spectrum and three marked bands, the two
// calculation pages, and the absorption page with a plotted ORCA output.
TEST_F(StartupFixture, EveryModule3PageFromTheMainWindow)
{
    WindowManager windowManager;
    const QString spectrum = writeFile(QStringLiteral("europium.txt"), MarkedEuropiumSpectrum::text());
    const QString orcaOutput = writeFile(
        QStringLiteral("complex.orcout"),
        OrvaneFixtures::contents(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_h2o_tda.orcout"))));
    DialogScript dialogs;
    const int exitCode = run({program}, mainWindowShown, [&] {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        window->findChild<QListWidget*>(QStringLiteral("listWidget"))
            ->setCurrentRow(OrvaneFrmMainWindow::SpectroscopicPage);
        auto* module3 = currentModule3(window);
        ASSERT_NE(module3, nullptr);
        auto* rows = module3->findChild<QListWidget*>(QStringLiteral("listWidget"));
        auto* pages = module3->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        EXPECT_EQ(rows->currentRow(), 0);

        auto* emission = qobject_cast<OrvaneFrmPlotEmissionSpectrum*>(pages->currentWidget());
        ASSERT_NE(emission, nullptr);
        emission->findChild<QLineEdit*>(QStringLiteral("editEmissionSpectrumDirectory"))->setText(spectrum);
        ASSERT_EQ(emission->getWavelengths().size(), MarkedEuropiumSpectrum::points);
        MarkedEuropiumSpectrum::markBands(emission);
        const struct
        {
            int row;
            const char* name;
        } shots[] = {{0, "module3_page0_emission_spectrum.png"},
                     {1, "module3_page1_intensity_parameters.png"},
                     {2, "module3_page2_energy_transfer.png"},
                     {3, "module3_page3_absorption_spectrum.png"}};
        for (const auto& shot : shots) {
            SCOPED_TRACE(shot.name);
            if (shot.row == 3) {
                // As the ORCA page asks for it.
                module3->setPageToBeDisplayed(3, orcaOutput);
                auto* absorption = qobject_cast<OrvaneFrmPlotAbsorptionSpectrum*>(pages->currentWidget());
                ASSERT_NE(absorption, nullptr);
                EXPECT_EQ(absorption->getInputFileName(), orcaOutput);
                QTest::mouseClick(absorption->findChild<QPushButton*>(QStringLiteral("btnPlotGraph")),
                                  Qt::LeftButton);
            } else {
                rows->setCurrentRow(shot.row);
            }
            EXPECT_EQ(rows->currentRow(), shot.row);
            EXPECT_EQ(pages->currentIndex(), shot.row);
            EXPECT_TRUE(pages->currentWidget()->isVisible());
            QTest::qWait(200);
            // At 1280 px every control of the page is in view: no page scrolls sideways.
            for (const QScrollArea* area : pages->currentWidget()->findChildren<QScrollArea*>())
                if (area->isVisible())
                    EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << area->objectName().toStdString();
            EXPECT_TRUE(window->grab().save(artifact(QString::fromLatin1(shot.name))));
        }
        window->close();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

// Module 3's free-ion, ion-to-ion and non-radiative pages reached from the
// main window by clicks on the two icon lists, each with something on it: the
// Eu(III) levels computed from the tables in the program's working folder,
// the rates of a Tb-Eu pair, and the rates of a MOPAC output with its force
// constants.
TEST_F(StartupFixture, TheLaterModule3PagesFromTheMainWindow)
{
    WindowManager windowManager;
    LevelsTablesFolder folder; // the program's working folder
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/plots/CIEpoints.txt"),
                            folder.path() + QStringLiteral("/CIEpoints.txt")));
    bool matched = false;
    const QString euTb = writeFile(QStringLiteral("eu_tb.out"),
                                   OrvaneFixtures::variant(OrvaneFixtures::contents(OrvaneFixtures::dataPath(
                                                               QStringLiteral("mopac/eu_gd_f7.out"))),
                                                           {{"        Gd  ", "        Tb  "}, {"   Gd  ", "   Tb  "}},
                                                           &matched));
    ASSERT_TRUE(matched);
    DialogScript dialogs;
    dialogs.chooseFile(OrvaneFixtures::dataPath(QStringLiteral("omega/eu_o5n3.out")));
    dialogs.chooseFile(OrvaneFixtures::dataPath(QStringLiteral("omega/eu_o5n3_force.out")));
    dialogs.pressButton(QMessageBox::Ok); // the rates' "Result"
    const int exitCode = run({program}, mainWindowShown, [&] {
        OrvaneFrmMainWindow* window = visibleTopLevel<OrvaneFrmMainWindow>();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        // The rows are clicked where the user sees them: each must lie
        // inside its list's viewport, with no scroll bar to reach it.
        auto clickRow = [](QListWidget* list, int row) {
            const QRect rect = list->visualItemRect(list->item(row));
            EXPECT_TRUE(list->viewport()->rect().contains(rect)) << row;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
            EXPECT_EQ(list->currentRow(), row);
        };
        clickRow(window->findChild<QListWidget*>(QStringLiteral("listWidget")),
                 OrvaneFrmMainWindow::SpectroscopicPage);
        auto* module3 = currentModule3(window);
        ASSERT_NE(module3, nullptr);
        auto* rows = module3->findChild<QListWidget*>(QStringLiteral("listWidget"));
        auto* pages = module3->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        ASSERT_EQ(rows->count(), 7);
        QTest::qWait(100);
        EXPECT_FALSE(rows->verticalScrollBar()->isVisible());
        EXPECT_FALSE(rows->horizontalScrollBar()->isVisible());

        const struct
        {
            int row;
            const char* name;
            std::function<void(QWidget*)> fill;
        } shots[] = {
            {OrvaneFrmHandleSpectroscopicCalculation::EnergyLevels, "module3_page4_energy_levels.png",
             [](QWidget* page) {
                 ASSERT_NE(qobject_cast<OrvaneFrmEnergyLevels*>(page), nullptr);
                 EXPECT_EQ(page->findChild<QComboBox*>(QStringLiteral("cbxIon"))->currentText(),
                           QStringLiteral("Eu"));
                 const struct
                 {
                     const char* name;
                     double value;
                 } parameters[] = {{"sbxF2", 371}, {"sbxF4", 54.8}, {"sbxF6", 5.75}, {"sbxZeta", 1334}};
                 for (const auto& p : parameters)
                     page->findChild<QDoubleSpinBox*>(QLatin1String(p.name))->setValue(p.value);
                 QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("btnCalculate")), Qt::LeftButton);
                 EXPECT_FALSE(page->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"))
                                  ->toPlainText()
                                  .isEmpty());
                 EXPECT_GT(page->findChild<QCustomPlot*>(QStringLiteral("customPlot"))->plottableCount(), 0);
             }},
            {OrvaneFrmHandleSpectroscopicCalculation::IonIonTransfer, "module3_page5_ion_ion_transfer.png",
             [&](QWidget* page) {
                 auto* form = qobject_cast<OrvaneFrmIonIonTransfer*>(page);
                 ASSERT_NE(form, nullptr);
                 QMimeData mime;
                 mime.setUrls({QUrl::fromLocalFile(euTb)});
                 dragAndDrop(form->findChild<QLineEdit*>(QStringLiteral("edtInputFile")), mime);
                 auto* pairs = form->findChild<QListWidget*>(QStringLiteral("listWidgetDistances"));
                 ASSERT_EQ(pairs->count(), 1);
                 QTest::mouseClick(pairs->viewport(), Qt::LeftButton, Qt::NoModifier,
                                   pairs->visualItemRect(pairs->item(0)).center());
                 QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnCalculate")), Qt::LeftButton);
                 EXPECT_EQ(form->getTransferRates().size(), 4);
             }},
            {OrvaneFrmHandleSpectroscopicCalculation::NonRadiativeRate, "module3_page6_non_radiative_rate.png",
             [&](QWidget* page) {
                 ASSERT_NE(qobject_cast<OrvaneFrmNonRadiativeRateCalculation*>(page), nullptr);
                 for (const char* button : {"btnChooseMopacOut", "btnChooseMopacForce", "btnCalculate"})
                     QTest::mouseClick(page->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
                 ASSERT_EQ(dialogs.requests().size(), 3);
                 EXPECT_EQ(dialogs.requests().at(2).title, QStringLiteral("Result"));
                 EXPECT_EQ(page->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->count(), 2);
             }},
        };
        for (const auto& shot : shots) {
            SCOPED_TRACE(shot.name);
            clickRow(rows, shot.row);
            EXPECT_EQ(pages->currentIndex(), shot.row);
            QWidget* page = pages->currentWidget();
            EXPECT_TRUE(page->isVisible());
            shot.fill(page);
            QTest::qWait(200);
            // At 1280 px every control of the page is in view: no page scrolls sideways.
            for (const QScrollArea* area : page->findChildren<QScrollArea*>())
                if (area->isVisible())
                    EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << area->objectName().toStdString();
            EXPECT_TRUE(window->grab().save(artifact(QString::fromLatin1(shot.name))));
        }
        window->close();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}
