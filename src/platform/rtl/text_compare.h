#pragma once
// Comparing UTF-8 texts as the class library's string lists, masks and look-ups do: without regard
// to case, or with case deciding only between texts that are otherwise equal. Letters are folded by
// a fixed table (Latin, Greek, Cyrillic), never by the process locale, so results do not depend on
// the machine. Order is by code point after folding; bytes that are not UTF-8 sort after all
// characters and stay distinct from each other.

#include <string_view>

namespace tv {

// The small letter of a capital letter of the table; every other code point unchanged.
char32_t FoldCase(char32_t codePoint);

// < 0, 0 or > 0 as `a` sorts before, equal to or after `b`, without regard to case.
int AnsiCompareText(std::string_view a, std::string_view b);
// As AnsiCompareText, but texts that differ only in case are ordered too: at the first letter
// where they differ, the small letter comes first ("a" < "A" < "b"). 0 only for equal texts.
int AnsiCompareStr(std::string_view a, std::string_view b);
inline bool AnsiSameText(std::string_view a, std::string_view b) {
    return AnsiCompareText(a, b) == 0;
}
// Whether `text` begins with `prefix`, without regard to case.
bool AnsiStartsText(std::string_view prefix, std::string_view text);

// Decodes the character at `pos` and advances `pos`. A byte that does not start a valid UTF-8
// sequence comes back as 0x110000 plus its value, so that distinct bytes stay distinct.
char32_t NextCharOrByte(std::string_view text, size_t& pos);

}  // namespace tv
