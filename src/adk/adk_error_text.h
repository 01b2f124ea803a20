#pragma once
// The Swedish message texts of the kit's error records, as the company and dataset components
// raise them: "Visma Integration felkod <code>: <context> <kit's message>." with the table and the
// field the error concerns.

#include <string>
#include <string_view>
#include <vector>

#include "kit/adk_abi.h"

namespace tv {

// Display names of fields indexed by kit field number.
using TFieldNamesArray = std::vector<std::string>;

// Empty when the code is 0. A field number the kit reports is shown by its entry in `fieldNames`
// when one is given and has that entry, else as the kit reports it.
std::string AdkErrorText(const AdkErrorRec& err, std::string_view context,
                         const TFieldNamesArray* fieldNames = nullptr);
// The kit's file name of the table, without extension; empty when no table is concerned.
std::string AdkErrorTableText(const AdkErrorRec& err);
// The field number as the kit writes it; empty when no field is concerned.
std::string AdkErrorFieldText(const AdkErrorRec& err);

}  // namespace tv
