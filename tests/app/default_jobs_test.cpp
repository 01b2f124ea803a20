// The default jobs the program ships (data/scripts), run end to end by the program in an
// installation of its own against a company made with adkctl: "/import" of a file holding every
// kind, a file whose check fails, "/export" of every kind compared with hand-written files, and
// the integration menu's "/runscript export\default_smart.pas" for each register it knows.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/adk/adk_test_support.h"
#include "tests/app/program_fixture.h"
#include "tests/support/scoped_env.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& relative) {
    return std::string(TV_FIXTURES_DIR) + "/" + relative;
}

// Writes `bytes` to the file at `path`, creating its folder.
void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Occurrences of `part` in `text`.
size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

class DefaultJobsTest : public test::ProgramFixture {
protected:
    DefaultJobsTest() : ProgramFixture(TV_TOLLVANE) {}

    // The installation's default scripts, a company seeded with `seedSql`, and a settings root
    // pointed at it by the provisioning run.
    void Install(const std::string& seedSql) {
        fs::copy(std::string(TV_SOURCE_DIR) + "/data/scripts", dir.Path("prog/scripts"),
                 fs::copy_options::recursive);
        dir.MakeFolder("ftg");
        test::MakeCompany(dir, Company(), seedSql);
        dir.Write("prog/Adk.ini", "[Adk]\r\nPath=" + test::FolderOf(TV_KIT) + "\r\n");
        dir.Write("start/setup.ini", "[General]\r\nVismaPath=" + Company() + "\r\n");
        ASSERT_EQ(Run({"/setup"}), 0) << Log();
    }
    std::string Company() const { return dir.Path("ftg/demo"); }

    // Sets `key` of the settings section `section`, which the provisioning run has written.
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        const std::string path = Root("tollvane.ini");
        std::string ini = dir.Read(path), out;
        bool inside = false, found = false;
        for (size_t at = 0; at < ini.size();) {
            size_t end = ini.find("\r\n", at);
            end = end == std::string::npos ? ini.size() : end + 2;
            std::string line = ini.substr(at, end - at);
            at = end;
            if (line.starts_with("[")) inside = line.starts_with("[" + section + "]");
            if (inside && line.starts_with(key + "=")) {
                line = key + "=" + value + "\r\n";
                found = true;
            }
            out += line;
        }
        ASSERT_TRUE(found) << section << "." << key;
        WriteFile(path, out);
    }

    // The records of a kit table as adkctl prints them.
    std::string Dump(const std::string& table) {
        const std::string log = dir.Path("dump.txt");
        EXPECT_EQ(test::RunAdkctl({"dump", Company(), table}, log), 0) << table;
        return dir.Read(log);
    }
    // The number of records of a kit table (rows of documents are indented).
    size_t Records(const std::string& table) {
        std::istringstream dump(Dump(table));
        size_t n = 0;
        for (std::string line; std::getline(dump, line);)
            if (!line.empty() && line[0] != ' ') ++n;
        return n;
    }

    // The names of the files in a work folder below the settings root.
    std::vector<std::string> Files(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Root(folder))) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The settings the demo interchange file needs beyond a fresh installation's: contacts found
    // by name, delivery notes by number, and a purchase order not in the company created.
    void ImportSettings() {
        Set("importcontacts", "SEARCH_CDX", "190");
        Set("importdeliverynote", "SEARCH_CDX", "146");
        Set("importbest", "ON_BEST_DOES_NOT_EXIST", "0");
    }
};

// The kit tables the import kinds write.
const char* const kKindTables[] = {
    "atKunder",   "atLeverantorer",      "atArtiklar",      "atKontakter",   "atProjekt",
    "atInkopspriser", "atForsaljningspriser", "atOrder",     "atOfferter",    "atFakturor",
    "atAvtal",    "atKundinbetalningar", "atBestallningar", "atLevFakturor", "atInkommandeFoljesedel",
    "atManuellinleverans", "atManuellutleverans",
};

