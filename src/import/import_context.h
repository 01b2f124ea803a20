#pragma once
// What the import engine works with, handed to it by the central data module or by a test: the
// event tree it reports into, the kit datasets it reads and writes (named as the central data module
// names them), the per-kind settings tables, the field-definition table, the company database
// connection for searches by SQL and the work folders.

#include <functional>
#include <string>
#include <string_view>

#include "core/event_sink.h"

namespace tv {

class TAdkDataSet;
class TADOConnection;
class TDataSet;
class TMainDM;

struct TImportDataSets {
    TAdkDataSet* AdkKunder = nullptr;
    TAdkDataSet* ADKLeverantorer = nullptr;
    TAdkDataSet* ADKArtiklar = nullptr;
    TAdkDataSet* AdkInkPris = nullptr;
    TAdkDataSet* AdkPrislistor = nullptr;
    TAdkDataSet* AdkForsaljningspriser = nullptr;
    TAdkDataSet* AdkOrder = nullptr;
    TAdkDataSet* AdkOffert = nullptr;
    TAdkDataSet* ADKFakturor = nullptr;
    TAdkDataSet* ADKLevFakturor = nullptr;
    TAdkDataSet* ADKBest = nullptr;
    TAdkDataSet* AdkAvtal = nullptr;
    TAdkDataSet* AdkInkFs = nullptr;
    TAdkDataSet* ADKManuellIn = nullptr;
    TAdkDataSet* AdkManuellUt = nullptr;
    TAdkDataSet* ADKKundinbetalningar = nullptr;
    TAdkDataSet* ADKKontakter = nullptr;
    TAdkDataSet* ADKProjekt = nullptr;
};

struct TImportContext {
    IEventSink* Events = nullptr;
    TImportDataSets DataSets;
    // The per-kind settings table of that name ("CDSImportCustomersPrefs"); raises for an unknown one.
    std::function<TDataSet&(std::string_view tableName)> SettingsTable;
    // CDSTables: const_table, const_string, const_value, const_title.
    TDataSet* FieldDefinitions = nullptr;
    // The company database connection (adminODBC) the SQL searches run on.
    TADOConnection* adminODBC = nullptr;
    // The work folder of a side (WORK_EXPORT 0, any other value the import side) and subfolder.
    std::function<std::string(int side, std::string_view subfolder)> getWorkFolder;
};

// The context of the central data module: its event tree, its kit datasets of those names, its
// settings tables, CDSTables, adminODBC and work folders. The module must outlive the context.
TImportContext MakeImportContext(TMainDM& mainDM);

}  // namespace tv
