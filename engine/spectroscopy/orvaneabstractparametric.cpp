#include "orvaneabstractparametric.h"

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
