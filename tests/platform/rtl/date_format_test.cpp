#include "platform/rtl/date_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "convert_error.h"

namespace tv {
namespace {

TFormatSettings Swedish() {
    return FormatSettingsForLocale("sv_SE.UTF-8");
}
TFormatSettings Neutral() {
    return FormatSettingsForLocale("C");
}
TFormatSettings American() {
    return FormatSettingsForLocale("en_US.UTF-8");
}

// Monday 31 May 2010, 14:05:09.007.
const TDateTime kSample = EncodeDateTime(2010, 5, 31, 14, 5, 9, 7);

struct TokenCase {
    const char* format;
    const char* swedish;
    const char* american;
};
const TokenCase kTokenCases[] = {
    {"yyyy-mm-dd hhnnss", "2010-05-31 140509", "2010-05-31 140509"},
    {"ddddd", "2010-05-31", "5/31/2010"},
    {"hh:nn:ss.zzz", "14:05:09.007", "14:05:09.007"},
    {"yyyymmdd", "20100531", "20100531"},
    {"YYYY-MM-DD", "2010-05-31", "2010-05-31"},
    {"d/m/yy", "31-5-10", "31/5/10"},  // "/" is the date separator
    {"dddd d mmmm yyyy", "måndag 31 maj 2010", "Monday 31 May 2010"},
    {"ddd mmm", "mån maj", "Mon May"},
    {"dddddd", "31 maj 2010", "Monday, May 31, 2010"},
    {"h:mm", "14:05", "14:05"},  // m after h is the minute
    {"hh:mm:ss", "14:05:09", "14:05:09"},
    {"mm", "05", "05"},
    {"m", "5", "5"},
    {"n s z", "5 9 7", "5 9 7"},
    {"h:nn am/pm", "2:05 pm", "2:05 pm"},
    {"h:nn AM/PM", "2:05 PM", "2:05 PM"},
    {"h a/p", "2 p", "2 p"},
    {"hh ampm", "02 em", "02 PM"},
    {"t", "14:05", "2:05 PM"},
    {"tt", "14:05:09", "2:05:09 PM"},
    {"c", "2010-05-31 14:05:09", "5/31/2010 2:05:09 PM"},
    {"", "2010-05-31 14:05:09", "5/31/2010 2:05:09 PM"},
    {"\"day\" d 'of' m", "day 31 of 5", "day 31 of 5"},
    {"\"d", "d", "d"},  // an open quote runs to the end
    {"x#!", "x#!", "x#!"},
};

TEST(FormatDateTime, TokensUnderSwedishAndAmericanSettings) {
    for (const auto& c : kTokenCases) {
        EXPECT_EQ(FormatDateTime(c.format, kSample, Swedish()), c.swedish) << c.format;
        EXPECT_EQ(FormatDateTime(c.format, kSample, American()), c.american) << c.format;
    }
}

TEST(FormatDateTime, TwelveHourClockAndMidnight) {
    TDateTime afterMidnight = EncodeDateTime(2010, 5, 31, 0, 30, 0, 0);
    EXPECT_EQ(FormatDateTime("h:nn am/pm", afterMidnight, Neutral()), "12:30 am");
    EXPECT_EQ(FormatDateTime("hh:nn", afterMidnight, Neutral()), "00:30");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2010, 5, 31), Neutral()), "2010-05-31");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25, Neutral()), "1899-12-29 06:00");
}

TEST(FormatDateTime, FormatsNamingThemselvesEnd) {
    TFormatSettings s = Neutral();
    s.ShortDateFormat = "c";
    s.LongTimeFormat = "tt";
    EXPECT_LT(FormatDateTime("c", kSample, s).size(), 100u);
    s.ShortDateFormat = "ddddd|";
    EXPECT_EQ(FormatDateTime("ddddd", kSample, s), "||");
}

TEST(FormatDateTime, RefusesValuesOutsideTheCalendar) {
    EXPECT_EQ(
        ConvertErrorOf([] { FormatDateTime("yyyy", std::numeric_limits<double>::quiet_NaN(), Neutral()); }),
        "'NAN' is not a valid date and time");
}

