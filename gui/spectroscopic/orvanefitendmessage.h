#ifndef ORVANEFITENDMESSAGE_H
#define ORVANEFITENDMESSAGE_H

#include "orvanefitsummary.h"

#include <QString>

class QWidget;

// How the forms word the end of a fit that finished: the same account of its
// targets in the status panel and in the end box, so that a target missed or
// a parameter left at a bound is never passed over.
namespace OrvaneFitEndMessage {

// "-> " and the summary's status line; empty for an empty summary.
QString statusLine(const OrvaneFitSummary& summary);
// `finished`, then the summary: an information box, or a warning ("ORVANE
// Warning") when a target was missed or a parameter ended at a bound.
void showFinished(QWidget* parent, const QString& finished, const OrvaneFitSummary& summary);

} // namespace OrvaneFitEndMessage

#endif
