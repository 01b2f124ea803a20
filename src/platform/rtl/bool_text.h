#pragma once
// Text to Boolean with the class library's rules: "True" or "False" in any letter case, or a number
// in the settings' format, which is true unless it is 0. Blanks around a number are ignored; around
// a word they are not.

#include <string_view>

#include "platform/rtl/format_settings.h"

namespace tv {

inline constexpr std::string_view kInvalidBoolean = "'%s' is not a valid boolean value";

// False when the text is neither word nor number; `value` is then left as it was.
bool TryStrToBool(std::string_view text, bool& value,
                  const TFormatSettings& settings = DefaultFormatSettings());
// Raises EConvertError with kInvalidBoolean for a text TryStrToBool refuses (an empty one too).
bool StrToBool(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
