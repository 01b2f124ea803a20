#pragma once
// The settings schema: every settings table with its storage, fields, types, sizes and defaults,
// read once from the checked-in file core/settings/settings.schema (compiled into the program).
// The settings store makes and fills the tables from it, and the settings pages take their
// fields from it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_pages.h"
#include "platform/data/field_type.h"
#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(ESettingsSchemaError, Exception);

// Where a table is kept: a section of the settings INI file, a ';'-separated text table of the
// data folder, or the field-definition table that is only read.
enum class TSettingsStorage { Ini, Text, Definitions };

// Which log text a failed load of the table gets.
enum class TLoadFailureText { Identities, AccountPlan, Lopnr, NoDetail };

struct TSettingsFieldDef {
    std::string Name;
    TFieldType Type = TFieldType::ftUnknown;
    int Size = 0;                        // characters of a string field, else 0
    std::optional<std::string> Default;  // the field's text before the storage is read
};

struct TSettingsTableDef {
    std::string Name;  // the dataset's name ("CDSImportOrderPrefs")
    TSettingsStorage Storage = TSettingsStorage::Ini;
    std::string Place;        // the INI section or the file name
    bool Header = false;      // a text table with a header line of field names
    std::string UniqueField;  // a unique index on this field orders the table
    std::string OrderFields;  // the order of the records ("a;b")
    std::string MasterTable;  // the records shown are those of the master's current record,
    std::string MasterField;  //   linked through the master's field of this name
    bool OwnedByPlugins = false;
    bool Saved = true;  // false: saveSettings leaves it alone
    TLoadFailureText OnFailure = TLoadFailureText::Identities;
    std::vector<TSettingsFieldDef> Fields;

    bool HasDefaults() const;
    const TSettingsFieldDef* FindField(std::string_view name) const;  // letter case ignored
};

struct TSettingsSchema {
    std::vector<TSettingsTableDef> Tables;  // in the order saveSettings writes them
    std::vector<std::string> LoadOrder;     // the order loadSettings reads them
    std::vector<TSettingsPageDef> Pages;    // the generated settings pages, in the file's order

    const TSettingsTableDef* FindTable(std::string_view name) const;  // letter case ignored
    const TSettingsTableDef& Table(std::string_view name) const;      // raises when missing
    const TSettingsPageDef* FindPage(std::string_view className) const;
};

// Reads a schema text; a line that does not follow the file's rules, a default that does not
// convert for its field, a load list that is not every stored table once, or a page that binds a
// field its table lacks or a check text or choice value that does not convert for its field raises
// ESettingsSchemaError naming the line.
TSettingsSchema ParseSettingsSchema(std::string_view text);

// The program's schema, read on first use.
const TSettingsSchema& SettingsSchema();

}  // namespace tv
