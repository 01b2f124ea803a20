#include "platform/rtl/parser.h"

#include <charconv>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/streams.h"

namespace tv {

namespace {
constexpr std::string_view kParseError = " on line ";
constexpr std::string_view kIdentifierExpected = "Identifier expected";
constexpr std::string_view kStringExpected = "String expected";
constexpr std::string_view kNumberExpected = "Number expected";
constexpr std::string_view kInvalidString = "Invalid string constant";
constexpr std::string_view kInvalidBinary = "Invalid binary value";
constexpr std::string_view kInvalidInteger = "' is not a valid integer value";
constexpr std::string_view kInvalidFloat = "' is not a valid floating point value";

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

const TClassInfo& TParser::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TParser>("TParser").Build();
    return info;
}

TParser::TParser(std::string text, int64_t origin) : fText(std::move(text)), fOrigin(origin) {
    // A NUL byte ends the text, as the end of the stream does.
    if (size_t nul = fText.find('\0'); nul != std::string::npos) fText.resize(nul);
    NextToken();
}

TParser::TParser(TStream& stream) : TParser(std::string(), stream.Position()) {
    fText = ReadStreamToEnd(stream);
    if (size_t nul = fText.find('\0'); nul != std::string::npos) fText.resize(nul);
    fPos = 0;
    fSourceLine = 1;
    NextToken();
}

void TParser::SkipBlanks() {
    while (fPos < fText.size()) {
        const auto c = static_cast<unsigned char>(fText[fPos]);
        if (c > 32) return;
        if (c == 10) ++fSourceLine;
        ++fPos;
    }
}

char TParser::NextToken() {
    SkipBlanks();
    size_t p = fPos;
    fTokenStart = p;
    char result;
    const char c = At(p);
    if (IsIdentStart(c)) {
        while (IsIdentChar(At(++p))) {
        }
        result = toSymbol;
    } else if (c == '#' || c == '\'') {
        ReadString();
        return fToken = toString;
    } else if (c == '$') {
        while (HexValue(At(++p)) >= 0) {
        }
        result = toInteger;
    } else if (c == '-' || IsDigit(c)) {
        while (IsDigit(At(++p))) {
        }
        result = toInteger;
        for (char d = At(p); IsDigit(d) || d == '.' || d == 'e' || d == 'E' || d == '+' || d == '-';
             d = At(++p))
            result = toFloat;
        const char suffix = At(p);
        fFloatType = '\0';
        if (suffix == 'c' || suffix == 'C' || suffix == 'd' || suffix == 'D' || suffix == 's' ||
            suffix == 'S' || suffix == 'f' || suffix == 'F') {
            result = toFloat;
            fFloatType = suffix;
            ++p;
        }
    } else {
        result = c;
        if (result != toEOF) ++p;
    }
    fPos = p;
    return fToken = result;
}

// Reads a run of quoted parts and #nn codes ('ab'#13#10'c') into fStringValue as UTF-8.
void TParser::ReadString() {
    size_t p = fPos;
    fStringValue.clear();
    for (;;) {
        if (At(p) == '#') {
            ++p;
            uint32_t code = 0;
            while (IsDigit(At(p))) {
                code = code * 10 + static_cast<uint32_t>(At(p) - '0');
                if (code > 0xFFFF) code = 0xFFFF;
                ++p;
            }
            AppendUtf8(fStringValue, static_cast<char32_t>(code));
        } else if (At(p) == '\'') {
            ++p;
            for (;;) {
                const char ch = At(p);
                if (p >= fText.size() || ch == '\n' || ch == '\r') {
                    fPos = p;
                    Error(kInvalidString);
                }
                if (ch == '\'') {
                    if (At(p + 1) != '\'') break;
                    ++p;
                }
                fStringValue += ch;
                ++p;
            }
            ++p;
        } else {
            break;
        }
    }
    fPos = p;
}

void TParser::ErrorStr(std::string_view Message) {
    throw EParserError(std::string(Message) + std::string(kParseError) + std::to_string(fSourceLine));
}

void TParser::CheckToken(char T) {
    if (fToken == T) return;
    switch (T) {
        case toSymbol:
            Error(kIdentifierExpected);
        case toString:
            Error(kStringExpected);
        case toInteger:
        case toFloat:
            Error(kNumberExpected);
        default:
            Error(std::string(1, '\'').append(1, T).append("' expected"));
    }
}

void TParser::CheckTokenSymbol(std::string_view S) {
    if (!TokenSymbolIs(S)) Error(std::string(S) + " expected");
}

std::string TParser::HexToBinary() {
    std::string bytes;
    SkipBlanks();
    while (At(fPos) != '}') {
        const int hi = HexValue(At(fPos));
        const int lo = HexValue(At(fPos + 1));
        if (hi < 0 || lo < 0) Error(kInvalidBinary);
        bytes += static_cast<char>(hi * 16 + lo);
        fPos += 2;
        SkipBlanks();
    }
    NextToken();
    return bytes;
}

void TParser::HexToBinary(TStream& stream) {
    const std::string bytes = HexToBinary();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::string TParser::TokenComponentIdent() {
    CheckToken(toSymbol);
    size_t p = fPos;
    while (At(p) == '.') {
        ++p;
        if (!IsIdentStart(At(p))) Error(kIdentifierExpected);
        while (IsIdentChar(At(++p))) {
        }
    }
    fPos = p;
    return TokenString();
}

std::string TParser::TokenString() const {
    if (fToken == toString) return fStringValue;
    size_t end = fPos;
    if (fToken == toFloat && fFloatType != '\0') --end;  // the suffix is not part of the number
    return fText.substr(fTokenStart, end - fTokenStart);
}

long double TParser::TokenFloat() const {
    const std::string s = TokenString();
    // Form texts always write "." as the decimal separator, whatever the locale.
    long double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw EConvertError("'" + s + std::string(kInvalidFloat));
    return v;
}

int64_t TParser::TokenInt() const {
    const std::string s = TokenString();
    int64_t v = 0;
    std::from_chars_result r{};
    if (!s.empty() && s[0] == '$') {
        uint64_t u = 0;
        r = std::from_chars(s.data() + 1, s.data() + s.size(), u, 16);
        v = static_cast<int64_t>(u);
        if (s.size() == 1) r.ec = std::errc::invalid_argument;
    } else {
        r = std::from_chars(s.data(), s.data() + s.size(), v);
    }
    if (r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw EConvertError("'" + s + std::string(kInvalidInteger));
    return v;
}

bool TParser::TokenSymbolIs(std::string_view S) const {
    return fToken == toSymbol && SameTextAscii(S, TokenString());
}

std::string QuotedFormString(std::string_view text) {
    if (text.empty()) return "''";
    std::string out;
    bool inside = false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32) {
            if (inside) out += '\'';
            inside = false;
            out += '#' + std::to_string(u);
            continue;
        }
        if (!inside) out += '\'';
        inside = true;
        out += c;
        if (c == '\'') out += '\'';
    }
    if (inside) out += '\'';
    return out;
}

}  // namespace tv
