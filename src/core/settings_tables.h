#pragma once
// The settings tables that the central data module owns, made from the settings schema: one
// client dataset per table, named as the schema names it ("CDSImportOrderPrefs"), open and empty
// until the settings store loads them. The rule tables belong to the plug-in host (TRuleTables).

#include <string_view>

#include "core/settings_schema.h"
#include "platform/data/client_data_set.h"
#include "platform/rtl/component.h"

namespace tv {

inline constexpr std::string_view kGeneralTable = "InstallningarCDS";
inline constexpr std::string_view kIdentitiesTable = "CDSLopnr";
inline constexpr std::string_view kTidTable = "CDSTidPrefs";
inline constexpr std::string_view kSqlQueriesTable = "CDSExportSQLPrefs";
inline constexpr std::string_view kCustomerPricelistTable = "CDSExportCustomerPricelistData";
inline constexpr std::string_view kFieldDefinitionsTable = "CDSTables";

// Makes the table `def` describes as an open, empty client dataset owned by `owner` and named after
// the table: its fields in order, and its unique index or record order.
TClientDataSet* CreateSettingsDataSet(const TSettingsTableDef& def, TComponent* owner);
// Appends a record holding the table's defaults and posts it.
void AppendDefaultsRecord(TDataSet& dataSet, const TSettingsTableDef& def);

class TSettingsTables : public TComponent {
public:
    explicit TSettingsTables(TComponent* owner = nullptr, const TSettingsSchema& schema = SettingsSchema());

    const TSettingsSchema& Schema() const { return schema_; }
    // The table of that name (letter case ignored); EDatabaseError for one the module does not own.
    TClientDataSet& Table(std::string_view name) const;
    TClientDataSet* FindTable(std::string_view name) const;

    TClientDataSet& InstallningarCDS() const { return Table(kGeneralTable); }
    TClientDataSet& CDSLopnr() const { return Table(kIdentitiesTable); }
    TClientDataSet& CDSTidPrefs() const { return Table(kTidTable); }
    TClientDataSet& CDSExportSQLPrefs() const { return Table(kSqlQueriesTable); }
    TClientDataSet& CDSExportCustomerPricelistData() const { return Table(kCustomerPricelistTable); }
    TClientDataSet& CDSTables() const { return Table(kFieldDefinitionsTable); }

private:
    const TSettingsSchema& schema_;
};

}  // namespace tv
