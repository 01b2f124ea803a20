#include "core/settings_store.h"

#include <exception>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/app_params.h"
#include "core/data_set_persistence.h"
#include "core/settings_folders.h"
#include "core/settings_root.h"
#include "platform/data/key_compare.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/format_settings.h"
#include "platform/rtl/text_compare.h"

namespace tv {
namespace {

// Shows the query table's post error and abandons the post, as the settings pages expect.
void ShowQueryPostError(TDataSet*, EDatabaseError& error, TDataAction& action) {
    TMessageBoxRequest request;
    request.Text = std::string(kQueryPostError) + error.Message + "\r\n" + std::string(kQueryNameNote) +
                   "\r\n" + std::string(kQueryEscapeNote);
    request.Caption = ApplicationTitle();
    request.Icon = TMsgIcon::Error;
    DialogService().MessageBox(request);
    action = TDataAction::daAbort;
}

// While "sqlqueries.txt" loads, a query whose name repeats one already loaded is loaded under the
// name with " (2)", " (3)" ... added (cut to the field's size), so that no query is lost and no
// dialog stops the load; each renaming is logged once the load is over. Each repeat of a name goes
// on from the number the one before it took, so a file that repeats a name many times loads in
// time proportional to its length.
class RepeatedQueryNames {
public:
    RepeatedQueryNames(TClientDataSet& table, const TSettingsTableDef& tableDef)
        : table_(table), tableDef_(tableDef), saved_(std::move(table.OnPostError)) {
        table_.OnPostError = [this](TDataSet* dataSet, EDatabaseError& error, TDataAction& action) {
            Rename(*dataSet, error, action);
        };
    }
    ~RepeatedQueryNames() { table_.OnPostError = std::move(saved_); }
    RepeatedQueryNames(const RepeatedQueryNames&) = delete;
    RepeatedQueryNames& operator=(const RepeatedQueryNames&) = delete;

    void Report() const {
        for (const auto& [name, loadedAs] : renamed_)
            AppLogger().LogError(Format(kQueryNameRenamed, {tableDef_.Name, name, loadedAs}));
    }

private:
    void Rename(TDataSet& dataSet, EDatabaseError& error, TDataAction& action) {
        if (error.Message != kKeyViolation) return;
        TField& field = dataSet.FieldByName(tableDef_.UniqueField);
        const std::string current = field.AsString();
        if (renamed_.empty() || current != renamed_.back().second) {
            renamed_.emplace_back(current, current);
            tries_ = 0;
        }
        // Among more distinct names than the table holds records one is free.
        if (++tries_ > dataSet.RecordCount() + 1) return;
        const std::string& name = renamed_.back().first;
        const std::string suffix =
            " (" + std::to_string(++lastCopy_.try_emplace(name, 1).first->second) + ")";
        const size_t size = static_cast<size_t>(field.Size());
        const size_t room = size > suffix.size() ? size - suffix.size() : 0;
        std::string candidate = name.substr(0, Utf8PrefixBytes(name, room)) + suffix;
        field.SetAsString(candidate);
        renamed_.back().second = std::move(candidate);
        action = TDataAction::daRetry;
    }

