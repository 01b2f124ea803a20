#include "import/field_mapping.h"

#include "platform/data/data_set.h"
#include "platform/data/field.h"

namespace tv {

namespace {

// Puts a shared table's filter and cursor back as they were before its rows were read.
void RestoreCursor(TDataSet& dataSet, bool filtered, const TBookmark& mark) {
    if (filtered) dataSet.SetFiltered(true);
    if (dataSet.BookmarkValid(mark)) dataSet.GotoBookmark(mark);
}

}  // namespace

TFieldMapping TFieldMapping::For(TDataSet& fieldDefinitions, std::string_view table) {
    TFieldMapping mapping;
    if (!fieldDefinitions.Active()) return mapping;
    TField& tableField = fieldDefinitions.FieldByName("const_table");
    TField& valueField = fieldDefinitions.FieldByName("const_value");
    TField& titleField = fieldDefinitions.FieldByName("const_title");
    const bool filtered = fieldDefinitions.Filtered();
    const TBookmark mark = fieldDefinitions.GetBookmark();
    fieldDefinitions.DisableControls();
    try {
        if (filtered) fieldDefinitions.SetFiltered(false);
        for (fieldDefinitions.First(); !fieldDefinitions.Eof(); fieldDefinitions.Next()) {
            // A row without a field number names no kit field.
            if (tableField.AsString() != table || valueField.IsNull()) continue;
            mapping.rows_.push_back({valueField.AsInteger(), titleField.AsString()});
        }
        RestoreCursor(fieldDefinitions, filtered, mark);
    } catch (...) {
        fieldDefinitions.EnableControls();
        throw;
    }
    fieldDefinitions.EnableControls();
    return mapping;
}

}  // namespace tv
