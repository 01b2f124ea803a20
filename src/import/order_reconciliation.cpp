// The order reconciliation: each order of the loaded file's "orders" container is found in the
// business system by its number; unless it is already delivered, its printed mark is taken off,
// the file's quantities go into its ordinary rows (paired in order, article by article) and the
// customer's order number into its head, and it is marked delivered. The printed mark is set back
// whatever happens. A failure is reported per order and the run goes on with the next one.

#include <algorithm>

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/document_head.h"
#include "import/document_rows.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/order_fields.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

inline constexpr std::string_view kOrdersContainer = "orders";
inline constexpr std::string_view kHead = "atOrder";
inline constexpr std::string_view kCustomerOrderNumber = "OOI_HEAD_CUSTOMER_ORDER_NUMBER";
inline constexpr std::string_view kRowQuantity = "OOI_ROW_QUANTITY1";

inline constexpr std::string_view kUnknownFailure = "Okänt fel: ";
inline constexpr std::string_view kNoHeadOrRows = "Felaktigt XML format saknar huvud eller rader order #";
inline constexpr std::string_view kNoOrderNumber = "Inget ordernr #";
inline constexpr std::string_view kNoCustomerOrderNumber = "Inget Mavroordernr#";
inline constexpr std::string_view kOrderItem = "Order  [";
inline constexpr std::string_view kOrderNotFound = "Kunde inte hitta eftersökt order i SPCS: ";
inline constexpr std::string_view kAlreadyHandled = "Order redan behandlad  [";
inline constexpr std::string_view kSettingPrintedBack = "Sätter tillbaka ordererkännande:";
inline constexpr std::string_view kRemovingPrinted = "Tar bort ordererkännande";
inline constexpr std::string_view kSaveFailed = "Misslyckades att spara order : ";
inline constexpr std::string_view kRowCountDiffers = "Olika mängd rader ";
inline constexpr std::string_view kBadQuantity = "Ogiltligt antal i filen";
inline constexpr std::string_view kNoArticle = "Inget artikelnummer i filen";
inline constexpr std::string_view kArticlesDiffer = "Artikelnummer skiljer sig åt på raderna %s != %s";
inline constexpr std::string_view kSettingDelivered = "Sätter levererad";
// Ordinary rows: those without a row type.
inline constexpr std::string_view kOrdinaryRowsFilter = "radtyp=''";

inline constexpr int kRowArticleField = 0;
inline constexpr int kDeliveredQuantityField = 2;

// Articles whose order rows take no part in the reconciliation, compared case-insensitively.
inline constexpr std::string_view kIgnoredArticles[] = {"EXPAVG"};

bool IsIgnoredArticle(std::string_view article) {
    return std::any_of(std::begin(kIgnoredArticles), std::end(kIgnoredArticles),
                       [&](std::string_view ignored) { return AnsiSameText(article, ignored); });
}

// The text of the head's element read as an integer, written back in decimal digits; `failure`
// and the position when it is missing or no integer.
std::string IntegerText(const TXMLNode& head, std::string_view element, std::string_view failure,
                        int position) {
    int32_t value = 0;
    const TXMLNode* node = ChildElement(head, element);
    if (!node || !TryStrToInt(node->Text(), value))
        throw EImportError(std::string(failure) + std::to_string(position));
    return std::to_string(value);
}

// An order row the pairing passes over: a row with a row type, or one of an ignored article (the
// file row is kept for the next ordinary row).
bool PassedOver(TAdkDataSet& rows) {
    return !rows.FieldByAdkIndex(kRowTypeField).AsString().empty() ||
           IsIgnoredArticle(rows.FieldByAdkIndex(kRowArticleField).AsString());
}

// Removes the rows' filter when it goes out of scope.
class TFilterScope {
public:
    TFilterScope(TAdkDataSet& rows, std::string_view filter) : rows_(rows) {
        rows_.SetFilter(std::string(filter));
        rows_.SetFiltered(true);
    }
    ~TFilterScope() {
        rows_.SetFiltered(false);
        rows_.SetFilter({});
    }

private:
    TAdkDataSet& rows_;
};

}  // namespace

