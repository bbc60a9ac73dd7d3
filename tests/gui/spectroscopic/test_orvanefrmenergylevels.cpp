// The free-ion energy-level form: levels computed from typed parameters and
// drawn, experimental levels loaded from a ".exp" file, and the fit of F2, F4,
// F6 and zeta on the worker thread. Physics numbers use the one-electron
// configurations 4f1 (Ce) and 4f13 (Yb), whose two levels 2F5/2 and 2F7/2 lie
// 3.5 zeta apart by the Lande interval rule (E_J = zeta/2 [J(J+1) - l(l+1) -
// s(s+1)]: -2 zeta and +1.5 zeta), the order reversed for the hole of 4f13.

#include "../support/guitestsupport.h"

#include "orvanefrmenergylevels.h"
#include "orvaneinputdata.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace OrvaneFixtures;

namespace {

// A temporary current folder, with the level tables copied in or not, where
// the test also writes its input files.
class LevelsFolder
{
public:
    explicit LevelsFolder(bool withTables = true)
    {
        if (withTables) {
            QDir().mkpath(dir.filePath(QStringLiteral("EnergyLevels4f")));
            const QDir source(QStringLiteral(ORVANE_LEVEL_TABLES_DIR));
            for (const QString& name : source.entryList(QDir::Files))
                QFile::copy(source.filePath(name), dir.filePath(QStringLiteral("EnergyLevels4f/") + name));
        }
        current = std::make_unique<ScopedCurrentDirectory>(dir.path());
    }
    QString write(const QString& name, const QByteArray& text) const
    {
        return writeFile(dir.filePath(name), text);
    }
    QString filePath(const QString& name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
    std::unique_ptr<ScopedCurrentDirectory> current;
};

class EnergyLevelsForm : public ::testing::Test
{
protected:
    template <typename T>
    T* child(const char* name)
    {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QCustomPlot* plot() { return child<QCustomPlot>("customPlot"); }
    void setSpin(const char* name, double value) { child<QDoubleSpinBox>(name)->setValue(value); }
    void setParameters(double F2, double F4, double F6, double zeta)
    {
        setSpin("sbxF2", F2);
        setSpin("sbxF4", F4);
        setSpin("sbxF6", F6);
        setSpin("sbxZeta", zeta);
    }
    void fitMode()
    {
        auto* radio = child<QRadioButton>("rdbParametrizeFkAndZeta");
        radio->click();
        ASSERT_TRUE(radio->isChecked());
    }
    void openExp(const QString& path)
    {
        script.chooseFile(path);
        click("btnOpenEnergyLevelsFile");
    }
    // Level energies drawn from x1, in drawing order. Each column of levels
    // is one curve: per level a segment from x1 to x1 + 1.6 at its energy,
    // then a NaN point that parts it from the next.
    QVector<double> drawnLevels(double x1)
    {
        QVector<double> energies;
        for (int i = 0; i < plot()->plottableCount(); ++i) {
            auto* curve = qobject_cast<QCPCurve*>(plot()->plottable(i));
            EXPECT_NE(curve, nullptr);
            if (!curve)
                continue;
            const auto data = curve->data();
            EXPECT_EQ(data->size() % 3, 0);
            for (int k = 0; k + 2 < data->size(); k += 3) {
                if (data->at(k)->key != x1)
                    continue;
                EXPECT_NEAR(data->at(k + 1)->key, x1 + 1.6, 1e-12);
                EXPECT_EQ(data->at(k + 1)->value, data->at(k)->value);
                EXPECT_TRUE(std::isnan(data->at(k + 2)->key) && std::isnan(data->at(k + 2)->value));
                energies << data->at(k)->value;
            }
        }
        return energies;
    }

    IsolatedTempFolder temp;
    DialogScript script;
    OrvaneFrmEnergyLevels form;
};

const QByteArray ceriumExp = "Ce\n2F5/2 0\n2F7/2 2240\n";

TEST(OrvaneFrmEnergyLevelsStatic, ElectronCountOfEveryLanthanideAndOthers)
{
    const struct { const char* symbol; int n; } cases[] = {
        {"La", 0}, {"Ce", 1}, {"Pr", 2}, {"Nd", 3}, {"Pm", 4}, {"Sm", 5}, {"Eu", 6}, {"Gd", 7},
        {"Tb", 8}, {"Dy", 9}, {"Ho", 10}, {"Er", 11}, {"Tm", 12}, {"Yb", 13}, {"Lu", 14},
        {"eu", -1}, {"Xx", -1}, {"", -1}, {"Eu ", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(OrvaneFrmEnergyLevels::electronCount(QString::fromLatin1(c.symbol)), c.n) << c.symbol;
}

TEST_F(EnergyLevelsForm, ParamsFileFillsZetaThenF2F4F6)
{
    LevelsFolder folder;
    const struct { QByteArray text; double zeta, F2, F4, F6; } cases[] = {
        {"1334\n371\n54.8\n5.75\n", 1334, 371, 54.8, 5.75},
        {"1334\r\n371\r\n", 1334, 371, 0, 0},
    };
    for (const auto& c : cases) {
        script.chooseFile(folder.write(QStringLiteral("eu.param"), c.text));
        click("btnParamsFile");
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxZeta")->value(), c.zeta);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF2")->value(), c.F2);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF4")->value(), c.F4);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF6")->value(), c.F6);
    }
    EXPECT_EQ(child<QLineEdit>("edtParamsFile")->text(), folder.filePath(QStringLiteral("eu.param")));
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(0).title, QStringLiteral("Open Params File"));
}

