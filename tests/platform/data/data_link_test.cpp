// Data links: each link's window of buffered records, the active record and the scroll distances
// it is told, Resync, DisableControls, and the notifications of editing.

#include "data_test_support.h"

#include <functional>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::NumberedTable;
using test::RecordingLink;

struct Fixture {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource source;
    RecordingLink link;

    explicit Fixture(int records, int buffer = 5) : ds(NumberedTable(records)) {
        source.SetDataSet(ds.get());
        link.SetDataSource(&source);
        link.SetBufferCount(buffer);
        ds->First();
        link.Take();
    }
    // The IDs the link's window shows, row by row, read the way a grid paints.
    std::vector<int> Window() {
        std::vector<int> ids;
        const int saved = link.ActiveRecord();
        for (int row = 0; row < link.RecordCount(); ++row) {
            link.SetActiveRecord(row);
            ids.push_back(ds->FieldByName("ID").IsNull() ? 0 : ds->FieldByName("ID").AsInteger());
        }
        link.SetActiveRecord(saved);
        return ids;
    }
};

struct WindowStep {
    const char* name;
    std::function<void(TDataSet&)> action;
    const char* calls;  // what the link was told
    int activeRecord;
    int recNo;
    std::vector<int> window;
};

TEST(DataLink, ABufferOfFiveOverTwentyRecordsMovesItsWindowTheLeastItMust) {
    const WindowStep steps[] = {
        {"MoveBy(7)", [](TDataSet& d) { d.MoveBy(7); }, "scrolled 3", 4, 8, {4, 5, 6, 7, 8}},
        {"Next", [](TDataSet& d) { d.Next(); }, "scrolled 1", 4, 9, {5, 6, 7, 8, 9}},
        {"Prior", [](TDataSet& d) { d.Prior(); }, "scrolled 0", 3, 8, {5, 6, 7, 8, 9}},
        {"MoveBy(-3)", [](TDataSet& d) { d.MoveBy(-3); }, "scrolled 0", 0, 5, {5, 6, 7, 8, 9}},
        {"Prior past the top", [](TDataSet& d) { d.Prior(); }, "scrolled -1", 0, 4, {4, 5, 6, 7, 8}},
        {"Last", [](TDataSet& d) { d.Last(); }, "changed", 4, 20, {16, 17, 18, 19, 20}},
        {"MoveBy(-4)", [](TDataSet& d) { d.MoveBy(-4); }, "scrolled 0", 0, 16, {16, 17, 18, 19, 20}},
        {"First", [](TDataSet& d) { d.First(); }, "changed", 0, 1, {1, 2, 3, 4, 5}},
        {"RecNo := 12 centres", [](TDataSet& d) { d.SetRecNo(12); }, "changed", 2, 12, {10, 11, 12, 13, 14}},
        {"delete in the middle keeps the row",
         [](TDataSet& d) { d.Delete(); },
         "changed",
         2,
         12,
         {10, 11, 13, 14, 15}},
        {"Last", [](TDataSet& d) { d.Last(); }, "changed", 4, 19, {16, 17, 18, 19, 20}},
        {"delete the last record", [](TDataSet& d) { d.Delete(); }, "changed", 4, 18, {15, 16, 17, 18, 19}},
    };
    Fixture f(20);
    EXPECT_EQ(f.Window(), (std::vector<int>{1, 2, 3, 4, 5}));
    for (const auto& s : steps) {
        s.action(*f.ds);
        EXPECT_EQ(f.link.Take(), s.calls) << s.name;
        EXPECT_EQ(f.link.ActiveRecord(), s.activeRecord) << s.name;
        EXPECT_EQ(f.link.RecordCount(), 5) << s.name;
        EXPECT_EQ(f.ds->RecNo(), s.recNo) << s.name;
        EXPECT_EQ(f.Window(), s.window) << s.name;
    }
}

TEST(DataLink, EachLinkKeepsItsOwnWindow) {
    Fixture f(20);
    RecordingLink small;
    small.SetDataSource(&f.source);
    small.SetBufferCount(2);
    small.Take();
    f.ds->MoveBy(3);
    EXPECT_EQ(f.link.Take(), "scrolled 0");
    EXPECT_EQ(small.Take(), "scrolled 2");
    EXPECT_EQ(small.ActiveRecord(), 1);
    EXPECT_EQ(small.RecordCount(), 2);
    EXPECT_EQ(f.ds->BufferSize(), 5) << "the dataset buffers for its largest link";
}

