#pragma once
// What the export engine works with, handed to it by the application or by a test: the event tree
// it reports into, the kit datasets it reads (named as the central data module names them), the
// per-kind settings tables and their save, the field-definition table, the running numbers, the
// export document, the queries of the selections, the selection progress timer, the work folders,
// the format settings of the names it makes, and what customer price lists with extra data need.

#include <functional>

#include "core/engine_context.h"
#include "export/running_numbers.h"

namespace tv {

class IExtraPriceListData;
class TADOQuery;
class TAdkDataSet;
class TXMLDocument;
struct TFormatSettings;

struct TExportDataSets {
    // The registers and what the customer and contact files include.
    TAdkDataSet* AdkKunder = nullptr;
    TAdkDataSet* ADKLeverantorer = nullptr;
    TAdkDataSet* ADKKontakter = nullptr;
    TAdkDataSet* ADKArtiklar = nullptr;
    TAdkDataSet* AdkPrm = nullptr;
    // The chart of accounts of one accounting year.
    TAdkDataSet* ADKBokfAar = nullptr;
    TAdkDataSet* ADKKonto = nullptr;
    TAdkDataSet* ADKProfitCentres = nullptr;
    TAdkDataSet* ADKProjekt = nullptr;
    // The documents whose records the file names read.
    TAdkDataSet* AdkOrder = nullptr;
    TAdkDataSet* AdkOffert = nullptr;
    TAdkDataSet* ADKFakturor = nullptr;
    TAdkDataSet* ADKLevFakturor = nullptr;
    TAdkDataSet* ADKBest = nullptr;
    TAdkDataSet* AdkPrislistor = nullptr;
    // The parcels of orders (their rows dataset follows them) and the components of packages.
    TAdkDataSet* ADKKolli = nullptr;
    TAdkDataSet* AdkPaketArtiklar = nullptr;
    // What the article export reads beside the articles: sales and purchase prices, names in other
    // languages, accounting codes.
    TAdkDataSet* AdkForsaljningspriser = nullptr;
    TAdkDataSet* AdkInkPris = nullptr;
    TAdkDataSet* AdkArtikelSprak = nullptr;
    TAdkDataSet* AdkArtikelKontering = nullptr;
    // The datasets the selections walk for every record of a kind.
    TAdkDataSet* AdkTmp = nullptr;
    TAdkDataSet* AdkOrderUrval = nullptr;
    TAdkDataSet* AdkOffertUrval = nullptr;
    TAdkDataSet* AdkFakturaUrval = nullptr;
    TAdkDataSet* ADKLevFakturaUrval = nullptr;
};

// One kit dataset of the context, as rows of tables name it.
using TExportDataSet = TAdkDataSet* TExportDataSets::*;

struct TExportContext : TEngineContext {
    TExportDataSets DataSets;
    // Writes every settings section but the identities (the invoice export stores its start value).
    std::function<void()> saveSettings;
    // The identities table (CDSLopnr), its save, and where every run of the program keeps it.
    TDataSet* Identities = nullptr;
    std::function<void()> saveIdentities;
    TSharedIdentities SharedIdentities;
    // Puts everything written to the company on the disk, or raises; run before an export file is
    // renamed into place. Null: nothing to do.
    std::function<void()> makeWritesDurable;
    // The export document every export run fills (XMLDocument1).
    TXMLDocument* Document = nullptr;
    // The query of the selection SQL (qOrderUrval) and that of the invoice start value and of
    // GetDocumentsBySQL (ADOArbitrarySQL), both on the company database.
    TADOQuery* qOrderUrval = nullptr;
    TADOQuery* ADOArbitrarySQL = nullptr;
    // Opens and closes the company database connection of those queries (the SQL export
    // disconnects when it ends); null: the export leaves the connection as it stands.
    std::function<void()> connectODBC;
    std::function<void()> disconnectODBC;
    // Whether the company database is on SQL Server (the change look-ups then pass their start as
    // a date-time); null: it is not.
    std::function<bool()> IsSQLDb;
    // Switches the timer that reports how many records a long selection has fetched.
    std::function<void(bool enabled)> SetTimer1Enabled;
    // The dates and numbers of file names; null: the process's.
    const TFormatSettings* FormatSettings = nullptr;
    // The running numbers and agreement references of customer price lists
    // (CDSExportCustomerPricelistData) and their save; both needed only when a customer price
    // list is written with extra data.
    TDataSet* CustomerPricelistData = nullptr;
    std::function<void()> saveCustomerPricelistData;
    // Whether an operator is there to answer a question (the main window shows); null: never.
    std::function<bool()> Interactive;
    // The form that asks for a customer price list's extra data; null: none is installed, and
    // the question counts as dismissed.
    IExtraPriceListData* ExtraPriceListData = nullptr;
};

}  // namespace tv
