// The typed charge-factor panel of the intensity page starts with one column
// per donor that the gap rule found in the loaded structure, and shows both
// of its rows whole.

#include "../support/guitestsupport.h"

#include "orvanefrmsetgandalpha.h"
#include "orvanefrmspectroscopiccalculation.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

struct StartCase
{
    const char* fixture;
    bool mopInput;   // the .mop input kind instead of the .out one
    int donors;      // the oxygens bound to Eu, as the fixture was built
    const char* lastHeader;
};

// [Eu(H2O)8]3+ and [Eu(H2O)4]3+: Eu first, then the water oxygens.
const StartCase startCases[] = {
    {"mopac/eu_h2o8_allvec.out", false, 8, "O 9"},
    {"mopac/eu_h2o8_allvec.mop", true, 8, "O 9"},
    {"mopac/eu_h2o4_force.out", false, 4, "O 5"},
};

class ChargeFactorPanelStart : public ::testing::TestWithParam<StartCase>
{
};

std::string caseName(const ::testing::TestParamInfo<StartCase>& info)
{
    QString name = QFileInfo(QString::fromLatin1(info.param.fixture)).fileName();
    return name.replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
}

} // namespace

TEST_P(ChargeFactorPanelStart, StartsAtTheDetectedCoordinationNumber)
{
    const StartCase& c = GetParam();
    IsolatedTempFolder temp;
    DialogScript dialogs;
    OrvaneFrmSpectroscopicCalculation form(nullptr, 0);
    form.resize(1280, 900);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    if (c.mopInput)
        form.findChild<QRadioButton*>(QStringLiteral("rdbMopFile"))->setChecked(true);
    form.findChild<QGroupBox*>(QStringLiteral("gbxConventionalParametrization"))->setChecked(true);
    form.findChild<QRadioButton*>(QStringLiteral("rdbGandAlpha"))->setChecked(true);

    const QString input = temp.filePath(QFileInfo(QString::fromLatin1(c.fixture)).fileName());
    ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QString::fromLatin1(c.fixture)), input));
    form.findChild<QLineEdit*>(QStringLiteral("edtMopacOut"))->setText(input);
    ASSERT_TRUE(dialogs.requests().isEmpty()) << dialogs.requests().first().text.toStdString();
    ASSERT_EQ(form.coordNumber, c.donors);

    OrvaneFrmSetGandAlpha& panel = *form.frmSetGandAlpha;
    EXPECT_EQ(panel.ui.sbxCoordNumber->value(), c.donors);
    const auto* model = qobject_cast<const QStandardItemModel*>(panel.ui.tableView->model());
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->columnCount(), c.donors);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("O 2"));
    EXPECT_EQ(model->headerData(c.donors - 1, Qt::Horizontal).toString(), QString::fromLatin1(c.lastHeader));
    EXPECT_EQ(panel.getChargeFactors().size(), c.donors);

    // Both rows whole in the table's viewport, with the page at this size.
    QTest::qWait(50);
    ASSERT_TRUE(panel.isVisible());
    const QTableView* table = panel.ui.tableView;
    EXPECT_GE(table->viewport()->height(), table->verticalHeader()->length())
        << "viewport " << table->viewport()->height() << " px for rows of " << table->verticalHeader()->length();
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Structures, ChargeFactorPanelStart, ::testing::ValuesIn(startCases), caseName);

TEST(ChargeFactorPanelStart, ClearingTheProjectGoesBackToOneWithNoColumns)
{
    IsolatedTempFolder temp;
    DialogScript dialogs;
    OrvaneFrmSpectroscopicCalculation form(nullptr, 0);
    const QString input = temp.filePath(QStringLiteral("complex.out"));
    ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out")), input));
    form.findChild<QLineEdit*>(QStringLiteral("edtMopacOut"))->setText(input);
    ASSERT_EQ(form.frmSetGandAlpha->ui.sbxCoordNumber->value(), 8);

    dialogs.pressButton(QMessageBox::Yes);
    QTest::mouseClick(form.findChild<QAbstractButton*>(QStringLiteral("btnClearProject")), Qt::LeftButton);
    EXPECT_EQ(form.frmSetGandAlpha->ui.sbxCoordNumber->value(), 1);
    EXPECT_TRUE(form.frmSetGandAlpha->getChargeFactors().isEmpty());
}
