#include "export/article_export.h"

#include "export/kit_reads.h"
#include "export/package_articles.h"
#include "export/price_fragments.h"
#include "platform/data/field.h"
#include "platform/rtl/format.h"
#include "platform/rtl/trim.h"

namespace tv {
namespace {

constexpr int kAccountingCodeField = 5;  // of the article
constexpr std::string_view kAccountingCodes = "accountingcodes";
constexpr std::string_view kArticleRecord = "atArtiklar";
constexpr std::string_view kLanguages = "languages";
constexpr std::string_view kArticleNumber = "ARTICLE_NUMBER";

// Closes a dataset when the scope ends, however it ends.
class TClosedAtEnd {
public:
    explicit TClosedAtEnd(TDataSet& data) : data_(data) {}
    ~TClosedAtEnd() { data_.Close(); }
    TClosedAtEnd(const TClosedAtEnd&) = delete;
    TClosedAtEnd& operator=(const TClosedAtEnd&) = delete;

private:
    TDataSet& data_;
};

}  // namespace

void TArticleExport::ExportArticles(TDataSet& selection) {
    ExportArticles(selection, nullptr, 0, 0, Prefs().FieldByName("INCLUDE_ARTICLE_TRANSLATIONS").AsInteger());
}

void TArticleExport::ExportArticles(TDataSet& selection, const TStrings* pricelists,
                                    int /*includeQuantityPrices*/, int includeSupplierPrices,
                                    int includeTranslations) {
    IEventSink& events = module_.Events();
    const TDataSet& prefs = Prefs();
    const bool packages = prefs.FieldByName("INCLUDE_PACKAGE_ARTICLES").AsBoolean();
    TExportRun run(module_);
    TExportDocument& doc = module_.Document();
    doc.createDefaultNodes();
    if (packages) {
        events.reportError(kFindingPackageArticles, elInfo);
        addPackageArticles(module_, selection);
    }
    TStringList articles;
    dataSetToSortedList(articles, selection);
    const bool priceLists = pricelists && pricelists->Count() > 0;
    if (priceLists) {
        WriteSalesPrices(articles, *pricelists);
        if (includeSupplierPrices > 0) WriteSupplierPrices(articles);
    }
    TArticleLanguages names;
    if (includeTranslations > 0) names = ReadTranslations(articles);

    events.reportError(kPopulatingArticles, elInfo);
    module_.writeKeyedRegisterNodes(*doc.NodeArticles, selection, true,
                                    module_.KitDataSet(&TExportDataSets::ADKArtiklar), kArticleRecord);
    if (packages) {
        events.reportError(kPopulatingPackageArticles, elInfo);
        module_.writeAdkRecordsByKey(*doc.NodeParcelArticles, selection, true,
                                     module_.KitDataSet(&TExportDataSets::AdkPaketArtiklar),
                                     "atPaketArtiklar");
    }
    if (prefs.FieldByName("INCLUDE_ACCOUNTING_CODES").AsInteger() == 1) WriteAccountingCodes();
    if (includeTranslations > 0) WriteTranslations(names);
    module_.SaveDocument(module_.generateArticleFilename());
}

void TArticleExport::WriteSalesPrices(const TStringList& articles, const TStrings& pricelists) {
    module_.Events().reportError(kFetchingArticlePrices, elInfo);
    TAdkDataSet& salesPrices = module_.KitDataSet(&TExportDataSets::AdkForsaljningspriser);
    TArticlePriceExportHelper reader(&salesPrices, nullptr);
    std::vector<TArticlePrices> perList;
    perList.reserve(pricelists.Count());
    for (int i = 0; i < pricelists.Count(); ++i)
        perList.push_back(reader.GetPriceForArticles(articles, pricelists.Strings(i)));

    TXMLNode* container = module_.Document().NodePriceLists;
    TExportXMLPriceListHelper writer(salesPrices.FormatSettings());
    for (int i = 0; i < pricelists.Count(); ++i) {
        if (perList[i].empty()) continue;
        const std::string code = pricelists.Strings(i);
        TXMLNode* priceList = FindKeyedChildNode(container, code);
        if (!priceList) priceList = &AddPriceListNode(container, code);
        writer.CreateNodesFor(*priceList, perList[i]);
    }
}

void TArticleExport::WriteSupplierPrices(const TStringList& articles) {
    module_.Events().reportError(kFetchingSupplierPrices, elInfo);
    std::string article;
    try {
        TAdkDataSet& purchasePrices = module_.KitDataSet(&TExportDataSets::AdkInkPris);
        TArticlePriceExportHelper reader(nullptr, &purchasePrices);
        std::vector<std::vector<TPurchasePrice>> perArticle;
        perArticle.reserve(articles.Count());
        for (int i = 0; i < articles.Count(); ++i) {
            article = articles.Strings(i);
            perArticle.push_back(reader.GetSupplierPricesForArticle(article));
        }
        TXMLNode* container = module_.Document().NodePurchasePrices;
        TExportXMLPurchasePriceHelper writer(purchasePrices.FormatSettings());
        for (int i = 0; i < articles.Count(); ++i) {
            if (perArticle[i].empty()) continue;
            article = articles.Strings(i);
            TXMLNode* node = FindPurchasePriceNode(container, article);
            if (!node) node = &AddPurchasePriceArticleNode(container, article);
            writer.CreateNodesFor(*node, article, perArticle[i]);
            if (!node->HasChildNodes()) container->RemoveChild(node);
        }
    } catch (const std::exception&) {
        module_.Events().reportError(std::string(kPriceExportFailed) + article, elError);
        throw;
    }
}

TArticleLanguages TArticleExport::ReadTranslations(const TStringList& articles) {
    module_.Events().reportError(kFetchingTranslations, elInfo);
    TAdkDataSet& languages = module_.KitDataSet(&TExportDataSets::AdkArtikelSprak);
    TArticleLanguages names;
    std::string article;
    try {
        TClosedAtEnd closed(languages);
        if (!languages.Active()) languages.MakeOpen();
        TArtExportHelper_Language reader(languages);
        for (int i = 0; i < articles.Count(); ++i) {
            article = articles.Strings(i);
            std::vector<TArticleLanguage> list = reader.GetTranslationsForArticle(article);
            if (!list.empty()) names.insert_or_assign(Trim(article), std::move(list));
        }
    } catch (const std::exception& e) {
        module_.Events().reportError(std::string(kLanguageExportFailed) + article + " " + e.what(), elError);
        throw;
    }
    return names;
}

void TArticleExport::WriteAccountingCodes() {
    IEventSink& events = module_.Events();
    events.reportError(kFetchingAccountingCodes, elInfo);
    const std::unique_ptr<TStringList> codes =
        GetDistinctColumnValues(module_.KitDataSet(&TExportDataSets::ADKArtiklar), kAccountingCodeField);
    if (codes->Count() == 0) return;
    TAdkDataSet& accounting = module_.KitDataSet(&TExportDataSets::AdkArtikelKontering);
    if (!accounting.Active()) accounting.MakeOpen();
    accounting.EmptyDataSet();
    for (int i = 0; i < codes->Count(); ++i) {
        const std::string code = codes->Strings(i);
        if (!accounting.AdkNavFind(code, true, true))
            events.reportError(Format(kMissingAccountingCode, {code}), elError);
    }
    TXMLNode* container = module_.Document().XMLDocument1().DocumentElement()->AddChild(kAccountingCodes);
    module_.writeAdkDataSetNodes(*container, "atArtikelkonto", true, accounting);
}

void TArticleExport::WriteTranslations(const TArticleLanguages& names) {
    module_.Events().reportError(kAddingTranslations, elInfo);
    if (names.empty()) return;
    TExportXMLArticleLanguagesHelper writer;
    for (TXMLNode* record : module_.Document().NodeArticles->ChildNodes()) {
        if (record->NodeType() != TNodeType::ntElement || record->NodeName() != kArticleRecord) continue;
        TXMLNode* languages = record->AddChild(kLanguages);
        const TXMLNode* number = record->FindNode(kArticleNumber);
        if (!number) continue;
        const auto found = names.find(Trim(number->Text()));
        if (found != names.end()) writer.CreateNodesFor(languages, found->second);
    }
}

}  // namespace tv
