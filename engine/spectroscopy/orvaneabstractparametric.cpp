#include "orvaneabstractparametric.h"

#include <QFile>
#include <QTextStream>

OrvaneAbstractParametric::OrvaneAbstractParametric(QObject* parent)
    : OrvaneAbstractObjCalculation(parent)
{
}

OrvaneAbstractParametric::~OrvaneAbstractParametric() = default;

bool OrvaneAbstractParametric::runParametrization(const int& n, double*& x)
{
    nParameters = n;
    parameters = x;
    return true;
}

void OrvaneAbstractParametric::endOfParametrization()
{
}

void OrvaneAbstractParametric::startOfParametrization()
{
}

QString OrvaneAbstractParametric::citationsWithMopac(const QString& mopacCitation) const
{
    QString text = QStringLiteral("------------------------------------------------------\n"
                                  "      Required Citations for this Calculation         \n"
                                  "------------------------------------------------------\n\n");
    if (!mopacCitation.isEmpty())
        text += mopacCitation + QStringLiteral("\n\n");
    return text + requiredCitations;
}

void OrvaneAbstractParametric::removeEarlierReport(const QString& reportFile)
{
    if (!reportFile.isEmpty() && QFile::exists(reportFile))
        QFile::remove(reportFile);
}

void OrvaneAbstractParametric::endWithoutFit(const QString& reportFile, const QString& note)
{
    // A failed first evaluation leaves its own reason; keep it.
    lastError = lastError.isEmpty() ? note : note + QLatin1Char('\n') + lastError;
    writeFailureNote(reportFile);
}

void OrvaneAbstractParametric::writeFailureNote(const QString& reportFile) const
{
    if (reportFile.isEmpty())
        return;
    QFile file(reportFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << lastError << '\n';
}
