#pragma once
// Record elements of the interchange document: the mapped field elements of the kit record a
// dataset stands on, and the generic writers the exports share (register records by key, every
// record of a dataset with or without its key, and runs of records that share a key). A value the
// document refuses is logged and written with the strip set removed, where the writer says so.

#include <string>
#include <string_view>

#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "export/field_mapping.h"
#include "platform/xml/xml_node.h"

namespace tv {

// Logged at error level when the document refuses a value: element, value, length in characters.
inline constexpr std::string_view kRefusedValueLog = "Fel i %s, \"%s\" (length = %d)";

// Raised by the node writers when an element cannot be made (its mapped name is no element name).
inline constexpr std::string_view kCreateNodeFailed = "Failed to create node with name: %s";
// Raised with the element's name, a blank and the message, for a failure of one element that the
// value rules do not take care of (TRefusedValue::StripAndLogNamingOthers).
inline constexpr std::string_view kElementFailed = "Fel vid rad : ";

// What a mapped field element does with a value the document refuses.
enum class TRefusedValue {
    StripAndLog,  // log kRefusedValueLog and write the value without the strip set
    // The same also for a value that cannot be read (logged as empty, with the reason); an element
    // that cannot be made raises kCreateNodeFailed. The node writers of single records work so.
    StripAndLogReads,
    Raise,  // the document's error ends the run
    // As StripAndLogReads, but an element that cannot be made raises the document's own error (the
    // rows of orders).
    StripAndLogRows,
    // Every value written without the strip set, accepted or not; otherwise as StripAndLogRows (the
    // heads and rows of invoices).
    StripAlways,
    // As StripAndLogRows, but any other failure of an element (one that cannot be made, say) is
    // raised again as kElementFailed with the element's name (the heads of supplier invoices).
    StripAndLogNamingOthers,
};

// The element's text; a value the document refuses is logged and set with the strip set removed
// (and, should the document still refuse it, without every character it refuses).
void SetTextOrStrip(TXMLNode& element, std::string_view value);

class TRecordNodes {
public:
    // `mapping` reads the field-definition table; `events` takes the progress steps.
    TRecordNodes(TFieldMapping& mapping, IEventSink& events) : mapping_(mapping), events_(events) {}

    TFieldMapping& Mapping() const { return mapping_; }

    // Appends to `record` one element per mapping row of `table`, in ascending field number, with
    // the text of that kit field of the dataset's current record.
    void AddMappedFields(TXMLNode& record, std::string_view table, const TAdkDataSet& data,
                         TRefusedValue refused = TRefusedValue::StripAndLog);

    // One register record per key of the selection's first column (trimmed) that the dataset finds;
    // "key" (kit field 0 as it stands) only on "atKunder" and "atArtiklar". Keys not found are
    // passed over.
    void writeKeyedRegisterNodes(TXMLNode& container, TDataSet& selection, bool countProgress,
                                 TAdkDataSet& data, std::string_view table);
    // One record without attributes per record of the dataset, from its first to its end.
    void writeDataSetNodes(TXMLNode& container, std::string_view table, TAdkDataSet& data);
    // Per key of the selection, every consecutive kit record whose first field carries that key.
    // A refused value ends the run.
    void writeAdkRecordsByKey(TXMLNode& container, TDataSet& selection, bool countProgress, TAdkDataSet& data,
                              std::string_view table);
    // One record per record the dataset holds, from its first to its end, with "key" (kit field 0
    // as it stands); values logged and stripped as in the records of single documents. Nothing for
    // a dataset without records; with `countProgress` one step per record.
    void writeAdkDataSetNodes(TXMLNode& container, std::string_view table, bool countProgress,
                              TAdkDataSet& data);

private:
    void AddMappedField(TXMLNode& record, const TMappedField& row, const TAdkDataSet& data,
                        TRefusedValue refused);
    void StartProgress(TDataSet& selection, bool countProgress);

    TFieldMapping& mapping_;
    IEventSink& events_;
    std::string scratch_;
    std::string stripped_;
};

}  // namespace tv
