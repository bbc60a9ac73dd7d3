// Every name filter the MOPAC, ORCA, Files Converter and viewer pages hand
// to a file dialog, read the way Qt's own (non-native) dialog reads it on
// this platform, must list exactly the files of the kind the page asks for.
// A filter whose patterns Qt cannot split (";" between them) lists nothing.
// A save dialog adds the suffix of the selected filter to a name without one.

#include "externalpagetestsupport.h"

#include "orvanefrmfilesconverter.h"
#include "orvanefrmfileviewer.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTimer>

using namespace externalpage;

namespace {

// The patterns Qt's file dialog applies for a filter: the dialog's own model
// holds them once the filter is selected.
QStringList patternsOfFilter(const QString& filter)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(filter);
    const auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model) {
        ADD_FAILURE() << "no file-system model in Qt's dialog";
        return {};
    }
    return model->nameFilters();
}

// The file names of folder that the filter lets the dialog show.
QSet<QString> listedBy(const QString& filter, const QString& folder)
{
    const QStringList names = QDir(folder).entryList(patternsOfFilter(filter), QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

QSet<QString> set(std::initializer_list<const char*> names)
{
    QSet<QString> result;
    for (const char* name : names)
        result << QString::fromLatin1(name);
    return result;
}

std::string describe(const QSet<QString>& names)
{
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted.join(QStringLiteral(", ")).toStdString();
}

class FilterFixture : public PageFixture
{
protected:
    void SetUp() override
    {
        folder = temp.filePath(QStringLiteral("files"));
        for (const char* name : {"complex.mol2", "complex.ml2", "complex.mop", "complex.out", "complex.orcinp",
                                 "complex.orcout", "complex.zin", "complex.inp", "complex.gjf", "complex.sph",
                                 "complex.zmt", "complex.spec", "complex.txt", "complex.log", "MOPAC2016.exe",
                                 "mopac", "orca", "orca.exe", "notes"})
            writeText(folder + QLatin1Char('/') + QString::fromLatin1(name), QStringLiteral("x\n"));
    }

    // The filter of the next file dialog that action opens (answered as
    // cancelled).
    QString filterOf(const std::function<void()>& action)
    {
        const int before = dialogs.requests().size();
        dialogs.cancel();
        action();
        if (dialogs.requests().size() != before + 1) {
            ADD_FAILURE() << "no file dialog was opened";
            return QString();
        }
        return dialogs.requests().last().filter;
    }

    void expectListed(const QString& what, const QString& filter, const QSet<QString>& expected)
    {
        const QSet<QString> listed = listedBy(filter, folder);
        EXPECT_EQ(listed, expected) << what.toStdString() << ": filter \"" << filter.toStdString()
                                    << "\" lists " << describe(listed) << ", wanted " << describe(expected);
    }

    QString folder;
};

} // namespace

TEST_F(FilterFixture, QtsOwnDialogSplitsPatternsAtBlanksOnly)
{
    // The rule itself: blanks split, semicolons do not.
    EXPECT_EQ(listedBy(QStringLiteral("x (*.ml2;*.mol2)"), folder), QSet<QString>());
    EXPECT_EQ(listedBy(QStringLiteral("x (*.ml2 *.mol2)"), folder), set({"complex.ml2", "complex.mol2"}));
}

TEST_F(FilterFixture, ExternalCalculationPagesListTheInputsOfTheChosenKind)
{
    const struct
    {
        int mode;
        const char* radio;
        QSet<QString> listed;
    } cases[] = {
        {0, "rdbMOL2File", set({"complex.mol2", "complex.ml2"})},
        {0, "rdbMopFile", set({"complex.mop"})},
        {0, "rdbMopacOut1", set({"complex.out"})},
        {1, "rdbMopacOut2", set({"complex.out"})},
        {1, "rdbOrcaInput", set({"complex.orcinp"})},
    };
    for (const auto& c : cases) {
        createPage(c.mode);
        widget<QRadioButton>(c.radio)->setChecked(true);
        expectListed(QString::fromLatin1(c.radio), filterOf([&] { click("btnChooseFile"); }), c.listed);
    }

    // The program dialogs list the programs by their names on this platform.
    createPage(0);
    expectListed(QStringLiteral("MOPAC program"), filterOf([&] { click("btnSetExternalProgramPath"); }),
                 set({"MOPAC2016.exe", "mopac", "orca.exe"}));
    createPage(1);
    expectListed(QStringLiteral("ORCA program"), filterOf([&] { click("btnSetExternalProgramPath"); }),
                 set({"orca", "orca.exe"}));
}

TEST_F(FilterFixture, FilesConverterListsItsInputsAndSavesItsOutputs)
{
    OrvaneFrmFilesConverter converter(nullptr);
    auto* inputKind = converter.findChild<QComboBox*>(QStringLiteral("cbxInpFile"));
    auto* outputKind = converter.findChild<QComboBox*>(QStringLiteral("cbxOutFile"));
    auto* openButton = converter.findChild<QAbstractButton*>(QStringLiteral("btnOpenInputFile"));
    auto* saveButton = converter.findChild<QAbstractButton*>(QStringLiteral("btnSaveOutputFile"));
    ASSERT_TRUE(inputKind && outputKind && openButton && saveButton);

    const QSet<QString> inputs[] = {set({"complex.mol2", "complex.ml2"}), set({"complex.out"}),
                                    set({"complex.zin"}), set({"complex.orcout"})};
    ASSERT_EQ(inputKind->count(), 4);
    for (int kind = 0; kind < inputKind->count(); ++kind) {
        inputKind->setCurrentIndex(kind);
        expectListed(inputKind->currentText(), filterOf([&] { openButton->click(); }), inputs[kind]);

        // With an input chosen, every output kind saves under its own suffix.
        dialogs.chooseFile(folder + QStringLiteral("/complex.log"));
        openButton->click();
        for (int output = 0; output < outputKind->count(); ++output) {
            outputKind->setCurrentIndex(output);
            const QString suffix = outputKind->currentText().section(QLatin1Char(' '), 0, 0);
            expectListed(outputKind->currentText(), filterOf([&] { saveButton->click(); }),
                         {QStringLiteral("complex.") + suffix});
        }
    }
}

TEST_F(FilterFixture, FileViewerOpensAnyFileAndSavesUnderTheShownSuffix)
{
    OrvaneFrmFileViewer viewer;
    auto* openButton = viewer.findChild<QAbstractButton*>(QStringLiteral("btnOpenFile"));
    auto* saveButton = viewer.findChild<QAbstractButton*>(QStringLiteral("btnSaveFile"));
    ASSERT_TRUE(openButton && saveButton);
    const QSet<QString> everything = [&] {
        const QStringList names = QDir(folder).entryList(QDir::Files);
        return QSet<QString>(names.begin(), names.end());
    }();
    expectListed(QStringLiteral("viewer open"), filterOf([&] { openButton->click(); }), everything);
    viewer.loadFile(folder + QStringLiteral("/complex.orcout"));
    expectListed(QStringLiteral("viewer save"), filterOf([&] { saveButton->click(); }), set({"complex.orcout"}));
}

TEST(SaveDialogSuffix, TypedNamesGetTheSelectedFiltersSuffixWhenTheyHaveNone)
{
    QTemporaryDir temp;
    const QString folder = temp.path() + QStringLiteral("/run.d/");
    const QString two = QStringLiteral("Images (*.png *.jpg);;Text (*.txt)");
    const struct
    {
        const char* typed;
        QString filters;
        QString selected;
        const char* written;
    } cases[] = {
        {"abs_points", QStringLiteral("esp File (*.esp)"), QString(), "abs_points.esp"},
        {"abs_points.esp", QStringLiteral("esp File (*.esp)"), QString(), "abs_points.esp"},
        // A name with another suffix keeps it: the page decides whether to refuse it.
        {"abs_points.txt", QStringLiteral("esp File (*.esp)"), QString(), "abs_points.txt"},
        {"abs.points", QStringLiteral("esp File (*.esp)"), QString(), "abs.points"},
        {"graph", QStringLiteral("png Image(*.png)"), QString(), "graph.png"},
        {"graph", two, QString(), "graph.png"},
        {"graph", two, QStringLiteral("Images (*.png *.jpg)"), "graph.png"},
        {"graph", two, QStringLiteral("Text (*.txt)"), "graph.txt"},
        {"graph.jpg", two, QStringLiteral("Text (*.txt)"), "graph.jpg"},
        {"orvane-2", QStringLiteral("Archives (*.tar.gz)"), QString(), "orvane-2.tar.gz"},
        {"setup", QStringLiteral("*.exe"), QString(), "setup.exe"},
        {"copy", QStringLiteral(".out File (*.out)"), QString(), "copy.out"},
        // Filters that name no suffix add none.
        {"notes", QStringLiteral("All files (*)"), QString(), "notes"},
        {"notes", QStringLiteral("Any (*.*)"), QString(), "notes"},
        {"notes", QStringLiteral(". File (*.)"), QString(), "notes"},
        {"notes", QString(), QString(), "notes"},
    };
    for (const auto& c : cases) {
        const QString typed = folder + QString::fromLatin1(c.typed);
        SCOPED_TRACE(typed.toStdString() + " under " + c.filters.toStdString() + " / " + c.selected.toStdString());
        DialogScript dialogs;
        dialogs.chooseFile(typed, c.selected);
        EXPECT_EQ(OrvaneDialogs::saveFileName(nullptr, QStringLiteral("Save File"), temp.path(), c.filters),
                  folder + QString::fromLatin1(c.written));
        ASSERT_EQ(dialogs.requests().size(), 1);
        EXPECT_EQ(dialogs.requests().at(0).filter, c.filters);
    }

    // Cancelled stays cancelled; open dialogs return the name as chosen.
    DialogScript dialogs;
    dialogs.cancel();
    EXPECT_TRUE(OrvaneDialogs::saveFileName(nullptr, QString(), temp.path(), QStringLiteral("x (*.esp)")).isEmpty());
    dialogs.chooseFile(folder + QStringLiteral("input"));
    EXPECT_EQ(OrvaneDialogs::openFileName(nullptr, QString(), temp.path(), QStringLiteral("x (*.esp)")),
              folder + QStringLiteral("input"));
}

// Qt's own save dialog, driven as a user would: the default suffix follows
// the filter selected, and the replace question names the file that would be
// written, not the typed name.
TEST(SaveDialogSuffix, TheRealDialogAddsTheSuffixAndAsksAboutTheNameWritten)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QFile existing(temp.filePath(QStringLiteral("abs_points.txt")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    QStringList questions;
    int dialogsSeen = 0;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << box->text();
            box->button(QMessageBox::No)->click();
            return;
        }
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog || !dialog->isVisible())
            return;
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!types || !name) {
            ADD_FAILURE() << "not Qt's own dialog";
            dialog->reject();
            return;
        }
        ++dialogsSeen;
        // First the text filter (taken back after the replace question),
        // then the one the dialog started with.
        QTest::keyClick(types, dialogsSeen == 1 ? Qt::Key_Down : Qt::Key_Up);
        name->setText(QStringLiteral("abs_points"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    driver.start();
    const QString written = OrvaneDialogs::saveFileName(nullptr, QStringLiteral("Save File"), temp.path(),
                                                        QStringLiteral("esp File (*.esp);;Text (*.txt)"));
    driver.stop();
    EXPECT_EQ(dialogsSeen, 2);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.at(0).contains(QStringLiteral("abs_points.txt"))) << questions.at(0).toStdString();
    EXPECT_EQ(QFileInfo(QFileInfo(written).absolutePath()).canonicalFilePath(),
              QFileInfo(temp.path()).canonicalFilePath());
    EXPECT_EQ(QFileInfo(written).fileName(), QStringLiteral("abs_points.esp"));
}
