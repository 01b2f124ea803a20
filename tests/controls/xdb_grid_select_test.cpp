// Multi-selection with real keys and clicks: which records and columns end up selected, in which
// mode and around which anchor; the selection bracket's report (nested, delayed on the fake
// clock); the bulk operations; the walk over selected cells and the copy of them to the clipboard.

#include <gtest/gtest.h>

#include <QApplication>
#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "selection_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/clipboard.h"

namespace tv {
namespace {

// What a step of a sequence does: a key, a left click or a right click on a data cell (record
// number and column index), or a left click on a column's title.
enum class Act { Key, Click, RightClick, TitleClick };

struct Step {
    Act act;
    int key = 0;         // Key: the key
    int record = 0;      // clicks on data cells: the record's ID (= its row, all records shown)
    int column = 1;      // clicks: the column index
    Qt::KeyboardModifiers mods = {};
};

Step K(int key, Qt::KeyboardModifiers mods = {}) { return {Act::Key, key, 0, 0, mods}; }
Step C(int record, Qt::KeyboardModifiers mods = {}, int column = 1) { return {Act::Click, 0, record, column, mods}; }
Step R(int record) { return {Act::RightClick, 0, record, 1, {}}; }
Step T(int column, Qt::KeyboardModifiers mods = {}) { return {Act::TitleClick, 0, 0, column, mods}; }

constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kAlt = Qt::AltModifier;

class GridSelect : public test::GridTest {
protected:
    static constexpr int kRecords = 8;

    // A focused multi-selection grid over kRecords numbered records, all of them shown.
    TXDBGrid* Grid(TMultiSelectOptions modes = {msRows}, TXDBGridOptions add = {}, TXDBGridOptions remove = {}) {
        UseNumberedTable(kRecords);
        grid = AddGrid<TXDBGrid>(460, 320);
        grid->SetOptions(grid->Options() + TXDBGridOptions{dgMultiSelect} + add - remove);
        grid->SetMultiSelectOptions(modes);
        EXPECT_TRUE(test::FocusOn(*grid));
        EXPECT_GE(grid->VisibleDataRowCount(), kRecords);
        return grid;
    }

    void Run(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            const int raw = s.column + grid->IndicatorOffset();
            switch (s.act) {
                case Act::Key:
                    test::Key(s.key, s.mods);
                    break;
                case Act::Click:
                    test::Click(*grid, test::CellPoint(*grid, raw, RowOf(s.record)), s.mods);
                    break;
                case Act::RightClick:
                    QTest::mouseClick(test::ClientWidget(*grid), Qt::RightButton, {},
                                      test::CellPoint(*grid, raw, RowOf(s.record)));
                    break;
                case Act::TitleClick:
                    test::Click(*grid, test::CellPoint(*grid, raw, 0), s.mods);
                    break;
            }
        }
    }
    // The raw row of a record by its ID (all records are shown, the first at the top).
    int RowOf(int id) const { return grid->TitleOffset() + id - 1; }

    std::vector<int> SelectedIds() { return test::SelectedIds(*grid, *table); }
    std::vector<int> SelectedCols() {
        std::vector<int> cols;
        for (int i = 0; i < grid->SelectedCols()->Count(); ++i) cols.push_back(grid->SelectedCols()->Items(i)->Index());
        return cols;
    }
    // The anchor's ID, 0 when none is set.
    int AnchorId() {
        if (grid->SelectionAnchor().IsEmpty()) return 0;
        const TBookmark here = table->GetBookmark();
        table->GotoBookmark(grid->SelectionAnchor());
        const int id = table->FieldByName("ID").AsInteger();
        table->GotoBookmark(here);
        return id;
    }
    int CurrentId() { return table->FieldByName("ID").AsInteger(); }
    void Goto(int id) { table->Locate("ID", Variant(id), {}); }

