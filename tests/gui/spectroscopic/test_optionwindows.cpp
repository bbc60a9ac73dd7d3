#include "../support/guitestsupport.h"

#include "orvanefrmciediagram.h"
#include "orvanefrmomegaprinting.h"
#include "orvanefrmspecprinting.h"
#include "orvanefrmtransfermechanisms.h"
#include "orvaneoptionwindow.h"
#include "requiredcitations.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QPointer>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The flags of a record as a list, in field order, so records compare at once.
std::vector<bool> flags(const OmegaPrintingOptions& o)
{
    return {o.betaAndRo, o.bltpParameters, o.bltpParametersDC, o.bltpParametersED, o.constantValues, o.GAMA,
            o.sumGAMA,   o.gAndAlpha,      o.omega,            o.omegaDC,          o.omegaED,        o.sphericalCoordinates,
            o.sphericalHarmonicals, o.gama, o.sumgama,         o.arad,             o.ligandContributionForArad, o.bkq};
}
std::vector<bool> flags(const SpecPrintingOptions& o)
{
    return {o.anradAndQuantumEfficiency, o.aradAndBeta, o.constantValues, o.frankCondonFactor,
            o.levelPopulation, o.omega, o.omegaED, o.quantumYield, o.singletAndTripletEnergy, o.wet, o.gama};
}
std::vector<bool> flags(const EnergyTransferChannels& c)
{
    return {c.singlet5D4, c.singlet5G6, c.singlet5L6, c.singlet5D1, c.singlet5D0,
            c.triplet5D4, c.triplet5G6, c.triplet5L6, c.triplet5D1, c.triplet5D0};
}

QCheckBox* box(QWidget& window, const char* name)
{
    auto* b = window.findChild<QCheckBox*>(QLatin1String(name));
    EXPECT_TRUE(b) << name;
    return b;
}

// Clicking each free box must flip exactly the field it stands for: a box
// wired to the wrong field, or to none, shows up as a difference elsewhere.
template <typename Window, typename Read>
void expectEachBoxFlipsItsField(Window& window, const std::vector<const char*>& boxesInFieldOrder, Read read)
{
    const std::vector<bool> before = flags(read(window));
    for (size_t field = 0; field < boxesInFieldOrder.size(); ++field) {
        const char* name = boxesInFieldOrder[field];
        if (!name)
            continue;
        QCheckBox* b = box(window, name);
        ASSERT_TRUE(b);
        if (!b->isEnabled() || b->isHidden())
            continue;
        b->click();
        std::vector<bool> expected = before;
        expected[field] = !expected[field];
        EXPECT_EQ(flags(read(window)), expected) << name;
        b->click();
    }
    EXPECT_EQ(flags(read(window)), before);
}

} // namespace

TEST(ReportOptionWindows, IntensityReportStartsWithTheDefaultSectionsAndFixesTheReadBackOnes)
{
    OrvaneFrmOmegaPrinting window;
    const auto options = [](const OrvaneFrmOmegaPrinting& w) { return w.getOmegaPrintingOptions(); };
    // betaAndRo .. bkq
    EXPECT_EQ(flags(options(window)), (std::vector<bool>{false, false, false, false, false, false, false, true, true,
                                                         false, true, true, false, false, false, true, true, false}));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ORVANE Printing Options"));

    // The sections the panels read back are always printed.
    for (const char* fixed : {"chbGandAlpha", "chbOmega", "chbOmegaED"}) {
        EXPECT_FALSE(box(window, fixed)->isEnabled()) << fixed;
        EXPECT_TRUE(box(window, fixed)->isChecked()) << fixed;
    }
    for (const char* label : {"label_5", "label_14", "label_3"})
        EXPECT_FALSE(window.findChild<QWidget*>(QLatin1String(label))->isEnabled()) << label;
    EXPECT_TRUE(box(window, "chbLigandContributionForArad")->isHidden());

    expectEachBoxFlipsItsField(window,
                               {"chbBetaAndRo", "chbBltpParameters", "chbBltpParametersDC", "chbBltpParametersED",
                                "chbConstantValues", "chbGAMA", "chbSumGAMA", "chbGandAlpha", "chbOmega",
                                "chbOmegaDC", "chbOmegaED", "chbSphericalCoordinates", "chbSphericalHarmonicals",
                                "chbgama", "chbSumgama", "chbArad", "chbLigandContributionForArad", nullptr},
                               options);
}

TEST(ReportOptionWindows, TransferReportStartsWithTheDefaultSections)
{
    OrvaneFrmSpecPrinting window;
    const auto options = [](const OrvaneFrmSpecPrinting& w) { return w.getSpecPrintingOptions(); };
    EXPECT_EQ(flags(options(window)),
              (std::vector<bool>{true, true, false, false, false, false, false, true, true, true, false}));
    for (const char* fixed : {"chbSingletAndTripletEnergy", "chbWet", "chbQuantumYield"}) {
        EXPECT_FALSE(box(window, fixed)->isEnabled()) << fixed;
        EXPECT_TRUE(box(window, fixed)->isChecked()) << fixed;
    }
    expectEachBoxFlipsItsField(window,
                               {"chbAnradAndQuantumEfficiency", "chbAradAndBeta", "chbConstantValues",
                                "chbFrankCondonFactor", "chbLevelPopulation", "chbOmega", "chbOmegaED",
                                "chbQuantumYield", "chbSingletAndTripletEnergy", "chbWet", "chbgama"},
                               options);
}

