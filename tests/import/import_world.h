#pragma once
// The world an import test runs in: a settings root of the test's own holding the fixture
// "tables/ooi.table", a company made with adkctl (from the fixture seeds given), the central data
// module with its settings loaded and the company as its company folder, a recording event sink,
// the typed key registry and the import module over the data module.

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "adk/adk_dataset.h"
#include "automation/engine_contexts.h"
#include "core/main_dm.h"
#include "import/dm_import.h"
#include "platform/data/client_data_set.h"
#include "platform/data/field.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format_settings.h"
#include "tests/adk/adk_test_support.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/main_dm_steps.h"
#include "tests/support/recording_sink.h"
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

// The rows of a table as SQL reads them over the connection, one line each (the columns joined as
// `columns` says), in key order.
inline std::vector<std::string> Dump(TADOConnection& connection, const std::string& columns,
                                     const std::string& table, const std::string& key) {
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText("select " + columns + " as line from " + table + " order by " + key);
    query.Open();
    std::vector<std::string> lines;
    for (; !query.Eof(); query.Next()) lines.push_back(query.FieldByName("line").AsString());
    return lines;
}

class TImportWorld {
public:
    // A company seeded with the fixture files given (paths below tests/fixtures) and then with the
    // statements of `extraSeed`, of the program variant given (empty: the full program).
    explicit TImportWorld(const std::vector<std::string>& seeds = {}, const std::string& variant = "",
                          const std::string& extraSeed = "") {
        FreeAdkLibrary();
        company_ = folders_.dir.Path("company");
        std::string seed;
        for (const std::string& file : seeds) seed += FixtureText(file);
        seed += extraSeed;
        MakeCompany(seed, variant);
        folders_.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                           FixtureText("import/ooi.table"));
        dm_ = std::make_unique<TMainDM>(events_, nullptr, false);
        dm_->AdkDBSRC().AdkPath = FolderOf(TV_KIT);
        dm_->AdkDBSRC().SetArguments({});
        dm_->loadSettings();
        Set("InstallningarCDS", "SPCSPathSRC", company_);
        context_ = MakeImportContext(*dm_);
        context_.FormatSettings = &formatSettings_;
        import_ = std::make_unique<TDMImport>(context_, keys_);
    }
    ~TImportWorld() {
        import_.reset();
        dm_.reset();
        FreeAdkLibrary();
    }

    // Connects as a job's start does: the company, its kit datasets and its database; every kit
    // dataset, and the import itself, read and write numbers and dates with the test's format
    // settings ("." and "yyyy-mm-dd" unless a test changes them).
    void Open() { ConnectLikeAJob(*dm_, formatSettings_); }

    TMainDM& MainDM() { return *dm_; }
    TDMImport& Import() { return *import_; }
    TKeyHelperDM& Keys() { return keys_; }
    TRecordingSink& Events() { return events_; }
    TImportContext& Context() { return context_; }
    TAdkDataSet& DataSet(const std::string& name) { return dm_->AdkDataSet(name); }
    TClientDataSet& Settings(const std::string& table) { return dm_->Table(table); }
    TClientDataSet& FieldDefinitions() { return dm_->CDSTables(); }
    TADOConnection& AdminODBC() { return dm_->adminODBC(); }
    TFormatSettings& Formats() { return formatSettings_; }
    TempDir& Dir() { return folders_.dir; }
    const std::string& Company() const { return company_; }

    // Sets one setting of a table; an empty value clears it.
    void Set(const std::string& table, const char* field, const std::string& value) {
        SetSetting(*dm_, table, field, value);
    }

    // Writes an interchange file into the temporary folder and answers its path.
    std::string WriteFile(const std::string& name, const std::string& content) {
        return folders_.dir.Write(name, content);
    }

private:
    void MakeCompany(const std::string& seed, const std::string& variant) {
        const TempDir& dir = folders_.dir;
        const std::string log = dir.Path("adkctl.log");
        std::vector<std::string> create = {"create", company_};
        if (!variant.empty()) create.insert(create.end(), {"--variant", variant});
        if (RunAdkctl(create, log) != 0) throw std::runtime_error("adkctl create: " + dir.Read("adkctl.log"));
        if (seed.empty()) return;
        const std::string fixture = dir.Write("seed.sql", seed);
        if (RunAdkctl({"seed", company_, fixture}, log) != 0)
            throw std::runtime_error("adkctl seed: " + dir.Read("adkctl.log"));
    }

    StartupFolders folders_;
    std::string company_;
    TRecordingSink events_;
    std::unique_ptr<TMainDM> dm_;
    TFormatSettings formatSettings_;
    TImportContext context_;
    TKeyHelperDM keys_;
    std::unique_ptr<TDMImport> import_;
};

}  // namespace tv::test
