// Dataset states, their events in the class library's order, the implicit post on navigation,
// cancel, insert and delete positions, and navigation.

#include "data_test_support.h"

#include <functional>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::EventLog;
using test::Ids;
using test::NumberedTable;

struct EventCase {
    const char* name;
    std::function<void(TDataSet&)> action;
    const char* events;
};

void SetName(TDataSet& ds, const char* name) {
    ds.FieldByName("NAME").SetAsString(name);
}

const EventCase kEventCases[] = {
    {"append", [](TDataSet& ds) { ds.Append(); },
     "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll"},
    {"insert", [](TDataSet& ds) { ds.Insert(); },
     "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll"},
    {"edit and post",
     [](TDataSet& ds) {
         ds.Edit();
         SetName(ds, "x");
         ds.Post();
     },
     "BeforeEdit AfterEdit BeforePost AfterPost"},
    {"changed edit, then next: posted first",
     [](TDataSet& ds) {
         ds.Edit();
         SetName(ds, "x");
         ds.Next();
     },
     "BeforeEdit AfterEdit BeforePost AfterPost BeforeScroll AfterScroll"},
    {"unchanged edit, then next: cancelled first",
     [](TDataSet& ds) {
         ds.Edit();
         ds.Next();
     },
     "BeforeEdit AfterEdit BeforeCancel AfterCancel BeforeScroll AfterScroll"},
    {"append, then cancel",
     [](TDataSet& ds) {
         ds.Append();
         ds.Cancel();
     },
     "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll BeforeCancel AfterCancel"},
    {"delete", [](TDataSet& ds) { ds.Delete(); }, "BeforeDelete BeforeScroll AfterDelete AfterScroll"},
    {"last", [](TDataSet& ds) { ds.Last(); }, "BeforeScroll AfterScroll"},
    // At the end nothing moves: BeforeScroll is raised, AfterScroll is not.
    {"next past the end",
     [](TDataSet& ds) {
         ds.Last();
         ds.Next();
     },
     "BeforeScroll AfterScroll BeforeScroll"},
    {"locate", [](TDataSet& ds) { ds.Locate("ID", test::Int(2)); }, "BeforeScroll AfterScroll"},
    // Closing drops the records of a client dataset; it opens again empty.
    {"close and open",
     [](TDataSet& ds) {
         ds.Close();
         ds.Open();
     },
     "BeforeClose AfterClose BeforeOpen AfterOpen"},
};

TEST(DataSetState, EventsComeInTheClassLibrarysOrder) {
    for (const auto& c : kEventCases) {
        auto ds = NumberedTable(3);
        EventLog log;
        log.Attach(*ds);
        c.action(*ds);
        EXPECT_EQ(log.Take(), c.events) << c.name;
    }
    auto fresh = std::make_unique<TClientDataSet>();
    fresh->FieldDefs().Add("ID", TFieldType::ftInteger);
    EventLog log;
    log.Attach(*fresh);
    fresh->CreateDataSet();
    EXPECT_EQ(log.Take(), "BeforeOpen AfterOpen") << "an empty dataset does not scroll";
}

TEST(DataSetState, NavigationPostsAModifiedRecordAndDropsAnUntouchedOne) {
    auto ds = NumberedTable(3);
    ds->Edit();
    SetName(*ds, "edited");
    ds->Last();
    EXPECT_EQ(ds->State(), dsBrowse);
    ds->First();
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "edited");

    ds->Append();
    ds->First();  // nothing was set: the new record goes away
    EXPECT_EQ(ds->RecordCount(), 3);

    ds->OnNewRecord = [](TDataSet* d) { d->FieldByName("NAME").SetAsString("default"); };
    ds->Append();
    EXPECT_TRUE(ds->FieldByName("NAME").AsString() == "default");
    ds->Prior();  // defaults from OnNewRecord are not changes
    EXPECT_EQ(ds->RecordCount(), 3);

    ds->Append();
    ds->FieldByName("ID").SetAsInteger(4);
    ds->MoveBy(-2);
    EXPECT_EQ(ds->RecordCount(), 4);
    EXPECT_EQ(Ids(*ds), (std::vector<int>{1, 2, 3, 4}));
}