TEST(TransferChannelWindow, StartsWithTheDefaultChannelsAndEveryChannelCanBeCleared)
{
    OrvaneFrmTransferMechanisms window;
    const auto channels = [](const OrvaneFrmTransferMechanisms& w) { return w.getEnergyTransferChannels(); };
    EXPECT_EQ(flags(channels(window)),
              (std::vector<bool>{true, false, false, false, false, false, false, false, true, true}));
    expectEachBoxFlipsItsField(window,
                               {"cbxSinglet5D4", "cbxSinglet5G6", "cbxSinglet5L6", "cbxSinglet5D1", "cbxSinglet5D0",
                                "cbxTriplet5D4", "cbxTriplet5G6", "cbxTriplet5L6", "cbxTriplet5D1", "cbxTriplet5D0"},
                               channels);
    for (QCheckBox* b : window.findChildren<QCheckBox*>())
        b->setChecked(false);
    EXPECT_EQ(flags(channels(window)), std::vector<bool>(10, false));
    EXPECT_DOUBLE_EQ(window.ui.sbxNOverlapIntegral->value(), 3.5);
}

TEST(TransferChannelWindow, ModelFollowsTheRadioButtonsAndOneIsAlwaysChosen)
{
    OrvaneFrmTransferMechanisms window;
    EXPECT_EQ(window.getETModel(), 0);
    const struct
    {
        QRadioButton* button;
        int model;
    } cases[] = {{window.ui.rdbRevisitedModel, 1}, {window.ui.rdbFirstModel, 2}, {window.ui.rdbHandbookModel, 0},
                 {window.ui.rdbFirstModel, 2}};
    for (const auto& c : cases) {
        c.button->click();
        EXPECT_EQ(window.getETModel(), c.model);
        int checked = 0;
        for (QRadioButton* r : window.findChildren<QRadioButton*>())
            checked += r->isChecked() ? 1 : 0;
        EXPECT_EQ(checked, 1);
    }
    // Each model is labelled by the reference its runs cite.
    EXPECT_EQ(window.ui.rdbHandbookModel->text(), transferModelReference(0));
    EXPECT_EQ(window.ui.rdbRevisitedModel->text(), transferModelReference(1));
    EXPECT_EQ(window.ui.rdbFirstModel->text(), transferModelReference(2));
    QStringList texts;
    for (QRadioButton* r : window.findChildren<QRadioButton*>())
        texts << r->text();
    EXPECT_EQ(texts.size(), 3);
    EXPECT_EQ(texts.removeDuplicates(), 0);
    EXPECT_FALSE(texts.contains(QString()));
}

TEST(OptionWindow, IsAParentlessModalWindowThatOnlyHidesWhenClosed)
{
    std::vector<std::pair<std::unique_ptr<QWidget>, QPoint>> windows;
    windows.emplace_back(std::make_unique<OrvaneFrmOmegaPrinting>(), QPoint(400, 200));
    windows.emplace_back(std::make_unique<OrvaneFrmSpecPrinting>(), QPoint(400, 200));
    windows.emplace_back(std::make_unique<OrvaneFrmTransferMechanisms>(), QPoint(400, 400));
    for (auto& [window, at] : windows) {
        SCOPED_TRACE(window->metaObject()->className());
        QPointer<QWidget> alive(window.get());
        OrvaneOptionWindow::configure(window.get(), at);

        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->parentWidget(), nullptr);
        EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
        // Only a close button (Qt adds the title bar that carries it).
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowContextHelpButtonHint | Qt::WindowStaysOnTopHint));
        EXPECT_EQ(window->geometry().topLeft(), at);

        // A choice made before closing is there at the next opening.
        QCheckBox* choice = nullptr;
        for (QCheckBox* b : window->findChildren<QCheckBox*>())
            if (!choice && b->isEnabled() && !b->isHidden())
                choice = b;
        ASSERT_TRUE(choice);
        const bool chosen = !choice->isChecked();

        window->show();
        ASSERT_TRUE(window->isVisible());
        choice->setChecked(chosen);
        EXPECT_TRUE(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(alive);
        EXPECT_FALSE(window->isVisible());

        window->show();
        EXPECT_EQ(choice->isChecked(), chosen);
        window->hide();
    }
}

// Every separate window of the calculation pages and the chromaticity
// diagram closes with a button of its own, not only with the title bar's
// cross; like the cross, the button only hides the window.
TEST(OptionWindow, EachClosesWithItsOwnCloseButton)
{
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<OrvaneFrmOmegaPrinting>());
    windows.push_back(std::make_unique<OrvaneFrmSpecPrinting>());
    windows.push_back(std::make_unique<OrvaneFrmTransferMechanisms>());
    windows.push_back(std::make_unique<OrvaneFrmCIEDiagram>());
    for (auto& window : windows) {
        SCOPED_TRACE(window->metaObject()->className());
        QPointer<QWidget> alive(window.get());
        if (window->metaObject()->className() != QByteArray("OrvaneFrmCIEDiagram"))
            OrvaneOptionWindow::configure(window.get(), QPoint(400, 200));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

        auto* box = window->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(box, nullptr);
        QPushButton* close = box->button(QDialogButtonBox::Close);
        ASSERT_NE(close, nullptr);
        EXPECT_TRUE(close->isVisible());
        EXPECT_EQ(close->text().remove(QLatin1Char('&')), QStringLiteral("Close"));
        // The button sits inside the window, below everything else.
        EXPECT_TRUE(window->rect().contains(QRect(close->mapTo(window.get(), QPoint(0, 0)), close->size())));

        QTest::mouseClick(close, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(alive);
        EXPECT_FALSE(window->isVisible());
        // And it opens again as it was.
        window->show();
        EXPECT_TRUE(close->isVisible());
        window->hide();
    }
}
