#include "../support/guitestsupport.h"

#include "orvanefrmfilesconverter.h"
#include "orvanenormalizepoints.h"
#include "orvanerl.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString data(const QString& name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/") + name;
}

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable ") + path.toUtf8() + ">";
}

const QString createdText = QStringLiteral("The file was created successfully at: \n ");

class ConverterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        inputKind = page.findChild<QComboBox*>(QStringLiteral("cbxInpFile"));
        outputKind = page.findChild<QComboBox*>(QStringLiteral("cbxOutFile"));
        inputField = page.findChild<QLineEdit*>(QStringLiteral("lineEditInpFile"));
        outputField = page.findChild<QLineEdit*>(QStringLiteral("lineEditOutFile"));
        inputView = page.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEditInpFile"));
        outputView = page.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEditOutFile"));
        openButton = page.findChild<QPushButton*>(QStringLiteral("btnOpenInputFile"));
        saveButton = page.findChild<QPushButton*>(QStringLiteral("btnSaveOutputFile"));
        spectrumFrame = page.findChild<QFrame*>(QStringLiteral("frameAbsorptionSpectrum"));
        ASSERT_TRUE(inputKind && outputKind && inputField && outputField && inputView && outputView
                    && openButton && saveButton && spectrumFrame);
    }

    QString output(const QString& name) const { return QDir(work.path()).filePath(name); }

    // Chooses the input kind, then the file in the open dialog.
    void open(int kind, const QString& file)
    {
        inputKind->setCurrentIndex(kind);
        dialogs.chooseFile(file);
        QTest::mouseClick(openButton, Qt::LeftButton);
    }

    // Chooses the output kind and saves under target; the answer to the box
    // that follows is Ok.
    void save(const QString& kind, const QString& target)
    {
        const int index = outputKind->findText(kind, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << kind.toStdString();
        outputKind->setCurrentIndex(index);
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        ASSERT_TRUE(saveButton->isEnabled());
        QTest::mouseClick(saveButton, Qt::LeftButton);
    }

    DragResult drop(const QString& path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        return dragAndDrop(&page, mime);
    }

    const OrvaneDialogs::Request& lastBox() const { return dialogs.requests().last(); }

    IsolatedTempFolder temp;
    QTemporaryDir work;
    DialogScript dialogs;
    OrvaneFrmFilesConverter page;
    QComboBox* inputKind = nullptr;
    QComboBox* outputKind = nullptr;
    QLineEdit* inputField = nullptr;
    QLineEdit* outputField = nullptr;
    QPlainTextEdit* inputView = nullptr;
    QPlainTextEdit* outputView = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* saveButton = nullptr;
    QFrame* spectrumFrame = nullptr;
};

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

