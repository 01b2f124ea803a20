#include "platform/rtl/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/rtl/exception.h"
#include "platform/rtl/float_decimal.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

constexpr int kMaxDecimals = 18;
constexpr int kMaxPrecision = 18;
// A fixed or picture format of a value with more integer digits than this falls back to the
// general format, as the class library does.
constexpr int kMaxFixedIntegerDigits = 18;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// ---- integers

struct ParsedInteger {
    bool negative = false;
    bool hex = false;
    uint64_t magnitude = 0;
};

bool ParseInteger(std::string_view text, ParsedInteger& out) {
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        out.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out.magnitude, base);
    out.hex = base == 16;
    return ec == std::errc() && end == text.data() + text.size();
}

// The value of a parsed text in a signed type of `bits` width, or false when it does not fit.
bool ToSigned(const ParsedInteger& p, int bits, int64_t& value) {
    if (p.hex) {
        // Hex texts use the whole unsigned width: "$FFFFFFFF" is -1 as a 32-bit value.
        const uint64_t mask = bits == 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1;
        if (p.magnitude > mask) return false;
        uint64_t bitsValue = p.negative ? (0 - p.magnitude) & mask : p.magnitude;
        value = bits == 64 ? int64_t(bitsValue) : int64_t(int32_t(uint32_t(bitsValue)));
        return true;
    }
    const uint64_t signedLimit = uint64_t(1) << (bits - 1);
    if (p.magnitude > (p.negative ? signedLimit : signedLimit - 1)) return false;
    value = p.negative ? int64_t(0 - p.magnitude) : int64_t(p.magnitude);
    return true;
}

bool TryStrToSigned(std::string_view text, int bits, int64_t& value) {
    ParsedInteger parsed;
    return ParseInteger(text, parsed) && ToSigned(parsed, bits, value);
}

std::string HexText(uint64_t value, int digits) {
    char buffer[24];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string hex(buffer, r.ptr);
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return c >= 'a' ? char(c - 32) : c; });
    digits = std::min(digits, 32);
    if (int(hex.size()) < digits) hex.insert(0, size_t(digits) - hex.size(), '0');
    return hex;
}

// ---- floats

std::string_view SpecialText(const TFloatDecimal& d) {
    switch (d.kind) {
        case TFloatDecimal::Kind::NaN:
            return "NAN";
        case TFloatDecimal::Kind::PosInf:
            return "INF";
        case TFloatDecimal::Kind::NegInf:
            return "-INF";
        case TFloatDecimal::Kind::Finite:
            break;
    }
    return {};
}

void AppendExponent(std::string& out, int exponent, bool plusSign, int minDigits) {
    if (exponent < 0) {
        out += '-';
        exponent = -exponent;
    } else if (plusSign) {
        out += '+';
    }
    char buffer[12];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, exponent);
    int length = int(r.ptr - buffer);
    if (length < minDigits) out.append(size_t(minDigits - length), '0');
    out.append(buffer, r.ptr);
}

// "d.dddE-x" with the digits held, trailing zeros dropped (the general format's exponent form).
void AppendGeneralExponent(std::string& out, const TFloatDecimal& d, int minDigits, char decimal) {
    out += d.digits[0];
    if (d.count > 1) {
        out += decimal;
        out.append(d.digits + 1, size_t(d.count - 1));
    }
    out += 'E';
    AppendExponent(out, d.exponent - 1, false, minDigits);
}

// The digits of a non-negative decimal in fixed notation: the integer part (grouped by threes with
// `thousands` unless it is '\0'), then `decimals` decimals when `decimals` >= 0, or the decimals
// held when it is -1.
void AppendFixed(std::string& out, const TFloatDecimal& d, int decimals, char decimal, char thousands) {
    int integerDigits = std::max(d.exponent, 0);
    if (integerDigits == 0) {
        out += '0';
    } else {
        for (int i = 0; i < integerDigits; ++i) {
            out += i < d.count ? d.digits[i] : '0';
            int left = integerDigits - 1 - i;
            if (thousands != '\0' && left > 0 && left % 3 == 0) out += thousands;
        }
    }
    int held = std::max(d.count - d.exponent, 0);  // decimals the digits reach
    int shown = decimals >= 0 ? decimals : held;
    if (shown == 0) return;
    out += decimal;
    for (int k = 0; k < shown; ++k) {
        int index = d.exponent + k;  // digit index of decimal place k + 1
        out += index >= 0 && index < d.count ? d.digits[index] : '0';
    }
}

