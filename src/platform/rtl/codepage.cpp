#include "platform/rtl/codepage.h"

namespace tv {
namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1. Zero marks the five bytes
// the code page leaves undefined, which map to the C1 control of the same value.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98
};

constexpr char32_t kReplacementChar = 0xFFFD;

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighTable[byte - 0x80] != 0) return kHighTable[byte - 0x80];
    return byte;
}

int UnicodeToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        char16_t mapped = kHighTable[i];
        if (mapped != 0 ? mapped == cp : cp == char32_t(0x80 + i)) return 0x80 + i;
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementChar;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t NextUtf8(std::string_view s, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b0 = byte(pos);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra;
    char32_t cp;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementChar;
    }
    if (pos + extra >= s.size()) {  // truncated sequence
        ++pos;
        return kReplacementChar;
    }
    for (int i = 1; i <= extra; ++i) {
        unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kReplacementChar;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacementChar;
    }
    pos += extra + 1;
    return cp;
}

bool IsValidUtf8(std::string_view s) {
    size_t pos = 0;
    while (pos < s.size()) {
        size_t start = pos;
        char32_t cp = NextUtf8(s, pos);
        // A genuine U+FFFD is three bytes long; a decoding failure advances by one.
        if (cp == kReplacementChar && pos - start != 3) return false;
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    for (unsigned char c : ansi) AppendUtf8(out, Cp1252ToUnicode(c));
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        int b = UnicodeToCp1252(NextUtf8(utf8, pos));
        out += b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

bool Cp1252Holds(std::string_view utf8) {
    for (size_t pos = 0; pos < utf8.size();) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (UnicodeToCp1252(NextUtf8(utf8, pos)) < 0) return false;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size() + latin1.size() / 8);
    for (unsigned char c : latin1) AppendUtf8(out, c);
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp = NextUtf8(utf8, pos);
        out += cp <= 0xFF ? static_cast<char>(cp) : replacement;
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp = NextUtf8(utf8, pos);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, u);  // a lone surrogate becomes U+FFFD there
    }
    return out;
}

namespace {

std::u16string BytesToUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto lo = static_cast<unsigned char>(bytes[i]), hi = static_cast<unsigned char>(bytes[i + 1]);
        out += bigEndian ? static_cast<char16_t>((lo << 8) | hi) : static_cast<char16_t>((hi << 8) | lo);
    }
    return out;
}

std::string Utf16ToBytes(std::u16string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t u : text) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

}  // namespace

std::string DecodeTextBytes(std::string_view bytes, TextEncoding* detected) {
    auto report = [&](TextEncoding e) {
        if (detected) *detected = e;
    };
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        report(TextEncoding::Utf8Bom);
        std::string_view body = bytes.substr(3);
        return IsValidUtf8(body) ? std::string(body) : Utf16ToUtf8(Utf8ToUtf16(body));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        report(TextEncoding::Utf16LE);
        return Utf16ToUtf8(BytesToUtf16(bytes.substr(2), false));
    }
    if (bytes.starts_with("\xFE\xFF")) {
        report(TextEncoding::Utf16BE);
        return Utf16ToUtf8(BytesToUtf16(bytes.substr(2), true));
    }
    if (IsValidUtf8(bytes)) {
        report(TextEncoding::Utf8);
        return std::string(bytes);
    }
    report(TextEncoding::Ansi);
    return Cp1252ToUtf8(bytes);
}

std::string EncodeTextBytes(std::string_view utf8, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ansi: return Utf8ToCp1252(utf8);
        case TextEncoding::Utf8: return std::string(utf8);
        case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF" + std::string(utf8);
        case TextEncoding::Utf16LE: return "\xFF\xFE" + Utf16ToBytes(Utf8ToUtf16(utf8), false);
        case TextEncoding::Utf16BE: return "\xFE\xFF" + Utf16ToBytes(Utf8ToUtf16(utf8), true);
    }
    return std::string(utf8);
}

std::string NormalizeLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += lineEnd;
        } else if (c == '\n') {
            out += lineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tv
