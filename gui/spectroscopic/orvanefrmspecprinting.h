#ifndef ORVANEFRMSPECPRINTING_H
#define ORVANEFRMSPECPRINTING_H

#include "specprintingoptions.h"
#include "ui_orvanefrmspecprinting.h"

#include <QWidget>

// The sections of the energy-transfer and quantum-yield reports, chosen by
// check boxes; the sections every run prints have disabled boxes.
class OrvaneFrmSpecPrinting : public QWidget
{
public:
    explicit OrvaneFrmSpecPrinting(QWidget* parent = nullptr);
    ~OrvaneFrmSpecPrinting() override;

    // The report flags as the boxes stand now.
    SpecPrintingOptions getSpecPrintingOptions() const;

    Ui::OrvaneFrmSpecPrinting ui;
};

#endif
