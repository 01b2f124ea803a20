// The purchase-price import: every price item (a supplier's price of an article) of the groups in
// the "purchaseprices" container. Its base price is changed or added under the settings, then its
// quantity brackets replace the stored ones of the same quantity. With `ignorefailures` a write the
// kit refuses is reported with the article and supplier and passed over; without it, it ends the
// import.

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/price_key_resolvers.h"
#include "import/purchase_price_helper.h"
#include "import/record_write.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"
#include "platform/xml/xml_node_values.h"

namespace tv {

namespace {

inline constexpr std::string_view kCaption = "Importerar inköpspriser";
inline constexpr int kStepPicture = 5;
inline constexpr std::string_view kEmpty = "Inga inköpspriser att importera";
inline constexpr std::string_view kItem = "Inköpspris - #";
inline constexpr std::string_view kPriceExists = "Inköpspris finns readan";
inline constexpr std::string_view kBasePriceMissing = "Grundpris finns inte";
inline constexpr std::string_view kChanging = "Ändrar artikel: ";
inline constexpr std::string_view kAdding = "Lägger till artikel: ";
inline constexpr std::string_view kWriteFailed = "Misslyckades med artikel/lev %s %s";
inline constexpr std::string_view kChangeFailed = "Misslyckades ändra artikel: ";
inline constexpr std::string_view kAddFailed = "Misslyckades att ändra artikel: ";
inline constexpr std::string_view kBracketFailed = "Misslyckades att spara till Administration: ";
inline constexpr std::string_view kBrackets = "Importerar stafflingar";
inline constexpr std::string_view kInvalidQuantity = "Ogiltligt antal för staffling";

inline constexpr std::string_view kSettingsTable = "CDSImportPurchasePrices";
inline constexpr std::string_view kSupplierArticleElement = "ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER";
inline constexpr std::string_view kPriceElement = "ARTICLE_PURCHASE_PRICE_PRICE";
inline constexpr std::string_view kQuantityElement = "ARTICLE_PURCHASE_PRICE_QUANTITY";
inline constexpr std::string_view kBracketsElement = "pricebrackets";
inline constexpr std::string_view kBracketElement = "pricebracket";

}  // namespace

bool TDMImport::ImportPurchasePrices() {
    return ImportPurchasePrices2(0);
}

bool TDMImport::ImportPurchasePrices2(int ignorefailures) {
    return RunImportFrame(
        {.Caption = kCaption,
         .StepPicture = kStepPicture,
         .Container = "purchaseprices",
         .EmptyText = kEmpty,
         .CountsItems = false},
        [&](TXMLNode& container) { ImportPurchasePriceItems(container, ignorefailures != 0); });
}

void TDMImport::ImportPurchasePriceItems(TXMLNode& container, bool ignoreFailures) {
    const TDataSet& settings = context_.SettingsTable(kSettingsTable);
    TAdkDataSet& prices = KitDataSet(&TImportDataSets::AdkInkPris, "AdkInkPris");
    TImportPurchasePriceHelper helper(prices);
    const TFormatSettings& numbers = NumberFormat();
    IEventSink& events = Events();

    // A write that failed: passed over with a line when failures are ignored (answers true),
    // else the import ends with `failText` and the cause.
    const auto failed = [&](const std::string& article, const std::string& supplier,
                            std::string_view failText, const std::exception& e) {
        CancelPending(prices);
        if (!ignoreFailures) throw EImportError(std::string(failText) + e.what());
        events.reportError(Format(kWriteFailed, {article, supplier}), elError);
    };

    for (TXMLNode* group : container.ChildNodes()) {
        ForEachItem(*group, [&](TXMLNode& item, int position) {
            events.addEventItem(std::string(kItem) + std::to_string(position + 1), false);
            const TResolvedKey supplierKey = ResolvePurchasePriceSupplier(item, ValidSuppliers);
            const std::string supplier = supplierKey.FromAttribute
                                             ? SupplierKeyToVisma(supplierKey.Text, ValidSuppliers)
                                             : supplierKey.Text;
            const TResolvedKey articleKey = ResolvePurchasePriceArticle(item, ValidArticleKeys);
            const std::string article = articleKey.FromAttribute
                                            ? ArticleKeyToVisma(articleKey.Text, ValidArticleKeys)
                                            : articleKey.Text;
            const TXMLNode* supplierArticle = ChildElement(item, kSupplierArticleElement);
            const TXMLNode* price = ChildElement(item, kPriceElement);

            if (helper.FindBasePrice(article, supplier)) {
                const int setting = ReadIntegerSetting(settings, "ON_PP_EXIST");
                if (setting == 1) return true;
                if (setting == 2) throw EImportError(std::string(kPriceExists));
                events.reportError(std::string(kChanging) + article, elExcessive);
                // What the item leaves out keeps its stored value.
                const std::string number =
                    GetXMLNodeText(supplierArticle, prices.FieldByAdkIndex(ppSupplierArticle).AsString());
                const double value =
                    GetXMLNodeFloat(price, prices.FieldByAdkIndex(ppPrice).AsFloat(), numbers);
                try {
                    prices.Edit();
                    prices.FieldByAdkIndex(ppArticle).SetAsString(article);
                    prices.FieldByAdkIndex(ppSupplier).SetAsString(supplier);
                    prices.FieldByAdkIndex(ppPrice).SetAsFloat(value);
                    prices.FieldByAdkIndex(ppSupplierArticle).SetAsString(number);
                    prices.Post();
                } catch (const std::exception& e) {
                    failed(article, supplier, std::string(kChangeFailed) + article + ", ", e);
                    return true;
                }
            } else {
                const int setting = ReadIntegerSetting(settings, "ON_PP_DOES_NOT_EXIST");
                if (setting == 1) return true;
                if (setting == 2) throw EImportError(std::string(kBasePriceMissing));
                if (setting == 0) {
                    events.reportError(std::string(kAdding) + article, elExcessive);
                    const std::string number = GetXMLNodeText(supplierArticle, "");
                    const double value = GetXMLNodeFloat(price, 0, numbers);
                    try {
                        helper.AddPurchasePrice(article, supplier, number, value);
                    } catch (const std::exception& e) {
                        failed(article, supplier, std::string(kAddFailed) + article + ", ", e);
                        return true;
                    }
                }
            }

            TXMLNode* brackets = ChildElement(item, kBracketsElement);
            if (!brackets) return true;
            events.addEventItem(kBrackets, true);
            try {
                ForEachItem(*brackets, [&](TXMLNode& bracket, int) {
                    if (!IsElement(bracket) || !AnsiSameText(bracket.NodeName(), kBracketElement))
                        return true;
                    const double quantity =
                        GetXMLNodeFloat(ChildElement(bracket, kQuantityElement), 0, numbers);
                    if (quantity == 0) throw EImportError(std::string(kInvalidQuantity));
                    const double value = GetXMLNodeFloat(ChildElement(bracket, kPriceElement), 0, numbers);
                    // The bracket of that quantity is replaced, never doubled.
                    if (helper.FindStafflPrice(article, supplier, quantity)) prices.Delete();
                    try {
                        prices.Append();
                        events.reportError(article, elExcessive);
                        prices.FieldByAdkIndex(ppArticle).SetAsString(article);
                        prices.FieldByAdkIndex(ppSupplier).SetAsString(supplier);
                        prices.FieldByAdkIndex(ppPrice).SetAsFloat(value);
                        prices.FieldByAdkIndex(ppQuantity).SetAsFloat(quantity);
                        prices.Post();
                    } catch (const std::exception& e) {
                        failed(article, supplier, kBracketFailed, e);
                    }
                    return true;
                });
            } catch (...) {
                events.CloseNestedEventItem();
                throw;
            }
            events.CloseNestedEventItem();
            return true;
        });
    }
}

}  // namespace tv
