#pragma once
// Loads and saves every settings table: the sections of the settings INI file and the text tables
// of the data folder, in the orders of the settings schema, each table given its defaults before it
// is read; the running numbers written at once on their own; the field-definition table
// "ooi.table" read; the work folders created. A table that fails to load is logged and the next
// one loads; the other tables keep what they have.

#include <set>
#include <string>
#include <string_view>

#include "core/rule_tables.h"
#include "core/settings_tables.h"
#include "core/work_folders.h"

namespace tv {

inline constexpr std::string_view kLoadFailedIdentities = "%s :: Kunde inte ladda in identiteter: %s ";
inline constexpr std::string_view kLoadFailedAccountPlan = "%s :: Kunde inte ladda in kontoplan: %s ";
inline constexpr std::string_view kLoadFailedLopnr = "Kunde inte ladda in identiteter: ";
// Logged as a warning when the INI file had to be written as UTF-8 with a byte-order mark.
inline constexpr std::string_view kIniWrittenAsUtf8 =
    "%s is written as UTF-8 with a byte-order mark: %s holds a character Windows-1252 lacks";
inline constexpr std::string_view kSaveSqlQueriesFailed = "Kunde inte spara sqlfrågor : [%s] ";
inline constexpr std::string_view kFieldDefinitionsMissing = "Hittade inte definitionsfil : ooi.table";
// The message shown when a query cannot be posted (its name repeats another): these three lines
// with the dataset's error text after the first.
inline constexpr std::string_view kQueryPostError = "Ett fel uppstod: ";
inline constexpr std::string_view kQueryNameNote =
    "Notera att samma namn inte får förekomma vid mer än ett tillfälle.";
inline constexpr std::string_view kQueryEscapeNote = "Använd escape för att avbryta.";
// Logged when "sqlqueries.txt" repeats a name: the table, the name and the name it was loaded as.
inline constexpr std::string_view kQueryNameRenamed =
    "%s :: Frågenamnet [%s] fanns redan; frågan laddades som [%s] ";

// Raised (logged for "sqlqueries.txt") when a text table is saved whose file was not read to its end
// at the last load: writing the table would put what it holds in place of the rest of the file.
inline constexpr std::string_view kTextTableNotRead = "Filen [%s] lästes inte in helt och skrivs inte över";

inline constexpr std::string_view kForceDotSwitch = "forcedot";
inline constexpr std::string_view kFieldDefinitionsFile = "tables/ooi.table";
inline constexpr std::string_view kTablesFolderName = "tables";

class TSettingsStore {
public:
    // Also makes a failed post of the SQL-query table show its message (through the dialog
    // service) and abandon the post.
    TSettingsStore(TSettingsTables& tables, TRuleTables& rules, const TWorkFolders& workFolders);

    // Creates the data folder; gives every table its defaults and reads it, in the load order
    // (applying the switch "forcedot" with the general table); records and creates the work
    // folders; then reads the field definitions, whose absence raises.
    void loadSettings();
    // Posts a pending edit of the order-export table; writes every INI table but the running
    // numbers (records being edited as they stand) and the text tables; a failure writing
    // "sqlqueries.txt" is logged and saving goes on, any other failure is raised. A text table whose
    // file could not be read to its end at the last load is not written over it (kTextTableNotRead).
    // Then records and creates the work folders.
    void saveSettings();
    // Does nothing: loadSettings sets the defaults.
    void defaultSettings() {}
    // Writes "exportcustomerpricelist.txt" with its header line.
    void saveCustomerPricelistData();
    // Empties the field-definition table and reads "tables/ooi.table" from the current folder, else
    // from the settings folder "tables"; raises kFieldDefinitionsMissing when neither has rows.
    void loadFieldDefinitions();
    // Writes the running numbers (the identities table's record) into their section alone; the
    // running-number service calls it each time a number advances.
    void saveIdentities();

private:
    TClientDataSet& DataSetOf(const TSettingsTableDef& tableDef) const;
    void LoadTextTable(const TSettingsTableDef& tableDef, TClientDataSet& dataSet,
                       const std::string& dataFolder);
    void SaveTextTable(const TSettingsTableDef& tableDef, const std::string& dataFolder);

    TSettingsTables& tables_;
    TRuleTables& rules_;
    const TWorkFolders& workFolders_;
    // The text tables whose file was not read to its end at the last load.
    std::set<std::string, std::less<>> unread_;
};

}  // namespace tv
