// The calculation form of Module 3 in its two program modes: what each mode
// builds and shows, the switches among panels and views, the shortcuts, and
// the output side (tabs, the report beside its input, Save).

#include "../support/guitestsupport.h"

#include "orvanefrmomegaparametrization.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmsearching.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"
#include "orvanefrmsettheorecticalomega.h"
#include "orvanefrmspecprinting.h"
#include "orvanefitrunner.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvanesettings.h"
#include "orvanetextfileview.h"

#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString mopacHint = QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");
const QString orcaHint = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
const QString gaussianHint = QStringLiteral("Drag and drop a .log file here OR click on button Open to open it");
const QString greyStyle = QStringLiteral("color: rgb(158, 158, 158);");
const QString header = QStringLiteral("------------------------------------------------------\n"
                                      "      Required Citations for this Calculation         \n"
                                      "------------------------------------------------------\n\n");

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(file.readAll());
}

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

class FormFixture : public ::testing::Test
{
protected:
    void create(int mode)
    {
        form = std::make_unique<OrvaneFrmSpectroscopicCalculation>(nullptr, mode);
    }

    template <typename T = QWidget>
    T* widget(const char* name) const
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTabWidget* tabs() const { return widget<QTabWidget>("tabWidgetViewFiles"); }
    QPlainTextEdit* tab(int index) const { return qobject_cast<QPlainTextEdit*>(tabs()->widget(index)); }
    const OrvaneDialogs::Request* lastRequest() const
    {
        return dialogs.requests().isEmpty() ? nullptr : &dialogs.requests().last();
    }
    // Hidden itself or under a hidden parent inside the form.
    bool shown(const char* name) const { return widget(name)->isVisibleTo(form.get()); }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmSpectroscopicCalculation> form;
};

} // namespace

// ---------------------------------------------------------------------------
// Construction

