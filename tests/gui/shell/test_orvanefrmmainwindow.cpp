#include "../support/guitestsupport.h"
#include "loopbackhttpserver.h"
#include "levelstablesfolder.h"

#include "abstractobjcalculationwidget.h"
#include "orvanecheckversion.h"
#include "orvanefrmabout.h"
#include "orvanefrmexternalcalculationmodule.h"
#include "orvanefrmfileviewer.h"
#include "orvanefrmfilesconverter.h"
#include "orvanefrmenergylevels.h"
#include "orvanefrmhandlespectroscopiccalculation.h"
#include "orvanefrmioniontransfer.h"
#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanefrmmainwindow.h"
#include "orvanesettings.h"
#include "orvaneupdatecontroller.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString versionPath = QStringLiteral("/orvane_current_version_2.txt");

// The window against the loopback update server (which answers 404 unless a
// test serves a version text), in an isolated temporary folder.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void build()
    {
        window = std::make_unique<OrvaneFrmMainWindow>();
        list = window->findChild<QListWidget*>(QStringLiteral("listWidget"));
        stack = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        panel = window->findChild<QPlainTextEdit*>(QStringLiteral("plainTextStatusMessage"));
        panelButton = window->findChild<QPushButton*>(QStringLiteral("btnHideStatusMessage"));
        viewerButton = window->findChild<QPushButton*>(QStringLiteral("btnFileViewer"));
        updateButton = window->findChild<QPushButton*>(QStringLiteral("btnCheckVersion"));
        progressBar = window->findChild<QProgressBar*>(QStringLiteral("progressBar"));
        ASSERT_TRUE(list && stack && panel && panelButton && viewerButton && updateButton && progressBar);
    }

    void showWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    LoopbackHttpServer server;
    ScopedEnvironment address{"ORVANE_UPDATE_SERVER", server.url().toString().toLatin1()};
    std::unique_ptr<OrvaneFrmMainWindow> window;
    QListWidget* list = nullptr;
    QStackedWidget* stack = nullptr;
    QPlainTextEdit* panel = nullptr;
    QPushButton* panelButton = nullptr;
    QPushButton* viewerButton = nullptr;
    QPushButton* updateButton = nullptr;
    QProgressBar* progressBar = nullptr;
};

} // namespace

