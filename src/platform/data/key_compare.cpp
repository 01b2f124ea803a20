#include "platform/data/key_compare.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/text_compare.h"

#include <cmath>

namespace tv {

int CompareFieldText(std::string_view a, std::string_view b, bool caseInsensitive) {
    return caseInsensitive ? AnsiCompareText(a, b) : AnsiCompareStr(a, b);
}

int CompareFieldValues(const TValueView& a, const TValueView& b, bool caseInsensitive) {
    using Kind = TValueView::Kind;
    if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : (a.IsNull() ? -1 : 1);
    if (a.kind == Kind::Text && b.kind == Kind::Text)
        return CompareFieldText(a.text, b.text, caseInsensitive);
    if (a.kind == Kind::Integer && b.kind == Kind::Integer)
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    const double x = a.kind == Kind::Integer ? static_cast<double>(a.integer) : a.number;
    const double y = b.kind == Kind::Integer ? static_cast<double>(b.integer) : b.number;
    if (std::isnan(x) || std::isnan(y)) return std::isnan(x) == std::isnan(y) ? 0 : (std::isnan(x) ? 1 : -1);
    return x < y ? -1 : (x > y ? 1 : 0);
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
