#include "orvanefrmsetparametersqdc.h"

#include "orvaneeu3model.h"

OrvaneFrmSetParametersQDC::OrvaneFrmSetParametersQDC(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // No more donors than the engine's per-atom arrays hold.
    ui.sbxCoordNumber->setMaximum(OrvaneEu3Model::maxCoordNumber);
}

OrvaneFrmSetParametersQDC::~OrvaneFrmSetParametersQDC() = default;

void OrvaneFrmSetParametersQDC::on_sbxCoordNumber_valueChanged(int i)
{
    emit valueChanged(i);
}
