// Column groups on the grid, measured with fixed text metrics (8 pixels a character, 16 a line):
// object fields heading their sub-fields, title rows and fixed columns from the groups, the title,
// cell and header-row rectangles, the mouse over group titles, opening and closing by the expand
// button, moving within a group; and on the recording canvas, merged header cells and group titles
// drawn once, expand buttons only where a title is wide enough.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_hints.h"
#include "grid_test_support.h"
#include "platform/data/client_data_set.h"
#include "platform/gui/image_list.h"

namespace tv {
namespace {

// Title height of one caption line: text 16 + TitleRowSpace 8; a header row adds 16 + 8 + 1.
constexpr int kTitleRow = 16 + 8;
constexpr int kHeaderRow = 16 + 8 + 1;

class GridGroups : public test::GridTest {
protected:
    // A grid that measures on the recorder's metrics, over 5 numbered records, with stored
    // columns for the fields named ("" for a column without a field) and the ExpandCols given.
    TXDBGrid* GroupGrid(const std::vector<std::pair<const char*, int>>& columns, int width = 480) {
        UseNumberedTable(5);
        auto* grid = new TXDBGrid(&form);
        grid->Canvas()->AttachRecorder(&recorder);
        grid->SetParent(&form);
        grid->SetBounds(10, 10, width, 300);
        test::SetGroupColumns(*grid, &source, columns);
        return grid;
    }
    static TXColumn* At(TXDBGrid& grid, int index) { return grid.Columns()->Items(index); }
    static int Raw(TXDBGrid& grid, int index) { return index + grid.IndicatorOffset(); }
    // Paints once with the recorder attached (it stays attached for measuring).
    TCanvasRecorder& Painted(TXDBGrid& grid) {
        Paint(grid);
        grid.Canvas()->AttachRecorder(&recorder);
        return recorder;
    }
    std::vector<std::string> TextsDrawn(TXDBGrid& grid, const std::string& text) {
        std::vector<std::string> found;
        for (const TCanvasRecord& r : Painted(grid).Of(TCanvasOp::Text))
            if (r.Text == text) found.push_back(r.Text);
        return found;
    }
};

TEST_F(GridGroups, ObjectFieldsHeadTheirSubFieldsAsDefaultColumns) {
    // NO, ADDRESS (CITY, LINES[0..1]).
    auto customers = std::make_unique<TClientDataSet>();
    customers->FieldDefs().Add("NO", TFieldType::ftInteger);
    TFieldDef& address = customers->FieldDefs().Add("ADDRESS", TFieldType::ftADT);
    address.AddChild("CITY", TFieldType::ftString, 20);
    address.AddChild("LINES", TFieldType::ftArray, 2).AddChild("LINE", TFieldType::ftString, 20);
    customers->CreateDataSet();
    customers->Append();
    customers->FieldByName("NO").SetAsInteger(1);
    customers->FieldByName("ADDRESS.CITY").SetAsString("Lund");
    customers->Post();
    source.SetDataSet(customers.get());
    auto* grid = AddGrid<TXDBGrid>(480, 200);

    TXDBGridColumns* columns = grid->Columns();
    std::vector<std::string> names;
    for (int i = 0; i < columns->Count(); ++i) names.push_back(columns->Items(i)->FieldName());
    EXPECT_EQ(names, (std::vector<std::string>{"NO", "ADDRESS", "ADDRESS.CITY", "ADDRESS.LINES", "ADDRESS.LINES[0]",
                                               "ADDRESS.LINES[1]"}));
    TXColumn* addressColumn = columns->Items(1);
    TXColumn* lines = columns->Items(3);
    EXPECT_TRUE(addressColumn->Expandable());
    EXPECT_TRUE(addressColumn->Expanded());
    EXPECT_FALSE(addressColumn->Showing());
    EXPECT_EQ(columns->Items(2)->ParentColumn(), addressColumn);
    EXPECT_EQ(columns->Items(5)->ParentColumn(), lines);
    EXPECT_EQ(columns->Items(5)->Depth(), 2);
    EXPECT_EQ(addressColumn->ExpandIndex(), 5);
    EXPECT_EQ(columns->Items(0)->ParentColumn(), nullptr);
    EXPECT_EQ(columns->Items(4)->DisplayName(), "ADDRESS.LINES.LINES[0]");
    EXPECT_EQ(grid->TitleRowCount(), 3);
    // The sub-fields' cells show their values.
    EXPECT_EQ(columns->Items(2)->DisplayText(), "Lund");

    // Closing the inner array, then the structure: the titles lose their rows, the columns show.
    int expands = 0;
    grid->OnColExpand = [&](TXColumn*) { ++expands; };
    lines->SetExpanded(false);
    EXPECT_EQ(grid->TitleRowCount(), 2);
    EXPECT_TRUE(lines->Showing());
    EXPECT_FALSE(columns->Items(4)->Showing());
    addressColumn->SetExpanded(false);
    EXPECT_EQ(grid->TitleRowCount(), 1);
    EXPECT_EQ(expands, 2);
    EXPECT_EQ(grid->ColWidths(Raw(*grid, 2)), -grid->ColLineWidth());
    grid->Columns()->RebuildColumns();  // stored columns follow the same field list
    EXPECT_EQ(grid->Columns()->Count(), 6);
    EXPECT_EQ(grid->Columns()->Items(4)->ParentColumn(), grid->Columns()->Items(3));
    source.SetDataSet(nullptr);
}

// ---- title rows and fixed columns

struct LayoutCase {
    const char* name;
    std::vector<std::pair<const char*, int>> columns;
    std::function<void(TXDBGrid&)> change;
    int titleRows;
    std::vector<int> rowHeights;
    int baseFixedCols;
};

TEST_F(GridGroups, GroupsGiveTitleRowsAndWidenTheFixedColumns) {
    const std::vector<std::pair<const char*, int>> grouped{{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}};
    const LayoutCase cases[] = {
        {"a group over two leaves: two title rows of one caption each", grouped, [](TXDBGrid&) {}, 2,
         {kTitleRow, kTitleRow}, 1},
        {"a header on a leaf beside the group goes into the last row", grouped,
         [](TXDBGrid& g) { g.Columns()->Items(4)->Title()->SetHeader("Status"); }, 2, {kTitleRow, kHeaderRow}, 1},
        {"a header on the group raises the group's row", grouped,
         [](TXDBGrid& g) { g.Columns()->Items(1)->Title()->SetHeader("A|B"); }, 2,
         {kTitleRow + 2 * kHeaderRow, kTitleRow}, 1},
        {"a closed group is one title", grouped, [](TXDBGrid& g) { g.Columns()->Items(1)->SetExpanded(false); }, 1,
         {kTitleRow}, 1},
        {"FixedCols 2 in a group fixes the group whole", grouped, [](TXDBGrid& g) { g.SetFixedCols(2); }, 2,
         {kTitleRow, kTitleRow}, 1 + 4},
        {"a fixed group that would fix every column ends before the group",
         {{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}}, [](TXDBGrid& g) { g.SetFixedCols(2); }, 2,
         {kTitleRow, kTitleRow}, 1 + 1},
        {"ExpandCols past the last column is cut to the columns there are", {{"ID", 0}, {"", 9}, {"NAME", 0}},
         [](TXDBGrid&) {}, 2, {kTitleRow, kTitleRow}, 1},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        TXDBGrid* grid = GroupGrid(c.columns);
        c.change(*grid);
        grid->LayoutChanged();
        EXPECT_EQ(grid->TitleRowCount(), c.titleRows);
        std::vector<int> heights;
        for (int r = 0; r < grid->TitleRowCount(); ++r) heights.push_back(grid->RowHeights(r));
        EXPECT_EQ(heights, c.rowHeights);
        EXPECT_EQ(grid->TCustomGrid::FixedCols(), c.baseFixedCols);
        delete grid;
    }
}

// ---- rectangles and the mouse

TEST_F(GridGroups, TitleRectanglesSpanTheirGroupAndTheRowsBelow) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}}, 300);
    TXColumn* group = At(*grid, 1);
    TXColumn* name = At(*grid, 2);
    TXColumn* price = At(*grid, 3);
    TXColumn* id = At(*grid, 0);
    const TRect nameRow0 = grid->CellRect(Raw(*grid, 2), 0);
    const TRect priceRow0 = grid->CellRect(Raw(*grid, 3), 0);
    const TRect nameRow1 = grid->CellRect(Raw(*grid, 2), 1);
    // The group's title over both children; each child's in its own row.
    EXPECT_EQ(grid->ColumnTitleRect(price, 0), Rect(nameRow0.Left, nameRow0.Top, priceRow0.Right, priceRow0.Bottom));
    EXPECT_EQ(grid->ColumnTitleRect(group, 0), grid->ColumnTitleRect(name, 0));
    EXPECT_EQ(grid->ColumnTitleRect(name, 1), nameRow1);
    // A leaf beside the group fills both title rows.
    const TRect idRow0 = grid->CellRect(Raw(*grid, 0), 0);
    EXPECT_EQ(grid->ColumnTitleRect(id, 0),
              Rect(idRow0.Left, 0, idRow0.Right, grid->TitleHeight() - grid->RowLineWidth()));
    EXPECT_TRUE(grid->ColumnTitleRect(nullptr, 0).IsEmpty());

    // Over the group's title the mouse names the group's own raw column; below it the child.
    EXPECT_EQ(grid->MouseCoord(nameRow0.Left + 5, nameRow0.Top + 5), (TGridCoord{Raw(*grid, 1), 0}));
    EXPECT_EQ(grid->MouseCoord(priceRow0.Left + 5, nameRow1.Top + 5), (TGridCoord{Raw(*grid, 3), 1}));
    const TRect data = grid->CellRect(Raw(*grid, 3), 2);
    EXPECT_EQ(grid->MouseCoord(data.Left + 5, data.Top + 5), (TGridCoord{Raw(*grid, 3), 2}));

    // Scrolled so that the group's first child is out of view: the visible title starts at the
    // second child, the cell rectangle keeps the caption's place over the whole group.
    grid->SetFixedCols(1);
    grid->LayoutChanged();
    grid->SetLeftCol(Raw(*grid, 3));
    ASSERT_EQ(grid->LeftCol(), Raw(*grid, 3));
    const TRect shown = grid->ColumnTitleRect(price, 0);
    EXPECT_EQ(shown.Left, grid->CellRect(Raw(*grid, 3), 0).Left);
    const TRect cell = grid->ColumnTitleCellRect(price, 0);
    EXPECT_EQ(cell.Left, shown.Left - (80 + grid->ColLineWidth()));
    EXPECT_EQ(cell.Width(), group->ExpandWidth() - grid->ColLineWidth());
}