TEST_F(MainWindowFixture, StartsOnTheMopacPageWithFiveRowsAndTheBottomRow)
{
    build();
    showWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ORVANE - Kestova"));
    EXPECT_EQ(window->minimumSize(), QSize(800, 600));

    const QStringList texts = {
        QStringLiteral("Geometry\nOptimization"), QStringLiteral("Excited States\nCalculation"),
        QStringLiteral("Spectroscopic\nProperties\nCalculation"), QStringLiteral("Files Converter"),
        QStringLiteral("About ORVANE")};
    ASSERT_EQ(list->count(), texts.size());
    ASSERT_EQ(stack->count(), texts.size());
    for (int row = 0; row < list->count(); ++row) {
        SCOPED_TRACE(row);
        const QListWidgetItem* item = list->item(row);
        EXPECT_EQ(item->text(), texts.at(row));
        EXPECT_EQ(item->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        EXPECT_EQ(item->textAlignment(), int(Qt::AlignHCenter));
        EXPECT_FALSE(item->icon().pixmap(88, 82).isNull());
        EXPECT_EQ(stack->widget(row)->parent(), stack);
    }
    auto* spectroscopic = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->widget(2));
    ASSERT_NE(spectroscopic, nullptr);
    // Module 3 holds the calculation form in its intensity and transfer modes.
    auto* innerPages = spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    for (int mode : {0, 2}) {
        auto* form = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(innerPages->widget(mode == 0 ? 1 : 2));
        ASSERT_NE(form, nullptr) << mode;
        EXPECT_EQ(form->mode, mode);
    }
    EXPECT_NE(qobject_cast<OrvaneFrmAbout*>(stack->widget(4)), nullptr);
    EXPECT_NE(qobject_cast<OrvaneFrmExternalCalculationModule*>(stack->widget(0)), nullptr);
    EXPECT_NE(qobject_cast<OrvaneFrmExternalCalculationModule*>(stack->widget(1)), nullptr);
    EXPECT_NE(qobject_cast<OrvaneFrmFilesConverter*>(stack->widget(3)), nullptr);
    auto title = [&](int page) { return stack->widget(page)->findChild<QLabel*>(QStringLiteral("lblTitle")); };
    EXPECT_EQ(title(0)->text(), QStringLiteral("Module 1: Geometry Optimization"));
    EXPECT_EQ(title(1)->text(), QStringLiteral("Module 2: Excited States Calculation"));

    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(88, 82));
    EXPECT_EQ(list->movement(), QListView::Static);
    EXPECT_EQ(list->minimumWidth(), 128);
    EXPECT_EQ(list->maximumWidth(), 128);
    EXPECT_EQ(list->spacing(), 12);
    EXPECT_TRUE(list->isSelectionRectVisible());

    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(stack->currentIndex(), 0);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(panel->isReadOnly());
    EXPECT_TRUE(progressBar->isHidden());
    EXPECT_TRUE(panelButton->isCheckable());
    EXPECT_FALSE(panelButton->isChecked());
    EXPECT_EQ(panelButton->toolTip(), QStringLiteral("Click to View Status Messages."));
    EXPECT_EQ(updateButton->text(), OrvaneUpdateController::idleText);
    for (QPushButton* button : {viewerButton, panelButton, updateButton})
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
    EXPECT_TRUE(viewerButton->toolTip().contains(QStringLiteral("File Viewer")));
    EXPECT_FALSE(window->getFileViewer()->isVisible());
    EXPECT_EQ(window->getFileViewer()->parent(), nullptr);
    const Qt::WindowFlags viewerFlags = window->getFileViewer()->windowFlags();
    EXPECT_TRUE(viewerFlags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(viewerFlags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowFixture, RowAndPageAlwaysAgree)
{
    build();
    showWindow();
    // A click on the item, as the user does it.
    QListWidgetItem* converter = list->item(3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(converter).center());
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_EQ(stack->currentIndex(), 3);

    for (int row : {4, 2, 0, 1}) {
        window->setPageToBeDisplayed(row);
        EXPECT_EQ(list->currentRow(), row);
        EXPECT_EQ(stack->currentIndex(), row);
    }
    for (int outside : {5, -1}) {
        window->setPageToBeDisplayed(outside);
        EXPECT_EQ(list->currentRow(), 1);
        EXPECT_EQ(stack->currentIndex(), 1);
    }
    // No current item: the page of the previous one stays.
    list->setCurrentItem(nullptr);
    EXPECT_EQ(stack->currentIndex(), 1);
    window->changePage(nullptr, list->item(4));
    EXPECT_EQ(stack->currentIndex(), 4);
}

TEST_F(MainWindowFixture, LinesOfEveryLoggingPageWaitInTheHiddenPanelInOrder)
{
    build();
    showWindow();
    auto* spectroscopic = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->widget(2));
    ASSERT_NE(spectroscopic, nullptr);
    auto* absorptionPage = spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->widget(3);
    auto* absorption = qobject_cast<AbstractObjCalculationWidget*>(absorptionPage);
    ASSERT_NE(absorption, nullptr);
    auto* energyTransfer = qobject_cast<AbstractObjCalculationWidget*>(
        spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->widget(2));
    ASSERT_NE(energyTransfer, nullptr);
    auto* innerPages = spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    auto* energyLevels = qobject_cast<OrvaneFrmEnergyLevels*>(
        innerPages->widget(OrvaneFrmHandleSpectroscopicCalculation::EnergyLevels));
    auto* ionIon = qobject_cast<OrvaneFrmIonIonTransfer*>(
        innerPages->widget(OrvaneFrmHandleSpectroscopicCalculation::IonIonTransfer));
    auto* nonRadiative = qobject_cast<OrvaneFrmNonRadiativeRateCalculation*>(
        innerPages->widget(OrvaneFrmHandleSpectroscopicCalculation::NonRadiativeRate));
    ASSERT_TRUE(energyLevels && ionIon && nonRadiative);

    const QStringList lines = {
        QStringLiteral("Thu Dec 10 12:00:00 2026 -> (Orvane MOPAC Module) Geometry optimization started.\n/w/a.mop"),
        QStringLiteral("Thu Dec 10 12:00:01 2026 -> (Orvane ORCA Module) First pass"),
        QStringLiteral("-> (Orvane Spectroscopic Calculation) Reading the MOPAC output"),
        QStringLiteral("Thu Dec 10 12:00:03 2026 -> (Orvane Files Converter Module) Conversion from .out file to .inp file"),
        QStringLiteral("Thu Dec 10 12:00:04 2026 -> (Orvane MOPAC Module) done"),
        QStringLiteral("-> (Orvane Spectroscopic Calculation) The energy transfer page speaks"),
        QStringLiteral("-> Parametrization process started successfully."),
        QStringLiteral("-> (Ion-to-ion) a line\n/w/eu tb.mol2"),
        QStringLiteral("-> (Non-radiative rate) a line"),
    };
    auto emitFrom = [](QObject* page, const QString& line) {
        ASSERT_TRUE(QMetaObject::invokeMethod(page, "newObjCalculationMessage", Qt::DirectConnection,
                                              Q_ARG(QString, line)));
    };
    emitFrom(stack->widget(0), lines.at(0));
    emitFrom(stack->widget(1), lines.at(1));
    emitFrom(absorption, lines.at(2));
    emitFrom(stack->widget(3), lines.at(3));
    emitFrom(stack->widget(0), lines.at(4));
    emitFrom(energyTransfer, lines.at(5));
    emitFrom(energyLevels, lines.at(6));
    emitFrom(ionIon, lines.at(7));
    emitFrom(nonRadiative, lines.at(8));

    EXPECT_TRUE(panel->isHidden()) << "a line does not show the panel";
    QTest::mouseClick(panelButton, Qt::LeftButton);
    EXPECT_TRUE(panelButton->isChecked());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->toPlainText(), lines.join(QLatin1Char('\n')));

    QTest::mouseClick(panelButton, Qt::LeftButton);
    EXPECT_FALSE(panelButton->isChecked());
    EXPECT_TRUE(panel->isHidden());
    // The About page has no log signal at all.
    EXPECT_EQ(stack->widget(4)->metaObject()->indexOfSignal("newObjCalculationMessage(QString)"), -1);
}

