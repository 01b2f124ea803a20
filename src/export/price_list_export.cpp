#include "export/price_list_export.h"

#include <set>

#include "adk/adk_database.h"
#include "core/string_utils.h"
#include "export/customer_pricelist_data.h"
#include "export/extra_price_list_data.h"
#include "export/kit_reads.h"
#include "export/value_text.h"
#include "platform/data/field.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"
#include "platform/rtl/trim.h"

namespace tv {
namespace {

constexpr std::string_view kPriceList = "pricelist";
constexpr std::string_view kHead = "atPrislistor";
constexpr std::string_view kRows = "rows";
constexpr std::string_view kRow = "row";
constexpr std::string_view kCustomerPrefix = "Customer:";

// Kit fields read here.
constexpr int kListCode = 0;              // of a price list and of a sales price
constexpr int kPriceArticle = 1;          // of a sales price
constexpr int kPriceQuantity = 2;         // of a sales price
constexpr int kPriceNotABracket = 4;      // of a sales price
constexpr int kCustomerName = 1;          // of a customer
constexpr int kCustomerCurrency = 37;     // of a customer
constexpr int kCustomerPriceList = 43;    // of a customer
constexpr int kCustomerEanLocation = 68;  // of a customer
constexpr int kOwnEanLocation = 29;       // of the company's settings
constexpr int kArticleNumber = 0;
constexpr int kArticleEan = 67;

// The article elements of a customer price-list row, in their order, with the article's kit field
// (-1: the price).
struct TArticleElement {
    std::string_view Name;
    int AdkIndex;
};
constexpr TArticleElement kArticleElements[] = {
    {"PRICE_ARTICLE_NUMBER", 0},  {"PRICE_PRICE", -1},         {"PRICE_ARTICLE_EAN", kArticleEan},
    {"PRICE_ARTICLE_NAME", 1},    {"PRICE_ARTICLE_NAME_X", 2}, {"PRICE_ARTICLE_WEIGHT", 17},
    {"PRICE_ARTICLE_VOLUME", 18},
};

struct TLessIgnoringCase {
    bool operator()(const std::string& l, const std::string& r) const { return AnsiCompareText(l, r) < 0; }
};

// The customer's price of an article at a quantity: row and invoice discounts applied, VAT not
// included, in the customer's currency.
double CustomerPrice(TAdkDatabase& company, const std::string& customer, const std::string& article,
                     double quantity) {
    return company.AdkCheckPrice(customer, article, quantity, acCustomer, false, true, true);
}

void AddText(TXMLNode& parent, std::string_view name, std::string_view text) {
    parent.AddChild(name)->SetText(text);
}

void AddStripped(TXMLNode& parent, std::string_view name, std::string_view text) {
    parent.AddChild(name)->SetText(StripCharsInSet2(text));
}

}  // namespace

TPriceListExport::TPriceListExport(TExportModule& module)
    : module_(module), customerCode_(kCustomerCodePattern) {}

void TPriceListExport::ExportPriceLists(TDataSet& selection) {
    const int mode =
        module_.Settings("CDSExportPricelistsPrefs").FieldByName("FILE_MANAGEMENT_TYPE").AsInteger();
    if (!module_.FileModeIsBuilt(mode)) return;
    TExportRun run(module_);
    TExportDocument& doc = module_.Document();
    IEventSink& events = module_.Events();
    TAdkDataSet& lists = DataSet(&TExportDataSets::AdkPrislistor);
    selection.First();
    if (mode == kOneFile) doc.createDefaultNodes();
    events.setEventCount(selection.RecordCount());
    for (; !selection.Eof(); selection.Next()) {
        const std::string code = Trim(selection.Fields(0).AsString());
        events.reportError(std::string(kExportingPriceList) + code, elInfo);
        events.StepProgress();
        customerCode_.SetSubject(code);
        const bool customer = customerCode_.Match();
        if (!customer && !lists.AdkNavFind(code, true, true))
            throw Exception(std::string(kPriceListNotFound) + code);
        if (mode == kFilePerRecord) {
            doc.ClearRoot();
            doc.createDefaultNodes();
        }
        if (customer) {
            writeCustomerPriceList(*doc.NodePriceLists, 0, module_.Selections().CDSArtikelUrval(),
                                   customerCode_.SubExpressions(2));
        } else {
            writePriceListNode(*doc.NodePriceLists);
        }
        if (mode == kFilePerRecord) module_.SaveDocument(module_.generatePricelistFilename());
    }
    if (mode == kOneFile) module_.SaveDocument(module_.generatePricelistFilename());
}

void TPriceListExport::writePriceListNode(TXMLNode& container) {
    TAdkDataSet& lists = DataSet(&TExportDataSets::AdkPrislistor);
    TAdkDataSet& prices = DataSet(&TExportDataSets::AdkForsaljningspriser);
    TXMLNode* priceList = container.AddChild(kPriceList);
    TXMLNode* head = priceList->AddChild(kHead);
    TXMLNode* rows = priceList->AddChild(kRows);
    // A head value the document refuses keeps its element, stripped and logged, rather than
    // vanishing without a word.
    module_.Nodes().AddMappedFields(*head, kHead, lists, TRefusedValue::StripAndLogReads);

    const std::string code = lists.FieldByAdkIndex(kListCode).AsString();
    prices.SetAdkSortOrder(asForsaljningspriserLista);
    FetchAllRecords(prices);
    const TField& list = prices.FieldByAdkIndex(kListCode);
    prices.First();
    while (!prices.Eof() && list.AsString() != code) prices.Next();
    for (; !prices.Eof() && list.AsString() == code; prices.Next())
        module_.Nodes().AddMappedFields(*rows->AddChild(kRow), "atForsaljningspriser", prices,
                                        TRefusedValue::Raise);
}

void TPriceListExport::writeCustomerPriceLists(TXMLNode& container, int askExtraData,
                                               TDataSet& articleSelection, TDataSet& priceListSelection) {
    for (priceListSelection.First(); !priceListSelection.Eof(); priceListSelection.Next())
        writeCustomerPriceList(container, askExtraData, articleSelection,
                               priceListSelection.Fields(0).AsString());
}

void TPriceListExport::AskExtraData(const TAdkDataSet& customer, std::string& listCode,
                                    std::string& agreement) {
    const TExportContext& context = module_.Context();
    if (!context.CustomerPricelistData || !context.saveCustomerPricelistData)
        throw Exception(Format(kExportLacks, {"customer price-list data"}));
    TAdkDataSet& settings = DataSet(&TExportDataSets::AdkPrm);
    if (!settings.Active()) settings.MakeOpen();
    if (settings.IsEmpty()) settings.FetchAllNow(false);
    settings.First();
    const std::string ownEanLocation = settings.FieldByAdkIndex(kOwnEanLocation).AsString();
    const std::string eanLocation = customer.FieldByAdkIndex(kCustomerEanLocation).AsString();
    const std::string name = customer.FieldByAdkIndex(kCustomerName).AsString();

    TDataSet& data = *context.CustomerPricelistData;
    TExportCustomerPricelistHelper helper(data);
    if (helper.FindCustomerInDataSet(eanLocation)) {
        helper.UpdateSerial(name);
    } else {
        helper.CreateCustomerInDataSet(eanLocation, name, ownEanLocation);
    }
    // Nobody may be asked in a run without an operator, nor without the form: the question then
    // counts as dismissed, and the run never waits. The advanced number stays unsaved, as after a
    // dismissal.
    const bool operatorThere = context.Interactive && context.Interactive();
    if (!operatorThere || !context.ExtraPriceListData || !context.ExtraPriceListData->Execute(data))
        throw Exception(std::string(kNoExtraData));
    context.saveCustomerPricelistData();
    listCode = helper.ReadSerial();
    agreement = helper.ReadAgreementReference();
}

void TPriceListExport::writeCustomerPriceList(TXMLNode& /*container*/, int askExtraData,
                                              TDataSet& articleSelection, std::string_view code) {
    customerCode_.SetSubject(code);
    const std::string number = customerCode_.Match() ? customerCode_.SubExpressions(2) : std::string(code);
    std::string listCode = std::string(kCustomerPrefix) + number;
    TAdkDataSet& customers = DataSet(&TExportDataSets::AdkKunder);
    if (!customers.AdkNavFind(number, true, true)) throw Exception(Format(kCustomerOfListNotFound, {number}));
    std::string agreement;
    if (askExtraData == 1) AskExtraData(customers, listCode, agreement);
    TAdkDatabase* company = customers.Database();
    if (!company) throw Exception(Format(kExportLacks, {"company"}));

    TXMLNode* priceList = module_.Document().NodePriceLists->AddChild(kPriceList);
    TXMLNode* head = priceList->AddChild(kHead);
    head->SetAttribute("key", listCode);
    head->SetAttribute("customerkey", number);
    AddStripped(*head, "CODE_OF_PRICE_LIST_CODE", listCode);
    AddStripped(*head, "CODE_OF_PRICE_LIST_TEXT", number);
    AddStripped(*head, "CODE_OF_PRICE_LIST_CURRENCY_CODE",
                customers.FieldByAdkIndex(kCustomerCurrency).AsString());
    AddStripped(*head, "CODE_OF_PRICE_LIST_INCLUDING_VAT", "False");
    AddStripped(*head, "CODE_OF_PRICELIST_AGREEMENT_REFERENCE", agreement);
    TXMLNode* rows = priceList->AddChild(kRows);

    const std::string customerList = customers.FieldByAdkIndex(kCustomerPriceList).AsString();
    const std::string rowPriceList = "Customer" + customerList;
    const bool excludeZero =
        module_.Settings("CDSExportPricelistsPrefs").FieldByName("EXCLUDE_ZERO_PRICE").AsBoolean();
    // What the selection already holds, so that each article is added once however long it is.
    std::set<std::string, TLessIgnoringCase> selected;
    for (articleSelection.First(); !articleSelection.Eof(); articleSelection.Next())
        selected.insert(articleSelection.Fields(0).AsString());

    TAdkDataSet& articles = DataSet(&TExportDataSets::ADKArtiklar);
    TAdkDataSet& lists = DataSet(&TExportDataSets::AdkPrislistor);
    TAdkDataSet& prices = DataSet(&TExportDataSets::AdkForsaljningspriser);
    articles.SetAdkSortOrder(asArtikelnr);
    FetchAllRecords(articles);
    const TField& articleNumber = articles.FieldByAdkIndex(kArticleNumber);
    const TField& ean = articles.FieldByAdkIndex(kArticleEan);
    for (articles.First(); !articles.Eof(); articles.Next()) {
        const std::string article = articleNumber.AsString();
        const double basePrice = CustomerPrice(*company, number, article, 1);
        if (excludeZero && basePrice == 0) continue;
        if (TrimView(ean.AsString()).empty()) continue;
        if (selected.insert(article).second) AppendSelectionKey(articleSelection, article);
        AddPriceRow(*rows, rowPriceList, basePrice, "1", true);

        if (!lists.AdkNavFind(customerList, true, true))
            throw Exception(std::string(kCustomersPriceListMissing));
        prices.SetAdkSortOrder(asForsaljningspriserArtNr);
        if (!prices.AdkNavFind(article, true, true)) continue;
        do {
            if (prices.FieldByAdkIndex(kPriceArticle).AsString() != article) break;
            if (prices.FieldByAdkIndex(kListCode).AsString() == customerList &&
                !prices.FieldByAdkIndex(kPriceNotABracket).AsBoolean()) {
                const double quantity = prices.FieldByAdkIndex(kPriceQuantity).AsFloat();
                const double price = CustomerPrice(*company, number, article, quantity);
                if (!(excludeZero && price == 0))
                    AddPriceRow(*rows, rowPriceList, price, FloatToStr(quantity, prices.FormatSettings()),
                                false);
            }
        } while (prices.AdkNavigate(anNext, false) && !prices.Eof());
    }
}

void TPriceListExport::AddPriceRow(TXMLNode& rows, std::string_view priceList, double price,
                                   std::string_view quantity, bool base) {
    TXMLNode* row = rows.AddChild(kRow);
    AddText(*row, "PRICE_PRICE_LIST", priceList);
    writePriceArticleFields(*row, price);
    AddText(*row, "PRICE_QUANTITY", quantity);
    AddText(*row, "PRICE_BASE", base ? "True" : "False");
}

void TPriceListExport::writePriceArticleFields(TXMLNode& row, double price) {
    const TAdkDataSet& articles = DataSet(&TExportDataSets::ADKArtiklar);
    for (const TArticleElement& element : kArticleElements) {
        if (element.AdkIndex < 0) {
            AddText(row, element.Name, FloatToStr(price, articles.FormatSettings()));
        } else {
            AddStripped(row, element.Name, FieldText(articles.FieldByAdkIndex(element.AdkIndex), scratch_));
        }
    }
}

}  // namespace tv
