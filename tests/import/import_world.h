#pragma once
// The world an import test runs in, as the central data module gives it to the import: a company
// made with adkctl in a temporary folder (from the fixture seeds given), the company component and
// the kit datasets named and ordered as the data module keeps them, the per-kind settings tables
// with their defaults, the field-definition table read from a fixture "ooi.table", the company
// database connection, a recording event sink, the typed key registry and the import module.

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "adk/adk_dataset.h"
#include "adk/connection_strings.h"
#include "import/dm_import.h"
#include "platform/data/client_data_set.h"
#include "platform/data/field.h"
#include "platform/db/ado_connection.h"
#include "platform/rtl/format_settings.h"
#include "tests/adk/adk_test_support.h"
#include "tests/import/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace tv::test {

inline std::string FixtureText(const std::string& relative) {
    std::ifstream in(std::string(TV_FIXTURES_DIR) + "/" + relative, std::ios::binary);
    if (!in) throw std::runtime_error("no fixture " + relative);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string FixturePath(const std::string& relative) {
    return std::string(TV_FIXTURES_DIR) + "/" + relative;
}

// A settings table's field: name, type and the default put in before any section is read.
struct TSettingField {
    const char* Name;
    TFieldType Type;
    const char* Default;  // null: empty
};

class TImportWorld {
public:
    // A company seeded with the fixture files given (paths below tests/fixtures).
    explicit TImportWorld(const std::vector<std::string>& seeds = {}, const std::string& variant = "") {
        FreeAdkLibrary();
        company_ = dir_.Path("company");
        std::string seed;
        for (const std::string& file : seeds) seed += FixtureText(file);
        MakeCompany(seed, variant);
        db_ = new TAdkDatabase(&module_, std::make_unique<TAdkInfo>(dir_.Root(), dir_.Root()));
        db_->SetName("AdkDBSRC");
        db_->AdkPath = FolderOf(TV_KIT);
        db_->SetArguments({});
        db_->ProgramSettings = {piArtikelStreckkod, piOmvandByggSkatt};
        db_->SetCompanyPath(company_);
        MakeDataSets();
        MakeSettings();
        LoadFieldDefinitions("import/ooi.table");
        adminODBC_.SetConnectionString(MakeCompanyConnectionString("", company_, 0));

        context_.Events = &events_;
        context_.SettingsTable = [this](std::string_view name) -> TDataSet& {
            auto it = settings_.find(std::string(name));
            if (it == settings_.end()) throw std::runtime_error("no settings table " + std::string(name));
            return *it->second;
        };
        context_.FieldDefinitions = &fieldDefinitions_;
        context_.adminODBC = &adminODBC_;
        context_.getWorkFolder = [this](int side, std::string_view subfolder) {
            return dir_.Root() + "/work/" + (side == 0 ? "export" : "import") + "/" + std::string(subfolder);
        };
        import_ = std::make_unique<TDMImport>(context_, keys_);
    }
    ~TImportWorld() {
        import_.reset();
        adminODBC_.Close();
        module_.DestroyComponents();
        FreeAdkLibrary();
    }

    // Opens every kit dataset the company offers, as the job's start does, with the numbers and
    // dates of `settings` (forcedot and "yyyy-mm-dd" unless a test says otherwise).
    void Open() {
        db_->SetConnected(true);
        for (auto& [name, dataSet] : dataSets_) {
            dataSet->SetFormatSettings(&formatSettings_);
            if (dataSet->MasterTable()) continue;  // rows open with their heads
            if (dataSet->AdkTableAvailible()) dataSet->MakeOpen();
        }
    }

    TDMImport& Import() { return *import_; }
    TKeyHelperDM& Keys() { return keys_; }
    TRecordingSink& Events() { return events_; }
    TImportContext& Context() { return context_; }
    TAdkDatabase& Database() { return *db_; }
    TAdkDataSet& DataSet(const std::string& name) { return *dataSets_.at(name); }
    TClientDataSet& Settings(const std::string& table) { return *settings_.at(table); }
    TClientDataSet& FieldDefinitions() { return fieldDefinitions_; }
    TADOConnection& AdminODBC() { return adminODBC_; }
    TFormatSettings& Formats() { return formatSettings_; }
    TempDir& Dir() { return dir_; }
    const std::string& Company() const { return company_; }

    // Sets one setting of a table.
    void Set(const std::string& table, const char* field, const std::string& value) {
        TClientDataSet& settings = Settings(table);
        settings.Edit();
        if (value.empty())
            settings.FieldByName(field).Clear();
        else
            settings.FieldByName(field).SetAsString(value);
        settings.Post();
    }

    // Reads a ';'-separated field-definition file (no header line) into CDSTables.
    void LoadFieldDefinitions(const std::string& fixture) {
        fieldDefinitions_.EmptyDataSet();
        std::istringstream lines(FixtureText(fixture));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) continue;
            std::vector<std::string> columns;
            std::istringstream parts(line);
            for (std::string part; std::getline(parts, part, ';');) columns.push_back(part);
            columns.resize(4);
            fieldDefinitions_.Append();
            fieldDefinitions_.FieldByName("const_table").SetAsString(columns[0]);
            fieldDefinitions_.FieldByName("const_string").SetAsString(columns[1]);
            fieldDefinitions_.FieldByName("const_value").SetAsString(columns[2]);
            fieldDefinitions_.FieldByName("const_title").SetAsString(columns[3]);
            fieldDefinitions_.Post();
        }
    }

    // Writes an interchange file into the temporary folder and answers its path.
    std::string WriteFile(const std::string& name, const std::string& content) {
        return dir_.Write(name, content);
    }

