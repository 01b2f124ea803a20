#pragma once
// The components of package articles added to an article selection, when the article export's
// setting INCLUDE_PACKAGE_ARTICLES asks for them: the document exports do so before they write
// their articles, and the article export before it writes its own.

#include <string_view>

#include "export/export_module.h"

namespace tv {

// Raised when the walk cannot return to the selection row it left to add a component.
inline constexpr std::string_view kInvalidBookmark = "Invalid bookmark";

// Walks the selection (column "artnr") from its first row to its end and appends every component
// of each package article that no row holds yet (exact, case-sensitive). Rows appended come after
// the row being walked and are walked in turn, so components of nested packages are added too.
// The package dataset is fetched afresh, and left unfiltered on every end.
void addPackageArticles(TExportModule& module, TDataSet& selection);

}  // namespace tv
