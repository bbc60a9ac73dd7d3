// The calculation form's fits of the intensity parameters: started on the
// worker thread with a progress dialog, cancelled, refused while one runs,
// and ended honestly (a report only from a fit that finished with a result).

#include "../support/guitestsupport.h"
#include "orvanesmalldisk.h"

#include "orvanefrmomegaparametrization.h"
#include "orvanefrmselectligandatoms.h"
#include "orvanefrmspectroscopiccalculation.h"
#include "orvanegsa.h"
#include "orvanefitrunner.h"
#include "threadadjustomega.h"

#include <QCoreApplication>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

using OrvaneFixtures::contents;
using OrvaneFixtures::dataPath;

const QByteArray earlierReport = "omega(2) report of the direct run\n";

class FitFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(temp.path()).mkpath(QStringLiteral("calc"));
        form = std::make_unique<OrvaneFrmSpectroscopicCalculation>(nullptr, 0);
        output = temp.filePath(QStringLiteral("calc/complex.out"));
        EXPECT_TRUE(QFile::copy(dataPath(QStringLiteral("mopac/eu_h2o8_allvec.out")), output));
        form->findChild<QLineEdit*>(QStringLiteral("edtMopacOut"))->setText(output);
        report = temp.filePath(QStringLiteral("calc/complex.omega"));
        QFile file(report);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(earlierReport);
        fit().sbxOmega2->setValue(20.0);
        fit().sbxOmega4->setValue(5.0);
    }
    void TearDown() override
    {
        // A fit a test left running is stopped before the form goes.
        form.reset();
        OrvaneGSA::isStopParametrization = false;
    }

    Ui::OrvaneFrmOmegaParametrization& fit() { return form->frmOmegaParametrization->ui; }
    template <typename T = QWidget>
    T* widget(const char* name) const
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void chooseConventionalFit(int groups)
    {
        widget<QGroupBox>("gbxConventionalParametrization")->setChecked(true);
        widget<QRadioButton>("rdbConventionalParametrization")->setChecked(true);
        OrvaneFrmSelectLigandAtoms* grouping = form->frmOmegaParametrization->selectLigandAtoms;
        for (int k = 1; k < groups; ++k)
            grouping->on_btnAddGroup_clicked();
        QListWidget* atoms = grouping->ui.listWidgetLigandAtomList;
        for (int k = 0; atoms->count() > 0; ++k)
            grouping->groupList(k % groups)->addItem(atoms->takeItem(0));
    }
    void chooseQdcFit()
    {
        widget<QGroupBox>("gbxParametrizationQDC")->setChecked(true);
        widget<QRadioButton>("rdbParametrizationQDC")->setChecked(true);
    }
    void chooseFit(bool qdc, int groups)
    {
        if (qdc)
            chooseQdcFit();
        else
            chooseConventionalFit(groups);
    }
    void clickCalculate() { widget<QPushButton>("btnCalculate")->click(); }
    // The question a fit asks before it replaces the existing report.
    void expectReplaceQuestion(QMessageBox::StandardButton answer) { dialogs.pressButton(answer); }
    QString replaceQuestion() const
    {
        return QStringLiteral("The destination already has a file named\n") + report
            + QStringLiteral("\nAre you sure you want to replace the file in the destination?");
    }
    // The next message box is answered with OK.
    void expectBox() { dialogs.pressButton(QMessageBox::Ok); }
    // Until the end of the fit has been handled on this thread; the bound only
    // keeps a broken fit from hanging the suite.
    bool waitForTheEnd()
    {
        for (int i = 0; i < 6000 && form->getFitPhase() != OrvaneFrmSpectroscopicCalculation::FitPhase::Idle; ++i) {
            form->getFitRunner()->thread()->wait(10);
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        return form->getFitPhase() == OrvaneFrmSpectroscopicCalculation::FitPhase::Idle;
    }
    QString reportText() const { return QString::fromUtf8(contents(report)); }
    QString tab(int index) const
    {
        auto* view = qobject_cast<QPlainTextEdit*>(widget<QTabWidget>("tabWidgetViewFiles")->widget(index));
        return view ? view->toPlainText() : QString();
    }
    static QStringList lines(const QSignalSpy& spy)
    {
        QStringList all;
        for (const QList<QVariant>& line : spy)
            all << line.at(0).toString();
        return all;
    }
    // The value of a "omega(k)" key line of a report, in 10^-20 cm^2.
    static double omegaOf(const QString& text, int k)
    {
        const QRegularExpression line(QStringLiteral("omega\\(%1\\)\\s*=?\\s*([-+0-9.eE]+)").arg(k));
        const QRegularExpressionMatch match = line.match(text);
        return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmSpectroscopicCalculation> form;
    QString output;
    QString report;
};

} // namespace

