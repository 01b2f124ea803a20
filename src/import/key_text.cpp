#include "import/key_text.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/text_compare.h"

namespace tv {

std::string LowerKey(std::string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = NextCharOrByte(text, pos);
        if (c >= 0x110000) {
            lower.append(text.substr(start, pos - start));  // a byte that is not UTF-8 stays as it is
        } else if (c < 0x80) {
            lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
        } else {
            AppendUtf8(lower, FoldCase(c));
        }
    }
    return lower;
}

std::string CutToCharacters(std::string_view text, size_t count) {
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n) NextCharOrByte(text, pos);
    return std::string(text.substr(0, pos));
}

}  // namespace tv
