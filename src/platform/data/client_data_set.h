#pragma once
// The client dataset: an in-memory table made from field definitions, emptied at once, streamed
// whole to bytes and back, and filled from any row source.

#include "platform/data/data_set.h"
#include "platform/data/row_source.h"
#include "platform/rtl/streams.h"

#include <string>
#include <string_view>

namespace tv {

class TClientDataSet : public TDataSet {
    TV_CLASS(TClientDataSet, TDataSet)
public:
    explicit TClientDataSet(TComponent* AOwner = nullptr);

    // Makes the fields from FieldDefs (or keeps the fields added with AddField) and opens an
    // empty table. The dataset must be closed.
    void CreateDataSet();
    // Removes every record (the master range does not limit it); no delete events.
    void EmptyDataSet();

    // The whole table, field definitions and records in their natural order, in a format of our
    // own. Loading replaces the table and opens it; a dataset with fields of its own (AddField)
    // takes only a stream with the same field names and types. A stream that is not one of ours
    // raises EDatabaseError.
    std::string SaveToBytes() const;
    void LoadFromBytes(std::string_view bytes);
    // The same through a stream: written at its position; read from its position to its end.
    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);

    // Appends every row of `source` without record events, then moves to the first record.
    // Columns are matched to fields by name (letter case ignored); a closed dataset without
    // fields or definitions first takes its fields from the source's columns and opens.
    void AppendRows(IRowSource& source);

private:
    std::vector<TField*> StoredFields() const;
};

}  // namespace tv