    TClientDataSet& table_;
    const TSettingsTableDef& tableDef_;
    TDataSetErrorEvent saved_;
    std::vector<std::pair<std::string, std::string>> renamed_;  // name, name loaded as
    std::map<std::string, int, std::less<>> lastCopy_;          // name, the last number it took
    int tries_ = 0;                                             // names tried for this record
};

void LogLoadFailure(const TSettingsTableDef& tableDef, const std::exception& e) {
    switch (tableDef.OnFailure) {
        case TLoadFailureText::Identities:
            return AppLogger().LogError(Format(kLoadFailedIdentities, {tableDef.Name, e.what()}), e);
        case TLoadFailureText::AccountPlan:
            return AppLogger().LogError(Format(kLoadFailedAccountPlan, {tableDef.Name, e.what()}), e);
        case TLoadFailureText::Lopnr:
            return AppLogger().LogError(std::string(kLoadFailedLopnr) + e.what(), e);
        case TLoadFailureText::NoDetail:
            return AppLogger().LogError(Format(kLoadFailedIdentities, {tableDef.Name, e.what()}));
    }
}

void ApplyForceDotSwitch() {
    if (FindCmdLineSwitch(kForceDotSwitch)) ApplyForceDot(DefaultFormatSettings());
}

void EmptyTable(TClientDataSet& dataSet) {
    dataSet.Cancel();
    dataSet.EmptyDataSet();
}

// Writes the INI file's changes and says so when they made it UTF-8.
void UpdateSettingsFile(TIniFile& ini) {
    ini.UpdateFile();
    if (!ini.Utf8Cause().empty()) AppLogger().LogWarn(Format(kIniWrittenAsUtf8, {ini.FileName(), ini.Utf8Cause()}));
}

std::string TextTablePath(const std::string& dataFolder, const TSettingsTableDef& tableDef) {
    return IncludeTrailingPathDelimiter(dataFolder) + tableDef.Place;
}

}  // namespace

TSettingsStore::TSettingsStore(TSettingsTables& tables, TRuleTables& rules, const TWorkFolders& workFolders)
    : tables_(tables), rules_(rules), workFolders_(workFolders) {
    tables_.CDSExportSQLPrefs().OnPostError = ShowQueryPostError;
}

TClientDataSet& TSettingsStore::DataSetOf(const TSettingsTableDef& tableDef) const {
    if (tableDef.OwnedByPlugins)
        return AnsiSameText(tableDef.Name, rules_.RulesDef().Name) ? rules_.Rules() : rules_.RuleItems();
    return tables_.Table(tableDef.Name);
}

void TSettingsStore::loadSettings() {
    MakeSettingsRootPrivate();
    const std::string dataFolder = GetDataFolder();
    ForceDirectories(dataFolder);
    // The INI file is read once for all its sections; when it cannot be read, each INI table
    // keeps its defaults and reports the error.
    std::optional<TIniFile> ini;
    std::exception_ptr iniError;
    try {
        ini.emplace(GetSettingsFile());
    } catch (...) {
        iniError = std::current_exception();
    }

    const TSettingsSchema& schema = tables_.Schema();
    for (const std::string& name : schema.LoadOrder) {
        const TSettingsTableDef& tableDef = schema.Table(name);
        try {
            TClientDataSet& dataSet = DataSetOf(tableDef);
            if (tableDef.Storage == TSettingsStorage::Text) {
                LoadTextTable(tableDef, dataSet, dataFolder);
                continue;
            }
            EmptyTable(dataSet);
            AppendDefaultsRecord(dataSet, tableDef);
            if (tableDef.Name == kGeneralTable) ApplyForceDotSwitch();
            if (iniError) std::rethrow_exception(iniError);
            LoadDataSetFromIni(dataSet, *ini, tableDef.Place);
        } catch (const std::exception& e) {
            LogLoadFailure(tableDef, e);
        }
    }

    workFolders_.RecordWorkFolders();
    workFolders_.CreateImportWorkFolders();
    workFolders_.CreateExportWorkFolders();
    loadFieldDefinitions();
}

void TSettingsStore::LoadTextTable(const TSettingsTableDef& tableDef, TClientDataSet& dataSet,
                                   const std::string& dataFolder) {
    std::optional<TRuleTables::TAllItems> allItems;
    if (!tableDef.MasterTable.empty()) allItems.emplace(rules_);
    std::optional<RepeatedQueryNames> renaming;
    if (!tableDef.UniqueField.empty()) renaming.emplace(dataSet, tableDef);
    EmptyTable(dataSet);
    // Until the file has been read to its end the table holds only part of it.
    unread_.insert(tableDef.Name);
    try {
        LoadDataSetFromText(&dataSet, TextTablePath(dataFolder, tableDef), kTextTableSeparator,
                            tableDef.Header);
    } catch (const EConvertError&) {
        // Every record was read; values their fields could not take were left empty.
        unread_.erase(tableDef.Name);
        if (renaming) renaming->Report();
        throw;
    } catch (...) {
        if (renaming) renaming->Report();
        throw;
    }
    unread_.erase(tableDef.Name);
    if (renaming) renaming->Report();
}

void TSettingsStore::saveSettings() {
    TClientDataSet& orders = tables_.Table("CDSExportOrderPrefs");
    if (orders.IsEditing()) orders.Post();

    const std::string iniFile = GetSettingsFile();
    const std::string dataFolder = GetDataFolder();
    ForceDirectories(dataFolder);

    const TSettingsSchema& schema = tables_.Schema();
    TIniFile ini(iniFile);
    for (const auto& tableDef : schema.Tables)
        if (tableDef.Storage == TSettingsStorage::Ini && tableDef.Saved)
            SaveDataSetToIni(DataSetOf(tableDef), ini, tableDef.Place);
    UpdateSettingsFile(ini);

    for (const auto& tableDef : schema.Tables) {
        if (tableDef.Storage != TSettingsStorage::Text || !tableDef.Saved) continue;
        if (tableDef.Name != kSqlQueriesTable) {
            SaveTextTable(tableDef, dataFolder);
            continue;
        }
        try {
            SaveTextTable(tableDef, dataFolder);
        } catch (const std::exception& e) {
            AppLogger().LogError(Format(kSaveSqlQueriesFailed, {e.what()}), e);
        }
    }

    workFolders_.RecordWorkFolders();
    workFolders_.CreateImportWorkFolders();
    workFolders_.CreateExportWorkFolders();
    MakeSettingsRootPrivate();
}

void TSettingsStore::SaveTextTable(const TSettingsTableDef& tableDef, const std::string& dataFolder) {
    const std::string file = TextTablePath(dataFolder, tableDef);
    if (unread_.contains(tableDef.Name)) throw Exception(Format(kTextTableNotRead, {file}));
    // Every rule item is written, whichever rule is current.
    std::optional<TRuleTables::TAllItems> allItems;
    if (!tableDef.MasterTable.empty()) allItems.emplace(rules_);
    SaveDataSetToText(DataSetOf(tableDef), file, kTextTableSeparator, tableDef.Header);
}

void TSettingsStore::saveCustomerPricelistData() {
    SaveTextTable(tables_.Schema().Table(kCustomerPricelistTable), GetDataFolder());
}

void TSettingsStore::loadFieldDefinitions() {
    TClientDataSet& definitions = tables_.CDSTables();
    EmptyTable(definitions);
    if (LoadDataSetFromText(&definitions, kFieldDefinitionsFile, kTextTableSeparator, false) &&
        !definitions.IsEmpty())
        return;
    const std::string beside = GetPrefsFolder(kTablesFolderName) + std::string(kTablesFolderName) + "/" +
                               std::string(ExtractFileName(kFieldDefinitionsFile));
    if (LoadDataSetFromText(&definitions, beside, kTextTableSeparator, false) && !definitions.IsEmpty())
        return;
    throw Exception(std::string(kFieldDefinitionsMissing));
}

void TSettingsStore::saveIdentities() {
    const TSettingsTableDef& tableDef = tables_.Schema().Table(kIdentitiesTable);
    TIniFile ini(GetSettingsFile());
    SaveDataSetToIni(tables_.CDSLopnr(), ini, tableDef.Place);
    UpdateSettingsFile(ini);
}

}  // namespace tv
