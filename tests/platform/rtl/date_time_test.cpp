#include "platform/rtl/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

#include "convert_error.h"

namespace tv {
namespace {

struct DateCase {
    int year, month, day;
    double value;
};
constexpr DateCase kDateCases[] = {
    {1899, 12, 30, 0},  {1899, 12, 31, 1},       {1899, 12, 29, -1},   {1900, 1, 1, 2},
    {1900, 3, 1, 61},   {1970, 1, 1, 25569},     {2000, 2, 29, 36585}, {2010, 5, 31, 40329},
    {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
};

TEST(DateTime, DatesCountDaysFrom18991230) {
    for (const auto& c : kDateCases) {
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.value) << c.year << "-" << c.month << "-" << c.day;
        int y, m, d;
        DecodeDate(c.value, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.year * 10000 + c.month * 100 + c.day) << c.value;
    }
}

TEST(DateTime, InvalidDatesAreRefused) {
    const int invalid[][3] = {{2023, 2, 29}, {1900, 2, 29}, {0, 1, 1},    {10000, 1, 1}, {2024, 13, 1},
                              {2024, 0, 1},  {2024, 4, 31}, {2024, 1, 0}, {-5, 1, 1}};
    for (const auto& d : invalid) {
        TDateTime value = 123;
        EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], value)) << d[0] << "-" << d[1] << "-" << d[2];
        EXPECT_EQ(value, 123);
        EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode");
    }
}

TEST(DateTime, TimesAreFractionsOfTheDay) {
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0);
    int h, n, s, z;
    DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 235959999);
    DecodeTime(40329 + EncodeTime(10, 20, 30, 456), h, n, s, z);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 102030456);

    const int invalid[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& t : invalid) {
        TDateTime value = 123;
        EXPECT_FALSE(TryEncodeTime(t[0], t[1], t[2], t[3], value));
        EXPECT_EQ(value, 123);
        EXPECT_EQ(ConvertErrorOf([&] { EncodeTime(t[0], t[1], t[2], t[3]); }),
                  "Invalid argument to time encode");
    }
}

struct PartsCase {
    double value;
    int year, month, day, hour, min;
};
constexpr PartsCase kNegativeCases[] = {
    {-1.25, 1899, 12, 29, 6, 0},  // before day 0 the fraction still counts from midnight
    {-1.75, 1899, 12, 29, 18, 0}, {-0.25, 1899, 12, 30, 6, 0},
    {-2.5, 1899, 12, 28, 12, 0},  {0.25, 1899, 12, 30, 6, 0},
};

TEST(DateTime, DatesBeforeDayZeroKeepTheTimeOfDayPositive) {
    for (const auto& c : kNegativeCases) {
        TDateTimeParts p = DecodeDateTime(c.value);
        EXPECT_EQ(p.Year * 10000 + p.Month * 100 + p.Day, c.year * 10000 + c.month * 100 + c.day) << c.value;
        EXPECT_EQ(p.Hour * 100 + p.Min, c.hour * 100 + c.min) << c.value;
    }
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(EncodeDateTime(1899, 12, 28, 18, 0, 0, 0), -2.75);
    EXPECT_EQ(EncodeDateTime(2010, 5, 31, 12, 0, 0, 0), 40329.5);
    EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
}

TEST(DateTime, TimeRoundsToTheMillisecondIntoTheNextDay) {
    TDateTimeParts p = DecodeDateTime(40329 + (kMSecsPerDay - 0.4) / kMSecsPerDay);
    EXPECT_EQ(p.Day, 1);
    EXPECT_EQ(p.Month, 6);
    EXPECT_EQ(p.Hour + p.Min + p.Sec + p.MSec, 0);
}

TEST(DateTime, DayOfWeekCountsFromSunday) {
    EXPECT_EQ(DayOfWeek(0), 7);                        // 1899-12-30, a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2010, 5, 31)), 2);  // Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);      // Monday
    EXPECT_EQ(DayOfWeek(-1.25), 6);                    // 1899-12-29, a Friday
}

TEST(DateTime, LeapYearsAndMonthLengths) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 4), 30);
    EXPECT_EQ(DaysInAMonth(2023, 12), 31);
    EXPECT_EQ(DaysInAMonth(2023, 13), 0);
    EXPECT_EQ(DaysInMonth(EncodeDate(2024, 2, 10)), 29);
}

TEST(DateTime, ValuesOutsideTheCalendarAreRefusedNotConverted) {
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             1e300,
                             -1e300,
                             2958466.0,
                             -693594.5};
    for (double v : values) EXPECT_NE(ConvertErrorOf([&] { DecodeDateTime(v); }), "<no error>") << v;
    for (double v : {values[0], values[1], values[2], values[3]}) {
        EXPECT_NE(ConvertErrorOf([&] { DateTimeToUnix(v); }), "<no error>") << v;
    }
    EXPECT_EQ(ConvertErrorOf([] { DecodeDateTime(1e300); }), "'1E300' is not a valid date and time");
}

TEST(DateTime, UnixSecondsCountFrom1970WithoutTimeZone) {
    EXPECT_EQ(DateTimeToUnix(25569.0), 0);
    EXPECT_EQ(DateTimeToUnix(25569.5), 43200);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2010, 5, 31, 12, 0, 0, 0)), 1275307200);
    EXPECT_EQ(UnixToDateTime(86400), 25570.0);
    EXPECT_EQ(UnixToDateTime(-86400), 25568.0);
    EXPECT_EQ(UnixToDateTime(1275307200), 40329.5);
}

TEST(DateTime, NowIsTheLocalClockWithMilliseconds) {
    std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    TDateTime clock = EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                     local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0);
    TDateTime now = Now();
    EXPECT_GE(now, clock);
    EXPECT_LT(now - clock, 5.0 / kSecsPerDay);
    EXPECT_EQ(Date(), std::trunc(now)) << "fails only across midnight";
    EXPECT_GE(Time(), 0);
    EXPECT_LT(Time(), 1);
}

}  // namespace
}  // namespace tv
