#pragma once
// The contexts of the import and export engines, built from the central data module: its event
// tree, its kit datasets of the names the contexts give, its settings tables, field definitions,
// running numbers, export document, queries and connections, and its work folders. The module must
// outlive every context made from it.

#include "export/export_context.h"
#include "import/import_context.h"

namespace tv {

class TMainDM;

TImportContext MakeImportContext(TMainDM& mainDM);
TExportContext MakeExportContext(TMainDM& mainDM);

}  // namespace tv
