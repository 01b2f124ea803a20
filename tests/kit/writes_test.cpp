// Add, Update, Delete and DeleteRow on the demo company: identity by key, numbering, the fields an
// update writes, rows merged and deleted at once, time stamps. What the kit stored is read back with
// SQL, as the system's own queries see it.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "kit_library.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

class Writes : public ::testing::Test {
protected:
    OpenCompany company{{DemoFixture()}};
    std::string Sql(const std::string& sql) { return QueryText(company.Database(), sql); }
};

double Number(AdkHandle h, int field) {
    double d = -1;
    K().GetDouble(h, field, &d);
    return d;
}

TEST_F(Writes, AddNumbersANewOrderAndLeavesTheStoredRecordInTheStructure) {
    AdkHandle order = K().CreateData(2);
    K().SetStr(order, 14, "1001");
    AdkHandle rows = K().CreateDataRow(3, 2);
    K().SetStr(K().GetDataRow(rows, 0), 0, "A100");
    K().SetDouble(K().GetDataRow(rows, 0), 3, 4);
    K().SetStr(K().GetDataRow(rows, 1), 14, "Text only");
    K().SetStr(K().GetDataRow(rows, 1), 19, "T");
    ASSERT_EQ(K().SetData(order, 103, rows).lRc, 0);
    K().DeleteStruct(rows);
    ASSERT_EQ(K().Add(order).lRc, 0);
    EXPECT_EQ(Number(order, 0), 3);  // orders 1 and 2 exist
    EXPECT_EQ(Number(order, 104), 2);
    EXPECT_EQ(Number(order, 52), 25);  // an unset VAT rate takes the default
    int32_t stamp = 0;
    EXPECT_EQ(K().GetDate(order, 137, &stamp).lRc, 0);
    EXPECT_GT(stamp, 0);
    AdkHandle row;
    ASSERT_EQ(K().GetData(order, 103, 1, &row).lRc, 0);
    EXPECT_EQ(Number(row, 31), 2);
    EXPECT_EQ(Sql("SELECT group_concat(radnr || ':' || ifnull(artnr, '') || ':' || ifnull(radtyp, ''), ' ') "
                  "FROM orderrad WHERE doknr = 3"),
              "1:A100: 2::T");
    EXPECT_EQ(Sql("SELECT doktyp FROM oof WHERE doknr = 3"), "O");
    // The next one takes the next number; a given number is kept.
    K().ResetStruct(order);
    K().SetStr(order, 14, "1002");
    ASSERT_EQ(K().Add(order).lRc, 0);
    EXPECT_EQ(Number(order, 0), 4);
    K().ResetStruct(order);
    K().SetDouble(order, 0, 10);
    ASSERT_EQ(K().Add(order).lRc, 0);
    K().ResetStruct(order);
    ASSERT_EQ(K().Add(order).lRc, 0);
    EXPECT_EQ(Number(order, 0), 11);
    K().DeleteStruct(order);

    AdkHandle customer = K().CreateData(0);
    K().SetStr(customer, 1, "Ny kund");
    ASSERT_EQ(K().Add(customer).lRc, 0);
    EXPECT_EQ(GetStr(customer, 0), "1004");
    K().DeleteStruct(customer);
}

// Every field of a structure as its getters read it ("field:code:value" per field), with the rows of
// a head field by field.
std::string Fields(AdkHandle h) {
    std::string out;
    for (int f = 0;; ++f) {
        int32_t type = 0;
        if (K().GetType(h, f, &type).lRc) return out;  // past the highest field
        AdkErrorRec e{};
        std::string value;
        if (type == ADK_TYPE_CHAR) {
            value = GetStr(h, f, 200, &e);
        } else if (type == ADK_TYPE_BOOL) {
            int32_t b = -1;
            e = K().GetBool(h, f, &b);
            value = std::to_string(b);
        } else if (type == ADK_TYPE_DOUBLE) {
            double d = -1;
            e = K().GetDouble(h, f, &d);
            char text[64];
            std::snprintf(text, sizeof text, "%.17g", d);
            value = text;
        } else if (type == ADK_TYPE_DATE) {
            int32_t d = -1;
            e = K().GetDate(h, f, &d);
            value = std::to_string(d);
        } else if (type == ADK_TYPE_DATA) {
            AdkHandle row = nullptr;
            for (int i = 0; K().GetData(h, f, i, &row).lRc == 0; ++i) value += "[" + Fields(row) + "]";
        }
        out += std::to_string(f) + ":" + std::to_string(e.lRc) + ":" + value + " ";
    }
}

