#ifndef LIGAND_H
#define LIGAND_H

#include <QString>
#include <QVector>

// A named group of coordinating atoms, written as one line: the name, then
// the atom numbers, separated by blanks (for example "L1 2 3 4").
struct Ligand {
    QString name;
    QVector<int> atoms;
};

#endif
