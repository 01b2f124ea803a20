#include "platform/rtl/file_mask.h"

#include "platform/rtl/text_compare.h"

#include <cstdint>
#include <vector>

namespace tv {
namespace {

std::vector<char32_t> FoldedChars(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) out.push_back(FoldCase(NextCharOrByte(text, pos)));
    return out;
}

// Wildcard match with one backtracking point: the last '*' seen takes one more character each
// time the rest fails. Linear in practice, never worse than name length times mask length.
bool MatchesWildcards(const std::vector<char32_t>& name, const std::vector<char32_t>& mask) {
    size_t n = 0, m = 0;
    size_t starMask = SIZE_MAX, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && mask[m] == name[n]))) {
            ++n, ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != SIZE_MAX) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    const auto foldedName = FoldedChars(name);
    if (MatchesWildcards(foldedName, FoldedChars(mask))) return true;
    // A trailing ".*" may match nothing at all, dot included.
    if (mask.size() >= 2 && mask.ends_with(".*"))
        return MatchesWildcards(foldedName, FoldedChars(mask.substr(0, mask.size() - 2)));
    return false;
}

}  // namespace tv
