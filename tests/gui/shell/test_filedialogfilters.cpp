// Every name filter the MOPAC, ORCA, Files Converter and viewer pages hand
// to a file dialog, read the way Qt's own (non-native) dialog reads it on
// this platform, must list exactly the files of the kind the page asks for.
// A filter whose patterns Qt cannot split (";" between them) lists nothing.

#include "externalpagetestsupport.h"

#include "orvanefrmfilesconverter.h"
#include "orvanefrmfileviewer.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSet>

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
