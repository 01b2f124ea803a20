#pragma once
// What the register imports (customers, suppliers, articles ...) differ in: one row per kind drives
// the one routine of TDMImport that walks the kind's container, finds each item's record in the
// business system, applies the kind's existence policy, writes the record through the field mapping
// and stores its number with the item's key. A kind's own steps hook into that routine.

#include <optional>
#include <string>
#include <string_view>

#include "import/dm_import.h"
#include "import/field_mapping.h"
#include "import/mapped_field_writer.h"
#include "import/record_finder.h"

namespace tv {

// Follows the key in the error for a key the check did not register.
inline constexpr std::string_view kKeyUnknownAfterKey = "]bland registrerade nycklar";

// The key of an item by the kind's key rule, and its record in the registry; raises the kind's
// texts for an item that breaks the rule.
TKeyRecord& RegisteredItemKey(const TRegisterKind& kind, TKeyRegistry& registry, const TXMLNode& item,
                              std::string& key);

// What one run of a register import works with: read once, used for every item. Contacts and
// projects run the same way, with every mapped field written (`skipReadOnly` false).
struct TRegisterRun {
    TRegisterRun(const TDataSet& settings, TAdkDataSet& dataSet, TFieldMapping mapping, const TFinderDef& def,
                 TADOQuery& query, TADOConnection* connection, IEventSink& events, bool skipReadOnly = true)
        : Settings(settings),
          DataSet(dataSet),
          Mapping(std::move(mapping)),
          Writer(Mapping, dataSet, skipReadOnly),
          Finder(def, settings, dataSet, query, connection, events) {}

    const TDataSet& Settings;
    TAdkDataSet& DataSet;
    TFieldMapping Mapping;
    TMappedFieldWriter Writer;
    TRecordFinder Finder;
};

// The item a kind's own step works on, and where the step reports and finds further datasets.
struct TRegisterStep {
    TDMImport& Import;
    IEventSink& Events;
    TRegisterRun& Run;
    TXMLNode& Item;
    TKeyRecord& Record;
    // The text of the held-back element, when the item had one.
    std::optional<std::string> HeldBack;
    // The record's number, once it is written.
    std::string Number;
};
using TRegisterStepFn = void (*)(TRegisterStep& step);

struct TRegisterKind {
    // The frame: the event caption and its step picture, the container, and the level-1 lines for
    // a file without the container and for an empty one.
    std::string_view Caption;
    int StepPicture = 4;
    std::string_view Container;
    std::string_view NoContainerText;
    std::string_view EmptyText;

    // The key rule: raised for an item that is no element, one without "key", an empty key (empty:
    // an empty key is looked up like any other) and a key the check did not register (followed by
    // the key and "]bland registrerade nycklar"). The key is trimmed, as the check registered it.
    std::string_view UnreadableText;
    std::string_view WithoutKeyText;
    std::string_view EmptyKeyText;
    std::string_view KeyUnknownText;
    // The plain event item of each item, followed by its key; empty: none.
    std::string_view ItemText;

    // Where the kind's keys, settings, records and field mapping are. With a known-key type the
    // number found or written is also stored for the key in the typed registry.
    TRegistryMember Registry = nullptr;
    std::optional<TKnownKeyType> KnownKey;
    std::string_view SettingsTable;
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    std::string_view MappingTable;
    // The search; its default order also finds again the record to change.
    TFinderDef Finder;

    // The existence policy: the settings for a record found and for one missing, with the texts
    // their value 2 raises. Without them found records are changed and missing ones created.
    std::string_view ExistsSetting;
    std::string_view MissingSetting;
    std::string_view ExistsText;
    std::string_view MissingText;
    // Raised for an item with the option "noedit" whose record is missing; empty: it goes on.
    std::string_view NoEditMissingText;

    // The number element: removed from an item whose record is changed, so that its number stays.
    std::string_view NumberElement;
    // "VISMA Kundnr [" ...: the written number follows, then "]", at level 4.
    std::string_view NumberText;
    // The attribute of the item that gets the written number; a failure to add it is raised with
    // AfterWriteFailedText before its message (empty: as it is).
    std::string_view NumberAttribute;
    std::string_view AfterWriteFailedText;

    // Error handling of a write: its message at level 2 after WriteFailedText, the change
    // cancelled; then the import ends, or goes on with the next item. A failure of BeforePost or of
    // the post is first reported on a line of its own: PostFailedText and the registered key.
    std::string_view WriteFailedText;
    bool WriteFailureEndsImport = false;
    std::string_view PostFailedText;

    // An element taken out of the item before the mapping is written, for BeforePost to apply.
    std::string_view HeldBackElement;

    // A kind's own steps (null: none): on the record before it is posted; after it is posted and
    // its number stored; and after each item that was written, left unwritten by its option or
    // skipped by the existence setting.
    TRegisterStepFn BeforePost = nullptr;
    TRegisterStepFn AfterPost = nullptr;
    TRegisterStepFn AfterItem = nullptr;
};

}  // namespace tv