private:
    void MakeCompany(const std::string& seed, const std::string& variant) {
        const std::string log = dir_.Path("adkctl.log");
        std::vector<std::string> create = {"create", company_};
        if (!variant.empty()) create.insert(create.end(), {"--variant", variant});
        if (RunAdkctl(create, log) != 0)
            throw std::runtime_error("adkctl create: " + dir_.Read("adkctl.log"));
        if (seed.empty()) return;
        const std::string fixture = dir_.Write("seed.sql", seed);
        if (RunAdkctl({"seed", company_, fixture}, log) != 0)
            throw std::runtime_error("adkctl seed: " + dir_.Read("adkctl.log"));
    }

    TAdkDataSet* Add(const std::string& name, TAdkTable table, TAdkSortOrder order,
                     TAdkDataSet* rows = nullptr) {
        auto* dataSet = new TAdkDataSet(&module_);
        dataSet->SetName(name);
        dataSet->SetAdkTable(table);
        dataSet->SetAdkSortOrder(order);
        if (rows) dataSet->SetChildTable(rows);
        dataSets_[name] = dataSet;
        return dataSet;
    }
    TAdkDataSet* AddWithRows(const std::string& name, TAdkTable table, TAdkSortOrder order,
                             const std::string& rowsName, TAdkTable rowsTable) {
        TAdkDataSet* rows = Add(rowsName, rowsTable, asIngen);
        return Add(name, table, order, rows);
    }

    void MakeDataSets() {
        TImportDataSets& d = context_.DataSets;
        d.AdkKunder = Add("AdkKunder", atKunder, asKundnr);
        d.ADKLeverantorer = Add("ADKLeverantorer", atLeverantorer, asLevNr);
        d.ADKArtiklar = Add("ADKArtiklar", atArtiklar, asArtikelnr);
        d.AdkInkPris = Add("AdkInkPris", atInkopspriser, asInkopspriserLevNrArtNr);
        d.AdkPrislistor = Add("AdkPrislistor", atPrislistor, asPrislista);
        d.AdkForsaljningspriser =
            Add("AdkForsaljningspriser", atForsaljningspriser, asForsaljningspriserArtNr);
        d.AdkOrder = AddWithRows("AdkOrder", atOrder, asOrderNr, "AdkOrderRader", atOrderrader);
        d.AdkOffert = AddWithRows("AdkOffert", atOfferter, asOffertNr, "AdkOffertRader", atOffertrader);
        d.ADKFakturor =
            AddWithRows("ADKFakturor", atFakturor, asFakturaNr, "AdkFakturaRader", atFakturarader);
        d.ADKLevFakturor = AddWithRows("ADKLevFakturor", atLevFakturor, asLevFakturaNr, "ADKLevFakturaRader",
                                       atLevFakturarader);
        d.ADKBest =
            AddWithRows("ADKBest", atBestallningar, asBestallningNr, "ADKBestRader", atBestallningrader);
        d.AdkAvtal = AddWithRows("AdkAvtal", atAvtal, asAvtalnr, "AdkAvtalRader", atAvtalrader);
        d.AdkInkFs = AddWithRows("AdkInkFs", atInkommandeFoljesedel, asInkommandefoljesedelNr,
                                 "ADKInkFsRader", atInkommandeFoljesedelrader);
        d.ADKManuellIn = Add("ADKManuellIn", atManuellinleverans, asManuellInleverans);
        d.AdkManuellUt = Add("AdkManuellUt", atManuellutleverans, asManuellUtleverans);
        d.ADKKundinbetalningar = Add("ADKKundinbetalningar", atKundinbetalningar, asKundInbetFaktura);
        d.ADKKontakter = Add("ADKKontakter", atKontakter, asKontaktID);
        d.ADKProjekt = Add("ADKProjekt", atProjekt, asProjektkod);
    }

    void AddSettingsTable(const std::string& name, std::initializer_list<TSettingField> fields) {
        auto table = std::make_unique<TClientDataSet>();
        for (const TSettingField& f : fields) table->AddField(f.Name, f.Type);
        table->CreateDataSet();
        table->Append();
        for (const TSettingField& f : fields)
            if (f.Default) table->FieldByName(f.Name).SetAsString(f.Default);
        table->Post();
        settings_[name] = std::move(table);
    }

    void MakeSettings() {
        constexpr TFieldType I = TFieldType::ftInteger;
        constexpr TFieldType M = TFieldType::ftMemo;
        AddSettingsTable("CDSImportCustomersPrefs", {{"ON_CUSTOMER_EXISTS", I, "0"},
                                                     {"ON_CUSTOMER_DOES_NOT_EXIST", I, "0"},
                                                     {"SEARCH_CUSTOMER_MODE", I, "0"},
                                                     {"SEARCH_CUSTOMER_SQL", M, nullptr},
                                                     {"SEARCH_CUSTOMER_CDX", I, "1"},
                                                     {"FORCE_IGNORE_ORGNR", I, "0"}});
        AddSettingsTable("CDSImportSuppliersPrefs", {{"ON_SUPPLIER_EXISTS", I, "0"},
                                                     {"ON_SUPPLIER_DOES_NOT_EXIST", I, "0"},
                                                     {"SEARCH_SUPPLIER_MODE", I, "0"},
                                                     {"SEARCH_SUPPLIER_CDX", I, "3"},
                                                     {"SEARCH_SUPPLIER_SQL", M, nullptr}});
        fieldDefinitions_.AddField("const_table", TFieldType::ftString, 256);
        fieldDefinitions_.AddField("const_string", TFieldType::ftString, 256);
        fieldDefinitions_.AddField("const_value", TFieldType::ftInteger);
        fieldDefinitions_.AddField("const_title", TFieldType::ftString, 256);
        fieldDefinitions_.CreateDataSet();
        formatSettings_ = TFormatSettings{};
        formatSettings_.ShortDateFormat = "yyyy-mm-dd";
        formatSettings_.DateSeparator = '-';
    }

    TempDir dir_;
    std::string company_;
    TComponent module_;
    TAdkDatabase* db_ = nullptr;
    std::map<std::string, TAdkDataSet*> dataSets_;
    std::map<std::string, std::unique_ptr<TClientDataSet>> settings_;
    TClientDataSet fieldDefinitions_;
    TADOConnection adminODBC_;
    TFormatSettings formatSettings_;
    TRecordingSink events_;
    TImportContext context_;
    TKeyHelperDM keys_;
    std::unique_ptr<TDMImport> import_;
};

}  // namespace tv::test
