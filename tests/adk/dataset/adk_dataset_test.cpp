#include "adk/adk_dataset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "adk/adk_binding.h"
#include "platform/rtl/date_time.h"
#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

// A data module with the company component and the datasets the system keeps, over the demo company.
class AdkDataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeAdkLibrary();
        company_ = dir_.Path("demo");
        std::ifstream demo(std::string(TV_FIXTURES_DIR) + "/kit/demo_company.sql");
        std::string seed((std::istreambuf_iterator<char>(demo)), std::istreambuf_iterator<char>());
        test::MakeCompany(dir_, company_, seed + extraSeed_);
        db_ = new TAdkDatabase(&module_, std::make_unique<TAdkInfo>(dir_.Root(), dir_.Root()));
        db_->SetName("AdkDBSRC");
        db_->AdkPath = test::FolderOf(TV_KIT);
        db_->AdkLogging = true;  // the kit's call log shows what was written
        db_->SetArguments({});
        db_->ProgramSettings = {piArtikelStreckkod, piOmvandByggSkatt};
        db_->SetCompanyPath(company_);
    }
    void TearDown() override {
        module_.DestroyComponents();
        FreeAdkLibrary();
    }

    TAdkDataSet& DataSet(const std::string& name, TAdkTable table, TAdkSortOrder order = asIngen) {
        auto* dataSet = new TAdkDataSet(&module_);
        // A second dataset on a table gets a name of its own in the module.
        dataSet->SetName(module_.FindComponent(name) ? name + std::to_string(module_.ComponentCount())
                                                     : name);
        dataSet->SetAdkTable(table);
        dataSet->SetAdkSortOrder(order);
        return *dataSet;
    }
    // An order head with its rows dataset, as the central data module pairs them.
    TAdkDataSet& Orders() {
        TAdkDataSet& rows = DataSet("AdkOrderRader", atOrderrader);
        TAdkDataSet& orders = DataSet("AdkOrder", atOrder, asOrderNr);
        orders.SetChildTable(&rows);
        return orders;
    }
    // The kit calls logged since `from` (a size of the log), one export name each.
    std::vector<std::string> CallsSince(size_t from) {
        std::string log = dir_.Read("demo/adk.log").substr(from);
        std::vector<std::string> calls;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string date, time, name;
            words >> date >> time >> name;
            calls.push_back(name);
        }
        return calls;
    }
    size_t LogSize() { return dir_.Read("demo/adk.log").size(); }
    static int Count(const std::vector<std::string>& calls, const std::string& name) {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }

    std::string extraSeed_;
    test::TempDir dir_;
    std::string company_;
    TComponent module_;
    TAdkDatabase* db_ = nullptr;
};

TEST_F(AdkDataSetTest, ReadsCustomersOneKitRecordPerStep) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    EXPECT_EQ(customers.Database(), db_);  // the module's company component
    ASSERT_TRUE(customers.MakeOpen());
    EXPECT_EQ(customers.RecordCount(), 0);
    EXPECT_EQ(customers.FieldByAdkIndex(0).DisplayLabel(), "Kundnr");
    EXPECT_EQ(customers.TimeStampField(), &customers.FieldByAdkIndex(94));
    EXPECT_EQ(customers.TimeStampField()->DataType(), TFieldType::ftDateTime);

    ASSERT_TRUE(customers.AdkNavFirst());
    EXPECT_EQ(customers.FieldByAdkIndex(0).AsString(), "1001");
    EXPECT_EQ(customers.FieldByAdkIndex(1).AsString(), "Åsa Öberg AB");
    EXPECT_TRUE(customers.AdkNavNext());
    EXPECT_TRUE(customers.AdkNavNext());
    EXPECT_EQ(customers.FieldByAdkIndex(0).AsString(), "1003");
    EXPECT_FALSE(customers.AdkNavNext());  // 79 at the end: no row, no error
    EXPECT_EQ(customers.RecordCount(), 3);
    EXPECT_EQ(customers.FieldByAdkIndex(5).FieldName(), "unnamed5");  // a field the kit does not name
    EXPECT_TRUE(customers.FieldByAdkIndex(5).IsNull());
}