// What each mode shows after construction, widget by widget (mode 0, 1, 2),
// and, where it matters, whether the widget is enabled.
TEST_F(FormFixture, EachModeBuildsItsOwnPageAndWindows)
{
    const struct
    {
        int mode;
        QString title;
        QString tab0;
        QString tab1;
        QString hint; // the grey text of the input field
        QString tip;  // its tooltip
        int rlProgram;
    } modes[] = {
        {0, QStringLiteral("Module 3.2: Theoretical Calculation of the Intensity Parameters"),
         QStringLiteral("MOPAC .out File "), QStringLiteral("ORVANE .omega File"), mopacHint, mopacHint, 0},
        // No page creates a mode-1 form; the class still builds it whole.
        {1, QStringLiteral("Module 3.3: Energy Transfer Rate and Emission Quantum Yield Calculations"),
         QStringLiteral("ORCA .orcout File"), QStringLiteral("ORVANE .orvane File"), QString(), orcaHint, 1},
        {2, QStringLiteral("Module 3.3: Energy Transfer Rates and Quantum Yield"), QStringLiteral("ORCA .orcout File"),
         QStringLiteral("ORVANE .orvane File"), orcaHint, orcaHint, 1},
    };
    enum class Enabled { Either, Yes, No };
    const struct
    {
        const char* name;
        bool shown[3]; // in mode 0, 1, 2
        Enabled enabled;
    } widgets[] = {
        {"gbxCalculationOptions", {false, false, false}, Enabled::Either},
        {"frameMopacFile", {true, false, false}, Enabled::Either},
        {"edtMopacOut", {true, false, false}, Enabled::Either},
        {"btnChooseMopacOut", {true, false, false}, Enabled::Either},
        {"frameSpecFile", {false, true, true}, Enabled::Either},
        {"edtZindoOut", {false, true, true}, Enabled::Either},
        {"btnChooseZindoOut", {false, true, true}, Enabled::Either},
        {"lblOpenOrcaFile", {false, false, false}, Enabled::Either},
        {"lblMopacForceOut", {false, false, false}, Enabled::No},
        {"edtMopacForceOut", {false, false, false}, Enabled::No},
        {"btnChooseMopacForceOut", {false, false, false}, Enabled::No},
        {"btnTransferMechanisms", {false, true, true}, Enabled::Either},
        {"btnPrintingOptions", {true, true, true}, Enabled::Yes},
        {"btnClearProject", {true, true, true}, Enabled::Yes},
        {"btnCalculate", {true, true, true}, Enabled::No},
        {"btnFind", {true, true, true}, Enabled::No},
        {"btnSaveOutputFile", {false, true, true}, Enabled::No},
        {"sbxRefractiveIndex", {true, true, true}, Enabled::Either},
        {"sbxSingletLevel", {false, true, true}, Enabled::Either},
        {"sbxTripletLevel", {false, true, true}, Enabled::Either},
        {"lblLifeTime", {false, false, true}, Enabled::Either},
        {"sbxLifeTime", {false, false, true}, Enabled::Either},
        {"gbxParametrizationQDC", {true, false, false}, Enabled::Either},
        {"gbxConventionalParametrization", {true, false, false}, Enabled::Either},
        {"lblKindOfParametrization", {true, false, false}, Enabled::Either},
        {"frameAradPartition", {true, false, false}, Enabled::Either},
        {"plainTextEditAradPartition", {true, false, false}, Enabled::No},
        {"btnPartitionOpen", {true, false, false}, Enabled::No},
        {"btnPartitionSave", {true, false, false}, Enabled::No},
        {"cbxShowMoleculeViewer", {true, false, false}, Enabled::Either},
        {"stackedWidget", {true, false, false}, Enabled::Either},
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        create(m.mode);
        const bool intensity = m.mode == 0;
        for (const auto& w : widgets) {
            EXPECT_EQ(shown(w.name), w.shown[m.mode]) << w.name;
            if (w.enabled != Enabled::Either)
                EXPECT_EQ(widget(w.name)->isEnabled(), w.enabled == Enabled::Yes) << w.name;
        }

        EXPECT_EQ(widget<QLabel>("lblTitle")->text(), m.title);
        EXPECT_EQ(form->rlProgram, m.rlProgram);
        EXPECT_EQ(form->omegaInputType, 0);
        EXPECT_EQ(form->citations, header);
        EXPECT_TRUE(widget<QRadioButton>("rdbConventionalMethod")->isChecked());

        // The input field of the mode, with its grey hint.
        auto* input = widget<QLineEdit>(intensity ? "edtMopacOut" : "edtZindoOut");
        EXPECT_EQ(input->text(), m.hint);
        EXPECT_EQ(input->styleSheet(), greyStyle);
        EXPECT_EQ(input->toolTip(), m.tip);
        if (!intensity)
            EXPECT_TRUE(widget<QRadioButton>("rdbOrcaOutput")->isChecked());

        // Values.
        EXPECT_DOUBLE_EQ(widget<QDoubleSpinBox>("sbxRefractiveIndex")->value(), 1.5);
        for (const char* level : {"sbxSingletLevel", "sbxTripletLevel"})
            EXPECT_EQ(widget<QSpinBox>(level)->value(), 0) << level;
        EXPECT_DOUBLE_EQ(widget<QDoubleSpinBox>("sbxLifeTime")->value(), 0.0);

        // Parametrization, panel and partition.
        EXPECT_TRUE(widget<QGroupBox>("gbxParametrizationQDC")->isChecked());
        EXPECT_TRUE(widget<QRadioButton>("rdbParametrizationQDC")->isChecked());
        EXPECT_FALSE(widget<QGroupBox>("gbxConventionalParametrization")->isChecked());
        if (intensity)
            EXPECT_EQ(widget<QLabel>("lblKindOfParametrization")->text(),
                      QStringLiteral("Intensity Parameters Calculation by QDC Adjustment"));
        auto* panels = widget<QStackedWidget>("stackedInputData");
        EXPECT_EQ(panels->count(), 1);
        QWidget* panel = intensity ? static_cast<QWidget*>(form->frmOmegaParametrization.get())
                                   : static_cast<QWidget*>(form->frmSetTheorecticalOmega.get());
        EXPECT_EQ(panels->currentWidget(), panel);
        if (intensity)
            EXPECT_TRUE(form->frmOmegaParametrization->ui.stackedSetLigandsOnMetal->isHidden());
        EXPECT_FALSE(widget<QCheckBox>("chbAradPartition")->isChecked());
        EXPECT_EQ(widget<QPlainTextEdit>("plainTextEditAradPartition")->toPlainText(),
                  QStringLiteral("LIG1 2 3\nLIG2 4 5\nLIG3 6 7"));

        // Viewer and tabs.
        EXPECT_EQ(form->glMolecule != nullptr, intensity);
        ASSERT_EQ(tabs()->count(), 2);
        EXPECT_EQ(tabs()->tabText(0), m.tab0);
        EXPECT_EQ(tabs()->tabText(1), m.tab1);
        for (int index : {0, 1}) {
            EXPECT_TRUE(tab(index)->isReadOnly());
            EXPECT_EQ(tab(index)->lineWrapMode(), QPlainTextEdit::NoWrap);
        }
        EXPECT_TRUE(form->findBar->isHidden());

        // The panels of the other modes do not exist.
        EXPECT_EQ(form->frmOmegaPrinting != nullptr, intensity);
        EXPECT_EQ(form->frmOmegaParametrization != nullptr, intensity);
        EXPECT_EQ(form->frmSetGandAlpha != nullptr, intensity);
        EXPECT_EQ(form->frmSetParametersQDC != nullptr, intensity);
        EXPECT_EQ(form->getFitRunner() != nullptr, intensity);
        EXPECT_EQ(form->findChild<QProgressDialog*>() != nullptr, intensity);
        EXPECT_EQ(form->frmSpecPrinting != nullptr, !intensity);
        EXPECT_EQ(form->frmTransferMechanisms != nullptr, !intensity);
        EXPECT_EQ(form->frmSetTheorecticalOmega != nullptr, !intensity);
        if (intensity) {
            EXPECT_TRUE(form->getFitRunner()->progressDialog()->isHidden());
            EXPECT_EQ(form->getFitRunner()->progressDialog()->parentWidget(), form.get());
        } else {
            EXPECT_TRUE(form->frmTransferMechanisms->ui.sbxNOverlapIntegral->isHidden());
        }
        // The option windows: their own windows, modal, shown by their button.
        QWidget* options = intensity ? static_cast<QWidget*>(form->frmOmegaPrinting.get())
                                     : static_cast<QWidget*>(form->frmSpecPrinting.get());
        EXPECT_EQ(options->parentWidget(), nullptr);
        EXPECT_EQ(options->windowModality(), Qt::ApplicationModal);
        EXPECT_TRUE(options->isHidden());
        form.reset();
    }
}

