#pragma once
// How the company compares the text of a key: letters without regard to case (ASCII and the
// Nordic, German and French letters of Windows-1252 below) and trailing blanks ignored; every other
// character, digits and date texts included, compared exactly. The kit stand-in finds and orders
// keys by this rule (its indexes are built from the same letter pairs) and the kit datasets confirm
// a find by it, so a key the kit finds is never refused afterwards.

#include <string>
#include <string_view>

namespace tv {

// The small letters outside ASCII that fold to capitals, with their capitals (UTF-8). The kit's
// key expressions replace each pair in SQL, and SQLite limits how deeply they may nest: the rarer
// letters of Windows-1252 compare as written.
inline constexpr std::string_view kKeyFoldPairs[][2] = {
    {"à", "À"}, {"á", "Á"}, {"â", "Â"}, {"ä", "Ä"}, {"å", "Å"}, {"æ", "Æ"}, {"ç", "Ç"}, {"è", "È"},
    {"é", "É"}, {"ê", "Ê"}, {"ë", "Ë"}, {"ñ", "Ñ"}, {"ó", "Ó"}, {"ö", "Ö"}, {"ø", "Ø"}, {"ü", "Ü"}};

// The key's folded form: upper-cased by the rule above, trailing blanks removed.
std::string FoldKeyText(std::string_view utf8);
// Whether two key texts are the same key.
bool SameKeyText(std::string_view a, std::string_view b);

}  // namespace tv
