#include "orvaneabstractobjcalculation.h"

#include <QDateTime>

OrvaneAbstractObjCalculation::OrvaneAbstractObjCalculation(QObject* parent)
    : QObject(parent)
{
}

OrvaneAbstractObjCalculation::~OrvaneAbstractObjCalculation() = default;

QString OrvaneAbstractObjCalculation::progressLine(const QString& module, const QString& message)
{
    return QDateTime::currentDateTime().toString(Qt::TextDate) + QStringLiteral(" -> (") + module
        + QStringLiteral(") ") + message;
}

void OrvaneAbstractObjCalculation::processStatus(const QString& message)
{
    emit newObjCalculationMessage(message);
}

void OrvaneAbstractObjCalculation::emitProgress(const QString& module, const QString& message)
{
    emit newObjCalculationMessage(progressLine(module, message));
}
