// The grid over its data: the link buffers the rows on screen through every move, the grid takes
// the focus, follows a master's scrolling, reacts to record changes, loads once after a form is
// built, and goes away cleanly with its data in any order.

#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "controls/xdb_grid.h"
#include "grid_test_support.h"

namespace tv {
namespace {

class GridLink : public test::GridTest {
protected:
    // Makes the grid tall enough for `rows` data rows and half of one more.
    static void ShowRows(TXDBGrid& grid, int rows) {
        const int frame = grid.Height() - grid.ClientHeight();
        grid.SetBounds(grid.Left(), grid.Top(), grid.Width(),
                       frame + grid.TitleHeight() + rows * grid.RowHeight() + grid.RowHeight() / 2);
    }
    // The link's buffer, the grid's rows and its current row agree with the dataset.
    static void ExpectInStep(TXDBGrid& grid, TDataSet& data, int buffered, const char* step) {
        EXPECT_EQ(grid.DataRowCount(), buffered) << step;
        EXPECT_EQ(grid.DataLink()->BufferCount(), 6) << step;
        EXPECT_EQ(grid.RowCount(), grid.TitleOffset() + buffered) << step;
        EXPECT_EQ(grid.Row(), grid.TitleOffset() + grid.DataLink()->ActiveRecord()) << step;
        EXPECT_EQ(grid.Position(), grid.DataLink()->ActiveRecord()) << step;
        EXPECT_EQ(grid.RecNumber(), data.RecNo()) << step;
        EXPECT_EQ(grid.RecCount(), data.RecordCount()) << step;
    }
};

TEST_F(GridLink, AGridShowingSixRowsKeepsSixRecordsInItsLink) {
    UseNumberedTable(20);
    auto* grid = AddGrid<TXDBGrid>(600, 300);
    ShowRows(*grid, 6);
    ASSERT_EQ(grid->VisibleDataRowCount(), 6);
    ExpectInStep(*grid, *table, 6, "opened");
    EXPECT_EQ(grid->Row(), 1);

    table->Last();
    ExpectInStep(*grid, *table, 6, "Last");
    EXPECT_EQ(grid->DataLink()->ActiveRecord(), 5);
    table->MoveBy(-3);
    ExpectInStep(*grid, *table, 6, "MoveBy -3");
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 17);
    table->First();
    ExpectInStep(*grid, *table, 6, "First");
    EXPECT_EQ(grid->Row(), 1);
    table->MoveBy(10);
    ExpectInStep(*grid, *table, 6, "MoveBy 10");

    table->Insert();
    ExpectInStep(*grid, *table, 6, "Insert");
    EXPECT_EQ(table->RecordCount(), 21);
    table->FieldByName("ID").SetAsInteger(100);
    table->Post();
    ExpectInStep(*grid, *table, 6, "Post");
    table->Delete();
    ExpectInStep(*grid, *table, 6, "Delete");
    EXPECT_EQ(table->RecordCount(), 20);
    table->Append();
    table->Cancel();
    ExpectInStep(*grid, *table, 6, "Append and Cancel");

    // Fewer records than rows: the grid shows what there is.
    while (table->RecordCount() > 4) table->Delete();
    ExpectInStep(*grid, *table, 4, "four left");
    while (!table->IsEmpty()) table->Delete();
    EXPECT_EQ(grid->DataRowCount(), 0);
    EXPECT_EQ(grid->RowCount(), 2);  // one empty data row
}

TEST_F(GridLink, PositionMovesWithinTheBuffer) {
    UseNumberedTable(20);
    auto* grid = AddGrid<TXDBGrid>(600, 300);
    ShowRows(*grid, 6);
    grid->SetPosition(4);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 5);
    grid->SetPosition(50);
    EXPECT_EQ(grid->Position(), 5);
    grid->SetRecNumber(12);
    EXPECT_EQ(grid->RecNumber(), 12);
    EXPECT_EQ(grid->Row(), grid->TitleOffset() + grid->Position());
}

