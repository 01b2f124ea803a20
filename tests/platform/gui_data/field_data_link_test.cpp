#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/data/db_error.h"
#include "platform/gui/field_data_link.h"

namespace tv {
namespace {

// A field data link that records what it is told, as a control would see it.
struct RecordingLink {
    explicit RecordingLink(TComponent* control = nullptr) : link(control) {
        link.OnDataChange = [this] {
            shown.push_back(link.Field() ? link.Field()->Text() : std::string("<none>"));
        };
        link.OnEditingChange = [this] { editing.push_back(link.Editing()); };
        link.OnUpdateData = [this] { link.Field()->SetText(typed); };
    }
    TFieldDataLink link;
    std::vector<std::string> shown;
    std::vector<bool> editing;
    std::string typed;
};

struct LinkFixture : testing::Test {
    LinkFixture() : table(test::SettingsTable()) { source.SetDataSet(table.get()); }
    std::unique_ptr<TClientDataSet> table;
    TDataSource source;
};

TEST_F(LinkFixture, FindsItsFieldByNameInAnyLetterCaseWhileTheDatasetIsOpen) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    r.link.SetFieldName("path");
    ASSERT_NE(r.link.Field(), nullptr);
    EXPECT_EQ(r.link.Field()->FieldName(), "PATH");
    EXPECT_EQ(r.shown.back(), "/srv/demo");
    table->Close();
    EXPECT_EQ(r.link.Field(), nullptr);
    EXPECT_EQ(r.shown.back(), "<none>");
    table->Open();
    ASSERT_NE(r.link.Field(), nullptr);
}

TEST_F(LinkFixture, AFieldTheDatasetLacksIsAnErrorNamingTheControl) {
    TComponent control;
    control.SetName("EditPath");
    TFieldDataLink link(&control);
    link.SetDataSource(&source);
    try {
        link.SetFieldName("NOPE");
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "EditPath: Field 'NOPE' not found");
    }
    EXPECT_EQ(link.Field(), nullptr);
    TFieldDataLink unnamed;
    unnamed.SetDataSource(&source);
    EXPECT_THROW(unnamed.SetFieldName("NOPE"), EDatabaseError);
}

TEST_F(LinkFixture, CanModifyOnlyAWritableFieldOfAnOpenDatasetThroughAWritableLink) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    EXPECT_FALSE(r.link.CanModify());  // no field
    r.link.SetFieldName("PATH");
    EXPECT_TRUE(r.link.CanModify());
    r.link.SetReadOnly(true);
    EXPECT_FALSE(r.link.CanModify());
    EXPECT_FALSE(r.link.Edit());
    EXPECT_EQ(table->State(), dsBrowse);
    r.link.SetReadOnly(false);
    table->FieldByName("PATH").SetReadOnly(true);
    EXPECT_FALSE(r.link.CanModify());
    EXPECT_FALSE(r.link.Edit());
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(LinkFixture, EditPutsTheDatasetInEditStateUnlessTheSourceForbidsIt) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    r.link.SetFieldName("PATH");
    source.SetAutoEdit(false);
    EXPECT_FALSE(r.link.Edit());
    EXPECT_EQ(table->State(), dsBrowse);
    source.SetAutoEdit(true);
    EXPECT_TRUE(r.link.Edit());
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(r.editing, (std::vector<bool>{true}));
    table->Cancel();
    EXPECT_EQ(r.editing, (std::vector<bool>{true, false}));
}

TEST_F(LinkFixture, AChangeReachesTheFieldOnlyWhenModifiedAndTheDatasetAsks) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    r.link.SetFieldName("PATH");
    r.link.Edit();
    r.typed = "/srv/other";
    table->UpdateRecord();  // not modified: nothing written
    EXPECT_EQ(table->FieldByName("PATH").Text(), "/srv/demo");
    r.link.Modified();
    EXPECT_TRUE(r.link.IsModified());
    table->UpdateRecord();
    EXPECT_EQ(table->FieldByName("PATH").Text(), "/srv/other");
    EXPECT_FALSE(r.link.IsModified());
    // Reset drops a change and shows the field again.
    r.typed = "/srv/third";
    r.link.Modified();
    r.link.Reset();
    EXPECT_FALSE(r.link.IsModified());
    EXPECT_EQ(r.shown.back(), "/srv/other");
    table->Post();
    EXPECT_EQ(table->FieldByName("PATH").Text(), "/srv/other");
}

TEST_F(LinkFixture, ShowsTheFieldAgainWhenItOrTheRecordChangesButNotForOtherFields) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    r.link.SetFieldName("PATH");
    table->Edit();
    r.shown.clear();
    table->FieldByName("DBNAME").SetAsString("x");  // another field: not told
    EXPECT_TRUE(r.shown.empty());
    table->FieldByName("PATH").SetAsString("/a");
    EXPECT_EQ(r.shown, (std::vector<std::string>{"/a"}));
    table->Cancel();
    EXPECT_EQ(r.shown.back(), "/srv/demo");
}

TEST_F(LinkFixture, AWriteOfItsOwnIsNotShownBackWhileTheControlWrites) {
    RecordingLink r;
    r.link.SetDataSource(&source);
    r.link.SetFieldName("INCLUDE");
    r.link.Edit();
    r.shown.clear();
    r.typed = "1";
    r.link.Modified();
    table->Post();
    EXPECT_EQ(table->FieldByName("INCLUDE").AsInteger(), 1);
    // Only the post's refresh: the write itself did not echo into the control.
    EXPECT_EQ(r.shown, (std::vector<std::string>{"1"}));
}

}  // namespace
}  // namespace tv
