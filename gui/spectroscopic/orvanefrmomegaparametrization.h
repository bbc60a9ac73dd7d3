#ifndef ORVANEFRMOMEGAPARAMETRIZATION_H
#define ORVANEFRMOMEGAPARAMETRIZATION_H

#include "ui_orvanefrmomegaparametrization.h"

#include <QFrame>
#include <QMap>
#include <QStringList>

class OrvaneFrmSelectLigandAtoms;

// Inputs of the intensity-parameter fits: the coordination number, the
// experimental Omega2 and Omega4 (1e-20 cm^2) the fit aims at, the annealing
// steps per run (hidden) and the ligand-atom grouping of the conventional fit.
class OrvaneFrmOmegaParametrization : public QFrame
{
    Q_OBJECT
public:
    explicit OrvaneFrmOmegaParametrization(QWidget* parent = nullptr);
    ~OrvaneFrmOmegaParametrization() override;

    QMap<int, QStringList> getGroupsAndAtoms() const;
    void setLigandAtomList(const QStringList& atoms);

    Ui::OrvaneFrmOmegaParametrization ui;
    OrvaneFrmSelectLigandAtoms* selectLigandAtoms = nullptr;

signals:
    void valueChanged(int i);

public slots:
    void on_sbxCoordNumber_valueChanged(int i);
};

#endif
