// The page blocks of the settings schema: how a block reads, what the reader refuses, and the
// program's own blocks checked against their tables and the kit's sort orders.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "adk/adk_catalogue.h"
#include "core/settings_schema.h"

namespace tv {
namespace {

const std::string kTable =
    "load T\n"
    "table T ini \"t\"\n"
    "  MODE integer\n"
    "  FLAG boolean\n"
    "  CDX integer\n"
    "  NAME string 5\n"
    "  QUERY memo\n"
    "  SPARE integer\n";

TEST(SettingsPages, ReadABlockWithGroupsControlsChoicesAndBehaviours) {
    const auto schema =
        ParseSettingsSchema(kTable +
                            "page TFormX \"Import - X\" under \"Import\" state 12 table T\n"
                            "  header \"Inställningar - X\"\n"
                            "  radio MODE \"Om x finns\"\n"
                            "    \"Uppdatera\" \"Hoppa över\"\n"
                            "    \"Misslyckas\"\n"
                            "  group \"Leta x genom\" name Search\n"
                            "    check FLAG \"Markera \"\"x\"\"\" hidden\n"
                            "    sortorder CDX name ComboCDX\n"
                            "      asKundnr asOrderEjFakturerade\n"
                            "    pick MODE \"Fel\"\n"
                            "      \"Aldrig\" = 0 \"Alltid\" = \"1\"\n"
                            "    button QUERY \"Lägg till\" does copy-text:Examples rule-choice\n"
                            "  group hidden\n"
                            "    memo QUERY\n"
                            "# a comment inside the block\n"
                            "  omits NAME SPARE\n");
    ASSERT_EQ(schema.Pages.size(), 1u);
    const TSettingsPageDef& page = schema.Pages[0];
    EXPECT_EQ(page.ClassName, "TFormX");
    EXPECT_EQ(page.Caption, "Import - X");
    EXPECT_EQ(page.Parent, "Import");
    EXPECT_EQ(page.State, 12);
    EXPECT_EQ(page.Header, "Inställningar - X");
    EXPECT_EQ(page.Omits, (std::vector<std::string>{"NAME", "SPARE"}));
    ASSERT_EQ(page.Groups.size(), 3u);

    const TPageGroupDef& radioArea = page.Groups[0];
    EXPECT_FALSE(radioArea.Framed) << "a control on the page stands in an area of its own";
    ASSERT_EQ(radioArea.Controls.size(), 1u);
    const TPageControlDef& radio = radioArea.Controls[0];
    EXPECT_EQ(radio.Kind, "radio");
    EXPECT_EQ(radio.Field, "MODE");
    EXPECT_EQ(radio.Table, "T");
    ASSERT_EQ(radio.Choices.size(), 3u);
    EXPECT_EQ(radio.Choices[2].Item, "Misslyckas");
    EXPECT_EQ(radio.Choices[2].Value, "2") << "a choice without a value stores its position";

    const TPageGroupDef& search = page.Groups[1];
    EXPECT_TRUE(search.Framed);
    EXPECT_EQ(search.Caption, "Leta x genom");
    EXPECT_EQ(search.Name, "Search");
    ASSERT_EQ(search.Controls.size(), 4u);
    EXPECT_EQ(search.Controls[0].Caption, "Markera \"x\"");
    EXPECT_TRUE(search.Controls[0].Has("hidden"));
    EXPECT_EQ(search.Controls[0].Checked, "True");
    EXPECT_EQ(search.Controls[0].Unchecked, "False");
    const TPageControlDef& cdx = search.Controls[1];
    EXPECT_EQ(cdx.Name, "ComboCDX");
    ASSERT_EQ(cdx.Choices.size(), 2u);
    EXPECT_EQ(cdx.Choices[0].Item, "asKundnr");
    EXPECT_EQ(cdx.Choices[0].Value, "1");
    EXPECT_EQ(cdx.Choices[1].Value, "-73") << "ordinal 183 as a signed byte";
    EXPECT_EQ(search.Controls[2].Choices[1].Value, "1");
    const TPageControlDef& button = search.Controls[3];
    ASSERT_EQ(button.Behaviours.size(), 2u);
    EXPECT_EQ(button.Behaviours[0].Id, "copy-text");
    EXPECT_EQ(button.Behaviours[0].Argument, "Examples");
    EXPECT_EQ(button.Behaviours[1].Id, "rule-choice");
    EXPECT_EQ(button.Behaviours[1].Argument, "");

    EXPECT_FALSE(page.Groups[2].Framed);
    EXPECT_TRUE(page.Groups[2].Has("hidden"));
    EXPECT_EQ(schema.FindPage("TFormX"), &page);
    EXPECT_EQ(schema.FindPage("TFormY"), nullptr);
}

TEST(SettingsPages, GroupsAfterATabStandOnIt) {
    const auto schema = ParseSettingsSchema(kTable +
                                            "page TFormX \"X\" state 1 table T\n"
                                            "  tab \"Första\" header \"Inställningar - 1\"\n"
                                            "  group \"A\"\n"
                                            "    edit NAME\n"
                                            "  check FLAG \"x\"\n"
                                            "  tab \"Andra\"\n"
                                            "  group \"B\" table T\n"
                                            "    edit QUERY\n");
    const TSettingsPageDef& page = schema.Pages[0];
    ASSERT_EQ(page.Tabs.size(), 2u);
    EXPECT_EQ(page.Tabs[0].Caption, "Första");
    EXPECT_EQ(page.Tabs[0].Header, "Inställningar - 1");
    EXPECT_EQ(page.Tabs[1].Header, "");
    ASSERT_EQ(page.Groups.size(), 3u);
    EXPECT_EQ(page.Groups[0].Tab, 0);
    EXPECT_EQ(page.Groups[1].Tab, 0) << "a control on the page stands on the tab too";
    EXPECT_EQ(page.Groups[2].Tab, 1);
    EXPECT_EQ(ParseSettingsSchema(kTable + "page TFormY \"Y\" state 1 table T\n  edit NAME\n")
                  .Pages[0]
                  .Groups[0]
                  .Tab,
              -1);
}

TEST(SettingsPages, AGridTakesItsColumnsFromItsChoices) {
    const auto schema = ParseSettingsSchema(kTable +
                                            "page TFormX \"X\" state 1 table T\n"
                                            "  group name Rows wide\n"
                                            "    grid name Grid standard stretch\n"
                                            "      \"Namn\" = NAME:172 \"\" = MODE\n");
    const TPageGroupDef& rows = schema.Pages[0].Groups[0];
    EXPECT_TRUE(rows.Has("wide"));
    const TPageControlDef& grid = rows.Controls[0];
    EXPECT_TRUE(grid.Has("standard") && grid.Has("stretch"));
    ASSERT_EQ(grid.Choices.size(), 2u);
    const TPageColumnDef name = GridColumn(grid.Choices[0]);
    EXPECT_EQ(name.Title, "Namn");
    EXPECT_EQ(name.Field, "NAME");
    EXPECT_EQ(name.Width, 172);
    const TPageColumnDef mode = GridColumn(grid.Choices[1]);
    EXPECT_EQ(mode.Title, "") << "the field's own name";
    EXPECT_EQ(mode.Field, "MODE");
    EXPECT_EQ(mode.Width, 0) << "the grid's default width";
}

TEST(SettingsPages, AnUnsignedSortOrderListStoresTheOrdinalItself) {
    const auto schema = ParseSettingsSchema(kTable +
                                            "page TFormX \"X\" state 1 table T\n"
                                            "  sortorder CDX unsigned\n"
                                            "    asOrderEjFakturerade asAvtalnr\n");
    const auto& choices = schema.Pages[0].Groups[0].Controls[0].Choices;
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].Value, "183");
    EXPECT_EQ(choices[1].Value, "224");
}