TEST_F(FormFixture, TheGaussianOptionChangesHintProgramAndTabButKeepsAPath)
{
    create(2);
    auto* gaussian = widget<QRadioButton>("rdbZindoOutput");
    auto* orca = widget<QRadioButton>("rdbOrcaOutput");
    auto* edit = widget<QLineEdit>("edtZindoOut");

    gaussian->setChecked(true);
    EXPECT_EQ(edit->text(), gaussianHint);
    EXPECT_EQ(form->rlProgram, 2);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("GAUSSIAN Output"));
    orca->setChecked(true);
    EXPECT_EQ(edit->text(), orcaHint);
    EXPECT_EQ(form->rlProgram, 1);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("ORCA Output"));

    const QString path = temp.filePath(QStringLiteral("run.orcout"));
    edit->blockSignals(true);
    edit->setText(path);
    edit->blockSignals(false);
    gaussian->setChecked(true);
    EXPECT_EQ(edit->text(), path);
    EXPECT_EQ(form->rlProgram, 2);
}

TEST_F(FormFixture, TheParametrizationSchemesSwapPanelsAndLabel)
{
    create(0);
    auto* qdc = widget<QGroupBox>("gbxParametrizationQDC");
    auto* previous = widget<QGroupBox>("gbxConventionalParametrization");
    auto* label = widget<QLabel>("lblKindOfParametrization");
    auto* panels = widget<QStackedWidget>("stackedInputData");
    QWidget* grouping = form->frmOmegaParametrization->ui.stackedSetLigandsOnMetal;

    previous->setChecked(true);
    EXPECT_FALSE(qdc->isChecked());
    EXPECT_FALSE(shown("frameAradPartition"));
    EXPECT_FALSE(grouping->isHidden());
    EXPECT_TRUE(shown("lblKindOfParametrization"));
    EXPECT_EQ(label->text(), QStringLiteral("Intensity Parameters Calculation by Previous Adjustment Scheme"));
    EXPECT_EQ(panels->currentWidget(), form->frmOmegaParametrization.get());

    widget<QRadioButton>("rdbGandAlpha")->setChecked(true);
    EXPECT_EQ(panels->currentWidget(), form->frmSetGandAlpha.get());
    EXPECT_EQ(panels->count(), 1);
    EXPECT_FALSE(shown("lblKindOfParametrization"));

    qdc->setChecked(true);
    EXPECT_FALSE(previous->isChecked());
    EXPECT_TRUE(shown("frameAradPartition"));
    EXPECT_TRUE(grouping->isHidden());
    EXPECT_TRUE(shown("lblKindOfParametrization"));
    EXPECT_EQ(label->text(), QStringLiteral("Intensity Parameters Calculation by QDC Adjustment"));
    EXPECT_EQ(panels->currentWidget(), form->frmOmegaParametrization.get());

    widget<QRadioButton>("rdbSetParametersQDC")->setChecked(true);
    EXPECT_EQ(panels->currentWidget(), form->frmSetParametersQDC.get());
    EXPECT_EQ(panels->count(), 1);
    EXPECT_FALSE(shown("lblKindOfParametrization"));
    widget<QRadioButton>("rdbParametrizationQDC")->setChecked(true);
    EXPECT_EQ(panels->currentWidget(), form->frmOmegaParametrization.get());

    // The .mop input belongs to the previous scheme; QDC brings back the
    // MOPAC output and a cleared project.
    widget<QRadioButton>("rdbMopFile")->setChecked(true);
    EXPECT_TRUE(previous->isChecked());
    EXPECT_EQ(form->omegaInputType, 1);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("MOPAC input file (.mop)"));
    tab(0)->setPlainText(QStringLiteral("old"));
    qdc->setChecked(true);
    EXPECT_TRUE(widget<QRadioButton>("rdbMopacOut")->isChecked());
    EXPECT_EQ(form->omegaInputType, 0);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("MOPAC output file (.out)"));
    EXPECT_TRUE(tab(0)->toPlainText().isEmpty());
    EXPECT_EQ(widget<QLineEdit>("edtMopacOut")->text(), mopacHint);
}

