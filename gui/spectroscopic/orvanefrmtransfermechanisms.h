#ifndef ORVANEFRMTRANSFERMECHANISMS_H
#define ORVANEFRMTRANSFERMECHANISMS_H

#include "energytransferchannels.h"
#include "ui_orvanefrmtransfermechanisms.h"

#include <QWidget>

// The ligand-to-Eu(III) transfer channels, the transfer model and the
// overlap exponent of the energy-transfer runs.
class OrvaneFrmTransferMechanisms : public QWidget
{
public:
    explicit OrvaneFrmTransferMechanisms(QWidget* parent = nullptr);
    ~OrvaneFrmTransferMechanisms() override;

    // 0 handbook model, 1 revisited model, 2 first model.
    int getETModel() const;
    // The channel flags as the boxes stand now.
    EnergyTransferChannels getEnergyTransferChannels() const;

    Ui::OrvaneFrmTransferMechanisms ui;
};

#endif
