#pragma once
// The search of an import kind for the record of a key in the business system: by index (the kind's
// kit dataset on the sort order its settings name, an exact find of the key) or by SQL (the kind's
// statement on the company database, the key bound to its parameters as text, the number read from
// the kind's column of the first row, or from its first column). An empty key is never searched: it
// has no record. A compound key (articles) is split into parts, bound to the statement's parameters
// in order; a kind may instead bind each parameter to the item's element of the parameter's name.
// The document kinds take the low byte of their mode and refuse modes other than 0 and 1.

#include <string>
#include <string_view>

#include "adk/adk_catalogue.h"

namespace tv {

class IEventSink;
class TXMLNode;
class TADOConnection;
class TADOQuery;
class TAdkDataSet;
class TDataSet;

inline constexpr std::string_view kNoSqlStatement = "Inget SQL uttryck satt";
// Raised for a parameter the item has no element for, followed by its name.
inline constexpr std::string_view kNoElementForParameter = "Saknar nod för parameter ";

// What differs between the kinds: setting names, texts and the number column.
struct TFinderDef {
    std::string_view ModeField;       // SEARCH_CUSTOMER_MODE ...
    std::string_view CdxField;        // SEARCH_CUSTOMER_CDX ...
    std::string_view SqlField;        // SEARCH_CUSTOMER_SQL ...
    std::string_view NoModeText;      // raised when the mode cannot be read
    std::string_view EmptyCdxText;    // raised for an empty sort order; empty: a conversion error
    std::string_view EmptySqlText;    // raised for an empty statement
    std::string_view NumberColumn;    // "kundnr" ...; empty: the first column
    TAdkSortOrder DefaultOrder;       // the dataset's order after every index search
    bool BindEveryParameter = false;  // the key goes to every parameter, not only the first
    // Raised when the sort order cannot be read as a number, empty included; empty: as it is.
    std::string_view UnreadableCdxText;
    // Each parameter takes the text of the item's element of its name, not the key.
    bool BindElementsByName = false;
    // Not empty: the key is split at every occurrence into parts, part i bound to parameter i;
    // parts beyond the parameters are passed over.
    std::string_view SplitKeyAt;
    // Only the low byte of the mode counts (as with the sort order), and a mode other than 0 and 1
    // raises UnknownModeText followed by the mode; empty: every other mode searches by SQL.
    bool LowByteMode = false;
    std::string_view UnknownModeText;
    // Reported at level 8, followed by the key and SearchingTextAfter, before the statement runs;
    // empty: nothing.
    std::string_view SearchingText;
    std::string_view SearchingTextAfter;
};

class TRecordFinder {
public:
    TRecordFinder(const TFinderDef& def, const TDataSet& settings, TAdkDataSet& dataSet, TADOQuery& query,
                  TADOConnection* connection, IEventSink& events);

    // True when the key's record exists; `number` is then its number. A failing statement is
    // reported at level 2 and counts as not found; other failures raise, among them a parameter
    // that `item` has no element for (with BindElementsByName).
    bool Find(const std::string& key, std::string& number, const TXMLNode* item = nullptr);

private:
    bool FindByIndex(const std::string& key, std::string& number);
    bool FindBySql(const std::string& key, std::string& number, const TXMLNode* item);
    int SortOrderSetting() const;

    const TFinderDef& def_;
    const TDataSet& settings_;
    TAdkDataSet& dataSet_;
    TADOQuery& query_;
    TADOConnection* connection_;
    IEventSink& events_;
};

}  // namespace tv
