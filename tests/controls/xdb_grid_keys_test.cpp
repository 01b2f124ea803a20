// The data grid's keys with real key events over a client table: appending at the end and
// cancelling an untouched record, Insert and Ctrl+Delete refused by their options, the delete
// question answered both ways, Tab wrapping into the next record, row-scroll mode, and the
// editor's text reaching the field after Enter or going back after Esc.

#include <gtest/gtest.h>

#include <QApplication>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/application.h"
#include "platform/gui/edit.h"

namespace tv {
namespace {

class GridKeys : public test::GridTest {
protected:
    // A focused grid over `records` numbered records.
    TXDBGrid* Grid(int records = 3) {
        UseNumberedTable(records);
        auto* grid = AddGrid<TXDBGrid>(460, 300);
        EXPECT_TRUE(test::FocusOn(*grid));
        return grid;
    }
    int Id() { return table->FieldByName("ID").AsInteger(); }
    TDataSetState State() { return table->State(); }
    // The raw column of the field named.
    static int RawOf(TXDBGrid& grid, const char* field) {
        for (int i = 0; i < grid.Columns()->Count(); ++i)
            if (grid.Columns()->Items(i)->FieldName() == field) return i + grid.IndicatorOffset();
        ADD_FAILURE() << "no column " << field;
        return -1;
    }
};

TEST_F(GridKeys, DownAppendsAtTheEndAndAnUntouchedRecordIsCancelled) {
    Grid();
    table->Last();
    test::Key(Qt::Key_Down);
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    test::Key(Qt::Key_Down);  // the untouched appended record stays, nothing more is appended
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    EXPECT_EQ(table->RecordCount(), 4);
    test::Key(Qt::Key_Up);  // cancels it instead of moving
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Id(), 3);
    EXPECT_EQ(table->RecordCount(), 3);

    // An untouched record inserted before the end: Down cancels it.
    table->First();
    test::Key(Qt::Key_Insert);
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    test::Key(Qt::Key_Down);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(table->RecordCount(), 3);
}

TEST_F(GridKeys, InsertAndDeleteRefusedByTheirOptions) {
    auto* grid = Grid();
    auto options = grid->Options();
    options.Include(dgAllowInsertOff);
    options.Include(dgAllowDeleteOff);
    grid->SetOptions(options);
    test::Key(Qt::Key_Insert);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(GridKeys, CtrlDeleteAsksForOneAndForSeveralRows) {
    auto* grid = Grid(4);
    dialogs.QueueAnswer(TMsgAnswer::Cancel);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].Text, "Delete record?");
    EXPECT_EQ(dialogs.Requests()[0].Buttons, TMsgButtons::OkCancel);
    EXPECT_EQ(table->RecordCount(), 4);

    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(Id(), 2);

    // Two selected rows: the question for several, then both go.
    grid->SelectedRows()->SetCurrentRowSelected(true);
    table->Next();
    grid->SelectedRows()->SetCurrentRowSelected(true);
    dialogs.QueueAnswer(TMsgAnswer::Cancel);
    dialogs.QueueAnswer(TMsgAnswer::Ok);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Requests().back().Text, "Delete all selected records?");
    EXPECT_EQ(table->RecordCount(), 3);
    test::Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(Id(), 4);
}

TEST_F(GridKeys, TabWrapsIntoTheNextRecordAndAppendsAtTheEnd) {
    auto* grid = Grid(2);
    const int first = grid->IndicatorOffset();
    const int last = grid->ColCount() - 1;
    grid->SetSelectedIndex(grid->Columns()->Count() - 1);
    ASSERT_EQ(grid->Col(), last);
    test::Key(Qt::Key_Tab);
    EXPECT_EQ(Id(), 2);
    EXPECT_EQ(grid->Col(), first);
    test::Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(grid->Col(), last);
    table->Last();
    test::Key(Qt::Key_Tab);
    EXPECT_EQ(State(), TDataSetState::dsInsert);
    EXPECT_EQ(grid->Col(), first);
}

TEST_F(GridKeys, RowScrollModeScrollsTheViewAndKeepsTheColumn) {
    UseNumberedTable(3);
    auto* grid = AddGrid<TXDBGrid>(160, 200);
    ASSERT_TRUE(test::FocusOn(*grid));
    auto options = grid->Options();
    options.Include(dgRowSelect);
    options.Include(dgRowScroll);
    grid->SetOptions(options);
    const int col = grid->Col();
    const int left = grid->LeftCol();
    test::Key(Qt::Key_Right);
    EXPECT_EQ(grid->LeftCol(), left + 1);
    test::Key(Qt::Key_Left);
    EXPECT_EQ(grid->LeftCol(), left);
    test::Key(Qt::Key_End);
    EXPECT_GT(grid->LeftCol(), left + 1);
    test::Key(Qt::Key_Home);
    EXPECT_EQ(grid->LeftCol(), left);
    EXPECT_EQ(grid->Col(), col);
    EXPECT_EQ(Id(), 1);
}

TEST_F(GridKeys, TypedTextReachesTheFieldAfterEnterAndEscPutsTheTextBack) {
    auto* grid = Grid();
    grid->SetSelectedIndex(RawOf(*grid, "NAME") - grid->IndicatorOffset());
    test::Type("N");  // opens the editor, which then has the focus
    test::Type("y");
    ASSERT_TRUE(grid->EditorMode());
    test::Key(Qt::Key_Return);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Ny");
    test::Key(Qt::Key_Down);
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    table->First();
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Ny");

    test::Type("F");
    test::Type("el");
    ASSERT_TRUE(grid->EditorMode());
    test::Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Ny");
    test::Key(Qt::Key_Escape);  // the grid's own Esc cancels the record's edit state
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
}

TEST_F(GridKeys, LeavingCancelsAnUntouchedInsertWritesPendingTextAndAFailedWriteKeepsTheFocus) {
    auto* grid = Grid();
    auto* other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 330, 100, 21);
    ASSERT_TRUE(test::FocusOn(*grid));

    // dgCancelOnExit (a default) drops the untouched appended record.
    table->Last();
    test::Key(Qt::Key_Down);
    ASSERT_EQ(State(), TDataSetState::dsInsert);
    ASSERT_TRUE(test::FocusOn(*other));
    EXPECT_EQ(State(), TDataSetState::dsBrowse);
    EXPECT_EQ(table->RecordCount(), 3);

    // Pending text goes to the field; a field that refuses it keeps the focus, reported once.
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.emplace_back(e.what()); };
    table->FieldByName("NAME").OnValidate = [](TField* field) {
        if (field->AsString() == "X") throw Exception("Namnet kan inte vara X!");
    };
    ASSERT_TRUE(test::FocusOn(*grid));
    grid->SetSelectedIndex(RawOf(*grid, "NAME") - grid->IndicatorOffset());
    test::Type("X");
    ASSERT_TRUE(grid->EditorMode());
    other->Widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(reported, std::vector<std::string>{"Namnet kan inte vara X!"});
    EXPECT_TRUE(test::WaitUntil([&] { return grid->Widget()->hasFocus(); }));

    test::Type("Y");
    other->Widget()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(other->Widget()->hasFocus());
    EXPECT_EQ(table->FieldByName("NAME").AsString(), "Y");
    EXPECT_EQ(reported.size(), 1u);
    Application().OnException = nullptr;
}

}  // namespace
}  // namespace tv
