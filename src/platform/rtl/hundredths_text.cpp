#include "platform/rtl/hundredths_text.h"

#include <charconv>

namespace tv {

std::string HundredthsToStr(int64_t hundredths, const TFormatSettings& settings) {
    // Work on the magnitude as unsigned, so that the smallest int64 has one too.
    const bool negative = hundredths < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
    const uint64_t whole = magnitude / 100;
    const unsigned cents = static_cast<unsigned>(magnitude % 100);
    char buffer[32];
    char* end = buffer;
    if (negative) *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, whole).ptr;
    if (cents != 0) {
        *end++ = settings.DecimalSeparator;
        *end++ = static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) *end++ = static_cast<char>('0' + cents % 10);
    }
    return std::string(buffer, end);
}

}  // namespace tv
