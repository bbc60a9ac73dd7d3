// The non-radiative-rate form: Arad computed from a MOPAC output and its
// force constants (tests/data/omega) or typed, and Anrad from it. The expected
// rates are evaluated here from the radiative-rate formula and the empirical
// Anrad law, with CODATA constants; the intensity parameters they start from
// come from the engine's intensity calculation, which its own tests check
// against the fixture files.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefrmnonradiativeratecalculation.h"
#include "orvanefrmsearching.h"
#include "orvaneomega.h"
#include "orvanespectroscopiccalculation.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cmath>

using namespace OrvaneFixtures;

namespace {

const QString geometry = dataPath(QStringLiteral("omega/eu_o5n3.out"));
const QString forceOutput = dataPath(QStringLiteral("omega/eu_o5n3_force.out"));

// Anrad of the empirical law, written from its published form (with its
// printed literal for 1/c, which is not quite 1/c).
double anradLaw(double arad)
{
    const double c = 2.99792458e10;
    const double x = c * c * c * std::pow(3.3358947250164996e-11, 4) / 1e-18 * 0.75 * arad;
    return 5154.349 * std::exp(-0.0016612880289 * (std::cbrt(x) + 122.6328568073266));
}

// Arad of 5D0 -> 7F1 (magnetic dipole), 7F2, 7F4, 7F6 at n = 1.5 from Omega
// in cm^2.
double radiativeRate(double omega2, double omega4, double omega6)
{
    const double pi = 3.141592653589793;
    const double h = 6.62607015e-27;
    const double e = 4.80320471257e-10;
    const double n = 1.5;
    const double chi = n * std::pow(n * n + 2.0, 2) / 9.0;
    auto a = [&](double nu) { return 64.0 * std::pow(pi, 4) * std::pow(nu, 3) / (3.0 * h); };
    return a(16921.0) * n * n * n * 9.6e-42 + a(16267.0) * chi * e * e * omega2 * 0.0032
        + a(14470.0) * chi * e * e * omega4 * 0.0023 + a(12386.0) * chi * e * e * omega6 * 0.0002;
}

class NonRadiativeForm : public ::testing::Test
{
protected:
    template <typename T>
    T* child(const char* name) const
    {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QTabWidget* tabs() const { return child<QTabWidget>("tabWidget"); }
    QString tabText(int i) const { return qobject_cast<QPlainTextEdit*>(tabs()->widget(i))->toPlainText(); }

    // Chooses both files through the dialogs.
    void chooseFiles(DialogScript& dialogs, const QString& output, const QString& force)
    {
        dialogs.chooseFile(output);
        button("btnChooseMopacOut")->click();
        dialogs.chooseFile(force);
        button("btnChooseMopacForce")->click();
    }

    // The two numbers of the "Result" box: Anrad, then Arad.
    static QPair<double, double> result(const OrvaneDialogs::Request& box)
    {
        const QStringList lines = box.text.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), 2) << box.text.toStdString();
        return {lines.value(0).toDouble(), lines.value(1).toDouble()};
    }

    IsolatedTempFolder temp;
    OrvaneFrmNonRadiativeRateCalculation form;
};

} // namespace

