#pragma once
// The selections of the export: a kind's selection table filled with every record of the kind, with
// the rows of the kind's selection SQL, as its settings say; the start value of the incremental
// invoice export; the keys and change times of the records changed after a time. (The central data
// module's getSelection*, selectAll*, openSelectionSQL, getSelectionStartInvoices,
// getSelection*ByTimeStamp and openTimeStampSQL.)

#include <string>
#include <string_view>

#include "export/export_module.h"
#include "export/timestamp_kinds.h"
#include "platform/rtl/date_time.h"

namespace tv {

inline constexpr std::string_view kNoSelectionSql =
    "Ingen SQL fråga har angivits i inställningarna. Titta i respektive modul";
inline constexpr std::string_view kIntervalNotBuilt = "Not yet implemented: Urvalsmetod intervall";
inline constexpr std::string_view kNoPurchaseOrders =
    "Kan inte exportera beställningar. Kräver Administration 2000.";
inline constexpr std::string_view kStartQueryFailed = "Misslyckades att hämta senaste fråga: %s";
inline constexpr std::string_view kAllOffersNote =
    "Hämtar samtliga offerter, notera att detta kan ta lite tid";
inline constexpr std::string_view kAllOrdersNote = "Hämtar samtliga order, notera att detta kan ta lite tid";
inline constexpr std::string_view kSelectionBySql = "SQL";
inline constexpr std::string_view kSelectionByInterval = "Intervall";
inline constexpr std::string_view kStartValueParameter = "startvalue";
// Joins the two pieces of a change look-up's default query.
inline constexpr std::string_view kWhereAll = "where 1=1";

enum class TSelectionKind {
    Articles,
    Best,
    Contacts,
    Customers,
    Invoices,
    Offers,
    Orders,
    PriceLists,
    SupplierInvoices,
    Suppliers,
};

class TExportSelections {
public:
    explicit TExportSelections(TExportModule& module) : module_(module) {}

    // Fills `selection` (not emptied first) by the kind's selection type: "SQL" (letter case
    // counts) runs the selection SQL, "Intervall" raises (price lists take it as all records),
    // anything else takes every record. Only invoices pass a start value to the SQL.
    void getSelection(TSelectionKind kind, TDataSet& selection, const std::string& startValue = {});
    // Every record of the kind, one key per record in the kit's order.
    void selectAll(TSelectionKind kind, TDataSet& selection);
    // The first column of every row of `sql`; a parameter "startvalue" gets `startValue` when given.
    void openSelectionSQL(TDataSet& selection, const std::string& sql, const std::string& startValue);
    // The first column of the first row of EXPORT_START_QUERY; empty without a query or a row.
    std::string getSelectionStartInvoices();

    // The data module's operations of these names.
    void getSelectionArticles(TDataSet& s) { getSelection(TSelectionKind::Articles, s); }
    void getSelectionBest(TDataSet& s) { getSelection(TSelectionKind::Best, s); }
    void getSelectionContacts(TDataSet& s) { getSelection(TSelectionKind::Contacts, s); }
    void getSelectionCustomers(TDataSet& s) { getSelection(TSelectionKind::Customers, s); }
    void getSelectionInvoices(TDataSet& s, const std::string& startvalue) {
        getSelection(TSelectionKind::Invoices, s, startvalue);
    }
    void getSelectionOffers(TDataSet& s) { getSelection(TSelectionKind::Offers, s); }
    void getSelectionOrders(TDataSet& s) { getSelection(TSelectionKind::Orders, s); }
    void getSelectionPriceLists(TDataSet& s) { getSelection(TSelectionKind::PriceLists, s); }
    void getSelectionSupplierInvoices(TDataSet& s) { getSelection(TSelectionKind::SupplierInvoices, s); }
    void getSelectionSuppliers(TDataSet& s) { getSelection(TSelectionKind::Suppliers, s); }

    // Fills the timestamp selection `selection` (not emptied first) with the kind's changed records:
    // `query` when it is not empty, else the kind's default query (timestamp_kinds.h).
    void getSelectionByTimeStamp(TTimestampKind kind, TDataSet& selection, TDateTime startvalue,
                                 const std::string& query);
    // Appends "key" (the first column's text) and "timestamp" (the second column: a date-time or
    // text column as a date-time, any other as whole seconds) for every row of `sql`. A parameter
    // "startvalue" gets `startvalue`, a date-time on an SQL Server company and Unix seconds
    // elsewhere; 0 too, so that a first run selects every record. An error is reported at level 2
    // and raised again.
    void openTimeStampSQL(TDataSet& selection, const std::string& sql, TDateTime startvalue);

    void getSelectionArticlesByTimeStamp(TDataSet& s, TDateTime startvalue, const std::string& query) {
        getSelectionByTimeStamp(TTimestampKind::Articles, s, startvalue, query);
    }
    void getSelectionCustomersByTimeStamp(TDataSet& s, TDateTime startvalue, const std::string& query) {
        getSelectionByTimeStamp(TTimestampKind::Customers, s, startvalue, query);
    }
    void getSelectionOrdersByTimeStamp(TDataSet& s, TDateTime startvalue, const std::string& query) {
        getSelectionByTimeStamp(TTimestampKind::Orders, s, startvalue, query);
    }
    void getSelectionInvoicesByTimeStamp(TDataSet& s, TDateTime startvalue, const std::string& query) {
        getSelectionByTimeStamp(TTimestampKind::Invoices, s, startvalue, query);
    }
    void getSelectionSupplierInvoicesByTimeStamp(TDataSet& s, TDateTime startvalue,
                                                 const std::string& query) {
        getSelectionByTimeStamp(TTimestampKind::SupplierInvoices, s, startvalue, query);
    }

private:
    TExportModule& module_;
};

}  // namespace tv
