// Pick-list columns: the texts shown for stored values and the values stored for typed texts
// under the pick options, the formatted texts, and loading the lists from a dataset (a line
// break inside a text keeps its pair together).

#include <gtest/gtest.h>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "grid_test_support.h"
#include "platform/data/data_set.h"

namespace tv {
namespace {

class PickColumn : public test::GridTest {
protected:
    // A grid over one record whose CODE (a string of size 4) is `code`; CODE picks from the
    // carriers 1 Post, 2 Bud, 3 Hämtas.
    TXDBGrid* Grid(const char* code = "2") {
        table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"CODE", TFieldType::ftString, 4}}, {{"1", code}});
        source.SetDataSet(table.get());
        auto* grid = AddGrid<TXDBGrid>(300, 200);
        Code(*grid)->PickList()->SetCommaText("1,2,3");
        Code(*grid)->PickText()->SetCommaText("Post,Bud,Hämtas");
        return grid;
    }
    static TXColumn* Code(TXDBGrid& grid) { return grid.Columns()->Items(1); }
    static std::string Shown(TXDBGrid& grid, std::string text) {
        grid.ColGetText(Code(grid), text, tkDisplay);
        return text;
    }
    static std::string Stored(TXDBGrid& grid, std::string text) {
        grid.ColSetText(Code(grid), text);
        return text;
    }
};

TEST_F(PickColumn, AutoLoadLeavesOutSelectPickText) {
    auto* grid = Grid();
    Code(*grid)->SetPickOptions({poSelectPickText, poAutoLoadList});
    EXPECT_EQ(Code(*grid)->PickOptions(), TXPickOptions{poAutoLoadList});
}