// After an Add the structure holds what a read of the stored record gives: the same values in every
// field, defaults and the time stamp included, and the rows.
TEST_F(Writes, AddLeavesWhatAReadOfTheStoredRecordGives) {
    struct Case {
        const char* what;
        int table;
        void (*fill)(AdkHandle);
    };
    const Case cases[] = {
        {"customer with a blank-ended key and Swedish text", 0,
         [](AdkHandle h) {
             K().SetStr(h, 0, "k-1 ");
             K().SetStr(h, 1,
                        "\xC5sa \xD6"
                        "berg \x81");
             K().SetBool(h, 93, 1);
         }},
        {"article with numbers of every form", 1,
         [](AdkHandle h) {
             K().SetStr(h, 0, "A900");
             K().SetDouble(h, 17, -0.0);
             K().SetDouble(h, 18, 0.1);
             K().SetBool(h, 71, 0);
         }},
        {"numbered order with dates and rows", 2,
         [](AdkHandle h) {
             K().SetStr(h, 14, "1001");
             K().SetDate(h, 8, 20240229);
             K().SetDouble(h, 56, 1e15);
             AdkHandle rows = K().CreateDataRow(3, 2);
             K().SetStr(K().GetDataRow(rows, 0), 0, "A100");
             K().SetDouble(K().GetDataRow(rows, 0), 8, 12.5);
             K().SetStr(K().GetDataRow(rows, 1), 14, "Text only");
             K().SetData(h, 103, rows);
             K().DeleteStruct(rows);
         }},
    };
    for (const auto& c : cases) {
        AdkHandle added = K().CreateData(c.table);
        c.fill(added);
        ASSERT_EQ(K().Add(added).lRc, 0) << c.what;
        AdkHandle read = K().CreateData(c.table);
        int32_t keyType = 0;
        K().GetType(added, 0, &keyType);
        if (keyType == ADK_TYPE_CHAR)
            K().SetStr(read, 0, GetStr(added, 0).c_str());
        else
            K().SetDouble(read, 0, Number(added, 0));
        ASSERT_EQ(K().Find(read).lRc, 0) << c.what;
        EXPECT_EQ(Fields(added), Fields(read)) << c.what;
        K().DeleteStruct(read);
        K().DeleteStruct(added);
    }
}

