#pragma once
// What the import and the export engine both take from the application: the event tree they
// report into, the per-kind settings tables, the field-definition table and the work folders.
// Each engine's own context adds its kit datasets and what else it works with.

#include <functional>
#include <string>
#include <string_view>

#include "core/event_sink.h"

namespace tv {

class TDataSet;

struct TEngineContext {
    IEventSink* Events = nullptr;
    // The per-kind settings table of that name ("CDSImportCustomersPrefs"); raises for an unknown one.
    std::function<TDataSet&(std::string_view tableName)> SettingsTable;
    // CDSTables: const_table, const_string, const_value, const_title.
    TDataSet* FieldDefinitions = nullptr;
    // The work folder of a side (WORK_EXPORT 0, any other value the import side) and subfolder.
    std::function<std::string(int side, std::string_view subfolder)> getWorkFolder;
};

}  // namespace tv
