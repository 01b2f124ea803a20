#pragma once
// How the dataset compares texts of field names, index keys, filters and look-ups: the run-time
// library's comparisons (rtl/text_compare.h) chosen by a case flag, and the UTF-8 lengths that
// string fields are cut to.

#include "platform/data/value_view.h"

#include <string>
#include <string_view>

namespace tv {

// <0, 0 or >0. Without regard to case as AnsiCompareText; with case as AnsiCompareStr (case
// orders only texts that are otherwise equal, so 0 means equal texts).
int CompareFieldText(std::string_view a, std::string_view b, bool caseInsensitive);
inline bool SameFieldText(std::string_view a, std::string_view b, bool caseInsensitive = true) {
    return CompareFieldText(a, b, caseInsensitive) == 0;
}
// <0, 0 or >0 for two stored values: no value first, then by value, texts as CompareFieldText.
// A float that is not a number stands after every number and equals another such float, so that
// records always sort into one order and a binary search finds them again.
int CompareFieldValues(const TValueView& a, const TValueView& b, bool caseInsensitive);
// Whether `text` begins with `prefix`.
bool StartsWithFieldText(std::string_view text, std::string_view prefix, bool caseInsensitive);
// The text with every letter folded to small: a key for look-ups without regard to case.
std::string FoldFieldText(std::string_view text);
// The byte length of the first `count` characters of a UTF-8 text.
size_t Utf8PrefixBytes(std::string_view text, size_t count);

}  // namespace tv