TEST_F(ConverterFixture, TheInputKindChoosesTheOutputKinds)
{
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Module 4: Files Converter"));
    EXPECT_EQ(items(inputKind), QStringList({"mol2 (HyperChem Output File)", "out (MOPAC Output File )",
                                             "zin (ZINDO Output File)", "orcout (ORCA Output File)"}));
    EXPECT_EQ(items(outputKind), QStringList({"mop (MOPAC Input File)"}));
    EXPECT_EQ(page.getInputType(), QStringLiteral("mol2"));
    EXPECT_EQ(page.getOutputType(), QStringLiteral("mop"));
    EXPECT_FALSE(saveButton->isEnabled());
    EXPECT_TRUE(spectrumFrame->isHidden());
    EXPECT_TRUE(page.findChild<QLineEdit*>(QStringLiteral("lineEditKeywords"))->isHidden());
    EXPECT_TRUE(page.acceptDrops());
    EXPECT_FALSE(outputView->acceptDrops());

    const struct
    {
        int kind;
        QString inputType;
        QStringList outputs;
    } kinds[] = {
        {1, "out", {"inp (ZINDO Input File)", "mop (MOPAC Input File)", "gjf (GAUSSIAN Input File)",
                    "orcinp (ORCA Input File)", "sph (Spherical Coordinates)", "zmt (HyperChem Input File)"}},
        {2, "zin", {"spec (Spectroscopy Properties File)", "txt (Normalized Points)"}},
        {3, "orcout", {"spec (Spectroscopy Properties File)", "txt (Normalized Points)"}},
        {0, "mol2", {"mop (MOPAC Input File)"}},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        inputKind->setCurrentIndex(k.kind);
        EXPECT_EQ(items(outputKind), k.outputs);
        EXPECT_EQ(page.getInputType(), k.inputType);
        EXPECT_EQ(page.getOutputType(), k.outputs.first().section(QLatin1Char(' '), 0, 0));
        for (int i = 0; i < outputKind->count(); ++i) {
            outputKind->setCurrentIndex(i);
            // The three numbers of the absorption spectrum, for points only.
            EXPECT_EQ(!spectrumFrame->isHidden(), page.getOutputType() == "txt");
        }
    }
    auto* width = page.findChild<QSpinBox*>(QStringLiteral("spinBoxHHW"));
    auto* minimum = page.findChild<QSpinBox*>(QStringLiteral("spinBoxMinimum"));
    auto* maximum = page.findChild<QSpinBox*>(QStringLiteral("spinBoxMaximum"));
    EXPECT_EQ(QVector<int>({width->minimum(), width->maximum(), width->value()}), QVector<int>({20, 60, 25}));
    EXPECT_EQ(QVector<int>({minimum->minimum(), minimum->maximum(), minimum->value()}), QVector<int>({0, 1000, 150}));
    EXPECT_EQ(QVector<int>({maximum->minimum(), maximum->maximum(), maximum->value()}), QVector<int>({0, 1000, 450}));
    EXPECT_TRUE(dialogs.requests().isEmpty());
}

TEST_F(ConverterFixture, OpeningShowsTheFileAndACancelledDialogKeepsIt)
{
    const QString source = data(QStringLiteral("mopac/eu_h2o8_allvec.out"));
    open(1, source);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Open Input File"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("out File (*.out)"));
    EXPECT_EQ(dialogs.requests().at(0).directory, QDir::homePath());
    EXPECT_EQ(inputField->text(), source);
    EXPECT_EQ(inputView->toPlainText().toUtf8(), bytes(source));
    EXPECT_TRUE(saveButton->isEnabled());

    // The next dialog opens where the last file was; a cancel keeps that file.
    dialogs.cancel();
    QTest::mouseClick(openButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.requests().at(1).directory, QFileInfo(source).absolutePath());
    EXPECT_EQ(page.getInputFileName(), source);
    EXPECT_EQ(inputField->text(), source);
    save(QStringLiteral("sph"), output(QStringLiteral("kept.sph")));
    EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Information"));
    EXPECT_EQ(bytes(output(QStringLiteral("kept.sph"))), bytes(data(QStringLiteral("writers/eu_h2o8_allvec.sph"))));

    // A new input kind empties the field, the view and the save button, but
    // remembers the file.
    inputKind->setCurrentIndex(2);
    EXPECT_TRUE(inputField->text().isEmpty());
    EXPECT_TRUE(inputView->toPlainText().isEmpty());
    EXPECT_FALSE(saveButton->isEnabled());
    EXPECT_EQ(page.getInputFileName(), source);

    // A MOL2 input also offers the .ml2 spelling.
    open(0, data(QStringLiteral("writers/eu_aqua3.mol2")));
    EXPECT_EQ(dialogs.requests().last().filter, QStringLiteral("mol2 File (*.mol2 *.ml2)"));
}

