#pragma once
// Upper and lower case of single characters by the same fixed letter table the text comparisons fold
// with (Latin, Greek, Cyrillic), never by the process locale.

namespace tv {

char32_t LowerCaseChar(char32_t c);
char32_t UpperCaseChar(char32_t c);

}  // namespace tv