TEST(SettingsPages, RefuseBlocksThatDoNotFitTheirTables) {
    const std::string page = "page TFormX \"X\" state 1 table T\n";
    struct Row {
        std::string block;
        const char* message;
    };
    const Row kRows[] = {
        {page + "  edit MISSING\n", "line 10: the table T has no field MISSING"},
        {page + "  group \"G\"\n    memo QUERY\n    check MISSING \"x\"\n",
         "line 12: the table T has no field MISSING"},
        {page + "  check MODE \"x\"\n",
         "line 10: the checked text \"True\" does not convert to the field MODE"},
        {page + "  check MODE \"x\" checked 1 unchecked nej\n",
         "line 10: the unchecked text \"nej\" does not convert to the field MODE"},
        {page + "  check FLAG \"x\" checked 1 unchecked 0\n",
         "line 10: the checked text \"1\" does not convert to the field FLAG"},
        {page + "  radio MODE \"x\"\n    \"Alla\" = Alla\n",
         "line 10: the value \"Alla\" does not convert to the field MODE"},
        {page + "  pick NAME \"x\"\n    \"Lång\" = Langtext\n",
         "line 10: the value \"Langtext\" does not convert to the field NAME"},
        {page + "  sortorder CDX\n    asKundnummer\n", "line 11: no sort order is named asKundnummer"},
        {page + "  radio MODE \"x\"\n    Alla\n", "line 11: expected a choice in quotes"},
        {page + "  omits NOTHING\n", "line 9: the page omits NOTHING, which its table lacks"},
        {"page TFormX \"X\" state 1 table U\n  edit A\n", "line 9: no table is named U"},
        {"page TFormX \"X\" table T\n", "line 9: a page needs its state number"},
        {"page TFormX \"X\" state 1 colour red\n", "line 9: unknown page option colour"},
        {page + "page TFormX \"Y\" state 2\n", "line 10: the page TFormX is given twice"},
        {page + "  edit MODE \"x\" bold\n", "line 10: unknown control option bold"},
        {page + "  group \"G\" framed\n", "line 10: unknown group option framed"},
        {page + "  header \"a\" \"b\"\n", "line 10: unexpected words after the header"},
        {page + "  edit MODE \"open\n", "line 10: a text has no closing quote"},
        {page + "  edit MODE\n  tab \"T\"\n", "line 11: a page's tabs come before its groups"},
        {page + "  tab \"T\" rubrik \"R\"\n", "line 10: expected header after a tab"},
        {page + "  tab \"T\" header \"R\" x\n", "line 10: unexpected words after the tab"},
        {page + "  grid\n    \"Namn\" = MISSING\n", "line 10: the table T has no field MISSING"},
        {page + "  grid\n    \"Namn\" = NAME:bred\n", "line 10: the column NAME has no valid width"},
        {page + "  grid\n    \"Namn\" = NAME:0\n", "line 10: the column NAME has no valid width"},
        {page + "  grid\n", "line 10: the grid has no columns"},
    };
    for (const auto& row : kRows) {
        try {
            ParseSettingsSchema(kTable + row.block);
            ADD_FAILURE() << "accepted: " << row.block;
        } catch (const ESettingsSchemaError& e) {
            EXPECT_NE(std::string(e.what()).find(row.message), std::string::npos) << e.what();
        }
    }
}