TEST_F(GridLink, ResizingTheFormChangesTheRowsTheLinkBuffers) {
    UseNumberedTable(40);
    auto* grid = AddGrid<TXDBGrid>(600, 300);
    grid->SetAlign(alClient);
    form.SetBounds(20, 20, 520, 200);
    ASSERT_TRUE(test::WaitUntil([&] {
        QApplication::processEvents();
        return grid->ClientHeight() < 200;
    }));
    const int small = grid->DataRowCount();
    EXPECT_EQ(small, grid->VisibleDataRowCount());
    EXPECT_EQ(grid->DataLink()->BufferCount(), small);
    form.SetBounds(20, 20, 520, 500);
    ASSERT_TRUE(test::WaitUntil([&] {
        QApplication::processEvents();
        return grid->DataRowCount() > small;
    }));
    EXPECT_EQ(grid->DataRowCount(), grid->VisibleDataRowCount());
    // Rows count when the row itself fits; its line may be cut.
    EXPECT_EQ(grid->DataRowCount(),
              (grid->ClientHeight() - grid->TitleHeight() + grid->RowLineWidth()) / grid->RowHeight());
}

TEST_F(GridLink, AClickGivesTheGridTheFocus) {
    UseNumberedTable(5);
    auto* other = new TXDBGrid(&form);
    other->SetParent(&form);
    other->SetBounds(10, 250, 200, 100);
    auto* grid = AddGrid<TXDBGrid>(400, 200);
    ASSERT_TRUE(test::FocusOn(*other));
    test::Click(*grid, test::CellPoint(*grid, 2, 2));
    EXPECT_TRUE(test::WaitUntil([&] { return grid->Focused(); }));
    ASSERT_TRUE(test::FocusOn(*other));
    EXPECT_TRUE(grid->AcquireFocus());
    EXPECT_TRUE(test::WaitUntil([&] { return grid->Focused(); }));
    // A field asking for the focus selects its column in the grid.
    table->FieldByName("PRICE").FocusControl();
    EXPECT_EQ(grid->SelectedField(), &table->FieldByName("PRICE"));
    EXPECT_EQ(grid->SelectedIndex(), 2);
}

TEST_F(GridLink, ADetailGridFollowsItsMastersScrolling) {
    auto customers = test::ClientTable({{"ID", TFieldType::ftInteger}, {"NAME", TFieldType::ftString, 20}},
                                       {{"1", "Alfa"}, {"2", "Beta"}, {"3", "Gamma"}});
    auto orders = test::ClientTable(
        {{"CUSTID", TFieldType::ftInteger}, {"ORDERNO", TFieldType::ftInteger}},
        {{"1", "101"}, {"1", "102"}, {"2", "201"}, {"3", "301"}, {"3", "302"}, {"3", "303"}});
    TDataSource customerSource, orderSource;
    customerSource.SetDataSet(customers.get());
    orderSource.SetDataSet(orders.get());
    orders->SetIndexFieldNames("CUSTID");
    orders->SetMasterFields("ID");
    orders->SetMasterSource(&customerSource);
    auto* master = new TXDBGrid(&form);
    master->SetParent(&form);
    master->SetBounds(10, 10, 300, 150);
    master->SetDataSource(&customerSource);
    auto* detail = new TXDBGrid(&form);
    detail->SetParent(&form);
    detail->SetBounds(10, 170, 300, 200);
    detail->SetDataSource(&orderSource);

    const int expected[] = {2, 1, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(master->Row(), 1 + i);
        EXPECT_EQ(detail->DataRowCount(), expected[i]) << "customer " << i + 1;
        EXPECT_EQ(detail->RowCount(), 1 + expected[i]);
        EXPECT_EQ(detail->Row(), 1);
        TXColumn* orderNo = detail->Columns()->Items(1);
        EXPECT_EQ(orderNo->DisplayText(), std::to_string((i + 1) * 100 + 1));
        customers->Next();
    }
    customers->First();
    EXPECT_EQ(detail->DataRowCount(), 2);
    delete detail;
    delete master;
}

TEST_F(GridLink, ARecordChangeRepaintsItsColumnAndTheEditingIndicator) {
    UseNumberedTable(5);
    auto* grid = AddGrid<TXDBGrid>(600, 300);
    test::TRepaintLog log;
    log.Attach(*grid);
    table->Edit();
    EXPECT_TRUE(log.Invalidated(grid->CellRect(0, 1)));
    log.Clear();
    table->FieldByName("NAME").SetAsString("Ändrad");
    EXPECT_TRUE(log.Invalidated(grid->CellRect(2, 1)));
    EXPECT_FALSE(log.Invalidated(grid->CellRect(1, 1)));
    table->Post();
    EXPECT_EQ(grid->Columns()->Items(1)->DisplayText(), "Ändrad");
}

