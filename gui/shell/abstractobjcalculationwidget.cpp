#include "abstractobjcalculationwidget.h"

#include "orvanesettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString lastDirectoryKey = QStringLiteral("lastDirectory");
}

AbstractObjCalculationWidget::AbstractObjCalculationWidget(QWidget* parent)
    : QWidget(parent)
{
}

AbstractObjCalculationWidget::~AbstractObjCalculationWidget() = default;

void AbstractObjCalculationWidget::loadLastDirectory()
{
    const QString saved = OrvaneSettings::value(lastDirectoryKey);
    const QFileInfo folder(saved);
    lastDirectory = (!saved.isEmpty() && folder.isDir()) ? folder.absoluteFilePath()
                                                         : QDir::homePath();
}

void AbstractObjCalculationWidget::saveLastDirectory(const QString& directory)
{
    OrvaneSettings::setValue(lastDirectoryKey, directory);
}

void AbstractObjCalculationWidget::processStatus(const QString& message)
{
    emit newObjCalculationMessage(message);
}