// ---- The program's blocks.

// Every sort-order choice stores an ordinal of the kit's catalogue under the name it shows (the
// import reads the low 8 bits), signed above 127 except on the agreement page.
TEST(SettingsPages, EverySortOrderValueIsTheOrdinalOfItsName) {
    size_t lists = 0;
    for (const auto& page : SettingsSchema().Pages)
        for (const auto& group : page.Groups)
            for (const auto& control : group.Controls) {
                if (control.Kind != "sortorder") continue;
                ++lists;
                for (const auto& choice : control.Choices) {
                    const int value = std::stoi(choice.Value);
                    EXPECT_EQ(AdkSortOrderName(static_cast<TAdkSortOrder>(value & 0xFF)), choice.Item)
                        << page.ClassName << " " << choice.Value;
                    if (!control.Has("unsigned")) {
                        EXPECT_TRUE(value >= -128 && value <= 127) << choice.Value;
                    }
                }
            }
    EXPECT_EQ(lists, 13u);
}

// The stored values of some lists, as the settings files hold them.
TEST(SettingsPages, TheSortOrderListsStoreWhatTheSettingsFilesHold) {
    struct Row {
        const char* page;
        std::vector<std::string> values;
    };
    const Row kRows[] = {
        {"TFormImportOrdersPrefs", {"10", "52", "55", "50", "57", "59", "-73", "50"}},
        {"TFormImportOfferPrefs", {"8", "9", "45", "50", "46", "47", "48", "49"}},
        {"TFormImportDeliveryNotesPrefs", {"-105", "-102"}},
        {"TFormImportAgreementPrefs", {"224"}},
        {"TFormImportSupplierPrefs", {"3", "4", "26"}},
        {"TFormImportBestsPrefs", {"106", "109", "112"}},
    };
    for (const auto& row : kRows) {
        const TSettingsPageDef* page = SettingsSchema().FindPage(row.page);
        ASSERT_NE(page, nullptr) << row.page;
        std::vector<std::string> values;
        for (const auto& group : page->Groups)
            for (const auto& control : group.Controls)
                if (control.Kind == "sortorder")
                    for (const auto& choice : control.Choices) values.push_back(choice.Value);
        EXPECT_EQ(values, row.values) << row.page;
    }
    // The 24 contact orders, 189 to 212, stored as -67 to -44.
    const auto& contacts =
        SettingsSchema().FindPage("TFormImportContactsPrefs")->Groups[0].Controls[2].Choices;
    ASSERT_EQ(contacts.size(), 24u);
    for (size_t i = 0; i < contacts.size(); ++i) EXPECT_EQ(contacts[i].Value, std::to_string(-67 + int(i)));
}