TEST_F(FormFixture, TheViewerHidesAndItsFloatingDockIsCentred)
{
    create(0);
    form->show();
    widget<QCheckBox>("cbxShowMoleculeViewer")->setChecked(false);
    EXPECT_TRUE(widget("stackedWidget")->isHidden());
    widget<QCheckBox>("cbxShowMoleculeViewer")->setChecked(true);
    EXPECT_FALSE(widget("stackedWidget")->isHidden());

    auto* dock = widget<QDockWidget>("dockWidget");
    EXPECT_EQ(dock->features(), QDockWidget::DockWidgetFloatable);
    dock->setFloating(true);
    const QRect area = dock->screen()->availableGeometry();
    // Placed once it has become a window of its own, large enough for a molecule.
    EXPECT_TRUE(waitUntil([&] { return (dock->frameGeometry().center() - area.center()).manhattanLength() <= 2; }));
    EXPECT_GE(dock->width(), qMin(480, int(area.width() * 0.8)));
}

TEST_F(FormFixture, TheOptionButtonsOpenTheModesWindows)
{
    create(0);
    widget<QPushButton>("btnPrintingOptions")->click();
    EXPECT_TRUE(form->frmOmegaPrinting->isVisible());
    form->frmOmegaPrinting->close();
    EXPECT_FALSE(form->frmOmegaPrinting->isVisible());

    create(2);
    widget<QPushButton>("btnPrintingOptions")->click();
    EXPECT_TRUE(form->frmSpecPrinting->isVisible());
    form->frmSpecPrinting->close();
    widget<QPushButton>("btnTransferMechanisms")->click();
    EXPECT_TRUE(form->frmTransferMechanisms->isVisible());
    form->frmTransferMechanisms->close();
}

