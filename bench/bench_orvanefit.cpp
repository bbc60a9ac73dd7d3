#include "orvaneabstractparametric.h"
#include "orvanegsa.h"
#include "orvaneomega.h"
#include "orvaneparametric.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

// A whole default intensity-parameter fit (15 runs x 15000 steps) of a
// 9-donor complex with two groups, through OrvaneParametric, whose
// evaluation works on each group's summed geometry terms
// (OrvaneOmega::calcOmegaOfGroups); beside it the
// same fit with the term-by-term evaluation (calcOmegaDirect) and a schedule
// cut to 15 x 200 steps. Both report evaluations per second.

namespace {

// [Eu(O)6(N)3] on a tricapped trigonal prism: O at the prism corners
// (2.45 Angstrom), N capping the faces (2.60 Angstrom).
QString writeComplex(const QString& folder)
{
    const QString path = folder + QStringLiteral("/eu_o6n3.mop");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return QString();
    QTextStream out(&file);
    out << "AM1 SPARKLE CHARGE=3 1SCF\nEu(O)6(N)3, tricapped trigonal prism\n\n";
    out << "Eu     0.000000 1     0.000000 1     0.000000 1\n";
    const double pi = 3.14159265358979;
    for (int k = 0; k < 6; ++k) {
        const double phi = 2.0 * pi * (k % 3) / 3.0 + 0.05 * k;
        const double theta = k < 3 ? 0.85 : pi - 0.85;
        out << QStringLiteral("O  %1 1 %2 1 %3 1\n")
                   .arg(2.45 * std::sin(theta) * std::cos(phi), 12, 'f', 6)
                   .arg(2.45 * std::sin(theta) * std::sin(phi), 12, 'f', 6)
                   .arg(2.45 * std::cos(theta), 12, 'f', 6);
    }
    for (int k = 0; k < 3; ++k) {
        const double phi = 2.0 * pi * k / 3.0 + pi / 3.0 + 0.02 * k;
        out << QStringLiteral("N  %1 1 %2 1 %3 1\n")
                   .arg(2.60 * std::cos(phi), 12, 'f', 6)
                   .arg(2.60 * std::sin(phi), 12, 'f', 6)
                   .arg(0.1 * k, 12, 'f', 6);
    }
    return path;
}

QMap<int, QStringList> groups()
{
    QMap<int, QStringList> map;
    map.insert(0, {"O 2", "O 3", "O 4", "O 5", "O 6", "O 7"});
    map.insert(1, {"N 8", "N 9", "N 10"});
    return map;
}

// The group model's response with the term-by-term evaluation.
class DirectGroupProblem : public OrvaneAbstractParametric
{
public:
    explicit DirectGroupProblem(const QString& file)
        : omega(nullptr, 1, file, QString())
    {
        gPointer = g.data();
        alphaPointer = alpha.data();
        omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
        omega.setCoordNumber(9);
    }
    bool runParametrization(const int& n, double*& x) override
    {
        OrvaneAbstractParametric::runParametrization(n, x);
        for (int atom = 2; atom <= 10; ++atom) {
            const int k = atom <= 7 ? 0 : 1;
            g[atom] = x[k];
            alpha[atom] = x[2 + k] * 1e-24;
        }
        omega.calcOmegaDirect();
        const double d4 = (omega4Exp - omega.getOmega(4)) * 1e20;
        const double d2 = (omega2Exp - omega.getOmega(2)) * 1e20;
        responseFunction = d4 * d4 + d2 * d2;
        return true;
    }
    double omega2Exp = 0.0;
    double omega4Exp = 0.0;

private:
    OrvaneOmega omega;
    std::array<double, 30> g {};
    std::array<double, 30> alpha {};
    double* gPointer = nullptr;
    double* alphaPointer = nullptr;
};

struct Targets {
    double omega2, omega4;
};

Targets targetsOf(const QString& file)
{
    std::array<double, 30> g {}, alpha {};
    for (int atom = 2; atom <= 10; ++atom) {
        g[atom] = atom <= 7 ? 0.8 : 1.2;
        alpha[atom] = (atom <= 7 ? 1.5 : 3.0) * 1e-24;
    }
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    OrvaneOmega omega(nullptr, 1, file, QString());
    omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
    omega.setCoordNumber(9);
    omega.calcOmega();
    return Targets {omega.getOmega(2), omega.getOmega(4)};
}

void BM_DefaultFitCached(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString file = writeComplex(folder.path());
    const Targets targets = targetsOf(file);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path()); // no "pesos.txt" there
    long evaluations = 0;
    for (auto _ : state) {
        auto model = std::make_unique<OrvaneParametric>(nullptr, file, 1);
        model->setGroupsAndAtoms(groups());
        model->setCoordNumber(9);
        model->setOmegaExp(targets.omega2, targets.omega4);
        model->setFileNameOmg(folder.path() + QStringLiteral("/eu_o6n3.omega"));
        std::vector<double> start {0.45, 0.45, 4.5, 4.5};
        double* x = start.data();
        OrvaneAbstractParametric* problem = model.get();
        OrvaneGSA gsa(nullptr, 4, x, problem);
        gsa.initializeGSA();
        evaluations += model->getPointNumber();
        state.counters["bestResponse"] = model->getBestResponse();
    }
    QDir::setCurrent(previous);
    state.SetItemsProcessed(evaluations);
}

void BM_ShortFitDirect(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString file = writeComplex(folder.path());
    const Targets targets = targetsOf(file);
    long evaluations = 0;
    for (auto _ : state) {
        DirectGroupProblem model(file);
        model.omega2Exp = targets.omega2;
        model.omega4Exp = targets.omega4;
        std::vector<double> start {0.45, 0.45, 4.5, 4.5};
        double* x = start.data();
        OrvaneAbstractParametric* problem = &model;
        OrvaneGSA gsa(nullptr, 4, x, problem);
        gsa.setNStopMax(200);
        gsa.initializeGSA();
        evaluations += model.getPointNumber();
    }
    state.SetItemsProcessed(evaluations);
}

} // namespace

BENCHMARK(BM_DefaultFitCached)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ShortFitDirect)->Unit(benchmark::kMillisecond)->Iterations(3);
