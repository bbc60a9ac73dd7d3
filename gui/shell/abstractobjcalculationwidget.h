#ifndef ABSTRACTOBJCALCULATIONWIDGET_H
#define ABSTRACTOBJCALCULATIONWIDGET_H

#include <QString>
#include <QWidget>

// Base of the calculation forms: a log signal that ends in the main window's
// status panel, a relay slot for the log lines of objects the form owns, and
// the folder the form's file dialogs open in, kept in the settings file.
class AbstractObjCalculationWidget : public QWidget
{
    Q_OBJECT
public:
    explicit AbstractObjCalculationWidget(QWidget* parent = nullptr);
    ~AbstractObjCalculationWidget() override;

    // lastDirectory = the saved folder when it still exists (absolute),
    // otherwise the user's home folder.
    void loadLastDirectory();
    // Stores directory as given; lastDirectory is changed only by loading.
    void saveLastDirectory(const QString& directory);

    // False from construction on: no form sets or reads it today (each keeps
    // its input file by name). Kept for a form that wants to remember that
    // its input file was chosen; the base never reads it.
    bool inputFileChosen = false;
    // Folder the form's file dialogs start in; empty until loaded.
    QString lastDirectory;

signals:
    void newObjCalculationMessage(const QString& message);

protected slots:
    void processStatus(const QString& message);
};

#endif
