#include "export/selections.h"

#include "export/export_text.h"
#include "platform/data/field.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// Per kind, in TSelectionKind order: where its selection settings are, which kit dataset gives every
// record (with the table and sort order set on it first, where given), and how.
struct TSelectionDef {
    std::string_view SettingsTable;
    std::string_view TypeField;
    std::string_view SqlField;
    TExportDataSet DataSet;
    TAdkTable Table;  // atIngen: the dataset keeps its own
    TAdkSortOrder Order;
    bool TrimKey;
    bool IntervalRaises;
    std::string_view AllRecordsNote;  // reported at level 1, the fetch counted by Timer1
    bool InUseByWriter;               // emptied before the fetch instead of closed after it
    bool NeedsTable;                  // raises kNoPurchaseOrders when the company lacks the table
};

constexpr TSelectionDef kDefs[] = {
    {"CDSExportArticlesPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkTmp, atArtiklar,
     asIngen, false, true, "", false, false},
    {"CDSExportBestPrefs", "BEST_SELECTION_TYPE", "BEST_SELECTION_SQL", &TExportDataSets::ADKBest, atIngen,
     asBestallningNr, false, true, "", true, true},
    {"CDSExportContactsPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkTmp, atKontakter,
     asKontaktID, true, true, "", false, false},
    {"CDSExportCustomersPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkTmp, atKunder,
     asIngen, true, true, "", false, false},
    {"CDSExportInvoicesPrefs", "INVOICE_SELECTION_TYPE", "INVOICE_SELECTION_SQL",
     &TExportDataSets::AdkFakturaUrval, atIngen, asFakturaNr, true, true, "", false, false},
    {"CDSExportOfferPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkOffertUrval, atIngen,
     asOffertNr, true, true, kAllOffersNote, false, false},
    {"CDSExportOrderPrefs", "ORDER_SELECTION_TYPE", "ORDER_SELECTION_SQL", &TExportDataSets::AdkOrderUrval,
     atIngen, asOrderNr, true, true, kAllOrdersNote, false, false},
    {"CDSExportPricelistsPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkPrislistor, atIngen,
     asPrislista, false, false, "", true, false},
    {"CDSExportSupplierInvoicePrefs", "SUPINV_SELECTION_TYPE", "SUPINV_SELECTION_SQL",
     &TExportDataSets::ADKLevFakturaUrval, atIngen, asLevFakturaNr, false, true, "", false, false},
    {"CDSExportSuppliersPrefs", "SELECTION_TYPE", "SELECTION_SQL", &TExportDataSets::AdkTmp, atLeverantorer,
     asIngen, false, true, "", false, false},
};
static_assert(std::size(kDefs) == static_cast<size_t>(TSelectionKind::Suppliers) + 1);

const TSelectionDef& DefOf(TSelectionKind kind) {
    return kDefs[static_cast<int>(kind)];
}

// Runs `body`, then `after` whether the body raised or not.
template <class Body, class After>
void WithFinally(Body&& body, After&& after) {
    try {
        body();
    } catch (...) {
        after();
        throw;
    }
    after();
}

// The query closed and holding `sql`, each of its parameters without a value.
TParameters& Prepared(TADOQuery& query, const std::string& sql) {
    query.Close();
    query.SQL().SetText(sql);
    TParameters& parameters = query.Parameters();
    for (int i = 0; i < parameters.Count(); ++i) parameters.Items(i).SetValue(Variant());
    return parameters;
}

}  // namespace

void TExportSelections::getSelection(TSelectionKind kind, TDataSet& selection,
                                     const std::string& startValue) {
    const TSelectionDef& def = DefOf(kind);
    const TDataSet& prefs = module_.Settings(def.SettingsTable);
    const std::string type = prefs.FieldByName(def.TypeField).AsString();
    if (type == kSelectionBySql)
        openSelectionSQL(selection, prefs.FieldByName(def.SqlField).AsString(),
                         kind == TSelectionKind::Invoices ? startValue : std::string());
    else if (type == kSelectionByInterval && def.IntervalRaises)
        throw Exception(std::string(kIntervalNotBuilt));
    else
        selectAll(kind, selection);
}