TEST_F(EnergyLevelsForm, ZeroParameterIsRefusedAndLeavesTheResults)
{
    LevelsFolder folder;
    child<QComboBox>("cbxIon")->setCurrentText(QStringLiteral("Ce"));
    setParameters(371, 54.8, 5.75, 640);
    click("btnCalculate");
    const QString text = child<QPlainTextEdit>("plainTextEdit")->toPlainText();
    const QVector<double> drawn = drawnLevels(1.2);
    ASSERT_EQ(drawn.size(), 2);

    setSpin("sbxF6", 0.0);
    script.pressButton(QMessageBox::Ok);
    click("btnCalculate");
    ASSERT_EQ(script.requests().size(), 1);
    EXPECT_EQ(script.requests().at(0).title, QStringLiteral("ORVANE Information Message"));
    EXPECT_EQ(script.requests().at(0).text,
              QStringLiteral("The Slater Integrals and/or Zeta parameters cannot be equal to zero"));
    EXPECT_EQ(child<QPlainTextEdit>("plainTextEdit")->toPlainText(), text);
    EXPECT_EQ(drawnLevels(1.2), drawn);
}

// 4f1 and 4f13 by the interval rule: 2F7/2 above 2F5/2 by 3.5 zeta for Ce,
// below it for Yb.
TEST_F(EnergyLevelsForm, CalculateReportsAndDrawsTheOneElectronLevels)
{
    LevelsFolder folder;
    const struct { const char* ion; const char* ground; const char* upper; } cases[] = {
        {"Ce", "2F2.5", "2F3.5"}, {"Yb", "2F3.5", "2F2.5"}};
    setParameters(371, 54.8, 5.75, 640);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ion);
        child<QComboBox>("cbxIon")->setCurrentText(QString::fromLatin1(c.ion));
        click("btnCalculate");
        const QString text = child<QPlainTextEdit>("plainTextEdit")->toPlainText();
        const QString report = text.mid(text.lastIndexOf(QStringLiteral("1  0\n")));
        EXPECT_TRUE(report.startsWith(QStringLiteral("1  0\n|") + QLatin1String(c.ground) + QStringLiteral("> = ")))
            << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("2  2240\n|") + QLatin1String(c.upper) + QStringLiteral("> = ")))
            << report.toStdString();

        // One black curve for the column, kept out of the (hidden) legend.
        ASSERT_EQ(plot()->plottableCount(), 1);
        auto* curve = qobject_cast<QCPCurve*>(plot()->plottable(0));
        ASSERT_NE(curve, nullptr);
        EXPECT_EQ(curve->name(), QStringLiteral("Calc"));
        EXPECT_EQ(curve->pen(), QPen(Qt::black, 1.0));
        EXPECT_EQ(plot()->legend->itemCount(), 0);
        const QVector<double> drawn = drawnLevels(1.2);
        ASSERT_EQ(drawn.size(), 2);
        EXPECT_DOUBLE_EQ(drawn[0], 0.0);
        EXPECT_NEAR(drawn[1], 2240.0, 1e-9);
        ASSERT_EQ(plot()->itemCount(), 2);
        EXPECT_EQ(qobject_cast<QCPItemText*>(plot()->item(0))->text(), QLatin1String(c.ground));
        auto* label = qobject_cast<QCPItemText*>(plot()->item(1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QLatin1String(c.upper));
        EXPECT_DOUBLE_EQ(label->position->coords().x(), 0.5);
        EXPECT_NEAR(label->position->coords().y(), 2240.0, 1e-9);
        EXPECT_FALSE(label->clipToAxisRect());
    }
    auto ticker = plot()->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    ASSERT_FALSE(ticker.isNull());
    EXPECT_EQ(ticker->ticks().value(2), QStringLiteral("Calc"));
    EXPECT_EQ(ticker->ticks().size(), 1);
    EXPECT_EQ(plot()->xAxis->range(), QCPRange(0, 4));
    EXPECT_EQ(plot()->yAxis->label(), QStringLiteral("Energy in cm^-1"));
}

