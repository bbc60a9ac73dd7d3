// Every PNG export of the plots goes through one path: the image is made in
// memory and written like a report, so a full disk fails with its reason and
// leaves the earlier image of that name whole, with no partial file beside it.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"
#include "orvanesmalldisk.h"

#include "orvanefrmplotabsorptionspectrum.h"
#include "orvaneplotexport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <qcustomplot.h>

#include <gtest/gtest.h>

using OrvaneFixtures::contents;

namespace {

const QString noSpace = QStringLiteral("No space left on device");

void drawLine(QCustomPlot& plot)
{
    plot.addGraph()->setData({400.0, 500.0, 600.0}, {0.0, 1.0, 0.5});
    plot.rescaleAxes();
}

} // namespace

TEST(PlotExport, WritesAPngOfTheAskedSize)
{
    IsolatedTempFolder temp;
    QCustomPlot plot;
    drawLine(plot);
    const QString png = temp.filePath(QStringLiteral("plot.png"));
    OrvaneFixtures::writeFile(png, "an earlier file of the same name");
    QString reason;
    ASSERT_TRUE(OrvanePlotExport::writePng(&plot, png, 640, 320, reason)) << reason.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(640, 320));
    EXPECT_EQ(image.dotsPerMeterX(), qRound(96 / 0.0254));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plot.png")});
}

TEST(PlotExport, AFullDiskKeepsTheEarlierPngWhole)
{
    IsolatedTempFolder temp;
    SmallDisk disk(temp.path());
    if (!disk.mounted)
        GTEST_SKIP() << disk.skipReason;
    QCustomPlot plot;
    drawLine(plot);
    const QString png = disk.path(QStringLiteral("spectrum.png"));
    QString reason;
    ASSERT_TRUE(OrvanePlotExport::writePng(&plot, png, 1000, 400, reason)) << reason.toStdString();
    const QByteArray earlier = contents(png);
    ASSERT_FALSE(QImage(png).isNull());
    ASSERT_TRUE(disk.fill());

    // The common path of the emission and CIE forms.
    plot.graph(0)->setData({400.0, 700.0}, {1.0, 0.0});
    EXPECT_FALSE(OrvanePlotExport::writePng(&plot, png, 1000, 400, reason));
    EXPECT_TRUE(reason.contains(noSpace)) << reason.toStdString();
    EXPECT_TRUE(reason.contains(png)) << reason.toStdString();
    EXPECT_EQ(contents(png), earlier);

    // The absorption page, through its own dialogs.
    DialogScript dialogs;
    OrvaneFrmPlotAbsorptionSpectrum form;
    const QString output = temp.filePath(QStringLiteral("run.log"));
    ASSERT_TRUE(QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("gaussian/eu_h2o_td.log")), output));
    form.setInputFileName(output);
    form.findChild<QPushButton*>(QStringLiteral("btnPlotGraph"))->click();
    auto* save = form.findChild<QPushButton*>(QStringLiteral("btnSaveGraph"));
    ASSERT_TRUE(save->isEnabled());
    dialogs.chooseFile(png);
    dialogs.pressButton(QMessageBox::Ok);
    save->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).kind, OrvaneDialogs::Kind::Critical);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(1).text.contains(noSpace)) << dialogs.requests().at(1).text.toStdString();
    EXPECT_EQ(contents(png), earlier);

    // No temporary or partial file is left beside it.
    QStringList left = QDir(disk.path(QString())).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("filler"), QStringLiteral("spectrum.png")}));
}
