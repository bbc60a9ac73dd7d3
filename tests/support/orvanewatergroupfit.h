#ifndef ORVANEWATERGROUPFIT_H
#define ORVANEWATERGROUPFIT_H

#include "orvanefixtures.h"
#include "orvanegsa.h"
#include "orvaneparametric.h"

#include <QFile>
#include <QMap>
#include <QStringList>

// A group fit of [Eu(H2O)8]3+ (the eight O donors in one group) to Omega2
// and Omega4 (1e-20 cm^2), run to its end on the calling thread from the
// form's start point; its report goes to `report`.
inline OrvaneGSA::FitState runWaterGroupFit(OrvaneParametric& model, const QString& report, double omega2,
                                            double omega4, const OmegaPrintingOptions& options, int steps)
{
    QMap<int, QStringList> groups;
    for (int atom = 2; atom <= 9; ++atom)
        groups[0] << QStringLiteral("O %1").arg(atom);
    if (!model.setGroupsAndAtoms(groups))
        return OrvaneGSA::FitState::Failed;
    model.setCoordNumber(8);
    model.setOmegaExp(omega2 * 1e-20, omega4 * 1e-20);
    model.setOmegaPrintingOptions(options);
    model.setFileNameOmg(report);
    double start[2] = {0.45, 4.5};
    double* x = start;
    OrvaneAbstractParametric* problem = &model;
    OrvaneGSA gsa(nullptr, 2, x, problem);
    gsa.setNStopMax(steps);
    gsa.initializeGSA();
    return gsa.getFitState();
}

#endif
