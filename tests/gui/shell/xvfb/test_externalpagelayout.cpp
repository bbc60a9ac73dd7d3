// The MOPAC and ORCA pages on a real X server at a common desktop size: the
// output view and the molecule view get the spare height (the keyword panel
// keeps its own), and the floating molecule viewer lands centred on its
// screen. Screenshots go to the build tree for a look by eye.

#include "../../support/guitestsupport.h"

#include "glmolecule.h"
#include "orvanefrmexternalcalculationmodule.h"

#include <QDir>
#include <QDockWidget>
#include <QScreen>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    return QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/") + name;
}

} // namespace

TEST(ExternalPageLayout, OutputAndViewerTakeTheSpareHeight)
{
    IsolatedTempFolder temp;
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        OrvaneFrmExternalCalculationModule page(nullptr, mode);
        page.resize(1600, 1000);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        QTest::qWait(100);
        EXPECT_TRUE(page.grab().save(artifact(QStringLiteral("external_page_mode%1_1600x1000.png").arg(mode))));

        const auto* output = page.findChild<QTabWidget*>(QStringLiteral("tabWidgetViewFiles"));
        ASSERT_NE(output, nullptr);
        EXPECT_GE(output->height(), page.height() / 2) << "output view " << output->height() << " px of "
                                                       << page.height();
        if (mode == 0) {
            const auto* viewer = page.findChild<GLMolecule*>();
            ASSERT_NE(viewer, nullptr);
            EXPECT_GE(viewer->height(), page.height() / 3) << "molecule view " << viewer->height() << " px";
            EXPECT_GE(viewer->width(), page.width() / 4) << "molecule view " << viewer->width() << " px";
        }
    }
}

TEST(ExternalPageLayout, TheFloatingMoleculeViewerIsCentredOnItsScreen)
{
    IsolatedTempFolder temp;
    OrvaneFrmExternalCalculationModule page(nullptr, 0);
    page.resize(1200, 800);
    page.move(0, 0);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* dock = page.findChild<QDockWidget*>(QStringLiteral("dockWidget"));
    ASSERT_NE(dock, nullptr);
    dock->setFloating(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dock));
    QTest::qWait(200);
    const QRect area = dock->screen()->availableGeometry();
    EXPECT_LE((dock->frameGeometry().center() - area.center()).manhattanLength(), 4)
        << "centre at " << dock->frameGeometry().center().x() << "," << dock->frameGeometry().center().y()
        << ", screen centre " << area.center().x() << "," << area.center().y();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(artifact(QStringLiteral("floating_viewer.png"))));
}
