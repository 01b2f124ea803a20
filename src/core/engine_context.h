#pragma once
// What the import and the export engine both take from the application: the event tree they
// report into, the per-kind settings tables, the field-definition table, the work folders and the
// holding of the company's writes. Each engine's own context adds its kit datasets and what else
// it works with.

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
    // Holds the company's writes and reads in one transaction (true) and commits it (false),
    // raising when it cannot; null: each write commits on its own.
    std::function<void(bool hold)> holdWrites;
};

// Runs `work` with the company's writes held, as many writes or reads in a row want them, and
// commits them when it ends. When `work` fails, what it wrote is committed as each write was
// before; a failure to commit it is reported beside the work's own, which is raised again.
template <class Work>
void RunHoldingWrites(const TEngineContext& context, Work&& work) {
    const auto& hold = context.holdWrites;
    if (!hold) return work();
    hold(true);
    try {
        work();
    } catch (...) {
        try {
            hold(false);
        } catch (const std::exception& e) {
            context.Events->reportError(e.what(), elError);
        }
        throw;
    }
    hold(false);
}

}  // namespace tv
