#pragma once
// What the checks of the kinds differ in: their event caption, their container, the kit tables that
// must be open, the text for a file without the container, the registry they empty, and for the
// document kinds the head, the references and the texts of their structural gaps.

#include <string_view>

#include "import/dm_import.h"

namespace tv {

struct TCheckFrame {
    std::string_view Caption;
    std::string_view Container;
    TImportDataSet DataSet = nullptr;  // the kind's kit table, null for none
    std::string_view TableWord;        // its name in the messages
    TImportDataSet SecondDataSet = nullptr;
    std::string_view SecondTableWord;
    std::string_view MissingContainerText;  // level 1; empty: the check ends silently
    TRegistryMember Registry = nullptr;     // emptied when the check starts
    bool EmptyRegistryAfterTableTest = false;
    bool ErrorsReachCaller = false;
    bool UnavailableTableIsNotice = false;  // reported at level 8 and the check ends with true
};

// A document check: items holding a head element and "rows".
struct TDocumentCheck {
    TCheckFrame Frame;
    std::string_view Head;            // the head element
    std::string_view Noun;            // "Order #": positions follow it
    std::string_view UnreadableText;  // after noun and position, level 2
    bool GoOnAfterUnreadable = false;
    std::string_view HeadMissingText;  // after noun and position, level 2, walk goes on; empty: an error
    std::string_view HeadMissingLine;  // a whole line instead (invoices)
    std::string_view Reference;        // "customerkey" or "supplierkey" on the head
    bool ReferenceRequired = true;     // a missing reference is reported and the walk stops
    std::string_view ReferenceNoun;    // the noun of the missing-reference line
    std::string_view ReferenceMissingText;
    bool BestKeyRequired = false;  // "bestkey" on the head, reported like the reference
    std::string_view BestKeyMissingText;
    TRegistryMember ReferenceRegistry = nullptr;
    std::string_view ReferenceUnknownText;  // raised
    std::string_view NoRowsText;            // level 3
    bool GoOnWithoutRows = false;
    bool SkipEmptyArticleKey = false;
    // The document key: "key" of the head, else KeyElement, into KeyRegistry.
    TRegistryMember KeyRegistry = nullptr;
    std::string_view KeyElement;
    bool KeyBeforeRows = false;
    bool AgreementKeyNotes = false;  // "saknar nyckelattribut" lines at level 8
    bool BookingKey = false;         // the head's "key" as written into the typed registry
};

}  // namespace tv
