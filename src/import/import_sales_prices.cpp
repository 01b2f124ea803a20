// The sales-price import: every price list of the "pricelists" container, in three passes. Its head
// ("atPrislistor") is created or changed in the price-list register under the list settings; the
// base price of each row (quantity 0 or 1) is added or changed under the price settings; then the
// quantity brackets of the rows (quantity not 0) replace the stored ones of the same quantity,
// after the old brackets of the listed articles were deleted when CLEAR_OLD_QTY_PRICES is 1.
// Brackets are keyed as the base prices are: a row's article resolved from its key or number, its
// list from its own "PRICE_PRICE_LIST" or else the list's code.

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/field_mapping.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/mapped_field_writer.h"
#include "import/price_key_resolvers.h"
#include "import/record_write.h"
#include "import/sales_price_helper.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"
#include "platform/xml/xml_node_values.h"

namespace tv {

namespace {

inline constexpr std::string_view kCaption = "Importerar försäljningspriser";
inline constexpr int kStepPicture = 13;
inline constexpr std::string_view kEmpty = "Inga försäljningspriser att importera";
inline constexpr std::string_view kListItem = "Försäljningsprislista - #";
inline constexpr std::string_view kListExists = "Prislista finns redan: ";
inline constexpr std::string_view kListMissing = "Prislista saknas: ";
inline constexpr std::string_view kListNotFoundAgain = "Misslyckades att hitta prislista: ";
inline constexpr std::string_view kListChanging = "Ändrar prislista: ";
inline constexpr std::string_view kListCreated = "Skapade prislista: ";
inline constexpr std::string_view kRowListEmpty =
    "Prislistan för posten är tom, eller saknas i Administration";
inline constexpr std::string_view kNoVismaArticle = "Saknar visma artikelnr för nyckel ";
inline constexpr std::string_view kPriceExists = "Försäljningspris finns redan";
inline constexpr std::string_view kBasePriceMissing = "Grundpris finns inte";
inline constexpr std::string_view kBaseChanging = "Ändrar grundpris för artikel: ";
inline constexpr std::string_view kBaseChangeFailed = "Misslyckades ändra grundpris för artikel: ";
inline constexpr std::string_view kBaseAdding = "Lägger till artikelpris: ";
inline constexpr std::string_view kBaseAddFailed = "Misslyckades att skapa pris för artikel: ";
inline constexpr std::string_view kBrackets = "Importerar stafflingar";
inline constexpr std::string_view kDeletingOld = "Tar bort gamla stafflingar";
inline constexpr std::string_view kAddingNew = "Lägger till \"nya\" stafflingar";
inline constexpr std::string_view kBracketLine = "%s, %n";
inline constexpr std::string_view kBracketFailed = "Misslyckades med artikel/prislista %s %s";

inline constexpr std::string_view kSettingsTable = "CDSImportSalesPrices";
inline constexpr std::string_view kHeadElement = "atPrislistor";
inline constexpr std::string_view kRowsElement = "rows";
inline constexpr std::string_view kRowElement = "row";
inline constexpr std::string_view kQuantityElement = "PRICE_QUANTITY";
inline constexpr std::string_view kPriceElement = "PRICE_PRICE";
inline constexpr int kCodeField = 0;
inline constexpr int kPriceField = 3;

// The list settings: 1 skips the list, 2 raises `failText` + key, any other value writes it.
bool SkipsList(int setting, std::string_view failText, const std::string& key) {
    if (setting == 2) throw EImportError(std::string(failText) + key);
    return setting == 1;
}

// Nesting event items opened here are closed on every way out, so that what the job reports after
// an error is not filed under them.
class TNestedItems {
public:
    explicit TNestedItems(IEventSink& events) : events_(events) {}
    ~TNestedItems() {
        while (open_ > 0) Close();
    }
    void Open(std::string_view text) {
        events_.addEventItem(text, true);
        ++open_;
    }
    void Close() {
        events_.CloseNestedEventItem();
        --open_;
    }

private:
    IEventSink& events_;
    int open_ = 0;
};

// What one run works with, read once for every list.
struct TSalesPriceRun {
    TSalesPriceRun(const TDataSet& settings, TAdkDataSet& lists, TAdkDataSet& prices,
                   TDataSet& fieldDefinitions, const TFormatSettings& numbers, IEventSink& events)
        : Settings(settings),
          Lists(lists),
          Prices(prices),
          Helper(prices),
          Mapping(TFieldMapping::For(fieldDefinitions, kHeadElement)),
          HeadWriter(Mapping, lists),
          Numbers(numbers),
          Events(events) {}