TEST_F(GridGroups, HeadersMergeWithNeighboursOfTheSameTextsAndParent) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}});
    TXColumn* id = At(*grid, 0);
    TXColumn* name = At(*grid, 2);
    TXColumn* price = At(*grid, 3);
    TXColumn* active = At(*grid, 4);
    name->Title()->SetHeader("Artikel|Namn");
    price->Title()->SetHeader("Artikel|Pris");
    id->Title()->SetHeader("Artikel");
    active->Title()->SetHeader("Artikel");
    grid->LayoutChanged();
    struct Neighbours {
        TXColumn* column;
        int level;
        TXColumn* left;
        TXColumn* right;
    };
    const Neighbours cases[] = {
        {name, 0, nullptr, price},  // the same texts up to level 0, the same parent
        {price, 0, name, nullptr},
        {name, 1, nullptr, nullptr},  // "Namn" and "Pris" differ
        {id, 0, nullptr, nullptr},    // the group stands between: another parent's columns
        {active, 0, nullptr, nullptr},
        {price, 2, nullptr, nullptr},  // no such level
    };
    for (const Neighbours& c : cases) {
        EXPECT_EQ(c.column->Title()->HeaderLeft(c.level), c.left) << c.column->FieldName() << " " << c.level;
        EXPECT_EQ(c.column->Title()->HeaderRight(c.level), c.right) << c.column->FieldName() << " " << c.level;
    }
    // The merged header row spans both children; the second row is each child's own.
    const TRect nameCell = grid->ColumnTitleCellRect(name, 1);
    const auto merged = grid->HeaderRowRect(name, 0, nameCell);
    EXPECT_EQ(merged.Full, Rect(nameCell.Left, nameCell.Top, nameCell.Right + price->ExpandWidth(),
                                nameCell.Top + kHeaderRow));
    EXPECT_EQ(merged.Visible, merged.Full);
    const auto own = grid->HeaderRowRect(name, 1, nameCell);
    EXPECT_EQ(own.Full, Rect(nameCell.Left, nameCell.Top + kHeaderRow, nameCell.Right, nameCell.Top + 2 * kHeaderRow));
    EXPECT_EQ(grid->HeaderRowAt(price, nameCell.Top + kHeaderRow + 2), 1);
    EXPECT_EQ(grid->HeaderRowAt(price, nameCell.Top + 2 * kHeaderRow + 2), -1);

    // A header never spans the fixed boundary.
    TXDBGrid* flat = GroupGrid({{"ID", 0}, {"NAME", 0}, {"PRICE", 0}});
    for (int i = 0; i < 3; ++i) At(*flat, i)->Title()->SetHeader("Artikel");
    flat->LayoutChanged();
    EXPECT_EQ(At(*flat, 0)->Title()->HeaderRight(0), At(*flat, 1));
    flat->SetFixedCols(1);
    EXPECT_EQ(At(*flat, 0)->Title()->HeaderRight(0), nullptr);
    EXPECT_EQ(At(*flat, 1)->Title()->HeaderRight(0), At(*flat, 2));
}

