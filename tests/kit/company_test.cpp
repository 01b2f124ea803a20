// Opening and closing companies, what the kit tells about itself, and the schema the build
// generates: the field-definition table, the SQL names the system's own queries read, and the
// agreement of the kit's tables and sort orders with the dataset layer's catalogue.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "adk/adk_catalogue.h"
#include "kit_library.h"
#include "platform/rtl/version_info.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

TEST(KitCompany, MissingCompaniesAnswer116) {
    TempDir dir;
    std::filesystem::create_directory(dir / "empty");
    for (std::string folder : {dir / "none", dir / "empty", std::string()}) {
        AdkErrorRec e = K().Open("", folder.c_str());
        EXPECT_EQ(e.lRc, ADK_ERR_NO_COMPANY) << folder;
        EXPECT_EQ(e.lFunction, ADKF_OPEN);
    }
    EXPECT_EQ(K().Open("", nullptr).lRc, ADK_ERR_NO_COMPANY);
}

TEST(KitCompany, ADatabaseOfAnotherVersionAnswers76Or77) {
    for (auto [version, code] : {std::pair{2, ADK_ERR_COMPANY_NEWER}, std::pair{0, ADK_ERR_COMPANY_OLDER}}) {
        TempDir dir;
        std::string folder = dir / "c";
        ASSERT_EQ(RunAdkctl({"create", folder}), 0);
        sqlite3* db;
        sqlite3_open((folder + "/company.sqlite").c_str(), &db);
        sqlite3_exec(db, ("PRAGMA user_version=" + std::to_string(version)).c_str(), nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
        EXPECT_EQ(K().Open("", folder.c_str()).lRc, code);
    }
}

TEST(KitCompany, OneCompanyAtATimeAndNavigationNeedsOne) {
    AdkHandle h = K().CreateData(0);
    EXPECT_EQ(K().First(h).lRc, ADK_ERR_NOT_OPEN);
    {
        OpenCompany company;
        EXPECT_EQ(K().Open("", company.folder().c_str()).lRc, ADK_ERR_ALREADY_OPEN);
        EXPECT_EQ(K().First(h).lRc, ADK_ERR_END_OF_TABLE - 1);  // empty table: 78
    }
    EXPECT_EQ(K().First(h).lRc, ADK_ERR_NOT_OPEN);
    K().DeleteStruct(h);
}

TEST(KitCompany, TheCompanyFolderHoldsItsDatabaseAndSettingsFile) {
    OpenCompany company;
    EXPECT_TRUE(std::filesystem::exists(company.folder() + "/" ADK_COMPANY_DATABASE_NAME));
    EXPECT_TRUE(std::filesystem::exists(company.folder() + "/" ADK_COMPANY_SETTINGS_NAME));
    // The one settings record holds the company name in field 0.
    AdkHandle prm = K().CreateData(27);
    ASSERT_EQ(K().First(prm).lRc, 0);
    EXPECT_EQ(GetStr(prm, 0), "Demof\xF6retaget");
    EXPECT_EQ(K().Next(prm).lRc, ADK_ERR_END_OF_TABLE);
    K().DeleteStruct(prm);
}

TEST(KitCompany, VariantAndProgramNameComeFromTheCompany) {
    int32_t variant = -1, flag = -1;
    char name[51];
    EXPECT_EQ(K().GetAdmSize(&variant, name, 50).lRc, ADK_ERR_NOT_OPEN);
    OpenCompany company;
    EXPECT_EQ(K().GetAdmSize(&variant, name, 50).lRc, 0);
    EXPECT_EQ(variant, 1);
    EXPECT_STREQ(name, "Administration 2000");
    variant = -1;
    EXPECT_EQ(K().GetAdmSizeEx(&variant, name, 50).lRc, 0);
    EXPECT_EQ(variant, 1);
    variant = -1;
    EXPECT_EQ(K().GetVariant("/opt/common", &variant, &flag, name, 50).lRc, 0);
    EXPECT_EQ(variant, 1);
    EXPECT_EQ(flag, 0);
}

TEST(KitCompany, VersionMatchesTheFileVersion) {
    int32_t major = 0, minor = 0;
    ASSERT_EQ(K().GetVersion(&major, &minor).lRc, 0);
    // File version 20.3.1.x reads as product version "20.31".
    EXPECT_EQ(major, 20);
    EXPECT_EQ(minor, 31);
}

TEST(KitVersion, TheBuiltKitCarriesTheVersionSetAndCopiesCanCarryAnother) {
    auto info = ReadFileVersion(KitPath());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->FileVersion.ToString(), "20.3.1.100");
    EXPECT_EQ(info->Value("FileVersion"), "20.3.1.100");
    TempDir dir;
    std::string copy = dir / ADK_LIBRARY_FILE_NAME;
    std::filesystem::copy_file(KitPath(), copy);
    PatchFileVersion(copy, "4.3.0.0");
    EXPECT_EQ(ReadFileVersion(copy)->FileVersion.ToString(), "4.3.0.0");
    EXPECT_EQ(ReadFileVersion(KitPath())->FileVersion.ToString(), "20.3.1.100");
}

