#pragma once
// Writes the elements of an item into the current record of a kit dataset through the field
// mapping of its table: each mapping row names a kit field and the element that carries it. Rows
// with a negative field number or a number beyond the dataset's fields are passed over, and so are
// the fields the kit does not let us write unless the writer is made to write them too; an element
// the item lacks leaves its field as it stands. The text goes in by the field's type (a string cut
// to its length, numbers and dates in the process's format, a Boolean as a leading part of "True"
// or "False", empty text clearing the others). Kinds with rules of their own per field (the
// documents) walk the same rows and write each field themselves.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/field_mapping.h"
#include "import/record_write.h"

namespace tv {

class IEventSink;
class TAdkDataSet;
class TField;
class TXMLNode;

class TMappedFieldWriter {
public:
    // With `skipReadOnly` false the fields the kit reports as not writable are written like the
    // others (contacts, projects and documents never ask).
    TMappedFieldWriter(const TFieldMapping& mapping, TAdkDataSet& dataSet, bool skipReadOnly = true);

    // The dataset is in edit or insert state. The first call settles which rows are written.
    // With `keepNumber` the record's number (kit field 0) is not written: a changed record keeps
    // its number, and the kit never takes another record's number for it.
    void Write(const TXMLNode& item, bool keepNumber = false);

    // Calls `visit(row, field, element)` for every mapping row the writer writes whose element
    // the item has (its first of that name), in the mapping's order.
    template <class Visit>
    void ForEachMapped(const TXMLNode& item, Visit&& visit) {
        Match(item);
        for (size_t row = 0; row < fields_.size(); ++row)
            if (found_[row]) visit(*rows_[row], *fields_[row], *found_[row]);
    }

    // Reports each text of the last Write that the company cannot hold as written at the warning
    // level, naming the record as `record` (import/record_write.h).
    void ReportUnstorableTexts(IEventSink& events, std::string_view record) const {
        texts_.Report(events, record);
    }

private:
    void Resolve();
    // Finds the item's element of each written row.
    void Match(const TXMLNode& item);

    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    const TFieldMapping& mapping_;
    TAdkDataSet& dataSet_;
    bool skipReadOnly_;
    bool resolved_ = false;
    std::vector<TField*> fields_;                // per written row, in mapping order
    std::vector<const TFieldMappingRow*> rows_;  // per written row: its mapping row
    std::unordered_map<std::string, std::vector<size_t>, NameHash, std::equal_to<>> rowsByElement_;
    std::vector<const TXMLNode*> found_;  // per written row: the item's first element of its name
    TWrittenTexts texts_;
};

}  // namespace tv