TEST_F(GridGroups, TitleHintsHoldOverTheWholeTitleTheyName) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}});
    grid->SetHintOptions({hoTitleHints, hoShowTitleHints});
    TXColumn* id = At(*grid, 0);
    TXColumn* group = At(*grid, 1);
    TXColumn* name = At(*grid, 2);
    TXColumn* price = At(*grid, 3);
    name->Title()->SetHeader("Artikel|Namn");
    price->Title()->SetHeader("Artikel|Pris");
    grid->LayoutChanged();
    const int colLine = grid->ColLineWidth();
    const int rowLine = grid->RowLineWidth();
    auto withLines = [&](TRect r) { return Rect(r.Left, r.Top, r.Right + colLine, r.Bottom + rowLine); };
    const TRect nameCell = grid->ColumnTitleCellRect(name, 1);
    TRect priceTitle = grid->ColumnTitleRect(price, 1);
    priceTitle.Top += 2 * kHeaderRow;
    const TRect idTitle = grid->ColumnTitleRect(id, 0);
    struct Case {
        const char* what;
        TPoint at;
        TRect cursor;
        const char* hint;
    };
    const Case cases[] = {
        {"the group's title", {nameCell.Left + 5, 5}, withLines(grid->ColumnTitleRect(group, 0)), "Group"},
        {"a leaf's title through both title rows", {idTitle.Left + 5, idTitle.Bottom - 3}, withLines(idTitle), "ID"},
        {"a header row merged over two columns", {nameCell.Left + 5, nameCell.Top + 3},
         withLines(grid->HeaderRowRect(name, 0, nameCell).Visible), "Artikel"},
        {"the caption below the headers", {priceTitle.Left + 5, priceTitle.Bottom - 3}, withLines(priceTitle),
         "PRICE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THintInfo info;
        EXPECT_EQ(grid->HintQuery(c.at, info), 0);
        EXPECT_EQ(info.HintStr, c.hint);
        EXPECT_EQ(info.CursorRect, c.cursor);
        EXPECT_TRUE(info.CursorRect.Contains(c.at));
    }
}

