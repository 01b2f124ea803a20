#include "dates.h"

#include <cstdio>
#include <ctime>

namespace tv::kit {
namespace {

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

// Reads exactly `n` digits at `pos`.
bool Digits(std::string_view s, size_t pos, size_t n, int& out) {
    if (pos + n > s.size()) return false;
    out = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

std::optional<int64_t> ParseDate(std::string_view text, int& y, int& m, int& d) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (!Digits(text, 0, 4, y) || !Digits(text, 5, 2, m) || !Digits(text, 8, 2, d)) return std::nullopt;
    if (!ValidDate(y, m, d)) return std::nullopt;
    return DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
}

const int64_t kDays2000 = DaysFromCivil(2000, 1, 1);

}  // namespace

bool IsValidDateNumber(int32_t date) {
    return date > 0 && ValidDate(date / 10000, date / 100 % 100, date % 100);
}

std::optional<std::string> DateNumberToText(int32_t date) {
    if (!IsValidDateNumber(date)) return std::nullopt;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
    return std::string(buf);
}

std::optional<int32_t> DateTextToNumber(std::string_view text) {
    int y, m, d;
    if (text.size() != 10 || !ParseDate(text, y, m, d)) return std::nullopt;
    return y * 10000 + m * 100 + d;
}

std::optional<std::string> DateTimeNumberToText(int32_t dateTime) {
    if (dateTime < 0) return std::nullopt;
    int64_t days = kDays2000 + dateTime / 86400;
    int secs = dateTime % 86400;
    int y, m, d;
    CivilFromDays(days, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, secs / 3600, secs / 60 % 60,
                  secs % 60);
    return std::string(buf);
}

std::optional<int32_t> DateTimeTextToNumber(std::string_view text) {
    int y, m, d, hh, nn, ss;
    if (text.size() != 19 || text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
    auto days = ParseDate(text, y, m, d);
    if (!days || !Digits(text, 11, 2, hh) || !Digits(text, 14, 2, nn) || !Digits(text, 17, 2, ss))
        return std::nullopt;
    if (hh > 23 || nn > 59 || ss > 59) return std::nullopt;
    int64_t n = (*days - kDays2000) * 86400 + hh * 3600 + nn * 60 + ss;
    if (n < 0 || n > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(n);
}

int32_t NowDateTimeNumber() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    int64_t days = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                 static_cast<unsigned>(local.tm_mday));
    return static_cast<int32_t>((days - kDays2000) * 86400 + local.tm_hour * 3600 + local.tm_min * 60 +
                                local.tm_sec);
}

}  // namespace tv::kit
