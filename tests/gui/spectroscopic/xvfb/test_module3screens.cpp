// Module 3 as a chemist sees it on a real X server, at the size of the
// screen the program was started on (CTest starts it once per common desktop
// size): every page reached from the main window, in every mode that changes
// it, and every separate window it opens. Each is kept as a screenshot in the
// build tree for a look by eye, and checked for what a screenshot shows:
// no text cut by its widget, no page scrolling sideways, tables that show
// their rows whole, and windows that a button closes.

#include "../../support/guitestsupport.h"
#include "../../../support/markedeuropiumspectrum.h"

#include "orvanefrmciediagram.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvanefrmenergylevels.h"
#include "orvanefrmhandlespectroscopiccalculation.h"
#include "orvanefrmioniontransfer.h"
#include "orvanefrmmainwindow.h"
#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmspectroscopiccalculation.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    return QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/") + name;
}

QSize screenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

QString sizeTag()
{
    return QStringLiteral("%1x%2").arg(screenSize().width()).arg(screenSize().height());
}

QString describe(const QWidget* widget)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        text = box->title();
    return QStringLiteral("%1 \"%2\" (%3x%4)")
        .arg(widget->objectName(), text.left(60))
        .arg(widget->width())
        .arg(widget->height());
}

// Widgets under root whose text does not fit them: a label or button smaller
// than what its text asks for, a group box narrower than its title.
QStringList cutTexts(const QWidget* root)
{
    QStringList cut;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap()
            ? label->heightForWidth(label->width()) <= label->height()
            : label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height();
        if (!fits)
            cut << describe(label) + QStringLiteral(" needs %1x%2").arg(label->sizeHint().width()).arg(
                       label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height());
    }
    for (const QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        if (button->sizeHint().width() > button->width())
            cut << describe(button) + QStringLiteral(" needs %1").arg(button->sizeHint().width());
    }
    for (const QGroupBox* box : root->findChildren<QGroupBox*>()) {
        if (!box->isVisible() || box->title().isEmpty())
            continue;
        const int titleWidth = box->fontMetrics().horizontalAdvance(box->title());
        if (titleWidth > box->width())
            cut << describe(box) + QStringLiteral(" title needs %1").arg(titleWidth);
    }
    return cut;
}

// Visible tables whose rows do not all show whole in their viewport.
QStringList halfHiddenRows(const QWidget* root)
{
    QStringList hidden;
    for (const QTableView* table : root->findChildren<QTableView*>()) {
        if (!table->isVisible() || !table->model())
            continue;
        const int rows = table->verticalHeader()->length();
        if (rows > table->viewport()->height())
            hidden << describe(table)
                    + QStringLiteral(": rows need %1 px, viewport %2 px").arg(rows).arg(table->viewport()->height());
    }
    return hidden;
}

// Empty bands: a label or a group box far taller than its content asks,
// the spare height of the page given to it rather than to the viewers.
QStringList emptyBands(const QWidget* root)
{
    QStringList bands;
    auto tooTall = [](const QWidget* widget, int need) { return widget->height() > 2 * need + 24; };
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const int need = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        if (tooTall(label, need))
            bands << describe(label) + QStringLiteral(" for text of %1 px").arg(need);
    }
    for (const QGroupBox* box : root->findChildren<QGroupBox*>()) {
        if (box->isVisible() && tooTall(box, box->sizeHint().height()))
            bands << describe(box) + QStringLiteral(" for content of %1 px").arg(box->sizeHint().height());
    }
    return bands;
}

QStringList sidewaysScrolling(const QWidget* root)
{
    QStringList scrolling;
    for (const QScrollArea* area : root->findChildren<QScrollArea*>())
        if (area->isVisible() && area->horizontalScrollBar()->isVisible())
            scrolling << describe(area) + QStringLiteral(" content %1 px wide").arg(area->widget()->minimumSizeHint().width());
    return scrolling;
}

std::string joined(const QStringList& list)
{
    return list.join(QStringLiteral("\n  ")).toStdString();
}