TEST_F(AdkDataSetTest, FindsByTheKeyOfTheSortOrder) {
    TAdkDataSet& articles = DataSet("ADKArtiklar", atArtiklar, asArtikelnr);
    ASSERT_TRUE(articles.MakeOpen());
    EXPECT_FALSE(articles.AdkNavFind("A999", true, false));  // 115: not found, no error
    EXPECT_EQ(articles.RecordCount(), 0);
    EXPECT_TRUE(articles.AdkNavFind("a200", true, false));  // letter case does not matter
    EXPECT_EQ(articles.FieldByAdkIndex(1).AsString(), "Kaffe");
    EXPECT_TRUE(articles.MatchOnKeyField("A300"));
    EXPECT_EQ(articles.FieldByAdkIndex(1).AsString(), "Bok om skruvar");

    articles.SetAdkSortOrder(asArtikelnamn);
    EXPECT_EQ(articles.AdkKeyField(), 1);
    EXPECT_TRUE(articles.AdkNavFind("skruv m6", true, false));
    EXPECT_EQ(articles.FieldByAdkIndex(0).AsString(), "A100");
}

TEST_F(AdkDataSetTest, AnOrderHeadBringsItsRows) {
    TAdkDataSet& orders = Orders();
    TAdkDataSet& rows = *orders.ChildTable();
    ASSERT_TRUE(orders.MakeOpen());
    EXPECT_EQ(orders.RecordCount(), 0);  // opening reads no record
    ASSERT_TRUE(rows.Active());
    ASSERT_TRUE(orders.AdkNavFirst(true));
    EXPECT_EQ(orders.FieldByAdkIndex(0).AsInteger(), 1);
    EXPECT_EQ(orders.FieldByAdkIndex(8).AsDateTime(), EncodeDate(2024, 1, 15));
    ASSERT_EQ(rows.RecordCount(), 3);
    const char* articles[] = {"A100", "A200", ""};
    int n = 0;
    for (rows.First(); !rows.Eof(); rows.Next(), ++n) {
        EXPECT_EQ(rows.FieldByName("RowNumber").AsInteger(), n + 1);
        EXPECT_EQ(rows.FieldByAdkIndex(0).AsString(), articles[n]);
        EXPECT_EQ(rows.FieldByName("ModifiedFields").AsString().find('1'), std::string::npos);
    }
    EXPECT_FALSE(orders.RowsModified());

    ASSERT_TRUE(orders.AdkNavNext());  // order 2 has no rows
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_TRUE(orders.FieldByAdkIndex(9).IsNull());  // no delivery date: the kit's 0 leaves it empty
}

TEST_F(AdkDataSetTest, ASettingsTableReadsItsOneRecordWhenOpened) {
    TAdkDataSet& settings = DataSet("AdkPrm", atInstallningar);
    ASSERT_TRUE(settings.MakeOpen());
    EXPECT_EQ(settings.RecordCount(), 1);
    settings.FetchAllNow(true);  // the rows already read stay; the table gives one more
    EXPECT_EQ(settings.RecordCount(), 2);
}

TEST_F(AdkDataSetTest, EditingOneFieldOfAnOrderWritesThatFieldAndLeavesItsRows) {
    TAdkDataSet& orders = Orders();
    ASSERT_TRUE(orders.MakeOpen());
    ASSERT_TRUE(orders.AdkNavFirst(true));
    const size_t mark = LogSize();
    orders.Edit();
    orders.FieldByAdkIndex(28).SetAsString("PO-78");
    orders.Post();
    const auto calls = CallsSince(mark);
    EXPECT_EQ(Count(calls, "AdkUpdate"), 1);
    EXPECT_EQ(Count(calls, "AdkSetStr"), 2);     // the field, once to find the order, once to write it
    EXPECT_EQ(Count(calls, "AdkSetDouble"), 2);  // and the key, the order number
    EXPECT_EQ(Count(calls, "AdkSetBool") + Count(calls, "AdkSetDate"), 0);
    EXPECT_EQ(Count(calls, "AdkSetData"), 0);  // rows untouched

    TAdkDataSet& again = Orders();
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind("1", true, true));
    EXPECT_EQ(again.FieldByAdkIndex(28).AsString(), "PO-78");
    EXPECT_EQ(again.FieldByAdkIndex(15).AsString(), "Åsa Öberg AB");
    EXPECT_EQ(again.ChildTable()->RecordCount(), 3);
}

