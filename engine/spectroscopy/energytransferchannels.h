#ifndef ENERGYTRANSFERCHANNELS_H
#define ENERGYTRANSFERCHANNELS_H

// The ligand-to-Eu(III) transfer channels to compute and report: from the
// ligand's singlet or triplet donor state into one Eu(III) level each.
struct EnergyTransferChannels {
    bool singlet5D4 = false;
    bool singlet5G6 = false;
    bool singlet5L6 = false;
    bool singlet5D1 = false;
    bool singlet5D0 = false;
    bool triplet5D4 = false;
    bool triplet5G6 = false;
    bool triplet5L6 = false;
    bool triplet5D1 = false;
    bool triplet5D0 = false;
};

#endif