TEST_F(FitFixture, AConventionalFitRunsToItsReportWithProgress)
{
    chooseConventionalFit(1);
    QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
    // The driver exists only once Calculate has made it; the spy on it is put
    // in place on the worker before its run begins, so that it sees every
    // emission and is never connected while the worker emits.
    std::unique_ptr<QSignalSpy> progress;
    ThreadAdjustOmega* worker = form->getFitRunner()->thread();
    QObject::connect(worker, &QThread::started, worker,
        [&progress, worker] { progress = std::make_unique<QSignalSpy>(worker->gsa, &OrvaneGSA::newOmegaCalculation); },
        Qt::DirectConnection);
    expectReplaceQuestion(QMessageBox::Yes);
    clickCalculate();
    ASSERT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Running)
        << (dialogs.requests().isEmpty() ? std::string() : dialogs.requests().last().text.toStdString());
    OrvaneGSA* gsa = form->getFitRunner()->thread()->gsa;
    ASSERT_NE(gsa, nullptr);
    // Progress 1 at the start and after every one of the 15 runs; the
    // dialog's maximum is steps / 1000.
    EXPECT_EQ(form->getFitRunner()->progressDialog()->maximum(), 15);
    EXPECT_EQ(lines(status), QStringList{QStringLiteral("-> Parametrization process started successfully.")});
    expectBox();
    ASSERT_TRUE(waitForTheEnd());

    EXPECT_EQ(gsa->getFitState(), OrvaneGSA::FitState::Finished);
    std::vector<int> expected = {1};
    for (int k = 1; k <= 15; ++k)
        expected.push_back(k);
    // The worker has ended: the spy is read on this thread only now.
    ASSERT_NE(progress, nullptr);
    std::vector<int> seen;
    for (const QList<QVariant>& value : *progress)
        seen.push_back(value.at(0).toInt());
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(form->getFitRunner()->progressDialog()->isVisible());
    // The end names the targets and how close the fit came, in the status
    // panel and in the box; a warning when a target is missed or a parameter
    // ended at a bound.
    const QStringList said = lines(status);
    ASSERT_GE(said.size(), 3);
    EXPECT_EQ(said.at(said.size() - 2), QStringLiteral("-> Parametrization process finished successfully."));
    const QString closeness = QStringLiteral("Omega2: target 20 x 10^-20 cm^2, reached ");
    EXPECT_TRUE(said.last().startsWith(QStringLiteral("-> ") + closeness)) << said.last().toStdString();
    EXPECT_TRUE(said.last().contains(QStringLiteral("Omega4: target 5 x 10^-20 cm^2, reached ")));
    ASSERT_FALSE(dialogs.requests().isEmpty());
    const QString end = dialogs.requests().last().text;
    EXPECT_TRUE(end.startsWith(QStringLiteral("The  parameterization of the intensity parameters has finished.\n\n")
                               + closeness))
        << end.toStdString();
    EXPECT_EQ(dialogs.requests().last().title, end.contains(QLatin1String("Targets missed"))
                                                       || end.contains(QLatin1String("bound of the fit"))
                                                   ? QStringLiteral("ORVANE Warning")
                                                   : QStringLiteral("ORVANE Information"));
    // The new report replaced the earlier one and is what tab 1 shows.
    const QString text = reportText();
    EXPECT_NE(text, QString::fromUtf8(earlierReport));
    EXPECT_EQ(tab(1), text);
    EXPECT_GT(omegaOf(text, 2), 0.0) << text.left(2000).toStdString();
}

TEST_F(FitFixture, ACancelledFitKeepsTheEarlierReportAndSaysSo)
{
    fit().sbxPointsNumber->setValue(fit().sbxPointsNumber->maximum());
    for (bool qdc : {false, true}) {
        SCOPED_TRACE(qdc ? "QDC" : "conventional");
        if (qdc)
            chooseQdcFit();
        else
            chooseConventionalFit(2);
        QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
        const int boxes = dialogs.requests().size();
        expectReplaceQuestion(QMessageBox::Yes);
        clickCalculate();
        ASSERT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Running);
        expectBox();
        emit form->getFitRunner()->progressDialog()->canceled();
        ASSERT_TRUE(waitForTheEnd());
        EXPECT_EQ(form->getFitRunner()->thread()->gsa->getFitState(), OrvaneGSA::FitState::Stopped);
        EXPECT_EQ(contents(report), earlierReport);
        EXPECT_TRUE(lines(status).last().contains(QLatin1String("cancelled")));
        EXPECT_FALSE(lines(status).contains(QStringLiteral("-> Parametrization process finished successfully.")));
        // The question before the start, then the end.
        ASSERT_EQ(dialogs.requests().size(), boxes + 2);
        EXPECT_TRUE(dialogs.requests().last().text.contains(QLatin1String("cancelled")));
        // No report is presented as the fit's result.
        EXPECT_TRUE(tab(1).isEmpty()) << tab(1).left(200).toStdString();
    }
}