TEST_F(PickColumn, TextsShownAndStoredUnderTheOptions) {
    struct Case {
        TXPickOptions options;
        const char* field;  // the stored text shown
        const char* shown;
        const char* typed;  // a typed text stored
        const char* stored;
    };
    const TXPickOptions standard = kDefaultPickOptions;
    const Case cases[] = {
        {standard, "2", "Bud", "Hämtas", "3"},
        {standard, "2", "Bud", "hämtas", "3"},   // any letter case
        {standard, "9", "9", "1", "1"},          // an unknown value shows as it is; a value is taken
        {standard, "2", "Bud", "4", "4"},        // not a position without poAcceptItemIndex
        {standard + TXPickOptions{poAcceptItemIndex}, "2", "Bud", "4", "4"},  // beyond the end
        {standard + TXPickOptions{poAcceptItemIndex}, "2", "Bud", "1", "1"},
        {TXPickOptions{poSelectPickText, poAcceptItemIndex}, "2", "Bud", "2", "2"},
        {standard + TXPickOptions{poListItemsOnly}, "9", "", "4", ""},
        {TXPickOptions{poSelectPickText}, "2", "Bud", "3", "3"},  // unchanged: not found
        {standard + TXPickOptions{poStoreItemIndex}, "   2", "Bud", "Bud", "   2"},
        {standard + TXPickOptions{poStoreItemIndex}, "x", "x", "Post", "   1"},
        {standard + TXPickOptions{poFormatPickText}, "3", "3 - Hämtas", "2 - Bud", "2"},
        {standard + TXPickOptions{poFormatPickText, poFormatListOnly}, "3", "Hämtas", "Bud", "2"},
        {TXPickOptions{}, "2", "2", "Bud", "Bud"},  // no pick texts: the pick list only
        {TXPickOptions{poListItemsOnly}, "7", "", "7", ""},
        {TXPickOptions{poAcceptItemIndex}, "2", "2", "3", "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " / " + c.typed + " / " + std::to_string(c.options.Bits()));
        auto* grid = Grid();
        Code(*grid)->SetPickOptions(c.options);
        EXPECT_EQ(Shown(*grid, c.field), c.shown);
        EXPECT_EQ(Stored(*grid, c.typed), c.stored);
        delete grid;
    }
}

TEST_F(PickColumn, TypedTextReachesTheFieldAsItsValue) {
    auto* grid = Grid();
    ASSERT_TRUE(test::FocusOn(*grid));
    grid->SetSelectedIndex(1);
    EXPECT_EQ(Code(*grid)->DisplayText(), "Bud");
    test::Type("P");  // opens the editor, which then has the focus
    test::Type("ost");
    test::Key(Qt::Key_Return);
    EXPECT_EQ(table->FieldByName("CODE").AsString(), "1");
    EXPECT_EQ(Code(*grid)->DisplayText(), "Post");
}

TEST_F(PickColumn, FormatPickTextAndTheListsADropDownShows) {
    auto* grid = Grid();
    TXColumn* code = Code(*grid);
    code->PickText()->SetStrings(2, "Carrier");
    EXPECT_EQ(code->FormatPickText(2), "3 - Carrier");
    EXPECT_EQ(code->FormatPickText(-1), "");
    EXPECT_EQ(code->FormatPickText(5), " - ");
    code->SetPickTextFormat("%2:d. %0:s");
    EXPECT_EQ(code->FormatPickText(1), "2. Bud");

    EXPECT_EQ(code->PickItems()->CommaText(), "Post,Bud,Carrier");
    code->SetPickOptions(kDefaultPickOptions + TXPickOptions{poFormatPickText});
    EXPECT_EQ(code->PickItems()->CommaText(), "\"1. Post\",\"2. Bud\",\"3. Carrier\"");
    code->PickText()->SetStrings(0, "Brev");  // the formatted texts follow the lists
    EXPECT_EQ(code->PickItems()->Strings(0), "1. Brev");
    code->SetPickOptions(kDefaultPickOptions + TXPickOptions{poFormatPickText, poFormatListOnly});
    EXPECT_EQ(code->PickDisplay()->Strings(0), "Brev");
    code->SetPickOptions({});
    EXPECT_EQ(code->PickItems()->CommaText(), "1,2,3");
    code->SetPickList(nullptr);
    EXPECT_EQ(code->PickItems(), nullptr);
}

TEST_F(PickColumn, LoadingKeepsTheFirstPairOfEachValueAndLineBreaksInsideTexts) {
    auto* grid = Grid();
    auto carriers = test::ClientTable({{"VALUE", TFieldType::ftString, 4}, {"TEXT", TFieldType::ftString, 20}},
                                      {{"B", "y"}, {"A", "x"}, {"A", "z"}, {"", ""}, {"C", "två\rrader"}});
    TXColumn* code = Code(*grid);
    carriers->Last();
    code->LoadPickText(&carriers->FieldByName("VALUE"), &carriers->FieldByName("TEXT"), false);
    EXPECT_TRUE(carriers->Eof());
    ASSERT_EQ(code->PickList()->Count(), 3);
    EXPECT_EQ(code->PickList()->Strings(1), "A");
    EXPECT_EQ(code->PickText()->Strings(1), "x");
    EXPECT_EQ(code->PickList()->Strings(2), "C");
    EXPECT_EQ(code->PickText()->Strings(2), "två\rrader");

    code->LoadPickText(&carriers->FieldByName("VALUE"), &carriers->FieldByName("TEXT"), true);
    EXPECT_EQ(code->PickList()->CommaText(), "A,B,C");
    code->SetPickOptions(kDefaultPickOptions + TXPickOptions{poSortedByText, poAppendToList});
    code->PickList()->Add("D");
    code->PickText()->Add("a");
    code->LoadPickText(&carriers->FieldByName("VALUE"), &carriers->FieldByName("TEXT"), true);
    EXPECT_EQ(code->PickList()->CommaText(), "D,C,A,B");

    code->LoadPickList(&carriers->FieldByName("VALUE"), true);
    EXPECT_EQ(code->PickList()->CommaText(), "A,B,C,D");  // appended to, sorted, no empty text
    EXPECT_EQ(code->PickText()->Count(), 0);
    code->LoadPickText(&carriers->FieldByName("VALUE"), &table->FieldByName("CODE"), false);
    EXPECT_EQ(code->PickList()->Count(), 0);  // fields of two datasets: no lists
}

TEST_F(PickColumn, LoadingFromTheGridsOwnDatasetKeepsTheCurrentRecord) {
    table = test::ClientTable({{"ID", TFieldType::ftInteger}, {"CODE", TFieldType::ftString, 4}},
                              {{"1", "b"}, {"2", "a"}, {"3", "b"}});
    source.SetDataSet(table.get());
    auto* grid = AddGrid<TXDBGrid>(300, 200);
    table->SetRecNo(2);
    Code(*grid)->LoadPickList();
    EXPECT_EQ(Code(*grid)->PickList()->CommaText(), "b,a");
    EXPECT_EQ(table->RecNo(), 2);
}

}  // namespace
}  // namespace tv