// The free-ion page of Module 3 reads its tables from the program's working
// folder, as the chromaticity diagram reads its points there; without them it
// names the missing file and draws nothing.
TEST_F(MainWindowFixture, TheFreeIonPageFindsItsTablesInTheWorkingFolder)
{
    const struct
    {
        QStringList tables; // empty: every table
        QString missing;
    } cases[] = {{{}, QString()}, {{QStringLiteral("f1.cfp")}, QStringLiteral("f1.ele")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing.toStdString());
        LevelsTablesFolder folder(c.tables);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/plots/CIEpoints.txt"),
                                folder.path() + QStringLiteral("/CIEpoints.txt")));
        build();
        showWindow();
        const int boxesBefore = dialogs.requests().size();
        list->setCurrentRow(OrvaneFrmMainWindow::SpectroscopicPage);
        auto* spectroscopic = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->currentWidget());
        ASSERT_NE(spectroscopic, nullptr);
        spectroscopic->findChild<QListWidget*>(QStringLiteral("listWidget"))
            ->setCurrentRow(OrvaneFrmHandleSpectroscopicCalculation::EnergyLevels);
        auto* page = qobject_cast<OrvaneFrmEnergyLevels*>(
            spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentWidget());
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->isVisible());

        // Ce(III), 4f1: one spin-orbit pair, 2F7/2 above 2F5/2 by 3.5 zeta.
        page->findChild<QComboBox*>(QStringLiteral("cbxIon"))->setCurrentText(QStringLiteral("Ce"));
        const struct
        {
            const char* name;
            double value;
        } parameters[] = {{"sbxF2", 371}, {"sbxF4", 54.8}, {"sbxF6", 5.75}, {"sbxZeta", 640}};
        for (const auto& p : parameters)
            page->findChild<QDoubleSpinBox*>(QLatin1String(p.name))->setValue(p.value);
        if (!c.missing.isEmpty())
            dialogs.pressButton(QMessageBox::Ok);
        page->findChild<QPushButton*>(QStringLiteral("btnCalculate"))->click();

        const QString report = page->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"))->toPlainText();
        if (c.missing.isEmpty()) {
            EXPECT_EQ(dialogs.requests().size(), boxesBefore);
            EXPECT_TRUE(report.contains(QStringLiteral("2  2240\n|2F3.5> = "))) << report.toStdString();
        } else {
            ASSERT_EQ(dialogs.requests().size(), boxesBefore + 1);
            EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
            EXPECT_TRUE(dialogs.requests().last().text.contains(c.missing))
                << dialogs.requests().last().text.toStdString();
            EXPECT_TRUE(report.isEmpty());
        }
        window.reset();
    }
}