TEST_F(NonRadiativeForm, ComputedModeFromTheMopacOutputAndItsForceConstants)
{
    // Intensity parameters of the fixtures with the eight donors of the
    // first shell, as the engine's calculation determines them.
    OrvaneOmega omega(nullptr, 0, geometry, forceOutput);
    double g[30] = {}, alpha[30] = {};
    double* gp = g;
    double* ap = alpha;
    omega.setCoordNumber(8);
    omega.setChargeFactorAndAlpha(gp, ap);
    ASSERT_TRUE(omega.calcOmega());
    const double arad = radiativeRate(omega.getOmega(2), omega.getOmega(4), omega.getOmega(6));
    ASSERT_GT(arad, 0.0);

    EXPECT_TRUE(child<QRadioButton>("rdbCalcArad")->isChecked());
    EXPECT_FALSE(button("btnCalculate")->isEnabled());
    EXPECT_FALSE(button("btnChooseMopacForce")->isEnabled());
    // No empty frame before there is a file to show.
    EXPECT_TRUE(tabs()->isHidden());

    DialogScript dialogs;
    dialogs.chooseFile(geometry);
    button("btnChooseMopacOut")->click();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Choose Mopac Output File"));
    EXPECT_EQ(dialogs.requests().at(0).directory, QDir::homePath());
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("Mopac Output File (*.out)"));
    EXPECT_EQ(child<QLineEdit>("edtMopacOut")->text(), geometry);
    EXPECT_TRUE(button("btnChooseMopacForce")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("edtMopacForce")->isEnabled());
    // Still no force constants: nothing to calculate from.
    EXPECT_FALSE(button("btnCalculate")->isEnabled());
    ASSERT_EQ(tabs()->count(), 1);
    EXPECT_FALSE(tabs()->isHidden());
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("Mopac Output File"));
    EXPECT_EQ(tabText(0).toUtf8(), contents(geometry));

    dialogs.chooseFile(forceOutput);
    button("btnChooseMopacForce")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("Choose .out file"));
    EXPECT_EQ(dialogs.requests().at(1).filter, QStringLiteral("Mopac Output File (*.out)"));
    EXPECT_TRUE(button("btnCalculate")->isEnabled());
    ASSERT_EQ(tabs()->count(), 2);
    EXPECT_EQ(tabs()->tabText(1), QStringLiteral("Mopac Force File"));
    EXPECT_EQ(tabs()->currentIndex(), 1);
    EXPECT_EQ(tabText(1).toUtf8(), contents(forceOutput));

    dialogs.pressButton(QMessageBox::Ok);
    button("btnCalculate")->click();
    ASSERT_EQ(dialogs.requests().size(), 3);
    const OrvaneDialogs::Request& box = dialogs.requests().at(2);
    EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Information);
    EXPECT_EQ(box.title, QStringLiteral("Result"));
    const auto shown = result(box);
    EXPECT_NEAR(shown.second / arad, 1.0, 1e-5) << shown.second << " vs " << arad;
    EXPECT_NEAR(shown.first / anradLaw(arad), 1.0, 1e-5) << shown.first << " vs " << anradLaw(arad);
    EXPECT_EQ(box.text, QString::number(shown.first, 'g', 6) + QLatin1Char('\n') + QString::number(shown.second, 'g', 6));
}

TEST_F(NonRadiativeForm, TypedArad)
{
    DialogScript dialogs;
    child<QRadioButton>("rdbSetArad")->click();
    EXPECT_TRUE(button("btnCalculate")->isEnabled());
    struct Case
    {
        double arad;
        QString text;
    };
    // Values from tests/engine/spectroscopy/spectroscopic_reference.py (the law
    // at Arad 1000 and at the Arad of Omega = 10, 5, 0.5); Arad 0 leaves the
    // engine's own Arad, 0, in place.
    const Case cases[] = {
        {1000.0, QStringLiteral("32.61\n1000")},
        {425.564, QString::number(anradLaw(425.564), 'g', 6) + QStringLiteral("\n425.564")},
        {0.0, QString::number(anradLaw(0.0), 'g', 6) + QStringLiteral("\n0")},
    };
    EXPECT_NEAR(anradLaw(425.56418812901745), 108.72679570933205, 1e-9);
    for (const Case& c : cases) {
        child<QDoubleSpinBox>("dsbArad")->setValue(c.arad);
        dialogs.pressButton(QMessageBox::Ok);
        const int before = dialogs.requests().size();
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.requests().size(), before + 1);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("Result"));
        EXPECT_EQ(dialogs.requests().last().text, c.text);
    }
}

