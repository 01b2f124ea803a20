#pragma once
// Exact decimal text of amounts kept in whole hundredths (VAT computed in öre): the sign, the whole
// part and up to two decimals without trailing zeros, with the settings' decimal separator. Made
// from the integer, never through a binary double, so 2812 is "28,12" and never "28,1200000001".

#include <cstdint>
#include <string>

#include "platform/rtl/format_settings.h"

namespace tv {

std::string HundredthsToStr(int64_t hundredths, const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