// ---- painting

TEST_F(GridGroups, MergedTitlesAndHeadersAreDrawnOnce) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}}, 300);
    At(*grid, 1)->SetExpandStyle(cesNone);  // no button: the caption alone
    At(*grid, 1)->Title()->SetCaption("Artiklar");
    At(*grid, 2)->Title()->SetHeader("Belopp");
    At(*grid, 3)->Title()->SetHeader("Belopp");
    grid->LayoutChanged();
    EXPECT_EQ(TextsDrawn(*grid, "Artiklar").size(), 1u);
    EXPECT_EQ(TextsDrawn(*grid, "Belopp").size(), 1u);
    EXPECT_EQ(TextsDrawn(*grid, "NAME").size(), 1u);
    EXPECT_EQ(TextsDrawn(*grid, "ID").size(), 1u);  // over two title rows, still once

    // The group's title framed once, over both children.
    const TRect groupCell = grid->ColumnTitleCellRect(At(*grid, 1), 0);
    int groupFrames = 0;
    for (const TCanvasRecord& r : Painted(*grid).Of(TCanvasOp::Edge)) groupFrames += r.Rect == groupCell;
    EXPECT_EQ(groupFrames, 1);
    EXPECT_EQ(groupCell.Width(), 2 * 80 + grid->ColLineWidth());

    // The merged header cell stays once when the first column sharing it scrolls away: the
    // second draws it, its caption placed over the whole header.
    grid->SetFixedCols(1);
    grid->LayoutChanged();
    grid->SetLeftCol(Raw(*grid, 3));
    int drawn = 0;
    for (const TCanvasRecord& r : Painted(*grid).Of(TCanvasOp::Text))
        if (r.Text == "Belopp") {
            ++drawn;
            EXPECT_EQ(r.Clip.Left, grid->CellRect(Raw(*grid, 3), 1).Left + 1);
        }
    EXPECT_EQ(drawn, 1);
}

