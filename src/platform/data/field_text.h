#pragma once
// Conversions of field values: stored slot values to text and variants and back, by the field's
// type and its dataset's format settings. Failures raise EDatabaseError with the class library's
// texts (dates and times raise EConvertError from the date routines).

#include "platform/data/value_view.h"
#include "platform/rtl/variant.h"

#include <string>
#include <string_view>

namespace tv {

class TField;

// The field's text of a stored value ("" for no value).
std::string StorageToText(const TField& field, const TValueView& value);
// A text read into a stored value of the field's type; a text value points into `scratch`.
// Empty text gives no value except for strings; strings are cut to the field's size.
TValueView TextToStorage(const TField& field, std::string_view text, std::string& scratch);
// A number converted to the field's type (range-checked; a text field takes its text).
TValueView IntegerToStorage(const TField& field, std::int64_t value, std::string& scratch);
TValueView FloatToStorage(const TField& field, double value, std::string& scratch);
// A float rounded half away from zero to an integer of the field's range; a value beyond it, infinite
// or not a number raises the range error.
std::int64_t RoundToInteger(const TField& field, double value);
// A variant converted to the field's type (texts are not cut); a text value points into `scratch`.
TValueView VariantToStorage(const TField& field, const Variant& value, std::string& scratch);
// The field's variant of a stored value: Null for no value, else the type's variant kind.
Variant StorageToVariant(const TField& field, const TValueView& value);
// A value of any kind (from a row source) converted to the field's type: texts are read as
// TextToStorage reads them, numbers cross between integer and float, and become text for strings.
TValueView ConvertToField(const TField& field, const TValueView& value, std::string& scratch);

}  // namespace tv
