#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmsearching.h"
#include "orvanenormalizepoints.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QString hint = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
const QString hintStyle = QStringLiteral("color: rgb(158, 158, 158);");

class AbsorptionForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<OrvaneFrmPlotAbsorptionSpectrum>();
        log = std::make_unique<QSignalSpy>(form.get(), &AbstractObjCalculationWidget::newObjCalculationMessage);
        edtFile = child<QLineEdit>("edtFile");
        tabs = child<QTabWidget>("tabWidgetViewFiles");
        orca = child<QRadioButton>("rdbOrcaOutput");
        gaussian = child<QRadioButton>("rdbZindoOutput");
        hhw = child<QSpinBox>("spinBoxHHW");
        minimum = child<QSpinBox>("spinBoxMinimum");
        maximum = child<QSpinBox>("spinBoxMaximum");
        ASSERT_TRUE(edtFile && tabs && orca && gaussian && hhw && minimum && maximum);
    }

    template <typename T>
    T* child(const char* name) const
    {
        return form->findChild<T*>(QLatin1String(name));
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    void click(const char* name) const
    {
        QPushButton* b = button(name);
        ASSERT_TRUE(b) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        b->click();
    }

    // A copy of a fixture of tests/data in the test's own folder.
    QString copyOf(const QString& fixture, const QString& name) const
    {
        const QString path = temp.filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(OrvaneFixtures::dataPath(fixture), path)) << fixture.toStdString();
        return path;
    }

    void drop(const QString& path) const
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const DragResult result = dragAndDrop(edtFile, data);
        EXPECT_TRUE(result.dropAccepted) << path.toStdString();
    }

    QString tabText() const
    {
        auto* view = tabs->count() > 0 ? qobject_cast<QPlainTextEdit*>(tabs->widget(0)) : nullptr;
        return view ? view->toPlainText() : QStringLiteral("<no text tab>");
    }

    QStringList logLines() const
    {
        QStringList lines;
        for (const QList<QVariant>& call : *log)
            lines << call.at(0).toString();
        return lines;
    }

    // The spectrum the engine gives for the same file, program and values.
    static std::pair<QVector<double>, QVector<double>> engineSpectrum(const QString& file, int program, double width,
                                                                      double first, double second)
    {
        OrvaneNormalizePoints points(nullptr, file, program);
        EXPECT_TRUE(points.getLastError().isEmpty());
        points.setParametersNormalization(width, first, second);
        points.spectrum();
        return {points.getaxisX(), points.getaxisY()};
    }

    std::pair<QVector<double>, QVector<double>> plotted() const
    {
        QVector<double> x, y;
        auto* plot = form->findChild<QCustomPlot*>();
        if (!plot || plot->graphCount() != 1)
            return {x, y};
        for (auto it = plot->graph(0)->data()->constBegin(); it != plot->graph(0)->data()->constEnd(); ++it) {
            x << it->key;
            y << it->value;
        }
        return {x, y};
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmPlotAbsorptionSpectrum> form;
    std::unique_ptr<QSignalSpy> log;
    QLineEdit* edtFile = nullptr;
    QTabWidget* tabs = nullptr;
    QRadioButton* orca = nullptr;
    QRadioButton* gaussian = nullptr;
    QSpinBox* hhw = nullptr;
    QSpinBox* minimum = nullptr;
    QSpinBox* maximum = nullptr;
};

} // namespace

