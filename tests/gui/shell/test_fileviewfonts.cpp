// Every view of a file (the tabs of the MOPAC and ORCA pages, the viewer,
// both views of the Files Converter) shows the outputs' tables of numbers in
// columns: every character as wide as every other, in normal weight.

#include "externalpagetestsupport.h"

#include "orvanefrmfilesconverter.h"
#include "orvanefrmfileviewer.h"
#include "orvanefrmplotabsorptionspectrum.h"
#include "orvanefrmplotemissionspectrum.h"
#include "orvanefrmspectroscopiccalculation.h"

#include <QTabWidget>

#include <QFontInfo>
#include <QFontMetrics>

using namespace externalpage;

namespace {

void expectColumns(const char* what, QPlainTextEdit* view)
{
    ASSERT_NE(view, nullptr) << what;
    const QFontMetrics metrics(view->font());
    const int width = metrics.horizontalAdvance(QLatin1Char('M'));
    for (const QChar character : QStringLiteral("il1.0- 9W"))
        EXPECT_EQ(metrics.horizontalAdvance(character), width) << what << ": '" << QString(character).toStdString()
                                                               << "' is not as wide as 'M'";
    const QFontInfo info(view->font());
    EXPECT_EQ(info.weight(), int(QFont::Normal)) << what;
    EXPECT_FALSE(info.bold()) << what;
}

using FontFixture = PageFixture;

} // namespace

TEST_F(FontFixture, EveryFileViewLinesUpColumnsInNormalWeight)
{
    for (int mode : {0, 1}) {
        createPage(mode);
        page->show();
        expectColumns(mode == 0 ? "MOPAC page input" : "ORCA page input", tab(0));
        expectColumns(mode == 0 ? "MOPAC page output" : "ORCA page output", tab(1));
    }

    OrvaneFrmFileViewer viewer;
    viewer.show();
    expectColumns("viewer", viewer.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit")));

    // The converter's views sit in bold group boxes.
    OrvaneFrmFilesConverter converter(nullptr);
    converter.show();
    expectColumns("converter input", converter.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEditInpFile")));
    expectColumns("converter output", converter.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEditOutFile")));
}

TEST(Module3FontTest, EveryTextViewOfModule3LinesUpColumnsInNormalWeight)
{
    IsolatedTempFolder temp;
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        OrvaneFrmSpectroscopicCalculation form(nullptr, mode);
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"));
        ASSERT_NE(tabs, nullptr);
        for (int tab = 0; tab < tabs->count(); ++tab)
            expectColumns(qPrintable(tabs->tabText(tab)), qobject_cast<QPlainTextEdit*>(tabs->widget(tab)));
    }
    // The absorption page's file view enters its tabs once a file is loaded.
    OrvaneFrmPlotAbsorptionSpectrum absorption;
    absorption.setInputFileName(OrvaneFixtures::dataPath(QStringLiteral("orca/eu_h2o_tda.orcout")));
    auto* absorptionTabs = absorption.findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"));
    ASSERT_NE(absorptionTabs, nullptr);
    expectColumns("absorption file", qobject_cast<QPlainTextEdit*>(absorptionTabs->widget(0)));
    OrvaneFrmPlotEmissionSpectrum emission;
    expectColumns("emission report", emission.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit")));
}
