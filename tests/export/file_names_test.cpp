#include "export/file_names.h"

#include <gtest/gtest.h>

#include "platform/ini/ini_file.h"
#include "platform/rtl/date_time.h"
#include "tests/export/export_test_support.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

constexpr const char* kFolder = "/work/export/obehandlade";

// The identities table with every running number of the name generators, written into the INI
// file's section "identities" each time a number advances.
class FileNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* field :
             {"LOPNR_EXPORT_ORDER", "LOPNR_EXPORT_ARTIKLAR", "LOPNR_EXPORT_FAKTUROR",
              "LOPNR_EXPORT_LEVERANTORER", "LOPNR_EXPORT_BEST", "LOPNR_EXPORT_KUNDER", "LOPNR_EXPORT_OFFER",
              "LOPNR_EXPORT_ACCOUNTPLAN", "LOPNR_EXPORT_KONTAKTER", "LOPNR_EXPORT_SUPINV"})
            identities_.AddField(field, TFieldType::ftLargeint);
        identities_.CreateDataSet();
        identities_.Append();
        identities_.Post();
    }
    void SaveIdentities() {
        TIniFile ini(dir_.Path("Tollvane.ini"));
        for (int i = 0; i < identities_.FieldCount(); ++i)
            ini.WriteString("identities", identities_.Fields(i).FieldName(),
                            identities_.Fields(i).AsString());
        ini.UpdateFile();
    }
    std::string OnDisk(const char* field) {
        return TIniFile(dir_.Path("Tollvane.ini")).ReadString("identities", field, "<none>");
    }
    void SetNumber(const char* field, int value) {
        identities_.Edit();
        identities_.FieldByName(field).SetAsInteger(value);
        identities_.Post();
    }

    test::TempDir dir_;
    TClientDataSet identities_;
    TRunningNumbers numbers_{identities_, [this] { SaveIdentities(); }};
    TExportFileNames names_{numbers_, [] { return std::string(kFolder); },
                            [] { return EncodeDateTime(2010, 5, 31, 12, 0, 0, 0); }, settings_};
    TFormatSettings settings_{};
};

struct NameCase {
    const char* rule;
    TFileNameKind kind;
    TFileNameInputs inputs;
    const char* name;
};

