// The article-decimals look-up of TAdkDatabase: the number of decimals of an article's unit, read
// through two temporary datasets and kept in a cache.

#include <cmath>

#include "adk/adk_database.h"
#include "adk/adk_dataset.h"

namespace tv {
namespace {

// The article's unit (kit field 7) and the unit's decimals (kit field 4).
constexpr int kArticleUnitField = 7;
constexpr int kUnitDecimalsField = 4;

// A temporary dataset on one table of the company, opened for one look-up.
std::unique_ptr<TAdkDataSet> OpenTable(TAdkDatabase& database, TAdkTable table) {
    auto dataSet = std::make_unique<TAdkDataSet>();
    dataSet->SetDatabase(&database);
    dataSet->SetAdkTable(table);
    dataSet->MakeOpen();
    return dataSet;
}

}  // namespace

bool TAdkDatabase::GetArticleDecimals(const std::string& aArtno, int& Decimals) {
    if (auto cached = artDecimals_.find(aArtno); cached != artDecimals_.end()) {
        Decimals = cached->second;
        return true;
    }
    auto articles = OpenTable(*this, atArtiklar);
    if (!articles->MatchOnKeyField(aArtno)) return false;
    const std::string unit = articles->FieldByAdkIndex(kArticleUnitField).AsString();
    auto units = OpenTable(*this, atEnheter);
    if (!units->MatchOnKeyField(unit)) return false;
    Decimals = static_cast<int>(std::lround(units->FieldByAdkIndex(kUnitDecimalsField).AsFloat()));
    if (UseArtDecimalsCache()) artDecimals_.emplace(aArtno, Decimals);
    return true;
}

}  // namespace tv