TEST_F(EnergyLevelsForm, MissingTablesShowTheEngineReasonInsteadOfAnEmptyReport)
{
    LevelsFolder folder(false);
    setParameters(371, 54.8, 5.75, 1334);
    script.pressButton(QMessageBox::Ok);
    click("btnCalculate");
    ASSERT_EQ(script.requests().size(), 1);
    EXPECT_EQ(script.requests().at(0).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(script.requests().at(0).text.contains(QStringLiteral("f6.ele"))) << script.requests().at(0).text.toStdString();
    EXPECT_TRUE(child<QPlainTextEdit>("plainTextEdit")->toPlainText().isEmpty());
    EXPECT_EQ(plot()->plottableCount(), 0);
}

// A parentage table without terms used to give an empty report without a word.
TEST_F(EnergyLevelsForm, ATableWithoutTermsIsReported)
{
    LevelsFolder folder;
    folder.write(QStringLiteral("EnergyLevels4f/f1.cfp"), "\n");
    child<QComboBox>("cbxIon")->setCurrentText(QStringLiteral("Ce"));
    setParameters(371, 54.8, 5.75, 640);
    script.pressButton(QMessageBox::Ok);
    click("btnCalculate");
    ASSERT_EQ(script.requests().size(), 1);
    EXPECT_EQ(script.requests().at(0).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(script.requests().at(0).text.contains(QStringLiteral("f1.cfp  holds no term of 4f1")))
        << script.requests().at(0).text.toStdString();
    EXPECT_TRUE(child<QPlainTextEdit>("plainTextEdit")->toPlainText().isEmpty());
    EXPECT_EQ(plot()->plottableCount(), 0);
}

// Values the boxes cannot hold are clamped, and the user is told which, with
// the value read and the value used.
TEST_F(EnergyLevelsForm, ParamsFileValuesOutsideTheBoxesAreNamed)
{
    LevelsFolder folder;
    const QString file = folder.write(QStringLiteral("odd.param"), "-5\n250000\n54.8\n5.75\n");
    script.chooseFile(file);
    script.pressButton(QMessageBox::Ok);
    click("btnParamsFile");
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxZeta")->value(), 0.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF2")->value(), 100000.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF4")->value(), 54.8);
    ASSERT_EQ(script.requests().size(), 2);
    const QString text = script.requests().at(1).text;
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Warning"));
    EXPECT_TRUE(text.contains(file)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("zeta: the file gives -5; 0 is used"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("F2: the file gives 250000; 100000 is used"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("F4"))) << text.toStdString();
}

// A line that is no number reads as 0 (the decimal comma of a European
// spreadsheet, say); the user is told which line, never left with a silent 0.
TEST_F(EnergyLevelsForm, ParamsFileLinesThatAreNotNumbersAreNamed)
{
    LevelsFolder folder;
    const QString file = folder.write(QStringLiteral("comma.param"), "1334\r\n371,5\r\n54.8\r\n5.75\r\n");
    script.chooseFile(file);
    script.pressButton(QMessageBox::Ok);
    click("btnParamsFile");
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxZeta")->value(), 1334.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF2")->value(), 0.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxF6")->value(), 5.75);
    ASSERT_EQ(script.requests().size(), 2);
    const QString text = script.requests().at(1).text;
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Warning"));
    EXPECT_TRUE(text.contains(QStringLiteral("line 2: \"371,5\""))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("line 1"))) << text.toStdString();
}