TEST_F(FileNameTest, TemplatesBecomeNamesByTheKindsRules) {
    using K = TFileNameKind;
    const NameCase cases[] = {
        {"record and date placeholders; empty date format",
         K::Order,
         {"Order_$ordernr_$exportdatum.xml", "", "", "", {{"", 1042}, {"K1", 0}, {"", 40329}}},
         "/work/export/obehandlade/Order_1042_2010-05-31.xml"},
        {"record placeholders ignore case",
         K::Order,
         {"O$ORDERNR-$KundNr.xml", "", "", "", {{"", 7}, {"K1", 0}, {"", 0}}},
         "/work/export/obehandlade/O7-K1.xml"},
        {"running-number placeholder in capitals is kept",
         K::Order,
         {"O_$LOPNR_ORDER.xml", "", "", "", {{"", 7}, {"K1", 0}, {"", 0}}},
         "/work/export/obehandlade/O_$LOPNR_ORDER.xml"},
        {"number format",
         K::Order,
         {"O$ordernr.xml", "", "000000", "", {{"", 1042}, {"", 0}, {"", 0}}},
         "/work/export/obehandlade/O001042.xml"},
        {"document without a date",
         K::Order,
         {"O$orderdatum", "", "", "", {{"", 1}, {"", 0}, {"", 0}}},
         "/work/export/obehandlade/O1899-12-30"},
        {"empty invoice template: default without extension",
         K::Invoice,
         {"  ", "", "", "", {{"", 1}, {"", 0}, {"", 0}}},
         "/work/export/obehandlade/Invoice_2010-05-31"},
        {"empty order template",
         K::Order,
         {"", "", "", "", {{"", 1}, {"", 0}, {"", 0}}},
         "/work/export/obehandlade/Order_2010-05-31"},
        {"purchase-order default",
         K::Best,
         {"", "yyyymmdd", "", "", {{"", 1}, {"L1", 0}}},
         "/work/export/obehandlade/Best_20100531.xml"},
        {"offer dates under both names",
         K::Offer,
         {"$offertnr_$offertdatum_$datum", "", "", "", {{"", 5}, {"K", 0}, {"", 40300}, {"", 40300}}},
         "/work/export/obehandlade/5_2010-05-02_2010-05-02"},
        {"supplier invoices name the supplier $kundnr",
         K::SupplierInvoice,
         {"LF$ordernr_$kundnr.xml", "", "", "", {{"", 3}, {"L10", 0}, {"", 0}}},
         "/work/export/obehandlade/LF3_L10.xml"},
        {"date and time format",
         K::Customer,
         {"k_$exportdatum.xml", "yyyymmdd_hhnnss", "", "", {{"1", 0}}},
         "/work/export/obehandlade/k_20100531_120000.xml"},
        {"absolute template used unchanged",
         K::Customer,
         {"/data/out/k$kundnr.xml", "", "", "", {{"1", 0}}},
         "/data/out/k1.xml"},
        {"relative template with a folder (Windows separator)",
         K::Customer,
         {"ut\\k$kundnr.xml", "", "", "", {{"1", 0}}},
         "ut/k1.xml"},
        {"empty template without default: the folder itself",
         K::Customer,
         {"", "", "", "", {{"1", 0}}},
         "/work/export/obehandlade/"},
        {"price list named by an empty code",
         K::Pricelist,
         {"$prislista", "", "", "", {{"", 0}}},
         "/work/export/obehandlade/export.xml"},
        {"price list code",
         K::Pricelist,
         {"pl_$prislista.xml", "", "", "", {{"PL1", 0}}},
         "/work/export/obehandlade/pl_PL1.xml"},
        {"query default when empty as stored",
         K::SQL,
         {"", "", "", "", {}},
         "/work/export/obehandlade/custom.xml"},
        {"query: folder first, then the date",
         K::SQL,
         {"q_$exportdatum.xml", "", "", "", {}},
         "/work/export/obehandlade/q_2010-05-31.xml"},
        {"a blank query template is kept", K::SQL, {" ", "", "", "", {}}, "/work/export/obehandlade/ "},
        // A record value cannot move the file out of the export folder.
        {"separators in a record value",
         K::Customer,
         {"k_$kundnr.xml", "", "", "", {{"../../etc/x", 0}}},
         "/work/export/obehandlade/k_.._.._etc_x.xml"},
        {"backslashes in a record value",
         K::Supplier,
         {"$levnr.xml", "", "", "", {{"..\\x", 0}}},
         "/work/export/obehandlade/.._x.xml"},
        {"a value of dots cannot name a folder",
         K::Customer,
         {"$kundnr/k.xml", "", "", "", {{"..", 0}}},
         "__/k.xml"},
        {"a separator from the date format",
         K::Customer,
         {"k_$exportdatum.xml", "yyyy\\mm", "", "", {{"1", 0}}},
         "/work/export/obehandlade/k_2010_05.xml"},
    };
    for (const NameCase& c : cases) EXPECT_EQ(names_.Expand(c.kind, c.inputs), c.name) << c.rule;
    // None of them consumed a running number.
    EXPECT_EQ(identities_.FieldByName("LOPNR_EXPORT_ORDER").AsString(), "");
}

struct NumberCase {
    const char* rule;
    TFileNameKind kind;
    const char* templ;
    const char* identityFormat;
    const char* field;
    int before;
    const char* name;
};

TEST_F(FileNameTest, RunningNumbersAdvanceAndAreSavedAtOnce) {
    using K = TFileNameKind;
    const NumberCase cases[] = {
        {"identity format", K::Order, "O_$lopnr_order.xml", "0000", "LOPNR_EXPORT_ORDER", 7,
         "/work/export/obehandlade/O_0007.xml"},
        {"twice in one template: one number", K::Customer, "$lopnr_kunder-$lopnr_kunder", "",
         "LOPNR_EXPORT_KUNDER", 3, "/work/export/obehandlade/3-3"},
        {"never set: 0", K::Article, "art$lopnr.xml", "", "LOPNR_EXPORT_ARTIKLAR", -1,
         "/work/export/obehandlade/art0.xml"},
        {"replaced ignoring case once present", K::Invoice, "$lopnr_faktura$LOPNR_FAKTURA", "00",
         "LOPNR_EXPORT_FAKTUROR", 41, "/work/export/obehandlade/4141"},
        {"suppliers", K::Supplier, "lev$lopnr_levnr", "", "LOPNR_EXPORT_LEVERANTORER", 9,
         "/work/export/obehandlade/lev9"},
        {"purchase orders", K::Best, "b$lopnr_best", "", "LOPNR_EXPORT_BEST", 1,
         "/work/export/obehandlade/b1"},
        {"offers", K::Offer, "of$lopnr_offert", "", "LOPNR_EXPORT_OFFER", 2, "/work/export/obehandlade/of2"},
        // The kinds without a number of their own in the old identities table have one here.
        {"chart of accounts", K::AccountingYear, "kp$lopnr", "", "LOPNR_EXPORT_ACCOUNTPLAN", 5,
         "/work/export/obehandlade/kp5"},
        {"contacts replace what they test", K::Contacts, "c$lopnr", "", "LOPNR_EXPORT_KONTAKTER", 6,
         "/work/export/obehandlade/c6"},
        {"supplier invoices", K::SupplierInvoice, "lf$lopnr_order", "", "LOPNR_EXPORT_SUPINV", 8,
         "/work/export/obehandlade/lf8"},
    };
    for (const NumberCase& c : cases) {
        if (c.before >= 0) SetNumber(c.field, c.before);
        TFileNameInputs inputs{c.templ, "", "", c.identityFormat, {}};
        inputs.Record.resize(4);
        EXPECT_EQ(names_.Expand(c.kind, inputs), c.name) << c.rule;
        const int used = c.before < 0 ? 0 : c.before;
        EXPECT_EQ(identities_.FieldByName(c.field).AsInteger(), used + 1) << c.rule;
        EXPECT_EQ(OnDisk(c.field), std::to_string(used + 1)) << c.rule;
    }
}

