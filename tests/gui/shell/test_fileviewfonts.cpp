// Every view of a file (the tabs of the MOPAC and ORCA pages, the viewer,
// both views of the Files Converter) shows the outputs' tables of numbers in
// columns: every character as wide as every other, in normal weight.

#include "externalpagetestsupport.h"

#include "orvanefrmfilesconverter.h"
#include "orvanefrmfileviewer.h"

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