TEST_F(GridGroups, AnExpandButtonOnlyWhereTheTitleIsWideEnough) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 1}, {"NAME", 0}, {"", 1}, {"PRICE", 0}});
    TImageList* glyphs = grid->Indicators();
    auto buttons = [&] {
        std::vector<std::pair<int, int>> found;  // glyph, x
        for (const TCanvasRecord& r : Painted(*grid).Of(TCanvasOp::Glyph))
            if (r.Source == glyphs && r.Index >= 9 && r.Index <= 11) found.push_back({r.Index, r.From.X});
        return found;
    };
    const int arrow = grid->ScrollBarExtent();
    const TRect first = grid->ColumnTitleCellRect(At(*grid, 1), 0);
    // Two open groups 80 wide: each shows the open glyph centred in the arrow square at its right.
    const int x = first.Right - 1 - arrow + (arrow - glyphs->Width()) / 2;
    ASSERT_EQ(buttons().size(), 2u);
    EXPECT_EQ(buttons()[0], (std::pair<int, int>{10, x}));
    // Narrower than the arrow, the second has none; closed, the first shows the closed glyph; a
    // drop-down style shows its own on a plain column.
    At(*grid, 4)->SetWidth(arrow - 2);
    At(*grid, 1)->SetExpanded(false);
    At(*grid, 0)->SetExpandStyle(cesDropDown);
    const auto shown = buttons();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, 9);
    EXPECT_EQ(shown[1].first, 11);
    // A width just the arrow's, less the frame pixels, is enough again.
    At(*grid, 4)->SetWidth(arrow + 2);
    EXPECT_EQ(buttons().size(), 3u);
}

