#pragma once
// The value of a field as the dataset hands it around: unassigned (never set), null (set to
// nothing), or a Boolean, integer, float, currency, date-time or text. Unassigned and null are kept
// apart because the write-back of kit datasets tells "not touched" from "cleared".

#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

enum class TVarType : std::uint8_t { Unassigned, Null, Boolean, Integer, Float, Currency, DateTime, String };

class TVariant {
public:
    TVariant() = default;  // unassigned
    TVariant(bool value) : type_(TVarType::Boolean), int_(value ? 1 : 0) {}
    TVariant(int value) : type_(TVarType::Integer), int_(value) {}
    TVariant(std::int64_t value) : type_(TVarType::Integer), int_(value) {}
    TVariant(double value) : type_(TVarType::Float), float_(value) {}
    TVariant(const char* value) : type_(TVarType::String), text_(value) {}
    TVariant(std::string value) : type_(TVarType::String), text_(std::move(value)) {}
    TVariant(std::string_view value) : type_(TVarType::String), text_(value) {}

    static TVariant Null() { return TVariant(TVarType::Null); }
    static TVariant DateTime(double value) { return TVariant(TVarType::DateTime, value); }
    static TVariant Currency(double value) { return TVariant(TVarType::Currency, value); }

    TVarType Type() const { return type_; }
    bool IsUnassigned() const { return type_ == TVarType::Unassigned; }
    bool IsNull() const { return type_ == TVarType::Null; }
    // Unassigned or null: no value at all.
    bool IsEmpty() const { return type_ == TVarType::Unassigned || type_ == TVarType::Null; }
    bool IsNumeric() const {
        return type_ == TVarType::Integer || type_ == TVarType::Float || type_ == TVarType::Currency ||
               type_ == TVarType::DateTime || type_ == TVarType::Boolean;
    }

    // The stored value of each kind; numeric kinds convert among themselves, empty reads as 0.
    bool AsBoolean() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    // The text of a string value (empty for every other kind; see VarToStr for conversions).
    const std::string& Text() const { return text_; }

    // Same kind family and same value: numbers compare by value, texts exactly, unassigned equals
    // only unassigned and null only null.
    friend bool operator==(const TVariant& a, const TVariant& b);

private:
    explicit TVariant(TVarType type) : type_(type) {}
    TVariant(TVarType type, double value) : type_(type), float_(value) {}

    TVarType type_ = TVarType::Unassigned;
    std::int64_t int_ = 0;
    double float_ = 0;
    std::string text_;
};

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
