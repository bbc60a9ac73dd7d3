#include "orvanefrmomegaparametrization.h"

#include "orvaneeu3model.h"
#include "orvanefrmselectligandatoms.h"

OrvaneFrmOmegaParametrization::OrvaneFrmOmegaParametrization(QWidget* parent)
    : QFrame(parent)
{
    ui.setupUi(this);
    // No more donors than the engine's per-atom arrays hold.
    ui.sbxCoordNumber->setMaximum(OrvaneEu3Model::maxCoordNumber);
    ui.lblPointsNumber->hide();
    ui.sbxPointsNumber->hide();
    selectLigandAtoms = new OrvaneFrmSelectLigandAtoms(this);
    ui.stackedSetLigandsOnMetal->addWidget(selectLigandAtoms);
}

OrvaneFrmOmegaParametrization::~OrvaneFrmOmegaParametrization() = default;

QMap<int, QStringList> OrvaneFrmOmegaParametrization::getGroupsAndAtoms() const
{
    return selectLigandAtoms->getGroupsAndAtoms();
}

void OrvaneFrmOmegaParametrization::setLigandAtomList(const QStringList& atoms)
{
    selectLigandAtoms->setLigandAtomList(atoms);
}

void OrvaneFrmOmegaParametrization::on_sbxCoordNumber_valueChanged(int i)
{
    // The groups were made for the old set of atoms: start again.
    selectLigandAtoms->clearGroups();
    emit valueChanged(i);
}
