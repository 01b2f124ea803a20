#pragma once
// The field mapping of the interchange document: which kit fields of a kit table become which
// elements, read from the field-definition table ("ooi.table": const_table, const_value,
// const_title). Read once per export run and kept per table, so that record writers do not filter
// the table for every record.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/data_set.h"

namespace tv {

struct TMappedField {
    int AdkIndex;       // const_value: the kit field number
    std::string Title;  // const_title: the element name
};

class TFieldMapping {
public:
    // `definitions` is the field-definition table CDSTables.
    explicit TFieldMapping(TDataSet& definitions) : definitions_(definitions) {}

    // The rows whose const_table equals `table` (letter case counts), in ascending field number;
    // rows with the same number keep their order in the table. None for a table without rows.
    const std::vector<TMappedField>& Rows(std::string_view table);
    // The kit field numbers of those rows, in the same order.
    std::vector<int> FieldNumbers(std::string_view table);
    // Forgets what was read, so that the next look-up reads the table again.
    void Reset() {
        read_ = false;
        tables_.clear();
    }

private:
    void ReadAll();

    TDataSet& definitions_;
    bool read_ = false;
    std::map<std::string, std::vector<TMappedField>, std::less<>> tables_;
};

}  // namespace tv