TEST_F(AbsorptionForm, StartsEmptyWithTheHint)
{
    EXPECT_EQ(child<QLabel>("lblTitle")->text(),
              QStringLiteral("Module 3.4: Theoretical Calculation of the Absorption Spectrum"));
    EXPECT_TRUE(orca->isChecked());
    EXPECT_FALSE(gaussian->isChecked());
    EXPECT_TRUE(child<QLabel>("lblOrcaOutFile")->isHidden());
    EXPECT_EQ(edtFile->text(), hint);
    EXPECT_EQ(edtFile->styleSheet(), hintStyle);
    EXPECT_EQ(edtFile->toolTip(), hint);
    EXPECT_TRUE(edtFile->isReadOnly());
    EXPECT_EQ(tabs->count(), 0);
    EXPECT_TRUE(form->findChild<OrvaneFrmSearching*>()->isHidden());
    for (const char* name : {"btnPlotGraph", "btnFind", "btnSavePoints", "btnSaveGraph"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char* name : {"btnChooseFile", "btnClearProject"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;

    // Band width 10..80 nm; the bounds start at 1 nm: a bound of 0 lies at an
    // infinite wavenumber.
    const struct
    {
        QSpinBox* box;
        int low, high, value;
    } boxes[] = {{hhw, 10, 80, 25}, {minimum, 1, 1000, 150}, {maximum, 1, 1000, 450}};
    for (const auto& b : boxes) {
        EXPECT_EQ(b.box->minimum(), b.low) << b.box->objectName().toStdString();
        EXPECT_EQ(b.box->maximum(), b.high);
        EXPECT_EQ(b.box->value(), b.value);
        b.box->setValue(0);
        EXPECT_EQ(b.box->value(), b.low);
    }
    // The plot waits in its page from the start, owned by the form.
    auto* plot = form->findChild<QCustomPlot*>();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->graph(0)->name(), QStringLiteral("absorption spectrum"));
    EXPECT_EQ(plot->xAxis->label(), QStringLiteral("wavelength (nm)"));
    EXPECT_EQ(plot->yAxis->label(), QStringLiteral("absorption intensity (a.u.)"));
}

TEST_F(AbsorptionForm, TabOrderFollowsTheFormFromTopToBottom)
{
    const std::vector<const char*> order = {"rdbOrcaOutput", "rdbZindoOutput", "edtFile",        "btnChooseFile",
                                            "spinBoxHHW",    "spinBoxMinimum", "spinBoxMaximum", "btnPlotGraph",
                                            "btnFind",       "btnClearProject", "btnSavePoints", "btnSaveGraph",
                                            "tabWidgetViewFiles"};
    QStringList chain;
    QWidget* w = child<QWidget>(order.front());
    for (size_t i = 0; i < 200 && w; ++i, w = w->nextInFocusChain()) {
        for (const char* name : order)
            if (w->objectName() == QLatin1String(name) && !chain.contains(w->objectName()))
                chain << w->objectName();
    }
    QStringList expected;
    for (const char* name : order)
        expected << QLatin1String(name);
    EXPECT_EQ(chain, expected);
}

// Each fixture is loaded, shown in tab 0 and plotted into 1001 points that
// are those of the engine for the same program and values.
TEST_F(AbsorptionForm, PlotsTheEngineSpectrumOfGaussianAndOrcaOutputs)
{
    const struct
    {
        const char* fixture;
        const char* name;
        int program;
        const char* tabTitle;
    } cases[] = {
        {"gaussian/eu_h2o_td.log", "eu_h2o_td.log", OrvaneNormalizePoints::Gaussian, "Gaussian Output File"},
        {"orca/eu_h2o_tda.orcout", "eu_h2o_tda.orcout", OrvaneNormalizePoints::Orca, "Orca Output File"},
        {"gaussian/eu_complex_td_nopop.log", "eu_complex.log", OrvaneNormalizePoints::Gaussian,
         "Gaussian Output File"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        SetUp(); // a fresh form for each file
        const QString file = copyOf(QLatin1String(c.fixture), QLatin1String(c.name));
        drop(file);
        EXPECT_EQ(form->getInputFileName(), file);
        EXPECT_EQ(gaussian->isChecked(), c.program == OrvaneNormalizePoints::Gaussian);
        EXPECT_EQ(edtFile->text(), file);
        EXPECT_TRUE(edtFile->styleSheet().isEmpty());
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), QLatin1String(c.tabTitle));
        EXPECT_EQ(tabText(), QString::fromUtf8(OrvaneFixtures::contents(file)));
        ASSERT_EQ(log->count(), 1);
        EXPECT_TRUE(logLines().first().endsWith(
            QStringLiteral(" -> (Orvane Module to Plot Absorption Spectrum ) File successfully loaded!")));

        hhw->setValue(30);
        minimum->setValue(180);
        maximum->setValue(420);
        click("btnPlotGraph");
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Plot Absorption Spectrum"));
        const auto expected = engineSpectrum(file, c.program, 30, 180, 420);
        ASSERT_EQ(expected.first.size(), 1001);
        EXPECT_EQ(plotted(), expected);
        EXPECT_TRUE(button("btnSavePoints")->isEnabled());
        EXPECT_TRUE(button("btnSaveGraph")->isEnabled());
        EXPECT_EQ(dialogs.requests().size(), 0);
    }
}

// A second plot redraws the same plot in the same tab.
TEST_F(AbsorptionForm, SecondPlotRedrawsInPlace)
{
    const QString file = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("run.log"));
    drop(file);
    click("btnPlotGraph");
    ASSERT_EQ(tabs->count(), 2);
    QWidget* page = tabs->widget(1);
    auto* plot = form->findChild<QCustomPlot*>();
    const auto first = plotted();

    hhw->setValue(60);
    click("btnPlotGraph");
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->widget(1), page);
    EXPECT_EQ(form->findChildren<QCustomPlot*>().size(), 1);
    EXPECT_EQ(form->findChild<QCustomPlot*>(), plot);
    EXPECT_EQ(plot->graphCount(), 1);
    EXPECT_NE(plotted(), first);
    EXPECT_EQ(plotted(), engineSpectrum(file, OrvaneNormalizePoints::Gaussian, 60, 150, 450));
    const QStringList lines = logLines();
    EXPECT_EQ(lines.filter(QStringLiteral(" -> (Orvane Module to Plot Absorption Spectrum )  Graph successfully "
                                          "plotted!"))
                  .size(),
              2);
}

