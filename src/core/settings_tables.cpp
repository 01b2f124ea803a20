#include "core/settings_tables.h"

#include "platform/data/db_error.h"

namespace tv {

TClientDataSet* CreateSettingsDataSet(const TSettingsTableSpec& spec, TComponent* owner) {
    auto* dataSet = new TClientDataSet(owner);
    try {
        dataSet->SetName(spec.Name);
        for (const auto& field : spec.Fields) dataSet->FieldDefs().Add(field.Name, field.Type, field.Size);
        if (!spec.UniqueField.empty()) {
            dataSet->AddIndex(spec.UniqueField, spec.UniqueField, ixUnique);
            dataSet->SetIndexName(spec.UniqueField);
        } else if (!spec.OrderFields.empty()) {
            dataSet->SetIndexFieldNames(spec.OrderFields);
        }
        dataSet->CreateDataSet();
    } catch (...) {
        delete dataSet;
        throw;
    }
    return dataSet;
}

void AppendDefaultsRecord(TDataSet& dataSet, const TSettingsTableSpec& spec) {
    dataSet.Append();
    try {
        for (const auto& field : spec.Fields)
            if (field.Default) dataSet.FieldByName(field.Name).SetAsString(*field.Default);
        dataSet.Post();
    } catch (...) {
        dataSet.Cancel();
        throw;
    }
}

TSettingsTables::TSettingsTables(TComponent* owner, const TSettingsSchema& schema)
    : TComponent(owner), schema_(schema) {
    for (const auto& spec : schema_.Tables)
        if (!spec.OwnedByPlugins) CreateSettingsDataSet(spec, this);
}

TClientDataSet* TSettingsTables::FindTable(std::string_view name) const {
    return dynamic_cast<TClientDataSet*>(FindComponent(name));
}

TClientDataSet& TSettingsTables::Table(std::string_view name) const {
    if (TClientDataSet* table = FindTable(name)) return *table;
    DatabaseError("The settings table '%s' does not exist", {name});
}

}  // namespace tv