TEST_F(ConverterFixture, EachConversionWritesItsFile)
{
    const QString mopacOut = data(QStringLiteral("mopac/eu_h2o8_allvec.out"));
    QByteArray mopGolden = bytes(data(QStringLiteral("writers/eu_h2o8_allvec.mop")));
    mopGolden.replace("@SOURCE@", mopacOut.toUtf8());
    const struct
    {
        int kind;
        QString source;
        QString outputKind;
        QString target;
        QByteArray expected;
    } cases[] = {
        {0, data("writers/eu_aqua3.mol2"), "mop", "eu_aqua3.mop", bytes(data("writers/eu_aqua3.mop"))},
        {1, mopacOut, "inp", "eu_h2o8_allvec.inp", bytes(data("writers/eu_h2o8_allvec.inp"))},
        {1, mopacOut, "mop", "eu_h2o8_allvec.mop", mopGolden},
        {1, mopacOut, "gjf", "eu_h2o8_allvec.gjf", bytes(data("writers/eu_h2o8_allvec.gjf"))},
        {1, mopacOut, "orcinp", "eu_h2o8_allvec.orcinp", bytes(data("writers/eu_h2o8_allvec.orcinp"))},
        {1, mopacOut, "sph", "eu_h2o8_allvec.sph", bytes(data("writers/eu_h2o8_allvec.sph"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        open(c.kind, c.source);
        const QString target = output(c.target);
        save(c.outputKind, target);
        EXPECT_EQ(lastBox().kind, OrvaneDialogs::Kind::Information);
        EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Information"));
        EXPECT_EQ(lastBox().text, createdText + target);
        EXPECT_EQ(bytes(target), c.expected);
        EXPECT_EQ(outputField->text(), target);
        EXPECT_EQ(outputView->toPlainText().toUtf8(), bytes(target));
        EXPECT_FALSE(saveButton->isEnabled()) << "a new choice is needed for the next conversion";
    }
    // The ORCA input names its point charges, written beside it.
    EXPECT_EQ(bytes(output(QStringLiteral("eu_h2o8_allvec.pointcharge"))),
              bytes(data(QStringLiteral("writers/eu_h2o8_allvec.pointcharge"))));

    // The Z-matrix: one row per atom of the complex, the ion first.
    open(1, data(QStringLiteral("mopac/eu_acetate3_h2o2.out")));
    save(QStringLiteral("zmt"), output(QStringLiteral("complex.zmt")));
    EXPECT_EQ(lastBox().text, createdText + output(QStringLiteral("complex.zmt")));
    const QStringList zmt = QString::fromUtf8(bytes(output(QStringLiteral("complex.zmt")))).split('\n', Qt::SkipEmptyParts);
    const QStringList golden =
        QString::fromUtf8(bytes(data(QStringLiteral("writers/eu_acetate3_h2o2.zmt")))).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(zmt.size(), golden.size());
    EXPECT_TRUE(zmt.first().startsWith(QStringLiteral("Eu")));
}

// Each output kind adds its own suffix to a name typed without one.
TEST_F(ConverterFixture, OutputNamesTypedWithoutSuffixGetTheKindsSuffix)
{
    open(1, data(QStringLiteral("mopac/eu_h2o8_allvec.out")));
    for (const char* kind : {"inp", "mop", "gjf", "orcinp", "sph", "zmt"}) {
        const QString suffix = QString::fromLatin1(kind);
        SCOPED_TRACE(kind);
        if (!saveButton->isEnabled())
            open(1, data(QStringLiteral("mopac/eu_h2o8_allvec.out")));
        const QString typed = QStringLiteral("converted_") + suffix;
        const QString written = typed + QLatin1Char('.') + suffix;
        expectSavedWithFilterSuffix(dialogs, work.path(), typed, written, createdText, [&] {
            outputKind->setCurrentIndex(outputKind->findText(suffix, Qt::MatchStartsWith));
            QTest::mouseClick(saveButton, Qt::LeftButton);
        });
        EXPECT_EQ(outputField->text(), output(written));
    }
}

TEST_F(ConverterFixture, DistancesAndSpectraOfZindoAndOrcaOutputs)
{
    const struct
    {
        int kind;
        QString source;
        int program;
    } outputs[] = {
        {2, data("zindo/eu_co.zin"), OrvaneRL::Zindo},
        {3, data("orca/eu_h2o_tda.orcout"), OrvaneRL::Orca},
    };
    for (const auto& o : outputs) {
        SCOPED_TRACE(o.source.toStdString());
        // The report is the engine's for the program of the input kind.
        OrvaneRL reference(nullptr, o.source);
        ASSERT_TRUE(reference.calcRL(o.program));
        const QString expected = output(QStringLiteral("expected.spec"));
        reference.createOutput(expected);

        open(o.kind, o.source);
        const QString target = output(QStringLiteral("distances%1.spec").arg(o.kind));
        save(QStringLiteral("spec"), target);
        EXPECT_EQ(lastBox().text, createdText + target);
        EXPECT_EQ(bytes(target), bytes(expected));
    }

    const struct
    {
        int kind;
        QString source;
        int program;
    } spectra[] = {
        {2, data("zindo/ligand_layout2.zin"), OrvaneNormalizePoints::Zindo},
        {3, data("orca/eu_h2o_tda.orcout"), OrvaneNormalizePoints::Orca},
    };
    for (const auto& s : spectra) {
        SCOPED_TRACE(s.source.toStdString());
        open(s.kind, s.source);
        outputKind->setCurrentIndex(outputKind->findText(QStringLiteral("txt"), Qt::MatchStartsWith));
        page.findChild<QSpinBox*>(QStringLiteral("spinBoxHHW"))->setValue(30);
        page.findChild<QSpinBox*>(QStringLiteral("spinBoxMinimum"))->setValue(200);
        page.findChild<QSpinBox*>(QStringLiteral("spinBoxMaximum"))->setValue(600);
        const QString target = output(QStringLiteral("points%1.txt").arg(s.kind));
        save(QStringLiteral("txt"), target);
        EXPECT_EQ(lastBox().text, createdText + target);

        OrvaneNormalizePoints reference(nullptr, s.source, s.program);
        ASSERT_TRUE(reference.getLastError().isEmpty());
        reference.setParametersNormalization(30, 200, 600);
        const QString expected = output(QStringLiteral("expected.txt"));
        reference.createEspFile(expected);
        EXPECT_EQ(bytes(target), bytes(expected));
        const QStringList lines = QString::fromUtf8(bytes(target)).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), OrvaneNormalizePoints::gridPoints);
        // The window of the spin boxes, not the default 150-450 nm.
        EXPECT_NEAR(lines.first().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toDouble(), 200.0, 1e-6);
        EXPECT_NEAR(lines.last().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toDouble(), 600.0, 1e-6);
    }
}

TEST_F(ConverterFixture, TheOrcaInputLogsOnlyTheConverterLines)
{
    QSignalSpy lines(&page, &OrvaneFrmFilesConverter::newObjCalculationMessage);
    open(1, data(QStringLiteral("mopac/eu_h2o8_allvec.out")));
    save(QStringLiteral("orcinp"), output(QStringLiteral("run.orcinp")));
    EXPECT_EQ(lastBox().text, createdText + output(QStringLiteral("run.orcinp")));
    EXPECT_TRUE(QFile::exists(output(QStringLiteral("run.pointcharge"))));
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), QStringList({"run.orcinp", "run.pointcharge"}));
    ASSERT_FALSE(lines.isEmpty());
    for (const auto& line : lines)
        EXPECT_TRUE(line.at(0).toString().contains(QStringLiteral(" -> (Orvane Files Converter Module) ")))
            << line.at(0).toString().toStdString();
    EXPECT_TRUE(lines.first().at(0).toString().endsWith(QStringLiteral("Conversion from .out file to .orcinp file")));
}

