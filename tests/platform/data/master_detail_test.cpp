// Master/detail: a detail follows its master's current record on named fields, and can be unlinked
// and linked again while its records stay.

#include "data_test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct RuleTables {
    TClientDataSet rules, items;
    TDataSource rulesSource;

    RuleTables() {
        rules.FieldDefs().Add("RuleName", TFieldType::ftString, 50);
        rules.CreateDataSet();
        for (const char* name : {"get", "put", "empty"}) {
            rules.Append();
            rules.FieldByName("RuleName").SetAsString(name);
            rules.Post();
        }
        items.FieldDefs().Add("rulename", TFieldType::ftString, 50);
        items.FieldDefs().Add("RULE_ITEM_NAME", TFieldType::ftString, 50);
        items.FieldDefs().Add("RULE_ITEM_ORDER", TFieldType::ftInteger);
        items.CreateDataSet();
        const struct {
            const char* rule;
            const char* name;
            int order;
        } rows[] = {{"get", "fetch", 2}, {"put", "send", 1}, {"get", "unzip", 1}, {"other", "lost", 1}};
        for (const auto& r : rows) {
            items.Append();
            items.FieldByName("rulename").SetAsString(r.rule);
            items.FieldByName("RULE_ITEM_NAME").SetAsString(r.name);
            items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(r.order);
            items.Post();
        }
        rulesSource.SetDataSet(&rules);
        items.SetIndexFieldNames("rulename;rule_item_order");
        items.SetMasterSource(&rulesSource);
        items.SetMasterFields("RuleName");
        rules.First();
    }

    std::vector<std::string> ItemNames() {
        std::vector<std::string> names;
        for (items.First(); !items.Eof(); items.Next())
            names.push_back(items.FieldByName("RULE_ITEM_NAME").AsString());
        return names;
    }
};

using Names = std::vector<std::string>;

TEST(MasterDetail, TheDetailShowsOnlyItsMastersRecords) {
    RuleTables t;
    EXPECT_EQ(t.ItemNames(), (Names{"unzip", "fetch"}));
    t.rules.Next();
    EXPECT_EQ(t.ItemNames(), (Names{"send"}));
    t.rules.Last();
    EXPECT_EQ(t.ItemNames(), Names{});
    EXPECT_TRUE(t.items.IsEmpty());
    t.rules.First();
    EXPECT_EQ(t.items.RecordCount(), 2);
}

TEST(MasterDetail, ANewDetailRecordBelongsToTheCurrentMaster) {
    RuleTables t;
    t.rules.Next();
    t.items.Append();
    EXPECT_EQ(t.items.FieldByName("rulename").AsString(), "put");
    t.items.FieldByName("RULE_ITEM_NAME").SetAsString("log");
    t.items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(2);
    t.items.Post();
    EXPECT_EQ(t.ItemNames(), (Names{"send", "log"}));
}

TEST(MasterDetail, UnlinkingShowsEveryRecordAndLinkingAgainFollowsTheMaster) {
    RuleTables t;
    t.items.SetMasterSource(nullptr);
    EXPECT_EQ(t.ItemNames(), (Names{"unzip", "fetch", "lost", "send"}));
    t.rules.Next();
    EXPECT_EQ(t.items.RecordCount(), 4) << "unlinked, the master's moves do not matter";
    t.items.SetMasterSource(&t.rulesSource);
    EXPECT_EQ(t.ItemNames(), (Names{"send"}));
    t.items.SetMasterFields("");
    EXPECT_EQ(t.items.RecordCount(), 4);
    t.items.SetMasterFields("RuleName");
    t.rules.Close();
    EXPECT_EQ(t.items.RecordCount(), 4) << "a closed master limits nothing";
}

TEST(MasterDetail, TheMastersMovePostsThePendingDetailEdit) {
    RuleTables t;
    t.items.Edit();
    t.items.FieldByName("RULE_ITEM_NAME").SetAsString("unpack");
    t.rules.Next();
    t.rules.First();
    EXPECT_EQ(t.ItemNames(), (Names{"unpack", "fetch"}));
}

TEST(MasterDetail, LinksThatCannotBeAreRefusedAndAGoneMasterUnlinks) {
    RuleTables t;
    TDataSource own;
    own.SetDataSet(&t.items);
    EXPECT_THROW(t.items.SetMasterSource(&own), EDatabaseError);
    {
        TDataSource temporary;
        temporary.SetDataSet(&t.rules);
        t.items.SetMasterSource(&temporary);
        EXPECT_EQ(t.items.RecordCount(), 2);
    }
    EXPECT_EQ(t.items.MasterSource(), nullptr);
    EXPECT_EQ(t.items.RecordCount(), 4);
}

}  // namespace
}  // namespace tv
