#ifndef PARAMETERSQDC_H
#define PARAMETERSQDC_H

// The three parameters of the QDC model: a donor's charge factor is Q times
// its atomic-charge index, its polarizability (D times its
// superdelocalizability + C) x 1e-24 cm^3.
struct ParametersQDC {
    double Q = 0.0;
    double D = 0.0;
    double C = 0.0;
};

#endif