// The cursor of a record written stands where a read would leave it in the structure's sort order.
TEST_F(Writes, AWalkGoesOnFromTheRecordWritten) {
    AdkHandle h = K().CreateData(0);
    K().SetStr(h, 0, "1001a");
    ASSERT_EQ(K().Add(h).lRc, 0);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1002");
    K().ResetStruct(h);
    ASSERT_EQ(K().SetSortOrder(h, 1).lRc, 0);  // by name: "Bengt Berg", "Cecilia Ek" ... "Åsa Öberg AB"
    K().SetStr(h, 1, "Bertil");
    ASSERT_EQ(K().Add(h).lRc, 0);
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 1), "Bengt Berg");
    K().ResetStruct(h);
    K().SetStr(h, 1, "Bertil");
    ASSERT_EQ(K().Add(h).lRc, 0);  // the same name: the key decides, after the first Bertil
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 1), "Bertil");
    ASSERT_EQ(K().Next(h).lRc, 0);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 1), "Cecilia Ek");
    K().ResetStruct(h);
    // Names the SQL side stored with a letter outside Windows-1252 order by what is stored: an update
    // of the first goes on to the second.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(company.Database().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "INSERT INTO kund (kundnr, namn) VALUES ('2001', '\xC5\x81"
                           "a'), ('2002', '\xC5\x81"
                           "b')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ASSERT_EQ(K().SetSortOrder(h, 1).lRc, 0);
    K().SetStr(h, 0, "2001");
    K().SetStr(h, 9, "090-1");
    ASSERT_EQ(K().Update(h).lRc, 0);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "2002");
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "2001");
    K().DeleteStruct(h);
    AdkHandle order = K().CreateData(2);
    ASSERT_EQ(K().Add(order).lRc, 0);
    EXPECT_EQ(K().Next(order).lRc, ADK_ERR_END_OF_TABLE);
    ASSERT_EQ(K().Previous(order).lRc, 0);
    EXPECT_EQ(Number(order, 0), 2);
    K().DeleteStruct(order);
}

struct RefusedAdd {
    const char* what;
    int table, field;
    const char* key;
    int32_t code;
};

TEST_F(Writes, AddRefusesAKeyThatExistsOrIsMissing) {
    const RefusedAdd cases[] = {
        {"same article number", 1, 0, "A100", ADK_ERR_DUPLICATE_KEY},
        {"other letter case and blanks", 1, 0, "a100 ", ADK_ERR_DUPLICATE_KEY},
        {"price list without a code", 26, 1, "Ny lista", ADK_ERR_KEY_MISSING},
        {"settings hold one record", 27, 0, "Andra bolaget", ADK_ERR_DUPLICATE_KEY},
    };
    for (const auto& c : cases) {
        AdkHandle h = K().CreateData(c.table);
        K().SetStr(h, c.field, c.key);
        EXPECT_EQ(K().Add(h).lRc, c.code) << c.what;
        K().DeleteStruct(h);
    }
    AdkHandle row = K().CreateData(3);
    EXPECT_EQ(K().Add(row).lRc, ADK_ERR_NOT_SUPPORTED);
    K().DeleteStruct(row);
}

TEST_F(Writes, AnUpdateOfAFreshStructureWritesOnlyTheFieldsSet) {
    std::string before = Sql("SELECT timestamp FROM fakturahuvud WHERE doknr = 1");
    AdkHandle invoice = K().CreateData(6);
    K().SetDouble(invoice, 0, 1);
    K().SetBool(invoice, 6, 1);
    ASSERT_EQ(K().Update(invoice).lRc, 0);
    EXPECT_EQ(
        Sql("SELECT kundnr || '|' || datum || '|' || datum2 || '|' || utskriven || '|' || moms || '|' || "
            "antalrader FROM fakturahuvud WHERE doknr = 1"),
        "1002|2024-01-20|2024-02-19|1|2.75|1");
    EXPECT_GT(std::stoll(Sql("SELECT timestamp FROM fakturahuvud WHERE doknr = 1")), std::stoll(before));
    EXPECT_EQ(Sql("SELECT count(*) FROM fakturarad WHERE doknr = 1 AND artnr = 'A100'"), "1");
    // The structure holds the whole record afterwards.
    EXPECT_EQ(GetStr(invoice, 14), "1002");
    // An empty date clears the stored one and nothing else.
    AdkHandle agreement = K().CreateData(2);
    K().SetDouble(agreement, 0, 1);
    K().SetDate(agreement, 8, 0);
    ASSERT_EQ(K().Update(agreement).lRc, 0);
    EXPECT_EQ(Sql("SELECT ifnull(datum, 'none') || '|' || kundnr FROM orderhuvud WHERE doknr = 1"),
              "none|1001");
    K().DeleteStruct(agreement);
    K().DeleteStruct(invoice);
}

