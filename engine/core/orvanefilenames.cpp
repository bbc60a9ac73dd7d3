#include "orvanefilenames.h"

#include <QFileInfo>

namespace OrvaneFileNames {

QString finalSuffix(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString withFinalSuffix(const QString& path, const QString& suffix)
{
    const QString name = QFileInfo(path).fileName();
    const QString folder = path.left(path.size() - name.size());
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return folder + (dot >= 0 ? name.left(dot) : name) + QLatin1Char('.') + suffix;
}

QString withBaseName(const QString& path, const QString& suffix)
{
    const QFileInfo info(path);
    return info.absolutePath() + QLatin1Char('/') + info.baseName() + QLatin1Char('.') + suffix;
}

} // namespace OrvaneFileNames