TEST_F(DefaultJobsTest, AnImportOfAFileHoldingEveryKindCreatesItsRecordsAndArchivesItAsProcessed) {
    Install(dir.Read(Fixture("kit/demo_company.sql")));
    ImportSettings();
    std::vector<size_t> before;
    for (const char* table : kKindTables) before.push_back(Records(table));
    WriteFile(Root("import/obehandlade/demo.xml"), dir.Read(std::string(TV_SOURCE_DIR) + "/tools/demo/demo_import.xml"));

    EXPECT_EQ(Run({"/import"}), 0) << Log();
    const std::string log = Log();
    EXPECT_NE(log.find("INFO  Avslutad"), std::string::npos) << log;
    EXPECT_EQ(log.find(" ERROR "), std::string::npos) << log;
    EXPECT_EQ(Files("import/behandlade"), std::vector<std::string>{"demo.xml"});
    EXPECT_TRUE(Files("import/obehandlade").empty());
    EXPECT_TRUE(Files("import/felaktiga").empty());

    // One new record of every kind: the file's new records and the ones written for them.
    for (size_t i = 0; i < std::size(kKindTables); ++i)
        EXPECT_EQ(Records(kKindTables[i]), before[i] + 1) << kKindTables[i];
    // The changed customer, and the new records refer to one another by their new numbers.
    EXPECT_NE(Dump("atKunder").find("KUNDNR=1002; NAMN=Bengt Berg AB"), std::string::npos);
    EXPECT_NE(Dump("atKunder").find("KUNDNR=1003; NAMN=Cecilia Ek; ORT=Gävle"), std::string::npos) << "aux";
    EXPECT_NE(Dump("atKunder").find("KUNDNR=1004; NAMN=Demo Kund AB"), std::string::npos);
    EXPECT_NE(Dump("atKontakter").find("KUNDNR=1004"), std::string::npos) << Dump("atKontakter");
    EXPECT_NE(Dump("atOrder").find("KUNDNR=1004"), std::string::npos);
    EXPECT_NE(Dump("atOrder").find("ARTNR=D100"), std::string::npos);
}

