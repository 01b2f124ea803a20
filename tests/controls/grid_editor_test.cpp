// The base grid's editor host and keys, with real keys: F2, typing, Enter and Esc; the checks
// before a change; the keys the editor hands to the grid; moving around; and the focus of the grid
// and its editor, including an exit that is refused.

#include <gtest/gtest.h>

#include <QPointer>

#include "grid_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/edit.h"
#include "platform/gui/key_codes.h"
#include "recording_grid.h"

namespace tv {
namespace {

using test::TRecordingGrid;

class GridEditor : public test::GridTest {
protected:
    // 6 x 30 cells with goEditing, texts in the first cells, focused, current cell 1,1.
    TRecordingGrid* Grid(TGridOptions extra = {goEditing}) {
        auto* grid = AddGrid<TRecordingGrid>(400, 250);
        grid->SetColCount(6);
        grid->SetRowCount(30);
        grid->SetOptions(grid->Options() + extra);
        grid->Texts = {{{1, 1}, "abc"}, {{2, 1}, "def"}, {{1, 2}, "ghi"}};
        other = new TEdit(&form);
        other->SetParent(&form);
        other->SetBounds(10, 300, 100, 21);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    static bool EditorFocused(const TCustomGrid& grid) {
        return grid.InplaceEditor() && grid.InplaceEditor()->Widget()->hasFocus();
    }
    TEdit* other = nullptr;
};

TEST_F(GridEditor, F2OpensTheEditorTypingHandsTheTextBackAndEnterClosesIt) {
    auto* grid = Grid();
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(editor->BoundsRect(), grid->CellRect(1, 1));
    EXPECT_EQ(editor->Text(), "abc");
    EXPECT_TRUE(EditorFocused(*grid));
    EXPECT_EQ(editor->SelStart(), 3);  // the caret at the end

    test::Type("xy");
    EXPECT_EQ(grid->EditTexts, (std::vector<std::string>{"abcx", "abcxy"}));
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(editor->Visible());
    EXPECT_TRUE(grid->Widget()->hasFocus());
    EXPECT_EQ(grid->TextOf(1, 1), "abcxy");
    EXPECT_EQ(grid->InplaceEditor(), editor);  // kept until the grid goes

    // Enter opens it again, and closes it.
    test::Key(Qt::Key_Return);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(editor->Text(), "abcxy");
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridEditor, EscRestoresTheTextTheEditorOpenedWith) {
    auto* grid = Grid();
    test::Key(Qt::Key_F2);
    test::Type("q");
    ASSERT_EQ(grid->TextOf(1, 1), "abcq");
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->TextOf(1, 1), "abc");
    EXPECT_EQ(grid->EditTexts.back(), "abc");
    EXPECT_TRUE(grid->Widget()->hasFocus());

    // Unchanged, Esc hands nothing back.
    const size_t handed = grid->EditTexts.size();
    test::Key(Qt::Key_F2);
    test::Key(Qt::Key_Escape);
    EXPECT_EQ(grid->EditTexts.size(), handed);
}

TEST_F(GridEditor, ATypedCharacterOpensTheEditorAndReplacesTheText) {
    auto* grid = Grid();
    test::Type("k");
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "k");
    EXPECT_EQ(grid->EditTexts, std::vector<std::string>{"k"});
    EXPECT_TRUE(EditorFocused(*grid));
}

TEST_F(GridEditor, TheGridDecidesWhichCharactersAndChangesAreTaken) {
    auto* grid = Grid();
    grid->DigitsOnly = true;
    test::Key(Qt::Key_F2);
    test::Type("1a2");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "abc12");

    grid->Modifiable = false;
    const size_t handed = grid->EditTexts.size();
    test::Key(Qt::Key_Backspace);
    test::Type("3");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "abc12");
    EXPECT_EQ(grid->EditTexts.size(), handed);

    grid->Modifiable = true;
    grid->EditLimit = 4;
    test::Key(Qt::Key_Escape);
    test::Key(Qt::Key_F2);
    EXPECT_EQ(grid->InplaceEditor()->MaxLength(), 4);
    test::Type("9");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "abc9");
    test::Type("8");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "abc9");
}

TEST_F(GridEditor, TheEditorHandsMovingKeysToTheGrid) {
    auto* grid = Grid();
    test::Key(Qt::Key_F2);
    test::Key(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->EditorMode());  // a move closes it
    EXPECT_TRUE(grid->Widget()->hasFocus());

    // Left and Right only at the ends of the text.
    grid->FocusCell(1, 1);
    test::Key(Qt::Key_F2);
    test::Key(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->InplaceEditor()->SelStart(), 2);
    test::Key(Qt::Key_Right);
    test::Key(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);

    // With goAlwaysShowEditor it stays open and follows the current cell.
    grid->SetOptions(grid->Options() + TGridOptions{goAlwaysShowEditor});
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "def");
    test::Key(Qt::Key_Left);  // the caret is at the end: Left stays in the text
    test::Key(Qt::Key_Home);  // Home is the text's
    test::Key(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "abc");
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(1, 1));
    EXPECT_TRUE(EditorFocused(*grid));

    // Scrolled out of view it hides, and comes back with its cell.
    grid->SetTopRow(10);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_FALSE(grid->InplaceEditor()->Visible());
    EXPECT_TRUE(grid->Widget()->hasFocus());
    grid->SetTopRow(1);
    EXPECT_TRUE(grid->InplaceEditor()->Visible());
}

