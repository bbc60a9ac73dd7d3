#ifndef ORVANEPLOTEXPORT_H
#define ORVANEPLOTEXPORT_H

#include <QString>

class AbstractObjCalculationWidget;
class QCustomPlot;

// Writes a plot of a form as a PNG image of a fixed size. The image is made
// in memory and written through the report writer: a failed write (a full
// disk) leaves any earlier file of that name whole and no partial file.
namespace OrvanePlotExport {

// The plain write: false with the reason when the file was not written.
bool writePng(QCustomPlot* plot, const QString& fileName, int width, int height, QString& reason);

// The write with what a form says about it: on success the form logs where
// it went and the user is told; a failure is reported as such, never as a
// success.
bool savePng(AbstractObjCalculationWidget* form, QCustomPlot* plot, const QString& fileName, int width,
             int height, const QString& moduleName);

} // namespace OrvanePlotExport

#endif
