#ifndef ORVANERECORDS_H
#define ORVANERECORDS_H

#include <QString>
#include <QStringList>
#include <QVector>

// Plain value records that cross the engine's interface. Fields default to
// zero/empty so that a record returned for a missing element is harmless.

struct Coord {
    QString label;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct CoordSPH {
    QString label;
    double r = 0.0;
    double theta = 0.0; // degrees
    double phi = 0.0;   // degrees
};

struct CoordZMT {
    QString label;
    double bond = 0.0;
    double angle = 0.0;
    double dihedral = 0.0;
    int na = 0;
    int nb = 0;
    int nc = 0;
};

struct ExcitateState {
    double energy = 0.0; // cm-1
    double oscillatorStrength = 0.0;
    QVector<int> orbitals;
};

struct MolecularOrbital {
    QVector<int> atoms;
    QStringList labels;
    QVector<double> coefficients;
};

struct MolecularOrbitalOCC {
    int number = 0;
    double energy = 0.0; // hartree
    double occupancy = 0.0;
};

struct MyComplex {
    double re = 0.0;
    double im = 0.0;
};

#endif
