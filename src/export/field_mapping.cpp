#include "export/field_mapping.h"

#include <algorithm>

#include "platform/data/field.h"

namespace tv {
namespace {

constexpr std::string_view kTableColumn = "const_table";
constexpr std::string_view kValueColumn = "const_value";
constexpr std::string_view kTitleColumn = "const_title";

}  // namespace

const std::vector<TMappedField>& TFieldMapping::Rows(std::string_view table) {
    static const std::vector<TMappedField> kNone;
    if (!read_) ReadAll();
    auto it = tables_.find(table);
    return it == tables_.end() ? kNone : it->second;
}

std::vector<int> TFieldMapping::FieldNumbers(std::string_view table) {
    std::vector<int> numbers;
    for (const TMappedField& row : Rows(table)) numbers.push_back(row.AdkIndex);
    return numbers;
}

void TFieldMapping::ReadAll() {
    // The whole table is read, not a filtered view of it; the run leaves the filter off, as a run
    // that filtered per table would have left it at its end.
    definitions_.SetFiltered(false);
    const TField& table = definitions_.FieldByName(kTableColumn);
    const TField& value = definitions_.FieldByName(kValueColumn);
    const TField& title = definitions_.FieldByName(kTitleColumn);
    tables_.clear();
    for (definitions_.First(); !definitions_.Eof(); definitions_.Next())
        tables_[table.AsString()].push_back({value.AsInteger(), title.AsString()});
    for (auto& [name, rows] : tables_)
        std::stable_sort(rows.begin(), rows.end(), [](const TMappedField& a, const TMappedField& b) {
            return a.AdkIndex < b.AdkIndex;
        });
    read_ = true;
}

}  // namespace tv
