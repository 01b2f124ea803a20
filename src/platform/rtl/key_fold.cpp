#include "platform/rtl/key_fold.h"

#include "platform/rtl/codepage.h"

namespace tv {

namespace {

// The folded form of the character at `pos` of `utf8`, moving `pos` past it; an ASCII letter is
// folded into `ascii`, which the answer then views.
std::string_view NextFolded(std::string_view utf8, size_t& pos, char& ascii) {
    const size_t start = pos;
    const char32_t cp = NextUtf8(utf8, pos);
    if (cp < 0x80) {
        ascii = static_cast<char>(cp);
        if (ascii >= 'a' && ascii <= 'z') ascii = static_cast<char>(ascii - 'a' + 'A');
        return {&ascii, 1};
    }
    const std::string_view piece = utf8.substr(start, pos - start);
    for (const auto& pair : kKeyFoldPairs)
        if (piece == pair[0]) return pair[1];
    return piece;
}

// Blanks fold to themselves, so they can go before the letters are folded.
std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FoldKeyText(std::string_view utf8) {
    utf8 = WithoutTrailingBlanks(utf8);
    std::string out;
    out.reserve(utf8.size());
    char ascii = 0;
    for (size_t pos = 0; pos < utf8.size();) out += NextFolded(utf8, pos, ascii);
    return out;
}

bool SameKeyText(std::string_view a, std::string_view b) {
    // Character by character, without building either folded text: the kit datasets confirm every
    // find by this.
    a = WithoutTrailingBlanks(a);
    b = WithoutTrailingBlanks(b);
    char asciiA = 0;
    char asciiB = 0;
    size_t posA = 0;
    size_t posB = 0;
    while (posA < a.size() && posB < b.size())
        if (NextFolded(a, posA, asciiA) != NextFolded(b, posB, asciiB)) return false;
    return posA == a.size() && posB == b.size();
}

}  // namespace tv
