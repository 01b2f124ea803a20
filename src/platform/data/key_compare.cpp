#include "platform/data/key_compare.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/text_compare.h"

namespace tv {

int CompareFieldText(std::string_view a, std::string_view b, bool caseInsensitive) {
    return caseInsensitive ? AnsiCompareText(a, b) : AnsiCompareStr(a, b);
}

bool StartsWithFieldText(std::string_view text, std::string_view prefix, bool caseInsensitive) {
    // Folding keeps the UTF-8 length of every letter, so the prefix's bytes are the text's.
    if (prefix.size() > text.size()) return false;
    return CompareFieldText(text.substr(0, prefix.size()), prefix, caseInsensitive) == 0;
}

std::string FoldFieldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            ++i;
        } else {
            AppendUtf8(out, FoldCase(NextUtf8(text, i)));
        }
    }
    return out;
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