TEST(KitCompany, TimeStampFieldsOfTables) {
    struct {
        int table, field;
    } cases[] = {{0, 94},   {1, 75}, {2, 137}, {8, 43},  {32, 44},
                 {74, 112}, {37, 7}, {38, 10}, {27, -1}, {3, -1}};
    for (auto c : cases) {
        AdkHandle h = K().CreateData(c.table);
        int32_t f = -2;
        EXPECT_EQ(K().GetTimestampField(h, &f).lRc, 0);
        EXPECT_EQ(f, c.field) << c.table;
        K().DeleteStruct(h);
    }
}

TEST(KitCompany, StubsAnswerNotSupported) {
    EXPECT_EQ(K().GetSie(0, 0, 0, 0).lRc, ADK_ERR_NOT_SUPPORTED);
    EXPECT_EQ(K().GetBookingYearId(0, 0, 0).lRc, ADK_ERR_NOT_SUPPORTED);
}

// Lines of the generated field-definition table, written by hand from the element names that the
// import and export read and the kit field numbers they use.
constexpr const char* kOoiLines[] = {
    "atKunder;KUNDNR;0;CUSTOMER_NUMBER",
    "atKunder;NAMN;1;CUSTOMER_NAME",
    "atArtiklar;ARTNR;0;ARTICLE_NUMBER",
    "atOrder;DOKNR;0;OOI_HEAD_DOCUMENT_NUMBER",
    "atOrder;KUNDNR;14;OOI_HEAD_CUSTOMER_NUMBER",
    "atOrder;ERTORDERNR;28;OOI_HEAD_CUSTOMER_ORDER_NUMBER",
    "atOffert;DOKNR;0;OOI_HEAD_DOCUMENT_NUMBER",
    "atFakturor;DATUM;8;OOI_HEAD_DOCUMENT_DATE1",
    "atFakturor;DATUM2;9;OOI_HEAD_DOCUMENT_DATE2",
    "atOrderRader;ARTNR;0;OOI_ROW_ARTICLE_NUMBER",
    "atOrderRader;LEVANTAL;2;OOI_ROW_QUANTITY1",
    "atOrderRader;TEXT;14;OOI_ROW_TEXT",
    "atOrderRader;RADTYP;19;OOI_ROW_TYPE_OF_ROW",
    "atOrderRader;RADNR;31;OOI_ROW_ROWNUMBER",
    "atOffertRader;ARTNR;0;OOI_ROW_ARTICLE_NUMBER",
    "atFakturaRader;DATUM3;26;OOI_ROW_DATE3",
    "atAvtal;DOKNR;0;AGREEMENT_HEAD_DOCUMENT_NUMBER",
    "atAvtal;KUNDNR;5;AGREEMENT_HEAD_CUSTOMER_NUMBER",
    "atAvtal;SLUTDATUM;95;AGREEMENT_HEAD_END_DATE",
    "atAvtalRader;ARTNR;0;OOI_ROW_ARTICLE_NUMBER",
    "atBestallningar;DOKNR;0;BOOKING_DOCUMENT_NUMBER",
    "atBestallningar;LEVNR;1;BOOKING_SUPPLIER_NUMBER",
    "atBestallningrader;LEVARTNR;1;OOI_ROW_SUPPLIER_ARTICLE_NUMBER",
    "atLevFakturor;DOKNR;0;SUP_INV_HEAD_GIVEN_NUMBER",
    "atLevFakturor;LEVNR;1;SUP_INV_HEAD_SUPPLIER_NUMBER",
    "atLevFakturaRader;FRANDOKUMENT;40;OOI_ROW_FROM_DOCUMENT",
    "atLevFakturaRader;FRANRAD;41;OOI_ROW_FROM_DOCROW",
    "atInkFs;LEVNR;1;DELIVERY_NOTE_SUPPLIER_NUMBER",
    "atManuellIn;DOKNR;0;MANUAL_DELIVERY_IN_DOCUMENT_NUMBER",
    "atManuellIn;ARTNR;1;MANUAL_DELIVERY_IN_ARTICLE_NUMBER",
    "atManuellUt;ARTNR;1;MANUAL_DELIVERY_OUT_ARTICLE_NUMBER",
    "atKundInbetalningar;FAKTURANR;1;CUSTOMERPAYMENT_INVOICE_NUMBER",
    "atKontakter;KONTAKTID;0;CONTACTS_ID",
    "atKontakter;KUNDNR;3;CONTACTS_CUSTOMER_NUMBER",
    "atKontakter;LEVNR;4;CONTACTS_SUPPLIER_NUMBER",
    "atProjekt;PROJEKTKOD;0;PROJECT_CODE_OF_PROJECT",
    "atProjekt;KUNDNR;2;PROJECT_CUSTOMER_NUMBER",
    "atPrislistor;KOD;0;CODE_OF_PRICE_LIST_CODE",
    "atForsaljningspriser;PRISLISTA;0;PRICE_PRICE_LIST",
    "atForsaljningspriser;ARTNR;1;PRICE_ARTICLE_NUMBER",
    "atForsaljningspriser;ANTAL;2;PRICE_QUANTITY",
    "atForsaljningspriser;PRIS;3;PRICE_PRICE",
    "atInkopspriser;ARTNR;0;ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER",
    "atInkopspriser;LEVNR;1;ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER",
    "atInkopspriser;ANTAL;2;ARTICLE_PURCHASE_PRICE_QUANTITY",
    "atInkopspriser;PRIS;3;ARTICLE_PURCHASE_PRICE_PRICE",
    "atInkopspriser;LEVARTNR;4;ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER",
    "atArtikelbenamningar;SPRAKKOD;0;CODE_OF_ARTICLE_NAME_LANGUAGE_CODE",
    "atArtikelbenamningar;BENAMNING;2;CODE_OF_ARTICLE_NAME_NAME",
    "atArtikelbenamningar;BENAMNING2;3;CODE_OF_ARTICLE_NAME_NAME2",
    "atInstallningar;FORETAGSNAMN;0;COMPANY_NAME",
    "atInstallningar;EANLOK;29;COMPANY_EAN_LOCATION",
    "atKolliHuvud;ORDERNR;11;PARCEL_ORDER_NUMBER",
    "atResEnh;KOD;1;PROFIT_CENTRE_CODE",
};

