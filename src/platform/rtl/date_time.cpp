#include "platform/rtl/date_time.h"

#include <cmath>
#include <ctime>

#include "platform/rtl/exception.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

constexpr int kFirstDay = 1;          // 0001-01-01 as days since 0001-01-01, counted from 1
constexpr int kLastDay = 3652059;     // 9999-12-31
constexpr int kUnixEpochDay = 25569;  // 1970-01-01 as a day number

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar, and back.
int DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int z, int& y, int& m, int& d) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// A value as whole days from 1899-12-30 and milliseconds into that day.
struct DayAndTime {
    int day;
    int msec;
};

DayAndTime Split(TDateTime value) {
    // Checked before any conversion to an integer: NaN and huge values fail here.
    if (!(std::fabs(value) < 3.0e6)) throw EConvertError(Format(kInvalidDateTime, {FloatToStr(value)}));
    const int64_t totalMsec = std::llround(std::fabs(value) * kMSecsPerDay);
    const int days = int(totalMsec / kMSecsPerDay);
    DayAndTime parts{value < 0 ? -days : days, int(totalMsec % kMSecsPerDay)};
    const int absoluteDay = parts.day + kDateDelta;
    if (absoluteDay < kFirstDay || absoluteDay > kLastDay) {
        throw EConvertError(Format(kInvalidDateTime, {FloatToStr(value)}));
    }
    return parts;
}

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year));
}

int DaysInMonth(TDateTime value) {
    TDateTimeParts parts = DecodeDateTime(value);
    return DaysInAMonth(parts.Year, parts.Month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) {
        return false;
    }
    value = DaysFromCivil(year, month, day) + kUnixEpochDay;
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
    if (hour < 0 || hour >= kHoursPerDay || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 ||
        msec >= 1000) {
        return false;
    }
    value = (((hour * 60 + min) * 60 + sec) * 1000 + msec) / double(kMSecsPerDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime value;
    if (!TryEncodeDate(year, month, day, value)) throw EConvertError(std::string(kDateEncodeError));
    return value;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime value;
    if (!TryEncodeTime(hour, min, sec, msec, value)) throw EConvertError(std::string(kTimeEncodeError));
    return value;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value) {
    TDateTime date, time;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) return false;
    value = ComposeDateTime(date, time);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
    return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

TDateTimeParts DecodeDateTime(TDateTime value) {
    DayAndTime split = Split(value);
    TDateTimeParts p;
    CivilFromDays(split.day - kUnixEpochDay, p.Year, p.Month, p.Day);
    p.Hour = split.msec / 3600000;
    p.Min = split.msec / 60000 % 60;
    p.Sec = split.msec / 1000 % 60;
    p.MSec = split.msec % 1000;
    p.DayOfWeek = (split.day + kDateDelta) % 7 + 1;
    return p;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    TDateTimeParts p = DecodeDateTime(value);
    year = p.Year;
    month = p.Month;
    day = p.Day;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
    TDateTimeParts p = DecodeDateTime(value);
    hour = p.Hour;
    min = p.Min;
    sec = p.Sec;
    msec = p.MSec;
}

int DayOfWeek(TDateTime value) {
    return DecodeDateTime(value).DayOfWeek;
}

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    // A leap second shows as the last second of its minute.
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec > 59 ? 59 : local.tm_sec, int(now.tv_nsec / 1000000));
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    TDateTime now = Now();
    return now - std::trunc(now);
}

int64_t DateTimeToUnix(TDateTime value) {
    double seconds = std::nearbyint((value - kUnixDateDelta) * kSecsPerDay);
    if (!(std::fabs(seconds) < 9.0e18)) throw EConvertError(Format(kInvalidDateTime, {FloatToStr(value)}));
    return int64_t(seconds);
}

TDateTime UnixToDateTime(int64_t seconds) {
    return double(seconds) / kSecsPerDay + kUnixDateDelta;
}

}  // namespace tv