TEST_F(FormFixture, ShortcutsClickOnlyTheVisiblePagesEnabledButtons)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* pages = new QStackedWidget(&window);
    layout->addWidget(pages);
    auto* intensity = new OrvaneFrmSpectroscopicCalculation(pages, 0);
    auto* transfer = new OrvaneFrmSpectroscopicCalculation(pages, 2);
    pages->addWidget(intensity);
    pages->addWidget(transfer);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const QList<OrvaneFrmSpectroscopicCalculation*> forms = {intensity, transfer};
    const char* names[] = {"btnChooseMopacOut", "btnChooseZindoOut", "btnCalculate", "btnFind",
                           "btnTransferMechanisms", "btnSaveOutputFile"};
    auto button = [](QWidget* page, const char* name) {
        return page->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    struct Press
    {
        OrvaneFrmSpectroscopicCalculation* page;
        Qt::Key key;
        const char* clicked; // null: nothing is clicked
        int dialogs = 0;     // boxes or file dialogs the click opens
    };
    const Press presses[] = {
        {intensity, Qt::Key_R, nullptr}, // disabled
        {intensity, Qt::Key_T, nullptr},
        {intensity, Qt::Key_S, nullptr},
        {transfer, Qt::Key_S, nullptr}, // disabled
        {intensity, Qt::Key_F, "btnFind"},
        {intensity, Qt::Key_O, "btnChooseMopacOut", 1},
        {transfer, Qt::Key_O, "btnChooseZindoOut", 1},
        // Calculate with nothing loaded: the engine's refusal.
        {transfer, Qt::Key_R, "btnCalculate", 1},
        {transfer, Qt::Key_F, "btnFind"},
        // Last: the window it opens blocks the page.
        {transfer, Qt::Key_T, "btnTransferMechanisms"},
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(std::string(press.page == intensity ? "mode 0, key " : "mode 2, key ")
                     + char('A' + (press.key - Qt::Key_A)));
        if (press.clicked)
            button(press.page, press.clicked)->setEnabled(true);
        pages->setCurrentWidget(press.page);
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (auto* page : forms)
            for (const char* name : names)
                spies << std::make_shared<QSignalSpy>(button(page, name), &QPushButton::clicked);
        for (int k = 0; k < press.dialogs; ++k)
            dialogs.cancel();
        QTest::keyClick(press.page, press.key, Qt::ControlModifier);
        EXPECT_EQ(dialogs.pendingAnswers(), 0);
        int index = 0;
        for (auto* page : forms) {
            for (const char* name : names) {
                const bool expected = press.clicked && page == press.page && qstrcmp(name, press.clicked) == 0;
                EXPECT_EQ(spies.at(index++)->count(), expected ? 1 : 0) << name;
            }
        }
    }
    EXPECT_TRUE(transfer->findBar->isVisible());
    EXPECT_TRUE(transfer->frmTransferMechanisms->isVisible());
    transfer->frmTransferMechanisms->close();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Save on the energy-transfer page asks for a name.
    button(transfer, "btnSaveOutputFile")->setEnabled(true);
    dialogs.cancel();
    QTest::keyClick(transfer, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(lastRequest()->title, QStringLiteral("Save ORVANE .orvane File"));
}

TEST_F(FormFixture, OnlyAFormWithAMopacFileRemembersItsFolder)
{
    OrvaneSettings::setValue(QStringLiteral("lastDirectory"), QStringLiteral("/before"));
    for (int mode : {0, 2}) {
        create(mode);
        form->orcaFile = temp.filePath(QStringLiteral("run.orcout"));
        form.reset();
        EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), QStringLiteral("/before")) << mode;
    }
    QDir(temp.path()).mkpath(QStringLiteral("calc"));
    create(0);
    form->mopacFile = temp.filePath(QStringLiteral("calc/Eu.complex.out"));
    form.reset();
    EXPECT_EQ(OrvaneSettings::value(QStringLiteral("lastDirectory")), QFileInfo(temp.filePath(QStringLiteral("calc"))).absoluteFilePath());
}