TEST_F(DefaultJobsTest, AFileWhoseOnlyKindFailsItsCheckGoesToFailedAndChangesNothing) {
    Install(dir.Read(Fixture("kit/demo_company.sql")));
    std::vector<std::string> before;
    for (const char* table : kKindTables) before.push_back(Dump(table));
    // An order of a customer the file does not hold.
    WriteFile(Root("import/obehandlade/order.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quorvel><orders><order>\n"
              "<atOrder customerkey=\"okand\" key=\"900\"/>\n"
              "<rows><row artkey=\"A100\"><OOI_ROW_QUANTITY2>1</OOI_ROW_QUANTITY2></row></rows>\n"
              "</order></orders></quorvel>\n");

    EXPECT_EQ(Run({"/import"}), 0) << Log();
    const std::string log = Log();
    EXPECT_NE(log.find("ERROR  Kundnyckel fanns ej i systemet"), std::string::npos) << log;
    EXPECT_EQ(log.find("Importerar"), std::string::npos) << "nothing is imported after a failed check\n" << log;
    EXPECT_NE(log.find("INFO  Avslutad"), std::string::npos) << log;
    EXPECT_EQ(Files("import/felaktiga"), std::vector<std::string>{"order.xml"});
    EXPECT_TRUE(Files("import/behandlade").empty());
    for (size_t i = 0; i < std::size(kKindTables); ++i) EXPECT_EQ(Dump(kKindTables[i]), before[i]) << kKindTables[i];
}


// The export's files, each selected by its kind's settings, against the files the export engine's
// own tests hold for the same records, settings and field mapping (tests/fixtures/export), under
// Swedish formats.
struct ExportedFile {
    const char* name;    // written into export/obehandlade
    const char* golden;  // below tests/fixtures/export; empty: only the records are looked for
    std::vector<const char*> holds;
};

TEST_F(DefaultJobsTest, AnExportWritesTheFilesTheExportSettingsSelect) {
    Install(dir.Read(Fixture("export/company.sql")) + dir.Read(Fixture("export/documents.sql")) +
            dir.Read(Fixture("export/purchases.sql")) + dir.Read(Fixture("export/pricelists.sql")));
    // The field mapping those files were written with.
    fs::copy_file(Fixture("export/ooi.table"), dir.Path("prog/tables/ooi.table"),
                  fs::copy_options::overwrite_existing);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } settings[] = {
        {"exportcustomers", "FILE_MANAGEMENT_TYPE", "1"},
        {"exportcustomers", "FILE_MANAGEMENT_TMPL", "kund_$kundnr.xml"},
        {"exportcustomers", "SELECTION_TYPE", "SQL"},
        {"exportcustomers", "SELECTION_SQL", "select kundnr from kund where kundnr in ('1001', '1002') order by kundnr"},
        {"exportsuppliers", "FILE_MANAGEMENT_TMPL", "lev.xml"},
        {"exportcontacts", "FILE_MANAGEMENT_TMPL", "kontakter.xml"},
        {"exportarticles", "FILE_MANAGEMENT_TMPL", "artiklar.xml"},
        {"exportarticles", "SELECTION_TYPE", "SQL"},
        {"exportarticles", "SELECTION_SQL", "select artnr from art where artnr = 'A1'"},
        {"exportarticles", "INCLUDE_PACKAGE_ARTICLES", "1"},
        {"exportpricelists", "FILE_MANAGEMENT_TMPL", "prislistor.xml"},
        {"exportorders", "ORDER_FILE_MANAGEMENT_TYPE", "1"},
        {"exportorders", "ORDER_FILE_MANAGEMENT_TMPL", "order_$ordernr.xml"},
        {"exportorders", "ORDER_INCLUDES_CUSTOMERS", "1"},
        {"exportorders", "ORDER_INCLUDES_ARTICLES", "1"},
        {"exportorders", "ORDER_INCLUDES_KOLLI", "1"},
        {"exportorders", "ORDER_SELECTION_TYPE", "SQL"},
        {"exportorders", "ORDER_SELECTION_SQL", "select doknr from orderhuvud where doknr in (1, 3) order by doknr"},
        {"exportoffers", "FILE_MANAGEMENT_TYPE", "1"},
        {"exportoffers", "FILE_MANAGEMENT_TMPL", "offer_$offertnr.xml"},
        {"exportoffers", "INCLUDES_CUSTOMERS", "1"},
        {"exportoffers", "SELECTION_TYPE", "SQL"},
        {"exportoffers", "SELECTION_SQL", "select doknr from offerthuvud where doknr = 1"},
        {"exportinvoices", "INVOICE_FILE_MANAGEMENT_TYPE", "1"},
        {"exportinvoices", "INVOICE_FILE_MANAGEMENT_TMPL", "invoice_$fakturanr.xml"},
        {"exportinvoices", "INVOICE_INCLUDES_CUSTOMERS", "1"},
        {"exportinvoices", "INVOICE_INCLUDES_ARTICLES", "0"},
        {"exportinvoices", "INVOICE_SELECTION_TYPE", "SQL"},
        {"exportinvoices", "INVOICE_SELECTION_SQL", "select doknr from fakturahuvud where doknr = 1"},
        {"exportbest", "BEST_FILE_MANAGEMENT_TYPE", "1"},
        {"exportbest", "BEST_FILE_MANAGEMENT_TMPL", "best_$bestnr.xml"},
        {"exportbest", "BEST_INCLUDES_CUSTOMERS", "1"},
        {"exportbest", "BEST_INCLUDES_FTG_INFO", "1"},
        {"exportbest", "BEST_SELECTION_TYPE", "SQL"},
        {"exportbest", "BEST_SELECTION_SQL", "select doknr from best where doknr = 1"},
        {"exportsupplierinvoices", "SUPINV_FILE_MANAGEMENT_TYPE", "1"},
        {"exportsupplierinvoices", "SUPINV_FILE_MANAGEMENT_TMPL", "lf_$ordernr_$kundnr.xml"},
        {"exportsupplierinvoices", "SUPINV_INCLUDES_SUPPLIERS", "1"},
        {"exportsupplierinvoices", "SUPINV_SELECTION_TYPE", "SQL"},
        {"exportsupplierinvoices", "SUPINV_SELECTION_SQL", "select doknr from levfakturahuvud where doknr = 1"},
    };
    for (const auto& s : settings) Set(s.section, s.key, s.value);

    test::ScopedEnv swedish("LC_ALL", "sv_SE.UTF-8");
    EXPECT_EQ(Run({"/export"}), 0) << Log();
    EXPECT_NE(Log().find("INFO  Avslutad"), std::string::npos) << Log();

    const ExportedFile files[] = {
        {"artiklar.xml", "", {"<ARTICLE_NUMBER>A1</ARTICLE_NUMBER>"}},
        {"best_1.xml", "best_1_sv.xml", {}},
        {"invoice_1.xml", "invoice_1_sv.xml", {}},
        {"kontakter.xml", "contacts.xml", {}},
        {"kund_1001.xml", "single_customer.xml", {}},
        {"kund_1002.xml", "customer_1002.xml", {}},
        {"lev.xml", "suppliers.xml", {}},
        {"lf_1_L10.xml", "supplierinvoice_1_sv.xml", {}},
        {"offer_1.xml", "offer_1_sv.xml", {}},
        {"order_1.xml", "order_1_sv.xml", {}},
        {"order_3.xml", "order_3_sv.xml", {}},
        {"prislistor.xml", "", {"<atPrislistor"}},
    };
    std::vector<std::string> names;
    for (const ExportedFile& file : files) {
        names.push_back(file.name);
        if (!fs::exists(Root("export/obehandlade/") + file.name)) continue;
        const std::string written = dir.Read(Root("export/obehandlade/") + file.name);
        if (*file.golden) {
            EXPECT_EQ(written, dir.Read(Fixture(std::string("export/") + file.golden))) << file.name;
        }
        for (const char* part : file.holds)
            EXPECT_NE(written.find(part), std::string::npos) << file.name << ": " << part;
    }
    EXPECT_EQ(Files("export/obehandlade"), names);
}