TEST(DataLink, ResyncExactPutsTheRecordOnTheRowChosenBefore) {
    Fixture f(20);
    f.ds->SetRecNo(12);
    const TBookmark twelve = f.ds->GetBookmark();
    f.ds->First();
    f.link.Take();
    // A grid keeps a record on its screen row: choose the row, move without refilling, resync.
    f.link.SetActiveRecord(3);
    f.ds->GotoBookmarkWithoutResync(twelve);
    f.ds->Resync(rmExact);
    EXPECT_EQ(f.link.Take(), "changed");
    EXPECT_EQ(f.link.ActiveRecord(), 3);
    EXPECT_EQ(f.ds->FieldByName("ID").AsInteger(), 12);
    EXPECT_EQ(f.Window(), (std::vector<int>{9, 10, 11, 12, 13}));

    f.ds->SetRecNo(2);
    f.link.Take();
    const TBookmark two = f.ds->GetBookmark();
    f.link.SetActiveRecord(3);  // not enough records above: the record rises to the top rows
    f.ds->GotoBookmarkWithoutResync(two);
    f.ds->Resync(rmExact);
    EXPECT_EQ(f.link.ActiveRecord(), 1);
    EXPECT_EQ(f.Window(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(DataLink, DisabledControlsHearNothingAndEnablingSendsOneChange) {
    Fixture f(20);
    f.ds->DisableControls();
    f.ds->DisableControls();
    f.ds->MoveBy(8);
    f.ds->Edit();
    f.ds->FieldByName("NAME").SetAsString("x");
    f.ds->Post();
    f.ds->EnableControls();
    EXPECT_EQ(f.link.Take(), "");
    EXPECT_TRUE(f.ds->ControlsDisabled());
    f.ds->EnableControls();
    EXPECT_EQ(f.link.Take(), "changed");
    EXPECT_EQ(f.link.ActiveRecord(), 4) << "the window caught up with the cursor";
    EXPECT_EQ(f.Window(), (std::vector<int>{5, 6, 7, 8, 9}));

    f.ds->DisableControls();
    f.ds->Edit();
    f.ds->EnableControls();
    EXPECT_EQ(f.link.Take(), "editing, changed") << "a state changed meanwhile is told first";
    f.ds->Cancel();
}

TEST(DataLink, EditingNotificationsAndTheRecordBeingInserted) {
    Fixture f(20);
    f.ds->MoveBy(2);
    f.link.Take();
    f.ds->Insert();
    EXPECT_EQ(f.link.Take(), "editing, changed");
    EXPECT_EQ(f.link.ActiveRecord(), 2);
    EXPECT_EQ(f.Window(), (std::vector<int>{1, 2, 0, 3, 4})) << "the new record shows in its slot";
    f.ds->FieldByName("ID").SetAsInteger(99);
    EXPECT_EQ(f.link.Take(), "field ID");
    f.ds->Post();
    EXPECT_EQ(f.link.Take(), "update, browsing, changed");
    EXPECT_EQ(f.Window(), (std::vector<int>{1, 2, 99, 3, 4}));

    f.source.SetAutoEdit(false);
    EXPECT_FALSE(f.link.Edit());
    f.source.SetAutoEdit(true);
    EXPECT_TRUE(f.link.Edit());
    EXPECT_EQ(f.ds->State(), dsEdit);
    f.ds->Cancel();
    f.link.SetReadOnly(true);
    f.ds->Edit();
    EXPECT_FALSE(f.link.Editing());
    f.ds->Cancel();
    f.link.Take();

    f.ds->Close();
    EXPECT_EQ(f.link.Take(), "inactive");
    EXPECT_EQ(f.link.RecordCount(), 0);
    f.source.SetEnabled(false);
    f.ds->Open();
    EXPECT_EQ(f.link.Take(), "") << "a disabled source shows an inactive dataset";
    f.source.SetEnabled(true);
    EXPECT_EQ(f.link.Take(), "active");
}

TEST(DataLink, ASourceOrDatasetThatGoesAwayLeavesTheLinkInactive) {
    RecordingLink link;
    {
        auto ds = NumberedTable(3);
        TDataSource source;
        source.SetDataSet(ds.get());
        link.SetDataSource(&source);
        EXPECT_EQ(link.Take(), "active");
        ds.reset();
        EXPECT_EQ(link.Take(), "inactive");
        EXPECT_EQ(source.DataSet(), nullptr);
        ds = NumberedTable(3);
        source.SetDataSet(ds.get());
        EXPECT_EQ(link.Take(), "active");
    }
    EXPECT_EQ(link.Take(), "inactive");
    EXPECT_EQ(link.DataSource(), nullptr);
}

}  // namespace
}  // namespace tv
