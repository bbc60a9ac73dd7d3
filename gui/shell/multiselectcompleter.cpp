#include "multiselectcompleter.h"

#include <QLineEdit>

MultiSelectCompleter::MultiSelectCompleter(const QStringList& words, QObject* parent)
    : QCompleter(words, parent)
{
}

MultiSelectCompleter::~MultiSelectCompleter() = default;

QString MultiSelectCompleter::pathFromIndex(const QModelIndex& index) const
{
    const QString word = QCompleter::pathFromIndex(index);
    const auto* edit = qobject_cast<const QLineEdit*>(widget());
    if (!edit)
        return word;
    const QString text = edit->text();
    const int lastBlank = text.lastIndexOf(QLatin1Char(' '));
    if (lastBlank < 0)
        return word;
    return text.left(lastBlank) + QLatin1Char(' ') + word;
}

QStringList MultiSelectCompleter::splitPath(const QString& path) const
{
    return QStringList{path.mid(path.lastIndexOf(QLatin1Char(' ')) + 1)};
}
