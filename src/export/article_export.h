#pragma once
// The article export of the central data module: a selection of articles written into one file,
// with the components of package articles, the sales prices of the price lists asked for, the
// suppliers' purchase prices, the names in other languages and the accounting codes the articles
// use, as the settings and the caller ask. Raises its failures to the export facade.

#include <string>
#include <string_view>

#include "export/article_prices.h"
#include "export/export_module.h"
#include "platform/rtl/string_list.h"

namespace tv {

inline constexpr std::string_view kFindingPackageArticles = "Letar upp strukturartiklar.";
inline constexpr std::string_view kFetchingArticlePrices = "Hämtar priser för artiklar.";
inline constexpr std::string_view kFetchingSupplierPrices = "Hämtar leverantörspriser för artiklar.";
inline constexpr std::string_view kFetchingTranslations = "Hämtar benämningar på andra språk.";
inline constexpr std::string_view kPopulatingArticles = "Populerar artikelinformation.";
inline constexpr std::string_view kPopulatingPackageArticles = "Populerar strukturartiklar .";
inline constexpr std::string_view kFetchingAccountingCodes = "Hämtar artikelkonteringar.";
inline constexpr std::string_view kMissingAccountingCode = "Saknade konteringskod : %s";
inline constexpr std::string_view kAddingTranslations = "Lägger till översättningar till resultatet.";
inline constexpr std::string_view kPriceExportFailed = "Failed to export price for article ";
inline constexpr std::string_view kLanguageExportFailed = "Failed to export language for article ";

class TArticleExport {
public:
    explicit TArticleExport(TExportModule& module) : module_(module) {}

    // The selection alone: no price lists, names in other languages when the setting
    // INCLUDE_ARTICLE_TRANSLATIONS is above 0.
    void ExportArticles(TDataSet& selection);
    // `pricelists` may be null. Supplier prices (includeSupplierPrices above 0) are written only
    // with price lists; includeQuantityPrices changes nothing, brackets being part of every price
    // list's rows.
    void ExportArticles(TDataSet& selection, const TStrings* pricelists, int includeQuantityPrices,
                        int includeSupplierPrices, int includeTranslations);

private:
    void WriteSalesPrices(const TStringList& articles, const TStrings& pricelists);
    void WriteSupplierPrices(const TStringList& articles);
    // The names of every article that has any; the language dataset is closed again on return.
    TArticleLanguages ReadTranslations(const TStringList& articles);
    void WriteAccountingCodes();
    void WriteTranslations(const TArticleLanguages& names);
    TDataSet& Prefs() const { return module_.Settings("CDSExportArticlesPrefs"); }

    TExportModule& module_;
};

}  // namespace tv
