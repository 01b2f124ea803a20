#pragma once
// The field types of a result's columns, from the type a table declares and the values that came
// back: integers as Integer (Largeint beyond 32 bits), decimals as Float, MONEY as Currency,
// Booleans as Boolean, texts as String sized to their longest value (Memo beyond 8000 characters),
// and date-time texts ("yyyy-mm-dd hh:nn:ss", also in a TEXT column) as DateTime, or Date when
// none has a time. Values that do not fit the declared type make the column take what they are.

#include "platform/data/row_source.h"
#include "platform/db/sqlite_runner.h"

#include <vector>

namespace tv::db_detail {

struct TResultField {
    TRowColumn column;
    bool isoDates = false;  // the cells are date-time texts to read as TDateTime
};

std::vector<TResultField> DescribeResult(const ResultSet& result);

// A cell as the field's value: date-time texts become TDateTime floats.
TValueView CellValue(const Cell& cell, const TResultField& field);

// Reads "yyyy-mm-dd", optionally followed by " " or "T" and "hh:nn", ":ss" and ".zzz".
bool ParseIsoDateTime(std::string_view text, double& value, bool* hasTime = nullptr);

}  // namespace tv::db_detail
