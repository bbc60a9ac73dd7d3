#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefrmomegaparametrization.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmsetgandalpha.h"
#include "orvanefrmsetparametersqdc.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QListWidget>
#include <QSignalSpy>

#include <gtest/gtest.h>

using OrvaneFixtures::dataPath;
using OrvaneFixtures::writeFile;

namespace {

// Eu with six O and two N donors, Cartesian rows, then two H atoms.
const QByteArray euO6N2 = "AM1 SPARKLE CHARGE=3 1SCF\n"
                          "Eu with six O and two N donors\n"
                          "\n"
                          "Eu   0.000000 1   0.000000 1   0.000000 1\n"
                          "O    2.400000 1   0.000000 1   0.000000 1\n"
                          "O   -2.400000 1   0.000000 1   0.000000 1\n"
                          "O    0.000000 1   2.400000 1   0.000000 1\n"
                          "O    0.000000 1  -2.400000 1   0.000000 1\n"
                          "O    0.000000 1   0.000000 1   2.400000 1\n"
                          "O    0.000000 1   0.000000 1  -2.400000 1\n"
                          "N    1.700000 1   1.700000 1   1.000000 1\n"
                          "N   -1.700000 1  -1.700000 1  -1.000000 1\n"
                          "H    3.300000 1   0.500000 1   0.000000 1\n"
                          "H   -3.300000 1   0.500000 1   0.000000 1\n";

QStringList headers(const OrvaneFrmSetGandAlpha& panel)
{
    QStringList result;
    const QAbstractItemModel* model = panel.ui.tableView->model();
    for (int c = 0; c < model->columnCount(); ++c)
        result << model->headerData(c, Qt::Horizontal).toString();
    return result;
}

QStringList labels(const QString& prefix, int from, int to)
{
    QStringList result;
    for (int i = from; i <= to; ++i)
        result << prefix + QString::number(i);
    return result;
}

void type(OrvaneFrmSetGandAlpha& panel, int row, int column, const QString& text)
{
    QAbstractItemModel* model = panel.ui.tableView->model();
    ASSERT_TRUE(model->setData(model->index(row, column), text));
}

class ChargeFactorTable : public ::testing::Test
{
protected:
    void load(const QString& file, int type, int coordNumber)
    {
        panel.ui.sbxCoordNumber->setValue(coordNumber);
        panel.structureFile = file;
        panel.structureFileType = type;
        panel.updateTable();
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    OrvaneFrmSetGandAlpha panel;
};

} // namespace

TEST_F(ChargeFactorTable, StartsEmptyWithItsRowHeaders)
{
    const QAbstractItemModel* model = panel.ui.tableView->model();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->columnCount(), 0);
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("Charge Factors"));
    EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("Polarizabilities (x 10⁻²⁴ cm³)"));
    EXPECT_TRUE(panel.structureFile.isEmpty());
    // The engine's per-atom arrays hold at most 28 donors.
    EXPECT_EQ(panel.ui.sbxCoordNumber->maximum(), 28);
    // Without a structure the coordination number changes nothing.
    panel.ui.sbxCoordNumber->setValue(5);
    EXPECT_EQ(model->columnCount(), 0);
}

TEST_F(ChargeFactorTable, HeadsOneColumnPerDonorOfAHandWrittenMop)
{
    const QString mop = writeFile(temp.filePath(QStringLiteral("eu_o6n2.mop")), euO6N2);
    load(mop, 1, 8);
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 7) + labels(QStringLiteral("N "), 8, 9));
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(panel.ui.tableView->columnWidth(c), 50);

    for (int c = 0; c < 8; ++c) {
        type(panel, 0, c, QString::number(c + 1));
        type(panel, 1, c, QStringLiteral("0.%1").arg(c + 1));
    }
    // Fewer donors drop the last columns and keep what was typed in the rest.
    panel.ui.sbxCoordNumber->setValue(6);
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 7));
    EXPECT_EQ(panel.getChargeFactors(), (QVector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(panel.getPolarizabilities(), (QVector<double>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
    panel.ui.sbxCoordNumber->setValue(8);
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 7) + labels(QStringLiteral("N "), 8, 9));
    EXPECT_EQ(panel.getChargeFactors(), (QVector<double>{1, 2, 3, 4, 5, 6, 0, 0}));
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(ChargeFactorTable, ReadsCellsAsNumbersAndAnythingElseAsZero)
{
    load(writeFile(temp.filePath(QStringLiteral("eu_o6n2.mop")), euO6N2), 1, 5);
    const struct
    {
        const char* text;
        double value;
    } cells[] = {{"0.25", 0.25}, {"", 0.0}, {"abc", 0.0}, {" 1.5e-1 ", 0.15}, {"-2", -2.0}};
    for (int c = 0; c < 5; ++c)
        type(panel, 1, c, QLatin1String(cells[c].text));
    const QVector<double> alpha = panel.getPolarizabilities();
    ASSERT_EQ(alpha.size(), 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_DOUBLE_EQ(alpha[c], cells[c].value) << cells[c].text;
    EXPECT_EQ(panel.getChargeFactors(), QVector<double>(5, 0.0));
}

TEST_F(ChargeFactorTable, NeverAsksForAtomsTheStructureLacks)
{
    // Eleven atoms: at most ten columns, the H atoms included.
    load(writeFile(temp.filePath(QStringLiteral("eu_o6n2.mop")), euO6N2), 1, 28);
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 7) + labels(QStringLiteral("N "), 8, 9)
                                  + labels(QStringLiteral("H "), 10, 11));
}

TEST_F(ChargeFactorTable, AMopacOutputGivesItsOwnAtomOrder)
{
    // Eu(acetate)3(H2O)2: eight O, then the acetate carbons.
    load(dataPath(QStringLiteral("mopac/eu_acetate3_h2o2.out")), 0, 9);
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 9) + QStringList{QStringLiteral("C 10")});
}

