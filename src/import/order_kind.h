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

    // Level 8 before an existing document is read again after its rows were deleted; the pause
    // before that read (total and step in milliseconds); and the failure, formatted with the
    // number, when the document is gone after its printed mark was removed.
    std::string_view RefetchText;
    int DeletionWait = 0;
    std::string_view NotFoundAgainText;
    // The status marks: how the printed mark of an existing document is removed and how the
    // document is marked printed; the settings of the marks (empty: the kind has none).
    void (TDMImport::*RemovePrinted)(const std::string&) = nullptr;
    void (TDMImport::*SetPrinted)(const std::string&) = nullptr;
    std::string_view NotDoneSetting;
    std::string_view PickListSetting;
    std::string_view DeliveredSetting;
    // The rows of an existing order are deleted through the kit at once; otherwise one by one on
    // the rows dataset. A file row changes the existing row of its row number.
    bool ClearsRowsThroughKit = false;
    bool MatchesRowNumber = false;

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
