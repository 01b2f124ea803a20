// The grid's selected rows (bookmarks in the dataset's order) and selected columns.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "selection_test_support.h"
#include "platform/data/db_error.h"

namespace tv {
namespace {

// A grid that records its selection reports.
class TSelectionGrid : public TXDBGrid {
public:
    using TXDBGrid::TXDBGrid;
    std::vector<TSelectAction> actions;
    int rowsReports = 0;

    void Listen() {
        OnRowSelect = [this](TObject*, TSelectAction a) { actions.push_back(a); };
        OnSelectedRowsChanged = [this](TObject*) { ++rowsReports; };
    }
};

class SelectionLists : public test::GridTest {
protected:
    SelectionLists() {
        UseNumberedTable(12);
        grid = AddGrid<TSelectionGrid>(400, 300);
        grid->Listen();
        // Each change is reported at once here (the delayed report is the selection tests').
        auto ex = grid->OptionsEx();
        ex.Exclude(dgDelaySelectedRows);
        grid->SetOptionsEx(ex);
    }
    // Selects the records of these IDs, in this order.
    void Select(std::initializer_list<int> ids) {
        for (int id : ids) {
            table->Locate("ID", Variant(id), {});
            grid->SelectedRows()->SetCurrentRowSelected(true);
        }
    }
    // The IDs of the selected records, in list order.
    std::vector<int> SelectedIds() { return test::SelectedIds(*grid, *table); }
    TSelectionGrid* grid = nullptr;
};

TEST_F(SelectionLists, BookmarksStayInTheDatasetsOrder) {
    Select({9, 2, 5});
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 5, 9}));
    TXBookmarkList& rows = *grid->SelectedRows();
    table->Locate("ID", Variant(5), {});
    EXPECT_TRUE(rows.CurrentRowSelected());
    EXPECT_EQ(rows.IndexOf(table->GetBookmark()), 1);
    table->Locate("ID", Variant(6), {});
    EXPECT_FALSE(rows.CurrentRowSelected());
    EXPECT_EQ(rows.IndexOf(table->GetBookmark()), -1);
    int at = -1;
    EXPECT_FALSE(rows.Find(table->GetBookmark(), at));
    EXPECT_EQ(at, 2);  // where it would go
    EXPECT_EQ(grid->actions, (std::vector<TSelectAction>{saSelect, saSelect, saSelect}));
    EXPECT_EQ(grid->rowsReports, 3);
    EXPECT_TRUE(grid->RowsSelected());
    EXPECT_TRUE(grid->MultiSelected());
}

TEST_F(SelectionLists, SelectingASelectedRowChangesNothing) {
    Select({4});
    Select({4});
    EXPECT_EQ(grid->SelectedRows()->Count(), 1);
    EXPECT_EQ(grid->actions.size(), 1u);
    grid->SelectedRows()->SetCurrentRowSelected(false);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->actions.back(), saUnselect);
    grid->SelectedRows()->SetCurrentRowSelected(false);
    EXPECT_EQ(grid->actions.size(), 2u);
}

TEST_F(SelectionLists, InsertingAndRemovingOutsideTheListRaise) {
    TXBookmarkList& rows = *grid->SelectedRows();
    const TBookmark b = table->GetBookmark();
    EXPECT_THROW(rows.Insert(1, b), EListError);
    EXPECT_THROW(rows.RemoveAt(0), EListError);
    rows.Insert(0, b);
    EXPECT_THROW(rows.Items(1), EListError);
    rows.RemoveAt(0);
    EXPECT_EQ(rows.Count(), 0);
}

TEST_F(SelectionLists, ClearReportsOnlyWhenSomethingWasSelected) {
    grid->SelectedRows()->Clear();
    EXPECT_TRUE(grid->actions.empty());
    Select({1, 3});
    grid->SelectedRows()->Clear();
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->actions.back(), saClear);
}

