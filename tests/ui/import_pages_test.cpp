// The import settings pages, built from their schema blocks, offscreen with real clicks: the
// sort-order lists, the rule choice of the order page, the example queries of the article page, and
// what the radio groups and check boxes store.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "controls/db_pick_combo.h"
#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/db_check_box.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/db_radio_group.h"
#include "settings_fixture.h"

namespace tv {
namespace {

using test::PageWindow;
using test::SettingsFixture;

void StoreText(TMainDM& dm, const char* table, const char* field, const char* text) {
    TDataSet& t = dm.Table(table);
    t.Edit();
    t.FieldByName(field).SetAsString(text);
    t.Post();
}

TEST(ImportPages, ASortOrderListShowsTheItemOfTheStoredValueAndWritesNothing) {
    struct Row {
        const char* page;
        const char* table;
        const char* field;
        const char* stored;  // "" leaves the field null
        int shown;           // the item chosen
        const char* text;
    };
    const Row kRows[] = {
        {"Import - Order", "CDSImportOrderPrefs", "SEARCH_ORDER_CDX", "10", 0, "asOrderNr"},
        {"Import - Order", "CDSImportOrderPrefs", "SEARCH_ORDER_CDX", "-73", 6, "asOrderEjFakturerade"},
        {"Import - Order", "CDSImportOrderPrefs", "SEARCH_ORDER_CDX", "183", -1,
         ""},  // the unsigned form is no item
        {"Import - Order", "CDSImportOrderPrefs", "SEARCH_ORDER_CDX", "50", 3,
         "asOrderEjFakturaKundnr"},  // the first
        {"Import - Order", "CDSImportOrderPrefs", "SEARCH_ORDER_CDX", "999", -1, ""},
        {"Import - Kontakter", "CDSImportContacts", "SEARCH_CDX", "", -1, ""},
        {"Import - Kontakter", "CDSImportContacts", "SEARCH_CDX", "-44", 23, "asKontaktgruppNamn"},
        {"Import - Avtal", "CDSImportAgreementPrefs", "SEARCH_AGREEMENT_CDX", "224", 0, "asAvtalnr"},
        {"Import - Avtal", "CDSImportAgreementPrefs", "SEARCH_AGREEMENT_CDX", "-32", -1, ""},  // the default
        {"Import - Kunder", "CDSImportCustomersPrefs", "SEARCH_CUSTOMER_CDX", "7", 4,
         "asKundSorteringsbegrepp"},
        {"Import - Följesedel", "CDSImportInkFS", "SEARCH_CDX", "-102", 1,
         "asInkommandefoljesedelEjLevereradNr"},
    };
    for (const Row& row : kRows) {
        SettingsFixture f;
        StoreText(*f.dm, row.table, row.field, row.stored);
        PageWindow w(f, row.page);
        auto* combo = w.Control<TDBPickCombo>(row.field);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->ItemIndex(), row.shown) << row.page << " " << row.stored;
        EXPECT_EQ(combo->Text(), row.text) << row.page << " " << row.stored;
        EXPECT_EQ(f.dm->Table(row.table).State(), dsBrowse) << row.page << " " << row.stored;
        EXPECT_EQ(f.Text(row.table, row.field), row.stored);
    }
}

TEST(ImportPages, ChoosingASortOrderStoresItsValue) {
    SettingsFixture f;
    PageWindow w(f, "Import - Offert");
    auto* combo = w.Control<TDBPickCombo>("SEARCH_CDX");
    test::ClickListItem(combo, 3);
    EXPECT_EQ(combo->Text(), "asOrderEjFakturaKundnr");
    TDataSet& table = f.dm->Table("CDSImportOffersPrefs");
    EXPECT_EQ(table.State(), dsEdit);
    table.UpdateRecord();
    EXPECT_EQ(f.Text("CDSImportOffersPrefs", "SEARCH_CDX"), "50");
}

TEST(ImportPages, AStoredValueOutsideTheListStaysUntilTheOperatorChooses) {
    SettingsFixture f;
    StoreText(*f.dm, "CDSImportContacts", "SEARCH_CDX", "999");
    PageWindow w(f, "Import - Kontakter");
    auto* combo = w.Control<TDBPickCombo>("SEARCH_CDX");
    EXPECT_EQ(combo->ItemIndex(), -1);
    f.dm->Table("CDSImportContacts").Edit();
    f.dm->Table("CDSImportContacts").UpdateRecord();  // the controls write what they hold
    EXPECT_EQ(f.Text("CDSImportContacts", "SEARCH_CDX"), "999");
    test::ClickListItem(combo, 0);
    f.dm->Table("CDSImportContacts").UpdateRecord();
    EXPECT_EQ(f.Text("CDSImportContacts", "SEARCH_CDX"), "-67");
}

std::vector<std::string> RuleChoices(PageWindow& w) {
    auto* lookup = w.Control<TDBLookupComboBox>("ON_IMPORT_RUN_RULE");
    std::vector<std::string> names;
    TDataSet* rules = lookup->ListSource()->DataSet();
    for (rules->First(); !rules->Eof(); rules->Next())
        names.push_back(rules->FieldByName("RuleName").AsString());
    return names;
}

TEST(ImportPages, TheRuleChoiceIsACopyOfTheRulesWithAnEmptyFirstEntry) {
    SettingsFixture f;
    {
        PageWindow w(f, "Import - Order");
        EXPECT_EQ(RuleChoices(w), (std::vector<std::string>{""})) << "no rules: only the empty entry";
    }
    TDataSet& rules = f.dm->RuleTables().Rules();
    for (const char* name : {"Skicka", "Flytta"}) {
        rules.Append();
        rules.FieldByName("RuleName").SetAsString(name);
        rules.Post();
    }
    PageWindow w(f, "Import - Order");
    EXPECT_EQ(RuleChoices(w), (std::vector<std::string>{"", "Skicka", "Flytta"}));
    rules.Append();
    rules.FieldByName("RuleName").SetAsString("Senare");
    rules.Post();
    EXPECT_EQ(RuleChoices(w).size(), 3u) << "a rule added meanwhile shows at the next opening";

    // Choosing a rule stores its name; the empty entry stores no rule.
    auto* lookup = w.Control<TDBLookupComboBox>("ON_IMPORT_RUN_RULE");
    lookup->LookupList().ChooseKeyValue(Variant::FromUtf8("Flytta"));  // as a choice from its list
    EXPECT_EQ(f.Text("CDSImportOrderPrefs", "ON_IMPORT_RUN_RULE"), "Flytta");
    EXPECT_EQ(lookup->Text(), "Flytta");
}

TEST(ImportPages, AddingAnExampleQueryEditsWithoutPosting) {
    SettingsFixture f;
    PageWindow w(f, "Import - Artiklar");
    auto* examples = dynamic_cast<TComboBox*>(w.page->FindControl("Examples"));
    ASSERT_NE(examples, nullptr);
    ASSERT_EQ(examples->Items()->Count(), 2);
    test::ClickListItem(examples, 1);
    auto* button = w.Control<TButton>("SEARCH_ARTICLE_SQL", 1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "Lägg till");
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    TDataSet& table = f.dm->Table("CDSImportArticlesPrefs");
    EXPECT_EQ(table.State(), dsEdit) << "the change waits like any edit";
    const std::string example = "select artnr from inkpris where levartnr = :param1 and levnr = :param2";
    EXPECT_EQ(f.Text("CDSImportArticlesPrefs", "SEARCH_ARTICLE_SQL"), example);
    EXPECT_EQ(w.Control<TDBMemo>("SEARCH_ARTICLE_SQL")->Text(), example);
    table.Cancel();
    EXPECT_EQ(f.Text("CDSImportArticlesPrefs", "SEARCH_ARTICLE_SQL"), "");
}

QRadioButton* RadioButton(TDBRadioGroup* group, int index) {
    return group->Widget()->findChildren<QRadioButton*>().at(index);
}

// Clicks a check box or radio button on its mark, at its left end.
void ClickMark(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

TEST(ImportPages, RadioGroupsAndCheckBoxesStoreTheirValues) {
    SettingsFixture f;
    {
        PageWindow w(f, "Import - Order");
        ClickMark(RadioButton(w.Control<TDBRadioGroup>("ORDER_ROWS_MANAGEMENT"), 4));
        auto* picklist = w.Control<TDBCheckBox>("ON_IMPORT_SET_PICKLIST");
        ClickMark(picklist->Widget());
        auto* textRows = w.Control<TDBCheckBox>("IGNORE_EMPTY_TEXTROWS");
        ClickMark(textRows->Widget());
        f.dm->Table("CDSImportOrderPrefs").UpdateRecord();
        EXPECT_EQ(f.Text("CDSImportOrderPrefs", "ORDER_ROWS_MANAGEMENT"), "4");
        EXPECT_EQ(f.Text("CDSImportOrderPrefs", "ON_IMPORT_SET_PICKLIST"), "1");
        EXPECT_EQ(f.Text("CDSImportOrderPrefs", "IGNORE_EMPTY_TEXTROWS"), "False");
    }
    {
        // The customer payments store their own values; the price-list groups the price-list fields.
        PageWindow w(f, "Import - Kundinbetalningar");
        ClickMark(RadioButton(w.Control<TDBRadioGroup>("ON_INVOICE_DOES_NOT_EXIST"), 1));
        f.dm->Table("CDSImportCustomerPaymentsPrefs").UpdateRecord();
        EXPECT_EQ(f.Text("CDSImportCustomerPaymentsPrefs", "ON_INVOICE_DOES_NOT_EXIST"), "1");
    }
    PageWindow w(f, "Import - Försäljningspriser");
    auto* priceList = w.Control<TDBRadioGroup>("ON_SPLIST_EXIST");
    EXPECT_EQ(priceList->Caption(), "Om prislista finns");
    ClickMark(RadioButton(priceList, 2));
    f.dm->Table("CDSImportSalesPrices").UpdateRecord();
    EXPECT_EQ(f.Text("CDSImportSalesPrices", "ON_SPLIST_EXIST"), "2");
    EXPECT_EQ(f.Text("CDSImportSalesPrices", "ON_SP_EXIST"), "0") << "the product price keeps its choice";
}

TEST(ImportPages, TheDeliveryNotePageHidesTheErrorChoiceThatTheManualPagesShow) {
    SettingsFixture f;
    {
        PageWindow w(f, "Import - Manuella inleveranser");
        EXPECT_TRUE(w.Control<TDBPickCombo>("ON_ERROR_CONTINUE")->Widget()->isVisible());
    }
    PageWindow w(f, "Import - Följesedel");
    auto* errors = w.Control<TDBPickCombo>("ON_ERROR_CONTINUE");
    EXPECT_FALSE(errors->Widget()->isVisible());
    EXPECT_EQ(errors->Field(), &f.dm->Table("CDSImportInkFS").FieldByName("ON_ERROR_CONTINUE"));
    EXPECT_FALSE(w.page->FindGroup("ErrorGroup")->Visible());
}

}  // namespace
}  // namespace tv
