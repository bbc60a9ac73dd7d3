#ifndef ORVANEFRMSELECTLIGANDATOMS_H
#define ORVANEFRMSELECTLIGANDATOMS_H

#include "ui_orvanefrmselectligandatoms.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

// Splits the ligand atoms ("O 2", "N 9", ...) into groups that share one
// charge factor and one polarizability in the conventional fit. The user drags
// atoms from the "Ligand Atoms" list into the group lists g(n)/alpha(n); the
// buttons add and remove groups.
class OrvaneFrmSelectLigandAtoms : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmSelectLigandAtoms(QWidget* parent = nullptr);
    ~OrvaneFrmSelectLigandAtoms() override;

    // Replaces the unassigned atoms; the groups stay as they are.
    void setLigandAtomList(const QStringList& atoms);
    // Back to one empty group and no atoms; atoms of removed groups are dropped.
    void clearGroups();
    // Group index to its atoms, left to right; false (after a warning) while
    // atoms are left unassigned.
    bool collectGroupsAndAtoms();
    QMap<int, QStringList> getGroupsAndAtoms() const { return groupsAndAtoms; }

    int groupCount() const { return groupLists.size(); }
    QListWidget* groupList(int k) const { return groupLists.value(k); }
    QLabel* groupLabel(int k) const { return groupLabels.value(k); }

    Ui::OrvaneFrmSelectLigandAtoms ui;

public slots:
    void on_btnAddGroup_clicked();
    void on_btnRemoveGroup_clicked();

private:
    static void configureList(QListWidget* list);
    void removeLastGroup();

    QMap<int, QStringList> groupsAndAtoms;
    QList<QListWidget*> groupLists;
    QList<QLabel*> groupLabels;
};

#endif
