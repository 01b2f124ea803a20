#include "kit_text.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/codepage.h"

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

bool CopyOut(std::string_view text, char* buffer, int32_t size) {
    if (!buffer || size < 0) return false;
    size_t n = std::min(text.size(), static_cast<size_t>(size));
    if (n) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return true;
}

}  // namespace tv::kit