// ---- clicks and moves

TEST_F(GridGroups, TheExpandButtonOpensAndClosesItsGroup) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}});
    ASSERT_TRUE(test::FocusOn(*grid));
    TXColumn* group = At(*grid, 1);
    std::vector<TXColumn*> expanded;
    grid->OnColExpand = [&](TXColumn* c) { expanded.push_back(c); };
    grid->SetSelectedIndex(3);  // PRICE, in the group
    const TRect cell = grid->ColumnTitleCellRect(group, 0);
    const QPoint button(cell.Right - 7, cell.Top + cell.Height() / 2);
    TXColumn* hit = nullptr;
    EXPECT_TRUE(grid->ExpandButtonAt(button.x(), button.y(), hit));
    EXPECT_EQ(hit, group);
    EXPECT_FALSE(grid->ExpandButtonAt(cell.Left + 5, button.y(), hit));
    test::Click(*grid, button);
    EXPECT_FALSE(group->Expanded());
    EXPECT_EQ(expanded, std::vector<TXColumn*>{group});
    EXPECT_EQ(grid->TitleRowCount(), 1);
    // The current column was closed away: the group's own column, to its left, is current.
    EXPECT_EQ(grid->SelectedColumn(), group);
    // Open again: the current column moves right onto the first child.
    const TRect closed = grid->ColumnTitleCellRect(group, 0);
    test::Click(*grid, {closed.Right - 7, closed.Top + closed.Height() / 2});
    EXPECT_TRUE(group->Expanded());
    EXPECT_EQ(grid->SelectedColumn(), At(*grid, 2));
    EXPECT_EQ(expanded.size(), 2u);
}

TEST_F(GridGroups, AChildDraggedLeftStopsAtItsGroupsFirstChild) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 3}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}});
    ASSERT_TRUE(test::FocusOn(*grid));
    auto order = [&] {
        std::vector<std::string> names;
        for (int i = 0; i < grid->Columns()->Count(); ++i) names.push_back(At(*grid, i)->FieldName());
        return names;
    };
    auto title = [&](int index, int row) {
        const TRect cell = grid->CellRect(Raw(*grid, index), row);
        return QPoint(cell.Left + cell.Width() / 2, cell.Top + 4);
    };
    // ACTIVE dragged onto ID, outside its group: it lands at the group's first child.
    test::Drag(*grid, title(4, 1), title(0, 1), 6);
    EXPECT_EQ(order(), (std::vector<std::string>{"ID", "", "ACTIVE", "NAME", "PRICE"}));
    EXPECT_EQ(At(*grid, 2)->ParentColumn(), At(*grid, 1));
    // The group's title moves the group whole, past ID.
    test::Drag(*grid, title(3, 0), title(0, 0), 6);
    EXPECT_EQ(order(), (std::vector<std::string>{"", "ACTIVE", "NAME", "PRICE", "ID"}));
    EXPECT_EQ(At(*grid, 0)->ExpandIndex(), 3);
}

TEST_F(GridGroups, AGroupMovedRightLandsBehindTheColumnAtTheTarget) {
    TXDBGrid* grid = GroupGrid({{"ID", 0}, {"", 2}, {"NAME", 0}, {"PRICE", 0}, {"ACTIVE", 0}, {"", 0}});
    At(*grid, 5)->Title()->SetCaption("Last");
    At(*grid, 1)->SetIndex(4);  // onto ACTIVE: the group ends there, the last column stays last
    std::vector<std::string> captions;
    for (int i = 0; i < grid->Columns()->Count(); ++i) captions.push_back(At(*grid, i)->Title()->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"ID", "ACTIVE", "Group", "NAME", "PRICE", "Last"}));
    EXPECT_EQ(At(*grid, 2)->ExpandIndex(), 4);
}

}  // namespace
}  // namespace tv