TEST_F(EnergyLevelsForm, IonsWithoutFourFLevelsGetAMessage)
{
    LevelsFolder folder;
    auto* ions = child<QComboBox>("cbxIon");
    ASSERT_EQ(ions->count(), 15);
    EXPECT_EQ(ions->currentText(), QStringLiteral("Eu"));
    setParameters(371, 54.8, 5.75, 1334);
    for (const char* ion : {"La", "Lu"}) {
        ions->setCurrentText(QString::fromLatin1(ion));
        script.pressButton(QMessageBox::Ok);
        click("btnCalculate");
        EXPECT_TRUE(script.requests().constLast().text.contains(QStringLiteral("no 4f energy levels"))) << ion;
    }
    EXPECT_EQ(script.requests().size(), 2);
    EXPECT_TRUE(child<QPlainTextEdit>("plainTextEdit")->toPlainText().isEmpty());
}

TEST_F(EnergyLevelsForm, ReplotRanges)
{
    LevelsFolder folder;
    child<QComboBox>("cbxIon")->setCurrentText(QStringLiteral("Ce"));
    setParameters(371, 54.8, 5.75, 640);
    click("btnCalculate");
    const struct { double min, max, lower, upper; } cases[] = {
        {0, 0, 0, 2240}, {500, 300, 0, 300}, {100, 5000, 100, 5000}, {300, 300, 0, 300}};
    for (const auto& c : cases) {
        setSpin("sbxEnergyMin", c.min);
        setSpin("sbxEnergyMax", c.max);
        click("btnReplot");
        EXPECT_DOUBLE_EQ(plot()->yAxis->range().lower, c.lower) << c.min << " " << c.max;
        EXPECT_NEAR(plot()->yAxis->range().upper, c.upper, 1e-9) << c.min << " " << c.max;
    }
}

TEST_F(EnergyLevelsForm, ReplotWithoutLevelsKeepsTheRange)
{
    const QCPRange before = plot()->yAxis->range();
    setSpin("sbxEnergyMax", 300);
    click("btnReplot");
    EXPECT_EQ(plot()->yAxis->range(), before);
}

TEST_F(EnergyLevelsForm, ExpFileInFitModeFillsTableDiagramAndStartPoint)
{
    LevelsFolder folder;
    fitMode();
    EXPECT_FALSE(child<QWidget>("gbxEnergyLevelsCalculation")->isVisibleTo(&form));
    EXPECT_TRUE(child<QWidget>("gbxParametrization")->isVisibleTo(&form));
    const struct { const char* title; double F2, F4, F6, zeta; } cases[] = {
        {"Eu", 371.0, 54.8, 5.75, 1334.0}, {"Er", 436.0, 66.1, 6.92, 2379.0}, {"Ce", 436.0, 66.1, 6.92, 2379.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const QByteArray text = QByteArray(c.title) + "\n7F0 0\n7F1 370.5\n5D(1)0 17250\n";
        openExp(folder.write(QStringLiteral("levels.exp"), text));
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxStartF2")->value(), c.F2);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxStartF4")->value(), c.F4);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxStartF6")->value(), c.F6);
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("sbxStartZeta")->value(), c.zeta);
        EXPECT_EQ(child<QPlainTextEdit>("plainTextEdit")->toPlainText(), QString::fromLatin1(text));

        auto* model = qobject_cast<QStandardItemModel*>(child<QTableView>("tableViewEnergyLevelsExp")->model());
        ASSERT_EQ(model->columnCount(), 3);
        EXPECT_EQ(model->item(0, 2)->text(), QStringLiteral("5D(1)0"));
        EXPECT_EQ(model->item(1, 1)->text(), QStringLiteral("370.5"));
        EXPECT_EQ(drawnLevels(1.2), (QVector<double> {0.0, 370.5, 17250.0}));
        EXPECT_EQ(plot()->yAxis->range(), QCPRange(0, 17260));
        auto ticker = plot()->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
        ASSERT_FALSE(ticker.isNull());
        EXPECT_EQ(ticker->ticks().value(2), QStringLiteral("Exp"));
        EXPECT_EQ(ticker->ticks().value(6), QStringLiteral("Calc"));
    }
}