// ---------------------------------------------------------------------------
// Output side

TEST(OutputTabLimit, AFileOf100MiBOrMoreIsNotShown)
{
    const qint64 limit = qint64(100) * 1048576;
    EXPECT_TRUE(OrvaneTextFileView::fitsInView(0));
    EXPECT_TRUE(OrvaneTextFileView::fitsInView(limit - 1));
    EXPECT_FALSE(OrvaneTextFileView::fitsInView(limit));
    EXPECT_FALSE(OrvaneTextFileView::fitsInView(limit * 3));
}

TEST_F(FormFixture, AFileIsShownInItsTabOrTheTabIsEmptiedAndTheReasonShown)
{
    create(2);
    const QString input = temp.filePath(QStringLiteral("run.orcout"));
    ASSERT_TRUE(writeText(input, QStringLiteral("ORCA output\r\nline 2\n")));
    EXPECT_TRUE(form->loadFileInTab(input, 0));
    EXPECT_EQ(tab(0)->toPlainText(), QStringLiteral("ORCA output\nline 2\n"));
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_EQ(form->findBar->plainTextEdit, tab(0));
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // A sparse file of exactly the limit: its size, not its reading, decides.
    const QString large = temp.filePath(QStringLiteral("large.orcout"));
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(100) * 1048576));
    }
    const QString missing = temp.filePath(QStringLiteral("missing.orcout"));
    for (const QString& file : {large, missing, temp.path()}) {
        SCOPED_TRACE(file.toStdString());
        tab(1)->setPlainText(QStringLiteral("previous report"));
        dialogs.pressButton(QMessageBox::Ok);
        EXPECT_FALSE(form->loadFileInTab(file, 1));
        EXPECT_TRUE(tab(1)->toPlainText().isEmpty());
        EXPECT_EQ(tabs()->currentIndex(), 1);
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Warning);
        EXPECT_TRUE(lastRequest()->text.contains(file));
        // The tab itself carries the same reason as its note.
        EXPECT_EQ(tab(1)->placeholderText(), lastRequest()->text);
    }
    EXPECT_TRUE(lastRequest()->text.contains(QString::fromLocal8Bit(std::strerror(EISDIR))));
}

TEST_F(FormFixture, NeitherOutputTabTakesADrop)
{
    create(0);
    const QString dropped = temp.filePath(QStringLiteral("other.out"));
    ASSERT_TRUE(writeText(dropped, QStringLiteral("x")));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    mime.setText(dropped);
    for (int index : {0, 1}) {
        tab(index)->setPlainText(QStringLiteral("report"));
        const DragResult result = dragAndDrop(tab(index)->viewport(), mime);
        EXPECT_FALSE(result.dropAccepted) << index;
        EXPECT_EQ(tab(index)->toPlainText(), QStringLiteral("report")) << index;
        dragAndDrop(tab(index), mime);
        EXPECT_EQ(tab(index)->toPlainText(), QStringLiteral("report")) << index;
    }
}