    const TDataSet& Settings;
    TAdkDataSet& Lists;
    TAdkDataSet& Prices;
    TImportSalesPriceHelper Helper;
    TFieldMapping Mapping;
    TMappedFieldWriter HeadWriter;
    const TFormatSettings& Numbers;
    IEventSink& Events;

    double Number(const TXMLNode& row, std::string_view element, double defaultValue) const {
        return GetXMLNodeFloat(ChildElement(row, element), defaultValue, Numbers);
    }
};

}  // namespace

bool TDMImport::ImportSalesPrices() {
    return RunImportFrame({.Caption = kCaption,
                           .StepPicture = kStepPicture,
                           .Container = "pricelists",
                           .EmptyText = kEmpty,
                           .CountsItems = false},
                          [&](TXMLNode& container) { ImportPriceLists(container); });
}

const TFormatSettings& TDMImport::NumberFormat() const {
    return context_.FormatSettings ? *context_.FormatSettings : DefaultFormatSettings();
}

void TDMImport::ImportPriceLists(TXMLNode& container) {
    TAdkDataSet& lists = KitDataSet(&TImportDataSets::AdkPrislistor, "AdkPrislistor");
    TAdkDataSet& prices = KitDataSet(&TImportDataSets::AdkForsaljningspriser, "AdkForsaljningspriser");
    TSalesPriceRun run(context_.SettingsTable(kSettingsTable), lists, prices, *context_.FieldDefinitions,
                       NumberFormat(), Events());
    IEventSink& events = run.Events;
    const bool clearOld = ReadIntegerSetting(run.Settings, "CLEAR_OLD_QTY_PRICES") == 1;

    ForEachItem(container, [&](TXMLNode& list, int position) {
        events.addEventItem(std::string(kListItem) + std::to_string(position + 1), false);
        const int onListExists = ReadIntegerSetting(run.Settings, "ON_SPLIST_EXIST");
        const int onListMissing = ReadIntegerSetting(run.Settings, "ON_SPLIST_DOES_NOT_EXIST");
        std::string code;

        // The head: the list is changed or created, and its code is what the kit stored.
        if (const TXMLNode* head = ChildElement(list, kHeadElement)) {
            const TResolvedKey key = ResolvePriceListHead(*head);
            code = key.Text;
            lists.EmptyDataSet();
            lists.SetAdkSortOrder(asPrislista);
            const bool exists = !code.empty() && lists.AdkNavFind(code, true, true);
            try {
                if (exists) {
                    if (SkipsList(onListExists, kListExists, key.Text)) return true;
                    if (!lists.AdkNavFind(code, true, true))
                        throw EImportError(std::string(kListNotFoundAgain) + code);
                    events.reportError(std::string(kListChanging) + code, elInfo);
                    lists.Edit();
                    run.HeadWriter.Write(*head, true);
                    lists.Post();
                    code = lists.FieldByAdkIndex(kCodeField).AsString();
                } else {
                    if (SkipsList(onListMissing, kListMissing, key.Text)) return true;
                    lists.Append();
                    run.HeadWriter.Write(*head);
                    lists.Post();
                    code = ReadBackNumber(lists);
                    events.reportError(std::string(kListCreated) + code, elInfo);
                    if (key.FromAttribute) {
                        keyHelper_.SetKnowVismaKeyValue(key.Text, code, TKnownKey_Pricelist);
                    } else {
                        keyHelper_.AddKnownKey(TKnownKey_Pricelist, code, kOptionEdit);
                        keyHelper_.SetKnowVismaKeyValue(code, code, TKnownKey_Pricelist);
                    }
                }
            } catch (...) {
                CancelPending(lists);
                throw;
            }
        }

        TXMLNode* rows = ChildElement(list, kRowsElement);
        if (!rows) return true;

        // Base prices: every row of quantity 0 or 1. A list without head takes its code from
        // its first row.
        ForEachItem(*rows, [&](TXMLNode& row, int) {
            if (code.empty()) {
                const TResolvedKey rowList = ResolvePriceRowPriceList(row, keyHelper_);
                code = rowList.FromAttribute ? keyHelper_.GetVismaValue(rowList.Text, TKnownKey_Pricelist)
                                             : rowList.Text;
                if (code.empty()) throw EImportError(std::string(kRowListEmpty));
            }
            const TResolvedKey articleKey = ResolvePriceRowArticle(row, ValidArticleKeys);
            const std::string article = articleKey.FromAttribute
                                            ? ArticleKeyToVisma(articleKey.Text, ValidArticleKeys)
                                            : articleKey.Text;
            if (TrimView(article).empty()) throw EImportError(std::string(kNoVismaArticle) + articleKey.Text);
            if (run.Number(row, kQuantityElement, 0) > 1) return true;

            if (run.Helper.FindBasePrice(article, code)) {
                const int setting = ReadIntegerSetting(run.Settings, "ON_SP_EXIST");
                if (setting == 1) return true;
                if (setting == 2) throw EImportError(std::string(kPriceExists));
                events.reportError(std::string(kBaseChanging) + article, elExcessive);
                const double price =
                    run.Number(row, kPriceElement, prices.FieldByAdkIndex(kPriceField).AsFloat());
                try {
                    run.Helper.UpdateSalesPrice(article, code, price);
                } catch (const std::exception& e) {
                    throw EImportError(std::string(kBaseChangeFailed) + article + ", " + e.what());
                }
            } else {
                const int setting = ReadIntegerSetting(run.Settings, "ON_SP_DOES_NOT_EXIST");
                if (setting == 2) throw EImportError(std::string(kBasePriceMissing));
                if (setting != 0) return true;
                events.reportError(std::string(kBaseAdding) + article, elExcessive);
                const double price = run.Number(row, kPriceElement, 0);
                try {
                    run.Helper.AddSalesPrice(article, code, price);
                } catch (const std::exception&) {
                    CancelPending(prices);
                    events.reportError(std::string(kBaseAddFailed) + article, elError);
                }
            }
            return true;
        });

        // Brackets: the rows named "row" (any letter case) whose quantity is not 0.
        const auto forEachRow = [&](auto&& visit) {
            ForEachItem(*rows, [&](TXMLNode& row, int) {
                if (IsElement(row) && AnsiSameText(row.NodeName(), kRowElement)) visit(row);
                return true;
            });
        };
        // A row's article as the base pass resolved it; empty when it cannot be resolved.
        const auto articleOf = [&](const TXMLNode& row) -> std::string {
            try {
                const TResolvedKey key = ResolvePriceRowArticle(row, ValidArticleKeys);
                return key.FromAttribute ? ArticleKeyToVisma(key.Text, ValidArticleKeys) : key.Text;
            } catch (const EImportError&) {
                return {};
            }
        };
        TNestedItems nested(events);
        nested.Open(kBrackets);
        if (clearOld) {
            nested.Open(kDeletingOld);
            forEachRow([&](const TXMLNode& row) {
                const std::string article = articleOf(row);
                if (!TrimView(article).empty()) run.Helper.AddForDelete(article);
            });
            run.Helper.DeleteAll(code);
            run.Helper.ClearDeleteList();
            nested.Close();
        }
        nested.Open(kAddingNew);
        forEachRow([&](const TXMLNode& row) {
            const double quantity = run.Number(row, kQuantityElement, 0);
            if (quantity == 0) return;
            const double price = run.Number(row, kPriceElement, 0);
            const std::string article = articleOf(row);
            std::string rowList = ChildText(row, kPricePriceListElement);
            if (TrimView(rowList).empty()) rowList = code;
            // No bracket with an empty key reaches the kit.
            if (TrimView(article).empty() || TrimView(rowList).empty()) {
                events.reportError(Format(kBracketFailed, {article, rowList}), elError);
                return;
            }
            if (run.Helper.FindStafflPrice(article, rowList, quantity))
                run.Helper.DeleteSalesPrice(article, rowList, quantity);
            try {
                events.reportError(Format(kBracketLine, {article, quantity}, run.Numbers), elExcessive);
                run.Helper.AddSalesPrice2(article, rowList, quantity, price);
            } catch (const std::exception&) {
                CancelPending(prices);
                events.reportError(Format(kBracketFailed, {article, rowList}), elError);
            }
        });
        return true;
    });
}

}  // namespace tv