    TXDBGrid* grid = nullptr;
};

struct SelectCase {
    const char* name;
    TMultiSelectOptions modes;
    TXDBGridOptions add;
    std::vector<Step> steps;
    std::vector<int> rows;
    std::vector<int> cols;
    TMultiSelect mode;
    int anchor;
    TXDBGridOptionsEx addEx = {};
};

TEST_F(GridSelect, KeyAndClickSequencesGiveTheSelection) {
    const std::vector<SelectCase> cases = {
        {"plain click selects the record and anchors there", {msRows}, {}, {C(2)}, {2}, {}, msRows, 2},
        {"shift click selects from the anchor", {msRows}, {}, {C(2), C(5, kShift)}, {2, 3, 4, 5}, {}, msRows, 2},
        {"shift click back over the anchor", {msRows}, {}, {C(5), C(2, kShift)}, {2, 3, 4, 5}, {}, msRows, 5},
        {"ctrl click toggles and moves the anchor", {msRows}, {}, {C(2), C(4, kCtrl)}, {2, 4}, {}, msRows, 4},
        {"ctrl click unselects", {msRows}, {}, {C(2), C(4, kCtrl), C(2, kCtrl)}, {4}, {}, msRows, 2},
        {"shift down stretches the range", {msRows}, {}, {C(2), K(Qt::Key_Down, kShift), K(Qt::Key_Down, kShift)},
         {2, 3, 4}, {}, msRows, 2},
        {"shift up towards the anchor unselects", {msRows}, {},
         {C(2), K(Qt::Key_Down, kShift), K(Qt::Key_Down, kShift), K(Qt::Key_Up, kShift)}, {2, 3}, {}, msRows, 2},
        {"shift up past the anchor", {msRows}, {}, {C(4), K(Qt::Key_Up, kShift), K(Qt::Key_Up, kShift)},
         {2, 3, 4}, {}, msRows, 4},
        {"a plain move drops the selection", {msRows}, {}, {C(2), K(Qt::Key_Down, kShift), K(Qt::Key_Down)}, {}, {},
         msRows, 0},
        {"shift page down to the end", {msRows}, {}, {C(3), K(Qt::Key_PageDown, kShift)}, {3, 4, 5, 6, 7, 8}, {},
         msRows, 3},
        {"ctrl shift home to the first", {msRows}, {}, {C(4), K(Qt::Key_Home, kShift | kCtrl)}, {1, 2, 3, 4}, {},
         msRows, 4},
        {"ctrl shift end to the last", {msRows}, {}, {C(6), K(Qt::Key_End, kShift | kCtrl)}, {6, 7, 8}, {}, msRows, 6},
        {"ctrl a selects all", {msRows}, {}, {C(3), K(Qt::Key_A, kCtrl)}, {1, 2, 3, 4, 5, 6, 7, 8}, {}, msRows, 3},
        {"shift alt click selects all", {msRows}, {}, {C(3, kShift | kAlt)}, {1, 2, 3, 4, 5, 6, 7, 8}, {}, msRows, 3},
        {"ctrl alt click inverts all", {msRows}, {}, {C(2), C(5, kCtrl | kAlt)}, {1, 3, 4, 5, 6, 7, 8}, {}, msRows, 2},
        {"alt click unselects all", {msRows}, {}, {C(2), C(5, kShift), C(7, kAlt)}, {}, {}, msRows, 0},
        {"a right click moves but keeps the selection", {msRows}, {}, {C(2), C(3, kShift), R(6)}, {2, 3}, {},
         msRows, 2},
        {"ctrl home drops the selection", {msRows}, {}, {C(2), C(3, kShift), K(Qt::Key_Home, kCtrl)}, {}, {}, msRows,
         0},
        {"auto-unselect off: a plain click keeps the rows", {msRows}, {dgAutoUnselectOff},
         {C(2, kCtrl), C(5)}, {2}, {}, msRows, 2},
        {"click-select off: a plain click only anchors", {msRows}, {}, {C(3)}, {}, {}, msRows, 3,
         {dgClickSelectOff}},
        {"shift title clicks select a column range", {msRows, msCols}, {}, {T(1, kShift), T(2, kShift)}, {}, {1, 2},
         msCols, 0},
        {"ctrl click toggles a column in column mode", {msRows, msCols}, {},
         {T(0, kShift), T(2, kShift), C(1, kCtrl, 1)}, {}, {0, 2}, msCols, 0},
        {"columns only: a click selects its column", {msCols}, {}, {C(2, {}, 1)}, {}, {1}, msCols, 0},
        {"columns only: shift right stretches the columns", {msCols}, {},
         {C(2, {}, 0), K(Qt::Key_Right, kShift), K(Qt::Key_Right, kShift)}, {}, {0, 1, 2}, msCols, 0},
        {"columns only: a plain right drops them", {msCols}, {}, {C(2, {}, 0), K(Qt::Key_Right, kShift),
         K(Qt::Key_Right)}, {}, {}, msNone, 0},
        {"cells: the clicked cell", {msRows, msCells}, {}, {C(2, {}, 1)}, {2}, {1}, msCells, 2},
        {"cells: shift down and shift right make a block", {msRows, msCells}, {},
         {C(2, {}, 1), K(Qt::Key_Down, kShift), K(Qt::Key_Right, kShift)}, {2, 3}, {1, 2}, msCells, 2},
        {"cells: ctrl click goes back to rows", {msRows, msCells}, {}, {C(2, {}, 1), C(4, kCtrl, 2)}, {4}, {},
         msRows, 4},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(c.name);
        Grid(c.modes, c.add);
        if (c.addEx.Contains(dgClickSelectOff)) {
            auto ex = grid->OptionsEx();
            ex.Include(dgClickSelectOff);
            grid->SetOptionsEx(ex);
        }
        Run(c.steps);
        EXPECT_EQ(SelectedIds(), c.rows);
        EXPECT_EQ(SelectedCols(), c.cols);
        EXPECT_EQ(grid->MultiSelect(), c.mode);
        EXPECT_EQ(AnchorId(), c.anchor);
        delete grid;
        grid = nullptr;
    }
}

TEST_F(GridSelect, ARightClickMovesTheRecordWithoutTouchingTheAnchor) {
    Grid();
    Run({C(2), C(4, kShift), R(7)});
    EXPECT_EQ(CurrentId(), 7);
    EXPECT_EQ(AnchorId(), 2);
    Run({C(5, kShift)});  // the anchor still decides a following Shift click
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(GridSelect, DraggingOverTitlesSelectsColumns) {
    // Columns that cannot be moved: a title dragged sideways selects instead.
    Grid({msRows, msCols}, {}, {dgColumnResize});
    const int first = 1 + grid->IndicatorOffset();
    test::Drag(*grid, test::CellPoint(*grid, first, 0), test::CellPoint(*grid, first + 1, 0));
    EXPECT_EQ(grid->MultiSelect(), msCols);
    EXPECT_EQ(SelectedCols(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(grid->TitleTracking());
}

TEST_F(GridSelect, DraggingOverRowsSelectsThemOneByOne) {
    Grid();
    const int raw = 1 + grid->IndicatorOffset();
    test::Drag(*grid, test::CellPoint(*grid, raw, RowOf(2)), test::CellPoint(*grid, raw, RowOf(5)));
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(AnchorId(), 2);
    // Back up again: the rows left behind are unselected.
    test::Drag(*grid, test::CellPoint(*grid, raw, RowOf(6), 2, 2), test::CellPoint(*grid, raw, RowOf(4)));
    EXPECT_EQ(SelectedIds(), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(AnchorId(), 6);
}

// ---------------------------------------------------------------- the bracket's report

TEST_F(GridSelect, NestedBracketsReportOnceAtTheOutermostEnd) {
    Grid();
    auto ex = grid->OptionsEx();
    ex.Exclude(dgDelaySelectedRows);
    grid->SetOptionsEx(ex);
    int rows = 0, changes = 0;
    grid->OnSelectedRowsChanged = [&](TObject*) { ++rows; };
    grid->OnSelectionChanged = [&](TObject*) { ++changes; };
    grid->BeginSelect();
    grid->BeginSelect();
    grid->SelectRow();
    grid->EndSelect();
    Goto(3);
    grid->SelectRow();
    EXPECT_EQ(rows, 0);
    grid->EndSelect();
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(changes, 1);
    grid->EndSelect();  // unbalanced: nothing
    // CancelSelect ends a bracket the same way.
    grid->BeginSelect();
    grid->UnselectRow();
    grid->CancelSelect();
    EXPECT_EQ(rows, 2);
}

TEST_F(GridSelect, TheDelayedReportComesAfterTheLastOfThreeChanges) {
    Grid();
    ASSERT_TRUE(grid->OptionsEx().Contains(dgDelaySelectedRows));
    int rows = 0;
    grid->OnSelectedRowsChanged = [&](TObject*) { ++rows; };
    for (int id : {2, 4, 6}) {
        Goto(id);
        grid->SelectRow();
        clock.Advance(100);
    }
    EXPECT_EQ(rows, 0);
    clock.Advance(99);  // 199 ms after the last
    EXPECT_EQ(rows, 0);
    clock.Advance(1);
    EXPECT_EQ(rows, 1);
    clock.Advance(1000);
    EXPECT_EQ(rows, 1);
    // Reporting now (delayed work run at once) leaves nothing pending.
    Goto(7);
    grid->SelectRow();
    grid->SelectionDone();
    EXPECT_EQ(rows, 2);
    clock.Advance(300);
    EXPECT_EQ(rows, 2);
}

// ---------------------------------------------------------------- bulk operations

TEST_F(GridSelect, SelectRowsWalksFromTheAnchorAndKeepsThePosition) {
    Grid();
    Goto(3);
    grid->SetSelectionAnchor(table->GetBookmark());
    Goto(5);
    const int row = grid->Row();
    grid->SelectRows();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(CurrentId(), 5);
    EXPECT_EQ(grid->Row(), row);
    grid->InvertRows();
    EXPECT_TRUE(SelectedIds().empty());
    Goto(7);  // below the anchor now
    grid->InvertRows();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{3, 4, 5, 6, 7}));
    Goto(4);
    grid->UnselectRows();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{5, 6, 7}));
    // Without an anchor the current record becomes it.
    grid->ClearSelection();
    EXPECT_EQ(AnchorId(), 0);
    grid->SelectRows();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{4}));
    EXPECT_EQ(AnchorId(), 4);
}

