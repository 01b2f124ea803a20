#include "platform/xml/xml_chars.h"

#include <cstdio>

#include "platform/rtl/codepage.h"

namespace tv {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Range {
    char32_t first, last;
};

// The NameStartChar ranges of XML 1.0 (fifth edition) above ASCII.
constexpr Range kNameStartRanges[] = {
    {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x2FF},    {0x370, 0x37D},
    {0x37F, 0x1FFF},  {0x200C, 0x200D}, {0x2070, 0x218F}, {0x2C00, 0x2FEF},
    {0x3001, 0xD7FF}, {0xF900, 0xFDCF}, {0xFDF0, 0xFFFD}, {0x10000, 0xEFFFF},
};
// What NameChar adds to NameStartChar above ASCII.
constexpr Range kNameRanges[] = {{0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040}};

bool InRanges(char32_t c, const Range* begin, const Range* end) {
    for (auto* r = begin; r != end; ++r)
        if (c >= r->first && c <= r->last) return true;
    return false;
}

bool IsNameStartChar(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
    return InRanges(c, std::begin(kNameStartRanges), std::end(kNameStartRanges));
}

bool IsNameChar(char32_t c) {
    if (IsNameStartChar(c)) return true;
    if (c < 0x80) return (c >= '0' && c <= '9') || c == '-' || c == '.';
    return InRanges(c, std::begin(kNameRanges), std::end(kNameRanges));
}

// Decodes one character; false for an invalid sequence (NextUtf8 then moved by one byte).
bool Decode(std::string_view s, size_t& pos, char32_t& c) {
    size_t start = pos;
    c = NextUtf8(s, pos);
    return !(c == kReplacement && pos - start != 3);
}

}  // namespace

bool IsXmlName(std::string_view name) {
    if (name.empty()) return false;
    size_t pos = 0;
    char32_t c;
    if (!Decode(name, pos, c) || !IsNameStartChar(c)) return false;
    while (pos < name.size())
        if (!Decode(name, pos, c) || !IsNameChar(c)) return false;
    return true;
}

TXmlCharFault FindXmlCharFault(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b >= 0x20 && b < 0x80) {
            ++pos;
            continue;
        }
        if (b < 0x20) {
            if (b != '\t' && b != '\n' && b != '\r') return {pos, static_cast<long>(b)};
            ++pos;
            continue;
        }
        size_t start = pos;
        char32_t c;
        if (!Decode(text, pos, c)) return {start, -1};
        if (c == 0xFFFE || c == 0xFFFF) return {start, static_cast<long>(c)};
    }
    return {};
}

std::string DescribeXmlCharFault(std::string_view text, const TXmlCharFault& fault) {
    char buf[32];
    if (fault.CodePoint < 0)
        std::snprintf(buf, sizeof buf, "the byte 0x%02X",
                      static_cast<unsigned>(static_cast<unsigned char>(text[fault.Position])));
    else
        std::snprintf(buf, sizeof buf, "#x%lX", fault.CodePoint);
    return buf;
}

}  // namespace tv