TEST_F(FileNameTest, AMissingRunningNumberFieldIsAnErrorNotMinusOne) {
    TClientDataSet oldIdentities;
    oldIdentities.AddField("LOPNR_EXPORT_ORDER", TFieldType::ftLargeint);
    oldIdentities.CreateDataSet();
    bool saved = false;
    TRunningNumbers numbers(oldIdentities, [&] { saved = true; });
    EXPECT_EQ(numbers.getLopNr("LOPNR_EXPORT_KONTAKTER"), -1);
    TExportFileNames names(numbers, [] { return std::string(kFolder); });
    EXPECT_EQ(test::MessageOf([&] {
                  names.Expand(TFileNameKind::Contacts, {"c$lopnr", "", "", "", {{"", 0}}});
              }),
              "Löpnummer LOPNR_EXPORT_KONTAKTER saknas bland identiteterna");
    EXPECT_FALSE(saved);
}

TEST_F(FileNameTest, AFailedSaveSkipsANumberAndNeverRepeatsOne) {
    bool fail = true;
    TRunningNumbers numbers(identities_, [&] {
        if (fail) throw Exception("disk full");
    });
    SetNumber("LOPNR_EXPORT_ORDER", 4);
    EXPECT_THROW(numbers.getLopNr("LOPNR_EXPORT_ORDER"), Exception);
    fail = false;
    EXPECT_EQ(numbers.getLopNr("LOPNR_EXPORT_ORDER"), 5);
    EXPECT_EQ(identities_.FieldByName("LOPNR_EXPORT_ORDER").AsInteger(), 6);
}

// Names read from the settings table and from the kit record the export stands on.
class FileNameFromKitTest : public test::ExportCompanyTest {};

TEST_F(FileNameFromKitTest, PlaceholdersReadTheSettingsAndTheKitRecord) {
    TClientDataSet prefs, identities;
    for (const char* field : {"FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "FILE_IDENTITY_FORMAT"})
        prefs.AddField(field, TFieldType::ftString, 256);
    prefs.CreateDataSet();
    prefs.Append();
    prefs.FieldByName("FILE_MANAGEMENT_TMPL").SetAsString("Kund_$kundnr_$exportdatum_$lopnr_kunder.xml");
    prefs.FieldByName("FILE_DATE_FORMAT").SetAsString("yymmdd");
    prefs.FieldByName("FILE_IDENTITY_FORMAT").SetAsString("000");
    prefs.Post();
    identities.AddField("LOPNR_EXPORT_KUNDER", TFieldType::ftLargeint);
    identities.CreateDataSet();
    TRunningNumbers numbers(identities, [] {});
    TExportFileNames names(
        numbers, [this] { return dir_.Path("export/obehandlade"); }, [] { return EncodeDate(2010, 5, 31); });

    TAdkDataSet& customers = DataSet("AdkKunder", atKunder, asKundnr);
    ASSERT_TRUE(customers.AdkNavFind("1001", true, true));
    EXPECT_EQ(names.Generate(TFileNameKind::Customer, prefs, &customers),
              dir_.Path("export/obehandlade/Kund_1001_100531_000.xml"));
    // The record's fields are read whether the template uses them or not.
    prefs.Edit();
    prefs.FieldByName("FILE_MANAGEMENT_TMPL").SetAsString("kunder.xml");
    prefs.Post();
    customers.Close();
    EXPECT_EQ(test::MessageOf([&] { names.Generate(TFileNameKind::Customer, prefs, &customers); }),
              "AdkKunder: TAdkDataSet är inte öppet");
}

}  // namespace
}  // namespace tv
