// The pop-up editor of a column whose field holds a nested dataset: the floating grid's size as a
// table, and on a shown grid: nothing for other columns, one floating grid per nested dataset
// (shown again, not made again), placed at the current cell and sized to its columns, with the
// look taken from the grid.

#include <gtest/gtest.h>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/gui/form.h"
#include "platform/gui/screen.h"

namespace tv {
namespace {

TEST(FloatingGridSize, ClientWidthFollowsNarrowColumnsElseAQuarterOfTheScreen) {
    struct Case {
        int columnsRight;
        bool clientWidth;
        int width;
    };
    const Case cases[] = {{300, true, 300}, {639, true, 639}, {640, false, 320}, {700, false, 320}, {0, false, 320}};
    for (const Case& c : cases) {
        const TFloatingGridSize size = FloatingGridSize(c.columnsRight, 1280, 1024);
        EXPECT_EQ(size.ClientWidth, c.clientWidth) << c.columnsRight;
        EXPECT_EQ(size.Width, c.width) << c.columnsRight;
        EXPECT_EQ(size.Height, 256) << c.columnsRight;
    }
}

class DataGridPopupEditor : public test::GridTest {
protected:
    // ORDERS: NO and LINES (ITEM, QTY), two orders, the first with two lines.
    DataGridPopupEditor() {
        table = std::make_unique<TClientDataSet>();
        table->FieldDefs().Add("NO", TFieldType::ftInteger);
        TFieldDef& lines = table->FieldDefs().Add("LINES", TFieldType::ftDataSet);
        lines.AddChild("ITEM", TFieldType::ftInteger);
        lines.AddChild("QTY", TFieldType::ftInteger);
        table->CreateDataSet();
        TDataSet& nested = *table->FieldByName("LINES").NestedDataSet();
        for (int no = 1; no <= 2; ++no) {
            table->Append();
            table->FieldByName("NO").SetAsInteger(no);
            table->Post();
        }
        table->First();
        for (int item = 10; item <= 11; ++item) {
            nested.Append();
            nested.FieldByName("ITEM").SetAsInteger(item);
            nested.Post();
        }
        source.SetDataSet(table.get());
    }

    // The grids the grid owns.
    static std::vector<TXCustomDBGrid*> FloatingGrids(const TXCustomDBGrid& grid) {
        std::vector<TXCustomDBGrid*> grids;
        for (int i = 0; i < grid.ComponentCount(); ++i)
            if (auto* g = dynamic_cast<TXCustomDBGrid*>(grid.Components(i))) grids.push_back(g);
        return grids;
    }
};

TEST_F(DataGridPopupEditor, FloatingGridIsMadeOnceAtTheCurrentCellAndSizedToItsColumns) {
    auto* grid = AddGrid<TXDBGrid>(460, 300);
    grid->SetFixedStyle(fsFlat);
    grid->SetOptions(grid->Options() + TXDBGridOptions{dgRowSelect});
    TXColumn* lines = grid->FindColumn("LINES");
    ASSERT_NE(lines, nullptr);
    grid->ShowPopupEditor(grid->FindColumn("NO"), kPopupAtCell, kPopupAtCell);
    grid->ShowPopupEditor(nullptr, kPopupAtCell, kPopupAtCell);
    EXPECT_TRUE(FloatingGrids(*grid).empty());

    grid->ShowPopupEditor(lines, kPopupAtCell, kPopupAtCell);
    std::vector<TXCustomDBGrid*> floating = FloatingGrids(*grid);
    ASSERT_EQ(floating.size(), 1u);
    TXCustomDBGrid* nested = floating[0];
    EXPECT_EQ(nested->DataSource()->DataSet(), table->FieldByName("LINES").NestedDataSet());
    EXPECT_EQ(nested->DataRowCount(), 2);
    TForm* form = nested->ParentForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Widget()->isVisible());
    EXPECT_TRUE(nested->Visible());
    // At the current cell's top-left corner on the screen.
    const TRect cell = grid->CellRect(grid->Col(), grid->Row());
    const QPoint corner = test::ClientWidget(*grid)->mapToGlobal(QPoint(cell.Left, cell.Top));
    EXPECT_EQ(form->Left(), corner.x());
    EXPECT_EQ(form->Top(), corner.y());
    // Its client width is the columns' right edge (far under half the screen), a quarter of the
    // screen high. The edge is summed from the widths: once the form is that narrow, the grid's
    // frame and vertical bar, inside the form's client area, cut the last title's cell rectangle.
    int columnsRight = 0;
    for (int i = 0; i < nested->ColCount(); ++i) columnsRight += nested->ColWidths(i) + nested->ColLineWidth();
    columnsRight -= nested->ColLineWidth();
    EXPECT_EQ(form->ClientWidth(), columnsRight);
    EXPECT_EQ(nested->Width() - nested->ClientWidth(), 2 + nested->ScrollBarExtent());
    EXPECT_EQ(form->Height(), Screen().Height() / 4);
    // The look is the grid's, without title buttons and with no filler glyph.
    EXPECT_EQ(nested->FixedStyle(), fsFlat);
    EXPECT_TRUE(nested->Options().Contains(dgRowSelect));
    EXPECT_FALSE(nested->Options().Contains(dgTitleButtons));
    EXPECT_EQ(nested->FillerIndex(), -1);

    // Asked again (at another place too) the same grid shows.
    form->Hide();
    grid->ShowPopupEditor(lines, 5, 5);
    EXPECT_EQ(FloatingGrids(*grid), floating);
    EXPECT_TRUE(form->Widget()->isVisible());
}

TEST_F(DataGridPopupEditor, FloatingGridGoesWithItsGrid) {
    auto* grid = AddGrid<TXDBGrid>(460, 300);
    grid->ShowPopupEditor(grid->FindColumn("LINES"), 40, 50);
    ASSERT_EQ(FloatingGrids(*grid).size(), 1u);
    TForm* floatingForm = FloatingGrids(*grid)[0]->ParentForm();
    EXPECT_EQ(floatingForm->Left(), 40);
    EXPECT_EQ(floatingForm->Top(), 50);
    delete grid;  // the floating grid and its form go with it (the sanitizer watches)
    EXPECT_EQ(form.ControlCount(), 0);
}

TEST_F(DataGridPopupEditor, ANestedDatasetColumnNeverLoadsItsPickList) {
    auto* grid = AddGrid<TXDBGrid>(460, 300);
    TXColumn* lines = grid->FindColumn("LINES");
    ASSERT_NE(lines, nullptr);
    lines->SetPickOptions(TXPickOptions{poAutoLoadList});
    int updates = 0;
    grid->OnListItemsUpdated = [&](TObject*) { ++updates; };
    grid->UpdateListItems(false);
    clock.Advance(200);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(lines->PickList()->Count(), 0);
}

}  // namespace
}  // namespace tv