TEST_F(Writes, UpdateAndDeleteFindTheRecordByItsKeyOnly) {
    AdkHandle h = K().CreateData(0);
    EXPECT_EQ(K().Update(h).lRc, ADK_ERR_KEY_MISSING);
    K().SetStr(h, 0, "9999");
    EXPECT_EQ(K().Update(h).lRc, ADK_ERR_RECORD_MISSING);
    EXPECT_EQ(K().Delete(h).lRc, ADK_ERR_RECORD_MISSING);
    // The cursor does not decide: walk to 1003, then set another key and update.
    ASSERT_EQ(K().Last(h).lRc, 0);
    K().SetStr(h, 0, "1001 ");
    K().SetStr(h, 9, "031-123456");
    ASSERT_EQ(K().Update(h).lRc, 0);
    EXPECT_EQ(Sql("SELECT kundnr FROM kund WHERE telefon = '031-123456'"), "1001");
    K().DeleteStruct(h);
}

TEST_F(Writes, AnUpdateMergesRowsIntoTheStoredRows) {
    AdkHandle order = K().CreateData(2);
    K().SetDouble(order, 0, 1);
    AdkHandle rows = K().CreateDataRow(3, 4);
    K().SetDouble(K().GetDataRow(rows, 0), 2, 7);    // row 1: delivered quantity only
    K().SetStr(K().GetDataRow(rows, 3), 0, "A300");  // a fourth row
    K().SetDouble(K().GetDataRow(rows, 3), 3, 1);
    ASSERT_EQ(K().SetData(order, 103, rows).lRc, 0);
    K().DeleteStruct(rows);
    ASSERT_EQ(K().Update(order).lRc, 0);
    EXPECT_EQ(
        Sql("SELECT group_concat(radnr || ':' || ifnull(artnr, '-') || ':' || ifnull(levantal, '-') || ':' "
            "|| "
            "ifnull(bestantal, '-'), ' ') FROM (SELECT * FROM orderrad WHERE doknr = 1 ORDER BY radnr)"),
        "1:A100:7:5 2:A200:0:2 3:-:-:- 4:A300:-:1");
    EXPECT_EQ(Sql("SELECT antalrader FROM orderhuvud WHERE doknr = 1"), "4");
    EXPECT_EQ(Number(order, 104), 4);
    EXPECT_EQ(Sql("SELECT ertordernr FROM orderhuvud WHERE doknr = 1"), "PO-77");
    K().DeleteStruct(order);
}

TEST_F(Writes, ARowDeleteIsStoredAtOnce) {
    AdkHandle order = K().CreateData(2);
    K().SetDouble(order, 0, 1);
    ASSERT_EQ(K().Find(order).lRc, 0);
    ASSERT_EQ(K().DeleteRow(order, 0).lRc, 0);
    // No further call: the company already holds two rows, renumbered, and the head's count.
    EXPECT_EQ(Sql("SELECT group_concat(radnr || ':' || ifnull(artnr, '-'), ' ') FROM "
                  "(SELECT * FROM orderrad WHERE doknr = 1 ORDER BY radnr)"),
              "1:A200 2:-");
    EXPECT_EQ(Sql("SELECT antalrader FROM orderhuvud WHERE doknr = 1"), "2");
    EXPECT_EQ(Number(order, 104), 2);
    AdkHandle row;
    ASSERT_EQ(K().GetData(order, 103, 0, &row).lRc, 0);
    EXPECT_EQ(GetStr(row, 0), "A200");
    EXPECT_EQ(Number(row, 31), 1);
    EXPECT_EQ(K().DeleteRow(order, 2).lRc, ADK_ERR_ROW_INDEX);
    EXPECT_EQ(K().DeleteRow(order, -1).lRc, ADK_ERR_ROW_INDEX);
    // A fresh structure with only the key deletes by key too.
    AdkHandle fresh = K().CreateData(2);
    K().SetDouble(fresh, 0, 1);
    ASSERT_EQ(K().DeleteRow(fresh, 1).lRc, 0);
    ASSERT_EQ(K().DeleteRow(fresh, 0).lRc, 0);
    EXPECT_EQ(
        Sql("SELECT count(*) || '|' || (SELECT antalrader FROM orderhuvud WHERE doknr = 1) FROM orderrad "
            "WHERE doknr = 1"),
        "0|0");
    EXPECT_EQ(K().DeleteRow(fresh, 0).lRc, ADK_ERR_ROW_INDEX);
    AdkHandle customer = K().CreateData(0);
    EXPECT_EQ(K().DeleteRow(customer, 0).lRc, ADK_ERR_WRONG_TYPE);
    K().DeleteStruct(customer);
    K().DeleteStruct(fresh);
    K().DeleteStruct(order);
}