TEST(KitSchema, TheBuildGeneratesOoiTableFromTheSchema) {
    std::ifstream in(std::string(TV_BINARY_DIR) + "/data/tables/ooi.table", std::ios::binary);
    ASSERT_TRUE(in) << "ooi.table is generated into the build tree";
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    std::set<std::string> lines;
    std::string line;
    std::istringstream lineIn(text);
    size_t count = 0;
    while (std::getline(lineIn, line)) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r') << "CR LF line ends";
        line.pop_back();
        EXPECT_TRUE(lines.insert(line).second) << "twice: " << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 3) << line;
        ++count;
    }
    for (const char* expected : kOoiLines) EXPECT_TRUE(lines.count(expected)) << expected;
    // Every mapped field exists in the kit under the name the second column gives.
    TADkExt names;
    for (const auto& l : lines) {
        std::istringstream cells(l);
        std::string table, name, number, title;
        std::getline(cells, table, ';');
        std::getline(cells, name, ';');
        std::getline(cells, number, ';');
        std::getline(cells, title, ';');
        EXPECT_FALSE(title.empty()) << l;
        EXPECT_FALSE(name.empty()) << l;
    }
    EXPECT_GT(count, std::size(kOoiLines));
}

// The statements the system sends to the company database, as its settings and look-ups give them.
constexpr const char* kSystemSql[] = {
    "select artnr as [key], timestamp from art where ( art.timestamp > :startvalue ) order by timestamp asc",
    "select kundnr key, timestamp from kund where ( kund.timestamp > :startvalue ) order by timestamp asc",
    "select doknr key, timestamp from oof where doktyp='O' and ( oof.timestamp > :startvalue ) order by "
    "timestamp asc",
    "select doknr key, timestamp from oof where doktyp='F' and ( oof.timestamp > :startvalue )",
    "select doknr key, timestamp from oof where doktyp='LF' and ( oof.timestamp > :startvalue )",
    " select kontaktid as [key] from kontakt ",
    "select doknr from oof where doktyp='OF'",
    "select doknr from avtal",
    "select artnr from art where artnr = :param1",
    "select artnr from inkpris where levartnr = :param1 and levnr = :param2",
    "select levnr from lev",
};

