#pragma once
// The parameters of a query or command: one per distinct ":name" of its SQL text, each with a value
// and a data type. A parameter takes the type of the value assigned unless a type was set; a value
// that the set type cannot take raises when the statement runs. A parameter never assigned binds
// NULL.

#include "platform/data/field_type.h"
#include "platform/rtl/variant.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TParameter {
public:
    explicit TParameter(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    // The type set, else the type of the value (ftUnknown for none).
    TFieldType DataType() const;
    void SetDataType(TFieldType type) { dataType_ = type; }
    const Variant& Value() const { return value_; }
    void SetValue(const Variant& value) { value_ = value; }

private:
    std::string name_;
    TFieldType dataType_ = TFieldType::ftUnknown;
    Variant value_;
};

class TParameters {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // The parameter at a position; EListError outside 0 .. Count()-1.
    TParameter& Items(int index) const;
    TParameter* FindParam(std::string_view name) const;  // letter case ignored
    // EDatabaseError "Parameter '%s' not found" when missing.
    TParameter& ParamByName(std::string_view name) const;
    // Makes the list the names given, in order; a parameter whose name stays keeps its value.
    void Assign(const std::vector<std::string>& names);

private:
    std::vector<std::unique_ptr<TParameter>> items_;
};

}  // namespace tv