TEST_F(AdkDataSetTest, AnOrderAddedWithThreeRowsKeepsTwoAfterTheSecondIsDeleted) {
    TAdkDataSet& orders = Orders();
    TAdkDataSet& rows = *orders.ChildTable();
    ASSERT_TRUE(orders.MakeOpen());
    orders.Append();
    orders.FieldByAdkIndex(14).SetAsString("1002");
    orders.FieldByAdkIndex(8).SetAsDateTime(EncodeDate(2024, 3, 1));
    for (const char* article : {"A100", "A200", "A300"}) {
        rows.Append();
        rows.FieldByAdkIndex(0).SetAsString(article);
        rows.FieldByAdkIndex(3).SetAsFloat(1);
        rows.Post();
    }
    EXPECT_TRUE(orders.RowsModified());
    orders.Post();
    EXPECT_FALSE(orders.RowsModified());
    orders.RefreshAdkRow();  // the number the kit gave
    const int number = orders.FieldByAdkIndex(0).AsInteger();
    EXPECT_EQ(number, 3);

    rows.First();
    rows.Next();
    rows.DeleteChildRow();
    EXPECT_EQ(rows.RecordCount(), 2);
    EXPECT_EQ(orders.State(), dsEdit);
    EXPECT_EQ(orders.FieldByAdkIndex(104).AsInteger(), 2);
    orders.Post();

    TAdkDataSet& again = Orders();
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind(std::to_string(number), true, true));
    TAdkDataSet& stored = *again.ChildTable();
    ASSERT_EQ(stored.RecordCount(), 2);
    stored.First();
    EXPECT_EQ(stored.FieldByAdkIndex(0).AsString(), "A100");
    EXPECT_EQ(stored.FieldByAdkIndex(31).AsInteger(), 1);  // numbered from 1 again
    stored.Next();
    EXPECT_EQ(stored.FieldByAdkIndex(0).AsString(), "A300");
    EXPECT_EQ(stored.FieldByAdkIndex(31).AsInteger(), 2);
}

TEST_F(AdkDataSetTest, ChangingOneRowWritesItsMarkedFieldsAndTheRowCount) {
    TAdkDataSet& orders = Orders();
    TAdkDataSet& rows = *orders.ChildTable();
    ASSERT_TRUE(orders.MakeOpen());
    ASSERT_TRUE(orders.AdkNavFirst(true));
    rows.First();
    rows.Edit();
    rows.FieldByAdkIndex(14).SetAsString("Skruv M6 förzinkad");
    rows.Post();
    const std::string marks = rows.FieldByName("ModifiedFields").AsString();
    EXPECT_EQ(std::count(marks.begin(), marks.end(), '1'), 1);
    EXPECT_TRUE(orders.RowsModified());
    const size_t mark = LogSize();
    orders.Edit();
    orders.Post();
    const auto calls = CallsSince(mark);
    EXPECT_EQ(Count(calls, "AdkSetData"), 1);  // the rows travel with the head

    TAdkDataSet& again = Orders();
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind("1", true, true));
    TAdkDataSet& stored = *again.ChildTable();
    ASSERT_EQ(stored.RecordCount(), 3);
    stored.First();
    EXPECT_EQ(stored.FieldByAdkIndex(14).AsString(), "Skruv M6 förzinkad");
    EXPECT_EQ(stored.FieldByAdkIndex(3).AsFloat(), 5);  // the other fields as they were
    stored.Next();
    EXPECT_EQ(stored.FieldByAdkIndex(14).AsString(), "Kaffe");
}

TEST_F(AdkDataSetTest, RowQuantitiesAreRoundedToTheArticlesUnit) {
    TAdkDataSet& orders = Orders();
    TAdkDataSet& rows = *orders.ChildTable();
    ASSERT_TRUE(orders.MakeOpen());
    ASSERT_TRUE(orders.AdkNavFirst(true));
    rows.First();  // A100, unit "st" without decimals
    rows.Edit();
    rows.FieldByAdkIndex(3).SetAsFloat(5.4);
    rows.Post();
    rows.Next();  // A200, unit "kg" with two decimals
    rows.Edit();
    rows.FieldByAdkIndex(3).SetAsFloat(2.345);
    rows.Post();
    orders.Edit();
    orders.Post();

    TAdkDataSet& again = Orders();
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind("1", true, true));
    TAdkDataSet& stored = *again.ChildTable();
    stored.First();
    EXPECT_EQ(stored.FieldByAdkIndex(3).AsFloat(), 5);
    stored.Next();
    EXPECT_NEAR(stored.FieldByAdkIndex(3).AsFloat(), 2.35, 1e-9);

    int decimals = -1;
    EXPECT_TRUE(db_->GetArticleDecimals("A200", decimals));
    EXPECT_EQ(decimals, 2);
    EXPECT_FALSE(db_->GetArticleDecimals("NOSUCH", decimals));
}