// Points are written for the values the spin boxes show when saving; a
// failed write is told, not announced as done.
TEST_F(AbsorptionForm, SavesPointsThroughTheDialog)
{
    const QString file = copyOf(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("run.orcout"));
    drop(file);
    click("btnPlotGraph");
    hhw->setValue(40);
    minimum->setValue(200);

    const QString esp = temp.filePath(QStringLiteral("points.esp"));
    dialogs.chooseFile(esp);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSavePoints");
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::SaveFileName);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Save File"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("esp File (*.esp)"));
    EXPECT_EQ(dialogs.requests().at(0).directory, temp.path());
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(1).text, QStringLiteral("The file was successfully created at:\n") + esp);

    OrvaneNormalizePoints engine(nullptr, file, OrvaneNormalizePoints::Orca);
    engine.setParametersNormalization(40, 200, 450);
    const QString reference = temp.filePath(QStringLiteral("reference.esp"));
    engine.createEspFile(reference);
    EXPECT_EQ(OrvaneFixtures::contents(esp), OrvaneFixtures::contents(reference));
    EXPECT_EQ(OrvaneFixtures::contents(esp).count('\n'), 1001);

    // Cancelled: nothing written, nothing shown.
    dialogs.cancel();
    click("btnSavePoints");
    EXPECT_EQ(dialogs.requests().size(), 3);

    // Unwritable: the reason, and no success message.
    const QString unwritable = temp.filePath(QStringLiteral("no/such/folder/points.esp"));
    dialogs.chooseFile(unwritable);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSavePoints");
    ASSERT_EQ(dialogs.requests().size(), 5);
    EXPECT_EQ(dialogs.requests().at(4).kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(dialogs.requests().at(4).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(4).text.contains(unwritable));
}

TEST_F(AbsorptionForm, SavesTheGraphAsPng1000By400)
{
    const QString file = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("run.log"));
    drop(file);
    click("btnPlotGraph");
    form->resize(500, 300);

    const QString png = temp.filePath(QStringLiteral("graph.png"));
    dialogs.chooseFile(png);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSaveGraph");
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Export Graph Name"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("png Image(*.png)"));
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(dialogs.requests().at(1).text, QStringLiteral("The graphic was successfully created.\n") + png);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(1000, 400));
    EXPECT_TRUE(logLines().last().endsWith(
        QStringLiteral(" -> (Orvane Module to Plot Absorption Spectrum ) Saving graph... The graph was saved at ")
        + temp.path()));

    dialogs.cancel();
    click("btnSaveGraph");
    EXPECT_EQ(dialogs.requests().size(), 3);

    const QString unwritable = temp.filePath(QStringLiteral("no/such/folder/graph.png"));
    dialogs.chooseFile(unwritable);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSaveGraph");
    ASSERT_EQ(dialogs.requests().size(), 5);
    EXPECT_EQ(dialogs.requests().at(4).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(4).text.contains(unwritable));
    EXPECT_FALSE(QFile::exists(unwritable));
}

// A name typed without suffix is saved with the filter's, and the message
// names that file.
TEST_F(AbsorptionForm, NamesTypedWithoutSuffixAreSavedWithTheFiltersOne)
{
    drop(copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("run.log")));
    click("btnPlotGraph");
    expectSavedWithFilterSuffix(dialogs, temp.path(), QStringLiteral("abs_points"), QStringLiteral("abs_points.esp"),
                                QStringLiteral("The file was successfully created at:\n"),
                                [&] { click("btnSavePoints"); });
    expectSavedWithFilterSuffix(dialogs, temp.path(), QStringLiteral("abs_graph"), QStringLiteral("abs_graph.png"),
                                QStringLiteral("The graphic was successfully created.\n"),
                                [&] { click("btnSaveGraph"); });
    EXPECT_EQ(QImage(temp.filePath(QStringLiteral("abs_graph.png"))).size(), QSize(1000, 400));
}

