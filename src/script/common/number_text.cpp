#include "script/common/number_text.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "platform/rtl/exception.h"

namespace tv::script {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<int32_t> ParseInt32(std::string_view s) {
    if (s.empty()) return std::nullopt;
    if (s[0] == '$') {
        uint64_t v = 0;
        if (!ParseIntegerLiteral(s, v) || v > 0xFFFFFFFFu) return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    bool negative = false;
    size_t i = 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > int64_t{2147483648}) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(v);
}

}  // namespace

bool ParseIntegerLiteral(std::string_view s, uint64_t& value) {
    value = 0;
    if (s.empty()) return false;
    if (s[0] == '$') {
        if (s.size() == 1) return false;
        for (size_t i = 1; i < s.size(); ++i) {
            int d = HexDigit(s[i]);
            if (d < 0 || value > (UINT64_MAX >> 4)) return false;
            value = (value << 4) | static_cast<uint64_t>(d);
        }
        return true;
    }
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        uint64_t d = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - d) / 10) return false;
        value = value * 10 + d;
    }
    return true;
}

std::string IntegerToText(int64_t n) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, r.ptr);
}

std::string FloatToText(long double x) {
    char buf[6000];  // room for the largest extended value with 12 decimals
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 12);
    if (r.ec != std::errc()) return std::isnan(x) ? "Nan" : (x < 0 ? "-Inf" : "Inf");
    return std::string(buf, r.ptr);
}

int32_t TextToInt(std::string_view s) {
    return ParseInt32(s).value_or(-1);
}

int32_t TextToIntDefault(std::string_view s, int32_t def) {
    return ParseInt32(s).value_or(def);
}

long double TextToFloat(std::string_view s) {
    // Digits with an optional sign, point and exponent; no blanks, no "inf" or "nan".
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) throw EConvertError(std::string(kInvalidFloat));
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) throw EConvertError(std::string(kInvalidFloat));
    }
    if (i != s.size()) throw EConvertError(std::string(kInvalidFloat));
    std::string_view body = s;
    if (!body.empty() && body[0] == '+') body.remove_prefix(1);
    long double v = 0;
    auto r = std::from_chars(body.data(), body.data() + body.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large is a failure; too small reads as zero.
        size_t e = body.find_first_of("eE");
        bool underflow = e != std::string_view::npos && e + 1 < body.size() && body[e + 1] == '-';
        if (!underflow) throw EConvertError(std::string(kInvalidFloat));
        return body[0] == '-' ? -0.0L : 0.0L;
    }
    if (r.ec != std::errc() || r.ptr != body.data() + body.size())
        throw EConvertError(std::string(kInvalidFloat));
    return v;
}

}  // namespace tv::script