std::string GeneralText(double value, int precision, int minExponentDigits, const TFormatSettings& fs) {
    TFloatDecimal d = DecimalOf(value, precision);
    if (d.kind != TFloatDecimal::Kind::Finite) return std::string(SpecialText(d));
    if (d.IsZero()) return "0";
    std::string out;
    if (d.negative) out += '-';
    if (d.exponent > precision || d.exponent < -3) {
        AppendGeneralExponent(out, d, minExponentDigits, fs.DecimalSeparator);
    } else {
        AppendFixed(out, d, -1, fs.DecimalSeparator, '\0');
    }
    return out;
}

// Places the currency string around the text of the amount by the settings' currency formats.
std::string CurrencyText(std::string_view amount, bool negative, const TFormatSettings& fs) {
    // 'n' the amount, '$' the currency string, '-' the sign, '(' ')' and ' ' as written.
    static constexpr std::string_view kPositive[] = {"$n", "n$", "$ n", "n $"};
    static constexpr std::string_view kNegative[] = {"($n)", "-$n",  "$-n",   "$n-",  "(n$)", "-n$",
                                                     "n-$",  "n$-",  "-n $",  "-$ n", "n $-", "$ n-",
                                                     "$ -n", "n- $", "($ n)", "(n $)"};
    std::string_view pattern = negative ? kNegative[std::clamp(fs.NegCurrFormat, 0, 15)]
                                        : kPositive[std::clamp(fs.CurrencyFormat, 0, 3)];
    std::string out;
    for (char c : pattern) {
        if (c == 'n') {
            out += amount;
        } else if (c == '$') {
            out += fs.CurrencyString;
        } else {
            out += c;
        }
    }
    return out;
}

// ---- picture formats

// One section of a picture format, scanned once before the value is laid out.
struct PictureSection {
    std::string_view text;
    int integerPlaces = 0;   // '0' and '#' before the decimal point
    int fractionPlaces = 0;  // '0' and '#' after it
    int forcedInteger = 0;   // integer places from the first '0' on: always written
    int forcedFraction = 0;  // fraction places up to the last '0': always written
    bool thousands = false;
    bool scientific = false;
};

// Calls `literal(text)` for quoted and plain text and `special(c, index)` for the format
// characters, so that scanning and laying out walk a section the same way.
template <class Literal, class Special>
void WalkPicture(std::string_view text, Literal&& literal, Special&& special) {
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"' || c == '\'') {
            size_t close = text.find(c, i + 1);
            if (close == std::string_view::npos) close = text.size();
            literal(text.substr(i + 1, close - i - 1));
            i = close;
        } else if ((c == 'E' || c == 'e') && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            size_t end = i + 2;
            while (end < text.size() && end - (i + 2) < 4 && text[end] == '0') ++end;
            special(c, i);
            i = end - 1;
        } else if (c == '0' || c == '#' || c == '.' || c == ',') {
            special(c, i);
        } else {
            literal(text.substr(i, 1));
        }
    }
}

PictureSection ScanSection(std::string_view text) {
    PictureSection s;
    s.text = text;
    bool afterPoint = false;
    int firstIntegerZero = -1;
    WalkPicture(
        text, [](std::string_view) {},
        [&](char c, size_t) {
            if (s.scientific) return;  // placeholders end with the exponent
            switch (c) {
                case '0':
                case '#':
                    if (afterPoint) {
                        ++s.fractionPlaces;
                        if (c == '0') s.forcedFraction = s.fractionPlaces;
                    } else {
                        if (c == '0' && firstIntegerZero < 0) firstIntegerZero = s.integerPlaces;
                        ++s.integerPlaces;
                    }
                    break;
                case '.':
                    afterPoint = true;
                    break;
                case ',':
                    s.thousands = true;
                    break;
                default:
                    s.scientific = true;
                    break;
            }
        });
    if (firstIntegerZero >= 0) s.forcedInteger = s.integerPlaces - firstIntegerZero;
    return s;
}

// Splits a picture at the ';' outside quotes into at most three sections; text after a third ';'
// is ignored.
int SplitSections(std::string_view format, std::string_view (&sections)[3]) {
    int count = 0;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < format.size() && count < 3; ++i) {
        char c = format[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections[count++] = format.substr(start, i - start);
            start = i + 1;
        }
    }
    if (count < 3) sections[count++] = format.substr(start);
    return count;
}

void RoundForSection(TFloatDecimal& d, const PictureSection& s) {
    if (s.scientific) {
        RoundToDigits(d, std::max(s.integerPlaces + s.fractionPlaces, 1));
    } else {
        RoundToDecimals(d, s.fractionPlaces);
    }
}

