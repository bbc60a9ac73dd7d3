#ifndef ORVANEFRMSPECTROSCOPICCALCULATION_TEXTS_H
#define ORVANEFRMSPECTROSCOPICCALCULATION_TEXTS_H

#include <QString>

// Texts that more than one source file of OrvaneFrmSpectroscopicCalculation
// uses; private to that class.
namespace OrvaneSpectroscopicCalculationTexts {

inline const QString mopacHint = QStringLiteral("Drag and drop a .out/.mop file here OR click on button Open to open it");
inline const QString orcaHint = QStringLiteral("Drag and drop a .orcout file here OR click on button Open to open it");
inline const QString gaussianHint = QStringLiteral("Drag and drop a .log file here OR click on button Open to open it");
inline const QString defaultPartition = QStringLiteral("LIG1 2 3\nLIG2 4 5\nLIG3 6 7");

} // namespace OrvaneSpectroscopicCalculationTexts

#endif