// f7 has terms with two-digit indexes: 2F(10)5/2 is shown as 2F(10)2.5, not 2F(1)2.5.
TEST_F(EnergyLevelsForm, ExpLevelsWithTwoDigitIndexesKeepThem)
{
    LevelsFolder folder;
    fitMode();
    openExp(folder.write(QStringLiteral("gd.exp"), "Gd\n8S7/2 0\n2F(10)5/2 40000\n2G(10)9/2 41000\n"));
    auto* model = qobject_cast<QStandardItemModel*>(child<QTableView>("tableViewEnergyLevelsExp")->model());
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->item(0, 1)->text(), QStringLiteral("2F(10)2.5"));
    EXPECT_EQ(model->item(0, 2)->text(), QStringLiteral("2G(10)4.5"));
    ASSERT_EQ(plot()->itemCount(), 3);
    EXPECT_EQ(qobject_cast<QCPItemText*>(plot()->item(1))->text(), QStringLiteral("2F(10)2.5"));
}

TEST_F(EnergyLevelsForm, UnreadableExpFileIsReported)
{
    LevelsFolder folder;
    fitMode();
    script.chooseFile(folder.filePath(QStringLiteral("missing.exp")));
    script.pressButton(QMessageBox::Ok);
    click("btnOpenEnergyLevelsFile");
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Error Message"));
    EXPECT_EQ(script.requests().at(1).text, QStringLiteral(" Problem to read the energy levels file"));
}

TEST_F(EnergyLevelsForm, TableColumnsNeverGoBelowZero)
{
    auto* model = child<QTableView>("tableViewEnergyLevelsExp")->model();
    click("btnRemoveItem");
    EXPECT_EQ(model->columnCount(), 0);
    click("btnAddItem");
    click("btnAddItem");
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_EQ(child<QTableView>("tableViewEnergyLevelsExp")->columnWidth(1), 50);
    click("btnRemoveItem");
    click("btnRemoveItem");
    click("btnRemoveItem");
    EXPECT_EQ(model->columnCount(), 0);
    click("btnAddItem");
    EXPECT_EQ(model->columnCount(), 1);
}

TEST_F(EnergyLevelsForm, RunWithoutFileDoesNothingAndWithoutLevelsExplains)
{
    LevelsFolder folder;
    fitMode();
    click("btnRunParametrization");
    EXPECT_TRUE(script.requests().isEmpty());

    openExp(folder.write(QStringLiteral("empty.exp"), "Eu\n"));
    script.pressButton(QMessageBox::Ok);
    click("btnRunParametrization");
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Message Information"));
    EXPECT_FALSE(form.isFitRunning());
}

TEST_F(EnergyLevelsForm, FitRefusesUnknownIonAndMissingTables)
{
    fitMode();
    {
        LevelsFolder folder;
        openExp(folder.write(QStringLiteral("x.exp"), "Xx\n2F5/2 0\n2F7/2 2240\n"));
        script.pressButton(QMessageBox::Ok);
        click("btnRunParametrization");
        EXPECT_TRUE(script.requests().constLast().text.contains(QStringLiteral("not a lanthanide")));
    }
    {
        LevelsFolder folder(false);
        openExp(folder.write(QStringLiteral("eu.exp"), "Eu\n7F0 0\n7F1 370\n"));
        script.pressButton(QMessageBox::Ok);
        click("btnRunParametrization");
        EXPECT_EQ(script.requests().constLast().title, QStringLiteral("ORVANE Error"));
        EXPECT_TRUE(script.requests().constLast().text.contains(QStringLiteral("f6.ele")));
    }
    EXPECT_FALSE(form.isFitRunning());
}

class EnergyLevelsFit : public EnergyLevelsForm
{
protected:
    void startCeriumFit(int steps, double F2 = 300, double F4 = 50, double F6 = 5, double zeta = 500)
    {
        fitMode();
        expFile = folder.write(QStringLiteral("ce.exp"), ceriumExp);
        openExp(expFile);
        setFitStart(steps, F2, F4, F6, zeta);
        click("btnRunParametrization");
    }
    void setFitStart(int steps, double F2, double F4, double F6, double zeta)
    {
        child<QSpinBox>("sbxNStopMax")->setValue(steps);
        setSpin("sbxStartF2", F2);
        setSpin("sbxStartF4", F4);
        setSpin("sbxStartF6", F6);
        setSpin("sbxStartZeta", zeta);
    }
    QProgressDialog* progress() { return form.findChild<QProgressDialog*>(); }
    bool waitForEnd() { return waitUntil([this] { return !form.isFitRunning(); }, 120000); }

