#ifndef ORVANEOMEGAEXP_H
#define ORVANEOMEGAEXP_H

#include "orvaneabstractobjcalculation.h"

#include <QString>

// Experimental Omega2, Omega4 and the radiative rate of Eu(III) from the
// areas and barycentres of the measured 5D0 -> 7FJ bands (J = 0..5), with the
// magnetic-dipole band 5D0 -> 7F1 as internal reference.
class ORVANEENGINE_EXPORT OrvaneOmegaExp : public OrvaneAbstractObjCalculation
{
public:
    OrvaneOmegaExp(QObject* parent, const double& refractiveIndex);

    void setFileName(const QString& name) { fileName = name; }
    void setAreaOfTransition(const double& a0, const double& a1, const double& a2, const double& a3,
                             const double& a4, const double& a5);
    void setBarycenterOfEnergy(const double& e0, const double& e1, const double& e2, const double& e3,
                               const double& e4, const double& e5);
    void setLifeTime(const double& milliseconds) { lifeTime = milliseconds; }

    // False, with the reason in the last error, when a band the formulas divide
    // by is missing (no 7F1 area, or a zero barycentre of a band with an area).
    bool calcOmegaExp();
    // The report; written to `name` (returning an empty text) or, for an empty
    // name, returned. A file that cannot be written leaves the reason in the
    // last error. Nothing is written or returned after a refused calcOmegaExp
    // (its reason stays in the last error); otherwise the members are used as
    // they are.
    QString createOutputFile(const QString& name);

    double getOmega2Exp() const { return omega2Exp; }
    double getOmega4Exp() const { return omega4Exp; }
    double getAradExp() const { return aradExp; }
    double getR02() const { return r02; }

    QString fileName;
    double area[6] = {0, 0, 0, 0, 0, 0};
    double barycenter[6] = {0, 0, 0, 0, 0, 0};
    double omega2Exp = 0.0;
    double omega4Exp = 0.0;
    double refractiveIndex = 0.0;
    double r02 = 0.0;
    double aradExp = 0.0;
    double lifeTime = 0.0; // ms; 0 when none was measured

private:
    bool refused = false; // the last calcOmegaExp refused its inputs
};

#endif
