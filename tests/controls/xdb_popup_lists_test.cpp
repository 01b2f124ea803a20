// The lookup grid with its first column heading the others (loExpandFirstColumn): the heading
// column widened to the editor's width while the list is open, the list's width by whether it is
// open or closed, and what the column keeps after the list closes (the width the editor gave back,
// a width the user set, whether the heading column was open).

#include <gtest/gtest.h>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit.h"
#include "controls/xdb_popup_lists.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

// ORDERS with the lookup field USERNAME (test::LookupOrders), in a grid whose lookup lists are
// grids.
class LookupGridFirstColumn : public test::GridTest {
protected:
    LookupGridFirstColumn() {
        users = test::LookupOrders(orders);
        source.SetDataSet(&orders);
    }
    ~LookupGridFirstColumn() override {
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }
    // A focused grid with the editor on USERNAME, its lookup grid listing SIGNATURE and ID in
    // columns of `widths`, the first heading the other.
    TXDBGridInplaceEdit* EditUserName(const char* widths) {
        grid = AddGrid<TXDBGrid>(400, 200);
        grid->SetOptionsExt(grid->OptionsExt() + TXDBGridOptionsExt{dgGridStyleLists});
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->SetSelectedField(&orders.FieldByName("USERNAME"));
        grid->ShowEditor();
        auto* editor = dynamic_cast<TXDBGridInplaceEdit*>(grid->InplaceEditor());
        EXPECT_TRUE(test::FocusOn(*editor));
        column = grid->SelectedColumn();
        column->SetLookupListFields("SIGNATURE;ID");
        column->SetLookupListWidths(widths);
        column->SetListOptions(column->ListOptions() + TXListOptions{loExpandFirstColumn});
        return editor;
    }
    std::unique_ptr<TClientDataSet> users;
    TClientDataSet orders;
    TXDBGrid* grid = nullptr;
    TXColumn* column = nullptr;
};

TEST_F(LookupGridFirstColumn, TheHeadingColumnFillsTheListWhileOpenAndKeepsItsWidthAfter) {
    struct Case {
        const char* what;
        const char* widths;         // LookupListWidths before
        bool expanded;              // loFirstColumnExpanded before
        bool toggle;                // the heading column opened or closed in the list
        int userWidth;              // a width the user gives the heading column (0: none)
        bool widened;               // the heading column is wider than its own width while open
        bool listAsEditor;          // the list is the editor's width + 2
        const char* widthsAfter;    // LookupListWidths after
        bool expandedAfter;         // loFirstColumnExpanded after
    };
    const Case cases[] = {
        {"closed, narrow: widened to the editor", "40;30", false, false, 0, true, true, "40;30", false},
        {"closed, wider than lists grow: as it is", "900;30", false, false, 0, false, false, "900;30", false},
        {"open, narrow: widened while hidden", "40;30", true, false, 0, true, false, "40;30", true},
        {"closed, then opened in the list", "40;30", false, true, 0, true, true, "40;30", true},
        {"open, then closed in the list", "40;30", true, true, 0, true, false, "40;30", false},
        {"a width the user set stays", "40;30", false, false, 77, true, true, "77;30", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXDBGridInplaceEdit* editor = EditUserName(c.widths);
        if (c.expanded) column->SetListOptions(column->ListOptions() + TXListOptions{loFirstColumnExpanded});

        test::Key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(editor->ListVisible());
        TXPopupGridList* list = editor->GridList();
        ASSERT_EQ(list->Columns()->Count(), 2);
        TXColumn* first = list->Columns()->Items(0);
        const TXColumn* second = list->Columns()->Items(1);
        EXPECT_EQ(first->ExpandCols(), 1);
        EXPECT_EQ(first->Expanded(), c.expanded);
        EXPECT_EQ(second->Showing(), c.expanded);
        const int own = std::stoi(c.widths);
        if (c.widened) {
            EXPECT_GT(first->WidthBase(), own);
        } else {
            EXPECT_EQ(first->WidthBase(), own);
        }
        if (c.listAsEditor) {
            EXPECT_EQ(list->Width(), editor->Width() + 2);
        }
        if (!c.expanded && !c.widened) {
            EXPECT_GT(list->Width(), own);
        }

        if (c.toggle) first->SetExpanded(!first->Expanded());
        if (c.userWidth) first->SetWidthBase(c.userWidth);
        test::Key(Qt::Key_Escape);
        ASSERT_FALSE(editor->ListVisible());
        EXPECT_EQ(column->LookupListWidths(), c.widthsAfter);
        EXPECT_EQ(column->ListOptions().Contains(loFirstColumnExpanded), c.expandedAfter);
        delete grid;
    }
}

TEST_F(LookupGridFirstColumn, WithoutTheOptionEveryColumnStandsAlone) {
    TXDBGridInplaceEdit* editor = EditUserName("40;30");
    test::Key(Qt::Key_Down, Qt::AltModifier);
    test::Key(Qt::Key_Escape);
    // The same list for a column without the option: no group is left behind.
    column->SetListOptions(column->ListOptions() - TXListOptions{loExpandFirstColumn});
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupGridList* list = editor->GridList();
    EXPECT_EQ(list->Columns()->Items(0)->ExpandCols(), 0);
    EXPECT_TRUE(list->Columns()->Items(0)->Showing());
    EXPECT_TRUE(list->Columns()->Items(1)->Showing());
    EXPECT_EQ(list->Columns()->Items(0)->WidthBase(), 40);
    test::Key(Qt::Key_Escape);
    EXPECT_EQ(column->LookupListWidths(), "40;30");
}

}  // namespace
}  // namespace tv