TEST_F(AdkDataSetTest, EditingACustomerWritesTheKeyAndTheChangedField) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundNamn);
    ASSERT_TRUE(customers.MakeOpen());
    ASSERT_TRUE(customers.AdkNavFind("Bengt Berg", true, false));
    const size_t mark = LogSize();
    customers.Edit();
    customers.FieldByAdkIndex(1).SetAsString("Bengt Berg AB");
    customers.Post();
    const auto calls = CallsSince(mark);
    EXPECT_EQ(Count(calls, "AdkSetStr"), 4);  // number and name, to find and to write
    EXPECT_EQ(Count(calls, "AdkUpdate"), 1);
    EXPECT_EQ(customers.AdkSortOrder(), asKundNamn);  // the order in use before the write-back

    TAdkDataSet& again = DataSet("AdkKunderTmp", atKunder, asKundnr);
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind("1002", true, false));
    EXPECT_EQ(again.FieldByAdkIndex(1).AsString(), "Bengt Berg AB");
    EXPECT_EQ(again.FieldByAdkIndex(7).AsString(), "Umeå");
}

TEST_F(AdkDataSetTest, ANewRecordHoldsTheNumberTheKitGaveItOnceItIsPosted) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.MakeOpen());
    customers.Append();
    customers.FieldByAdkIndex(1).SetAsString("Ny kund");
    const size_t mark = LogSize();
    customers.Post();
    EXPECT_EQ(customers.FieldByAdkIndex(0).AsString(), "1004");
    EXPECT_EQ(customers.State(), dsBrowse);
    // Read back in the post itself, one field: not a read of the whole record.
    EXPECT_EQ(Count(CallsSince(mark), "AdkGetStr"), 1);
    ASSERT_TRUE(customers.AdkNavFind("1004", true, false));
    EXPECT_EQ(customers.FieldByAdkIndex(1).AsString(), "Ny kund");
}

TEST_F(AdkDataSetTest, AKitRefusalOnPostRaisesTheSwedishText) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.MakeOpen());
    customers.Append();
    customers.FieldByAdkIndex(0).SetAsString("1001");
    customers.FieldByAdkIndex(1).SetAsString("Dubblett");
    const std::string message = test::MessageOf([&] { customers.Post(); });
    EXPECT_TRUE(message.starts_with("Visma Integration felkod 301:  ")) << message;
    EXPECT_NE(message.find(" Tabell \"kund\""), std::string::npos) << message;
    EXPECT_TRUE(message.ends_with(" (lRc: 301, lDbTable: 0, lField: 188, lFunction: 25)")) << message;
    EXPECT_EQ(customers.State(), dsInsert);  // the row stays as the failed post left it
    customers.Cancel();
}

TEST_F(AdkDataSetTest, AnExceptionInsideTheKitOnPostNamesTheCall) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open((company_ + "/company.sqlite").c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle,
                           "INSERT INTO kit_faults(function, code, message, skip, times) "
                           "VALUES ('AdkUpdate', 312, 'disken är full', 0, -1)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.MakeOpen());
    ASSERT_TRUE(customers.AdkNavFirst());
    customers.Edit();
    customers.FieldByAdkIndex(1).SetAsString("Nytt namn");
    EXPECT_EQ(test::MessageOf<EAdkException>([&] { customers.Post(); }),
              "Error occured in AdkUpdate:\r\n\r\ndisken är full");
    customers.Cancel();
}

TEST_F(AdkDataSetTest, FieldsAreReachedByKitNumberOnlyWhenTheyExist) {
    TAdkDataSet& orders = Orders();
    EXPECT_EQ(test::MessageOf([&] { orders.FieldByAdkIndex(0); }), "AdkOrder: TAdkDataSet är inte öppet");
    ASSERT_TRUE(orders.MakeOpen());
    EXPECT_EQ(test::MessageOf([&] { orders.FieldByAdkIndex(103); }),
              "List index out of bounds (103)");  // the rows
    EXPECT_EQ(test::MessageOf([&] { orders.FieldByAdkIndex(200); }), "List index out of bounds (200)");
    EXPECT_EQ(test::MessageOf([&] { orders.FieldByAdkIndex(-1); }), "List index out of bounds (-1)");
}

