// The data grid's editor and column tools: the edit style a column gives its cell, what the editor
// takes from the column when it opens, columns found by field name, and the widths a double or a
// middle click on a column border gives.

#include <gtest/gtest.h>

#include <QTest>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

class DataGridEditor : public test::GridTest {
protected:
    // A focused grid over one record with a NAME and a DUE date.
    TXDBGrid* Grid() {
        table = test::ClientTable({{"NAME", TFieldType::ftString, 20}, {"DUE", TFieldType::ftDate}},
                                  {{"Faktura", "2026-12-11"}});
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(400, 200);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    static TXDBGridInplaceEdit* Editor(TXDBGrid& grid) {
        return dynamic_cast<TXDBGridInplaceEdit*>(grid.InplaceEditor());
    }
};

TEST_F(DataGridEditor, TheColumnGivesTheEditStyle) {
    struct Case {
        int column;  // 0 NAME, 1 DUE
        TXColumnButtonStyle button;
        bool readOnly;
        bool pickList;
        TXEditStyle style;
        TXDataEditor editor;
    };
    const Case cases[] = {
        {0, cbsAuto, false, false, esSimple, dePickList},
        {1, cbsAuto, false, false, esPickList, deCalendar},
        {1, cbsAuto, true, false, esSimple, dePickList},  // a read-only date shows no button
        {0, cbsAuto, false, true, esPickList, dePickList},
        {0, cbsAuto, true, true, esSimple, dePickList},
        {0, cbsEllipsis, false, false, esEllipsis, dePickList},
        {1, cbsNone, false, false, esSimple, dePickList},
        {0, cbsDropDown, false, false, esDropDown, dePickList},
        {0, cbsDropDownMenu, false, false, esDropDown, dePickList},
        {0, cbsCalendar, false, false, esPickList, deCalendar},
        {0, cbsCalculator, false, false, esPickList, deCalculator},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " " + std::to_string(c.button) + " " + std::to_string(c.readOnly));
        auto* grid = Grid();
        TXColumn* column = grid->Columns()->Items(c.column);
        column->SetButtonStyle(c.button);
        column->SetReadOnly(c.readOnly);
        if (c.pickList) column->PickList()->SetCommaText("a,b");
        grid->SetSelectedIndex(c.column);
        TXDataEditor editor = deGridList;
        EXPECT_EQ(grid->GetColumnEditStyle(editor), c.style);
        EXPECT_EQ(editor, c.editor);
        if (!c.readOnly) {
            grid->ShowEditor();
            ASSERT_NE(Editor(*grid), nullptr);
            EXPECT_EQ(Editor(*grid)->EditStyle(), c.style);
            EXPECT_EQ(Editor(*grid)->DataEditor(), c.editor);
        }
        delete grid;
    }
}

TEST_F(DataGridEditor, TheEditorTakesColourCaseAndReadOnlyStateFromTheColumn) {
    auto* grid = Grid();
    TXColumn* name = grid->Columns()->Items(0);
    name->SetCharCase(ecUpperCase);
    grid->ShowEditor();
    ASSERT_TRUE(grid->EditorMode());
    TXDBGridInplaceEdit* editor = Editor(*grid);
    EXPECT_EQ(editor->Color(), clWindow);  // EditorColor clNone
    EXPECT_EQ(editor->CharCase(), ecUpperCase);
    EXPECT_FALSE(editor->ReadOnly());
    const std::string opened = static_cast<TControl*>(editor)->Text();
    test::Type("x");
    EXPECT_EQ(static_cast<TControl*>(editor)->Text().back(), 'X');
    editor->RestoreContents();
    EXPECT_EQ(static_cast<TControl*>(editor)->Text(), opened);
    test::Key(Qt::Key_Escape);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Faktura");

    grid->SetEditorColor(clDefault);
    name->SetPickOptions(kDefaultPickOptions + TXPickOptions{poDropDownList});
    grid->ShowEditor();
    EXPECT_EQ(editor->Color(), clInfoBk);
    EXPECT_TRUE(editor->ReadOnly());
    grid->SetEditorColor(clYellow);
    grid->RefreshEditor();
    EXPECT_EQ(editor->Color(), clYellow);
}

TEST_F(DataGridEditor, ColumnsAreFoundByFieldNameInAnyCase) {
    auto* grid = Grid();
    EXPECT_EQ(grid->FindColumn("due"), grid->Columns()->Items(1));
    EXPECT_EQ(grid->ColumnByName("NaMe"), grid->Columns()->Items(0));
    EXPECT_EQ(grid->FindColumn("NAME", 1), nullptr);
    EXPECT_EQ(grid->FindColumn("NAME", 5), nullptr);
    try {
        grid->ColumnByName("PRICE");
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), "Field 'PRICE' not found");
    }
}

TEST_F(DataGridEditor, DoubleAndMiddleClicksOnABorderGiveTheOptimalAndTheDefaultWidth) {
    auto* grid = Grid();
    TXColumn* name = grid->Columns()->Items(0);
    const int raw = grid->IndicatorOffset();
    name->SetWidth(200);
    const QPoint border = test::ColumnBorder(*grid, raw);
    int doubleClicks = 0;
    grid->OnDblClick = [&](TObject*) { ++doubleClicks; };
    QTest::mouseDClick(test::ClientWidget(*grid), Qt::LeftButton, {}, border);
    EXPECT_EQ(name->Width(), name->OptimalWidth());
    EXPECT_LT(name->Width(), 200);
    EXPECT_EQ(doubleClicks, 0);

    name->SetWidth(200);
    QTest::mouseClick(test::ClientWidget(*grid), Qt::MiddleButton, {}, test::ColumnBorder(*grid, raw));
    EXPECT_EQ(name->Width(), name->DefaultWidth());

    // Elsewhere a double click is the grid's.
    QTest::mouseDClick(test::ClientWidget(*grid), Qt::LeftButton, {}, test::CellPoint(*grid, raw, 1));
    EXPECT_EQ(doubleClicks, 1);

    // Without roOptimalWidth and roDefaultWidth the border keeps its width.
    grid->SetResizeOptions({roColumnResize});
    name->SetWidth(200);
    QTest::mouseDClick(test::ClientWidget(*grid), Qt::LeftButton, {}, test::ColumnBorder(*grid, raw));
    QTest::mouseClick(test::ClientWidget(*grid), Qt::MiddleButton, {}, test::ColumnBorder(*grid, raw));
    EXPECT_EQ(name->Width(), 200);
}

}  // namespace
}  // namespace tv