TEST_F(NonRadiativeForm, UnreadableFilesShowTheEngineReasonInsteadOfAResult)
{
    const QString missing = temp.filePath(QStringLiteral("missing.out"));
    struct Case
    {
        const char* what;
        QString output, force;
    };
    const Case cases[] = {
        {"missing output", missing, forceOutput},
        {"missing force file", geometry, missing},
        {"no force matrix in the force file", geometry, geometry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrvaneFrmNonRadiativeRateCalculation fresh;
        OrvaneSpectroscopicCalculation engine(nullptr, 0, 0, c.output, c.force, QString(), 0, 0);
        if (engine.getLastError().isEmpty())
            engine.calcArad();
        const QString reason = engine.getLastError();
        ASSERT_FALSE(reason.isEmpty());

        DialogScript dialogs;
        dialogs.chooseFile(c.output);
        fresh.findChild<QPushButton*>(QStringLiteral("btnChooseMopacOut"))->click();
        dialogs.chooseFile(c.force);
        fresh.findChild<QPushButton*>(QStringLiteral("btnChooseMopacForce"))->click();
        dialogs.pressButton(QMessageBox::Ok);
        fresh.findChild<QPushButton*>(QStringLiteral("btnCalculate"))->click();
        ASSERT_EQ(dialogs.requests().size(), 3);
        EXPECT_EQ(dialogs.requests().at(2).kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(dialogs.requests().at(2).title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(dialogs.requests().at(2).text, reason);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(NonRadiativeForm, ModeButtonsEnableTheirControls)
{
    auto* typed = child<QDoubleSpinBox>("dsbArad");
    const QList<QWidget*> fileControls = {child<QLineEdit>("edtMopacOut"), button("btnChooseMopacOut"),
                                          child<QLabel>("lblMopacOut"), child<QLineEdit>("edtMopacForce"),
                                          button("btnChooseMopacForce"), child<QLabel>("lblMopacForce")};
    EXPECT_FALSE(typed->isEnabled());

    child<QRadioButton>("rdbSetArad")->click();
    EXPECT_TRUE(typed->isEnabled());
    for (QWidget* w : fileControls)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(button("btnCalculate")->isEnabled());

    // Back to the computed mode without a force file: Calculate waits for it.
    child<QRadioButton>("rdbCalcArad")->click();
    EXPECT_FALSE(typed->isEnabled());
    for (QWidget* w : fileControls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(button("btnCalculate")->isEnabled());

    DialogScript dialogs;
    dialogs.chooseFile(forceOutput);
    button("btnChooseMopacForce")->click();
    child<QRadioButton>("rdbSetArad")->click();
    child<QRadioButton>("rdbCalcArad")->click();
    EXPECT_TRUE(button("btnCalculate")->isEnabled());

    // A cancelled dialog changes nothing.
    dialogs.cancel();
    button("btnChooseMopacOut")->click();
    EXPECT_TRUE(child<QLineEdit>("edtMopacOut")->text().isEmpty());
}

TEST_F(NonRadiativeForm, TabsAreReusedByPositionAndFollowedByTheFindBar)
{
    DialogScript dialogs;
    // The force file first: with no tab yet it takes page 0 and its title.
    dialogs.chooseFile(forceOutput);
    ASSERT_TRUE(QMetaObject::invokeMethod(&form, "on_btnChooseMopacForce_clicked"));
    ASSERT_EQ(tabs()->count(), 1);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("Mopac Force File"));
    EXPECT_EQ(tabText(0).toUtf8(), contents(forceOutput));

    // The MOPAC output reuses page 0, which keeps its title.
    dialogs.chooseFile(geometry);
    button("btnChooseMopacOut")->click();
    ASSERT_EQ(tabs()->count(), 1);
    EXPECT_EQ(tabs()->tabText(0), QStringLiteral("Mopac Force File"));
    EXPECT_EQ(tabText(0).toUtf8(), contents(geometry));

    // A second force file now gets page 1; an unreadable one leaves it empty.
    const QString unreadable = temp.filePath(QStringLiteral("gone.out"));
    dialogs.chooseFile(unreadable);
    button("btnChooseMopacForce")->click();
    ASSERT_EQ(tabs()->count(), 2);
    EXPECT_TRUE(tabText(1).isEmpty());
    for (int i = 0; i < 2; ++i) {
        auto* view = qobject_cast<QPlainTextEdit*>(tabs()->widget(i));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    auto* bar = form.findChild<OrvaneFrmSearching*>();
    ASSERT_NE(bar, nullptr);
    tabs()->setCurrentIndex(0);
    EXPECT_EQ(bar->plainTextEdit, tabs()->widget(0));
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(bar->plainTextEdit, tabs()->widget(1));

    auto* holder = child<QStackedWidget>("stackedWidgetSearching");
    EXPECT_TRUE(holder->isHidden());
    button("btnFind")->click();
    EXPECT_FALSE(holder->isHidden());
    EXPECT_EQ(holder->currentWidget(), bar);
    form.handleFrmSearching(false);
    EXPECT_TRUE(holder->isHidden());
}
