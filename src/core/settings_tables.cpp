#include "core/settings_tables.h"

#include "platform/data/db_error.h"

namespace tv {

TClientDataSet* CreateSettingsDataSet(const TSettingsTableDef& def, TComponent* owner) {
    auto* dataSet = new TClientDataSet(owner);
    try {
        dataSet->SetName(def.Name);
        for (const auto& field : def.Fields) dataSet->FieldDefs().Add(field.Name, field.Type, field.Size);
        if (!def.UniqueField.empty()) {
            dataSet->AddIndex(def.UniqueField, def.UniqueField, ixUnique);
            dataSet->SetIndexName(def.UniqueField);
        } else if (!def.OrderFields.empty()) {
            dataSet->SetIndexFieldNames(def.OrderFields);
        }
        dataSet->CreateDataSet();
    } catch (...) {
        delete dataSet;
        throw;
    }
    return dataSet;
}

void AppendDefaultsRecord(TDataSet& dataSet, const TSettingsTableDef& def) {
    dataSet.Append();
    try {
        for (const auto& field : def.Fields)
            if (field.Default) dataSet.FieldByName(field.Name).SetAsString(*field.Default);
        dataSet.Post();
    } catch (...) {
        dataSet.Cancel();
        throw;
    }
}

TSettingsTables::TSettingsTables(TComponent* owner, const TSettingsSchema& schema)
    : TComponent(owner), schema_(schema) {
    for (const auto& def : schema_.Tables)
        if (!def.OwnedByPlugins) CreateSettingsDataSet(def, this);
}

TClientDataSet* TSettingsTables::FindTable(std::string_view name) const {
    return dynamic_cast<TClientDataSet*>(FindComponent(name));
}

TClientDataSet& TSettingsTables::Table(std::string_view name) const {
    if (TClientDataSet* table = FindTable(name)) return *table;
    DatabaseError("The settings table '%s' does not exist", {name});
}

}  // namespace tv