TEST_F(MainWindowFixture, TheViewerOpensModalCentredAndKeepsItsFile)
{
    build();
    showWindow();
    const QString path = temp.filePath(QStringLiteral("notes.out"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("FINAL HEAT OF FORMATION\n");
    }
    OrvaneFrmFileViewer* viewer = window->getFileViewer();
    auto* text = viewer->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
    ASSERT_NE(text, nullptr);

    struct Seen
    {
        bool visible = false;
        Qt::WindowModality modality = Qt::NonModal;
        QPoint position;
        QPoint expected;
        QString text;
    };
    // Runs while the viewer is open (the click returns only when it closes).
    auto whileOpen = [&](Seen& seen, const std::function<void()>& action) {
        QTimer::singleShot(0, viewer, [&, action] {
            seen.visible = viewer->isVisible();
            seen.modality = viewer->windowModality();
            seen.position = viewer->pos();
            seen.expected = viewer->screen()->availableGeometry().center() - viewer->rect().center();
            seen.text = text->toPlainText();
            action();
            viewer->close();
        });
    };
    Seen first;
    whileOpen(first, [&] { viewer->loadFile(path); });
    QTest::mouseClick(viewerButton, Qt::LeftButton);
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.modality, Qt::ApplicationModal);
    EXPECT_EQ(first.position, first.expected);
    EXPECT_FALSE(viewer->isVisible());

    Seen second;
    whileOpen(second, [] {});
    QTest::mouseClick(viewerButton, Qt::LeftButton);
    EXPECT_TRUE(second.visible);
    EXPECT_EQ(second.text, QStringLiteral("FINAL HEAT OF FORMATION\n"));
    EXPECT_EQ(second.position, second.expected);
}

TEST_F(MainWindowFixture, TheSilentCheckStartsWithTheWindowAndTheButtonChecksOnDemand)
{
    server.serve(versionPath, QByteArray("1.4.1"));
    build();
    ASSERT_TRUE(waitUntil([&] { return server.requestedPaths.contains(versionPath); }));
    QTest::qWait(100);
    EXPECT_TRUE(dialogs.requests().isEmpty()) << "up to date: the silent check says nothing";
    EXPECT_TRUE(window->getUpdateController()->isSilentCheck());

    showWindow();
    dialogs.pressButton(QMessageBox::Ok);
    QTest::mouseClick(updateButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return dialogs.requests().size() == 1; }));
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    EXPECT_TRUE(dialogs.requests().at(0).text.startsWith(QStringLiteral("You have the latest ORVANE version.")));
    EXPECT_EQ(dialogs.requests().at(0).parent, window.get());
    EXPECT_FALSE(window->getUpdateController()->isSilentCheck());
}

