#include "orvaneabstractobjcalculation.h"

#include <QDateTime>
#include <QMetaObject>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(AbstractObjCalculation, LastErrorStartsEmptyAndIsCopied)
{
    OrvaneAbstractObjCalculation calc;
    EXPECT_TRUE(calc.getLastError().isEmpty());
    calc.setLastError(QStringLiteral("boom"));
    QString copy = calc.getLastError();
    copy.append(QStringLiteral("!"));
    EXPECT_EQ(calc.getLastError(), QStringLiteral("boom"));
}

TEST(AbstractObjCalculation, ProcessStatusRelaysTheLineUnchanged)
{
    OrvaneAbstractObjCalculation owner;
    OrvaneAbstractObjCalculation inner;
    QObject::connect(&inner, SIGNAL(newObjCalculationMessage(const QString &)), &owner,
                     SLOT(processStatus(const QString &)));
    QSignalSpy spy(&owner, SIGNAL(newObjCalculationMessage(const QString &)));
    for (const QString& text : {QString(), QStringLiteral("line\nfile.out")}) {
        spy.clear();
        QMetaObject::invokeMethod(&owner, "processStatus", Q_ARG(QString, text));
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), text);
    }
    // An inner object's line reaches the owner's listeners.
    spy.clear();
    emit inner.newObjCalculationMessage(QStringLiteral("inner"));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("inner"));
}

TEST(AbstractObjCalculation, ProgressLineLayout)
{
    const QString before = QDateTime::currentDateTime().toString(Qt::TextDate);
    const QString line = OrvaneAbstractObjCalculation::progressLine(QStringLiteral("Read Input Data"),
                                                                    QStringLiteral("done \nx.out"));
    const QString after = QDateTime::currentDateTime().toString(Qt::TextDate);
    const QString tail = QStringLiteral(" -> (Read Input Data) done \nx.out");
    ASSERT_TRUE(line.endsWith(tail));
    const QString stamp = line.left(line.size() - tail.size());
    EXPECT_TRUE(stamp == before || stamp == after) << stamp.toStdString();
}