TEST_F(GridLink, AnInactiveLinkClearsTheSelectionAndTheRows) {
    UseNumberedTable(8);
    auto* grid = AddGrid<TXDBGrid>(600, 300);
    grid->Columns()->Add()->SetFieldName("NAME");
    grid->Columns()->Add()->SetFieldName("ID");
    table->MoveBy(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    ASSERT_EQ(grid->SelectedRows()->Count(), 1);
    ASSERT_EQ(grid->Row(), grid->TitleOffset() + 3);
    source.SetEnabled(false);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->Row(), grid->TitleOffset());
    EXPECT_EQ(grid->DataRowCount(), 0);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->ColCount(), 3);  // stored columns stay
    source.SetEnabled(true);
    EXPECT_EQ(grid->DataRowCount(), 8);
    EXPECT_EQ(grid->Row(), grid->TitleOffset() + 3);
    // Closing frees the fields the columns were bound to; opening binds them again.
    table->Close();
    EXPECT_EQ(grid->Columns()->Items(0)->Field(), nullptr);
    table->Open();
    EXPECT_EQ(grid->Columns()->Items(0)->Field(), &table->FieldByName("NAME"));
    EXPECT_EQ(grid->ColCount(), 3);
}

TEST_F(GridLink, AGridBuiltWhileLoadingLaysOutOnceInLoaded) {
    UseNumberedTable(5);
    form.BeginLoading();
    auto* grid = new TXDBGrid(&form);
    EXPECT_TRUE(grid->ComponentState().Contains(csLoading));
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 400, 200);
    grid->Columns()->Add()->SetFieldName("ID");
    grid->Columns()->Add()->SetFieldName("NAME");
    grid->Columns()->Add()->SetFieldName("PRICE");
    grid->SetDataSource(&source);
    EXPECT_EQ(grid->ColCount(), 2);  // nothing laid out yet
    EXPECT_FALSE(grid->Settings()->LoadPending());
    form.EndLoading();
    EXPECT_FALSE(grid->ComponentState().Contains(csLoading));
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->DataRowCount(), 5);
    EXPECT_EQ(grid->Columns()->Items(2)->Field(), &table->FieldByName("PRICE"));
    EXPECT_TRUE(grid->Settings()->LoadPending());  // taken by the next activation
    table->Close();
    table->Open();
    EXPECT_FALSE(grid->Settings()->LoadPending());
}

// Drops its references to the components it watches as they go.
class TWatch : public TComponent {
public:
    std::vector<TComponent*> watched;
    void Watch(TComponent* c) {
        watched.push_back(c);
        c->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            std::replace(watched.begin(), watched.end(), AComponent, (TComponent*)nullptr);
    }
};

TEST(GridTeardown, AFormWithAGridItsSourcesAndTableGoesInAnyOrder) {
    test::EnsureGridFonts();
    // The parts, freed in every order: 0 grid, 1 data source, 2 totals' source, 3 table, 4 form.
    std::array<int, 5> order{0, 1, 2, 3, 4};
    int runs = 0;
    do {
        TWatch watch;
        auto* form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        auto owned = test::NumberedTable(10);
        TClientDataSet* table = owned.release();
        form->InsertComponent(table);
        auto* source = new TDataSource(form);
        source->SetDataSet(table);
        auto* totals = new TDataSource(form);
        totals->SetDataSet(table);
        auto* grid = new TXDBGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetDataSource(source);
        grid->Totals()->SetDataSource(totals);
        grid->Columns()->Add()->SetFieldName("NAME");
        grid->Columns()->Add()->SetFieldName("PRICE");
        grid->SetOptionsEx({dgTotalFields});
        table->MoveBy(2);
        grid->SelectedRows()->SetCurrentRowSelected(true);
        for (TComponent* c : {static_cast<TComponent*>(grid), static_cast<TComponent*>(source),
                              static_cast<TComponent*>(totals), static_cast<TComponent*>(table),
                              static_cast<TComponent*>(form)})
            watch.Watch(c);
        for (int part : order) {
            TComponent* c = watch.watched[static_cast<size_t>(part)];
            if (!c) continue;
            // Every other run the table's fields go first (closing frees them), else with it.
            if (part == 3 && runs % 2 == 0) static_cast<TClientDataSet*>(c)->Close();
            delete c;
        }
        ++runs;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(runs, 120);
}

}  // namespace
}  // namespace tv
