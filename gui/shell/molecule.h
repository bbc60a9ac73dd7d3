#ifndef MOLECULE_H
#define MOLECULE_H

#include "abstractobjcalculationwidget.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// One atom of the drawing model.
struct MoleculeAtom {
    // Angstrom, relative to the centre of mass of the structure read.
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    // 1 to 103, or 0 when the label names no element of elementTable.
    int atomicNumber = 0;

    // The element whose symbol begins the label: its first character must
    // equal the symbol's first letter exactly, then either the symbol has one
    // letter and the label ends there or goes on with a decimal digit ("C",
    // "C12"), or the label's second character is the symbol's second one
    // ("Cl1", and "C " for a one-letter symbol). Case-sensitive; the first
    // matching row in order of atomic number wins.
    void setAtomicNumber(const QString& label);
};

// The structure behind the 3-D molecule viewer: atoms centred on their centre
// of mass and bonds found from covalent radii. A widget only for the progress
// signal of its base; it is never shown. The owners read and write the public
// members directly and hand the model to the viewer again after every change.
class Molecule : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    // File types of readMolecule.
    enum FileType { Mol2File = 0, MopCartesianFile = 1, MopacOutputFile = 2, ZMatrixFile = 3 };

    explicit Molecule(QWidget* parent = nullptr);
    ~Molecule() override;

    // Replaces the model by the structure of a file (see FileType). An empty
    // name empties the model and succeeds. On failure the model is empty and
    // getLastError() holds the reason.
    bool readMolecule(const QString& fileName, const int& fileType);
    QString getLastError() const { return lastError; }
    // Rebuilds bonds from atoms: a pair is bonded when its distance is at most
    // the sum of the covalent radii plus 0.3 Angstrom; never hydrogen to
    // hydrogen. Pairs in loop order, first index descending, first > second.
    void findBonds();

    QVector<MoleculeAtom> atoms;
    QVector<QPair<int, int>> bonds;
    QString lastError;
    QStringList lanthanideSymbols;
    bool containsLanthanide = true;
    bool lanthanideRequired = false;

private:
    void report(const QString& message);
};

#endif