std::string LayOutPicture(const PictureSection& s, const TFloatDecimal& d, bool writeMinus,
                          const TFormatSettings& fs) {
    // Integer and fraction digits as they will be written.
    std::string integerDigits, fractionDigits;
    int exponent = 0;
    if (s.scientific) {
        if (!d.IsZero()) exponent = d.exponent - s.integerPlaces;
        int pointAt = d.IsZero() ? 0 : s.integerPlaces;
        for (int i = 0; i < pointAt; ++i) integerDigits += i < d.count ? d.digits[i] : '0';
        for (int i = pointAt; i < d.count; ++i) fractionDigits += d.digits[i];
    } else {
        for (int i = 0; i < d.exponent; ++i) integerDigits += i < d.count ? d.digits[i] : '0';
        for (int k = 0; k < d.count - d.exponent; ++k) {
            int index = d.exponent + k;  // digit index of decimal place k + 1
            fractionDigits += index >= 0 ? d.digits[index] : '0';
        }
    }
    if (int(integerDigits.size()) < s.forcedInteger) {
        integerDigits.insert(0, size_t(s.forcedInteger) - integerDigits.size(), '0');
    }
    if (int(fractionDigits.size()) < s.forcedFraction) {
        fractionDigits.append(size_t(s.forcedFraction) - fractionDigits.size(), '0');
    }

    std::string out;
    if (writeMinus) out += '-';
    const int n = int(integerDigits.size());
    const char thousands = s.thousands && !s.scientific ? fs.ThousandSeparator : '\0';
    auto emitInteger = [&](int k) {
        out += integerDigits[size_t(k)];
        int left = n - 1 - k;
        if (thousands != '\0' && left > 0 && left % 3 == 0) out += thousands;
    };
    int integerPlace = 0, fractionPlace = 0;
    bool afterPoint = false, pointWritten = false, exponentWritten = false;
    auto emitPoint = [&] {
        if (pointWritten) return;
        pointWritten = true;
        if (s.integerPlaces == 0) {
            for (int k = 0; k < n; ++k) emitInteger(k);
        }
        if (!fractionDigits.empty()) out += fs.DecimalSeparator;
    };
    WalkPicture(
        s.text, [&](std::string_view text) { out += text; },
        [&](char c, size_t at) {
            if (exponentWritten) {
                if (c != 'E' && c != 'e') out += c;
                return;
            }
            switch (c) {
                case '0':
                case '#':
                    if (afterPoint) {
                        if (fractionPlace < int(fractionDigits.size()))
                            out += fractionDigits[size_t(fractionPlace)];
                        ++fractionPlace;
                    } else {
                        int k = integerPlace - (s.integerPlaces - n);
                        if (integerPlace == 0) {
                            for (int extra = 0; extra < k; ++extra) emitInteger(extra);
                        }
                        if (k >= 0) emitInteger(k);
                        ++integerPlace;
                    }
                    break;
                case '.':
                    if (!afterPoint) {
                        afterPoint = true;
                        emitPoint();
                    }
                    break;
                case ',':
                    break;
                default: {
                    if (!afterPoint) emitPoint();
                    afterPoint = true;
                    exponentWritten = true;
                    size_t zeros = 0;
                    while (at + 2 + zeros < s.text.size() && zeros < 4 && s.text[at + 2 + zeros] == '0')
                        ++zeros;
                    out += c;
                    AppendExponent(out, exponent, s.text[at + 1] == '+', int(zeros));
                    break;
                }
            }
        });
    return out;
}

}  // namespace

// ---- integers