// A fit replaces the report beside the MOPAC output when it finishes: it asks
// first, as a direct run does, and an answer No starts nothing.
TEST_F(FitFixture, AFitAsksBeforeItWouldReplaceTheReportAndNoStartsNothing)
{
    for (bool qdc : {false, true}) {
        SCOPED_TRACE(qdc ? "QDC" : "conventional");
        chooseFit(qdc, 1);
        QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
        const int boxes = dialogs.requests().size();
        expectReplaceQuestion(QMessageBox::No);
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), boxes + 1);
        const OrvaneDialogs::Request& asked = dialogs.requests().last();
        EXPECT_EQ(asked.kind, OrvaneDialogs::Kind::Question);
        EXPECT_EQ(asked.title, QStringLiteral("ORVANE Question"));
        EXPECT_EQ(asked.text, replaceQuestion());
        EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No);

        EXPECT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Idle);
        EXPECT_FALSE(form->getFitRunner()->thread()->isRunning());
        EXPECT_EQ(form->getFitRunner()->thread()->gsa, nullptr);
        EXPECT_FALSE(form->getFitRunner()->progressDialog()->isVisible());
        EXPECT_TRUE(lines(status).isEmpty()) << lines(status).join('\n').toStdString();
        QCoreApplication::processEvents();
        EXPECT_EQ(contents(report), earlierReport);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(FitFixture, ASecondFitIsRefusedWhileOneRunsAndDestroyingTheFormStopsIt)
{
    fit().sbxPointsNumber->setValue(fit().sbxPointsNumber->maximum());
    chooseConventionalFit(1);
    expectReplaceQuestion(QMessageBox::Yes);
    clickCalculate();
    ASSERT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Running);
    OrvaneGSA* running = form->getFitRunner()->thread()->gsa;
    expectBox();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Warning"));
    EXPECT_TRUE(dialogs.requests().last().text.startsWith(QLatin1String("A parametrization is still running.")));
    EXPECT_EQ(form->getFitRunner()->thread()->gsa, running);
    // Destroying the form mid-fit stops and waits for the worker.
    form.reset();
    EXPECT_EQ(contents(report), earlierReport);
}

TEST_F(FitFixture, AZeroReferenceOmegaStartsNoFit)
{
    const struct {
        double omega2, omega4;
        bool qdc;
    } cases[] = {{0.0, 2.5, false}, {20.0, 0.0, false}, {0.0, 2.5, true}, {20.0, 0.0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qdc ? "QDC" : "conventional");
        if (c.qdc)
            chooseQdcFit();
        else
            chooseConventionalFit(1);
        fit().sbxOmega2->setValue(c.omega2);
        fit().sbxOmega4->setValue(c.omega4);
        const int boxes = dialogs.requests().size();
        expectBox();
        clickCalculate();
        ASSERT_EQ(dialogs.requests().size(), boxes + 1);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Warning"));
        EXPECT_TRUE(dialogs.requests().last().text.startsWith(QLatin1String("The omega 2 or 4 cannot be equal to 0.")));
        EXPECT_FALSE(form->getFitRunner()->thread()->isRunning());
        EXPECT_EQ(form->getFitRunner()->thread()->gsa, nullptr);
    }
}

TEST_F(FitFixture, TheQdcFitAnnealsWithItsOwnConstantsAndTheConventionalWithTheDefaults)
{
    fit().sbxPointsNumber->setValue(fit().sbxPointsNumber->maximum());
    const struct {
        bool qdc;
        double qA, qV, qT, T0;
    } cases[] = {{true, 1.5969, 1.10912, 1.27207, 5.05671}, {false, 2.5, 2.5, 2.5, 10.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qdc ? "QDC" : "conventional");
        if (c.qdc)
            chooseQdcFit();
        else
            chooseConventionalFit(3);
        expectReplaceQuestion(QMessageBox::Yes);
        clickCalculate();
        ASSERT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Running);
        const OrvaneGSA* gsa = form->getFitRunner()->thread()->gsa;
        EXPECT_EQ(gsa->qA, c.qA);
        EXPECT_EQ(gsa->qV, c.qV);
        EXPECT_EQ(gsa->qT, c.qT);
        EXPECT_EQ(gsa->T0, c.T0);
        EXPECT_EQ(gsa->NStopMax, fit().sbxPointsNumber->maximum());
        expectBox();
        emit form->getFitRunner()->progressDialog()->canceled();
        ASSERT_TRUE(waitForTheEnd());
    }
}