// Suffixes other than "log" and "orcout" (compared case-sensitively) reset
// the page and are refused with the warning.
TEST_F(AbsorptionForm, RefusesUnknownSuffixes)
{
    const QString good = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("good.log"));
    const struct
    {
        const char* name;
        const char* suffix;
    } cases[] = {{"x.LOG", "LOG"}, {"x.ORCOUT", "ORCOUT"}, {"x.out", "out"}, {"x.log.txt", "txt"}, {"x", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->setInputFileName(good);
        ASSERT_EQ(form->getInputFileName(), good);
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        form->setInputFileName(temp.filePath(QLatin1String(c.name)));
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        const OrvaneDialogs::Request& warning = dialogs.requests().last();
        EXPECT_EQ(warning.kind, OrvaneDialogs::Kind::Warning);
        EXPECT_EQ(warning.title, QStringLiteral("ORVANE Warming"));
        EXPECT_EQ(warning.text, QStringLiteral("The desired file contains an unknown extension (")
                                    + QLatin1String(c.suffix) + QStringLiteral(").\nPlease, try to open another file."));
        EXPECT_TRUE(form->getInputFileName().isEmpty());
        EXPECT_EQ(edtFile->text(), hint);
        EXPECT_EQ(edtFile->styleSheet(), hintStyle);
        EXPECT_EQ(tabs->count(), 0);
        EXPECT_FALSE(button("btnPlotGraph")->isEnabled());
        EXPECT_FALSE(child<QWidget>("frameViewer")->isEnabled());
    }
}

TEST_F(AbsorptionForm, SetInputFileNameReloadsAndIgnoresEmptyNames)
{
    const QString file = copyOf(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("run.orcout"));
    form->setInputFileName(QString());
    EXPECT_TRUE(form->getInputFileName().isEmpty());
    EXPECT_EQ(edtFile->text(), hint);
    EXPECT_EQ(log->count(), 0);

    gaussian->setChecked(true);
    form->setInputFileName(file);
    EXPECT_EQ(form->getInputFileName(), file);
    EXPECT_TRUE(orca->isChecked());
    EXPECT_EQ(log->count(), 1);

    // The same name again is read again: the tab shows the file as it is now.
    OrvaneFixtures::writeFile(file, "rewritten\n");
    form->setInputFileName(file);
    EXPECT_EQ(log->count(), 2);
    EXPECT_EQ(tabText(), QStringLiteral("rewritten\n"));

    // A drop of the loaded file is not a new file.
    OrvaneFixtures::writeFile(file, "rewritten again\n");
    drop(file);
    EXPECT_EQ(log->count(), 2);
    EXPECT_EQ(tabText(), QStringLiteral("rewritten\n"));

    form->setInputFileName(QString());
    EXPECT_EQ(form->getInputFileName(), file);
}

// The open dialog follows the program choice; a cancelled dialog keeps the
// loaded file, which the next plot still uses.
TEST_F(AbsorptionForm, OpenDialogAndCancel)
{
    const QString log1 = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("a.log"));
    dialogs.chooseFile(log1);
    click("btnChooseFile");
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::OpenFileName);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Choose .orcout Output File"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("ORCA Output File (*.orcout)"));
    EXPECT_EQ(form->getInputFileName(), log1);
    // Chosen, not dropped: the program choice stays as it was.
    EXPECT_TRUE(orca->isChecked());
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Orca Output File"));

    gaussian->setChecked(true);
    dialogs.cancel();
    click("btnChooseFile");
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("Choose .log Output File"));
    EXPECT_EQ(dialogs.requests().at(1).filter, QStringLiteral("Gaussian Output File (*.log)"));
    EXPECT_EQ(dialogs.requests().at(1).directory, temp.path());
    EXPECT_EQ(form->getInputFileName(), log1);
    EXPECT_EQ(edtFile->text(), log1);
    click("btnPlotGraph");
    EXPECT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(plotted(), engineSpectrum(log1, OrvaneNormalizePoints::Gaussian, 25, 150, 450));
    // The reused tab keeps the title it was made with.
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Orca Output File"));
}

