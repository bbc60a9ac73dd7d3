#include "orvanefrmtransfermechanisms.h"

#include "requiredcitations.h"

OrvaneFrmTransferMechanisms::OrvaneFrmTransferMechanisms(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // Each model is labelled by the reference its runs cite, kept in one table.
    ui.rdbHandbookModel->setText(transferModelReference(0));
    ui.rdbRevisitedModel->setText(transferModelReference(1));
    ui.rdbFirstModel->setText(transferModelReference(2));
}

OrvaneFrmTransferMechanisms::~OrvaneFrmTransferMechanisms() = default;

int OrvaneFrmTransferMechanisms::getETModel() const
{
    if (ui.rdbHandbookModel->isChecked())
        return 0;
    if (ui.rdbRevisitedModel->isChecked())
        return 1;
    return 2;
}

EnergyTransferChannels OrvaneFrmTransferMechanisms::getEnergyTransferChannels() const
{
    EnergyTransferChannels channels;
    channels.singlet5D4 = ui.cbxSinglet5D4->isChecked();
    channels.singlet5G6 = ui.cbxSinglet5G6->isChecked();
    channels.singlet5L6 = ui.cbxSinglet5L6->isChecked();
    channels.singlet5D1 = ui.cbxSinglet5D1->isChecked();
    channels.singlet5D0 = ui.cbxSinglet5D0->isChecked();
    channels.triplet5D4 = ui.cbxTriplet5D4->isChecked();
    channels.triplet5G6 = ui.cbxTriplet5G6->isChecked();
    channels.triplet5L6 = ui.cbxTriplet5L6->isChecked();
    channels.triplet5D1 = ui.cbxTriplet5D1->isChecked();
    channels.triplet5D0 = ui.cbxTriplet5D0->isChecked();
    return channels;
}
