// The settings schema: the program's tables as the settings store and the pages see them, and the
// rules of the schema file itself.

#include <gtest/gtest.h>

#include "core/settings_schema.h"

namespace tv {
namespace {

TEST(SettingsSchema, HoldsEveryTableWithItsStorageInSaveOrder) {
    const TSettingsSchema& schema = SettingsSchema();
    struct Row {
        const char* table;
        TSettingsStorage storage;
        const char* place;
        size_t fields;
    };
    // The tables in the order saveSettings writes them, then the two it does not write.
    constexpr Row kRows[] = {
        {"InstallningarCDS", TSettingsStorage::Ini, "general", 19},
        {"CDSExportArticlesPrefs", TSettingsStorage::Ini, "exportarticles", 13},
        {"CDSExportBestPrefs", TSettingsStorage::Ini, "exportbest", 14},
        {"CDSExportContactsPrefs", TSettingsStorage::Ini, "exportcontacts", 10},
        {"CDSExportCustomersPrefs", TSettingsStorage::Ini, "exportcustomers", 13},
        {"CDSExportSuppliersPrefs", TSettingsStorage::Ini, "exportsuppliers", 9},
        {"CDSExportOfferPrefs", TSettingsStorage::Ini, "exportoffers", 15},
        {"CDSExportOrderPrefs", TSettingsStorage::Ini, "exportorders", 17},
        {"CDSExportInvoicesPrefs", TSettingsStorage::Ini, "exportinvoices", 15},
        {"CDSExportPricelistsPrefs", TSettingsStorage::Ini, "exportpricelists", 8},
        {"CDSExportSupplierInvoicePrefs", TSettingsStorage::Ini, "exportsupplierinvoices", 10},
        {"CDSExportAccountingPlanPrefs", TSettingsStorage::Ini, "exportaccountplan", 11},
        {"CDSImportAgreementPrefs", TSettingsStorage::Ini, "importagreements", 6},
        {"CDSImportArticlesPrefs", TSettingsStorage::Ini, "importarticles", 6},
        {"CDSImportBestPrefs", TSettingsStorage::Ini, "importbest", 7},
        {"CDSImportCustomersPrefs", TSettingsStorage::Ini, "importcustomers", 6},
        {"CDSImportSuppliersPrefs", TSettingsStorage::Ini, "importsuppliers", 5},
        {"CDSImportOffersPrefs", TSettingsStorage::Ini, "importoffers", 11},
        {"CDSImportOrderPrefs", TSettingsStorage::Ini, "importorders", 14},
        {"CDSImportInvoicesPrefs", TSettingsStorage::Ini, "importinvoices", 8},
        {"CDSImportSupplierInvoicePrefs", TSettingsStorage::Ini, "importsupplierinvoices", 5},
        {"CDSImportCustomerPaymentsPrefs", TSettingsStorage::Ini, "importcustomerpayments", 5},
        {"CDSImportProjectPrefs", TSettingsStorage::Ini, "importprojects", 3},
        {"CDSImportContacts", TSettingsStorage::Ini, "importcontacts", 5},
        {"CDSImportPurchasePrices", TSettingsStorage::Ini, "importpurchaseprices", 2},
        {"CDSImportManualDeliveryIn", TSettingsStorage::Ini, "importmanualdeliveryin", 6},
        {"CDSImportManualDeliveryOut", TSettingsStorage::Ini, "importmanualdeliveryout", 6},
        {"CDSImportInkFS", TSettingsStorage::Ini, "importdeliverynote", 12},
        {"CDSImportSalesPrices", TSettingsStorage::Ini, "importsalesprices", 5},
        {"CDSTidPrefs", TSettingsStorage::Ini, "visma_tid_settings", 6},
        {"CDSExportSQLPrefs", TSettingsStorage::Text, "sqlqueries.txt", 5},
        {"Rules", TSettingsStorage::Text, "rules.txt", 4},
        {"RuleItems", TSettingsStorage::Text, "ruleitems.txt", 6},
        {"CDSExportCustomerPricelistData", TSettingsStorage::Text, "exportcustomerpricelist.txt", 4},
        {"CDSLopnr", TSettingsStorage::Ini, "identities", 11},
        {"CDSTables", TSettingsStorage::Definitions, "ooi.table", 4},
    };
    ASSERT_EQ(schema.Tables.size(), std::size(kRows));
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const auto& table = schema.Tables[i];
        EXPECT_EQ(table.Name, kRows[i].table);
        EXPECT_EQ(table.Storage, kRows[i].storage) << table.Name;
        EXPECT_EQ(table.Place, kRows[i].place) << table.Name;
        EXPECT_EQ(table.Fields.size(), kRows[i].fields) << table.Name;
    }
    // Only the running numbers are left out of saveSettings.
    EXPECT_FALSE(schema.Table("CDSLopnr").Saved);
    EXPECT_TRUE(schema.Table("CDSTidPrefs").Saved);
}

TEST(SettingsSchema, TheLoadOrderIsNotTheSaveOrder) {
    const auto& order = SettingsSchema().LoadOrder;
    ASSERT_EQ(order.size(), 35u);  // every table but the field definitions
    EXPECT_EQ(order.front(), "InstallningarCDS");
    const std::vector<std::string> tail(order.end() - 9, order.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"CDSImportInkFS", "CDSLopnr", "Rules", "RuleItems",
                                        "CDSExportSQLPrefs", "CDSTidPrefs", "CDSExportCustomerPricelistData",
                                        "CDSImportPurchasePrices", "CDSImportSalesPrices"}));
}

