#include "orvanefrmspecprinting.h"

OrvaneFrmSpecPrinting::OrvaneFrmSpecPrinting(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}

OrvaneFrmSpecPrinting::~OrvaneFrmSpecPrinting() = default;

SpecPrintingOptions OrvaneFrmSpecPrinting::getSpecPrintingOptions() const
{
    SpecPrintingOptions options;
    options.anradAndQuantumEfficiency = ui.chbAnradAndQuantumEfficiency->isChecked();
    options.aradAndBeta = ui.chbAradAndBeta->isChecked();
    options.constantValues = ui.chbConstantValues->isChecked();
    options.frankCondonFactor = ui.chbFrankCondonFactor->isChecked();
    options.levelPopulation = ui.chbLevelPopulation->isChecked();
    options.omega = ui.chbOmega->isChecked();
    options.omegaED = ui.chbOmegaED->isChecked();
    options.quantumYield = ui.chbQuantumYield->isChecked();
    options.singletAndTripletEnergy = ui.chbSingletAndTripletEnergy->isChecked();
    options.wet = ui.chbWet->isChecked();
    options.gama = ui.chbgama->isChecked();
    return options;
}
