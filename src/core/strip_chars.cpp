#include "core/strip_chars.h"

namespace tv {

namespace {

constexpr bool InStripSet(unsigned char c) {
    return (c < 32 && c != '\n' && c != '\r') || c == 127;
}

}  // namespace

std::string StripCharsInSet2(std::string_view text) {
    // Every member of the set is a single byte below 128, and no byte of a longer UTF-8 sequence
    // is, so the text is filtered byte by byte.
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (!InStripSet(static_cast<unsigned char>(c))) result.push_back(c);
    return result;
}

}  // namespace tv
