#pragma once
// Dates and times to text and back with the class library's format tokens and the format
// settings' formats, names and separators.

#include <string>
#include <string_view>

#include "platform/rtl/date_time.h"
#include "platform/rtl/format_settings.h"

namespace tv {

inline constexpr std::string_view kInvalidDate = "'%s' is not a valid date";
inline constexpr std::string_view kInvalidTime = "'%s' is not a valid time";

// Tokens (letter case does not matter): d dd day without / with leading zero, ddd dddd short /
// long day name, ddddd the short date format, dddddd the long date format; m mm mmm mmmm month
// (m and mm straight after h or hh are minutes); yy yyyy year; h hh hour; n nn minute; s ss
// second; z zzz millisecond; t tt the short / long time format; c the short date format and, when
// the time is not midnight, a blank and the long time format; am/pm a/p (as written) and ampm (the
// settings' texts) give a 12-hour clock to the hours before them; "/" and ":" the date and time
// separators; text in double or single quotes as it stands; any other character as it stands.
// An empty format is "c".
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = DefaultFormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());
// The short date format and, unless the time is midnight, a blank and the long time format.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = DefaultFormatSettings());

// A date is two or three numbers parted by the date separator, in the order of the short date
// format (day, month and year by where d, m and y first appear); two numbers are the day and
// month of the current year; a year of one or two digits falls in the hundred years that end
// TwoDigitYearCenturyWindow years after the current one. A time is hours, optionally minutes and
// seconds after the time separator, milliseconds after "." or the decimal separator, and
// optionally the settings' or "AM"/"PM" texts; an hour alone needs one of them. Blanks around the
// parts are ignored. StrToDateTime takes a date, a date and a time, or a time alone.
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
TDateTime StrToTime(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
bool TryStrToDate(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = DefaultFormatSettings());
bool TryStrToTime(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = DefaultFormatSettings());
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