TEST_F(FormFixture, AReportIsSavedBesideItsInputUnderTheBaseName)
{
    const struct
    {
        int mode;
        QString input;
        QString report;
    } cases[] = {
        {0, QStringLiteral("calc/Eu.complex.out"), QStringLiteral("calc/Eu.omega")},
        {2, QStringLiteral("calc/run.td.orcout"), QStringLiteral("calc/run.orvane")},
    };
    QDir(temp.path()).mkpath(QStringLiteral("calc"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        create(c.mode);
        (c.mode == 0 ? form->mopacFile : form->orcaFile) = temp.filePath(c.input);
        form->citations = header + QStringLiteral("A. Author, J. Chem. 1 (2000) 1.\n");
        form->showOutput(QStringLiteral("Omega(2) = 1.0\nOmega(4) = 2.0"));
        EXPECT_EQ(tabs()->currentIndex(), 1);
        EXPECT_EQ(form->findBar->plainTextEdit, tab(1));
        const QString shownText = QStringLiteral("Omega(2) = 1.0\nOmega(4) = 2.0\n") + form->citations;
        EXPECT_EQ(tab(1)->toPlainText(), shownText);

        const QString report = temp.filePath(c.report);
        dialogs.pressButton(QMessageBox::Ok);
        form->saveOutputBesideInput();
        EXPECT_EQ(readText(report), shownText + QStringLiteral("\n\n\n"));
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Information);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("Information"));
        EXPECT_EQ(lastRequest()->text, QStringLiteral("The file was successfully created at ") + report);

        // An existing report: No writes nothing, Yes replaces it.
        ASSERT_TRUE(writeText(report, QStringLiteral("kept")));
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::No);
        form->saveOutputBesideInput();
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Question);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Question"));
        EXPECT_EQ(lastRequest()->text, QStringLiteral("The destination already has a file named\n") + report
                                           + QStringLiteral("\nAre you sure you want to replace the file in the "
                                                            "destination?"));
        EXPECT_EQ(lastRequest()->buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(lastRequest()->defaultButton, QMessageBox::NoButton);
        EXPECT_EQ(readText(report), QStringLiteral("kept"));
        dialogs.pressButton(QMessageBox::Yes);
        dialogs.pressButton(QMessageBox::Ok);
        form->saveOutputBesideInput();
        EXPECT_EQ(readText(report), shownText + QStringLiteral("\n\n\n"));
        EXPECT_EQ(lastRequest()->title, QStringLiteral("Information"));
    }
}

// Declining to replace the report beside the input leaves the new one in no
// file: it is said to be unsaved, and mode 0, which has no Save button of its
// own, shows one so that it can be saved elsewhere.
TEST_F(FormFixture, AReportWhoseEarlierFileIsKeptIsSaidToBeUnsaved)
{
    create(0);
    form->mopacFile = temp.filePath(QStringLiteral("Eu.out"));
    const QString report = temp.filePath(QStringLiteral("Eu.omega"));
    ASSERT_TRUE(writeText(report, QStringLiteral("kept")));
    form->showOutput(QStringLiteral("Omega(2) = 1.0"));
    auto* notice = widget<QLabel>("lblUnsavedReport");
    auto* save = widget<QPushButton>("btnSaveOutputFile");
    ASSERT_FALSE(notice->isVisibleTo(form.get()));
    ASSERT_FALSE(save->isVisibleTo(form.get()));

    dialogs.pressButton(QMessageBox::No);
    form->saveOutputBesideInput();
    EXPECT_EQ(readText(report), QStringLiteral("kept"));
    EXPECT_TRUE(notice->isVisibleTo(form.get()));
    EXPECT_TRUE(notice->text().startsWith(QStringLiteral("This report is not saved: the earlier file ") + report
                                          + QStringLiteral(" was kept.\nSave it under another name")))
        << notice->text().toStdString();
    EXPECT_TRUE(save->isVisibleTo(form.get()));
    EXPECT_TRUE(save->isEnabled());

    // Replacing it after all: saved, and the notice goes.
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.pressButton(QMessageBox::Ok);
    form->saveOutputBesideInput();
    EXPECT_TRUE(readText(report).startsWith(QStringLiteral("Omega(2) = 1.0")));
    EXPECT_FALSE(notice->isVisibleTo(form.get()));
}