TEST(DateTimeToStr, LeavesOutAMidnightTime) {
    EXPECT_EQ(DateToStr(kSample, Swedish()), "2010-05-31");
    EXPECT_EQ(TimeToStr(kSample, Swedish()), "14:05:09");
    EXPECT_EQ(DateTimeToStr(kSample, Swedish()), "2010-05-31 14:05:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2010, 5, 31), Swedish()), "2010-05-31");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2010, 5, 31) + EncodeTime(0, 0, 0, 500), Swedish()), "2010-05-31");
    EXPECT_EQ(DateTimeToStr(kSample, American()), "5/31/2010 2:05:09 PM");
}

struct ParseCase {
    const char* text;
    bool valid;
    TDateTime value;
};

TEST(StrToDate, ReadsTheShortDateFormatsOrderAndSeparator) {
    const ParseCase swedish[] = {
        {"2010-05-31", true, EncodeDate(2010, 5, 31)},
        {"2010-5-31", true, EncodeDate(2010, 5, 31)},
        {" 2010 - 05 - 31 ", true, EncodeDate(2010, 5, 31)},
        {"0001-01-01", true, EncodeDate(1, 1, 1)},
        {"2010-02-30", false, 0},
        {"2010/05/31", false, 0},
        {"20100531", false, 0},
        {"2010-05-31x", false, 0},
        {"2010-05-31 12:00", false, 0},
        {"12010-05-31", false, 0},
        {"", false, 0},
        {"abc", false, 0},
    };
    for (const auto& c : swedish) {
        TDateTime value = -5;
        EXPECT_EQ(TryStrToDate(c.text, value, Swedish()), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : -5) << c.text;
    }
    EXPECT_EQ(StrToDate("5/31/2010", American()), EncodeDate(2010, 5, 31));
    TDateTime unused;
    EXPECT_FALSE(TryStrToDate("31/5/2010", unused, American()));
    TFormatSettings german = Neutral();
    german.ShortDateFormat = "dd.mm.yyyy";
    german.DateSeparator = '.';
    EXPECT_EQ(StrToDate("31.05.2010", german), EncodeDate(2010, 5, 31));
}

TEST(StrToDate, ShortYearsAndMissingYears) {
    int year, month, day;
    DecodeDate(Date(), year, month, day);
    // Two-digit years fall within the fifty years before and after this one.
    EXPECT_EQ(StrToDate("10-05-31", Swedish()), EncodeDate(2010, 5, 31));
    EXPECT_EQ(StrToDate("12/24/99", American()), EncodeDate(1999, 12, 24));
    EXPECT_EQ(StrToDate(std::to_string(year % 100) + "-05-31", Swedish()), EncodeDate(year, 5, 31));
    // Day and month alone are in this year.
    EXPECT_EQ(StrToDate("05-31", Swedish()), EncodeDate(year, 5, 31));
    EXPECT_EQ(StrToDate("5/31", American()), EncodeDate(year, 5, 31));
}

TEST(StrToTime, HoursMinutesSecondsMillisecondsAndAmPm) {
    const ParseCase swedish[] = {
        {"14:05:09", true, EncodeTime(14, 5, 9, 0)},
        {"14:05", true, EncodeTime(14, 5, 0, 0)},
        {"14:05:09.007", true, EncodeTime(14, 5, 9, 7)},
        {"14:05:09,5", true, EncodeTime(14, 5, 9, 5)},
        {"2:05 PM", true, EncodeTime(14, 5, 0, 0)},
        {"2:05 em", true, EncodeTime(14, 5, 0, 0)},
        {"em 2:05", true, EncodeTime(14, 5, 0, 0)},
        {"12:00 AM", true, 0},
        {"12:00 pm", true, 0.5},
        {"2 pm", true, EncodeTime(14, 0, 0, 0)},
        {"14", false, 0},  // an hour alone needs am or pm
        {"25:00", false, 0},
        {"14:60", false, 0},
        {"13:00 PM", false, 0},
        {"0:30 AM", false, 0},
        {"14:05:09 x", false, 0},
        {"14:", false, 0},
        {"", false, 0},
    };
    for (const auto& c : swedish) {
        TDateTime value = -5;
        EXPECT_EQ(TryStrToTime(c.text, value, Swedish()), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : -5) << c.text;
    }
}

TEST(StrToDateTime, DateTimeOrEitherAlone) {
    EXPECT_EQ(StrToDateTime("2010-05-31 14:05:09", Swedish()), EncodeDateTime(2010, 5, 31, 14, 5, 9, 0));
    EXPECT_EQ(StrToDateTime("2010-05-31", Swedish()), EncodeDate(2010, 5, 31));
    EXPECT_EQ(StrToDateTime("14:05", Swedish()), EncodeTime(14, 5, 0, 0));
    EXPECT_EQ(StrToDateTime("1899-12-29 06:00:00", Swedish()), -1.25);
    EXPECT_EQ(StrToDateTime("5/31/2010 2:05:09 PM", American()), EncodeDateTime(2010, 5, 31, 14, 5, 9, 0));
}

TEST(StrToDateTime, RefusalsNameTheText) {
    EXPECT_EQ(ConvertErrorOf([] { StrToDate("abc", Swedish()); }), "'abc' is not a valid date");
    EXPECT_EQ(ConvertErrorOf([] { StrToTime("abc", Swedish()); }), "'abc' is not a valid time");
    EXPECT_EQ(ConvertErrorOf([] { StrToDateTime("2010-05-31 x", Swedish()); }),
              "'2010-05-31 x' is not a valid date and time");
}

TEST(StrToDateTime, ReadsBackWhatDateTimeToStrWrites) {
    const TDateTime values[] = {kSample - EncodeTime(0, 0, 0, 7), EncodeDate(2010, 5, 31), -1.25,
                                EncodeDateTime(1999, 12, 31, 23, 59, 59, 0),
                                EncodeDateTime(2024, 2, 29, 0, 0, 1, 0)};
    for (const TFormatSettings& s : {Swedish(), Neutral(), American()}) {
        for (TDateTime v : values) {
            EXPECT_NEAR(StrToDateTime(DateTimeToStr(v, s), s), v, 1e-9) << DateTimeToStr(v, s);
            EXPECT_EQ(StrToDate(DateToStr(v, s), s), std::trunc(v)) << DateToStr(v, s);
        }
    }
}

}  // namespace
}  // namespace tv
