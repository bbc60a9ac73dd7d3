#ifndef OMEGAPRINTINGOPTIONS_H
#define OMEGAPRINTINGOPTIONS_H

// The sections of the intensity-parameter report, one flag each.
struct OmegaPrintingOptions {
    bool betaAndRo = false;
    bool bltpParameters = false;
    bool bltpParametersDC = false;
    bool bltpParametersED = false;
    bool constantValues = false;
    bool GAMA = false;
    bool sumGAMA = false;
    bool gAndAlpha = false;
    bool omega = false;
    bool omegaDC = false;
    bool omegaED = false;
    bool sphericalCoordinates = false;
    bool sphericalHarmonicals = false;
    bool gama = false;
    bool sumgama = false;
    bool arad = false;
    bool ligandContributionForArad = false;
    bool bkq = false;
};

#endif