TEST(SettingsSchema, DefaultsAreTheFieldsTextsWithTheirBlanks) {
    struct Row {
        const char* table;
        const char* field;
        TFieldType type;
        int size;
        const char* defaultText;  // nullptr: no default
    };
    constexpr Row kRows[] = {
        {"CDSImportAgreementPrefs", "SEARCH_AGREEMENT_CDX", TFieldType::ftInteger, 0, "-32"},
        {"CDSImportAgreementPrefs", "SEARCH_AGREEMENT_SQL", TFieldType::ftMemo, 0,
         " select doknr from avtal where ... "},
        {"CDSExportContactsPrefs", "SELECTION_SQL", TFieldType::ftMemo, 0,
         " select kontaktid as [key] from kontakt "},
        {"CDSExportContactsPrefs", "SELECTION_TYPE", TFieldType::ftString, 50, ""},
        {"CDSImportOrderPrefs", "SEARCH_ORDER_SQL", TFieldType::ftMemo, 0,
         "select doknr from oof where doktyp='O' and doknr = val ( :param1 ) "},
        {"CDSImportBestPrefs", "IGNORE_EMPTY_TEXTROWS", TFieldType::ftBoolean, 0, "True"},
        {"CDSImportOffersPrefs", "ON_IMPORT_SET_PRINTED", TFieldType::ftBoolean, 0, "False"},
        {"CDSExportBestPrefs", "BEST_FILE_MANAGEMENT_TMPL", TFieldType::ftString, 256,
         "Best_$exportdatum.xml"},
        {"InstallningarCDS", "CompanySQLAuthMode", TFieldType::ftInteger, 0, "0"},
        {"InstallningarCDS", "CompanyUsername", TFieldType::ftString, 30, nullptr},
        {"CDSTidPrefs", "TIDActivated", TFieldType::ftBoolean, 0, nullptr},
        {"CDSLopnr", "LOPNR_EXPORT_OFFER", TFieldType::ftLargeint, 0, nullptr},
        {"CDSExportCustomerPricelistData", "lopnr", TFieldType::ftLargeint, 0, nullptr},
    };
    for (const auto& row : kRows) {
        const TSettingsFieldDef* field = SettingsSchema().Table(row.table).FindField(row.field);
        ASSERT_NE(field, nullptr) << row.table << "." << row.field;
        EXPECT_EQ(field->Type, row.type) << row.field;
        EXPECT_EQ(field->Size, row.size) << row.field;
        if (row.defaultText)
            EXPECT_EQ(field->Default.value_or("<none>"), row.defaultText) << row.field;
        else
            EXPECT_FALSE(field->Default.has_value()) << row.field;
    }
    // The per-kind tables of the import and export: 28 tables, 247 fields.
    size_t tables = 0, fields = 0;
    for (const auto& table : SettingsSchema().Tables)
        if (table.Name.starts_with("CDSImport") || table.Name.starts_with("CDSExport"))
            if (table.Storage == TSettingsStorage::Ini) ++tables, fields += table.Fields.size();
    EXPECT_EQ(tables, 28u);
    EXPECT_EQ(fields, 247u);
}

TEST(SettingsSchema, RefusesTextsThatBreakItsRules) {
    const std::string head = "load T\n";
    struct Row {
        std::string text;
        const char* message;
    };
    const Row kRows[] = {
        {head + "table T ini general\n  A integer\n", "line 2: the section or file must be given in quotes"},
        {head + "table T odbc \"t\"\n  A integer\n", "line 2: unknown storage odbc"},
        {head + "table T ini \"t\" flat\n  A integer\n", "line 2: unknown table option flat"},
        {head + "  A integer\n", "line 2: a field before the first table"},
        {head + "table T ini \"t\"\n  A string\n", "line 3: a string field needs a size"},
        {head + "table T ini \"t\"\n  A real\n", "line 3: unknown field type real"},
        {head + "table T ini \"t\"\n  A integer = 1x\n", "line 3: the default of A is no integer"},
        {head + "table T ini \"t\"\n  A boolean = 1\n",
         "line 3: the default of the boolean A must be true or false"},
        {head + "table T ini \"t\"\n  A string 3 = \"abcd\"\n",
         "line 3: the default of A is longer than its size"},
        {head + "table T ini \"t\"\n  A memo = \"open\n", "line 3: the default of A has no closing quote"},
        {head + "table T ini \"t\"\n  A memo = text\n",
         "line 3: the default of the text field A must be quoted"},
        {head + "table T ini \"t\"\n  A integer\n  a integer\n", "line 4: the field a is given twice"},
        {"table T ini \"t\"\n  A integer\n", "the load list lacks the table T"},
        {head + "load U\ntable T ini \"t\"\n  A integer\n", "the load list names the unknown table U"},
        {head + "table T ini \"t\" unique=B\n  A integer\n",
         "the unique field of T is not one of its fields"},
    };
    for (const auto& row : kRows) {
        try {
            ParseSettingsSchema(row.text);
            ADD_FAILURE() << "accepted: " << row.text;
        } catch (const ESettingsSchemaError& e) {
            EXPECT_NE(std::string(e.what()).find(row.message), std::string::npos) << e.what();
        }
    }
}

TEST(SettingsSchema, ReadsQuotesInsideADefault) {
    const auto schema = ParseSettingsSchema(
        "load T\n"
        "table T text \"t.txt\" header\n"
        "  A memo = \"say \"\"hi\"\" \"   \n");
    EXPECT_EQ(schema.Tables[0].Fields[0].Default, "say \"hi\" ");
    EXPECT_TRUE(schema.Tables[0].Header);
}

}  // namespace
}  // namespace tv
