// The data grid's in-place editor with its button and lists: the list's rows and width within the
// column's limits, its place on the screen (below, above, against the bottom) and its sliding open
// on the clock; the keys and the button that open and close it; completion while typing, keypad
// stepping and clearing; closing the editor with the choice; and the lookup grid's columns.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit_layout.h"
#include "controls/xdb_popup_lists.h"
#include "controls/xdb_popup_pick_list.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/menu.h"
#include "platform/gui/screen.h"

namespace tv {
namespace {

TEST(InplaceListLimits, RowsAndWidthsKeepWithinTheColumnsLimits) {
    struct RowCase {
        int dropDownRows, count, rows;
    };
    const RowCase rowCases[] = {
        {0, 35, 20}, {50, 35, 35}, {-1, 35, 35}, {7, 35, 7}, {35, 35, 35}, {0, 12, 12}, {0, 0, 1}, {3, 0, 1},
    };
    for (const RowCase& c : rowCases)
        EXPECT_EQ(LimitListRows(c.dropDownRows, c.count), c.rows) << c.dropDownRows << " of " << c.count;

    struct WidthCase {
        int dropDownWidth, width, editorWidth, result;
    };
    const WidthCase widthCases[] = {
        {0, 300, 100, 300},  {0, 900, 100, 800},  {150, 300, 100, 150}, {400, 300, 100, 300},
        {0, 50, 100, 102},   {60, 300, 100, 102}, {-1, 900, 100, 900},
    };
    for (const WidthCase& c : widthCases)
        EXPECT_EQ(LimitListWidth(c.dropDownWidth, c.width, c.editorWidth), c.result)
            << c.dropDownWidth << " of " << c.width;
}

TEST(InplaceListPlacement, BelowAboveOrAgainstTheWorkAreasBottom) {
    const TRect workArea{0, 0, 800, 600};
    struct Case {
        const char* what;
        TPoint editor;
        int listWidth, listHeight;
        bool rtl, gridStyle;
        TRect bounds;
        bool above;
    };
    const Case cases[] = {
        {"below", {100, 100}, 150, 200, false, false, {99, 120, 249, 320}, false},
        {"above near the bottom", {100, 500}, 150, 200, false, false, {99, 299, 249, 499}, true},
        {"above, grid style a pixel lower", {100, 500}, 150, 200, false, true, {99, 300, 249, 500}, true},
        {"fits neither: against the bottom", {100, 300}, 150, 450, false, false, {99, 150, 249, 600}, false},
        {"cut to the work area's height", {100, 300}, 150, 900, false, false, {99, 0, 249, 600}, false},
        {"past the right edge: right edges line up", {700, 100}, 150, 100, false, false, {651, 120, 801, 220}, false},
        {"right to left lines up on the right", {300, 100}, 150, 100, true, false, {251, 120, 401, 220}, false},
        {"right to left, not past the left edge", {20, 100}, 150, 100, true, false, {19, 120, 169, 220}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TListPlacement place =
            PlaceDropDownList(c.editor, 100, 19, c.listWidth, c.listHeight, workArea, c.rtl, c.gridStyle);
        EXPECT_EQ(place.bounds.Left, c.bounds.Left);
        EXPECT_EQ(place.bounds.Top, c.bounds.Top);
        EXPECT_EQ(place.bounds.Right, c.bounds.Right);
        EXPECT_EQ(place.bounds.Bottom, c.bounds.Bottom);
        EXPECT_EQ(place.above, c.above);
    }
}

class InplaceEditList : public test::GridTest {
protected:
    // A focused grid over one record whose NAME is `name`, its column picking from `picks`, with
    // the editor shown.
    TXDBGrid* PickGrid(const std::string& name, const std::string& picks) {
        table = test::ClientTable({{"NAME", TFieldType::ftString, 20}, {"DUE", TFieldType::ftDate}},
                                  {{name.c_str(), "2026-12-11"}});
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(400, 200);
        grid->Columns()->Items(0)->PickList()->SetCommaText(picks);
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->SetSelectedIndex(0);
        grid->ShowEditor();
        EXPECT_TRUE(test::FocusOn(*Editor(*grid)));
        return grid;
    }
    static TXDBGridInplaceEdit* Editor(TXDBGrid& grid) {
        return dynamic_cast<TXDBGridInplaceEdit*>(grid.InplaceEditor());
    }
    static std::string Numbered(int count) {
        std::string items;
        for (int i = 1; i <= count; ++i) items += (i > 1 ? "," : "") + std::string("Item") + std::to_string(100 + i);
        return items;
    }
    // Lets the list slide open to its full height.
    void SlideOpen() { clock.Advance(40 * kListSlideStepMs); }
};

TEST_F(InplaceEditList, TheListShowsTheRowsTheColumnAllows) {
    struct Case {
        int dropDownRows, rows;
    };
    // A column's negative DropDownRows is stored as 0, so it shows 20 rows like 0.
    const Case cases[] = {{0, 20}, {50, 35}, {-1, 20}, {7, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dropDownRows);
        auto* grid = PickGrid("", Numbered(35));
        grid->Columns()->Items(0)->SetDropDownRows(c.dropDownRows);
        TXDBGridInplaceEdit* editor = Editor(*grid);
        ASSERT_EQ(editor->EditStyle(), esPickList);
        test::Key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(editor->ListVisible());
        SlideOpen();
        TXPopupPickList* list = editor->PickList();
        EXPECT_EQ(list->Height(), c.rows * list->ItemHeight() + 2);
        EXPECT_GE(list->Width(), editor->Width() + 2);
        test::Key(Qt::Key_Escape);
        EXPECT_FALSE(editor->ListVisible());
        EXPECT_FALSE(list->Visible());
        delete grid;
    }
}

TEST_F(InplaceEditList, TheListSlidesOpenARowPerTimerStepBelowTheCell) {
    auto* grid = PickGrid("", Numbered(10));
    TXDBGridInplaceEdit* editor = Editor(*grid);
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupPickList* list = editor->PickList();
    const int row = list->ItemHeight();
    const TPoint cell = editor->ClientToScreen({0, 0});
    EXPECT_EQ(list->Left(), cell.X - 1);
    EXPECT_EQ(list->Top(), cell.Y + editor->Height() + 1);
    EXPECT_EQ(list->ClientHeight(), row);  // nothing waited inside the drop-down
    clock.Advance(kListSlideStepMs);
    EXPECT_EQ(list->ClientHeight(), 2 * row);
    clock.Advance(kListSlideStepMs);
    EXPECT_EQ(list->ClientHeight(), 3 * row);
    SlideOpen();
    EXPECT_EQ(list->Height(), 10 * row + 2);
    EXPECT_EQ(clock.RunningTicks(), 0);
    // The editor kept the focus.
    EXPECT_TRUE(editor->Widget()->hasFocus());
    test::Key(Qt::Key_F2);
    EXPECT_FALSE(editor->ListVisible());
}

TEST_F(InplaceEditList, NearTheScreensBottomTheListOpensAboveAndGrowsUpwards) {
    const TRect workArea = Screen().WorkAreaRect();
    form.SetBounds(20, workArea.Bottom - 140, 520, 420);
    QApplication::processEvents();
    auto* grid = PickGrid("", Numbered(10));
    TXDBGridInplaceEdit* editor = Editor(*grid);
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupPickList* list = editor->PickList();
    const int row = list->ItemHeight();
    // On the cell's top line; a pick list in the grid's style a pixel lower.
    const int cellTop = editor->ClientToScreen({0, 0}).Y;
    const int bottom = cellTop - 1 + (grid->OptionsExt().Contains(dgGridStyleLists) ? 1 : 0);
    EXPECT_EQ(list->Top() + list->Height(), bottom);
    const int firstTop = list->Top();
    clock.Advance(kListSlideStepMs);
    EXPECT_EQ(list->Top(), firstTop - row);
    EXPECT_EQ(list->Top() + list->Height(), bottom);
    SlideOpen();
    EXPECT_EQ(list->Height(), 10 * row + 2);
    EXPECT_EQ(list->Top(), bottom - list->Height());
    test::Key(Qt::Key_Escape);
}

TEST_F(InplaceEditList, ChoosingWithTheMouseEndsEditingWithAutoCloseEditor) {
    for (const bool autoClose : {true, false}) {
        SCOPED_TRACE(autoClose);
        auto* grid = PickGrid("Abc", "Abc,Abd,Xyz");
        TXColumn* column = grid->Columns()->Items(0);
        TXListOptions options = column->ListOptions() - TXListOptions{loAutoCloseEditor};
        if (autoClose) options.Include(loAutoCloseEditor);
        column->SetListOptions(options);
        TXDBGridInplaceEdit* editor = Editor(*grid);
        test::Key(Qt::Key_F2);
        SlideOpen();
        TXPopupPickList* list = editor->PickList();
        ASSERT_EQ(list->Items()->Count(), 3);
        const TRect third = list->ItemRect(2);
        QWidget* rows = list->Widget()->childAt(third.Left + 5, third.Top + 3 + 1);
        ASSERT_NE(rows, nullptr);
        const QPoint at = rows->mapFrom(list->Widget(), QPoint(third.Left + 5, third.Top + 3));
        EXPECT_EQ(list->ItemIndex(), 0);
        QTest::mouseMove(rows, at);
        QTest::mouseClick(rows, Qt::LeftButton, {}, at);
        EXPECT_FALSE(editor->ListVisible());
        QApplication::processEvents();
        EXPECT_EQ(grid->EditorMode(), !autoClose);
        if (grid->EditorMode()) EXPECT_EQ(editor->Text(), "Xyz");
        EXPECT_EQ(table->FieldByName("NAME").AsString(), "Xyz");
        table->Cancel();
        delete grid;
    }
}

TEST_F(InplaceEditList, KeysOpenCloseAndMoveInTheList) {
    auto* grid = PickGrid("Abd", "Abc,Abd,Xyz");
    TXDBGridInplaceEdit* editor = Editor(*grid);
    test::Key(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_EQ(editor->PickList()->ItemIndex(), 1);  // the editor's text
    test::Key(Qt::Key_Down);                         // to the list
    EXPECT_EQ(editor->PickList()->ItemIndex(), 2);
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(grid->EditorMode());  // Enter closed the list only
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Xyz");
    // Esc closes without taking the row; Tab too.
    test::Key(Qt::Key_Down, Qt::AltModifier);
    test::Key(Qt::Key_Up);
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Xyz");
}

TEST_F(InplaceEditList, TheButtonOpensAndClosesTheListOrClicks) {
    auto* grid = PickGrid("Abc", "Abc,Abd");
    TXDBGridInplaceEdit* editor = Editor(*grid);
    const TRect button = editor->ButtonRect();
    ASSERT_EQ(button.Width(), editor->ButtonWidth());
    EXPECT_EQ(button.Right, editor->Width());
    const QPoint on(button.Left + button.Width() / 2, button.Top + button.Height() / 2);
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    EXPECT_TRUE(editor->ListVisible());
    EXPECT_TRUE(editor->ButtonPressed());
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    EXPECT_FALSE(editor->ButtonPressed());
    EXPECT_TRUE(editor->ListVisible());
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    EXPECT_FALSE(editor->ListVisible());
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, on);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Abc");

    // An ellipsis button, F2 and Ctrl+Enter click it.
    int clicks = 0;
    grid->OnEditButtonClick = [&](TObject*) { ++clicks; };
    grid->Columns()->Items(0)->SetButtonStyle(cbsEllipsis);
    grid->RefreshEditor();
    ASSERT_EQ(editor->EditStyle(), esEllipsis);
    QTest::mouseClick(editor->Widget(), Qt::LeftButton, {}, on);
    test::Key(Qt::Key_F2);
    test::Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(grid->EditorMode());
    // Pressed on the button and released off it: no click.
    QTest::mousePress(editor->Widget(), Qt::LeftButton, {}, on);
    QTest::mouseRelease(editor->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks, 3);
}

TEST_F(InplaceEditList, TypingCompletesFromThePickValues) {
    auto* grid = PickGrid("", "Abc,Abd");
    TXDBGridInplaceEdit* editor = Editor(*grid);
    test::Type("a");
    EXPECT_EQ(editor->Text(), "abc");
    EXPECT_EQ(editor->SelText(), "bc");
    test::Type("b");
    EXPECT_EQ(editor->Text(), "abc");
    EXPECT_EQ(editor->SelText(), "c");
    test::Type("d");
    EXPECT_EQ(editor->Text(), "abd");
    EXPECT_EQ(editor->SelText(), "");
    // No completion inside the text, or for what no value begins with.
    test::Type("x");
    EXPECT_EQ(editor->Text(), "abdx");
}

TEST_F(InplaceEditList, TheKeypadStepsThroughThePickValuesAndWraps) {
    auto* grid = PickGrid("Xyz", "Abc,Abd,Xyz");
    TXDBGridInplaceEdit* editor = Editor(*grid);
    test::Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(editor->Text(), "Abc");
    EXPECT_EQ(editor->SelText(), "Abc");
    test::Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(editor->Text(), "Xyz");
    test::Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(editor->Text(), "Abd");
    // Without loSelectNextValue the keypad types.
    TXColumn* column = grid->Columns()->Items(0);
    column->SetListOptions(column->ListOptions() - TXListOptions{loSelectNextValue});
    editor->SetSelStart(3);
    test::Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(editor->Text(), "Abd+");
}

TEST_F(InplaceEditList, DeleteClearsADropDownListValueOnlyWhenAllOfItIsSelected) {
    auto* grid = PickGrid("Abd", "Abc,Abd,Xyz");
    TXColumn* column = grid->Columns()->Items(0);
    column->SetPickOptions(kDefaultPickOptions + TXPickOptions{poDropDownList});
    column->SetListOptions(column->ListOptions() + TXListOptions{loAllowClearValue});
    grid->RefreshEditor();
    TXDBGridInplaceEdit* editor = Editor(*grid);
    ASSERT_TRUE(editor->ReadOnly());
    editor->SetSelStart(1);
    editor->SetSelLength(2);
    test::Key(Qt::Key_Delete);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Abd");
    editor->SelectAll();
    test::Key(Qt::Key_Delete);
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "");
}

TEST_F(InplaceEditList, TheLookupGridNumbersItsRowsForAnEmptyListField) {
    auto* grid = PickGrid("", "");
    TXPopupGridList list;
    list.SetGrid(grid);
    list.SetListFields("NAME;");
    ASSERT_EQ(list.Columns()->Count(), 2);
    EXPECT_EQ(list.Columns()->Items(0)->FieldName(), "NAME");
    TXColumn* numbers = list.Columns()->Items(1);
    EXPECT_TRUE(numbers->AutoNumber());
    EXPECT_EQ(numbers->Title()->Caption(), "No.");
    EXPECT_EQ(numbers->Alignment(), taRightJustify);
    EXPECT_EQ(list.Columns()->Items(0)->Title()->Alignment(), taCenter);
    EXPECT_EQ(list.ListFields(), "NAME;");
    list.SetListTitles("Namn;Nr");
    list.SetListWidths("120;x");
    EXPECT_EQ(list.ListTitles(), "Namn;Nr");
    EXPECT_EQ(list.Columns()->Items(0)->WidthBase(), 120);
    // Without the final ";" no numbering column.
    list.SetListFields("NAME");
    EXPECT_EQ(list.Columns()->Count(), 1);
    EXPECT_EQ(list.ListTitles(), "NAME");
}

TEST_F(InplaceEditList, EnteringACellOfAnAutoDropDownColumnOpensItsList) {
    auto* grid = PickGrid("Abc", "Abc,Abd");
    TXColumn* column = grid->Columns()->Items(0);
    column->SetListOptions(column->ListOptions() + TXListOptions{loAutoDropDown});
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    grid->SetSelectedIndex(0);
    grid->ShowEditor();
    TXDBGridInplaceEdit* editor = Editor(*grid);
    EXPECT_FALSE(editor->ListVisible());  // posted, not opened inside the cell change
    QApplication::processEvents();
    EXPECT_TRUE(editor->ListVisible());
    // The open list has the keyboard and hands Esc to the editor.
    QTest::keyClick(editor->PickList()->Widget(), Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    // The same cell again does not drop down again.
    grid->RefreshEditor();
    QApplication::processEvents();
    EXPECT_FALSE(editor->ListVisible());
}

TEST_F(InplaceEditList, F2EndsEditingOnAnOpenListOnlyInAnAutoDropDownColumn) {
    // With loAutoCloseEditor F2 takes the row either way; it ends editing only as the close of an
    // automatic drop-down.
    for (const bool autoDropDown : {false, true}) {
        SCOPED_TRACE(autoDropDown);
        auto* grid = PickGrid("Abc", "Abc,Abd,Xyz");
        TXColumn* column = grid->Columns()->Items(0);
        TXListOptions options = column->ListOptions() + TXListOptions{loAutoCloseEditor};
        if (autoDropDown) options.Include(loAutoDropDown);
        column->SetListOptions(options);
        TXDBGridInplaceEdit* editor = Editor(*grid);
        QApplication::processEvents();
        if (!editor->ListVisible()) test::Key(Qt::Key_F2);
        ASSERT_TRUE(editor->ListVisible());
        test::Key(Qt::Key_Down);
        test::Key(Qt::Key_F2);
        EXPECT_FALSE(editor->ListVisible());
        QApplication::processEvents();
        EXPECT_EQ(grid->EditorMode(), !autoDropDown);
        EXPECT_EQ(table->FieldByName("NAME").AsString(), "Abd");
        table->Cancel();
        delete grid;
    }
}

TEST_F(InplaceEditList, TheOpenListStandsOnTheTextFoundInThePickDisplay) {
    // Pick texts formatted in the list only: the cell shows "Beta", the list "Beta - B".
    struct Case {
        TXPickOptions options;
        const char* text;
    };
    const Case cases[] = {
        {kDefaultPickOptions + TXPickOptions{poFormatPickText, poFormatListOnly}, "Beta"},
        {kDefaultPickOptions, "Beta"},
    };
    for (const Case& c : cases) {
        auto* grid = PickGrid("B", "A,B,C");
        TXColumn* column = grid->Columns()->Items(0);
        column->PickText()->SetCommaText("Alpha,Beta,Gamma");
        column->SetPickOptions(c.options);
        grid->RefreshEditor();
        TXDBGridInplaceEdit* editor = Editor(*grid);
        ASSERT_EQ(editor->Text(), c.text);
        test::Key(Qt::Key_F2);
        ASSERT_TRUE(editor->ListVisible());
        EXPECT_EQ(editor->PickList()->ItemIndex(), 1);
        EXPECT_EQ(editor->PickList()->Items()->Strings(1),
                  c.options.Contains(poFormatListOnly) ? column->FormatPickText(1) : std::string("Beta"));
        test::Key(Qt::Key_Escape);
        delete grid;
    }
}

TEST_F(InplaceEditList, GridStyleListsDrawThePickListsRowsThemselves) {
    for (const bool gridStyle : {false, true}) {
        auto* grid = PickGrid("Abc", "Abc,Abd");
        TXDBGridOptionsExt ext = grid->OptionsExt() - TXDBGridOptionsExt{dgGridStyleLists};
        if (gridStyle) ext.Include(dgGridStyleLists);
        grid->SetOptionsExt(ext);
        TXDBGridInplaceEdit* editor = Editor(*grid);
        test::Key(Qt::Key_F2);
        ASSERT_TRUE(editor->ListVisible());
        EXPECT_EQ(editor->PickList()->Style(), gridStyle ? lbOwnerDrawFixed : lbStandard);
        if (gridStyle) EXPECT_EQ(editor->PickList()->ItemHeight(), grid->DefaultRowHeight());
        test::Key(Qt::Key_Escape);
        delete grid;
    }
}

TEST_F(InplaceEditList, ADropDownMenuColumnsButtonDropsItsMenuBeforeClicking) {
    auto* grid = PickGrid("Abc", "");
    TXColumn* column = grid->Columns()->Items(0);
    column->SetButtonStyle(cbsDropDownMenu);
    grid->RefreshEditor();
    TXDBGridInplaceEdit* editor = Editor(*grid);
    ASSERT_EQ(editor->EditStyle(), esDropDown);
    int clicks = 0;
    int menus = 0;
    grid->OnEditButtonClick = [&](TObject*) { ++clicks; };
    test::Key(Qt::Key_F2);  // no menu: the button's click
    EXPECT_EQ(clicks, 1);
    auto* menu = new TPopupMenu(&form);
    menu->OnPopup = [&](TObject*) { ++menus; };
    column->SetDropDownMenu(menu);
    test::Key(Qt::Key_F2);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(InplaceEditList, TheEditorsHintAndItsPause) {
    auto* grid = PickGrid("Abc", "Abc,Abd");
    grid->SetShowHint(true);
    grid->SetHint("Orders");
    TXColumn* column = grid->Columns()->Items(0);
    column->SetEditorHint("Type a name");
    TXDBGridInplaceEdit* editor = Editor(*grid);
    // The grid's Hint follows the cell its own hint query hinted; the editor takes the main hint.
    THintInfo info;
    const QPoint title = test::CellPoint(*grid, 1, 0);
    grid->HintQuery({title.x(), title.y()}, info);
    ASSERT_NE(grid->Hint(), "Orders");
    struct Case {
        TXHintOptions options;
        const char* hint;
        bool window;
        int pause;
    };
    // Hidden ones first: a tool tip lingers a moment after it is hidden. hoShowEditorHints alone
    // leaves the editor without hints, so no query runs (-1: the pause stays as it was).
    const Case cases[] = {
        {{}, "Orders", false, 1},
        {{hoEditorHints}, "Type a name", false, 1},
        {{hoEditorHints, hoShowEditorHints}, "Type a name", true, 2},
        {{hoShowEditorHints}, "Orders", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint + std::string(c.window ? " shown" : " not shown"));
        grid->SetHintOptions(c.options);
        grid->RefreshEditor();
        QWidget* line = editor->Widget();
        const QPoint at(5, 5);
        QHelpEvent query(QEvent::ToolTip, at, line->mapToGlobal(at));
        QCoreApplication::sendEvent(line, &query);
        EXPECT_EQ(editor->Hint(), c.hint);
        if (c.pause >= 0) EXPECT_EQ(grid->HintPauseState(), c.pause);
        EXPECT_TRUE(query.isAccepted());  // not on to the grid's own hints
        EXPECT_EQ(QToolTip::isVisible() && QToolTip::text() == QString(c.hint), c.window);
    }
    QToolTip::hideText();
}

TEST_F(InplaceEditList, TheLookupGridsSearchKeepsThirtyTwoCharactersNotBytes) {
    std::string name;
    for (int i = 0; i < 40; ++i) name += "å";
    table = test::ClientTable({{"NAME", TFieldType::ftString, 100}}, {{"x"}, {name.c_str()}});
    source.SetDataSet(table.get());
    TXPopupGridList list;
    list.SetSearchField("NAME");
    list.SetDataSource(&source);
    for (int i = 0; i < 40; ++i) list.SearchKey(u'å');
    EXPECT_EQ(list.SearchText(), name.substr(0, 32 * 2));
    EXPECT_EQ(table->FieldByName("NAME").AsString(), name);
    list.SetDataSource(nullptr);
}

// ORDERS with USERID and the lookup field USERNAME (the SIGNATURE of the user with that ID).
class InplaceLookupList : public InplaceEditList {
protected:
    InplaceLookupList() {
        users = test::LookupOrders(orders);
        source.SetDataSet(&orders);
    }
    ~InplaceLookupList() override {
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }
    TXDBGrid* LookupGrid(bool gridStyle) {
        auto* grid = AddGrid<TXDBGrid>(400, 200);
        TXDBGridOptionsExt ext = grid->OptionsExt() - TXDBGridOptionsExt{dgGridStyleLists};
        if (gridStyle) ext.Include(dgGridStyleLists);
        grid->SetOptionsExt(ext);
        EXPECT_TRUE(test::FocusOn(*grid));
        grid->SetSelectedField(&orders.FieldByName("USERNAME"));
        grid->ShowEditor();
        EXPECT_TRUE(test::FocusOn(*Editor(*grid)));
        return grid;
    }
    std::unique_ptr<TClientDataSet> users;
    TClientDataSet orders;
};

TEST_F(InplaceLookupList, TheLookupListChoosesTheKey) {
    auto* grid = LookupGrid(false);
    TXDBGridInplaceEdit* editor = Editor(*grid);
    ASSERT_EQ(editor->EditStyle(), esPickList);
    ASSERT_EQ(editor->DataEditor(), deDataList);
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(editor->ListVisible());
    SlideOpen();
    TXPopupDataList* list = editor->DataList();
    EXPECT_EQ(list->RowCount(), 3);
    EXPECT_EQ(list->KeyValue().AsUtf8(), "20");
    test::Key(Qt::Key_Down);
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(orders.FieldByName("USERID").AsInteger(), 30);
    EXPECT_EQ(orders.FieldByName("USERNAME").AsString(), "EF");
    // Keypad minus steps back through the lookup's records, Delete does not clear without
    // loAllowClearValue, typing completes from the signatures.
    test::Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(orders.FieldByName("USERID").AsInteger(), 20);
    editor->SelectAll();
    test::Type("a");
    EXPECT_EQ(orders.FieldByName("USERID").AsInteger(), 10);
}

TEST_F(InplaceLookupList, TheLookupGridTakesTheGridsLookAndItsOrderingFromTheColumn) {
    for (const bool changeOrder : {true, false}) {
        SCOPED_TRACE(changeOrder);
        auto* grid = LookupGrid(true);
        grid->SetHighlightText(clYellow);
        grid->SetSelectCellColor(clNone);
        grid->SetSelectRowColor(clNone);
        grid->SetStretchWidthMax(300);
        grid->SetOptions(grid->Options() + TXDBGridOptions{dgMarkerAutoAlign});
        grid->GridStyle()->SetDataRowSpace(6);
        TXColumn* column = grid->Columns()->Items(1);
        TXListOptions options = column->ListOptions() - TXListOptions{loAllowChangeOrder};
        if (changeOrder) options.Include(loAllowChangeOrder);
        column->SetListOptions(options);
        TXDBGridInplaceEdit* editor = Editor(*grid);
        editor->DropDown();
        ASSERT_TRUE(editor->ListVisible());
        TXPopupGridList* list = editor->GridList();
        EXPECT_EQ(list->DataColLineColor(), clNone);
        EXPECT_EQ(list->FocusRect(), frNone);
        EXPECT_EQ(list->HighlightText(), clYellow);
        EXPECT_EQ(list->SelectCellColor(), clDefault);  // none becomes default
        EXPECT_EQ(list->StretchWidthMax(), 300);
        EXPECT_EQ(list->GridStyle()->TitleRowSpace(), 7);
        // A select-row colour of none selects whole rows.
        EXPECT_TRUE(list->Options().Contains(dgRowSelect));
        EXPECT_TRUE(list->Options().Contains(dgAlwaysShowSelection));
        EXPECT_TRUE(list->Options().Contains(dgMarkerAutoAlign));
        EXPECT_FALSE(list->Options().Contains(dgIndicator));
        EXPECT_EQ(list->Options().Contains(dgTitleButtons), changeOrder);
        EXPECT_EQ(list->Options().Contains(dgMarkerAutoToggle), changeOrder);
        EXPECT_EQ(list->OptionsEx().Contains(dgLoadCurrentOrder), changeOrder);
        EXPECT_EQ(list->OptionsEx().Contains(dgAutoUpdateOrder), changeOrder);
        EXPECT_TRUE(list->OptionsEx().Contains(dgAutoUpdateSequence));
        EXPECT_FALSE(list->OptionsEx().Contains(dgDelayUpdateSequence));
        EXPECT_EQ(list->OrderFields(), "");
        test::Key(Qt::Key_Escape);
        delete grid;
    }
}

TEST_F(InplaceLookupList, TheLookupGridKeepsItsColumnsInTheColumnAfterClosing) {
    auto* grid = LookupGrid(true);
    TXDBGridInplaceEdit* editor = Editor(*grid);
    ASSERT_EQ(editor->DataEditor(), deGridList);
    TXColumn* column = grid->Columns()->Items(1);
    column->SetLookupListFields("SIGNATURE;");
    test::Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TXPopupGridList* list = editor->GridList();
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_EQ(list->KeyValue().AsUtf8(), "20");
    list->Columns()->Items(0)->SetWidthBase(77);
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(orders.FieldByName("USERID").AsInteger(), 20);
    // The cancelled list's widths stay with the column.
    EXPECT_EQ(column->LookupListWidths().substr(0, 3), "77;");
    EXPECT_EQ(column->LookupListFields(), "SIGNATURE;");
    EXPECT_EQ(list->DataSource(), nullptr);
}

}  // namespace
}  // namespace tv