TEST_F(Writes, DeleteRemovesAHeadWithItsRows) {
    AdkHandle order = K().CreateData(2);
    K().SetDouble(order, 0, 1);
    ASSERT_EQ(K().Delete(order).lRc, 0);
    EXPECT_EQ(Sql("SELECT (SELECT count(*) FROM orderhuvud WHERE doknr = 1) + (SELECT count(*) FROM orderrad "
                  "WHERE doknr = 1)"),
              "0");
    EXPECT_EQ(K().Delete(order).lRc, ADK_ERR_RECORD_MISSING);
    K().DeleteStruct(order);
}

TEST_F(Writes, TimeStampsOnWriteInTheFormsTheSqlReads) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    long long localUnix = static_cast<long long>(timegm(&local));
    AdkHandle order = K().CreateData(2);
    ASSERT_EQ(K().Add(order).lRc, 0);
    long long stamp = std::stoll(Sql("SELECT timestamp FROM oof WHERE doktyp = 'O' ORDER BY doknr DESC"));
    EXPECT_LE(std::llabs(stamp - localUnix), 5);
    AdkHandle customer = K().CreateData(0);
    K().SetStr(customer, 0, "2001");
    ASSERT_EQ(K().Add(customer).lRc, 0);
    std::string text = Sql("SELECT timestamp FROM kund WHERE kundnr = '2001'");
    ASSERT_EQ(text.size(), 19u);
    EXPECT_EQ(text.substr(0, 4), std::to_string(local.tm_year + 1900));
    K().DeleteStruct(order);
    K().DeleteStruct(customer);
}

TEST_F(Writes, SalesPricesAreIdentifiedByListArticleAndQuantity) {
    auto price = [](const char* list, const char* article, double quantity, double value, bool setQuantity) {
        AdkHandle h = K().CreateData(37);
        K().SetStr(h, 0, list);
        K().SetStr(h, 1, article);
        if (setQuantity) K().SetDouble(h, 2, quantity);
        K().SetDouble(h, 3, value);
        return h;
    };
    AdkHandle base = price("PL2", "A200", 0, 130, false);  // no quantity: the base price
    ASSERT_EQ(K().Add(base).lRc, 0);
    AdkHandle bracket = price("PL2", "A200", 5, 125, true);
    ASSERT_EQ(K().Add(bracket).lRc, 0);
    AdkHandle change = price("pl2", "a200", 5, 124, true);
    ASSERT_EQ(K().Update(change).lRc, 0);
    EXPECT_EQ(
        Sql("SELECT group_concat(antal || '=' || pris, ' ') FROM (SELECT * FROM forspris WHERE prislista = "
            "'PL2' AND artnr = 'A200' ORDER BY antal)"),
        "0=130 5=124");
    ASSERT_EQ(K().Delete(change).lRc, 0);
    EXPECT_EQ(Sql("SELECT count(*) FROM forspris WHERE prislista = 'PL2' AND artnr = 'A200'"), "1");
    for (AdkHandle h : {base, bracket, change}) K().DeleteStruct(h);
}

}  // namespace
}  // namespace tv::kit_test
