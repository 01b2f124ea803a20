#pragma once
// How the export reads whole kit tables and selections: every record fetched afresh into the
// dataset's rows, the local filter "field='value'" it walks them with, and the sorted lists it
// makes of a column. Every sorted list here compares without regard to case (AnsiCompareText, as
// a sorted TStringList does) and keeps the first of texts that compare equal.

#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/string_list.h"

namespace tv {

class TAdkDataSet;
class TDataSet;

// Raised by GetDistinctColumnValues for a kit field the dataset does not have.
inline constexpr std::string_view kInvalidFieldNumber = "Invalid fieldnumber";

// Opens the dataset when closed, forgets the rows it holds and fetches every record of its table.
void FetchAllRecords(TAdkDataSet& data);

// The filter "field='value'", quotes inside the value doubled.
std::string EqualsFilter(std::string_view field, std::string_view value);

// Makes `list` sorted with duplicates ignored and adds the trimmed text of the first column of
// every record of `data`, from its first record to its end.
void dataSetToSortedList(TStringList& list, TDataSet& data);

// A new sorted, duplicate-free list of the texts of kit field `adkIndex` over every record the
// dataset holds (none read from the kit); raises kInvalidFieldNumber for a field it does not have.
std::unique_ptr<TStringList> GetDistinctColumnValues(TAdkDataSet& data, int adkIndex);

}  // namespace tv
