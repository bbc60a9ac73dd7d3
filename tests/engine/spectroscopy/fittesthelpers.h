#ifndef FITTESTHELPERS_H
#define FITTESTHELPERS_H

// Helpers of the fitted-model tests: a fresh working folder (the models read
// "pesos.txt" from it), the fixtures, and Omega of given g and alpha from an
// OrvaneOmega of its own.

#include "orvaneomega.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <array>

namespace FitTest {

inline QString mopacFixture(const char* name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + QLatin1String(name);
}

inline QString omegaFixture(const char* name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/omega/") + QLatin1String(name);
}

// Makes a new empty folder the working folder for the lifetime of the object.
class WorkingFolder
{
public:
    WorkingFolder()
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(folder.path());
    }
    ~WorkingFolder() { QDir::setCurrent(previous); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    QString path(const QString& name) const { return folder.filePath(name); }
    void write(const QString& name, const QByteArray& text) const
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text);
    }
    QString read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir folder;
    QString previous;
};

struct OmegaValues {
    double omega2 = 0.0, omega4 = 0.0, omega6 = 0.0; // cm^2
};

// Omega of a structure file for g and alpha (cm^3) by atom number.
inline OmegaValues omegaOf(const QString& file, const int& inputType, const int& n,
    std::array<double, 30> g, std::array<double, 30> alpha, const double& refractiveIndex = 1.5)
{
    OrvaneOmega omega(nullptr, inputType, file, QString());
    double* gPointer = g.data();
    double* alphaPointer = alpha.data();
    omega.setChargeFactorAndAlpha(gPointer, alphaPointer);
    omega.setCoordNumber(n);
    omega.setRefractiveIndex(refractiveIndex);
    if (!omega.calcOmega())
        return OmegaValues {-1.0, -1.0, -1.0};
    return OmegaValues {omega.getOmega(2), omega.getOmega(4), omega.getOmega(6)};
}

// The value of "omega(l) = <value>e-20 cm^2" in a report, in 1e-20 cm^2; -1 when absent.
inline double reportedOmega(const QString& report, const int& lambda)
{
    const QRegularExpression line(QStringLiteral(R"(^\s*omega\(%1\) =\s+(-?\d+\.\d+)e-20 cm\^2$)").arg(lambda),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(report);
    return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
}

} // namespace FitTest

#endif
