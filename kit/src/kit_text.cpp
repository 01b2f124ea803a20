#include "kit_text.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/codepage.h"
#include "sql_expr.h"

namespace tv::kit {

namespace {
bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
}  // namespace

std::string ApiToStored(std::string_view cp1252) {
    if (IsAscii(cp1252)) return std::string(cp1252);
    return Cp1252ToUtf8(cp1252);
}

std::string StoredToApi(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    return Utf8ToCp1252(utf8);
}

std::string FoldKey(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t start = pos;
        char32_t cp = NextUtf8(utf8, pos);
        if (cp < 0x80) {
            char c = static_cast<char>(cp);
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            continue;
        }
        std::string_view piece = utf8.substr(start, pos - start);
        bool folded = false;
        for (const auto& pair : kFoldPairs)
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

bool CopyOut(std::string_view text, char* buffer, int32_t size) {
    if (!buffer || size < 0) return false;
    size_t n = std::min(text.size(), static_cast<size_t>(size));
    if (n) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return true;
}

}  // namespace tv::kit