TEST_F(MainWindowFixture, ANewerVersionFoundAtStartIsOffered)
{
    server.serve(versionPath, QByteArray("1.5$Faster fits"));
    dialogs.pressButton(QMessageBox::No);
    build();
    ASSERT_TRUE(waitUntil([&] { return dialogs.requests().size() == 1; }));
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::Question);
    EXPECT_TRUE(dialogs.requests().at(0).text.startsWith(QStringLiteral("ORVANE version 1.5 is available")));
    EXPECT_EQ(dialogs.requests().at(0).parent, window.get());
    EXPECT_TRUE(progressBar->isHidden());
}

TEST_F(MainWindowFixture, WithoutAServerNothingIsRequested)
{
    ScopedEnvironment none("ORVANE_UPDATE_SERVER", QByteArray());
    build();
    QTest::qWait(50);
    EXPECT_TRUE(server.requestedPaths.isEmpty());
    showWindow();
    dialogs.pressButton(QMessageBox::Ok);
    QTest::mouseClick(updateButton, Qt::LeftButton);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).text, OrvaneCheckVersion::noServerMessage);
}

TEST_F(MainWindowFixture, TheOrcaPageOpensTheAbsorptionSpectrumWithItsOutput)
{
    build();
    showWindow();
    // An ORCA project on a MOPAC output, dropped on the ORCA page.
    const QString mopacOutput = temp.filePath(QStringLiteral("complex.out"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/eu_h2o8_allvec.out"), mopacOutput));
    window->setPageToBeDisplayed(OrvaneFrmMainWindow::OrcaPage);
    QWidget* orcaPage = stack->widget(OrvaneFrmMainWindow::OrcaPage);
    auto* field = orcaPage->findChild<QLineEdit*>(QStringLiteral("edtFile"));
    ASSERT_NE(field, nullptr);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(mopacOutput)});
    dragAndDrop(field, mime);
    ASSERT_EQ(field->text(), mopacOutput);

    // The button is enabled by a finished run, which leaves the ORCA output
    // beside the MOPAC output; here it is pressed at once.
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/orca/eu_h2o_tda.orcout"),
                            temp.filePath(QStringLiteral("complex.orcout"))));
    auto* button = orcaPage->findChild<QPushButton*>(QStringLiteral("btnShowAbsorptionSpectrumModule"));
    ASSERT_NE(button, nullptr);
    button->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);

    EXPECT_EQ(list->currentRow(), OrvaneFrmMainWindow::SpectroscopicPage);
    EXPECT_EQ(stack->currentIndex(), OrvaneFrmMainWindow::SpectroscopicPage);
    auto* spectroscopic = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->currentWidget());
    ASSERT_NE(spectroscopic, nullptr);
    auto* innerList = spectroscopic->findChild<QListWidget*>(QStringLiteral("listWidget"));
    auto* innerStack = spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    EXPECT_EQ(innerList->currentRow(), 3);
    EXPECT_EQ(innerStack->currentIndex(), 3);
    auto* absorption = qobject_cast<OrvaneFrmPlotAbsorptionSpectrum*>(innerStack->widget(3));
    ASSERT_NE(absorption, nullptr);
    EXPECT_EQ(absorption->getInputFileName(), temp.filePath(QStringLiteral("complex.orcout")));
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

