#include "import/mapped_field_writer.h"

#include <algorithm>

#include "adk/adk_dataset.h"
#include "platform/xml/xml_node.h"

namespace tv {

TMappedFieldWriter::TMappedFieldWriter(const TFieldMapping& mapping, TAdkDataSet& dataSet, bool skipReadOnly)
    : mapping_(mapping), dataSet_(dataSet), skipReadOnly_(skipReadOnly) {}

void TMappedFieldWriter::Resolve() {
    for (const TFieldMappingRow& row : mapping_.Rows()) {
        if (row.Field < 0 || row.Field > dataSet_.FieldCount()) continue;
        if (skipReadOnly_ && dataSet_.IsFieldReadOnly(row.Field)) continue;
        TField& field = dataSet_.FieldByAdkIndex(row.Field);
        rowsByElement_[row.Element].push_back(fields_.size());
        fields_.push_back(&field);
        rows_.push_back(&row);
    }
    found_.assign(fields_.size(), nullptr);
    resolved_ = true;
}

void TMappedFieldWriter::Match(const TXMLNode& item) {
    if (!resolved_) Resolve();
    std::fill(found_.begin(), found_.end(), nullptr);
    for (const TXMLNode* child : item.ChildNodes()) {
        if (child->NodeType() != TNodeType::ntElement) continue;
        auto it = rowsByElement_.find(std::string_view(child->NodeName()));
        if (it == rowsByElement_.end()) continue;
        for (size_t row : it->second)
            if (!found_[row]) found_[row] = child;
    }
}

void TMappedFieldWriter::Write(const TXMLNode& item, bool keepNumber) {
    texts_.Clear();
    ForEachMapped(item, [this, keepNumber](const TFieldMappingRow& row, TField& field, const TXMLNode& element) {
        if (!(keepNumber && row.Field == 0)) texts_.Set(field, element.NodeName(), element.Text());
    });
}

}  // namespace tv
