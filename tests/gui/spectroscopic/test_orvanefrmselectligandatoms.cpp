#include "../support/guitestsupport.h"

#include "orvanefrmselectligandatoms.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

const QString unassignedWarning = QStringLiteral(
    "The ligand atom list cannot contain any ligand atom.\nYou must place the ligand atoms to their respectives g "
    "and alpha group.\n");

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

int gridColumn(const OrvaneFrmSelectLigandAtoms& w, QWidget* widget)
{
    const int index = w.ui.gridLayout->indexOf(widget);
    if (index < 0)
        return -1;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    w.ui.gridLayout->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return column;
}

// Moves the atom with this text from the ligand-atom list into group k, as a
// drag would.
void assign(OrvaneFrmSelectLigandAtoms& w, const QString& atom, int k)
{
    QListWidget* from = w.ui.listWidgetLigandAtomList;
    const auto found = from->findItems(atom, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << atom.toStdString();
    w.groupList(k)->addItem(from->takeItem(from->row(found.first())));
}

void expectGroups(const OrvaneFrmSelectLigandAtoms& w, int count)
{
    ASSERT_EQ(w.groupCount(), count);
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(w.groupLabel(k)->text(), QStringLiteral("g(%1)/alpha(%1)").arg(k + 1));
        EXPECT_EQ(gridColumn(w, w.groupLabel(k)), k + 1);
        EXPECT_EQ(gridColumn(w, w.groupList(k)), k + 1);
    }
}

class GroupingWidget : public ::testing::Test
{
protected:
    DialogScript dialogs;
    OrvaneFrmSelectLigandAtoms widget;
};

} // namespace

TEST_F(GroupingWidget, StartsWithOneEmptyGroupBesideTheLigandAtoms)
{
    expectGroups(widget, 1);
    EXPECT_EQ(widget.groupList(0)->count(), 0);
    EXPECT_EQ(widget.ui.listWidgetLigandAtomList->count(), 0);
    EXPECT_EQ(gridColumn(widget, widget.ui.listWidgetLigandAtomList), 0);
    EXPECT_TRUE(widget.getGroupsAndAtoms().isEmpty());
    // Atoms move between the lists: a dragged atom leaves its source.
    for (QListWidget* list : {widget.ui.listWidgetLigandAtomList, widget.groupList(0)}) {
        EXPECT_EQ(list->dragDropMode(), QAbstractItemView::DragDrop);
        EXPECT_EQ(list->defaultDropAction(), Qt::MoveAction);
        EXPECT_TRUE(list->dragEnabled());
    }
}

TEST_F(GroupingWidget, AddsGroupsInTheNextColumnAndNeverRemovesTheFirst)
{
    widget.ui.btnRemoveGroup->click();
    expectGroups(widget, 1);
    widget.ui.btnAddGroup->click();
    widget.ui.btnAddGroup->click();
    expectGroups(widget, 3);
    widget.ui.btnRemoveGroup->click();
    expectGroups(widget, 2);
    widget.ui.btnAddGroup->click();
    expectGroups(widget, 3);
}

TEST_F(GroupingWidget, RemovingAGroupReturnsItsAtomsInOrder)
{
    widget.setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("O 3"), QStringLiteral("N 4")});
    widget.ui.btnAddGroup->click();
    assign(widget, QStringLiteral("O 3"), 1);
    assign(widget, QStringLiteral("N 4"), 1);
    EXPECT_EQ(texts(widget.ui.listWidgetLigandAtomList), QStringList{QStringLiteral("O 2")});
    widget.ui.btnRemoveGroup->click();
    expectGroups(widget, 1);
    EXPECT_EQ(texts(widget.ui.listWidgetLigandAtomList),
              (QStringList{QStringLiteral("O 2"), QStringLiteral("O 3"), QStringLiteral("N 4")}));
}

TEST_F(GroupingWidget, CollectsGroupsOnlyWhenEveryAtomIsAssigned)
{
    widget.setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("O 3"), QStringLiteral("N 4")});
    widget.ui.btnAddGroup->click();
    widget.ui.btnAddGroup->click();
    assign(widget, QStringLiteral("N 4"), 0);
    assign(widget, QStringLiteral("O 2"), 2);

    dialogs.pressButton(QMessageBox::Ok);
    EXPECT_FALSE(widget.collectGroupsAndAtoms());
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().first().kind, OrvaneDialogs::Kind::Warning);
    EXPECT_EQ(dialogs.requests().first().title, QStringLiteral("ORVANE Warning"));
    EXPECT_EQ(dialogs.requests().first().text, unassignedWarning);
    // The map of the refused attempt stays.
    EXPECT_EQ(widget.getGroupsAndAtoms().size(), 3);

    assign(widget, QStringLiteral("O 3"), 2);
    EXPECT_TRUE(widget.collectGroupsAndAtoms());
    QMap<int, QStringList> expected;
    expected.insert(0, {QStringLiteral("N 4")});
    expected.insert(1, {});
    expected.insert(2, {QStringLiteral("O 2"), QStringLiteral("O 3")});
    EXPECT_EQ(widget.getGroupsAndAtoms(), expected);

    // Dropping the third group and placing its atoms again gives two groups.
    widget.ui.btnRemoveGroup->click();
    assign(widget, QStringLiteral("O 2"), 1);
    assign(widget, QStringLiteral("O 3"), 0);
    EXPECT_TRUE(widget.collectGroupsAndAtoms());
    expected.clear();
    expected.insert(0, {QStringLiteral("N 4"), QStringLiteral("O 3")});
    expected.insert(1, {QStringLiteral("O 2")});
    EXPECT_EQ(widget.getGroupsAndAtoms(), expected);
    EXPECT_EQ(dialogs.requests().size(), 1);
}

TEST_F(GroupingWidget, ClearingLeavesOneEmptyGroupAndNoAtoms)
{
    widget.setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("O 3"), QStringLiteral("N 4")});
    for (int i = 0; i < 3; ++i)
        widget.ui.btnAddGroup->click();
    assign(widget, QStringLiteral("O 2"), 0);
    assign(widget, QStringLiteral("O 3"), 3);
    widget.clearGroups();
    expectGroups(widget, 1);
    EXPECT_EQ(widget.groupList(0)->count(), 0);
    EXPECT_EQ(widget.ui.listWidgetLigandAtomList->count(), 0);
    widget.ui.btnAddGroup->click();
    expectGroups(widget, 2);

    // A new atom list replaces the old one and leaves the groups alone.
    widget.setLigandAtomList({QStringLiteral("S 5")});
    widget.setLigandAtomList({QStringLiteral("O 2"), QStringLiteral("N 3")});
    EXPECT_EQ(texts(widget.ui.listWidgetLigandAtomList), (QStringList{QStringLiteral("O 2"), QStringLiteral("N 3")}));
    expectGroups(widget, 2);
}

TEST(GroupingWidgets, TwoWidgetsNumberTheirColumnsIndependently)
{
    OrvaneFrmSelectLigandAtoms first;
    for (int i = 0; i < 3; ++i)
        first.ui.btnAddGroup->click();
    OrvaneFrmSelectLigandAtoms second;
    expectGroups(second, 1);
    second.ui.btnAddGroup->click();
    expectGroups(second, 2);
    first.clearGroups();
    second.ui.btnAddGroup->click();
    expectGroups(second, 3);
    first.ui.btnAddGroup->click();
    expectGroups(first, 2);
}