TEST_F(SelectionLists, DeleteRemovesTheSelectedRecords) {
    Select({3, 7, 8});
    grid->actions.clear();
    grid->rowsReports = 0;
    grid->SelectedRows()->Delete();
    EXPECT_EQ(table->RecordCount(), 9);
    for (int id : {3, 7, 8}) EXPECT_FALSE(table->Locate("ID", Variant(id), {})) << id;
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->actions, (std::vector<TSelectAction>{saDelete}));
    EXPECT_EQ(grid->rowsReports, 1);
}

TEST_F(SelectionLists, DeleteWithNothingSelectedCancelsItsBracket) {
    grid->SelectedRows()->Delete();
    EXPECT_EQ(table->RecordCount(), 12);
    EXPECT_TRUE(grid->actions.empty());
    EXPECT_EQ(grid->rowsReports, 0);
}

TEST_F(SelectionLists, AFailedDeletionKeepsTheRowsNotReached) {
    Select({2, 4, 6});
    // The second record from the end refuses to go.
    table->BeforeDelete = [this](TDataSet*) {
        if (table->FieldByName("ID").AsInteger() == 4) DatabaseError("refused");
    };
    EXPECT_THROW(grid->SelectedRows()->Delete(), EDatabaseError);
    table->BeforeDelete = nullptr;
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 4}));
    EXPECT_EQ(table->RecordCount(), 11);
    EXPECT_FALSE(table->ControlsDisabled());
}

TEST_F(SelectionLists, RefreshDropsTheRowsThatAreGone) {
    Select({2, 5, 10});
    grid->actions.clear();
    EXPECT_FALSE(grid->SelectedRows()->Refresh());
    EXPECT_TRUE(grid->actions.empty());
    // Record 5 is deleted past the grid.
    table->Locate("ID", Variant(5), {});
    table->Delete();
    EXPECT_TRUE(grid->SelectedRows()->Refresh());
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 10}));
    EXPECT_EQ(grid->actions, (std::vector<TSelectAction>{saRefresh}));
}

TEST_F(SelectionLists, TheCurrentRowOfAClosedDatasetCannotBeAsked) {
    table->Close();
    try {
        (void)grid->SelectedRows()->CurrentRowSelected();
        FAIL() << "a closed dataset has no current row";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation on a closed dataset");
    }
}

TEST_F(SelectionLists, ColumnsSelectedOneByOneStayInColumnOrder) {
    grid->SetMultiSelectOptions({msRows, msCols});
    TXColumnList& cols = *grid->SelectedCols();
    ASSERT_GE(grid->Columns()->Count(), 3);
    int reports = 0;
    grid->OnSelectedColsChanged = [&](TObject*) { ++reports; };
    EXPECT_TRUE(cols.NeedsRebuild());
    cols.SetSelected(2, true);
    cols.SetSelected(0, true);
    cols.SetSelected(0, true);  // already there
    ASSERT_EQ(cols.Count(), 2);
    EXPECT_EQ(cols.Items(0), grid->Columns()->Items(0));
    EXPECT_EQ(cols.Items(1), grid->Columns()->Items(2));
    EXPECT_FALSE(cols.NeedsRebuild());
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(cols.Selected(2));
    EXPECT_FALSE(cols.Selected(1));
    EXPECT_FALSE(cols.Selected(99));
    EXPECT_EQ(cols.IndexOf(grid->Columns()->Items(1)), -1);
    EXPECT_TRUE(grid->ColsSelected());
    cols.SetSelected(2, false);
    EXPECT_EQ(cols.Count(), 1);
    cols.Clear();
    EXPECT_EQ(cols.Count(), 0);
    EXPECT_EQ(reports, 4);
}

TEST_F(SelectionLists, TheCurrentColumnCanBeSelected) {
    grid->SetSelectedIndex(1);
    TXColumnList& cols = *grid->SelectedCols();
    EXPECT_FALSE(cols.CurrentColSelected());
    cols.SetCurrentColSelected(true);
    EXPECT_TRUE(cols.CurrentColSelected());
    EXPECT_TRUE(cols.Selected(1));
}

}  // namespace
}  // namespace tv
