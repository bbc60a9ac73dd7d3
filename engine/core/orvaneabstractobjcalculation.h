#ifndef ORVANEABSTRACTOBJCALCULATION_H
#define ORVANEABSTRACTOBJCALCULATION_H

#include "orvaneengine_export.h"

#include <QObject>
#include <QString>

// Base of every engine calculation: keeps the reason of the last failure and
// carries progress lines to whoever listens.
class ORVANEENGINE_EXPORT OrvaneAbstractObjCalculation : public QObject
{
    Q_OBJECT
public:
    explicit OrvaneAbstractObjCalculation(QObject* parent = nullptr);
    ~OrvaneAbstractObjCalculation() override;

    QString getLastError() const { return lastError; }
    void setLastError(const QString& text) { lastError = text; }

    // "<date time> -> (<module>) <message>", the form every progress line takes.
    static QString progressLine(const QString& module, const QString& message);

signals:
    void newObjCalculationMessage(const QString& message);

protected slots:
    void processStatus(const QString& message);

protected:
    void emitProgress(const QString& module, const QString& message);

    QString lastError;
};

#endif
