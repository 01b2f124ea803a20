#include "import/article_steps.h"

#include "adk/adk_dataset.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/purchase_price_helper.h"
#include "import/record_write.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

inline constexpr int kMainSupplierField = 19;
inline constexpr int kWebShopField = 71;
inline constexpr int kInactiveField = 76;
inline constexpr int kPriceArticleField = 0;
inline constexpr int kPriceSupplierField = 1;
inline constexpr int kPriceSupplierArticleField = 4;
// The purchase-price table holds a supplier's article number of at most this many characters.
inline constexpr size_t kSupplierArticleNumberLength = 16;

inline constexpr std::string_view kSupplierArticleElement = "SUPPLIER_ARTICLE_NUMBER";
inline constexpr std::string_view kWebShopKeepsActive =
    "Hoppar över inaktiv eftersom webshop är satt på produkten";
inline constexpr std::string_view kSupplierArticleEmpty = "Levartnr angivet men är tomt!";
inline constexpr std::string_view kSupplierArticleTooLong = "Levartnr > 16 tecken!";
inline constexpr std::string_view kSupplierArticleFailed = "Kunde inte lägga till levartnr: %s, %s";

}  // namespace

void ApplyArticleInactive(TRegisterStep& step) {
    if (!step.HeldBack) return;
    TAdkDataSet& articles = step.Run.DataSet;
    if (articles.FieldByAdkIndex(kWebShopField).AsBoolean()) {
        step.Events.reportError(kWebShopKeepsActive, elExcessive);
        return;
    }
    const std::string inactive = Trim(*step.HeldBack);
    if (!inactive.empty()) articles.FieldByAdkIndex(kInactiveField).SetAsString(inactive);
}

void WriteSupplierArticleNumber(TRegisterStep& step) {
    const TXMLNode* element = ChildElement(step.Item, kSupplierArticleElement);
    if (!element) return;
    const std::string& supplierArticle = element->Text();
    if (supplierArticle.empty()) {
        step.Events.reportError(kSupplierArticleEmpty, elWarning);
        return;
    }
    if (Utf8Length(supplierArticle) > kSupplierArticleNumberLength)
        throw EImportError(std::string(kSupplierArticleTooLong));
    const std::string supplier = step.Run.DataSet.FieldByAdkIndex(kMainSupplierField).AsString();
    TAdkDataSet& prices = step.Import.KitDataSet(&TImportDataSets::AdkInkPris, "AdkInkPris");
    try {
        // The base price of the article from its supplier carries the number: a second import of
        // the same article changes it rather than adding another.
        if (TImportPurchasePriceHelper(prices).FindBasePrice(step.Number, supplier))
            prices.Edit();
        else
            prices.Append();
        TWrittenTexts texts;
        prices.FieldByAdkIndex(kPriceArticleField).SetAsString(step.Number);
        texts.Set(prices.FieldByAdkIndex(kPriceSupplierArticleField), kSupplierArticleElement, supplierArticle);
        prices.FieldByAdkIndex(kPriceSupplierField).SetAsString(supplier);
        prices.Post();
        texts.Report(step.Events, step.Number + "/" + supplier);
    } catch (const std::exception& e) {
        CancelPending(prices);
        throw EImportError(Format(kSupplierArticleFailed, {supplierArticle, e.what()}));
    }
}

void ImportLanguagesOfArticle(TRegisterStep& step) {
    step.Import.ImportArticleLanguages(step.Item);
}

}  // namespace tv
