// The policies shared by the imports, against the stand-in kit and the demo company: writing an
// item's elements through the field mapping, and searching a key by index or by SQL.

#include <gtest/gtest.h>

#include "import/field_mapping.h"
#include "import/mapped_field_writer.h"
#include "import/record_finder.h"
#include "platform/data/field.h"
#include "platform/db/ado_query.h"
#include "platform/xml/xml_document.h"
#include "tests/import/import_world.h"

namespace tv {
namespace {

class ImportPoliciesTest : public ::testing::Test {
protected:
    ImportPoliciesTest() : world_({"kit/demo_company.sql"}) { world_.Open(); }

    // An item of the customers container holding the elements given.
    TXMLNode& Item(const std::string& elements) {
        document_.LoadFromXML("<quorvel><customers><atKunder key=\"c1\">" + elements +
                              "</atKunder></customers></quorvel>");
        return *document_.DocumentElement()->FindNode("customers")->FindNode("atKunder");
    }

    test::TImportWorld world_;
    TXMLDocument document_;
};

// The value a new customer gets from one element, or the error the write raises.
struct ConversionCase {
    const char* name;  // which rule the row checks
    char decimal;      // the process's decimal separator
    const char* elements;
    int field;
    const char* expected;  // the field's text afterwards, or "error"
};
constexpr ConversionCase kConversions[] = {
    {"a point is the decimal separator with forcedot", '.',
     "<CUSTOMER_CREDIT_LIMIT>12.5</CUSTOMER_CREDIT_LIMIT>", 20, "12.5"},
    {"a point is no decimal separator in a Swedish locale", ',',
     "<CUSTOMER_CREDIT_LIMIT>12.5</CUSTOMER_CREDIT_LIMIT>", 20, "error"},
    {"a comma is one in a Swedish locale", ',', "<CUSTOMER_CREDIT_LIMIT>12,5</CUSTOMER_CREDIT_LIMIT>", 20,
     "12,5"},
    {"an empty number clears the field", '.', "<CUSTOMER_CREDIT_LIMIT/>", 20, ""},
    {"a date in the short date format", '.', "<CUSTOMER_SINCE>2024-03-01</CUSTOMER_SINCE>", 30, "2024-03-01"},
    {"a date in another form does not convert", '.', "<CUSTOMER_SINCE>1 mars 2024</CUSTOMER_SINCE>", 30,
     "error"},
    {"a Boolean is a leading part of True", '.', "<CUSTOMER_REVERSED_VAT>tR</CUSTOMER_REVERSED_VAT>", 78,
     "True"},
    {"or of False", '.', "<CUSTOMER_REVERSED_VAT>F</CUSTOMER_REVERSED_VAT>", 78, "False"},
    {"another text is no Boolean", '.', "<CUSTOMER_REVERSED_VAT>ja</CUSTOMER_REVERSED_VAT>", 78, "error"},
    {"a text is cut to the field's length", '.',
     "<CUSTOMER_CITY>Ölands norra udde och ännu längre bort</CUSTOMER_CITY>", 7,
     "Ölands norra udde och ännu län"},
};

TEST_F(ImportPoliciesTest, ElementTextsGoIntoFieldsByTheFieldsTypes) {
    TAdkDataSet& customers = world_.DataSet("AdkKunder");
    const TFieldMapping mapping = TFieldMapping::For(world_.FieldDefinitions(), "atKunder");
    for (const ConversionCase& c : kConversions) {
        world_.Formats().DecimalSeparator = c.decimal;
        TMappedFieldWriter writer(mapping, customers);
        customers.Append();
        std::string outcome;
        try {
            writer.Write(Item(c.elements));
            outcome = customers.FieldByAdkIndex(c.field).AsString();
        } catch (const std::exception&) {
            outcome = "error";
        }
        customers.Cancel();
        EXPECT_EQ(outcome, c.expected) << c.name;
    }
}

TEST_F(ImportPoliciesTest, RowsThatNameNoWritableFieldArePassedOverAndAbsentElementsLeaveTheirFields) {
    TAdkDataSet& customers = world_.DataSet("AdkKunder");
    ASSERT_TRUE(customers.AdkNavFind("1002", true, true));
    customers.Edit();
    const TFieldMapping mapping = TFieldMapping::For(world_.FieldDefinitions(), "atKunder");
    TMappedFieldWriter writer(mapping, customers);
    // The time stamp is not writable, -1 and 400 name no field: none of them is an error.
    writer.Write(
        Item("<CUSTOMER_NAME>Bengt Berg AB</CUSTOMER_NAME><CUSTOMER_TIMESTAMP>x</CUSTOMER_TIMESTAMP>"
             "<CUSTOMER_NOTHING>x</CUSTOMER_NOTHING><CUSTOMER_OUTSIDE>x</CUSTOMER_OUTSIDE>"
             "<CUSTOMER_NAME>second of the name</CUSTOMER_NAME><UNMAPPED>x</UNMAPPED>"));
    EXPECT_EQ(customers.FieldByAdkIndex(1).AsString(), "Bengt Berg AB");  // the first element of a name
    EXPECT_EQ(customers.FieldByAdkIndex(7).AsString(), "Umeå");           // no element: as stored
    customers.Post();
    customers.EmptyDataSet();
    ASSERT_TRUE(customers.AdkNavFind("1002", true, true));
    EXPECT_EQ(customers.FieldByAdkIndex(1).AsString(), "Bengt Berg AB");
    EXPECT_EQ(customers.FieldByAdkIndex(7).AsString(), "Umeå");
}

TEST_F(ImportPoliciesTest, TheMappingOfATableIsItsRowsInFileOrder) {
    const TFieldMapping mapping = TFieldMapping::For(world_.FieldDefinitions(), "atLeverantorer");
    std::vector<std::string> rows;
    for (const TFieldMappingRow& row : mapping.Rows())
        rows.push_back(std::to_string(row.Field) + " " + row.Element);
    EXPECT_EQ(rows, (std::vector<std::string>{"0 SUPPLIER_NUMBER", "1 SUPPLIER_NAME", "7 SUPPLIER_CITY",
                                              "25 SUPPLIER_ORGANISATION_NUMBER", "54 SUPPLIER_TIMESTAMP"}));
    EXPECT_TRUE(
        TFieldMapping::For(world_.FieldDefinitions(), "atkunder").Rows().empty());  // names compare exactly
}

constexpr TFinderDef kFinder{.ModeField = "SEARCH_CUSTOMER_MODE",
                             .CdxField = "SEARCH_CUSTOMER_CDX",
                             .SqlField = "SEARCH_CUSTOMER_SQL",
                             .NoModeText = "no mode",
                             .EmptySqlText = "Inget SQL uttryck satt",
                             .NumberColumn = "kundnr",
                             .DefaultOrder = asKundnr};

class FinderTest : public ImportPoliciesTest {
protected:
    // The number found for the key, "-" when none is.
    std::string Find(const std::string& key, const TFinderDef& def = kFinder) {
        TRecordFinder finder(def, world_.Settings("CDSImportCustomersPrefs"), world_.DataSet("AdkKunder"),
                             world_.Import().qArtikelUrval(), &world_.AdminODBC(), world_.Events());
        std::string number;
        const bool found = finder.Find(key, number);
        EXPECT_EQ(world_.DataSet("AdkKunder").AdkSortOrder(), asKundnr) << "sort order put back";
        return found ? number : "-";
    }
    void Set(const char* field, const std::string& value) {
        world_.Set("CDSImportCustomersPrefs", field, value);
    }
};

struct IndexCase {
    const char* cdx;  // SEARCH_CUSTOMER_CDX
    const char* key;
    const char* number;
};
constexpr IndexCase kIndexCases[] = {
    {"1", "1002", "1002"},           // asKundnr
    {"1", "1009", "-"},              // not found
    {"2", "cecilia ek", "1003"},     // asKundNamn, letter case ignored
    {"257", "1001", "1001"},         // only the low byte of the ordinal counts: 257 is asKundnr
    {"-254", "bengt berg", "1002"},  // and -254 is asKundNamn
    {"1", "", "-"},                  // an empty key is never searched
};

TEST_F(FinderTest, ByIndexTheNumberIsFieldZeroOfTheRecordFound) {
    for (const IndexCase& c : kIndexCases) {
        Set("SEARCH_CUSTOMER_CDX", c.cdx);
        EXPECT_EQ(Find(c.key), c.number) << c.cdx << " " << c.key;
    }
    EXPECT_TRUE(world_.Events().Lines.empty());
}

TEST_F(FinderTest, AnEmptySortOrderIsAConversionErrorUnlessTheKindNamesItsOwnText) {
    Set("SEARCH_CUSTOMER_CDX", "");
    EXPECT_EQ(test::MessageOf([&] { Find("1001"); }), "'' is not a valid integer value");
    TFinderDef supplierLike = kFinder;
    supplierLike.EmptyCdxText = "Inställningen för urval av leverantörer är inte satt";
    EXPECT_EQ(test::MessageOf([&] { Find("1001", supplierLike); }),
              "Inställningen för urval av leverantörer är inte satt");
}

TEST_F(FinderTest, AModeThatCannotBeReadRaisesTheKindsText) {
    TFinderDef noMode = kFinder;
    noMode.ModeField = "SEARCH_MODE";  // not a field of the customers' table
    EXPECT_EQ(test::MessageOf([&] { Find("1001", noMode); }), "no mode");
}

struct SqlCase {
    const char* statement;  // SEARCH_CUSTOMER_SQL
    const char* key;
    const char* number;
    const char* line;  // reported, or ""
};
constexpr SqlCase kSqlCases[] = {
    {"select kundnr from kund where namn = :namn", "Bengt Berg", "1002", ""},
    {"  select ' ' || kundnr || ' ' as kundnr from kund where ort = :ort order by kundnr  ", "Göteborg",
     "1001", ""},                                                      // trimmed number of the first row
    {"select kundnr from kund where namn = :namn", "Ingen", "-", ""},  // no row
    {"select kundnr from kund where kundnr = :a and ort = :b", "1003", "-", ""},  // only the first is bound
    {"select kundnr from kund", "x", "1001", ""},                                 // no parameter at all
    {"select kundnr from nowhere where x = :x", "1001", "-", "[2] no such table: nowhere"},
    {"select namn from kund where kundnr = :k", "1001", "-", "[2] Field 'kundnr' not found"},
    {"select kundnr from nowhere where x = :x", "", "-", ""},  // an empty key is never searched
};

TEST_F(FinderTest, BySqlTheNumberIsTheKindsColumnOfTheFirstRow) {
    Set("SEARCH_CUSTOMER_MODE", "1");
    for (const SqlCase& c : kSqlCases) {
        Set("SEARCH_CUSTOMER_SQL", c.statement);
        EXPECT_EQ(Find(c.key), c.number) << c.statement;
        const std::vector<std::string> lines = world_.Events().Take();
        EXPECT_EQ(lines, c.line[0] ? std::vector<std::string>{c.line} : std::vector<std::string>{})
            << c.statement;
        EXPECT_FALSE(world_.Import().qArtikelUrval().Active());
    }
}

TEST_F(FinderTest, BySqlTheKeyCanGoToEveryParameter) {
    Set("SEARCH_CUSTOMER_MODE", "2");  // any mode but 0 searches by SQL
    Set("SEARCH_CUSTOMER_SQL", "select kundnr from kund where kundnr = :a and namn <> :b");
    TFinderDef everyParameter = kFinder;
    everyParameter.BindEveryParameter = true;
    EXPECT_EQ(Find("1003", everyParameter), "1003");
    EXPECT_EQ(Find("1003"), "-");  // :b unbound is NULL, so "namn <> NULL" holds for no row
}

TEST_F(FinderTest, BySqlACompoundKeyBindsItsPartsInOrder) {
    Set("SEARCH_CUSTOMER_MODE", "1");
    TFinderDef split = kFinder;
    split.SplitKeyAt = ";";
    struct PartsCase {
        const char* statement;
        const char* key;
        const char* number;
    };
    constexpr PartsCase kParts[] = {
        {"select kundnr from kund where namn = :a and ort = :b", "Bengt Berg;Umeå", "1002"},
        {"select kundnr from kund where namn = :a and ort = :b", "Bengt Berg;Umeå;x",
         "1002"},                                                                     // a part too many
        {"select kundnr from kund where namn = :a and ort = :b", "Bengt Berg", "-"},  // :b unbound is NULL
        {"select kundnr from kund where namn = :a and ort = :b", "Bengt Berg;Luleå", "-"},
        {"select kundnr from kund where namn = :a", "Bengt Berg;Umeå", "1002"},  // only the first part
        {"select kundnr from kund where namn = :a and ifnull(epost, '') = :b", "Bengt Berg;",
         "1002"},  // empty part
    };
    for (const PartsCase& c : kParts) {
        Set("SEARCH_CUSTOMER_SQL", c.statement);
        EXPECT_EQ(Find(c.key, split), c.number) << c.statement << " " << c.key;
    }
    EXPECT_TRUE(world_.Events().Take().empty());
}

TEST_F(FinderTest, AnEmptyStatementRaises) {
    Set("SEARCH_CUSTOMER_MODE", "1");
    Set("SEARCH_CUSTOMER_SQL", "   ");
    EXPECT_EQ(test::MessageOf([&] { Find("1001"); }), "Inget SQL uttryck satt");
}

}  // namespace
}  // namespace tv