TEST_F(GridSelect, SelectAllKeepsTheListSortedWithoutDuplicates) {
    Grid();
    for (int id : {6, 2}) {
        Goto(id);
        grid->SelectRow();
    }
    Goto(5);
    grid->SelectAll();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(CurrentId(), 5);
    EXPECT_EQ(AnchorId(), 5);
    for (int id = 1; id <= kRecords; ++id) {
        Goto(id);
        EXPECT_TRUE(grid->SelectedRows()->CurrentRowSelected()) << id;
    }
}

TEST_F(GridSelect, InvertAllNeedsExactlyOneKindOfSelection) {
    Grid({msRows, msCells});
    Run({C(2, {}, 1)});
    ASSERT_EQ(grid->MultiSelect(), msCells);
    grid->InvertAll();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{2}));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{1}));
    // Rows only: every record flips.
    grid->ClearSelection();
    ASSERT_EQ(grid->MultiSelect(), msRows);
    Goto(3);
    grid->SelectRow();
    grid->InvertAll();
    EXPECT_EQ(SelectedIds(), (std::vector<int>{1, 2, 4, 5, 6, 7, 8}));
}

TEST_F(GridSelect, InvertAllFlipsColumnsFromTheSelectionOffset) {
    Grid({msCols});
    grid->SetFixedCols(1);
    Run({C(2, {}, 1)});
    ASSERT_EQ(grid->MultiSelect(), msCols);
    grid->InvertAll();
    EXPECT_EQ(SelectedCols(), (std::vector<int>{2, 3}));  // column 0 is fixed, 1 was selected
}

