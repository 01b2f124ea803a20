#pragma once
// The text of a kit field's value in the interchange document: a string as stored (not trimmed),
// a number in the general format with the process's decimal separator, a date in the short date
// format, a date and time with the long time format (left out at midnight), "True" or "False",
// and nothing for no value.

#include <string>
#include <string_view>

#include "platform/data/field.h"

namespace tv {

// The field's text of the current record. A stored text is returned as it stands; other values are
// formatted into `scratch`. The view is valid until the record or `scratch` changes.
std::string_view FieldText(const TField& field, std::string& scratch);

}  // namespace tv
