#pragma once
// What the order and the offer import differ in: one row per kind drives the one routine of
// TDMImport that walks the kind's container, finds each document in the business system, decides
// by the kind's settings whether it is written, and writes its head and rows through the field
// mapping.

#include <string_view>

#include "import/dm_import.h"
#include "import/document_rows.h"
#include "import/import_frame.h"
#include "import/record_finder.h"

namespace tv {

struct TOrderKind {
    // The step caption and nesting item, the container and the level-1 line for an empty one (a
    // file without the container is passed over in silence).
    TImportFrame Frame;
    // The plain event item of each document, followed by its position from 1; the noun of the
    // lines about a document, followed by its position from 0.
    std::string_view ItemText;
    std::string_view Noun;
    // The head element, which is also the head's mapping table, and the rows' mapping table.
    std::string_view Head;
    std::string_view RowsMapping;
    std::string_view SettingsTable;
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    // The order the head dataset finds a document on by its number, and is left on.
    TAdkSortOrder NumberOrder = asIngen;
    TFinderDef Finder;

    // Settings: the existence policy, the handling of an existing document's rows, the customer
    // check (empty: every document is checked), and the rule run after each document (empty: none).
    std::string_view ExistsSetting;
    std::string_view MissingSetting;
    std::string_view RowsManagementSetting;
    std::string_view CustomerCheckSetting;
    std::string_view RuleSetting;

    // Level 8: an existing document skipped (followed by its number and ", hoppar över.") and a
    // missing one skipped. Raised by the existence policy's 2, followed by the number or the key.
    std::string_view FoundSkipText;
    std::string_view MissingSkipText;
    std::string_view ExistsText;
    std::string_view MissingText;
    // Level 4, followed by the written document's number.
    std::string_view WrittenText;

    // The head's printed, cancelled and delivered marks (fields 6, 7 and 10) are taken from the
    // file as flags for the status marks, not written.
    bool FlagsFromFile = false;
    TRowRules Rows;
};

// The marks a document's file gives it (orders), cleared for each document.
struct TOrderFileFlags {
    bool Printed = false;
    bool Cancelled = false;
    bool Delivered = false;
};

}  // namespace tv
