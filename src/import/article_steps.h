#pragma once
// The article import's own steps around the register routine (import/register_kind.h): the
// inactive flag applied apart from the mapping, the supplier's article number written onto the
// article's base purchase price, and the names in other languages imported after each article.

#include <string_view>

#include "import/register_kind.h"

namespace tv {

// Raised for an article key the check did not register, followed by the key and kKeyUnknownAfterKey.
inline constexpr std::string_view kArticleKeyUnknown = "Kunde inte hitta artikel med nyckel [";
inline constexpr std::string_view kArticleInactiveElement = "ARTICLE_INACTIVE";

// The held-back ARTICLE_INACTIVE onto the inactive flag, unless the article is sold in the web
// shop: then the flag stays and a level-8 line says so.
void ApplyArticleInactive(TRegisterStep& step);
// SUPPLIER_ARTICLE_NUMBER onto the base purchase price of the written article from its main
// supplier: that record is changed, else one is added.
void WriteSupplierArticleNumber(TRegisterStep& step);
// TDMImport::ImportArticleLanguages of the item.
void ImportLanguagesOfArticle(TRegisterStep& step);

}  // namespace tv
