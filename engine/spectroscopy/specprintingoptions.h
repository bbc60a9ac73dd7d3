#ifndef SPECPRINTINGOPTIONS_H
#define SPECPRINTINGOPTIONS_H

// The sections of the energy-transfer and quantum-yield reports, one flag each.
struct SpecPrintingOptions {
    bool anradAndQuantumEfficiency = false;
    bool aradAndBeta = false;
    bool constantValues = false;
    bool frankCondonFactor = false;
    bool levelPopulation = false;
    bool omega = false;
    bool omegaED = false;
    bool quantumYield = false;
    bool singletAndTripletEnergy = false;
    bool wet = false;
    bool gama = false;
};

#endif
