#include "platform/data/text_compare.h"

#include "platform/rtl/codepage.h"

namespace tv {

namespace {

// Lower case of the ASCII and Latin-1 capitals; every other code point stays. Folding keeps the
// UTF-8 length, so equal folded texts have equal byte lengths.
constexpr char32_t Fold(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
}

}  // namespace

int CompareFieldText(std::string_view a, std::string_view b, bool caseInsensitive) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t x, y;
        if (ca < 0x80 && cb < 0x80) {
            x = ca;
            y = cb;
            ++i;
            ++j;
        } else {
            x = NextUtf8(a, i);
            y = NextUtf8(b, j);
        }
        if (caseInsensitive) {
            x = Fold(x);
            y = Fold(y);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

std::string FoldFieldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(Fold(c));
            ++i;
        } else {
            AppendUtf8(out, Fold(NextUtf8(text, i)));
        }
    }
    return out;
}

bool StartsWithFieldText(std::string_view text, std::string_view prefix, bool caseInsensitive) {
    if (prefix.size() > text.size()) return false;
    return CompareFieldText(text.substr(0, prefix.size()), prefix, caseInsensitive) == 0;
}

size_t Utf8Length(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

size_t Utf8PrefixBytes(std::string_view text, size_t count) {
    size_t pos = 0;
    while (pos < text.size() && count > 0) {
        NextUtf8(text, pos);
        --count;
    }
    return pos;
}

}  // namespace tv