#ifdef ORVANE_ORCA_STANDIN
// From Module 2 to Module 3 with a real run: the ORCA stand-in writes the
// excited-state output beside the MOPAC output, and the button of the ORCA
// page opens the absorption spectrum with that output loaded.
TEST_F(MainWindowFixture, AFinishedOrcaRunOpensItsOutputInTheAbsorptionPage)
{
    OrvaneSettings::setValue(QStringLiteral("orcaDirectory"), QStringLiteral(ORVANE_ORCA_STANDIN));
    build();
    showWindow();
    const QString mopacOutput = temp.filePath(QStringLiteral("complex.out"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/eu_h2o8_allvec.out"), mopacOutput));
    window->setPageToBeDisplayed(OrvaneFrmMainWindow::OrcaPage);
    QWidget* orcaPage = stack->widget(OrvaneFrmMainWindow::OrcaPage);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(mopacOutput)});
    dragAndDrop(orcaPage->findChild<QLineEdit*>(QStringLiteral("edtFile")), mime);
    auto* showButton = orcaPage->findChild<QPushButton*>(QStringLiteral("btnShowAbsorptionSpectrumModule"));
    auto* stopButton = orcaPage->findChild<QPushButton*>(QStringLiteral("btnStopCalculation"));
    ASSERT_TRUE(showButton && stopButton);
    EXPECT_FALSE(showButton->isEnabled());

    dialogs.pressButton(QMessageBox::Ok); // the run's "finished" box
    QTest::mouseClick(orcaPage->findChild<QPushButton*>(QStringLiteral("btnRunCalculation")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return dialogs.pendingAnswers() == 0 && !stopButton->isEnabled(); }, 30000));
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Information"));
    const QString orcaOutput = temp.filePath(QStringLiteral("complex.orcout"));
    ASSERT_TRUE(QFile::exists(orcaOutput));
    ASSERT_TRUE(showButton->isEnabled());
    QTest::mouseClick(showButton, Qt::LeftButton);

    EXPECT_EQ(list->currentRow(), OrvaneFrmMainWindow::SpectroscopicPage);
    auto* spectroscopic = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->currentWidget());
    ASSERT_NE(spectroscopic, nullptr);
    auto* innerStack = spectroscopic->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    EXPECT_EQ(spectroscopic->findChild<QListWidget*>(QStringLiteral("listWidget"))->currentRow(), 3);
    EXPECT_EQ(innerStack->currentIndex(), 3);
    auto* absorption = qobject_cast<OrvaneFrmPlotAbsorptionSpectrum*>(innerStack->currentWidget());
    ASSERT_NE(absorption, nullptr);
    EXPECT_TRUE(absorption->isVisible());
    EXPECT_EQ(absorption->getInputFileName(), orcaOutput);
    auto* tabs = absorption->findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"));
    auto* text = qobject_cast<QPlainTextEdit*>(tabs->widget(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8(OrvaneFixtures::contents(orcaOutput)));
    EXPECT_TRUE(absorption->findChild<QPushButton*>(QStringLiteral("btnPlotGraph"))->isEnabled());
    EXPECT_EQ(dialogs.requests().size(), 1);
}
#endif

TEST_F(MainWindowFixture, TheConverterLinesReachThePanel)
{
    build();
    showWindow();
    window->setPageToBeDisplayed(OrvaneFrmMainWindow::FilesConverterPage);
    QWidget* converter = stack->currentWidget();
    converter->findChild<QComboBox*>(QStringLiteral("cbxInpFile"))->setCurrentIndex(1);
    dialogs.chooseFile(QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/eu_h2o8_allvec.out"));
    QTest::mouseClick(converter->findChild<QPushButton*>(QStringLiteral("btnOpenInputFile")), Qt::LeftButton);
    auto* outputKind = converter->findChild<QComboBox*>(QStringLiteral("cbxOutFile"));
    outputKind->setCurrentIndex(outputKind->findText(QStringLiteral("orcinp"), Qt::MatchStartsWith));
    dialogs.chooseFile(temp.filePath(QStringLiteral("run.orcinp")));
    dialogs.pressButton(QMessageBox::Ok);
    QTest::mouseClick(converter->findChild<QPushButton*>(QStringLiteral("btnSaveOutputFile")), Qt::LeftButton);
    ASSERT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(dialogs.requests().at(2).title, QStringLiteral("ORVANE Information"));

    const QStringList lines = panel->toPlainText().split(QLatin1Char('\n'));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().endsWith(
        QStringLiteral(" -> (Orvane Files Converter Module) Conversion from .out file to .orcinp file")))
        << lines.first().toStdString();
}
