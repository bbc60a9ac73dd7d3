#include "orvanefrmomegaprinting.h"

OrvaneFrmOmegaPrinting::OrvaneFrmOmegaPrinting(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // The per-ligand part of Arad is always reported; the box only records it.
    ui.chbLigandContributionForArad->setChecked(true);
    ui.chbLigandContributionForArad->hide();
}

OrvaneFrmOmegaPrinting::~OrvaneFrmOmegaPrinting() = default;

OmegaPrintingOptions OrvaneFrmOmegaPrinting::getOmegaPrintingOptions() const
{
    OmegaPrintingOptions options;
    options.betaAndRo = ui.chbBetaAndRo->isChecked();
    options.bltpParameters = ui.chbBltpParameters->isChecked();
    options.bltpParametersDC = ui.chbBltpParametersDC->isChecked();
    options.bltpParametersED = ui.chbBltpParametersED->isChecked();
    options.constantValues = ui.chbConstantValues->isChecked();
    options.GAMA = ui.chbGAMA->isChecked();
    options.sumGAMA = ui.chbSumGAMA->isChecked();
    options.gAndAlpha = ui.chbGandAlpha->isChecked();
    options.omega = ui.chbOmega->isChecked();
    options.omegaDC = ui.chbOmegaDC->isChecked();
    options.omegaED = ui.chbOmegaED->isChecked();
    options.sphericalCoordinates = ui.chbSphericalCoordinates->isChecked();
    options.sphericalHarmonicals = ui.chbSphericalHarmonicals->isChecked();
    options.gama = ui.chbgama->isChecked();
    options.sumgama = ui.chbSumgama->isChecked();
    options.arad = ui.chbArad->isChecked();
    options.ligandContributionForArad = ui.chbLigandContributionForArad->isChecked();
    options.bkq = false;
    return options;
}