// The checks of one screenshot; `name` tells which in a failure.
void expectLooksRight(const QWidget* shown, const QString& name)
{
    SCOPED_TRACE(name.toStdString());
    const QStringList cut = cutTexts(shown);
    EXPECT_TRUE(cut.isEmpty()) << "cut texts:\n  " << joined(cut);
    const QStringList rows = halfHiddenRows(shown);
    EXPECT_TRUE(rows.isEmpty()) << "half-hidden rows:\n  " << joined(rows);
    const QStringList bands = emptyBands(shown);
    EXPECT_TRUE(bands.isEmpty()) << "empty bands:\n  " << joined(bands);
    const QStringList sideways = sidewaysScrolling(shown);
    EXPECT_TRUE(sideways.isEmpty()) << "sideways scrolling:\n  " << joined(sideways);
}

void shoot(QWidget* widget, const QString& name)
{
    QTest::qWait(150);
    EXPECT_TRUE(widget->grab().save(artifact(name + QLatin1Char('_') + sizeTag() + QStringLiteral(".png"))))
        << name.toStdString();
}

template <typename T>
T* child(const QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// A separate window of a page: it shows a button that closes it, and
// closing only hides it.
void expectClosesWithAButton(QWidget* window, const QString& name)
{
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(window->isWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    expectLooksRight(window, name);
    shoot(window, name);
    QAbstractButton* close = nullptr;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
        const bool closes = box ? box->buttonRole(button) == QDialogButtonBox::RejectRole
                || box->buttonRole(button) == QDialogButtonBox::AcceptRole
                                : button->text().remove(QLatin1Char('&')) == QLatin1String("Close");
        if (closes && button->isVisible())
            close = button;
    }
    ASSERT_NE(close, nullptr) << "no visible Close or OK button";
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return !window->isVisible(); }, 2000));
}

// The main window filling the screen, with no update server, in a folder
// of its own that holds the generated chromaticity points.
class Module3Screens : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_CIE_POINTS_FILE),
                                QDir(work.path()).filePath(QStringLiteral("CIEpoints.txt"))));
        window = std::make_unique<OrvaneFrmMainWindow>();
        window->setGeometry(QRect(QPoint(0, 0), screenSize()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_EQ(window->size(), screenSize());
        window->findChild<QListWidget*>(QStringLiteral("listWidget"))
            ->setCurrentRow(OrvaneFrmMainWindow::SpectroscopicPage);
        auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        module3 = qobject_cast<OrvaneFrmHandleSpectroscopicCalculation*>(stack->currentWidget());
        ASSERT_NE(module3, nullptr);
        rows = module3->findChild<QListWidget*>(QStringLiteral("listWidget"));
        pages = module3->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        ASSERT_TRUE(rows && pages);
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(dialogs.requests().isEmpty()) << dialogs.requests().first().text.toStdString();
    }

    QWidget* showRow(int row)
    {
        rows->setCurrentRow(row);
        EXPECT_EQ(pages->currentIndex(), row);
        QTest::qWait(100);
        return pages->currentWidget();
    }

    // The page as it looks in the main window: checked, then kept.
    void look(const QString& name)
    {
        QTest::qWait(100);
        expectLooksRight(pages->currentWidget(), name);
        shoot(window.get(), name);
    }

    QString copyFixture(const QString& fixture, const QString& name)
    {
        const QString path = QDir(work.path()).filePath(name);
        EXPECT_TRUE(QFile::copy(OrvaneFixtures::dataPath(fixture), path)) << fixture.toStdString();
        return path;
    }

    IsolatedTempFolder temp;
    QTemporaryDir work;
    ScopedCurrentDirectory cwd{work.path()};
    ScopedEnvironment server{"ORVANE_UPDATE_SERVER", QByteArray()};
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmMainWindow> window;
    OrvaneFrmHandleSpectroscopicCalculation* module3 = nullptr;
    QListWidget* rows = nullptr;
    QStackedWidget* pages = nullptr;
};

} // namespace