    LevelsFolder folder;
    QString expFile;
    QSignalSpy status {&form, &AbstractObjCalculationWidget::newObjCalculationMessage};
};

TEST_F(EnergyLevelsFit, FinishedFitShowsLogLevelsAndProgressOverFifteenRuns)
{
    // Every value the dialog takes, and whether it was still shown then.
    QVector<QPair<int, bool>> shown;
    auto* bar = progress()->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    QObject::connect(bar, &QProgressBar::valueChanged, &form,
                     [&](int value) { shown << qMakePair(value, progress()->isVisible()); });
    startCeriumFit(3000);
    script.pressButton(QMessageBox::Ok);
    ASSERT_TRUE(form.isFitRunning());
    ASSERT_EQ(progress()->maximum(), 15);
    ASSERT_TRUE(waitForEnd());
    // Shown at the start and through run 14; the last run closes it.
    QVector<int> values;
    for (const auto& v : shown) {
        if (v.first >= 1 && v.first < 15) {
            EXPECT_TRUE(v.second) << "hidden at " << v.first;
            values << v.first;
        }
    }
    EXPECT_EQ(values.constLast(), 14);
    EXPECT_TRUE(std::any_of(shown.cbegin(), shown.cend(), [](const QPair<int, bool>& v) { return v.first == 15; }));
    EXPECT_FALSE(progress()->isVisible());

    // The end says how close the fit came to 2F7/2; a warning only when it
    // missed or ended at a bound.
    ASSERT_EQ(script.requests().size(), 2);
    const QString end = script.requests().at(1).text;
    const QString closeness = QStringLiteral("2F3.5: target 2240 cm-1, reached ");
    EXPECT_TRUE(end.startsWith(QStringLiteral("The  parameterization of the energy levels has finished.\n\n") + closeness))
        << end.toStdString();
    EXPECT_EQ(script.requests().at(1).title,
              end.contains(QLatin1String("bound of the fit")) || end.contains(QLatin1String("Targets missed"))
                  ? QStringLiteral("ORVANE Warning")
                  : QStringLiteral("ORVANE Information"));
    ASSERT_GE(status.size(), 3);
    EXPECT_EQ(status.first().at(0).toString(), QStringLiteral("-> Parametrization process started successfully."));
    EXPECT_EQ(status.at(status.size() - 2).at(0).toString(), QStringLiteral("-> Parametrization process finished successfully."));
    EXPECT_TRUE(status.last().at(0).toString().startsWith(QStringLiteral("-> ") + closeness));

    const QString log = folder.filePath(QStringLiteral("ce.output"));
    ASSERT_TRUE(QFile::exists(log));
    // The log, then how close the fit came.
    EXPECT_TRUE(child<QPlainTextEdit>("plainTextEdit")->toPlainText().toUtf8().startsWith(contents(log)));
    EXPECT_TRUE(contents(log).startsWith("Point Number = "));
    // Experimental levels at x 1.2, the fitted ones beside them at 5.2: the
    // ground level at 0 and 2F7/2 near 3.5 zeta = 2240.
    EXPECT_EQ(drawnLevels(1.2), (QVector<double> {0.0, 2240.0}));
    const QVector<double> fitted = drawnLevels(5.2);
    ASSERT_EQ(fitted.size(), 2);
    EXPECT_DOUBLE_EQ(fitted[0], 0.0);
    EXPECT_NEAR(fitted[1], 2240.0, 2240.0 * 0.05);
}

