#include "orvaneplotexport.h"

#include "abstractobjcalculationwidget.h"
#include "orvaneabstractobjcalculation.h"
#include "orvanedialogs.h"

#include <qcustomplot.h>

#include <QFileInfo>

namespace OrvanePlotExport {

bool savePng(AbstractObjCalculationWidget* form, QCustomPlot* plot, const QString& fileName, int width,
             int height, const QString& moduleName)
{
    // Quality -1: the image writer's default compression.
    if (!plot->savePng(fileName, width, height, 1.0, -1)) {
        OrvaneDialogs::critical(form, QStringLiteral("ORVANE Error"),
                                QStringLiteral("The graph could not be written to: ") + fileName);
        return false;
    }
    emit form->newObjCalculationMessage(OrvaneAbstractObjCalculation::progressLine(
        moduleName, QStringLiteral("Saving graph... The graph was saved at ") + QFileInfo(fileName).absolutePath()));
    OrvaneDialogs::information(form, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at: ") + fileName);
    return true;
}

} // namespace OrvanePlotExport
