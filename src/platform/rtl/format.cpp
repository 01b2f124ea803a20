#include "platform/rtl/format.h"

#include <charconv>

#include "platform/rtl/codepage.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

// Widths and precisions beyond this are refused rather than filled: no format string of the
// system asks for more, and a larger one would only exhaust memory.
constexpr int kMaxWidth = 65535;
constexpr int kDefaultFloatPrecision = 15;
constexpr int kDefaultDecimals = 2;
constexpr int kFloatPrecision = 18;
constexpr int kExponentDigits = 3;

// The first `count` characters of UTF-8 text.
std::string_view Utf8Prefix(std::string_view text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == count) return text.substr(0, i);
    }
    return text;
}

void AppendDigits(std::string& out, uint64_t magnitude, int base, int minDigits) {
    char buffer[24];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    int length = int(r.ptr - buffer);
    if (length < minDigits) out.append(size_t(minDigits - length), '0');
    for (const char* p = buffer; p != r.ptr; ++p) out += *p >= 'a' ? char(*p - 'a' + 'A') : *p;
}

class Formatter {
public:
    Formatter(std::string_view format, std::span<const TVarRec> args, const TFormatSettings& fs)
        : format_(format), args_(args), fs_(fs) {}

    std::string Run() {
        std::string out;
        out.reserve(format_.size() + 16);
        while (pos_ < format_.size()) {
            size_t percent = format_.find('%', pos_);
            if (percent == std::string_view::npos) {
                out.append(format_.substr(pos_));
                break;
            }
            out.append(format_.substr(pos_, percent - pos_));
            pos_ = percent + 1;
            if (Peek() == '%') {
                out += '%';
                ++pos_;
                continue;
            }
            Directive(out);
        }
        return out;
    }

private:
    char Peek() const { return pos_ < format_.size() ? format_[pos_] : '\0'; }

    [[noreturn]] void Invalid() const { throw EConvertError(Format(kFormatInvalid, {format_})); }

    const TVarRec& NextArgument() {
        if (next_ >= args_.size()) throw EConvertError(Format(kFormatArgumentMissing, {format_}));
        return args_[next_++];
    }

    // Digits, or "*" taking an integer argument; false when neither is there.
    bool ReadNumber(int& value) {
        if (Peek() == '*') {
            ++pos_;
            const TVarRec& arg = NextArgument();
            if (arg.kind() != TVarRec::Kind::Integer && arg.kind() != TVarRec::Kind::Int64) Invalid();
            if (arg.integer() > kMaxWidth) Invalid();
            value = arg.integer() < 0 ? 0 : int(arg.integer());
            return true;
        }
        if (Peek() < '0' || Peek() > '9') return false;
        value = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            value = value * 10 + (format_[pos_++] - '0');
            if (value > kMaxWidth) Invalid();
        }
        return true;
    }

    // "%" [index ":"] ["-"] [width] ["." precision] type, with pos_ after the "%".
    void Directive(std::string& out) {
        int width = 0, precision = -1, number = 0;
        bool leftJustify = false, haveWidth = false;
        if (Peek() != '-' && ReadNumber(number)) {
            if (Peek() == ':') {
                ++pos_;
                next_ = size_t(number);
            } else {
                width = number;
                haveWidth = true;
            }
        }
        if (!haveWidth) {
            if (Peek() == '-') {
                leftJustify = true;
                ++pos_;
            }
            ReadNumber(width);
        }
        if (Peek() == '.') {
            ++pos_;
            if (!ReadNumber(precision)) precision = 0;
        }
        if (pos_ >= format_.size()) Invalid();
        char type = format_[pos_++];
        if (type >= 'A' && type <= 'Z') type = char(type - 'A' + 'a');

        std::string text;
        const TVarRec& arg = NextArgument();
        const bool isInteger = arg.kind() == TVarRec::Kind::Integer || arg.kind() == TVarRec::Kind::Int64;
        const bool is32 = arg.kind() == TVarRec::Kind::Integer;
        switch (type) {
            case 'd': {
                if (!isInteger) Invalid();
                int64_t v = arg.integer();
                if (v < 0) text += '-';
                AppendDigits(text, v < 0 ? 0 - uint64_t(v) : uint64_t(v), 10, precision);
                break;
            }
            case 'u':
            case 'x': {
                if (!isInteger) Invalid();
                uint64_t bits = is32 ? uint64_t(uint32_t(arg.integer())) : uint64_t(arg.integer());
                AppendDigits(text, bits, type == 'x' ? 16 : 10, precision);
                break;
            }
            case 'e':
            case 'f':
            case 'g':
            case 'n':
            case 'm':
                text = FloatDirective(type, arg, precision);
                break;
            case 's':
                if (arg.kind() == TVarRec::Kind::String) {
                    std::string_view s = arg.text();
                    text = precision >= 0 ? Utf8Prefix(s, size_t(precision)) : s;
                } else if (arg.kind() == TVarRec::Kind::Char) {
                    if (precision != 0) text = arg.character();
                } else {
                    Invalid();
                }
                break;
            default:
                Invalid();
        }
        size_t length = Utf8Length(text);
        if (length >= size_t(width)) {
            out += text;
        } else if (leftJustify) {
            out += text;
            out.append(size_t(width) - length, ' ');
        } else {
            out.append(size_t(width) - length, ' ');
            out += text;
        }
    }

    std::string FloatDirective(char type, const TVarRec& arg, int precision) const {
        if (arg.kind() != TVarRec::Kind::Extended) Invalid();
        double v = arg.floating();
        switch (type) {
            case 'e':
                return FloatToStrF(v, TFloatFormat::ffExponent,
                                   precision < 0 ? kDefaultFloatPrecision : precision, kExponentDigits, fs_);
            case 'g':
                return FloatToStrF(v, TFloatFormat::ffGeneral,
                                   precision < 0 ? kDefaultFloatPrecision : precision, kExponentDigits, fs_);
            case 'f':
                return FloatToStrF(v, TFloatFormat::ffFixed, kFloatPrecision,
                                   precision < 0 ? kDefaultDecimals : precision, fs_);
            case 'n':
                return FloatToStrF(v, TFloatFormat::ffNumber, kFloatPrecision,
                                   precision < 0 ? kDefaultDecimals : precision, fs_);
            default:
                return FloatToStrF(v, TFloatFormat::ffCurrency, kFloatPrecision,
                                   precision < 0 ? fs_.CurrencyDecimals : precision, fs_);
        }
    }

    std::string_view format_;
    std::span<const TVarRec> args_;
    const TFormatSettings& fs_;
    size_t pos_ = 0;
    size_t next_ = 0;
};

}  // namespace

std::string Format(std::string_view format, std::span<const TVarRec> args, const TFormatSettings& settings) {
    return Formatter(format, args, settings).Run();
}

std::string Format(std::string_view format, std::initializer_list<TVarRec> args,
                   const TFormatSettings& settings) {
    return Format(format, std::span<const TVarRec>(args.begin(), args.size()), settings);
}

}  // namespace tv
