#pragma once
// How the export reads whole kit tables: every record fetched afresh into the dataset's rows, and
// the local filter "field='value'" it walks them with.

#include <string>
#include <string_view>

namespace tv {

class TAdkDataSet;

// Opens the dataset when closed, forgets the rows it holds and fetches every record of its table.
void FetchAllRecords(TAdkDataSet& data);

// The filter "field='value'", quotes inside the value doubled.
std::string EqualsFilter(std::string_view field, std::string_view value);

}  // namespace tv