TEST(KitSchema, TheSqlTheSystemSendsFindsItsTablesAndColumns) {
    OpenCompany company;
    sqlite3* db;
    ASSERT_EQ(sqlite3_open_v2(company.Database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    for (const char* sql : kSystemSql) {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

// The kit and the dataset layer's catalogue agree on every table: its number, its highest field,
// its rows; every sort order the catalogue allows is one the kit accepts, and every key field the
// catalogue fills has a name in the kit, so nothing lands on an unnamed field.
TEST(KitSchema, TablesAndSortOrdersAgreeWithTheCatalogue) {
    for (int ord = 1; ord < kAdkTableCount; ++ord) {
        auto table = static_cast<TAdkTable>(ord);
        int no = GetAdkTableIndex(table);
        AdkHandle h = K().CreateData(no);
        ASSERT_NE(h, nullptr) << AdkTableName(table);
        int max = GetMaxAdkFieldIndex(table);
        int32_t type;
        EXPECT_EQ(K().GetType(h, max, &type).lRc, 0) << AdkTableName(table);
        EXPECT_EQ(K().GetType(h, max + 1, &type).lRc, ADK_ERR_INVALID_NUMBER) << AdkTableName(table);
        if (GetAdkHasRows(table)) {
            EXPECT_EQ(K().GetType(h, GetRowsField(table), &type).lRc, 0);
            EXPECT_EQ(type, ADK_TYPE_DATA) << AdkTableName(table);
            EXPECT_EQ(K().GetType(h, GetRowCountField(table), &type).lRc, 0);
            EXPECT_EQ(type, ADK_TYPE_DOUBLE) << AdkTableName(table);
        }
        for (TAdkSortOrder order : GetValidSortOrders(table)) {
            std::string what = std::string(AdkTableName(table)) + " " + std::string(AdkSortOrderName(order));
            EXPECT_EQ(K().SetSortOrder(h, GetAdkSortOrderIndex(order)).lRc, 0) << what;
            for (int key : GetSortKeyFields(table, order)) {
                if (key < 0 || key > max) continue;
                char name[201];
                EXPECT_EQ(K().GetFieldName(no, key, name, 200).lRc, 0) << what << " key " << key;
            }
        }
        K().DeleteStruct(h);
    }
}

}  // namespace
}  // namespace tv::kit_test
