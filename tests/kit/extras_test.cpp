// The kit's extras: customer prices and VAT rates, users, the call log, fault injection for tests,
// and adkctl on the demo company.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kit_library.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

// Runs SQL on a company that is not open, as a test prepares it.
void Prepare(const std::string& folder, const std::string& sql) {
    sqlite3* db;
    ASSERT_EQ(sqlite3_open((folder + "/company.sqlite").c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// A demo company in a folder of its own, not yet open.
class DemoFolder {
public:
    DemoFolder() : folder_(dir_ / "demo") {
        EXPECT_EQ(RunAdkctl({"create", folder_}), 0);
        EXPECT_EQ(RunAdkctl({"seed", folder_, DemoFixture()}), 0);
    }
    const std::string& folder() const { return folder_; }

private:
    TempDir dir_;
    std::string folder_;
};

struct PriceCase {
    const char* customer;
    const char* article;
    double quantity;
    bool includingVat;
    int32_t code;
    double price;
};
// The customer's price list; the bracket with the greatest quantity not above the one asked, else
// the base price (quantity 0); no list or no price gives 0; VAT by the article's VAT code.
constexpr PriceCase kPrices[] = {
    {"1001", "A100", 1, false, 0, 10},
    {"1001", "A100", 10, false, 0, 9},
    {"1001", "A100", 99, false, 0, 9},
    {"1001", "A100", 100, false, 0, 8},
    {"1002", "A100", 50, false, 0, 11},
    {"1001", "A200", 1, true, 0, 134.4},
    {"1001", "A100", 1, true, 0, 12.5},
    {"1003", "A100", 1, false, 0, 0},
    {"1002", "A300", 1, false, 0, 0},
    {"9999", "A100", 1, false, ADK_ERR_RECORD_MISSING, 0},
    {"1001", "X", 1, false, ADK_ERR_RECORD_MISSING, 0},
};

TEST(KitExtras, CustomerPricesComeFromTheCustomersPriceList) {
    OpenCompany company({DemoFixture()});
    for (const auto& c : kPrices) {
        double price = -1;
        AdkErrorRec e =
            K().GetCustomerPrice(c.customer, c.article, c.quantity, 1, 1, c.includingVat, 0, &price);
        EXPECT_EQ(e.lRc, c.code) << c.customer << " " << c.article << " " << c.quantity;
        EXPECT_NEAR(price, c.price, 1e-9) << c.customer << " " << c.article << " " << c.quantity;
    }
}

TEST(KitExtras, VatRatesFollowTheArticlesVatCode) {
    OpenCompany company({DemoFixture()});
    struct {
        const char* article;
        int32_t code;
        double percent;
    } cases[] = {{"A100", 0, 25}, {"a200", 0, 12}, {"A300", 0, 6}, {"A999", ADK_ERR_RECORD_MISSING, 0}};
    for (auto c : cases) {
        double percent = -1;
        EXPECT_EQ(K().GetVatpercentOnArticle(c.article, &percent).lRc, c.code) << c.article;
        EXPECT_EQ(percent, c.percent) << c.article;
    }
}

TEST(KitExtras, PricesAndVatNeedAnOpenCompany) {
    double d;
    EXPECT_EQ(K().GetVatpercentOnArticle("A100", &d).lRc, ADK_ERR_NOT_OPEN);
    EXPECT_EQ(K().GetCustomerPrice("1001", "A100", 1, 0, 0, 0, 0, &d).lRc, ADK_ERR_NOT_OPEN);
}

TEST(KitExtras, AUsersTableDecidesWhoMayOpen) {
    DemoFolder demo;
    EXPECT_EQ(K().Open2("", demo.folder().c_str(), "vem", "som helst").lRc, 0);  // no users: anyone
    K().Close();
    Prepare(demo.folder(), "INSERT INTO kit_users (name, password) VALUES ('anna', 'hemligt')");
    EXPECT_EQ(K().Open2("", demo.folder().c_str(), "anna", "fel").lRc, ADK_ERR_LOGIN);
    AdkHandle h = K().CreateData(0);
    EXPECT_EQ(K().First(h).lRc, ADK_ERR_NOT_OPEN);
    EXPECT_EQ(K().Open2("", demo.folder().c_str(), "anna", "hemligt").lRc, 0);
    EXPECT_EQ(K().First(h).lRc, 0);
    K().Close();
    K().DeleteStruct(h);
}

TEST(KitExtras, TheCallLogIsKeptInTheCompanyFolderWhenAskedFor) {
    DemoFolder demo;
    ASSERT_EQ(K().OpenEx("", demo.folder().c_str(), 1).lRc, 0);
    AdkHandle h = K().CreateData(1);
    K().SetStr(h, 0, "A999");
    EXPECT_EQ(K().Find(h).lRc, ADK_ERR_NOT_FOUND);
    K().DeleteStruct(h);
    K().Close();
    std::ifstream in(demo.folder() + "/adk.log");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("AdkOpenEx lRc=0"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("AdkFind lRc=115 lDbTable=1"), std::string::npos) << text.str();
    // Without the flag nothing is logged.
    DemoFolder quiet;
    ASSERT_EQ(K().OpenEx("", quiet.folder().c_str(), 0).lRc, 0);
    K().Close();
    EXPECT_FALSE(std::filesystem::exists(quiet.folder() + "/adk.log"));
}

TEST(KitExtras, AFaultRuleMakesACallReturnItsCodeOrThrow) {
    DemoFolder demo;
    Prepare(demo.folder(),
            "INSERT INTO kit_faults (function, code, message, skip, times) VALUES"
            " ('AdkFind', 312, NULL, 1, 1)");
    ASSERT_EQ(K().Open("", demo.folder().c_str()).lRc, 0);
    AdkHandle h = K().CreateData(0);
    K().SetStr(h, 0, "1001");
    EXPECT_EQ(K().Find(h).lRc, 0);  // skipped once
    AdkErrorRec e = K().Find(h);
    EXPECT_EQ(e.lRc, 312);  // then fails once
    EXPECT_EQ(e.lFunction, ADKF_FIND);
    EXPECT_EQ(K().Find(h).lRc, 0);  // and no more
    K().Close();

    Prepare(demo.folder(), "UPDATE kit_faults SET code = 0, message = 'boom', skip = 0, times = -1");
    ASSERT_EQ(K().Open("", demo.folder().c_str()).lRc, 0);
    for (int call = 0; call < 2; ++call) {
        try {
            K().Find(h);
            ADD_FAILURE() << "AdkFind should have thrown";
        } catch (const std::exception& ex) {
            EXPECT_STREQ(ex.what(), "boom");
        }
    }
    // The kit is still usable after the exception: other exports answer as always.
    EXPECT_EQ(K().First(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1001");
    K().DeleteStruct(h);
    K().Close();
}

TEST(Adkctl, MakesTheDemoCompanyAndDumpsIt) {
    DemoFolder demo;
    std::string out;
    ASSERT_EQ(RunAdkctl({"dump", demo.folder(), "atKunder"}, &out), 0) << out;
    EXPECT_EQ(out.find("KUNDNR=1001; NAMN=\xC3\x85sa \xC3\x96"
                       "berg AB; ORT=G\xC3\xB6teborg;"),
              0u)
        << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
    ASSERT_EQ(RunAdkctl({"dump", demo.folder(), "2"}, &out), 0) << out;
    EXPECT_NE(out.find("\n  ARTNR=A200;"), std::string::npos) << out;
    ASSERT_EQ(RunAdkctl({"find", demo.folder(), "atArtiklar", "ARTNR=a300"}, &out), 0) << out;
    EXPECT_EQ(out.find("ARTNR=A300; BENAMNING=Bok om skruvar;"), 0u) << out;
    EXPECT_EQ(RunAdkctl({"find", demo.folder(), "atArtiklar", "ARTNR=X"}, &out), 1);
    ASSERT_EQ(RunAdkctl({"edit", demo.folder(), "atKunder", "KUNDNR=1003", "--set", "ORT=Kiruna"}, &out), 0)
        << out;
    EXPECT_EQ(QueryText(demo.folder() + "/company.sqlite", "SELECT ort FROM kund WHERE kundnr = '1003'"),
              "Kiruna");
    EXPECT_EQ(RunAdkctl({"edit", demo.folder(), "atKunder", "NAMN=x", "--set", "ORT=y"}, &out), 1);
    ASSERT_EQ(RunAdkctl({"fields", "atKunder"}, &out), 0);
    EXPECT_NE(out.find("94\tTIMESTAMP\ttime stamp\tread-only"), std::string::npos) << out;
    ASSERT_EQ(RunAdkctl({"tables"}, &out), 0);
    EXPECT_NE(out.find("37\tatForsaljningspriser\tforspris\tfields 0-7"), std::string::npos) << out;
}

TEST(Adkctl, SeedsFromCsvAndRefusesWhatAFixtureMayNotDo) {
    TempDir dir;
    std::string folder = dir / "c";
    ASSERT_EQ(RunAdkctl({"create", folder}), 0);
    std::ofstream(dir / "articles.csv")
        << "ARTNR,BENAMNING,VIKT,WEBSHOP\nB1,\"Bult, stor\",1.5,1\n,Utan nummer,,0\n";
    std::string out;
    ASSERT_EQ(RunAdkctl({"seed", folder, dir / "articles.csv", "--table", "atArtiklar"}, &out), 0) << out;
    EXPECT_EQ(
        QueryText(folder + "/company.sqlite", "SELECT group_concat(artnr || '=' || benamning, '|') FROM art"),
        "B1=Bult, stor|1=Utan nummer");
    std::ofstream(dir / "bad.csv") << "ARTNR,VIKT\nB2,heavy\n";
    EXPECT_EQ(RunAdkctl({"seed", folder, dir / "bad.csv", "--table", "atArtiklar"}, &out), 1);
    EXPECT_NE(out.find("bad.csv:2:"), std::string::npos) << out;
    std::ofstream(dir / "drop.sql") << "DROP TABLE kund;";
    EXPECT_EQ(RunAdkctl({"seed", folder, dir / "drop.sql"}, &out), 1);
    EXPECT_NE(out.find("not authorized"), std::string::npos) << out;
    std::ofstream(dir / "attach.sql") << "ATTACH DATABASE '" + (dir / "x.db") + "' AS x;";
    EXPECT_EQ(RunAdkctl({"seed", folder, dir / "attach.sql"}, &out), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.db"));
    EXPECT_EQ(RunAdkctl({"seed", dir / "none", dir / "articles.csv", "--table", "atArtiklar"}, &out), 1);
    EXPECT_EQ(RunAdkctl({"create", folder}, &out), 1);  // a company is never overwritten
}

TEST(Adkctl, ABadArgumentIsNamedWithWhatIsAllowedAndNothingIsMade) {
    TempDir dir;
    struct ArgumentCase {
        std::vector<std::string> args;
        const char* says;
    };
    const ArgumentCase cases[] = {
        {{"create", dir / "a", "--variant", "abc"}, "--variant: \"abc\" is not a number; the variants are 1 (Administration 2000), 2"},
        {{"create", dir / "b", "--variant", "9"}, "--variant: 9 is no program variant; the variants are 1 ("},
        {{"create", dir / "c", "--variant"}, "--variant needs a value"},
        {{"create", dir / "d", "--colour", "red"}, "unknown option --colour; the options are --name and --variant"},
        {{"dump", dir / "e", "atKunder", "--sort", "x"}, "--sort: \"x\" is not a number; a sort order is"},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(RunAdkctl(c.args, &out), 1) << c.says;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
        EXPECT_EQ(out.find("stoi"), std::string::npos) << out;
        EXPECT_FALSE(std::filesystem::exists(c.args[1])) << c.says;
    }
}

TEST(Adkctl, ACsvSeedIsAllOrNothing) {
    DemoFolder demo;
    const std::string before =
        QueryText(demo.folder() + "/company.sqlite", "SELECT group_concat(kundnr, '|') FROM kund");
    TempDir dir;
    // The second line is refused (the number exists); the first and third are fine on their own.
    std::ofstream(dir / "customers.csv") << "KUNDNR,NAMN\n2001,Ny\n1001,Dubblett\n2002,Ny igen\n";
    std::string out;
    EXPECT_EQ(RunAdkctl({"seed", demo.folder(), dir / "customers.csv", "--table", "atKunder"}, &out), 1);
    EXPECT_NE(out.find("customers.csv:3: adding the record: kit code 301"), std::string::npos) << out;
    EXPECT_NE(out.find("nothing of the file was stored"), std::string::npos) << out;
    EXPECT_EQ(QueryText(demo.folder() + "/company.sqlite", "SELECT group_concat(kundnr, '|') FROM kund"), before);

    std::ofstream(dir / "good.csv") << "KUNDNR,NAMN\n2001,Ny\n,Numrerad\n";
    ASSERT_EQ(RunAdkctl({"seed", demo.folder(), dir / "good.csv", "--table", "atKunder"}, &out), 0) << out;
    EXPECT_EQ(QueryText(demo.folder() + "/company.sqlite", "SELECT group_concat(kundnr, '|') FROM kund"),
              before + "|2001|2002");
}

}  // namespace
}  // namespace tv::kit_test
