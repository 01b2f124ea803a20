#include "platform/rtl/key_fold.h"

#include "platform/rtl/codepage.h"

namespace tv {

std::string FoldKeyText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        const char32_t cp = NextUtf8(utf8, pos);
        if (cp < 0x80) {
            const char c = static_cast<char>(cp);
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            continue;
        }
        const std::string_view piece = utf8.substr(start, pos - start);
        bool folded = false;
        for (const auto& pair : kKeyFoldPairs)
            if (piece == pair[0]) {
                out += pair[1];
                folded = true;
                break;
            }
        if (!folded) out += piece;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

bool SameKeyText(std::string_view a, std::string_view b) {
    return FoldKeyText(a) == FoldKeyText(b);
}

}  // namespace tv
