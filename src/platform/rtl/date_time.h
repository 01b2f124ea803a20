#pragma once
// TDateTime: a double counting days since 1899-12-30, its fraction the time of day. Before that
// day the whole part counts back and the fraction still counts forward from midnight: -1.25 is
// 1899-12-29 06:00. Dates run from 0001-01-01 to 9999-12-31; a value outside that range, or not
// a number, raises EConvertError wherever it is split into date and time.

#include <cstdint>
#include <string_view>

namespace tv {

using TDateTime = double;

inline constexpr std::string_view kDateEncodeError = "Invalid argument to date encode";
inline constexpr std::string_view kTimeEncodeError = "Invalid argument to time encode";
inline constexpr std::string_view kInvalidDateTime = "'%s' is not a valid date and time";

inline constexpr int kHoursPerDay = 24;
inline constexpr int kMinsPerDay = kHoursPerDay * 60;
inline constexpr int kSecsPerDay = kMinsPerDay * 60;
inline constexpr int kMSecsPerDay = kSecsPerDay * 1000;
// Day 0 (1899-12-30) as days since 0001-01-01; and 1970-01-01 as a TDateTime.
inline constexpr int kDateDelta = 693594;
inline constexpr double kUnixDateDelta = 25569.0;
inline constexpr double kMinDateTime = -693593.0;         // 0001-01-01 00:00
inline constexpr double kMaxDateTime = 2958465.99999999;  // 9999-12-31 23:59:59.999

bool IsLeapYear(int year);
// Days of `month` (1-12) in `year`; 0 for a month out of range.
int DaysInAMonth(int year, int month);
int DaysInMonth(TDateTime value);

bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
TDateTime EncodeDate(int year, int month, int day);          // kDateEncodeError
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // kTimeEncodeError
// A date and a time of day joined by the rule above (a date before day 0 subtracts the time).
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);

// The parts of a value, the time rounded to the millisecond (23:59:59.9996 is the next day).
struct TDateTimeParts {
    int Year, Month, Day, Hour, Min, Sec, MSec;
    int DayOfWeek;  // 1 Sunday ... 7 Saturday
};
TDateTimeParts DecodeDateTime(TDateTime value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime value);  // 1 Sunday ... 7 Saturday

// The local clock, to the millisecond.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Whole seconds since 1970-01-01 00:00, counted on the date and time as they stand (no time zone).
int64_t DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(int64_t seconds);

}  // namespace tv
