#ifndef MULTISELECTCOMPLETER_H
#define MULTISELECTCOMPLETER_H

#include <QCompleter>
#include <QStringList>

// Completes the last blank-separated word of the line edit it is attached to,
// so that a line of several keywords can be typed with help for each word.
// The words before the last blank stay exactly as typed.
class MultiSelectCompleter : public QCompleter
{
public:
    MultiSelectCompleter(const QStringList& words, QObject* parent);
    ~MultiSelectCompleter() override;

    // The whole new text of the line edit after the word at index was chosen.
    QString pathFromIndex(const QModelIndex& index) const override;
    // The fragment to complete: the text after the last blank.
    QStringList splitPath(const QString& path) const override;
};

#endif
