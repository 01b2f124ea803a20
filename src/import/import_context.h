#pragma once
// What the import engine works with, handed to it by the application or by a test: the event
// tree it reports into, the kit datasets it reads and writes (named as the central data module
// names them), the per-kind settings tables (the time-reporting settings "CDSTidPrefs" among them),
// the field-definition table, the company database connection for searches by SQL, the
// time-reporting database, the work folders, the plug-in host's rule service and the sleeper of
// the pauses.

#include <functional>

#include "core/engine_context.h"
#include "import/rule_service.h"

namespace tv {

class IImportSleeper;
class TADkExt;
class TAdkDataSet;
class TADOConnection;
class TADOQuery;
struct TFormatSettings;

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
    TAdkDataSet* AdkArtikelSprak = nullptr;
    // Switched to the kit table each element of the "aux" container names.
    TAdkDataSet* ADKAux = nullptr;
    TAdkDataSet* AdkInventering = nullptr;
};

// One kit dataset of the context, as rows of tables name it.
using TImportDataSet = TAdkDataSet* TImportDataSets::*;

struct TImportContext : TEngineContext {
    TImportDataSets DataSets;
    // The company database connection (adminODBC) the SQL searches run on.
    TADOConnection* adminODBC = nullptr;
    // Turns an element name into the kit table of that name (AdkHelper of the central data module).
    const TADkExt* AdkHelper = nullptr;
    // The time-reporting database and the central data module's query over its customer table.
    TADOConnection* VismaTidConnection = nullptr;
    TADOQuery* TidKunder = nullptr;
    // The rules the order import runs after each order; nil where no plug-in host is there.
    IRuleService* RuleService = nullptr;
    // The pause after deleting a document's rows; nil: the program's real sleep and message pass.
    IImportSleeper* Sleeper = nullptr;
    // The numbers of the price fragments and of the price lines; null: the process's.
    const TFormatSettings* FormatSettings = nullptr;
    // Holds the company's writes while an import operation walks its container (true) and commits
    // them when the walk ends (false), raising when it cannot; null: each write commits on its own.
    std::function<void(bool hold)> holdWrites;
};

}  // namespace tv