TEST_F(ConverterFixture, DropsChooseTheInputKindByExtension)
{
    const struct
    {
        QString file;
        int kind;
    } accepted[] = {
        {"complex.ml2", 0}, {"complex.out", 1}, {"complex.zin", 2}, {"complex.orcout", 3}, {"complex.mol2", 0},
    };
    for (const auto& a : accepted) {
        SCOPED_TRACE(a.file.toStdString());
        const QString path = output(a.file);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("dropped " + a.file.toUtf8() + "\n");
        }
        const DragResult result = drop(path);
        EXPECT_TRUE(result.enterAccepted);
        EXPECT_EQ(inputKind->currentIndex(), a.kind);
        EXPECT_EQ(inputField->text(), path);
        EXPECT_EQ(page.getInputFileName(), path);
        EXPECT_EQ(inputView->toPlainText(), QStringLiteral("dropped ") + a.file + QLatin1Char('\n'));
        EXPECT_TRUE(saveButton->isEnabled());
    }
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // A Gaussian log is refused and never becomes the input.
    const QString kept = page.getInputFileName();
    dialogs.pressButton(QMessageBox::Ok);
    drop(data(QStringLiteral("gaussian/eu_h2o_td.log")));
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(lastBox().kind, OrvaneDialogs::Kind::Warning);
    EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Warning"));
    EXPECT_EQ(lastBox().text, QStringLiteral("The desired file contains an unknown extension (log).\n"
                                             "Please, try to open another file."));
    EXPECT_FALSE(saveButton->isEnabled());
    EXPECT_EQ(page.getInputFileName(), kept);
    EXPECT_EQ(inputField->text(), kept);

    // A file that cannot be read is named in a warning; the view stays empty.
    dialogs.pressButton(QMessageBox::Ok);
    const QString missing = output(QStringLiteral("missing.out"));
    drop(missing);
    EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Warning"));
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("ORVANE could not read file ") + missing + QStringLiteral(":\n")));
    EXPECT_TRUE(inputView->toPlainText().isEmpty());
}