TEST_F(AdkDataSetTest, ChangingTheTableOfAnOpenDatasetIsRefused) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder);
    ASSERT_TRUE(customers.MakeOpen());
    EXPECT_EQ(test::MessageOf<EAdkVCLTableOpen>([&] { customers.SetAdkTable(atArtiklar); }),
              "AdkKunder: Du kan inte byta tabell när tabellen är öppen.");
    TAdkDataSet loose;
    loose.SetName("ADKAux");
    EXPECT_EQ(test::MessageOf<EAdkVCLDatabaseNotAssigned>([&] { loose.SetAdkTable(atKunder); }),
              "Egenskapen AdkDatabase för \"ADKAux\" har inget värde.");
}

TEST_F(AdkDataSetTest, ReadOnlyFieldsAndTablesOfTheCompanysVariant) {
    TAdkDataSet& orders = Orders();
    ASSERT_TRUE(orders.MakeOpen());
    ASSERT_TRUE(orders.AdkNavFirst(true));
    EXPECT_TRUE(orders.IsFieldReadOnly(137));  // the time stamp is the kit's
    EXPECT_FALSE(orders.IsFieldReadOnly(28));
    EXPECT_TRUE(orders.ChildTable()->IsFieldReadOnly(31));  // the row number, asked of the head's first row
    EXPECT_FALSE(orders.ChildTable()->IsFieldReadOnly(0));

    TAdkDataSet& members = DataSet("AdkMedlemmar", atMedlemmar);  // not in the full program
    EXPECT_FALSE(members.AdkTableAvailible());
    EXPECT_FALSE(members.MakeOpen());
}

TEST_F(AdkDataSetTest, ArticleDecimalsAreCachedUnlessTheCacheIsOff) {
    int decimals = -1;
    ASSERT_TRUE(db_->GetArticleDecimals("A200", decimals));
    size_t mark = LogSize();
    ASSERT_TRUE(db_->GetArticleDecimals("A200", decimals));
    EXPECT_EQ(Count(CallsSince(mark), "AdkSetFilter"), 0);  // from the cache
    db_->SetUseArtDecimalsCache(false);
    mark = LogSize();
    ASSERT_TRUE(db_->GetArticleDecimals("A200", decimals));
    ASSERT_TRUE(db_->GetArticleDecimals("A200", decimals));
    EXPECT_EQ(Count(CallsSince(mark), "AdkSetFilter"), 4);  // article and unit, each time
    EXPECT_EQ(decimals, 2);
}

TEST_F(AdkDataSetTest, DatasetsOpenAgainAfterTheCompanyWasClosedAndOpened) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    TAdkDataSet& articles = DataSet("ADKArtiklar", atArtiklar, asArtikelnr);
    ASSERT_TRUE(customers.MakeOpen());
    articles.SetAdkTable(atArtiklar);  // fields prepared, a kit structure made, not opened
    db_->SetConnected(false);
    EXPECT_FALSE(customers.Active());
    db_->SetConnected(true);
    ASSERT_TRUE(customers.MakeOpen());
    EXPECT_TRUE(customers.AdkNavFind("1003", true, false));
    ASSERT_TRUE(articles.MakeOpen());
    EXPECT_TRUE(articles.AdkNavFind("A100", true, false));
}

class PurchasePriceTest : public AdkDataSetTest {
protected:
    PurchasePriceTest() {
        extraSeed_ =
            "\nINSERT INTO inkpris (artnr, levnr, antal, pris, levartnr, timestamp) VALUES "
            "('A300', 'L10', 0, 7, 'L10-BOK', '2024-01-06 13:00:00');\n";
    }
};

// Under the order by supplier and article, a record is found again by both: by the supplier alone
// the write-back found the supplier's first price and changed that one.
TEST_F(PurchasePriceTest, AnEditUnderTheSupplierAndArticleOrderChangesThatRecord) {
    TAdkDataSet& prices = DataSet("AdkInkPris", atInkopspriser, asInkopspriserLevNrArtNr);
    ASSERT_TRUE(prices.MakeOpen());
    ASSERT_TRUE(prices.AdkNavFirst());  // L10 A100 0
    ASSERT_TRUE(prices.AdkNavNext());   // L10 A100 50
    ASSERT_TRUE(prices.AdkNavNext());   // L10 A300 0
    ASSERT_EQ(prices.FieldByAdkIndex(0).AsString(), "A300");
    prices.Edit();
    prices.FieldByAdkIndex(3).SetAsFloat(7.5);
    prices.Post();

    TAdkDataSet& again = DataSet("AdkInkPrisTmp", atInkopspriser, asInkopspriserArtnrAlla);
    ASSERT_TRUE(again.MakeOpen());
    ASSERT_TRUE(again.AdkNavFind("A300", true, false));
    EXPECT_EQ(again.FieldByAdkIndex(3).AsFloat(), 7.5);
    ASSERT_TRUE(again.AdkNavFind("A100", true, false));
    EXPECT_EQ(again.FieldByAdkIndex(3).AsFloat(), 5);  // the supplier's first price is untouched
}