// Eu3+ levels exact for F2, F4, F6, zeta = 371, 54.8, 5.75, 1334 (the free-ion
// calculation alone), fitted from 350, 50, 5, 1300: 5D0 ends over 1000 cm-1
// off although every relative deviation stays under 10 %. The end box (a
// warning) and the status line name the miss in cm-1 with the threshold, the
// RMS, the largest deviation and the fitted parameters.
TEST_F(EnergyLevelsFit, AFitThatMissesALevelNamesItInCmInTheBoxAndTheStatusLine)
{
    const auto levelsAt = [](double F2, double F4, double F6, double zeta) {
        OrvaneEnergyLevels levels(nullptr, 6);
        levels.setSlaterIntegral(0.0, F2, F4, F6);
        levels.setZetaParameters(zeta);
        levels.calcEnergyLevels(-1);
        QHash<QString, double> energies;
        for (const MixedState& level : levels.getMixedStatesVector()) {
            if (!energies.contains(level.label))
                energies.insert(level.label, level.energy);
        }
        return energies;
    };
    const QHash<QString, double> exact = levelsAt(371.0, 54.8, 5.75, 1334.0);
    const QStringList labels {"7F0", "7F1", "7F2", "7F3", "7F4", "7F5", "7F6", "5D(3)0", "5D(3)1"};
    QByteArray text = "Eu\n";
    for (const QString& label : labels)
        text += label.toLatin1() + ' ' + QByteArray::number(exact.value(label), 'g', 17) + '\n';

    fitMode();
    openExp(folder.write(QStringLiteral("eu.exp"), text));
    setFitStart(30, 350, 50, 5, 1300);
    script.pressButton(QMessageBox::Ok);
    click("btnRunParametrization");
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Warning"));
    const QString box = script.requests().at(1).text;

    // The levels at the parameters the box gives, against the exact ones.
    const QRegularExpressionMatch fitted =
        QRegularExpression(QStringLiteral(R"(\nFitted parameters: F2 = (\S+) cm-1, F4 = (\S+) cm-1, F6 = (\S+) cm-1, )"
                                          R"(zeta = (\S+) cm-1\.\n)"))
            .match(box);
    ASSERT_TRUE(fitted.hasMatch()) << box.toStdString();
    const QHash<QString, double> reached = levelsAt(fitted.captured(1).toDouble(), fitted.captured(2).toDouble(),
                                                    fitted.captured(3).toDouble(), fitted.captured(4).toDouble());
    for (const QString& label : labels.mid(1))
        ASSERT_LT(std::abs(reached.value(label) - exact.value(label)) / exact.value(label), 0.1) << label.toStdString();
    const double fiveD0 = reached.value(QStringLiteral("5D(3)0")) - exact.value(QStringLiteral("5D(3)0"));
    ASSERT_LT(fiveD0, -1000.0);

    const QRegularExpressionMatch miss =
        QRegularExpression(QStringLiteral(R"(\nTargets missed by more than 100 cm-1: [^\n]*)"
                                          R"(5D\(3\)0 \(deviation (\S+) cm-1\))"))
            .match(box);
    ASSERT_TRUE(miss.hasMatch()) << box.toStdString();
    // Six digits of each parameter move 5D0 by well under 1 cm-1.
    EXPECT_NEAR(miss.captured(1).toDouble(), fiveD0, 1.0);
    const QRegularExpressionMatch largest =
        QRegularExpression(QStringLiteral(R"(\nRMS deviation (\S+) cm-1 over 8 targets; )"
                                          R"(largest deviation (\S+) cm-1 at 5D\(3\)0\.\n)"))
            .match(box);
    ASSERT_TRUE(largest.hasMatch()) << box.toStdString();
    EXPECT_EQ(largest.captured(2), miss.captured(1));

    // The status line says the same in one line.
    const QString line = status.last().at(0).toString();
    EXPECT_FALSE(line.contains(QLatin1Char('\n')));
    for (const QString& sentence :
         {fitted.captured(0).trimmed(), miss.captured(0).trimmed(), largest.captured(0).trimmed()})
        EXPECT_TRUE(line.contains(sentence)) << sentence.toStdString() << "\n" << line.toStdString();
}