TEST_F(FitFixture, AQdcFitWithoutReactivityIndicesSaysWhyAndStartsNothing)
{
    // A MOPAC input has no molecular orbitals to compute the indices from.
    const QString input = temp.filePath(QStringLiteral("calc/complex.mop"));
    ASSERT_TRUE(QFile::copy(dataPath(QStringLiteral("mopac/eu_h2o8_allvec.mop")), input));
    form->mopacFile = input;
    chooseQdcFit();
    expectBox();
    clickCalculate();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
    EXPECT_FALSE(dialogs.requests().last().text.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Idle);
    EXPECT_EQ(form->getFitRunner()->thread()->gsa, nullptr);
    EXPECT_EQ(contents(report), earlierReport);
}

// A fit whose report cannot be written beside the MOPAC output (a full disk)
// keeps its result: the report is shown in its tab, headed once by its
// citation block, with the system's reason above it, and the Save button
// (hidden in this mode until then) writes it under another name.
TEST_F(FitFixture, AFitReportThatCannotBeWrittenStaysOnScreenAndIsSavedElsewhere)
{
    SmallDisk disk(temp.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    const QString onDisk = disk.path(QStringLiteral("complex.out"));
    ASSERT_TRUE(QFile::copy(output, onDisk));
    ASSERT_TRUE(disk.fill());
    widget<QLineEdit>("edtMopacOut")->setText(onDisk);
    ASSERT_EQ(form->mopacFile, onDisk);
    fit().sbxOmega2->setValue(20.0);
    fit().sbxOmega4->setValue(5.0);
    fit().sbxPointsNumber->setValue(fit().sbxPointsNumber->minimum());
    auto* notice = widget<QLabel>("lblUnsavedReport");
    auto* save = widget<QPushButton>("btnSaveOutputFile");
    EXPECT_FALSE(save->isVisibleTo(form.get()));

    for (bool qdc : {false, true}) {
        SCOPED_TRACE(qdc ? "QDC" : "conventional");
        if (qdc)
            chooseQdcFit();
        else
            chooseConventionalFit(1);
        QSignalSpy status(form.get(), &OrvaneFrmSpectroscopicCalculation::newObjCalculationMessage);
        const int boxes = dialogs.requests().size();
        clickCalculate();
        ASSERT_EQ(form->getFitPhase(), OrvaneFrmSpectroscopicCalculation::FitPhase::Running)
            << dialogs.requests().last().text.toStdString();
        expectBox();
        ASSERT_TRUE(waitForTheEnd());

        EXPECT_EQ(form->getFitRunner()->thread()->gsa->getFitState(), OrvaneGSA::FitState::Failed);
        ASSERT_EQ(dialogs.requests().size(), boxes + 1);
        EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Critical);
        const QString reason = dialogs.requests().last().text;
        EXPECT_TRUE(reason.contains(QStringLiteral("No space left on device"))) << reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(disk.path(QStringLiteral("complex.omega"))));

        const QString shown = tab(1);
        EXPECT_GT(omegaOf(shown, 2), 0.0) << shown.left(2000).toStdString();
        EXPECT_EQ(shown.count(QStringLiteral("Required Citations for this Calculation")), 1);
        EXPECT_EQ(shown.count(QStringLiteral("Intensity parameters calculated by using a semiempirical model")), 1);
        EXPECT_EQ(shown.contains(QStringLiteral("QDC model")), qdc);
        EXPECT_TRUE(notice->isVisibleTo(form.get()));
        EXPECT_TRUE(notice->text().contains(reason)) << notice->text().toStdString();
        EXPECT_TRUE(save->isVisibleTo(form.get()));
        EXPECT_TRUE(save->isEnabled());
        // The unwritten report is announced, then how close the fit came.
        const QStringList said = lines(status);
        ASSERT_GE(said.size(), 2);
        EXPECT_TRUE(said.at(said.size() - 2).contains(QLatin1String("could not be written")));
        EXPECT_TRUE(said.last().contains(QLatin1String("Omega2"))) << said.last().toStdString();

        const QString elsewhere = temp.filePath(qdc ? QStringLiteral("calc/qdc.orvane") : QStringLiteral("calc/g.orvane"));
        dialogs.chooseFile(elsewhere);
        expectBox();
        save->click();
        EXPECT_EQ(QString::fromUtf8(contents(elsewhere)), shown + QStringLiteral("\n\n\n"));
        EXPECT_FALSE(notice->isVisibleTo(form.get()));
    }
}