// Keys the kit finds by its own rule: with a trailing blank, and in the other letter case.
class KeyRuleTest : public AdkDataSetTest {
protected:
    KeyRuleTest() {
        extraSeed_ =
            "\nINSERT INTO kund (kundnr, namn, timestamp) VALUES ('77 ', 'Sjuttiosju', '2024-01-03 10:00:00'),"
            " ('ÅB1', 'Åkeri Berg', '2024-01-03 10:00:00');\n";
    }
};

TEST_F(KeyRuleTest, AnExactFindAcceptsWhatTheKitFoundByTheCompanysKeyRule) {
    struct FindCase {
        const char* search;
        const char* found;  // nullptr: not found
    };
    constexpr FindCase kCases[] = {
        {"77", "77 "}, {"77 ", "77 "}, {"åb1", "ÅB1"}, {"Åb1", "ÅB1"}, {"1001", "1001"}, {"0077", nullptr},
    };
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.MakeOpen());
    for (const auto& c : kCases) {
        const bool found = customers.AdkNavFind(c.search, true, false);
        EXPECT_EQ(found, c.found != nullptr) << c.search;
        if (found && c.found) EXPECT_EQ(customers.FieldByAdkIndex(0).AsString(), c.found) << c.search;
    }
    // A number key is the number itself.
    TAdkDataSet& orders = Orders();
    ASSERT_TRUE(orders.MakeOpen());
    EXPECT_TRUE(orders.AdkNavFind("2", true, false));
    EXPECT_FALSE(orders.AdkNavFind("3", true, false));
}

// The kit refuses the third text it is asked for: a field of the first customer read.
class RefusedReadTest : public AdkDataSetTest {
protected:
    RefusedReadTest() {
        extraSeed_ =
            "\nINSERT INTO kit_faults(function, code, message, skip, times) VALUES ('AdkGetStr', 312, NULL, "
            "2, "
            "1);\n";
    }
};

// A record the kit failed to read part-way is dropped: a later move (of a grid, a script, or the
// import appending its next record) must not post the half-read row, and never to the kit.
TEST_F(RefusedReadTest, ARowReadOnlyInPartIsDroppedAndNeverWrittenBack) {
    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.MakeOpen());
    const size_t from = LogSize();
    EXPECT_NE(test::MessageOf([&] { customers.AdkNavFirst(); }).find("Visma Integration felkod 312"),
              std::string::npos);
    EXPECT_EQ(customers.State(), dsBrowse);
    EXPECT_EQ(customers.RecordCount(), 0);
    customers.First();
    EXPECT_EQ(customers.RecordCount(), 0);

    ASSERT_TRUE(customers.AdkNavFirst());
    EXPECT_EQ(customers.FieldByAdkIndex(0).AsString(), "1001");
    EXPECT_EQ(customers.FieldByAdkIndex(1).AsString(), "Åsa Öberg AB");
    EXPECT_EQ(customers.RecordCount(), 1);
    EXPECT_EQ(Count(CallsSince(from), "AdkAdd"), 0);
    EXPECT_EQ(Count(CallsSince(from), "AdkUpdate"), 0);
}

// The kit raises whenever a structure is freed after the company's settings were read.
class FreeingFaultTest : public AdkDataSetTest {
protected:
    FreeingFaultTest() {
        extraSeed_ =
            "\nINSERT INTO kit_faults(function, code, message, skip, times) VALUES ('AdkDeleteStruct', 0, "
            "'kaputt', 1, -1);\n";
    }
};

// A rows dataset describes its fields from a structure of its own and frees it: the kit raising
// there is raised with the open, and the process goes on.
TEST_F(FreeingFaultTest, AFailureToFreeTheRowsDescriptionIsRaised) {
    TAdkDataSet& orders = Orders();
    EXPECT_NE(test::MessageOf([&] { orders.MakeOpen(); }).find("kaputt"), std::string::npos);
}

}  // namespace
}  // namespace tv
