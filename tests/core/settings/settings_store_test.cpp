// The settings store against a settings root of the test's own: the first start, defaults, bad
// values, the rule tables, the field definitions, repeated query names and a full round trip.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>

#include "core/settings_store.h"
#include "platform/data/db_error.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format_settings.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

constexpr const char* kOoiTable =
    "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n"
    "atKunder;NAMN;1;CUSTOMER_NAME\r\n";

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(TV_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Answers every message box with OK and keeps what it was asked.
class RecordingDialogs : public THeadlessDialogService {
public:
    TMsgAnswer MessageBox(const TMessageBoxRequest& request) override {
        shown.push_back(request.Text);
        return TMsgAnswer::Ok;
    }
    std::vector<std::string> shown;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    explicit SettingsStoreTest(std::vector<std::string> params = {}) : folders(std::move(params)) {
        oldFolder_ = GetCurrentDir();
        SetCurrentDir(folders.dir.Path("start"));
        SetDialogService(&dialogs);
    }
    ~SettingsStoreTest() override {
        SetDialogService(nullptr);
        SetCurrentDir(oldFolder_);
    }

    std::string Root(const std::string& relative = "") const { return folders.Root() + relative; }
    void WriteRoot(const std::string& relative, const std::string& bytes) const {
        folders.dir.Write("common/Brismark/Tollvane/default/" + relative, bytes);
    }
    std::string ReadRoot(const std::string& relative) const { return folders.dir.Read(Root(relative)); }
    void WriteDefinitions() const { WriteRoot("tables/ooi.table", kOoiTable); }

    // Every record of a table as "field=value" lines, for comparing whole tables.
    static std::string Dump(TDataSet& table) {
        std::string text;
        for (table.First(); !table.Eof(); table.Next()) {
            for (int i = 0; i < table.FieldCount(); ++i) {
                const TField& f = table.Fields(i);
                text += f.FieldName() + "=" + (f.IsNull() ? "<null>" : f.AsString()) + "\n";
            }
            text += "--\n";
        }
        return text;
    }

    test::StartupFolders folders;
    test::CapturedLog log;
    RecordingDialogs dialogs;
    TSettingsTables tables;
    TRuleTables rules;
    TWorkFolders work{tables.InstallningarCDS()};
    TSettingsStore store{tables, rules, work};

private:
    std::string oldFolder_;
};

TEST_F(SettingsStoreTest, FirstStartWritesTheDefaultsOfEveryTable) {
    WriteDefinitions();
    store.loadSettings();
    for (const auto& def : tables.Schema().Tables) {
        if (def.Storage != TSettingsStorage::Ini) continue;
        EXPECT_EQ(tables.Table(def.Name).RecordCount(), 1) << def.Name;
    }
    EXPECT_TRUE(rules.Rules().IsEmpty());
    EXPECT_TRUE(tables.CDSExportSQLPrefs().IsEmpty());
    EXPECT_EQ(tables.CDSTables().RecordCount(), 2);

    store.saveSettings();
    const std::string golden = ReadSourceFile("tests/core/settings/first_start.ini");
    EXPECT_EQ(ReadRoot("tollvane.ini"), Crlf(golden));
    EXPECT_EQ(ReadRoot("data/sqlqueries.txt"), "");
    EXPECT_EQ(ReadRoot("data/rules.txt"), "");
    EXPECT_EQ(ReadRoot("data/ruleitems.txt"), "");
    EXPECT_EQ(ReadRoot("data/exportcustomerpricelist.txt"),
              "customernumber;customername;lopnr;agreementref\r\n");
    for (const char* side : {"export", "import"})
        for (const char* sub : {"obehandlade", "felaktiga", "behandlade", "skickas", "skickat"})
            EXPECT_TRUE(DirectoryExists(Root(side) + "/" + sub)) << side << "/" << sub;
    EXPECT_EQ(log.Text(), "");
    EXPECT_TRUE(dialogs.shown.empty());

    // What was written reads back as the defaults, blanks at the ends of the queries included.
    TSettingsTables again;
    TRuleTables againRules;
    TWorkFolders againWork{again.InstallningarCDS()};
    TSettingsStore againStore{again, againRules, againWork};
    againStore.loadSettings();
    for (const auto& def : tables.Schema().Tables) {
        if (def.OwnedByPlugins) continue;
        EXPECT_EQ(Dump(again.Table(def.Name)), Dump(tables.Table(def.Name))) << def.Name;
    }
}

TEST_F(SettingsStoreTest, TheSettingsRootAndItsFilesArePrivateToTheUser) {
    auto mode = [](const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_mode & 0777;
    };
    WriteDefinitions();
    WriteRoot("tollvane.ini", "[General]\r\n");
    ::chmod(Root("tollvane.ini").c_str(), 0644);  // as an earlier version left it
    ::chmod(ExcludeTrailingPathDelimiter(Root()).c_str(), 0755);
    store.loadSettings();
    EXPECT_EQ(mode(ExcludeTrailingPathDelimiter(Root())), 0700u);
    EXPECT_EQ(mode(Root("tollvane.ini")), 0600u);
    store.saveSettings();
    EXPECT_EQ(mode(Root("tollvane.ini")), 0600u);
    for (const char* table : {"data/sqlqueries.txt", "data/rules.txt", "data/exportcustomerpricelist.txt"})
        EXPECT_EQ(mode(Root(table)), 0600u) << table;
    EXPECT_EQ(log.Text(), "");
}

TEST_F(SettingsStoreTest, AValueWindows1252CannotHoldMakesTheIniFileUtf8AndStopsNothing) {
    WriteDefinitions();
    store.loadSettings();
    TClientDataSet& general = tables.InstallningarCDS();
    general.Edit();
    general.FieldByName("CompanyPassword").SetAsString("пароль");
    general.Post();
    store.saveSettings();
    const std::string ini = ReadRoot("tollvane.ini");
    EXPECT_TRUE(ini.starts_with("\xEF\xBB\xBF")) << ini.substr(0, 20);
    EXPECT_TRUE(FileExists(Root("data/rules.txt"))) << "the text tables are still written";
    const std::string text = log.Text();
    EXPECT_NE(text.find("WARN " + Root("tollvane.ini") +
                        " is written as UTF-8 with a byte-order mark: the value of CompanyPassword holds"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("пароль"), std::string::npos) << "a password never reaches the log";

    TSettingsTables again;
    TRuleTables againRules;
    TWorkFolders againWork{again.InstallningarCDS()};
    TSettingsStore againStore{again, againRules, againWork};
    againStore.loadSettings();
    EXPECT_EQ(again.InstallningarCDS().FieldByName("CompanyPassword").AsString(), "пароль");
}

TEST_F(SettingsStoreTest, AMissingSectionOrKeyGivesTheDefaults) {
    WriteDefinitions();
    WriteRoot("tollvane.ini",
              "[importbest]\r\nON_BEST_EXIST=2\r\n"
              "[importagreements]\r\nSEARCH_AGREEMENT_CDX=\r\n"
              "[general]\r\nCompanyUsername=kalle\r\n");
    store.loadSettings();
    struct Row {
        const char* table;
        const char* field;
        const char* value;
    };
    constexpr Row kRows[] = {
        {"CDSImportBestPrefs", "ON_BEST_EXIST", "2"},
        {"CDSImportBestPrefs", "ON_BEST_DOES_NOT_EXIST", "1"},
        {"CDSImportBestPrefs", "IGNORE_EMPTY_TEXTROWS", "True"},
        {"CDSImportAgreementPrefs", "SEARCH_AGREEMENT_CDX", "-32"},  // present but empty
        {"CDSExportContactsPrefs", "SELECTION_SQL", " select kontaktid as [key] from kontakt "},
        {"CDSExportContactsPrefs", "FILE_MANAGEMENT_TMPL", "kontakter.xml"},
        {"CDSImportOrderPrefs", "SEARCH_ORDER_SQL",
         "select doknr from oof where doktyp='O' and doknr = val ( :param1 ) "},
        {"InstallningarCDS", "CompanyUsername", "kalle"},
        {"InstallningarCDS", "CompanySQLAuthMode", "0"},
        {"CDSTidPrefs", "TIDActivated", ""},
    };
    for (const auto& row : kRows)
        EXPECT_EQ(tables.Table(row.table).FieldByName(row.field).AsString(), row.value) << row.field;
}

TEST_F(SettingsStoreTest, ABadValueIsLoggedAndLosesNothingElse) {
    WriteDefinitions();
    const std::string ini =
        "[general]\r\nDEBUG_MODE=ja\r\nCompanyUsername=kalle\r\n"
        "[exportbest]\r\nBEST_FILE_MANAGEMENT_TYPE=x\r\nBEST_MARK_PRINTED=1\r\n"
        "[exportaccountplan]\r\nFILE_MANAGEMENT_TYPE=y\r\nFILE_MANAGEMENT_TMPL=plan.xml\r\n"
        "[identities]\r\nLOPNR_EXPORT_ORDER=z\r\nLOPNR_EXPORT_BEST=41\r\n"
        "[importpurchaseprices]\r\nON_PP_EXIST=q\r\n"
        "[importsalesprices]\r\nON_SP_EXIST=2\r\n";
    WriteRoot("tollvane.ini", ini);
    store.loadSettings();
    const std::string logged = log.Text();
    const char* kLines[] = {
        "ERROR InstallningarCDS :: Kunde inte ladda in identiteter: 'ja' is not a valid integer value for "
        "field 'DEBUG_MODE' : EConvertError: 'ja' is not a valid integer value for field 'DEBUG_MODE'\n",
        "ERROR CDSExportBestPrefs :: Kunde inte ladda in identiteter: 'x' is not a valid integer value for "
        "field 'BEST_FILE_MANAGEMENT_TYPE' : EConvertError: ",
        "ERROR CDSExportAccountingPlanPrefs :: Kunde inte ladda in kontoplan: 'y' is not a valid integer "
        "value for field 'FILE_MANAGEMENT_TYPE' : EConvertError: ",
        "ERROR Kunde inte ladda in identiteter: 'z' is not a valid integer value for field "
        "'LOPNR_EXPORT_ORDER': EConvertError: ",
        // the purchase-price table's line carries no exception
        "ERROR CDSImportPurchasePrices :: Kunde inte ladda in identiteter: 'q' is not a valid integer value "
        "for field 'ON_PP_EXIST' \n",
    };
    for (const char* line : kLines)
        EXPECT_NE(logged.find(line), std::string::npos) << line << "\nin:\n" << logged;

    // The other keys of the same sections and the sections after them loaded.
    EXPECT_EQ(tables.InstallningarCDS().FieldByName("CompanyUsername").AsString(), "kalle");
    EXPECT_EQ(tables.Table("CDSExportBestPrefs").FieldByName("BEST_MARK_PRINTED").AsInteger(), 1);
    EXPECT_EQ(tables.Table("CDSExportAccountingPlanPrefs").FieldByName("FILE_MANAGEMENT_TMPL").AsString(),
              "plan.xml");
    EXPECT_EQ(tables.CDSLopnr().FieldByName("LOPNR_EXPORT_BEST").AsInteger(), 41);
    EXPECT_EQ(tables.Table("CDSImportPurchasePrices").FieldByName("ON_PP_EXIST").AsInteger(), 0);
    EXPECT_EQ(tables.Table("CDSImportSalesPrices").FieldByName("ON_SP_EXIST").AsInteger(), 2);

    // Saving keeps every good value; only the bad ones are written as the fields now stand.
    store.saveSettings();
    const std::string saved = ReadRoot("tollvane.ini");
    for (const char* line :
         {"CompanyUsername=kalle\r\n", "BEST_MARK_PRINTED=1\r\n", "FILE_MANAGEMENT_TMPL=plan.xml\r\n",
          "ON_SP_EXIST=2\r\n", "BEST_FILE_MANAGEMENT_TYPE=\r\n", "DEBUG_MODE=\r\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    // The running numbers are not written by saveSettings.
    EXPECT_NE(saved.find("[identities]\r\nLOPNR_EXPORT_ORDER=z\r\nLOPNR_EXPORT_BEST=41\r\n"),
              std::string::npos);
}

TEST_F(SettingsStoreTest, RuleItemsAreAllWrittenWhileTheMasterStandsOnOneRule) {
    WriteDefinitions();
    WriteRoot("data/rules.txt", "Hämta;Hämtar filer;1\r\nSkicka;;0\r\n");
    WriteRoot("data/ruleitems.txt",
              "Skicka;7;Till ftp;put;plugin_put_ftp;1\r\n"
              "Hämta;12;Läs;get;plugin_get_folder;1\r\n"
              "Hämta;31;Gör om;xform;plugin_xform_x;2\r\n");
    store.loadSettings();
    TClientDataSet& items = rules.RuleItems();
    ASSERT_TRUE(rules.Rules().Locate("RuleName", Variant::FromUtf8("Hämta")));
    EXPECT_EQ(items.RecordCount(), 2);
    ASSERT_TRUE(rules.Rules().Locate("RuleName", Variant::FromUtf8("Skicka")));
    EXPECT_EQ(items.RecordCount(), 1);
    EXPECT_EQ(items.FieldByName("RULE_ITEM_PLUGIN_NAME").AsString(), "plugin_put_ftp");

    // A new item of the current rule, and an edit of the rule.
    items.Append();
    items.FieldByName("RULE_ITEM_NAME").SetAsInteger(99);
    items.FieldByName("RULE_ITEM_ORDER").SetAsInteger(2);
    items.Post();
    rules.Rules().Edit();
    rules.Rules().FieldByName("RULE_DESCRIPTION").SetAsString("Skickar; alltid");
    store.saveSettings();
    EXPECT_EQ(ReadRoot("data/rules.txt"), "H\xE4mta;H\xE4mtar filer;1;\r\nSkicka;Skickar\\x3B alltid;0;\r\n");
    EXPECT_EQ(ReadRoot("data/ruleitems.txt"),
              "H\xE4mta;12;L\xE4s;get;plugin_get_folder;1\r\n"
              "H\xE4mta;31;G\xF6r om;xform;plugin_xform_x;2\r\n"
              "Skicka;7;Till ftp;put;plugin_put_ftp;1\r\n"
              "Skicka;99;;;;2\r\n");
    // The link to the rules is back.
    EXPECT_EQ(items.RecordCount(), 2);
}

TEST_F(SettingsStoreTest, MissingFieldDefinitionsRaiseAfterEveryTableLoaded) {
    WriteRoot("tollvane.ini", "[importsalesprices]\r\nON_SP_EXIST=2\r\n");
    WriteRoot("data/rules.txt", "R;;1\r\n");
    try {
        store.loadSettings();
        ADD_FAILURE() << "loaded without field definitions";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Hittade inte definitionsfil : ooi.table");
    }
    EXPECT_EQ(tables.Table("CDSImportSalesPrices").FieldByName("ON_SP_EXIST").AsInteger(), 2);
    EXPECT_EQ(rules.Rules().RecordCount(), 1);
    EXPECT_TRUE(DirectoryExists(Root("import/obehandlade")));
}

TEST_F(SettingsStoreTest, FieldDefinitionsComeFromTheCurrentFolderFirstAndAreNotRepeated) {
    WriteDefinitions();
    folders.dir.Write("start/tables/ooi.table", "atArtiklar;ARTNR;0;ARTICLE_NUMBER\r\n");
    store.loadSettings();
    store.loadSettings();
    EXPECT_EQ(Dump(tables.CDSTables()),
              "const_table=atArtiklar\nconst_string=ARTNR\nconst_value=0\nconst_title=ARTICLE_NUMBER\n--\n");
    DeleteFile(folders.dir.Path("start/tables/ooi.table"));
    store.loadFieldDefinitions();
    EXPECT_EQ(tables.CDSTables().RecordCount(), 2);
}

TEST_F(SettingsStoreTest, ARepeatedQueryNameIsLoadedUnderANewNameWithoutADialog) {
    WriteDefinitions();
    WriteRoot("data/sqlqueries.txt",
              "Kunder;select 1;;;False\r\n"
              "Kunder;select 2;;;False\r\n"
              "Artiklar;select 3;;;True\r\n"
              "Kunder;select 4;;;False\r\n");
    store.loadSettings();
    TClientDataSet& queries = tables.CDSExportSQLPrefs();
    EXPECT_EQ(Dump(queries),
              "SQL_QUERY_NAME=Artiklar\nSQL_QUERY=select 3\nSQL_FILE_MANAGEMENT_TMPL=<null>\n"
              "SQL_FILE_DATE_FORMAT=<null>\nSQL_INCLUDE_METADATA=True\n--\n"
              "SQL_QUERY_NAME=Kunder\nSQL_QUERY=select 1\nSQL_FILE_MANAGEMENT_TMPL=<null>\n"
              "SQL_FILE_DATE_FORMAT=<null>\nSQL_INCLUDE_METADATA=False\n--\n"
              "SQL_QUERY_NAME=Kunder (2)\nSQL_QUERY=select 2\nSQL_FILE_MANAGEMENT_TMPL=<null>\n"
              "SQL_FILE_DATE_FORMAT=<null>\nSQL_INCLUDE_METADATA=False\n--\n"
              "SQL_QUERY_NAME=Kunder (3)\nSQL_QUERY=select 4\nSQL_FILE_MANAGEMENT_TMPL=<null>\n"
              "SQL_FILE_DATE_FORMAT=<null>\nSQL_INCLUDE_METADATA=False\n--\n");
    EXPECT_EQ(
        log.Text(),
        "ERROR CDSExportSQLPrefs :: Frågenamnet [Kunder] fanns redan; frågan laddades som [Kunder (2)] \n"
        "ERROR CDSExportSQLPrefs :: Frågenamnet [Kunder] fanns redan; frågan laddades som [Kunder (3)] \n");
    EXPECT_TRUE(dialogs.shown.empty());

    // Outside a load, a repeated name shows the message and the record stays unposted.
    queries.Append();
    queries.FieldByName("SQL_QUERY_NAME").SetAsString("Artiklar");
    EXPECT_THROW(queries.Post(), EAbort);
    EXPECT_EQ(queries.State(), dsInsert);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0],
              "Ett fel uppstod: Key violation.\r\nNotera att samma namn inte får förekomma vid mer än ett "
              "tillfälle.\r\nAnvänd escape för att avbryta.");
    queries.Cancel();
}

// A query file that repeats one name very often still loads every query, each under a name of its
// own, and the queries after the repeats.
TEST_F(SettingsStoreTest, ANameRepeatedVeryOftenStillLoadsEveryQuery) {
    WriteDefinitions();
    constexpr int kCopies = 1500;
    std::string file;
    for (int i = 1; i <= kCopies; ++i) file += "Kunder;select " + std::to_string(i) + ";;;False\r\n";
    file += "Zeta;select 0;;;True\r\n";
    WriteRoot("data/sqlqueries.txt", file);
    store.loadSettings();
    std::map<std::string, std::string> queries;
    TClientDataSet& table = tables.CDSExportSQLPrefs();
    for (table.First(); !table.Eof(); table.Next())
        queries[table.FieldByName("SQL_QUERY_NAME").AsString()] = table.FieldByName("SQL_QUERY").AsString();
    EXPECT_EQ(queries.size(), kCopies + 1u);
    EXPECT_EQ(queries["Kunder"], "select 1");
    EXPECT_EQ(queries["Kunder (2)"], "select 2");
    EXPECT_EQ(queries["Kunder (1500)"], "select 1500");
    EXPECT_EQ(queries["Zeta"], "select 0");
}

TEST_F(SettingsStoreTest, OnlyTheQueryFileMayFailWithoutStoppingTheSave) {
    WriteDefinitions();
    store.loadSettings();
    rules.Rules().Append();
    rules.Rules().FieldByName("RuleName").SetAsString("R");
    rules.Rules().Post();
    // A folder where the query file should be: the query file cannot be written.
    folders.dir.MakeFolder("common/Brismark/Tollvane/default/data/sqlqueries.txt/blocked");
    store.saveSettings();
    EXPECT_NE(log.Text().find("ERROR Kunde inte spara sqlfrågor : ["), std::string::npos) << log.Text();
    EXPECT_EQ(ReadRoot("data/rules.txt"), "R;;;\r\n");
    EXPECT_TRUE(FileExists(Root("data/exportcustomerpricelist.txt")));
    EXPECT_TRUE(DirectoryExists(Root("export/skickat")));

    // Any other text table that cannot be written stops the save.
    DeleteFile(Root("data/rules.txt"));
    folders.dir.MakeFolder("common/Brismark/Tollvane/default/data/rules.txt/blocked");
    EXPECT_ANY_THROW(store.saveSettings());
}

// A text table whose file was not read to its end (here a check before each post refuses a record,
// as a failing read would stop the load) is not written over that file by the next save: the query
// file's refusal is logged and the save goes on, the rule file's is raised. Read whole again, both
// are saved as usual.
TEST_F(SettingsStoreTest, ATextTableNotReadToItsEndIsNotWrittenOverItsFile) {
    WriteDefinitions();
    const std::string queries = "A;select 1;;;False\r\nB;select 2;;;False\r\nC;select 3;;;False\r\n";
    const std::string ruleLines = "R1;;1;\r\nR2;;0;\r\n";
    WriteRoot("data/sqlqueries.txt", queries);
    WriteRoot("data/rules.txt", ruleLines);
    int posts = 0;
    tables.CDSExportSQLPrefs().BeforePost = [&](TDataSet*) {
        if (++posts == 2) throw EDatabaseError("refused");
    };
    rules.Rules().BeforePost = [](TDataSet*) { throw EDatabaseError("refused"); };
    store.loadSettings();
    tables.CDSExportSQLPrefs().BeforePost = nullptr;
    rules.Rules().BeforePost = nullptr;
    EXPECT_EQ(tables.CDSExportSQLPrefs().RecordCount(), 1);

    EXPECT_THROW(store.saveSettings(), Exception);
    EXPECT_EQ(ReadRoot("data/sqlqueries.txt"), queries);
    EXPECT_EQ(ReadRoot("data/rules.txt"), ruleLines);
    EXPECT_NE(log.Text().find("ERROR Kunde inte spara sqlfrågor : [Filen [" + Root("data/sqlqueries.txt") +
                              "] lästes inte in helt och skrivs inte över] "),
              std::string::npos)
        << log.Text();

    store.loadSettings();
    rules.Rules().Append();
    rules.Rules().FieldByName("RuleName").SetAsString("R3");
    rules.Rules().Post();
    store.saveSettings();
    EXPECT_EQ(ReadRoot("data/sqlqueries.txt"), queries);
    EXPECT_EQ(ReadRoot("data/rules.txt"), ruleLines + "R3;;;\r\n");
}

// A value of each field's type that is not its default: texts with the characters the files
// escape, numbers, and both truth values.
std::string SampleValue(const TSettingsFieldDef& field, int row) {
    const std::string tag = field.Name + "#" + std::to_string(row);
    switch (field.Type) {
        case TFieldType::ftString:
            return (" å;é" + tag).substr(0, static_cast<size_t>(field.Size));  // cut in the tag
        case TFieldType::ftMemo:
            return "select \"" + tag + "\" from t;\r\n\twhere a = '\\x3B';";
        case TFieldType::ftBoolean:
            return (field.Name.size() + static_cast<size_t>(row)) % 2 ? "True" : "False";
        case TFieldType::ftLargeint:
            return std::to_string(10000000000LL + static_cast<long long>(field.Name.size()) + row);
        default:
            return std::to_string(static_cast<int>(field.Name.size()) * 7 - 50 + row);
    }
}

TEST_F(SettingsStoreTest, SaveThenLoadGivesBackEveryTable) {
    WriteDefinitions();
    store.loadSettings();
    rules.Rules().Append();  // a rule for the items below, so the master link keeps them in view
    rules.Rules().FieldByName("RuleName").SetAsString("RuleItems#0");
    rules.Rules().Post();
    std::map<std::string, std::string> expected;
    for (const auto& def : tables.Schema().Tables) {
        if (def.Storage == TSettingsStorage::Definitions) continue;
        TClientDataSet& table = def.OwnedByPlugins ? (def.Name == "Rules" ? rules.Rules() : rules.RuleItems())
                                                   : tables.Table(def.Name);
        const int rows = def.Storage == TSettingsStorage::Text ? 2 : 1;
        if (def.Name == "RuleItems") rules.Rules().Locate("RuleName", Variant::FromUtf8("RuleItems#0"));
        for (int row = 0; row < rows; ++row) {
            if (def.Storage == TSettingsStorage::Ini)
                table.Edit();
            else
                table.Append();
            for (const auto& field : def.Fields)
                table.FieldByName(field.Name).SetAsString(SampleValue(field, row));
            if (def.Name == "RuleItems") table.FieldByName("rulename").SetAsString("RuleItems#0");
            table.Post();
        }
        if (def.Name != "Rules") expected[def.Name] = Dump(table);
    }
    store.saveSettings();
    store.saveIdentities();

    TSettingsTables loadedTables;
    TRuleTables loadedRules;
    TWorkFolders loadedWork{loadedTables.InstallningarCDS()};
    TSettingsStore loaded{loadedTables, loadedRules, loadedWork};
    loaded.loadSettings();
    ASSERT_TRUE(loadedRules.Rules().Locate("RuleName", Variant::FromUtf8("RuleItems#0")));
    for (const auto& [name, dump] : expected) {
        TClientDataSet& table = name == "RuleItems" ? loadedRules.RuleItems() : loadedTables.Table(name);
        EXPECT_EQ(Dump(table), dump) << name;
    }
    EXPECT_EQ(loadedRules.Rules().RecordCount(), 3);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(SettingsStoreTest, RunningNumbersAreWrittenAloneAndOnlyBySaveIdentities) {
    WriteDefinitions();
    WriteRoot("tollvane.ini",
              "[identities]\r\nLOPNR_EXPORT_ORDER=7\r\n[general]\r\nCompanyUsername=kalle\r\n");
    store.loadSettings();
    tables.InstallningarCDS().Edit();
    tables.InstallningarCDS().FieldByName("CompanyUsername").SetAsString("edited, not saved");
    tables.CDSLopnr().Edit();
    tables.CDSLopnr().FieldByName("LOPNR_EXPORT_ORDER").SetAsLargeInt(8);
    tables.CDSLopnr().Post();
    store.saveIdentities();
    EXPECT_EQ(ReadRoot("tollvane.ini"),
              "[identities]\r\nLOPNR_EXPORT_ORDER=8\r\nLOPNR_EXPORT_ARTIKLAR=\r\nLOPNR_EXPORT_FAKTUROR=\r\n"
              "LOPNR_EXPORT_LEVFAKTURA=\r\nLOPNR_EXPORT_LEVERANTORER=\r\nLOPNR_EXPORT_BEST=\r\n"
              "LOPNR_EXPORT_KUNDER=\r\nLOPNR_EXPORT_OFFER=\r\nLOPNR_EXPORT_ACCOUNTPLAN=\r\n"
              "LOPNR_EXPORT_KONTAKTER=\r\nLOPNR_EXPORT_SUPINV=\r\n[general]\r\nCompanyUsername=kalle\r\n");

    tables.CDSLopnr().Edit();
    tables.CDSLopnr().FieldByName("LOPNR_EXPORT_ORDER").SetAsLargeInt(100);
    tables.CDSLopnr().Post();
    store.saveSettings();
    const std::string saved = ReadRoot("tollvane.ini");
    EXPECT_NE(saved.find("LOPNR_EXPORT_ORDER=8\r\n"), std::string::npos);
    EXPECT_NE(saved.find("CompanyUsername=edited, not saved\r\n"), std::string::npos);
}

class ForceDotTest : public SettingsStoreTest {
protected:
    ForceDotTest() : SettingsStoreTest({"/FORCEDOT"}), saved_(DefaultFormatSettings()) {}
    ~ForceDotTest() override { DefaultFormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

TEST_F(ForceDotTest, TheSwitchTakesEffectWhenTheSettingsLoad) {
    WriteDefinitions();
    DefaultFormatSettings().DecimalSeparator = ',';
    DefaultFormatSettings().ThousandSeparator = '.';
    store.loadSettings();
    EXPECT_EQ(DefaultFormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(DefaultFormatSettings().ThousandSeparator, ' ');
}

}  // namespace
}  // namespace tv