TEST_F(ConverterFixture, FailuresAreReportedWithTheEngineReason)
{
    const QString noFolder = output(QStringLiteral("no/such/folder/"));
    const struct
    {
        int kind;
        QString source;
        QString outputKind;
        QString target;
        QString reasonPart;
    } cases[] = {
        // Targets that cannot be written.
        {0, data("writers/eu_aqua3.mol2"), "mop", noFolder + "a.mop", noFolder + "a.mop"},
        {1, data("mopac/eu_h2o8_allvec.out"), "inp", noFolder + "a.inp", noFolder + "a.inp"},
        {1, data("mopac/eu_h2o8_allvec.out"), "orcinp", noFolder + "a.orcinp", noFolder},
        {2, data("zindo/eu_co.zin"), "spec", noFolder + "a.spec", noFolder + "a.spec"},
        {3, data("orca/eu_h2o_tda.orcout"), "txt", noFolder + "a.txt", noFolder + "a.txt"},
        // Sources the engine cannot read.
        {1, data("zindo/eu_co.zin"), "gjf", "wrong.gjf", ""},
        {3, data("mopac/eu_h2o8_allvec.out"), "spec", "wrong.spec", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        open(c.kind, c.source);
        const QString target = c.target.startsWith('/') ? c.target : output(c.target);
        const int before = dialogs.requests().size();
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        outputKind->setCurrentIndex(outputKind->findText(c.outputKind, Qt::MatchStartsWith));
        QTest::mouseClick(saveButton, Qt::LeftButton);
        ASSERT_EQ(dialogs.requests().size(), before + 2) << "save dialog, then one box";
        EXPECT_EQ(lastBox().kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Error"));
        EXPECT_FALSE(lastBox().text.isEmpty());
        EXPECT_TRUE(lastBox().text.contains(c.reasonPart)) << lastBox().text.toStdString();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(outputView->toPlainText().isEmpty());
        EXPECT_TRUE(saveButton->isEnabled()) << "the user may choose another target";
    }
}

TEST_F(ConverterFixture, AFileThatCannotBeShownIsNamedOnceWithTheCause)
{
    for (const UnshowableFile& c : makeUnshowableFiles(work.path(), QStringLiteral("out"))) {
        SCOPED_TRACE(c.file.toStdString());
        dialogs.pressButton(QMessageBox::Ok);
        drop(c.file);
        EXPECT_EQ(lastBox().kind, OrvaneDialogs::Kind::Warning);
        EXPECT_EQ(lastBox().title, QStringLiteral("ORVANE Warning"));
        EXPECT_EQ(lastBox().text, QStringLiteral("ORVANE could not read file %1:\n%2.").arg(c.file, c.cause));
        EXPECT_TRUE(inputView->toPlainText().isEmpty());
    }
}