// 2F has J = 5/2 and 7/2 only: a level 2F9/2 is named before the fit runs.
TEST_F(EnergyLevelsFit, ExperimentalLevelsWithoutAMatchAreNamed)
{
    fitMode();
    openExp(folder.write(QStringLiteral("ce.exp"), QByteArray(ceriumExp) + "2F9/2 3000\n5D0 4000\n"));
    child<QSpinBox>("sbxNStopMax")->setValue(5);
    setSpin("sbxStartF2", 300);
    setSpin("sbxStartF4", 50);
    setSpin("sbxStartF6", 5);
    setSpin("sbxStartZeta", 500);
    script.pressButton(QMessageBox::Ok);
    script.pressButton(QMessageBox::Ok);
    click("btnRunParametrization");
    ASSERT_GE(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Warning"));
    EXPECT_TRUE(script.requests().at(1).text.endsWith(QStringLiteral("name no level of 4f1 and take no part in the "
                                                                   "fit:\n2F4.5, 5D0")))
        << script.requests().at(1).text.toStdString();
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(script.requests().size(), 3);
    // Five steps may or may not reach the levels: the end box says which.
    const QString endTitle = script.requests().at(2).title;
    EXPECT_TRUE(endTitle == QStringLiteral("ORVANE Information") || endTitle == QStringLiteral("ORVANE Warning"))
        << endTitle.toStdString();
}

TEST_F(EnergyLevelsFit, CancelledFitIsWordedAsCancelledAndSecondRunRefused)
{
    const QByteArray earlierLog = "Point Number = 1\tF2 = 999\tF4 = 99\tF6 = 9\tzeta = 4999\t Response Function = 77\n";
    const QString log = folder.write(QStringLiteral("ce.output"), earlierLog);
    startCeriumFit(100000000);
    ASSERT_TRUE(form.isFitRunning());
    script.pressButton(QMessageBox::Ok);
    click("btnRunParametrization");
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_TRUE(script.requests().at(1).text.contains(QStringLiteral("still running")));
    EXPECT_TRUE(form.isFitRunning());

    script.pressButton(QMessageBox::Ok);
    auto* cancel = progress()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(script.requests().size(), 3);
    EXPECT_EQ(script.requests().at(2).title, QStringLiteral("ORVANE Information"));
    EXPECT_TRUE(script.requests().at(2).text.contains(QStringLiteral("cancelled")));
    EXPECT_EQ(status.last().at(0).toString(), QStringLiteral("-> Parametrization process cancelled."));
    // The log of the improvements so far is shown; no fitted levels are drawn.
    const QString shown = child<QPlainTextEdit>("plainTextEdit")->toPlainText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Point Number = ")));
    EXPECT_FALSE(shown.contains(QStringLiteral("F2 = 999")));
    EXPECT_TRUE(drawnLevels(5.2).isEmpty());
    // Only a fit that finishes writes its log: the earlier one stays whole, and the text says so.
    EXPECT_EQ(contents(log), earlierLog);
    EXPECT_TRUE(shown.contains(QStringLiteral("This log was not saved"))) << shown.toStdString();
}

TEST_F(EnergyLevelsFit, StartOutsideTheBoundsFailsWithTheProblemReason)
{
    startCeriumFit(100, 0, 0, 0, 0);
    script.pressButton(QMessageBox::Ok);
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(script.requests().size(), 2);
    EXPECT_EQ(script.requests().at(1).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(script.requests().at(1).text.startsWith(QStringLiteral("The parameterization of the energy levels failed:\n")));
    EXPECT_GT(script.requests().at(1).text.size(), 52);
    EXPECT_TRUE(status.last().at(0).toString().startsWith(QStringLiteral("-> Parametrization process failed: ")));
    EXPECT_TRUE(drawnLevels(5.2).isEmpty());
}

TEST(OrvaneFrmEnergyLevelsLifetime, FormDestroyedDuringAFitWaitsForIt)
{
    IsolatedTempFolder temp;
    DialogScript script;
    LevelsFolder folder;
    auto form = std::make_unique<OrvaneFrmEnergyLevels>();
    form->findChild<QRadioButton*>(QStringLiteral("rdbParametrizeFkAndZeta"))->click();
    script.chooseFile(folder.write(QStringLiteral("ce.exp"), ceriumExp));
    form->findChild<QPushButton*>(QStringLiteral("btnOpenEnergyLevelsFile"))->click();
    form->findChild<QSpinBox*>(QStringLiteral("sbxNStopMax"))->setValue(100000000);
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxStartF2"))->setValue(300);
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxStartF4"))->setValue(50);
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxStartF6"))->setValue(5);
    form->findChild<QDoubleSpinBox*>(QStringLiteral("sbxStartZeta"))->setValue(500);
    form->findChild<QPushButton*>(QStringLiteral("btnRunParametrization"))->click();
    ASSERT_TRUE(form->isFitRunning());
    QTest::qWait(20);
    form.reset();
    EXPECT_EQ(script.requests().size(), 1);
}

} // namespace
