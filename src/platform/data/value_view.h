#pragma once
// A value as a record slot stores it: nothing, a 64-bit integer (also Booleans), a float (also
// dates and currencies) or a UTF-8 text that the view does not own.

#include <cstdint>
#include <string_view>

namespace tv {

// A non-owning view of one stored value: what a record slot or a row source holds.
struct TValueView {
    enum class Kind : std::uint8_t { Null, Integer, Float, Text };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double number = 0;
    std::string_view text;

    static TValueView FromInteger(std::int64_t v) { return {Kind::Integer, v, 0, {}}; }
    static TValueView FromFloat(double v) { return {Kind::Float, 0, v, {}}; }
    static TValueView FromText(std::string_view v) { return {Kind::Text, 0, 0, v}; }
    bool IsNull() const { return kind == Kind::Null; }
};

}  // namespace tv
