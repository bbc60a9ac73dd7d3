#ifndef ORVANEFITPOINT_H
#define ORVANEFITPOINT_H

#include "omegaprintingoptions.h"
#include "orvaneeu3model.h"
#include "orvanefitbounds.h"
#include "orvanefitsummary.h"

#include <array>

class OrvaneOmega;

// The part both intensity-parameter fits share: the charge factor g and the
// polarizability alpha of every donor at the point being evaluated, by atom
// number, the bounds each donor must keep, and the evaluation of the
// intensity parameters at such values. Its arrays live as long as the fit,
// so an evaluation allocates nothing.
class OrvaneFitPoint
{
public:
    using AtomValues = std::array<double, OrvaneEu3Model::atomArraySize>;
    using AtomBounds = std::array<OrvaneFitBounds::Bounds, OrvaneEu3Model::atomArraySize>;

    // Zero values and no bounds.
    void clear();
    // Donors 2..coordNumber+1 all within their bounds (alpha compared in
    // 1e-24 cm^3).
    bool withinBounds(int coordNumber) const;

    // values[atom], 0 for an atom number outside the arrays.
    static double at(const AtomValues& values, int atom);

    // Hands g and alpha (cm^3) to omega with the fit's settings and computes
    // the intensity parameters; omega keeps pointers to the arrays.
    static void prepare(OrvaneOmega& omega, AtomValues& g, AtomValues& alphaValues, int coordNumber,
                        double refractiveIndex, const OmegaPrintingOptions& options);
    static bool evaluate(OrvaneOmega& omega, AtomValues& g, AtomValues& alphaValues, int coordNumber,
                         double refractiveIndex, const OmegaPrintingOptions& options);
    // The same at this point.
    bool evaluate(OrvaneOmega& omega, int coordNumber, double refractiveIndex, const OmegaPrintingOptions& options);

    // The targets of both fits, Omega2 and Omega4 (cm^2), against the values
    // `omega` computed last, in 10^-20 cm^2.
    static OrvaneFitSummary intensitySummary(const double& omega2Exp, const double& omega4Exp,
                                             const OrvaneOmega& omega);
    // Hands the summary to the report of `omega` as its fit section.
    static void setReportSection(OrvaneOmega& omega, const OrvaneFitSummary& summary);

    AtomValues chargeFactor {};
    AtomValues alpha {};      // cm^3, for the model
    AtomValues alphaUnits {}; // 1e-24 cm^3, for the bounds
    AtomBounds bounds {};
};

#endif
