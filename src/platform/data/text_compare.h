#pragma once
// Text comparison for field names, index keys, filters and look-ups. Texts are UTF-8; without
// regard to case means ASCII and Latin-1 letters fold to lower case ("Å" equals "å").

#include <string>
#include <string_view>

namespace tv {

// <0, 0 or >0. Case-sensitive comparison orders by code point.
int CompareFieldText(std::string_view a, std::string_view b, bool caseInsensitive);
inline bool SameFieldText(std::string_view a, std::string_view b, bool caseInsensitive = true) {
    return a.size() == b.size() && CompareFieldText(a, b, caseInsensitive) == 0;
}
// The text with letters folded as above: a key for look-ups without regard to case.
std::string FoldFieldText(std::string_view text);
// Whether `text` begins with `prefix`.
bool StartsWithFieldText(std::string_view text, std::string_view prefix, bool caseInsensitive);
// Number of code points (characters) of a UTF-8 text, and the byte length of its first `count`
// characters.
size_t Utf8Length(std::string_view text);
size_t Utf8PrefixBytes(std::string_view text, size_t count);

}  // namespace tv
