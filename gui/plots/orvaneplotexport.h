#ifndef ORVANEPLOTEXPORT_H
#define ORVANEPLOTEXPORT_H

#include <QString>

class AbstractObjCalculationWidget;
class QCustomPlot;

// Writes a plot of a form as a PNG image of a fixed size. On success the form
// logs where it went and the user is told; a failed write is reported as
// such, never as a success.
namespace OrvanePlotExport {

bool savePng(AbstractObjCalculationWidget* form, QCustomPlot* plot, const QString& fileName, int width,
             int height, const QString& moduleName);

} // namespace OrvanePlotExport

#endif
