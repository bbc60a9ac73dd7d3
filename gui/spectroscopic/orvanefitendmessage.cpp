#include "orvanefitendmessage.h"

#include "orvanedialogs.h"

#include <QObject>

namespace OrvaneFitEndMessage {

QString statusLine(const OrvaneFitSummary& summary)
{
    return summary.isEmpty() ? QString() : QStringLiteral("-> ") + summary.statusLine();
}

void showFinished(QWidget* parent, const QString& finished, const OrvaneFitSummary& summary)
{
    if (summary.isEmpty()) {
        OrvaneDialogs::information(parent, QObject::tr("ORVANE Information"), finished);
        return;
    }
    const QString text = finished + QStringLiteral("\n\n") + summary.text();
    if (summary.hasWarnings())
        OrvaneDialogs::warning(parent, QObject::tr("ORVANE Warning"), text);
    else
        OrvaneDialogs::information(parent, QObject::tr("ORVANE Information"), text);
}

} // namespace OrvaneFitEndMessage
