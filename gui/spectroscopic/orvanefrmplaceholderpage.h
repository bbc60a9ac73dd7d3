#ifndef ORVANEFRMPLACEHOLDERPAGE_H
#define ORVANEFRMPLACEHOLDERPAGE_H

#include "abstractobjcalculationwidget.h"

#include <QString>

class QLabel;
class QLineEdit;

// Holds a page slot of the Module 3 container until the form that belongs
// there is part of the program: it shows the page's title and, like the
// absorption-spectrum form, remembers an input file handed to it.
class OrvaneFrmPlaceholderPage : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    OrvaneFrmPlaceholderPage(QWidget* parent, const QString& title);
    ~OrvaneFrmPlaceholderPage() override;

    // A non-empty name replaces the remembered one and fills the input-file
    // field; an empty name changes nothing.
    void setInputFileName(const QString& fileName);
    QString getInputFileName() const { return inputFileName; }

private:
    QString inputFileName;
    QLabel* lblTitle = nullptr;
    QLineEdit* edtInputFile = nullptr;
};

#endif
