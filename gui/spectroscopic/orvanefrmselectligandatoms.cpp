#include "orvanefrmselectligandatoms.h"

#include "orvanedialogs.h"

#include <QLabel>
#include <QListWidget>

namespace {

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

} // namespace

OrvaneFrmSelectLigandAtoms::OrvaneFrmSelectLigandAtoms(QWidget* parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    configureList(ui.listWidgetLigandAtomList);
    on_btnAddGroup_clicked();
}

OrvaneFrmSelectLigandAtoms::~OrvaneFrmSelectLigandAtoms() = default;

// Every list moves atoms to every other list of the widget by drag and drop,
// so an atom never stands in two lists.
void OrvaneFrmSelectLigandAtoms::configureList(QListWidget* list)
{
    QFont font = list->font();
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    list->setFont(font);
    list->setStyleSheet(QStringLiteral("color: rgb(170, 0, 127);"));
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->setDefaultDropAction(Qt::MoveAction);
    list->setAlternatingRowColors(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMovement(QListView::Free);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setSelectionRectVisible(false);
    list->setSortingEnabled(false);
}

void OrvaneFrmSelectLigandAtoms::on_btnAddGroup_clicked()
{
    const int n = groupLists.size() + 1;
    auto* list = new QListWidget(this);
    configureList(list);
    list->setMaximumSize(90, 80);
    list->setToolTip(tr("Dragging and dropping the ligand atoms from “Ligand Atoms” windows.\n"
                        "It is possible to specify the ligand atoms which must possess\n"
                        " the same values of charge factors and polarizabilities."));
    auto* label = new QLabel(QStringLiteral("g(%1)/alpha(%1)").arg(n), this);
    label->setAlignment(Qt::AlignHCenter);
    label->setMaximumWidth(90);
    // Group n stands in grid column n, counted from this widget's own groups.
    ui.gridLayout->addWidget(label, 0, n, 1, 1);
    ui.gridLayout->addWidget(list, 1, n, 1, 1);
    groupLists << list;
    groupLabels << label;
}

void OrvaneFrmSelectLigandAtoms::removeLastGroup()
{
    QListWidget* list = groupLists.takeLast();
    QLabel* label = groupLabels.takeLast();
    ui.gridLayout->removeWidget(list);
    ui.gridLayout->removeWidget(label);
    list->hide();
    label->hide();
    list->deleteLater();
    label->deleteLater();
}

void OrvaneFrmSelectLigandAtoms::on_btnRemoveGroup_clicked()
{
    if (groupLists.size() < 2)
        return;
    ui.listWidgetLigandAtomList->addItems(itemTexts(groupLists.last()));
    removeLastGroup();
}

void OrvaneFrmSelectLigandAtoms::setLigandAtomList(const QStringList& atoms)
{
    ui.listWidgetLigandAtomList->clear();
    ui.listWidgetLigandAtomList->addItems(atoms);
}

void OrvaneFrmSelectLigandAtoms::clearGroups()
{
    while (groupLists.size() > 1)
        removeLastGroup();
    groupLists.first()->clear();
    ui.listWidgetLigandAtomList->clear();
}

bool OrvaneFrmSelectLigandAtoms::collectGroupsAndAtoms()
{
    groupsAndAtoms.clear();
    for (int k = 0; k < groupLists.size(); ++k)
        groupsAndAtoms.insert(k, itemTexts(groupLists.at(k)));
    if (ui.listWidgetLigandAtomList->count() > 0) {
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The ligand atom list cannot contain any ligand atom.\n"
                                  "You must place the ligand atoms to their respectives g and alpha group.\n"));
        return false;
    }
    return true;
}
