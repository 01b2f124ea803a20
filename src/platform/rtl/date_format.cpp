#include "platform/rtl/date_format.h"

#include <algorithm>
#include <charconv>

#include "platform/rtl/exception.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// A format may name another (ddddd, c, t ...) whose text may name yet another; deeper than this
// the named formats are left out, so that a format naming itself cannot recurse without end.
constexpr int kMaxNesting = 2;

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (word.empty() || text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (Upper(text[at + i]) != Upper(word[i])) return false;
    }
    return true;
}

void AppendNumber(std::string& out, int value, int minDigits) {
    char buffer[12];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    int length = int(r.ptr - buffer);
    if (length < minDigits) out.append(size_t(minDigits - length), '0');
    out.append(buffer, r.ptr);
}

// Where a quoted literal starting at `at` ends (the closing quote, or the end of the text).
size_t QuoteEnd(std::string_view format, size_t at) {
    size_t close = format.find(format[at], at + 1);
    return close == std::string_view::npos ? format.size() : close;
}

// Whether an am/pm, a/p or ampm token follows `from`: the hours before one are on a 12-hour clock.
bool TwelveHourClockAfter(std::string_view format, size_t from) {
    for (size_t i = from; i < format.size(); ++i) {
        char c = format[i];
        if (c == '"' || c == '\'') {
            i = QuoteEnd(format, i);
        } else if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
                   StartsWithNoCase(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class DateTimeWriter {
public:
    DateTimeWriter(TDateTime value, const TFormatSettings& fs) : p_(DecodeDateTime(value)), fs_(fs) {}

    void Write(std::string_view format, std::string& out, int depth) const {
        char lastToken = ' ';
        size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            const char token = Upper(c);
            size_t count = 1;
            while (i + count < format.size() && format[i + count] == c) ++count;
            switch (token) {
                case 'Y':
                    if (count <= 2) {
                        AppendNumber(out, p_.Year % 100, 2);
                    } else {
                        AppendNumber(out, p_.Year, 4);
                    }
                    break;
                case 'M':
                    if (lastToken == 'H' && count <= 2) {
                        AppendNumber(out, p_.Min, int(count));
                    } else if (count <= 2) {
                        AppendNumber(out, p_.Month, int(count));
                    } else {
                        out += (count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames)[size_t(p_.Month - 1)];
                    }
                    break;
                case 'D':
                    if (count <= 2) {
                        AppendNumber(out, p_.Day, int(count));
                    } else if (count <= 4) {
                        out += (count == 3 ? fs_.ShortDayNames : fs_.LongDayNames)[size_t(p_.DayOfWeek - 1)];
                    } else {
                        Nested(count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, out, depth);
                    }
                    break;
                case 'H': {
                    int hour = p_.Hour;
                    if (TwelveHourClockAfter(format, i + count)) {
                        hour %= 12;
                        if (hour == 0) hour = 12;
                    }
                    AppendNumber(out, hour, count >= 2 ? 2 : 1);
                    break;
                }
                case 'N':
                    AppendNumber(out, p_.Min, count >= 2 ? 2 : 1);
                    break;
                case 'S':
                    AppendNumber(out, p_.Sec, count >= 2 ? 2 : 1);
                    break;
                case 'Z':
                    AppendNumber(out, p_.MSec, count >= 2 ? 3 : 1);
                    break;
                case 'T':
                    Nested(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, out, depth);
                    break;
                case 'C':
                    Nested(fs_.ShortDateFormat, out, depth);
                    if (p_.Hour != 0 || p_.Min != 0 || p_.Sec != 0) {
                        out += ' ';
                        Nested(fs_.LongTimeFormat, out, depth);
                    }
                    break;
                case 'A':
                    count = AmPm(format, i, out);
                    break;
                case '/':
                    out.append(count, fs_.DateSeparator);
                    break;
                case ':':
                    out.append(count, fs_.TimeSeparator);
                    break;
                case '"':
                case '\'': {
                    size_t close = QuoteEnd(format, i);
                    out.append(format.substr(i + 1, close - i - 1));
                    count = std::min(close, format.size() - 1) - i + 1;
                    break;
                }
                default:
                    out.append(count, c);
                    break;
            }
            if (std::string_view("YMDHNSZTC").find(token) != std::string_view::npos) lastToken = token;
            i += count;
        }
    }

private:
    void Nested(std::string_view format, std::string& out, int depth) const {
        if (depth < kMaxNesting) Write(format, out, depth + 1);
    }

    // am/pm and a/p as written, ampm with the settings' texts; a lone "a" stands as it is. Returns
    // the characters used.
    size_t AmPm(std::string_view format, size_t at, std::string& out) const {
        const bool pm = p_.Hour >= 12;
        if (StartsWithNoCase(format, at, "am/pm")) {
            out.append(format.substr(at + (pm ? 3 : 0), 2));
            return 5;
        }
        if (StartsWithNoCase(format, at, "a/p")) {
            out += format[at + (pm ? 2 : 0)];
            return 3;
        }
        if (StartsWithNoCase(format, at, "ampm")) {
            out += pm ? fs_.TimePMString : fs_.TimeAMString;
            return 4;
        }
        out += format[at];
        return 1;
    }

    TDateTimeParts p_;
    const TFormatSettings& fs_;
};

// ---- reading

enum class DateOrder { DMY, MDY, YMD };

DateOrder DateOrderOf(std::string_view shortDateFormat) {
    for (size_t i = 0; i < shortDateFormat.size(); ++i) {
        char c = Upper(shortDateFormat[i]);
        if (c == '"' || c == '\'') {
            i = QuoteEnd(shortDateFormat, i);
        } else if (c == 'D') {
            return DateOrder::DMY;
        } else if (c == 'M') {
            return DateOrder::MDY;
        } else if (c == 'Y') {
            return DateOrder::YMD;
        }
    }
    return DateOrder::MDY;
}

class DateTimeScanner {
public:
    DateTimeScanner(std::string_view text, const TFormatSettings& fs) : text_(text), fs_(fs) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }
    void Restart() { pos_ = 0; }

    bool ScanDate(TDateTime& value) {
        int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
        if (!Number(n[0], digits[0]) || !Char(fs_.DateSeparator) || !Number(n[1], digits[1])) return false;
        const bool threeParts = Char(fs_.DateSeparator);
        if (threeParts && !Number(n[2], digits[2])) return false;
        int year, month, day, yearDigits = 4;
        const DateOrder order = DateOrderOf(fs_.ShortDateFormat);
        if (!threeParts) {
            int unused;
            DecodeDate(Now(), year, unused, unused);
            month = order == DateOrder::DMY ? n[1] : n[0];
            day = order == DateOrder::DMY ? n[0] : n[1];
        } else if (order == DateOrder::YMD) {
            year = n[0], yearDigits = digits[0], month = n[1], day = n[2];
        } else if (order == DateOrder::MDY) {
            month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
        } else {
            day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
        }
        if (yearDigits <= 2) year = WindowedYear(year);
        return TryEncodeDate(year, month, day, value);
    }

    bool ScanTime(TDateTime& value) {
        int baseHour = AmPm();
        int hour = 0, min = 0, sec = 0, msec = 0, digits = 0;
        if (!Number(hour, digits)) return false;
        const bool minutes = Char(fs_.TimeSeparator);
        if (minutes) {
            if (!Number(min, digits)) return false;
            if (Char(fs_.TimeSeparator)) {
                if (!Number(sec, digits)) return false;
                if ((Char(fs_.DecimalSeparator) || Char('.')) && !Number(msec, digits)) return false;
            }
        }
        if (baseHour < 0) baseHour = AmPm();
        if (baseHour >= 0) {
            if (hour == 0 || hour > 12) return false;
            hour = hour % 12 + baseHour;
        } else if (!minutes) {
            return false;  // a bare number is no time
        }
        return TryEncodeTime(hour, min, sec, msec, value);
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    // One to four digits.
    bool Number(int& value, int& digits) {
        SkipBlanks();
        size_t start = pos_;
        value = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && pos_ - start < 4) {
            value = value * 10 + (text_[pos_++] - '0');
        }
        digits = int(pos_ - start);
        return digits > 0 && !(pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9');
    }

    bool Char(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // 0 after an AM text, 12 after a PM text, -1 when neither stands here.
    int AmPm() {
        SkipBlanks();
        for (auto [word, base] : {std::pair<std::string_view, int>{fs_.TimeAMString, 0},
                                  {fs_.TimePMString, 12},
                                  {"AM", 0},
                                  {"PM", 12}}) {
            if (StartsWithNoCase(text_, pos_, word)) {
                pos_ += word.size();
                return base;
            }
        }
        return -1;
    }

    // A year of one or two digits in the hundred years that end TwoDigitYearCenturyWindow years
    // after the current one.
    int WindowedYear(int year) const {
        int currentYear, unused;
        DecodeDate(Now(), currentYear, unused, unused);
        const int windowStart = currentYear - fs_.TwoDigitYearCenturyWindow;
        year += windowStart / 100 * 100;
        if (fs_.TwoDigitYearCenturyWindow > 0 && year < windowStart) year += 100;
        return year;
    }

    std::string_view text_;
    const TFormatSettings& fs_;
    size_t pos_ = 0;
};

[[noreturn]] void Refuse(std::string_view message, std::string_view text) {
    throw EConvertError(Format(message, {text}));
}

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
    std::string out;
    DateTimeWriter(value, settings).Write(format.empty() ? "c" : format, out, 0);
    return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.LongTimeFormat, value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime("c", value, settings);
}

namespace {

// Runs one scan over the whole text; `value` changes only when it succeeds.
bool ScanWhole(std::string_view text, TDateTime& value, const TFormatSettings& settings,
               bool (DateTimeScanner::*scan)(TDateTime&)) {
    DateTimeScanner scanner(text, settings);
    TDateTime scanned;
    if (!(scanner.*scan)(scanned) || !scanner.AtEnd()) return false;
    value = scanned;
    return true;
}

}  // namespace

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    return ScanWhole(text, value, settings, &DateTimeScanner::ScanDate);
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    return ScanWhole(text, value, settings, &DateTimeScanner::ScanTime);
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    DateTimeScanner scan(text, settings);
    TDateTime date = 0, time = 0;
    if (scan.ScanDate(date)) {
        if (!scan.AtEnd() && (!scan.ScanTime(time) || !scan.AtEnd())) return false;
        value = ComposeDateTime(date, time);
        return true;
    }
    scan.Restart();
    if (!scan.ScanTime(time) || !scan.AtEnd()) return false;
    value = time;
    return true;
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
    TDateTime value;
    if (!TryStrToDate(text, value, settings)) Refuse(kInvalidDate, text);
    return value;
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& settings) {
    TDateTime value;
    if (!TryStrToTime(text, value, settings)) Refuse(kInvalidTime, text);
    return value;
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings) {
    TDateTime value;
    if (!TryStrToDateTime(text, value, settings)) Refuse(kInvalidDateTime, text);
    return value;
}

}  // namespace tv
