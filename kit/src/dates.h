#pragma once
// The kit's date numbers and their one text form, whatever the locale:
// - a date is the number yyyymmdd (0 = none) and reads "yyyy-mm-dd";
// - a date-time (the time stamps) is the number of seconds since 2000-01-01 00:00 local time, good
//   to 2068, and reads "yyyy-mm-dd hh:nn:ss".
// The company database keeps dates as 'yyyy-mm-dd' and time stamps as 'yyyy-mm-dd hh:nn:ss' or as
// Unix seconds counted on the local date and time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tv::kit {

bool IsValidDateNumber(int32_t date);
std::optional<std::string> DateNumberToText(int32_t date);
std::optional<int32_t> DateTextToNumber(std::string_view text);

std::optional<std::string> DateTimeNumberToText(int32_t dateTime);
std::optional<int32_t> DateTimeTextToNumber(std::string_view text);

inline constexpr int64_t kUnixSecondsAt2000 = 946684800;
// Now, as a date-time number of the local clock.
int32_t NowDateTimeNumber();

}  // namespace tv::kit
