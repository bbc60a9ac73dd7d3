#include "orvaneplotexport.h"

#include "abstractobjcalculationwidget.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"
#include "orvanereportfile.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>

namespace OrvanePlotExport {

bool writePng(QCustomPlot* plot, const QString& fileName, int width, int height, QString& reason)
{
    QImage image = plot->toPixmap(width, height, 1.0).toImage();
    // 96 dots per inch, as the plot's own export marks its images.
    const int dotsPerMeter = qRound(96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QByteArray png;
    QBuffer buffer(&png);
    // Quality -1: the image writer's default compression.
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", -1)) {
        reason = QStringLiteral("The graph could not be drawn as a PNG image for %1.").arg(fileName);
        return false;
    }
    return OrvaneReportFile::write(fileName, png, reason);
}

bool savePng(AbstractObjCalculationWidget* form, QCustomPlot* plot, const QString& fileName, int width,
             int height, const QString& moduleName)
{
    QString reason;
    if (!writePng(plot, fileName, width, height, reason)) {
        OrvaneDialogs::critical(form, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The graph could not be written to: ") + fileName + QStringLiteral("\n")
                                    + reason);
        return false;
    }
    emit form->newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleName, QStringLiteral("Saving graph... The graph was saved at ") + QFileInfo(fileName).absolutePath()));
    OrvaneDialogs::information(form, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at: ") + fileName);
    return true;
}

} // namespace OrvanePlotExport