// Each field of a table that has a page is shown by a control (or a grid's column) or omitted on
// purpose, never both.
TEST(SettingsPages, EveryFieldOfAPagesTableIsShownOrOmittedOnPurpose) {
    const TSettingsSchema& schema = SettingsSchema();
    std::set<std::string> tables;
    for (const auto& page : schema.Pages)
        if (!page.Table.empty()) tables.insert(page.Table);
    for (const auto& name : tables) {
        std::multiset<std::string> shown;
        std::set<std::string> omitted;
        for (const auto& page : schema.Pages) {
            for (const auto& group : page.Groups)
                for (const auto& control : group.Controls) {
                    if (control.Table != name) continue;
                    if (!control.Field.empty() && control.Kind != "button") shown.insert(control.Field);
                    if (control.Kind == "grid")
                        for (const auto& choice : control.Choices) shown.insert(GridColumn(choice).Field);
                }
            if (page.Table == name) omitted.insert(page.Omits.begin(), page.Omits.end());
        }
        for (const auto& field : schema.Table(name).Fields) {
            const bool isShown = shown.count(field.Name) > 0;
            const bool isOmitted = omitted.count(field.Name) > 0;
            EXPECT_TRUE(isShown != isOmitted)
                << name << "." << field.Name
                << (isShown ? " shown and omitted" : " neither shown nor omitted");
            // One control per field: two controls on one field always show the same choice.
            EXPECT_LE(shown.count(field.Name), 1u) << name << "." << field.Name << " is bound twice";
        }
    }
    EXPECT_GE(tables.size(), 17u);
}

}  // namespace
}  // namespace tv
