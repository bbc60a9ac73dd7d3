#ifndef ORVANEFRMEXTERNALCALCULATIONMODULE_TEXTS_H
#define ORVANEFRMEXTERNALCALCULATIONMODULE_TEXTS_H

#include <QString>

// Texts that more than one source file of OrvaneFrmExternalCalculationModule
// uses; private to that class.
namespace OrvaneExternalCalculationTexts {

inline const QString notRunningText = QStringLiteral("The calculation is not running.");
inline const QString mopacHint =
    QStringLiteral("Drag and drop a .mol2/.mop/.out file here OR click on button Open to open it");
inline const QString orcaHint =
    QStringLiteral("Drag and drop a .out/.orcinp file here OR click on button Open to open it");

inline const QString moduleGeometry = QStringLiteral("Orvane Geometry Optimization");

} // namespace OrvaneExternalCalculationTexts

#endif