// ---------------------------------------------------------------- the walk and the copy

TEST_F(GridSelect, ForEachDataCellWithNothingSelected) {
    Grid();
    int calls = 0;
    auto count = [&](TXColumn*, TForEachCellFlags) { ++calls; };
    grid->ForEachDataCell(count, fsSelectedOnly);
    EXPECT_EQ(calls, 0);
    Clipboard().SetAsText("kept");
    test::Key(Qt::Key_C, kCtrl);
    EXPECT_EQ(Clipboard().AsText(), "kept");
    // The automatic scope walks the whole dataset then, every column, flags at the edges.
    Goto(4);
    std::vector<std::string> marks;
    grid->ForEachDataCell(
        [&](TXColumn* column, TForEachCellFlags flags) {
            std::string m = std::to_string(table->FieldByName("ID").AsInteger()) + ":" + column->FieldName();
            if (flags.Contains(feFirstRow)) m += "^";
            if (flags.Contains(feLastRow)) m += "$";
            if (flags.Contains(feFirstCol)) m += "<";
            if (flags.Contains(feLastCol)) m += ">";
            marks.push_back(m);
        },
        fsAutoSelect);
    ASSERT_EQ(marks.size(), static_cast<size_t>(kRecords * 4));
    EXPECT_EQ(marks.front(), "1:ID^<");
    EXPECT_EQ(marks[3], "1:ACTIVE^>");
    EXPECT_EQ(marks[4], "2:ID<");
    EXPECT_EQ(marks.back(), "8:ACTIVE$>");
    EXPECT_EQ(CurrentId(), 4);
}

