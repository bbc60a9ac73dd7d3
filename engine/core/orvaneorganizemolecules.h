#ifndef ORVANEORGANIZEMOLECULES_H
#define ORVANEORGANIZEMOLECULES_H

#include "orvaneabstractobjcalculation.h"
#include "orvanerecords.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Turns a Tripos MOL2 structure of a lanthanide complex into a MOPAC input
// for a Sparkle optimisation. The atoms are reordered so that the ion comes
// first and the atoms bonded to it right after it, which is the numbering the
// intensity models expect (atom 1 the ion, atoms 2 to N+1 its donors), and
// placed relative to the ion.
class ORVANEENGINE_EXPORT OrvaneOrganizeMolecules : public OrvaneAbstractObjCalculation
{
public:
    explicit OrvaneOrganizeMolecules(QObject* parent);
    ~OrvaneOrganizeMolecules() override;

    // The keyword lines written first, each ending in a line feed.
    void setKey(const QString& key) { this->key = key; }

    // Reads the structure; a new read replaces the previous one. False with
    // the reason in getLastError().
    bool readMOL2(const QString& mol2File);
    // Writes the MOPAC input; without a lanthanide the keywords lose every
    // "SPARKLE". False with the file name and the system's reason when the
    // file cannot be written.
    bool createOutpuFile(const QString& mopFile);

    bool getIsLanthanidePresent() const { return isLanthanidePresent; }
    int getAtomsNumber() const { return coord.size(); }
    Coord getCoord(const int& i) const;       // 1-based
    QString getAtomLabel(const int& i) const; // 1-based

    QString key;
    // The MOL2 atom lines in output order; filled only when a lanthanide is present.
    QStringList atomLines;
    QStringList lanthanides;
    bool isLanthanidePresent = false;
    // Relative to the ion and in output order when one is present, otherwise
    // as the MOL2 file gives them.
    QVector<Coord> coord;

private:
    bool isLnPresent(const QVector<Coord>& atoms);
    // Fills atomLines and, in the same order, the atoms they describe.
    bool orderAtomLines(const QString& mol2File, QVector<Coord>& orderedAtoms);
    bool setCoordVector(const QVector<Coord>& orderedAtoms);
};

#endif