bool TDMImport::CustomImportOrderAvstamning() {
    TXMLNode* root = DocumentElement();
    TXMLNode* orders = root ? ChildElement(*root, kOrdersContainer) : nullptr;
    if (!orders) return true;
    TAdkDataSet& head = KitDataSet(&TImportDataSets::AdkOrder, "AdkOrder");
    // Orders are found by their number whatever the import before left the sort order on.
    head.SetAdkSortOrder(asOrderNr);
    const auto& children = orders->ChildNodes();
    for (size_t position = 0; position < children.size(); ++position) {
        try {
            ReconcileOrder(head, *children[position], int(position));
        } catch (const std::exception& e) {
            Events().reportError(std::string(kUnknownFailure) + e.what(), elError);
        }
    }
    return true;
}

void TDMImport::ReconcileOrder(TAdkDataSet& head, TXMLNode& order, int position) {
    TXMLNode* fileHead = ChildElement(order, kHead);
    TXMLNode* fileRows = ChildElement(order, kRowsElement);
    if (!fileHead || !fileRows) throw EImportError(std::string(kNoHeadOrRows) + std::to_string(position));
    const std::string number = IntegerText(*fileHead, kHeadDocumentNumber, kNoOrderNumber, position);
    const std::string customerOrderNumber =
        IntegerText(*fileHead, kCustomerOrderNumber, kNoCustomerOrderNumber, position);
    Events().addEventItem(std::string(kOrderItem) + number + "]", false);

    head.EmptyDataSet();
    if (!head.AdkNavFind(number, true, true)) throw EImportError(std::string(kOrderNotFound) + number);
    if (head.FieldByAdkIndex(order_head::kDelivered).AsBoolean()) {
        Events().reportError(std::string(kAlreadyHandled) + number + "]", elInfo);
        return;
    }
    auto setPrintedBack = [&] {
        Events().reportError(kSettingPrintedBack, elExcessive);
        SetOrderPrinted(number);
    };
    try {
        Events().reportError(kRemovingPrinted, elInfo);
        RemoveOrderPrinted(number);
        try {
            GuardDocument(head, [&] { WriteReconciledOrder(head, *fileRows, number, customerOrderNumber); });
        } catch (const std::exception& e) {
            Events().reportError(std::string(kSaveFailed) + e.what(), elError);
        }
    } catch (...) {
        setPrintedBack();
        throw;
    }
    setPrintedBack();
}

void TDMImport::WriteReconciledOrder(TAdkDataSet& head, const TXMLNode& fileRows, const std::string& number,
                                     const std::string& customerOrderNumber) {
    TAdkDataSet& rows = RowsOf(head);
    head.Edit();
    head.FieldByAdkIndex(order_head::kCustomerOrderNumber).SetAsString(customerOrderNumber);
    const auto& fileRowNodes = fileRows.ChildNodes();
    const int fileRowCount = int(fileRowNodes.size());
    {
        TFilterScope ordinaryRows(rows, kOrdinaryRowsFilter);
        // The order holds one ordinary row more than the file (or as many more as it has rows of
        // ignored articles, counted apart).
        if (fileRowCount != rows.RecordCount() - 1) {
            int counted = 0;
            for (rows.First(); !rows.Eof(); rows.Next())
                if (!IsIgnoredArticle(rows.FieldByAdkIndex(kRowArticleField).AsString())) ++counted;
            if (fileRowCount != counted - 1) throw EImportError(std::string(kRowCountDiffers));
        }
    }
    rows.First();
    for (const TXMLNode* fileRow : fileRowNodes) {
        while (!rows.Eof() && PassedOver(rows)) rows.Next();
        if (rows.Eof()) continue;
        int32_t quantity = 0;
        const TXMLNode* quantityNode = ChildElement(*fileRow, kRowQuantity);
        if (!quantityNode || !TryStrToInt(quantityNode->Text(), quantity))
            throw EImportError(std::string(kBadQuantity));
        const TXMLNode* articleNode = ChildElement(*fileRow, kRowArticleNumber);
        if (!articleNode) throw EImportError(std::string(kNoArticle));
        const std::string orderArticle = rows.FieldByAdkIndex(kRowArticleField).AsString();
        if (orderArticle != articleNode->Text())
            throw EImportError(Format(kArticlesDiffer, {orderArticle, articleNode->Text()}));
        rows.Edit();
        rows.FieldByAdkIndex(kDeliveredQuantityField).SetAsInteger(quantity);
        rows.Post();
        rows.Next();
    }
    head.Post();
    Events().reportError(kSettingDelivered, elExcessive);
    SetOrderDelivered(number);
}

}  // namespace tv