std::string IntToStr(int64_t value) {
    char buffer[24];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string IntToHex(int32_t value, int digits) {
    return HexText(uint32_t(value), digits);
}
std::string IntToHex(int64_t value, int digits) {
    return HexText(uint64_t(value), digits);
}

bool TryStrToInt(std::string_view text, int32_t& value) {
    int64_t v;
    if (!TryStrToSigned(text, 32, v)) return false;
    value = int32_t(v);
    return true;
}

bool TryStrToInt64(std::string_view text, int64_t& value) {
    return TryStrToSigned(text, 64, value);
}

namespace {

template <class T>
T IntegerOrRaise(std::string_view text, bool (*tryParse)(std::string_view, T&)) {
    T value;
    if (!tryParse(text, value)) throw EConvertError(Format(kInvalidInteger, {text}));
    return value;
}

template <class T>
T IntegerOrDefault(std::string_view text, T defaultValue, bool (*tryParse)(std::string_view, T&)) {
    T value;
    return tryParse(text, value) ? value : defaultValue;
}

}  // namespace

int32_t StrToInt(std::string_view text) {
    return IntegerOrRaise(text, TryStrToInt);
}
int32_t StrToIntDef(std::string_view text, int32_t defaultValue) {
    return IntegerOrDefault(text, defaultValue, TryStrToInt);
}
int64_t StrToInt64(std::string_view text) {
    return IntegerOrRaise(text, TryStrToInt64);
}
int64_t StrToInt64Def(std::string_view text, int64_t defaultValue) {
    return IntegerOrDefault(text, defaultValue, TryStrToInt64);
}

// ---- floats

std::string FloatToStr(double value, const TFormatSettings& settings) {
    return GeneralText(value, kDoubleDigits, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs) {
    precision = std::clamp(precision, 1, kMaxPrecision);
    switch (format) {
        case TFloatFormat::ffGeneral:
            return GeneralText(value, precision, std::clamp(digits, 0, 4), fs);
        case TFloatFormat::ffExponent: {
            TFloatDecimal d = DecimalOf(value, precision);
            if (d.kind != TFloatDecimal::Kind::Finite) return std::string(SpecialText(d));
            std::string out;
            if (d.negative && !d.IsZero()) out += '-';
            out += d.IsZero() ? '0' : d.digits[0];
            if (precision > 1) {
                out += fs.DecimalSeparator;
                for (int i = 1; i < precision; ++i) out += i < d.count ? d.digits[i] : '0';
            }
            out += 'E';
            AppendExponent(out, d.IsZero() ? 0 : d.exponent - 1, true, std::clamp(digits, 0, 4));
            return out;
        }
        case TFloatFormat::ffFixed:
        case TFloatFormat::ffNumber:
        case TFloatFormat::ffCurrency: {
            TFloatDecimal d = DecimalOf(value, std::min(precision, kDoubleDigits));
            if (d.kind != TFloatDecimal::Kind::Finite) return std::string(SpecialText(d));
            if (d.exponent > precision) return GeneralText(value, precision, 0, fs);
            int decimals = std::clamp(digits, 0, kMaxDecimals);
            RoundToDecimals(d, decimals);
            char thousands = format == TFloatFormat::ffFixed ? '\0' : fs.ThousandSeparator;
            std::string out;
            bool negative = d.negative && !d.IsZero();
            if (negative && format != TFloatFormat::ffCurrency) out += '-';
            AppendFixed(out, d, decimals, fs.DecimalSeparator, thousands);
            return format == TFloatFormat::ffCurrency ? CurrencyText(out, negative, fs) : out;
        }
    }
    return {};
}

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& fs) {
    if (format.empty()) return FloatToStr(value, fs);
    TFloatDecimal d = DecimalOf(value);
    if (d.kind != TFloatDecimal::Kind::Finite) return std::string(SpecialText(d));

    std::string_view texts[3];
    int count = SplitSections(format, texts);
    auto usable = [&](int i) { return i < count && !texts[i].empty(); };
    int chosen = d.negative && usable(1) ? 1 : 0;
    PictureSection section = ScanSection(texts[chosen]);
    RoundForSection(d, section);
    if (d.IsZero()) {
        chosen = usable(2) ? 2 : 0;
        section = ScanSection(texts[chosen]);
    }
    if (!section.scientific && d.exponent > kMaxFixedIntegerDigits) return FloatToStr(value, fs);
    bool writeMinus = d.negative && !d.IsZero() && chosen == 0;
    return LayOutPicture(section, d, writeMinus, fs);
}

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& fs) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Checks the shape and writes it with '.' for from_chars, which knows no other separator.
    std::string plain;
    plain.reserve(text.size());
    size_t i = 0;
    auto digitRun = [&] {
        size_t first = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') plain += text[i++];
        return text.substr(first, i - first);
    };
    std::string_view integerPart = digitRun(), fractionPart;
    if (i < text.size() && text[i] == fs.DecimalSeparator) {
        plain += '.';
        ++i;
        fractionPart = digitRun();
    }
    if (integerPart.empty() && fractionPart.empty()) return false;
    bool negativeExponent = false;
    std::string_view exponentPart;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            plain += text[i++];
        }
        exponentPart = digitRun();
        if (exponentPart.empty()) return false;
    }
    if (i != text.size()) return false;

    double parsed = 0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double is zero; too large is no number at all. The power of ten of the
        // leading digit tells which.
        size_t lead = integerPart.find_first_not_of('0');
        int64_t power = lead != std::string_view::npos ? int64_t(integerPart.size() - lead)
                                                       : -int64_t(fractionPart.find_first_not_of('0'));
        int64_t exponent = 0;
        for (char c : exponentPart) exponent = std::min<int64_t>(exponent * 10 + (c - '0'), 1'000'000);
        if (power + (negativeExponent ? -exponent : exponent) > 0) return false;
        parsed = 0;
    } else if (ec != std::errc() || end != plain.data() + plain.size() || std::isinf(parsed)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
    double value;
    if (!TryStrToFloat(text, value, settings)) throw EConvertError(Format(kInvalidFloat, {text}));
    return value;
}

}  // namespace tv