TEST_F(ChargeFactorTable, AnUnreadableStructureIsReportedAndKeepsTheTable)
{
    load(writeFile(temp.filePath(QStringLiteral("eu_o6n2.mop")), euO6N2), 1, 3);
    type(panel, 0, 0, QStringLiteral("0.5"));
    dialogs.pressButton(QMessageBox::Ok);
    load(temp.filePath(QStringLiteral("missing.out")), 0, 3);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().first().kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(dialogs.requests().first().title, QStringLiteral("ORVANE Error"));
    EXPECT_FALSE(dialogs.requests().first().text.isEmpty());
    EXPECT_EQ(headers(panel), labels(QStringLiteral("O "), 2, 4));
    EXPECT_EQ(panel.getChargeFactors(), (QVector<double>{0.5, 0, 0}));
}

TEST_F(ChargeFactorTable, ClearingForgetsTheStructureAndTheColumns)
{
    load(writeFile(temp.filePath(QStringLiteral("eu_o6n2.mop")), euO6N2), 1, 4);
    panel.clearTable();
    const QAbstractItemModel* model = panel.ui.tableView->model();
    EXPECT_TRUE(panel.structureFile.isEmpty());
    EXPECT_EQ(panel.ui.sbxCoordNumber->value(), 1);
    EXPECT_EQ(model->columnCount(), 0);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("Charge Factors"));
    EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("Polarizabilities (x 10⁻²⁴ cm³)"));
    EXPECT_TRUE(panel.getChargeFactors().isEmpty());
    EXPECT_TRUE(panel.getPolarizabilities().isEmpty());
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST(FitPanel, HoldsTheFitInputsWithTheGroupingWidget)
{
    OrvaneFrmOmegaParametrization panel;
    EXPECT_TRUE(panel.ui.lblPointsNumber->isHidden());
    EXPECT_TRUE(panel.ui.sbxPointsNumber->isHidden());
    EXPECT_EQ(panel.ui.sbxPointsNumber->value(), 15000);
    EXPECT_EQ(panel.ui.sbxPointsNumber->minimum(), 2);
    EXPECT_EQ(panel.ui.sbxPointsNumber->maximum(), 50000);
    EXPECT_EQ(panel.ui.sbxCoordNumber->minimum(), 1);
    EXPECT_EQ(panel.ui.sbxCoordNumber->maximum(), 28);
    for (auto* box : {panel.ui.sbxOmega2, panel.ui.sbxOmega4}) {
        EXPECT_EQ(box->decimals(), 2);
        EXPECT_DOUBLE_EQ(box->maximum(), 99.99);
        EXPECT_DOUBLE_EQ(box->singleStep(), 0.1);
    }
    ASSERT_TRUE(panel.selectLigandAtoms);
    EXPECT_EQ(panel.ui.stackedSetLigandsOnMetal->currentWidget(), panel.selectLigandAtoms);

    panel.setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("N 3")});
    QListWidget* atoms = panel.selectLigandAtoms->ui.listWidgetLigandAtomList;
    EXPECT_EQ(atoms->count(), 2);
    panel.selectLigandAtoms->groupList(0)->addItem(atoms->takeItem(0));
    panel.selectLigandAtoms->groupList(0)->addItem(atoms->takeItem(0));
    ASSERT_TRUE(panel.selectLigandAtoms->collectGroupsAndAtoms());
    QMap<int, QStringList> expected;
    expected.insert(0, {QStringLiteral("O 2"), QStringLiteral("N 3")});
    EXPECT_EQ(panel.getGroupsAndAtoms(), expected);
}

TEST(FitPanel, ANewCoordinationNumberClearsTheGroupsBeforeItIsAnnounced)
{
    OrvaneFrmOmegaParametrization panel;
    OrvaneFrmSelectLigandAtoms* grouping = panel.selectLigandAtoms;
    grouping->setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("O 3")});
    grouping->ui.btnAddGroup->click();
    grouping->groupList(1)->addItem(QStringLiteral("N 4"));

    int announced = 0;
    QObject::connect(&panel, &OrvaneFrmOmegaParametrization::valueChanged, [&](int i) {
        announced = i;
        EXPECT_EQ(grouping->groupCount(), 1);
        EXPECT_EQ(grouping->groupList(0)->count(), 0);
        EXPECT_EQ(grouping->ui.listWidgetLigandAtomList->count(), 0);
    });
    panel.ui.sbxCoordNumber->setValue(7);
    EXPECT_EQ(announced, 7);
    panel.ui.sbxCoordNumber->setValue(40);
    EXPECT_EQ(announced, 28);
}

TEST(QdcPanel, AnnouncesItsCoordinationNumberAndHoldsFourDecimals)
{
    OrvaneFrmSetParametersQDC panel;
    QSignalSpy spy(&panel, &OrvaneFrmSetParametersQDC::valueChanged);
    panel.ui.sbxCoordNumber->setValue(9);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.first().first().toInt(), 9);
    EXPECT_EQ(panel.ui.sbxCoordNumber->maximum(), 28);
    for (auto* box : {panel.ui.sbxParameterQ, panel.ui.sbxParameterD, panel.ui.sbxParameterC}) {
        EXPECT_EQ(box->decimals(), 4);
        EXPECT_DOUBLE_EQ(box->minimum(), 0.0);
        EXPECT_DOUBLE_EQ(box->maximum(), 99.99);
        box->setValue(0.12345);
        EXPECT_DOUBLE_EQ(box->value(), 0.1235);
    }
}
