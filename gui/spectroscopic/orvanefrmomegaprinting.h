#ifndef ORVANEFRMOMEGAPRINTING_H
#define ORVANEFRMOMEGAPRINTING_H

#include "omegaprintingoptions.h"
#include "ui_orvanefrmomegaprinting.h"

#include <QWidget>

// The sections of the intensity-parameter report, chosen by check boxes. The
// boxes of the sections every run prints are disabled; the runs read the boxes
// when they start.
class OrvaneFrmOmegaPrinting : public QWidget
{
public:
    explicit OrvaneFrmOmegaPrinting(QWidget* parent = nullptr);
    ~OrvaneFrmOmegaPrinting() override;

    // The report flags as the boxes stand now; bkq is never printed.
    OmegaPrintingOptions getOmegaPrintingOptions() const;

    Ui::OrvaneFrmOmegaPrinting ui;
};

#endif
