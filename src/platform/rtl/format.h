#pragma once
// The class library's Format: "%s", "%d", "%u", "%x", "%e", "%f", "%g", "%n", "%m" with an argument
// index ("%1:s"), "-" for left-justification, a width, a precision, "*" to take either from the
// arguments, and "%%". Our own formatter over the format settings: format strings of the system
// never reach printf. A directive that does not match its argument raises EConvertError.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/rtl/format_settings.h"

namespace tv {

inline constexpr std::string_view kFormatInvalid = "Format '%s' invalid or incompatible with argument";
inline constexpr std::string_view kFormatArgumentMissing = "No argument for format '%s'";

// One argument of Format, as the class library's open array of constants carries it: a 32-bit
// integer, a 64-bit integer, a floating-point value, a text or a character. Text is held by view:
// the argument lives as long as the call it is passed to.
class TVarRec {
public:
    enum class Kind : uint8_t { Integer, Int64, Extended, String, Char };

    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
        TVarRec(T value) {  // NOLINT: implicit, as in an argument list
        if constexpr (std::is_signed_v<T> && sizeof(T) <= sizeof(int32_t)) {
            kind_ = Kind::Integer;
        } else {
            kind_ = Kind::Int64;
        }
        integer_ = static_cast<int64_t>(value);
    }
    TVarRec(double value) : kind_(Kind::Extended), float_(value) {}
    TVarRec(char value) : kind_(Kind::Char), char_(value) {}
    TVarRec(std::string_view value) : kind_(Kind::String), text_(value) {}
    TVarRec(const std::string& value) : kind_(Kind::String), text_(value) {}
    TVarRec(const char* value) : kind_(Kind::String), text_(value ? value : "") {}
    TVarRec(bool) = delete;  // the class library's Format takes no Boolean

    Kind kind() const { return kind_; }
    int64_t integer() const { return integer_; }
    double floating() const { return float_; }
    char character() const { return char_; }
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    int64_t integer_ = 0;
    double float_ = 0;
    char char_ = 0;
    std::string_view text_;
};

std::string Format(std::string_view format, std::span<const TVarRec> args,
                   const TFormatSettings& settings = DefaultFormatSettings());
std::string Format(std::string_view format, std::initializer_list<TVarRec> args,
                   const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
