#include "../support/guitestsupport.h"

#include "orvanefrmhandlespectroscopiccalculation.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmspectroscopiccalculation.h"

#include "orvanefixtures.h"

#include <QFile>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <iterator>

namespace {

class ContainerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list = container.findChild<QListWidget*>(QStringLiteral("listWidget"));
        stack = container.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        title = container.findChild<QLabel*>(QStringLiteral("lblTitle"));
        ASSERT_TRUE(list && stack && title);
        ASSERT_EQ(stack->count(), 7);
    }

    QString absorptionFile() const
    {
        auto* page = qobject_cast<OrvaneFrmPlotAbsorptionSpectrum*>(stack->widget(3));
        return page ? page->getInputFileName() : QStringLiteral("<not the absorption page>");
    }
    QString absorptionField() const
    {
        auto* field = stack->widget(3)->findChild<QLineEdit*>(QStringLiteral("edtFile"));
        return field ? field->text() : QStringLiteral("<no field>");
    }

    IsolatedTempFolder temp;
    OrvaneFrmHandleSpectroscopicCalculation container;
    QListWidget* list = nullptr;
    QStackedWidget* stack = nullptr;
    QLabel* title = nullptr;
};

} // namespace

TEST_F(ContainerFixture, StartsOnTheEmissionPageWithSevenRows)
{
    EXPECT_EQ(title->text(), QStringLiteral("Module 3: Spectroscopic Properties Calculations"));
    EXPECT_EQ(container.windowTitle(), QStringLiteral("Form"));
    EXPECT_FALSE(container.isVisible());

    const QStringList texts = {
        QStringLiteral(" Plot Emission   \n     Spectrum     "),
        QStringLiteral(" Intensity    \n     Parameter   "),
        QStringLiteral("Energy\n Transfer Rates\nand\nQuantum Yield"),
        QStringLiteral("Plot Absorption  \n   Spectrum    "),
        QStringLiteral("Free-Ion\nEnergy Levels"),
        QStringLiteral("Ion-to-Ion\nEnergy Transfer"),
        QStringLiteral("Non-Radiative\nRate"),
    };
    ASSERT_EQ(list->count(), texts.size());
    for (int row = 0; row < list->count(); ++row) {
        SCOPED_TRACE(row);
        const QListWidgetItem* item = list->item(row);
        EXPECT_EQ(item->text(), texts.at(row));
        EXPECT_EQ(item->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        EXPECT_EQ(item->textAlignment(), int(Qt::AlignHCenter));
        // The images are compiled into the program, so an icon without
        // pixels means the resource is missing.
        EXPECT_FALSE(item->icon().pixmap(40, 30).isNull());
    }
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(40, 30));
    EXPECT_EQ(list->movement(), QListView::Static);
    EXPECT_EQ(list->minimumWidth(), 113);
    EXPECT_EQ(list->maximumWidth(), 113);
    EXPECT_EQ(list->spacing(), 10);

    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(stack->currentIndex(), 0);
    const char* pageClasses[] = {"OrvaneFrmPlotEmissionSpectrum",    "OrvaneFrmSpectroscopicCalculation",
                                 "OrvaneFrmSpectroscopicCalculation", "OrvaneFrmPlotAbsorptionSpectrum",
                                 "OrvaneFrmEnergyLevels",            "OrvaneFrmIonIonTransfer",
                                 "OrvaneFrmNonRadiativeRateCalculation"};
    ASSERT_EQ(stack->count(), int(std::size(pageClasses)));
    for (int page = 0; page < stack->count(); ++page) {
        EXPECT_EQ(stack->widget(page)->parent(), stack) << page;
        EXPECT_STREQ(stack->widget(page)->metaObject()->className(), pageClasses[page]) << page;
    }

    // Rows 1 and 2: the calculation form in its intensity and transfer modes.
    const struct
    {
        int row;
        int mode;
        QString title;
    } forms[] = {
        {1, 0, QStringLiteral("Module 3.2: Theoretical Calculation of the Intensity Parameters")},
        {2, 2, QStringLiteral("Module 3.3: Energy Transfer Rates and Quantum Yield")},
    };
    for (const auto& f : forms) {
        auto* form = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(stack->widget(f.row));
        ASSERT_NE(form, nullptr) << f.row;
        EXPECT_EQ(form->mode, f.mode);
        EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), f.title);
    }
}

TEST_F(ContainerFixture, TheListRowChoosesThePageAndANullItemKeepsThePrevious)
{
    for (int row : {2, 1, 3, 0, 4, 6, 5, 3}) {
        list->setCurrentRow(row);
        EXPECT_EQ(stack->currentIndex(), row);
    }
    list->setCurrentItem(nullptr);
    EXPECT_EQ(stack->currentIndex(), 3);
    container.changePage(nullptr, list->item(1));
    EXPECT_EQ(stack->currentIndex(), 1);
    container.changePage(nullptr, nullptr);
    EXPECT_EQ(stack->currentIndex(), 1);
}

TEST_F(ContainerFixture, ARequestedPageShowsAndTheAbsorptionPageTakesTheFile)
{
    // Real excited-state outputs: the absorption page reads what it is handed.
    const QString orcaOutput = temp.filePath(QStringLiteral("complex.orcout"));
    const QString other = temp.filePath(QStringLiteral("other.orcout"));
    ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")), orcaOutput));
    ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_complex_rpa.orcout")), other));
    const struct
    {
        int index;
        QString file;
        int shownPage;
        QString absorptionFile;
    } steps[] = {
        {3, orcaOutput, 3, orcaOutput},
        // Another page still hands the file to the absorption page.
        {1, other, 1, other},
        // An empty name switches the page only.
        {2, QString(), 2, other},
        // An index outside the pages switches nothing.
        {7, orcaOutput, 2, orcaOutput},
        {-1, QString(), 2, orcaOutput},
        // The pages added after the absorption page are reached the same way.
        {6, QString(), 6, orcaOutput},
        {4, other, 4, other},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.index);
        container.setPageToBeDisplayed(step.index, step.file);
        EXPECT_EQ(list->currentRow(), step.shownPage);
        EXPECT_EQ(stack->currentIndex(), step.shownPage);
        EXPECT_EQ(absorptionFile(), step.absorptionFile);
        EXPECT_EQ(absorptionField(), step.absorptionFile);
    }
}

TEST_F(ContainerFixture, EveryPageLineIsRelayedOnceUnchanged)
{
    QSignalSpy relayed(&container, &OrvaneFrmHandleSpectroscopicCalculation::newObjCalculationMessage);
    QStringList sent;
    for (int page : {0, 1, 2, 3, 4, 5, 6, 1}) {
        auto* form = qobject_cast<AbstractObjCalculationWidget*>(stack->widget(page));
        ASSERT_NE(form, nullptr);
        const QString line = QStringLiteral("Thu Dec 10 12:00:00 2026 -> (Page %1) line\n/a b/c.out").arg(page);
        emit form->newObjCalculationMessage(line);
        sent << line;
    }
    // The structure reader of the intensity page speaks through its form.
    auto* intensity = qobject_cast<OrvaneFrmSpectroscopicCalculation*>(stack->widget(1));
    ASSERT_NE(intensity, nullptr);
    const QString readerLine = QStringLiteral("-> (Orvane Spectroscopic Calculation) reading");
    emit intensity->molecule.newObjCalculationMessage(readerLine);
    sent << readerLine;
    ASSERT_EQ(relayed.count(), sent.size());
    for (int i = 0; i < sent.size(); ++i)
        EXPECT_EQ(relayed.at(i).at(0).toString(), sent.at(i));
}
