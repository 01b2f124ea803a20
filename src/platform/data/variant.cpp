#include "platform/data/variant.h"

#include <cmath>

namespace tv {

bool TVariant::AsBoolean() const {
    switch (type_) {
        case TVarType::Boolean:
        case TVarType::Integer:
            return int_ != 0;
        case TVarType::Float:
        case TVarType::Currency:
        case TVarType::DateTime:
            return float_ != 0;
        default:
            return false;
    }
}

std::int64_t TVariant::AsInt64() const {
    switch (type_) {
        case TVarType::Boolean:
        case TVarType::Integer:
            return int_;
        case TVarType::Float:
        case TVarType::Currency:
        case TVarType::DateTime:
            return static_cast<std::int64_t>(std::llround(float_));
        default:
            return 0;
    }
}

double TVariant::AsDouble() const {
    switch (type_) {
        case TVarType::Boolean:
        case TVarType::Integer:
            return static_cast<double>(int_);
        case TVarType::Float:
        case TVarType::Currency:
        case TVarType::DateTime:
            return float_;
        default:
            return 0;
    }
}

bool operator==(const TVariant& a, const TVariant& b) {
    if (a.type_ == TVarType::String || b.type_ == TVarType::String)
        return a.type_ == b.type_ && a.text_ == b.text_;
    if (a.IsEmpty() || b.IsEmpty()) return a.type_ == b.type_;
    const bool aInt = a.type_ == TVarType::Integer || a.type_ == TVarType::Boolean;
    const bool bInt = b.type_ == TVarType::Integer || b.type_ == TVarType::Boolean;
    if (aInt && bInt) return a.int_ == b.int_;
    return a.AsDouble() == b.AsDouble();
}

}  // namespace tv