TEST_F(GridSelect, CtrlCCopiesTheSelectedRowsAsText) {
    table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"NAME", TFieldType::ftString, 30},
                               {"NOTE", TFieldType::ftString, 30}, {"CODE", TFieldType::ftString, 10}},
                              {{"7", "Skruv", "M6\tfornicklad", "S1"},
                               {"8", "Mutter", "M6", "M1"},
                               {"9", "Bricka", "", "B1"}});
    source.SetDataSet(table.get());
    grid = AddGrid<TXDBGrid>(460, 320);
    for (const char* name : {"NAME", "NOTE", "CODE"}) grid->Columns()->Add()->SetFieldName(name);
    grid->Columns()->AddAutoNumber();  // at the front
    ASSERT_EQ(grid->Columns()->Count(), 4);
    grid->Columns()->Items(3)->SetVisible(false);  // a hidden last column
    auto options = grid->Options();
    options.Include(dgMultiSelect);
    grid->SetOptions(options);
    ASSERT_TRUE(test::FocusOn(*grid));
    table->Locate("ID", Variant(8), {});
    grid->SelectRow();
    table->Locate("ID", Variant(7), {});
    grid->SelectRow();
    test::Key(Qt::Key_C, kCtrl);
    // The line count numbers the lines, not the records; the tab in a text is a blank; the hidden
    // last column leaves the tab after the last showing one.
    EXPECT_EQ(Clipboard().AsText(), "1.\tSkruv\tM6 fornicklad\t\r\n2.\tMutter\tM6\t\r\n");
    // Ctrl+Insert copies too.
    Clipboard().SetAsText("");
    test::Key(Qt::Key_Insert, kCtrl);
    EXPECT_EQ(Clipboard().AsText(), "1.\tSkruv\tM6 fornicklad\t\r\n2.\tMutter\tM6\t\r\n");
}

}  // namespace
}  // namespace tv
