#include "orvaneelementtables.h"

namespace {

struct MassRow {
    const char* symbol;
    double mass;
};

struct NumberRow {
    const char* symbol;
    int atomicNumber;
};

// Rows in order of atomic number.
const MassRow elementMassTable[] = {
    {"H", 1.01},
    {"He", 4.0},
    {"Li", 6.94},
    {"Be", 9.01},
    {"B", 10.81},
    {"C", 12.01},
    {"N", 14.01},
    {"O", 16.0},
    {"F", 19.0},
    {"Ne", 20.18},
    {"Na", 22.99},
    {"Mg", 24.31},
    {"Al", 26.98},
    {"Si", 28.09},
    {"P", 30.97},
    {"S", 32.06},
    {"Cl", 35.45},
    {"Ar", 39.95},
    {"K", 39.1},
    {"Ca", 40.08},
    {"Sc", 44.96},
    {"Ti", 47.88},
    {"V", 50.94},
    {"Cr", 52.0},
    {"Mn", 54.94},
    {"Fe", 55.85},
    {"Co", 58.93},
    {"Ni", 58.69},
    {"Cu", 63.55},
    {"Zn", 65.38},
    {"Ga", 69.72},
    {"Ge", 72.61},
    {"As", 74.92},
    {"Se", 78.96},
    {"Br", 79.9},
    {"Kr", 83.8},
    {"Rb", 85.47},
    {"Sr", 87.62},
    {"Y", 88.91},
    {"Zr", 91.22},
    {"Nb", 92.91},
    {"Mo", 95.94},
    {"Tc", 98.91},
    {"Ru", 101.07},
    {"Rh", 102.91},
    {"Pd", 106.42},
    {"Ag", 107.87},
    {"Cd", 112.41},
    {"In", 114.82},
    {"Sn", 118.69},
    {"Sb", 121.75},
    {"Te", 127.6},
    {"I", 126.9},
    {"Xe", 131.29},
    {"Cs", 132.91},
    {"Ba", 137.33},
    {"La", 138.91},
    {"Ce", 140.12},
    {"Pr", 140.91},
    {"Nd", 144.24},
    {"Pm", 145.0},
    {"Sm", 150.4},
    {"Eu", 151.97},
    {"Gd", 157.25},
    {"Tb", 158.93},
    {"Dy", 162.5},
    {"Ho", 164.93},
    {"Er", 167.26},
    {"Tm", 168.94},
    {"Yb", 173.04},
    {"Lu", 174.97},
    {"Hf", 178.49},
    {"Ta", 180.95},
    {"W", 183.85},
    {"Re", 186.21},
    {"Os", 190.2},
    {"Ir", 192.22},
    {"Pt", 195.08},
    {"Au", 196.97},
    {"Hg", 200.59},
    {"Tl", 204.38},
    {"Pb", 207.2},
    {"Bi", 208.98},
    {"Po", 209.0},
    {"At", 210.0},
    {"Rn", 222.0},
    {"Fr", 223.0},
    {"Ra", 226.03},
    {"Ac", 227.03},
    {"Th", 232.04},
    {"Pa", 231.04},
    {"U", 238.03},
    {"Np", 237.05},
    {"Pu", 244.0},
    {"Am", 244.0},
    {"Cm", 247.0},
    {"Bk", 247.0},
    {"Cf", 251.0},
    {"Es", 252.0},
    {"Fm", 257.0},
    {"Md", 258.0},
    {"No", 259.0},
    {"Lr", 260.0}
};

// Same rows as the mass table, except that element 103 keeps the old symbol "Lw".
const NumberRow atomicNumberTable[] = {
    {"H", 1},
    {"He", 2},
    {"Li", 3},
    {"Be", 4},
    {"B", 5},
    {"C", 6},
    {"N", 7},
    {"O", 8},
    {"F", 9},
    {"Ne", 10},
    {"Na", 11},
    {"Mg", 12},
    {"Al", 13},
    {"Si", 14},
    {"P", 15},
    {"S", 16},
    {"Cl", 17},
    {"Ar", 18},
    {"K", 19},
    {"Ca", 20},
    {"Sc", 21},
    {"Ti", 22},
    {"V", 23},
    {"Cr", 24},
    {"Mn", 25},
    {"Fe", 26},
    {"Co", 27},
    {"Ni", 28},
    {"Cu", 29},
    {"Zn", 30},
    {"Ga", 31},
    {"Ge", 32},
    {"As", 33},
    {"Se", 34},
    {"Br", 35},
    {"Kr", 36},
    {"Rb", 37},
    {"Sr", 38},
    {"Y", 39},
    {"Zr", 40},
    {"Nb", 41},
    {"Mo", 42},
    {"Tc", 43},
    {"Ru", 44},
    {"Rh", 45},
    {"Pd", 46},
    {"Ag", 47},
    {"Cd", 48},
    {"In", 49},
    {"Sn", 50},
    {"Sb", 51},
    {"Te", 52},
    {"I", 53},
    {"Xe", 54},
    {"Cs", 55},
    {"Ba", 56},
    {"La", 57},
    {"Ce", 58},
    {"Pr", 59},
    {"Nd", 60},
    {"Pm", 61},
    {"Sm", 62},
    {"Eu", 63},
    {"Gd", 64},
    {"Tb", 65},
    {"Dy", 66},
    {"Ho", 67},
    {"Er", 68},
    {"Tm", 69},
    {"Yb", 70},
    {"Lu", 71},
    {"Hf", 72},
    {"Ta", 73},
    {"W", 74},
    {"Re", 75},
    {"Os", 76},
    {"Ir", 77},
    {"Pt", 78},
    {"Au", 79},
    {"Hg", 80},
    {"Tl", 81},
    {"Pb", 82},
    {"Bi", 83},
    {"Po", 84},
    {"At", 85},
    {"Rn", 86},
    {"Fr", 87},
    {"Ra", 88},
    {"Ac", 89},
    {"Th", 90},
    {"Pa", 91},
    {"U", 92},
    {"Np", 93},
    {"Pu", 94},
    {"Am", 95},
    {"Cm", 96},
    {"Bk", 97},
    {"Cf", 98},
    {"Es", 99},
    {"Fm", 100},
    {"Md", 101},
    {"No", 102},
    {"Lw", 103}
};

static_assert(sizeof(elementMassTable) / sizeof(elementMassTable[0]) == OrvaneElements::elementCount, "mass table");
static_assert(sizeof(atomicNumberTable) / sizeof(atomicNumberTable[0]) == OrvaneElements::elementCount, "number table");

} // namespace

namespace OrvaneElements {

QString symbolFromAtomicNumber(const int& atomicNumber)
{
    for (const NumberRow& row : atomicNumberTable)
        if (row.atomicNumber == atomicNumber)
            return QString::fromLatin1(row.symbol);
    return QString();
}

bool massOfSymbol(const QString& symbol, double& mass)
{
    for (const MassRow& row : elementMassTable) {
        if (symbol == QLatin1String(row.symbol)) {
            mass = row.mass;
            return true;
        }
    }
    return false;
}

} // namespace OrvaneElements