TEST_F(Module3Screens, EmissionPageAndItsChromaticityWindow)
{
    auto* emission = qobject_cast<OrvaneFrmPlotEmissionSpectrum*>(showRow(0));
    ASSERT_NE(emission, nullptr);
    look(QStringLiteral("module3_row0_emission_empty"));

    const QString spectrum = QDir(work.path()).filePath(QStringLiteral("europium.txt"));
    QFile file(spectrum);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(MarkedEuropiumSpectrum::text());
    file.close();
    child<QLineEdit>(emission, "editEmissionSpectrumDirectory")->setText(spectrum);
    ASSERT_EQ(emission->getWavelengths().size(), MarkedEuropiumSpectrum::points);
    MarkedEuropiumSpectrum::markBands(emission);
    look(QStringLiteral("module3_row0_emission_spectrum"));

    QTest::mouseClick(child<QPushButton>(emission, "btnCIEDiagram"), Qt::LeftButton);
    expectClosesWithAButton(emission->getCieDiagram(), QStringLiteral("window_cie_diagram"));

    // A result that cannot be written (a folder holds its name): the notice
    // and the Save As button fit the page as well.
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("europium.orvaneexp")));
    {
        DialogScript refusal;
        refusal.pressButton(QMessageBox::Yes); // replace the existing name?
        refusal.pressButton(QMessageBox::Ok);  // the writer's reason
        QTest::mouseClick(child<QPushButton>(emission, "btnCalculate"), Qt::LeftButton);
        EXPECT_EQ(refusal.pendingAnswers(), 0);
    }
    EXPECT_TRUE(child<QPushButton>(emission, "btnSaveResult")->isVisible());
    look(QStringLiteral("module3_row0_emission_unsaved"));
}

TEST_F(Module3Screens, IntensityPageInEveryInputKindAndScheme)
{
    auto* form = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(showRow(1));
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->mode, 0);
    look(QStringLiteral("module3_row1_intensity_empty"));

    const QString output = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.out"), QStringLiteral("complex.out"));
    child<QLineEdit>(form, "edtMopacOut")->setText(output);
    ASSERT_EQ(form->coordNumber, 8);

    auto click = [&](const char* name) { QTest::mouseClick(child<QAbstractButton>(form, name), Qt::LeftButton); };
    auto* qdc = child<QGroupBox>(form, "gbxParametrizationQDC");
    auto* previous = child<QGroupBox>(form, "gbxConventionalParametrization");
    look(QStringLiteral("module3_row1_intensity_out_qdc_fit"));
    click("rdbSetParametersQDC");
    look(QStringLiteral("module3_row1_intensity_out_qdc_set"));

    previous->setChecked(true);
    click("rdbConventionalParametrization");
    look(QStringLiteral("module3_row1_intensity_out_previous_fit"));
    click("rdbGandAlpha");
    // The typed charge factors start at the detected coordination number.
    EXPECT_EQ(form->frmSetGandAlpha->ui.sbxCoordNumber->value(), 8);
    EXPECT_EQ(form->frmSetGandAlpha->getChargeFactors().size(), 8);
    look(QStringLiteral("module3_row1_intensity_out_previous_set"));

    // The .mop input kind takes the previous scheme.
    click("rdbMopFile");
    const QString input = copyFixture(QStringLiteral("mopac/eu_h2o8_allvec.mop"), QStringLiteral("complex.mop"));
    child<QLineEdit>(form, "edtMopacOut")->setText(input);
    ASSERT_EQ(form->coordNumber, 8);
    EXPECT_TRUE(previous->isChecked());
    EXPECT_EQ(form->frmSetGandAlpha->ui.sbxCoordNumber->value(), 8);
    look(QStringLiteral("module3_row1_intensity_mop_previous_set"));
    click("rdbConventionalParametrization");
    look(QStringLiteral("module3_row1_intensity_mop_previous_fit"));
    qdc->setChecked(true);

    QTest::mouseClick(child<QPushButton>(form, "btnPrintingOptions"), Qt::LeftButton);
    expectClosesWithAButton(form->frmOmegaPrinting.get(), QStringLiteral("window_intensity_report_options"));
}