// The integration menu's job exports the one record its command line names, for each register the
// script knows; a register it does not know, or one without an export from a list, exports nothing.
struct MenuCase {
    const char* registerNumber;
    const char* id;
    const char* file;    // the one file written, "" for none
    const char* record;  // the kind's record element, which the file holds once
    const char* number;  // the record's number element
};

TEST_F(DefaultJobsTest, TheIntegrationMenuJobExportsExactlyTheRecordItNames) {
    Install(dir.Read(Fixture("export/company.sql")) + dir.Read(Fixture("export/documents.sql")) +
            dir.Read(Fixture("export/purchases.sql")));
    Set("exportcustomers", "FILE_MANAGEMENT_TMPL", "kunder.xml");
    Set("exportarticles", "FILE_MANAGEMENT_TMPL", "artiklar.xml");
    Set("exportorders", "ORDER_FILE_MANAGEMENT_TMPL", "order.xml");
    Set("exportoffers", "FILE_MANAGEMENT_TMPL", "offerter.xml");
    Set("exportinvoices", "INVOICE_FILE_MANAGEMENT_TMPL", "fakturor.xml");
    Set("exportsupplierinvoices", "SUPINV_FILE_MANAGEMENT_TMPL", "leverantorsfakturor.xml");
    Set("exportbest", "BEST_FILE_MANAGEMENT_TMPL", "bestallningar.xml");
    const MenuCase cases[] = {
        {"0", "1002", "kunder.xml", "<atKunder", "<CUSTOMER_NUMBER>1002</CUSTOMER_NUMBER>"},
        {"1", "A2", "artiklar.xml", "<atArtiklar", "<ARTICLE_NUMBER>A2</ARTICLE_NUMBER>"},
        {"2", "3", "order.xml", "<atOrder", "<OOI_HEAD_DOCUMENT_NUMBER>3</OOI_HEAD_DOCUMENT_NUMBER>"},
        {"4", "1", "offerter.xml", "<atOffert", "<OOI_HEAD_DOCUMENT_NUMBER>1</OOI_HEAD_DOCUMENT_NUMBER>"},
        {"6", "2", "fakturor.xml", "<atFakturor", "<OOI_HEAD_DOCUMENT_NUMBER>2</OOI_HEAD_DOCUMENT_NUMBER>"},
        {"8", "3", "leverantorsfakturor.xml", "<atLevFakturor", "<SUP_INV_HEAD_GIVEN_NUMBER>3</SUP_INV_HEAD_GIVEN_NUMBER>"},
        {"32", "2", "bestallningar.xml", "<atBestallningar", "<BOOKING_DOCUMENT_NUMBER>2</BOOKING_DOCUMENT_NUMBER>"},
        {"12", "L10", "", "", ""},
        {"99", "1002", "", "", ""},
    };
    for (const MenuCase& c : cases) {
        fs::remove_all(Root("export/obehandlade"));
        fs::create_directories(Root("export/obehandlade"));
        EXPECT_EQ(Run({"/ftg", Company(), "/register", c.registerNumber, "/id", c.id, "/runscript",
                       "export\\default_smart.pas"}),
                  0)
            << c.registerNumber << "\n" << Log();
        if (!*c.file) {
            EXPECT_TRUE(Files("export/obehandlade").empty()) << c.registerNumber;
            continue;
        }
        ASSERT_EQ(Files("export/obehandlade"), std::vector<std::string>{c.file}) << c.registerNumber;
        const std::string written = dir.Read(Root("export/obehandlade/") + c.file);
        EXPECT_EQ(Count(written, std::string(c.record) + ">") + Count(written, std::string(c.record) + " "), 1u)
            << c.registerNumber << "\n" << written;
        EXPECT_NE(written.find(c.number), std::string::npos) << c.registerNumber << "\n" << written;
    }
    EXPECT_EQ(Log().find("ERROR"), std::string::npos) << Log();
}

}  // namespace
}  // namespace tv