void TExportSelections::selectAll(TSelectionKind kind, TDataSet& selection) {
    const TSelectionDef& def = DefOf(kind);
    TAdkDataSet& data = module_.KitDataSet(def.DataSet);
    if (def.NeedsTable && !data.AdkTableAvailible()) throw Exception(std::string(kNoPurchaseOrders));
    const bool counted = !def.AllRecordsNote.empty();
    if (counted) {
        module_.Events().reportError(def.AllRecordsNote, elInfo);
        module_.Context().SetTimer1Enabled(true);
    }
    WithFinally(
        [&] {
            if (def.Table != atIngen) {
                data.Close();
                data.SetAdkTable(def.Table);
            }
            if (def.Order != asIngen) data.SetAdkSortOrder(def.Order);
            if (!data.Active()) data.MakeOpen();
            // Rows the dataset already holds would be read twice. Only the keys are wanted, unless
            // the writer goes on with the rows.
            data.EmptyDataSet();
            if (def.InUseByWriter)
                data.FetchAllNow(false);
            else
                data.FetchAllKeys(0);
            for (data.First(); !data.Eof(); data.Next()) {
                const std::string key = data.FieldByAdkIndex(0).AsString();
                AppendSelectionKey(selection, def.TrimKey ? TrimView(key) : std::string_view(key));
            }
        },
        [&] {
            if (counted) module_.Context().SetTimer1Enabled(false);
            if (!def.InUseByWriter) data.Close();
        });
}

void TExportSelections::openSelectionSQL(TDataSet& selection, const std::string& sql,
                                         const std::string& startValue) {
    if (TrimView(sql).empty()) throw Exception(std::string(kNoSelectionSql));
    TADOQuery& query = module_.qOrderUrval();
    WithFinally(
        [&] {
            if (TParameter* start = Prepared(query, sql).FindParam(kStartValueParameter))
                if (!startValue.empty()) start->SetValue(Variant::FromUtf8(startValue));
            query.Open();
            for (; !query.Eof(); query.Next()) AppendSelectionKey(selection, query.Fields(0).AsString());
        },
        [&] { query.Close(); });
}

std::string TExportSelections::getSelectionStartInvoices() {
    const std::string sql =
        Trim(module_.Settings("CDSExportInvoicesPrefs").FieldByName("EXPORT_START_QUERY").AsString());
    if (sql.empty()) return {};
    TADOQuery& query = module_.ADOArbitrarySQL();
    std::string value;
    try {
        WithFinally(
            [&] {
                query.Close();
                query.SQL().SetText(sql);
                query.Open();
                if (!query.Eof()) value = query.Fields(0).AsString();
            },
            [&] { query.Close(); });
    } catch (const std::exception& e) {
        throw Exception(Format(kStartQueryFailed, {e.what()}));
    }
    return value;
}

void TExportSelections::getSelectionByTimeStamp(TTimestampKind kind, TDataSet& selection,
                                                TDateTime startvalue, const std::string& query) {
    if (!query.empty()) return openTimeStampSQL(selection, query, startvalue);
    const TTimestampKindDef& def = TimestampKindOf(kind);
    const bool unixStart = !module_.Context().IsSQLDb() && !def.LastPieceUnixStart.empty();
    std::string sql(def.FirstPiece);
    sql += kWhereAll;
    sql += unixStart ? def.LastPieceUnixStart : def.LastPiece;
    openTimeStampSQL(selection, sql, startvalue);
}

void TExportSelections::openTimeStampSQL(TDataSet& selection, const std::string& sql, TDateTime startvalue) {
    TADOQuery& query = module_.qOrderUrval();
    try {
        WithFinally(
            [&] {
                if (TParameter* start = Prepared(query, sql).FindParam(kStartValueParameter))
                    start->SetValue(module_.Context().IsSQLDb() ? Variant::FromDate(startvalue)
                                                                : Variant(DateTimeToUnix(startvalue)));
                query.Open();
                TField& key = selection.FieldByName("key");
                TField& time = selection.FieldByName("timestamp");
                for (; !query.Eof(); query.Next()) {
                    const TField& changed = query.Fields(1);
                    const TFieldType type = changed.DataType();
                    selection.Append();
                    key.SetAsString(query.Fields(0).AsString());
                    if (IsDateTimeType(type) || IsStringType(type) || (IsMemoType(type) && !IsBlobType(type)))
                        time.SetAsFloat(changed.AsDateTime());
                    else
                        time.SetAsFloat(static_cast<double>(changed.AsLargeInt()));
                    selection.Post();
                }
            },
            [&] { query.Close(); });
    } catch (const std::exception& e) {
        if (selection.State() == dsInsert || selection.State() == dsEdit) selection.Cancel();
        module_.Events().reportError(e.what(), elError);
        throw;
    }
}

}  // namespace tv
