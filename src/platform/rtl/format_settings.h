#pragma once
// Number and date format settings: one object, never the C locale. The process-wide default is
// taken from the environment's locale at start-up (LC_ALL, then LC_NUMERIC / LC_TIME, then LANG:
// "sv_SE" gives "," and a blank, dates "yyyy-mm-dd"; "C" or unset gives "." and no thousands
// separator) and changed by the "forcedot" switch. Code that tests must pin passes its own object.

#include <array>
#include <string>
#include <string_view>

namespace tv {

// Default-constructed, the neutral settings of the "C" locale.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = '\0';  // '\0': none
    char DateSeparator = '-';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongDateFormat = "dddd d mmmm yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string CurrencyString = "kr";
    int CurrencyFormat = 3;  // "1 kr"
    int NegCurrFormat = 8;   // "-1 kr"
    int CurrencyDecimals = 2;
    int TwoDigitYearCenturyWindow = 50;
    std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    // Sunday first, as the class library has them.
    std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
};

// The settings a locale name such as "sv_SE.UTF-8", "en_US" or "C" stands for. The encoding and
// modifier parts of the name do not matter. Swedish ("sv") and American English ("en_US") are
// known in full; "C", "POSIX" and an empty name give the neutral settings ("." and no thousands
// separator, ISO dates, English names); any other language gets the neutral settings with the
// decimal and thousands separators its language writes.
TFormatSettings FormatSettingsForLocale(std::string_view localeName);
// The settings of the environment's locale, as read at start-up: numbers from LC_ALL, else
// LC_NUMERIC, else LANG; currency likewise with LC_MONETARY; dates and times likewise with
// LC_TIME. An empty variable counts as unset.
TFormatSettings FormatSettingsFromEnvironment();

// The process-wide settings that Format, FloatToStr, StrToFloat and the date routines use when
// given none. Initialised from the environment on first use.
TFormatSettings& DefaultFormatSettings();

// The "forcedot" switch: "." as decimal separator and a blank as thousands separator.
void ApplyForceDot(TFormatSettings& settings);

}  // namespace tv