// Engine errors are shown with the title "ORVANE Error" and change nothing.
TEST_F(AbsorptionForm, EngineErrorsAreShownAndChangeNothing)
{
    const QString orcaFile = copyOf(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("run.orcout"));
    drop(orcaFile);
    // The Gaussian reading of an ORCA output finds no excitation list.
    gaussian->setChecked(true);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnPlotGraph");
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Error"));
    OrvaneNormalizePoints wrong(nullptr, orcaFile, OrvaneNormalizePoints::Gaussian);
    EXPECT_EQ(dialogs.requests().at(0).text, wrong.getLastError());
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_FALSE(button("btnSavePoints")->isEnabled());
    EXPECT_TRUE(plotted().first.isEmpty());

    // A handed-over file that does not exist: loaded, empty tab, error on plot.
    orca->setChecked(true);
    const QString missing = temp.filePath(QStringLiteral("missing.orcout"));
    form->setInputFileName(missing);
    EXPECT_EQ(tabText(), QString());
    dialogs.pressButton(QMessageBox::Ok);
    click("btnPlotGraph");
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(1).text.contains(missing));
    EXPECT_EQ(tabs->count(), 1);
}

// A file of 100 MiB or more is loaded and plotted but not shown: the tab is
// emptied, never left with the previous file's text under the new name, and
// its note says why.
TEST_F(AbsorptionForm, LargeFilesAreNotShown)
{
    const QString small = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("small.log"));
    drop(small);
    ASSERT_FALSE(tabText().isEmpty());

    const QString big = temp.filePath(QStringLiteral("big.log"));
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(100LL * 1048576)); // sparse: no data written
    file.close();
    form->setInputFileName(big);
    EXPECT_EQ(form->getInputFileName(), big);
    EXPECT_EQ(tabText(), QString());
    auto* view = qobject_cast<QPlainTextEdit*>(tabs->widget(0));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->placeholderText().contains(big));
    EXPECT_TRUE(view->placeholderText().contains(QStringLiteral("100 MiB")));
    EXPECT_TRUE(button("btnPlotGraph")->isEnabled());
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // The next file that can be shown drops the note.
    form->setInputFileName(small);
    EXPECT_EQ(tabText(), QString::fromUtf8(OrvaneFixtures::contents(small)));
    EXPECT_TRUE(view->placeholderText().isEmpty());
}

// Clearing asks first; after a reset the next file makes tab 0 anew and the
// next plot adds tab 1 again.
TEST_F(AbsorptionForm, ClearProjectAsksAndResets)
{
    const QString file = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("run.log"));
    drop(file);
    click("btnPlotGraph");
    ASSERT_EQ(tabs->count(), 2);

    dialogs.pressButton(QMessageBox::No);
    click("btnClearProject");
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::Question);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Question"));
    EXPECT_EQ(dialogs.requests().at(0).text, QStringLiteral("Are you sure you want to clear the current project?"));
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(form->getInputFileName(), file);

    dialogs.pressButton(QMessageBox::Yes);
    click("btnClearProject");
    EXPECT_EQ(tabs->count(), 0);
    EXPECT_TRUE(form->getInputFileName().isEmpty());
    EXPECT_EQ(edtFile->text(), hint);
    for (const char* name : {"btnPlotGraph", "btnFind", "btnSavePoints", "btnSaveGraph"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_FALSE(child<QWidget>("frameViewer")->isEnabled());

    const QString orcaFile = copyOf(QStringLiteral("orca/eu_h2o_tda.orcout"), QStringLiteral("next.orcout"));
    drop(orcaFile);
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Orca Output File"));
    EXPECT_EQ(tabText(), QString::fromUtf8(OrvaneFixtures::contents(orcaFile)));
    click("btnPlotGraph");
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(plotted(), engineSpectrum(orcaFile, OrvaneNormalizePoints::Orca, 25, 150, 450));
}

TEST_F(AbsorptionForm, FindButtonShowsTheFindBarOnTheFileText)
{
    const QString file = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("run.log"));
    drop(file);
    form->show();
    click("btnFind");
    auto* bar = form->findChild<OrvaneFrmSearching*>();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->plainTextEdit, tabs->widget(0));
}

// The folder of the loaded file is where the next form's dialogs open.
TEST_F(AbsorptionForm, RemembersTheFolderOfTheLoadedFile)
{
    ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("runs")));
    const QString file = copyOf(QStringLiteral("gaussian/eu_h2o_td.log"), QStringLiteral("runs/run.log"));
    drop(file);
    form.reset();
    OrvaneFrmPlotAbsorptionSpectrum next;
    EXPECT_EQ(next.lastDirectory, temp.filePath(QStringLiteral("runs")));
}