TEST_F(GridEditor, AClickOnTheCurrentCellOpensTheEditor) {
    auto* grid = Grid();
    test::Click(*grid, test::CellPoint(*grid, 2, 2));
    EXPECT_FALSE(grid->EditorMode());
    test::Click(*grid, test::CellPoint(*grid, 2, 2));
    EXPECT_TRUE(grid->EditorMode());
    // Not with goRowSelect, which shows no editor.
    test::Key(Qt::Key_Escape);
    grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
    test::Click(*grid, test::CellPoint(*grid, 2, 2));
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridEditor, KeysMoveTheCurrentCell) {
    auto* grid = Grid({goTabs});
    struct {
        int key;
        Qt::KeyboardModifiers keys;
        int col, row;
    } const steps[] = {
        {Qt::Key_Right, {}, 2, 1},         {Qt::Key_Down, {}, 2, 2},
        {Qt::Key_End, {}, 5, 2},           {Qt::Key_Home, {}, 1, 2},
        {Qt::Key_End, Qt::ControlModifier, 1, 29},
        {Qt::Key_Home, Qt::ControlModifier, 1, 1},
        {Qt::Key_PageDown, {}, 1, 1 + grid->VisibleRowCount()},
        {Qt::Key_PageUp, {}, 1, 1},        {Qt::Key_Up, {}, 1, 1},
        {Qt::Key_Left, {}, 1, 1},
        // Tab skips columns without a tab stop (3) and wraps to the next row.
        {Qt::Key_Tab, {}, 2, 1},           {Qt::Key_Tab, {}, 4, 1},
        {Qt::Key_Tab, {}, 5, 1},           {Qt::Key_Tab, {}, 1, 2},
        {Qt::Key_Backtab, Qt::ShiftModifier, 5, 1},
    };
    grid->SetTabStops(3, false);
    for (const auto& s : steps) {
        test::Key(s.key, s.keys);
        EXPECT_EQ(grid->Col(), s.col) << s.key;
        EXPECT_EQ(grid->Row(), s.row) << s.key;
    }
    // At the last cell Tab goes on to the next control.
    grid->FocusCell(5, 29);
    test::Key(Qt::Key_Tab);
    EXPECT_TRUE(other->Widget()->hasFocus());

    // With goRowSelect Left and Right scroll a column.
    ASSERT_TRUE(test::FocusOn(*grid));
    grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
    grid->SetColWidths(2, 300);
    grid->SetLeftCol(1);
    test::Key(Qt::Key_Right);
    EXPECT_EQ(grid->LeftCol(), 2);
    EXPECT_EQ(grid->Col(), 5);
    test::Key(Qt::Key_Left);
    EXPECT_EQ(grid->LeftCol(), 1);
}

TEST_F(GridEditor, EnterReachesTheFormsDefaultButtonUnlessTheGridEdits) {
    auto* grid = Grid({});
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->SetBounds(200, 300, 75, 25);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    test::Key(Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    test::Key(Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(GridEditor, ARefusedExitKeepsTheFocusAndReportsOnce) {
    auto* grid = Grid();
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.emplace_back(e.what()); };
    bool refuse = true;
    int exits = 0;
    int enters = 0;
    grid->OnExit = [&](TObject*) {
        ++exits;
        if (refuse) throw Exception("Namnet kan inte vara tomt!");
    };
    grid->OnEnter = [&](TObject*) { ++enters; };

    // From the editor, as from the grid: the error shows once and the focus comes back.
    test::Key(Qt::Key_F2);
    ASSERT_TRUE(EditorFocused(*grid));
    other->Widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(reported, std::vector<std::string>{"Namnet kan inte vara tomt!"});
    EXPECT_TRUE(test::WaitUntil([&] { return grid->Widget()->hasFocus(); }));
    QApplication::processEvents();
    EXPECT_TRUE(grid->Widget()->hasFocus());
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(enters, 0);  // the focus never left, as far as the grid's events tell

    // Accepted, the exit goes through; the editor closed on the way.
    refuse = false;
    other->Widget()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(other->Widget()->hasFocus());
    EXPECT_EQ(exits, 2);
    EXPECT_FALSE(grid->EditorMode());
    Application().OnException = nullptr;
}

TEST_F(GridEditor, AGridFreedInItsOwnHandlerGoesWithoutHarm) {
    // From a key on the grid, a key handed on by its editor, and a click.
    for (const bool fromEditor : {false, true}) {
        auto* grid = Grid();
        grid->OnKeyDown = [grid](TObject*, uint16_t& key, TShiftState) {
            if (key == VK_DOWN) delete grid;
        };
        if (fromEditor) test::Key(Qt::Key_F2);
        QPointer<QWidget> widget = grid->Widget();
        test::Key(Qt::Key_Down);
        EXPECT_TRUE(test::WaitUntil([&] { return widget.isNull(); }));
        delete other;
    }
    auto* grid = Grid();
    grid->OnMouseDown = [grid](TObject*, TMouseButton, TShiftState, int, int) { delete grid; };
    QPointer<QWidget> widget = grid->Widget();
    test::Press(*grid, test::CellPoint(*grid, 2, 2));
    EXPECT_TRUE(test::WaitUntil([&] { return widget.isNull(); }));
    QTest::mouseRelease(form.Widget(), Qt::LeftButton);
}

TEST_F(GridEditor, PrivateMessagesArePostedOnce) {
    auto* grid = Grid();
    grid->PostGridMessage(1124);
    grid->PostGridMessage(1124);
    grid->PostGridMessage(7);
    grid->RemoveGridMessage(7);
    grid->PostGridMessage(8);
    grid->RemoveGridMessage(8);
    grid->PostGridMessage(8);
    EXPECT_TRUE(grid->Messages.empty());  // nothing before the loop runs
    ASSERT_TRUE(test::WaitUntil([&] { return grid->Messages.size() >= 2; }));
    QApplication::processEvents();
    EXPECT_EQ(grid->Messages, (std::vector<uint32_t>{1124, 8}));
}

}  // namespace
}  // namespace tv