TEST_F(FormFixture, AFailedSaveSaysWhyAndAnnouncesNoSuccess)
{
    create(0);
    form->showOutput(QStringLiteral("report"));
    // A folder where the report would go, and a folder that does not exist.
    QDir(temp.path()).mkpath(QStringLiteral("Eu.omega"));
    form->mopacFile = temp.filePath(QStringLiteral("Eu.out"));
    dialogs.pressButton(QMessageBox::Yes);
    dialogs.pressButton(QMessageBox::Ok);
    form->saveOutputBesideInput();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_TRUE(lastRequest()->text.contains(temp.filePath(QStringLiteral("Eu.omega"))));
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("Eu.omega"))).isDir());

    form->mopacFile = temp.filePath(QStringLiteral("gone/Eu.out"));
    dialogs.pressButton(QMessageBox::Ok);
    form->saveOutputBesideInput();
    ASSERT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::Critical);
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("gone"))));
}

// The report and the ligand partition: a name typed without suffix gets the
// filter's, and the message names the file written.
TEST_F(FormFixture, NamesTypedWithoutSuffixAreSavedWithTheFiltersOne)
{
    create(0);
    form->showOutput(QStringLiteral("the report"));
    widget<QPushButton>("btnSaveOutputFile")->setEnabled(true);
    widget<QCheckBox>("chbAradPartition")->setChecked(true);
    expectSavedWithFilterSuffix(dialogs, temp.path(), QStringLiteral("report"), QStringLiteral("report.orvane"),
                                QStringLiteral("The ORVANE output file was successfully created at: \n"),
                                [&] { widget<QPushButton>("btnSaveOutputFile")->click(); });
    expectSavedWithFilterSuffix(dialogs, temp.path(), QStringLiteral("partition"), QStringLiteral("partition.ligands"),
                                QStringLiteral("The file was successfully created at: "),
                                [&] { widget<QPushButton>("btnPartitionSave")->click(); });
}

TEST_F(FormFixture, SaveProposesAnOrvaneFileInEveryMode)
{
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        create(mode);
        form->showOutput(QStringLiteral("the report"));
        auto* save = widget<QPushButton>("btnSaveOutputFile");
        save->setEnabled(true);

        dialogs.cancel();
        save->click();
        ASSERT_NE(lastRequest(), nullptr);
        EXPECT_EQ(lastRequest()->kind, OrvaneDialogs::Kind::SaveFileName);
        EXPECT_EQ(lastRequest()->title, QStringLiteral("Save ORVANE .orvane File"));
        // .orvane first, where the dialog starts; an intensity-parameter
        // report may also be kept as .omega, under which it is read back.
        EXPECT_EQ(lastRequest()->filter,
                  mode == 0 ? QStringLiteral("ORVANE .orvane File (*.orvane);;ORVANE .omega File (*.omega)")
                            : QStringLiteral("ORVANE .orvane File (*.orvane)"));
        EXPECT_EQ(lastRequest()->directory, form->lastDirectory);
        EXPECT_FALSE(form->lastDirectory.isEmpty());

        const QString chosen = temp.filePath(QStringLiteral("chosen%1.orvane").arg(mode));
        dialogs.chooseFile(chosen);
        dialogs.pressButton(QMessageBox::Ok);
        save->click();
        EXPECT_EQ(readText(chosen), QStringLiteral("the report\n") + header + QStringLiteral("\n\n\n"));
        EXPECT_EQ(lastRequest()->title, QStringLiteral("ORVANE Information"));
        EXPECT_EQ(lastRequest()->text, QStringLiteral("The ORVANE output file was successfully created at: \n") + chosen);
    }
}