TEST(DataSetState, CancelRestoresTheOldValuesAndTheCursor) {
    auto ds = NumberedTable(3);
    ds->Next();
    ds->Edit();
    SetName(*ds, "changed");
    ds->FieldByName("ID").Clear();
    ds->Cancel();
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "n2");
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 2);

    ds->Insert();
    ds->FieldByName("ID").SetAsInteger(99);
    ds->Cancel();
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 2) << "back on the record that was current";
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(Ids(*ds), (std::vector<int>{1, 2, 3}));
}

TEST(DataSetState, InsertGoesBeforeTheCurrentRecordAppendAfterTheLast) {
    auto ds = NumberedTable(3);
    ds->Next();
    ds->Insert();
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(ds->RecordCount(), 4) << "the record being inserted counts";
    ds->FieldByName("ID").SetAsInteger(99);
    ds->Post();
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 99);
    ds->First();
    ds->Insert();
    ds->FieldByName("ID").SetAsInteger(0);
    ds->Post();
    ds->Append();
    EXPECT_EQ(ds->RecNo(), 6);
    ds->FieldByName("ID").SetAsInteger(100);
    ds->Post();
    EXPECT_EQ(Ids(*ds), (std::vector<int>{0, 1, 99, 2, 3, 100}));

    auto empty = NumberedTable(0);
    empty->Insert();
    empty->FieldByName("ID").SetAsInteger(5);
    empty->Post();
    EXPECT_EQ(Ids(*empty), (std::vector<int>{5}));
}

TEST(DataSetState, DeleteMovesToTheNextRecordOrTheNewLast) {
    auto ds = NumberedTable(4);
    ds->Next();
    ds->Delete();
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(ds->RecNo(), 2);
    ds->Last();
    ds->Delete();
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 3);
    ds->Edit();
    SetName(*ds, "changed");
    ds->Delete();  // deleting while editing drops the edit with the record
    EXPECT_EQ(Ids(*ds), (std::vector<int>{1}));
    ds->Delete();
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_TRUE(ds->Eof());
    EXPECT_TRUE(ds->Bof());
    try {
        ds->Delete();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Cannot perform this operation on an empty dataset");
    }
}

struct MoveCase {
    int distance;
    int moved;
    int recNo;
    bool bof, eof;
};

TEST(DataSetState, MoveByAnswersHowFarItMoved) {
    const MoveCase steps[] = {
        {1, 1, 2, false, false},   {2, 2, 4, false, false},  {5, 1, 5, false, true},  {1, 0, 5, false, true},
        {-2, -2, 3, false, false}, {-9, -2, 1, true, false}, {-1, 0, 1, true, false},
    };
    auto ds = NumberedTable(5);
    EXPECT_TRUE(ds->Bof());
    for (const auto& s : steps) {
        EXPECT_EQ(ds->MoveBy(s.distance), s.moved) << s.distance;
        EXPECT_EQ(ds->RecNo(), s.recNo) << s.distance;
        EXPECT_EQ(ds->Bof(), s.bof) << s.distance;
        EXPECT_EQ(ds->Eof(), s.eof) << s.distance;
    }
    ds->SetRecNo(4);
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 4);
}

TEST(DataSetState, EventHandlersThatRaiseStopTheirOperation) {
    auto ds = NumberedTable(3);
    ds->BeforePost = [](TDataSet*) { throw EDatabaseError("not now"); };
    ds->Edit();
    SetName(*ds, "x");
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->State(), dsEdit) << "a refused post leaves the edit";
    ds->BeforePost = nullptr;
    ds->AfterPost = [](TDataSet*) { throw EDatabaseError("after"); };
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->State(), dsBrowse) << "the record was posted before AfterPost raised";
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "x");
    ds->BeforeDelete = [](TDataSet*) { throw EDatabaseError("keep it"); };
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    EXPECT_EQ(ds->RecordCount(), 3);
}

TEST(DataSetState, RequiredFieldsAndClosedDatasetsRefuse) {
    TClientDataSet ds;
    try {
        ds.Append();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Cannot perform this operation on a closed dataset");
    }
    ds.FieldDefs().Add("ID", TFieldType::ftInteger, 0, true);
    ds.CreateDataSet();
    ds.Edit();  // edit on an empty dataset appends
    EXPECT_EQ(ds.State(), dsInsert);
    try {
        ds.Post();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Field 'ID' must have a value");
    }
    EXPECT_EQ(ds.State(), dsInsert);
    ds.Cancel();
    EXPECT_THROW(ds.Post(), EDatabaseError) << "post outside edit state";
}

}  // namespace
}  // namespace tv
