// The data grid's answers to actions: data-set actions aimed at its data source run there and
// are enabled by the dataset's state; actions for another source, plain actions and a grid
// without a source are answered false and change nothing.

#include <gtest/gtest.h>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"
#include "platform/gui/data_set_actions.h"

namespace tv {
namespace {

class GridActions : public test::GridTest {
protected:
    TXDBGrid* Grid(int records) {
        UseNumberedTable(records);
        return AddGrid<TXDBGrid>(400, 250);
    }
    int Id() { return table->FieldByName("ID").AsInteger(); }
    TActionList actions;
};

TEST_F(GridActions, DataSetActionsRunOnTheGridsSourceAndFollowItsState) {
    auto* grid = Grid(3);
    TDataSetAction next(&actions, nbNext);
    TDataSetAction last(&actions, nbLast);
    TDataSetAction del(&actions, nbDelete);

    EXPECT_TRUE(grid->ExecuteAction(next));
    EXPECT_EQ(Id(), 2);
    EXPECT_TRUE(grid->ExecuteAction(last));
    EXPECT_EQ(Id(), 3);
    EXPECT_TRUE(grid->UpdateAction(next));
    EXPECT_FALSE(next.Enabled());
    table->First();
    EXPECT_TRUE(grid->UpdateAction(next));
    EXPECT_TRUE(next.Enabled());

    // Delete runs without a question: asking is the caller's affair.
    EXPECT_TRUE(grid->ExecuteAction(del));
    EXPECT_EQ(table->RecordCount(), 2);
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(GridActions, EachOperationIsEnabledOnlyInTheStatesWhereItMakesSense) {
    auto* grid = Grid(3);
    struct Case {
        TNavigateBtn operation;
        bool browsing;  // on the middle record
        bool editing;   // that record in edit state
    };
    const Case cases[] = {
        {nbFirst, true, true},   {nbPrior, true, true},   {nbNext, true, true},  {nbLast, true, true},
        {nbInsert, true, true},  {nbDelete, true, true},  {nbEdit, true, false}, {nbPost, false, true},
        {nbCancel, false, true}, {nbRefresh, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.operation));
        TDataSetAction action(&actions, c.operation);
        table->First();
        table->Next();
        ASSERT_TRUE(grid->UpdateAction(action));
        EXPECT_EQ(action.Enabled(), c.browsing);
        table->Edit();
        ASSERT_TRUE(grid->UpdateAction(action));
        EXPECT_EQ(action.Enabled(), c.editing);
        table->Cancel();
    }
    // A closed dataset enables none.
    TDataSetAction first(&actions, nbFirst);
    table->Close();
    EXPECT_TRUE(grid->UpdateAction(first));
    EXPECT_FALSE(first.Enabled());
}

TEST_F(GridActions, ActionsForAnotherSourcePlainActionsAndGridsWithoutASourceAreLeftAlone) {
    auto* grid = Grid(3);
    TDataSource elsewhere;
    elsewhere.SetDataSet(table.get());
    TDataSetAction next(&actions, nbNext);
    next.SetDataSource(&elsewhere);
    EXPECT_FALSE(grid->ExecuteAction(next));
    EXPECT_FALSE(grid->UpdateAction(next));
    EXPECT_EQ(Id(), 1);
    next.SetDataSource(&source);
    EXPECT_TRUE(grid->ExecuteAction(next));
    EXPECT_EQ(Id(), 2);

    int runs = 0;
    TAction plain(&actions);
    plain.OnExecute = [&](TObject*) { ++runs; };
    EXPECT_FALSE(grid->ExecuteAction(plain));
    EXPECT_FALSE(grid->UpdateAction(plain));
    EXPECT_EQ(runs, 0);

    grid->SetDataSource(nullptr);
    next.SetDataSource(nullptr);
    EXPECT_FALSE(grid->ExecuteAction(next));
    EXPECT_EQ(Id(), 2);

    // A source the action was tied to lets go of it when freed.
    auto* gone = new TDataSource;
    next.SetDataSource(gone);
    delete gone;
    EXPECT_EQ(next.DataSource(), nullptr);
}

}  // namespace
}  // namespace tv