TEST_F(Module3Screens, EnergyTransferPageInBothInputKinds)
{
    auto* form = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(showRow(2));
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->mode, 2);
    look(QStringLiteral("module3_row2_transfer_orca_empty"));

    // Nothing but the typed intensity parameters sits between the file row
    // and the viewer: no empty band.
    auto* panel = child<QStackedWidget>(form, "stackedInputData");
    EXPECT_LE(panel->height(), panel->currentWidget()->sizeHint().height() + 8)
        << "panel " << panel->height() << " px for content of " << panel->currentWidget()->sizeHint().height();

    QTest::mouseClick(child<QRadioButton>(form, "rdbZindoOutput"), Qt::LeftButton);
    look(QStringLiteral("module3_row2_transfer_gaussian_empty"));
    QTest::mouseClick(child<QRadioButton>(form, "rdbOrcaOutput"), Qt::LeftButton);
    child<QLineEdit>(form, "edtZindoOut")
        ->setText(copyFixture(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("complex.orcout")));
    look(QStringLiteral("module3_row2_transfer_orca_loaded"));

    QTest::mouseClick(child<QPushButton>(form, "btnPrintingOptions"), Qt::LeftButton);
    expectClosesWithAButton(form->frmSpecPrinting.get(), QStringLiteral("window_transfer_report_options"));
    QTest::mouseClick(child<QPushButton>(form, "btnTransferMechanisms"), Qt::LeftButton);
    expectClosesWithAButton(form->frmTransferMechanisms.get(), QStringLiteral("window_transfer_channels"));
}

TEST_F(Module3Screens, AbsorptionPageEmptyAndPlotted)
{
    showRow(3);
    look(QStringLiteral("module3_row3_absorption_empty"));
    // As the ORCA page asks for it.
    module3->setPageToBeDisplayed(3, copyFixture(QStringLiteral("orca/eu_h2o_tda.orcout"),
                                                 QStringLiteral("complex.orcout")));
    auto* absorption = qobject_cast<OrvaneFrmPlotAbsorptionSpectrum*>(pages->currentWidget());
    ASSERT_NE(absorption, nullptr);
    QTest::mouseClick(child<QPushButton>(absorption, "btnPlotGraph"), Qt::LeftButton);
    look(QStringLiteral("module3_row3_absorption_plotted"));
}

// Every separate window that the Module 3 pages own (held by pointer,
// without a parent), opened directly rather than by its button.
TEST_F(Module3Screens, EveryParentlessWindowOfModule3ClosesWithAButton)
{
    const auto* intensity = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(pages->widget(1));
    const auto* transfer = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(pages->widget(2));
    const auto* emission = qobject_cast<OrvaneFrmPlotEmissionSpectrum*>(pages->widget(0));
    ASSERT_TRUE(intensity && transfer && emission);
    const QList<QWidget*> windows = {intensity->frmOmegaPrinting.get(), transfer->frmSpecPrinting.get(),
                                     transfer->frmTransferMechanisms.get(), emission->getCieDiagram()};
    for (QWidget* separate : windows) {
        ASSERT_NE(separate, nullptr);
        EXPECT_EQ(separate->parentWidget(), nullptr);
        separate->show();
        expectClosesWithAButton(separate, QStringLiteral("window_direct_%1").arg(separate->objectName()));
    }
}

// The free-ion level, ion-to-ion transfer and non-radiative rate forms built
// on their own at the screen's size, under the same checks as the pages.
TEST_F(Module3Screens, TheLevelTransferAndRateFormsOnTheirOwn)
{
    const std::vector<std::function<QWidget*()>> makers = {
        [] { return new OrvaneFrmEnergyLevels; }, [] { return new OrvaneFrmIonIonTransfer; },
        [] { return new OrvaneFrmNonRadiativeRateCalculation; }};
    for (const auto& make : makers) {
        std::unique_ptr<QWidget> form(make());
        const QString name = QStringLiteral("form_%1").arg(form->metaObject()->className());
        form->setGeometry(QRect(QPoint(0, 0), screenSize()));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(100);
        shoot(form.get(), name);
        expectLooksRight(form.get(), name);
    }
}
