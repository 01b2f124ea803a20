// The unit dateutils: TDateTime and fifteen date and time routines.

#include <cmath>

#include "platform/rtl/date_format.h"
#include "platform/rtl/date_time.h"
#include "script/host/units/import_units.h"

namespace tv::script::units {

namespace {

using Register = TProcRec* (*)(TPSExec&, std::string_view);

double EncodeDateFn(uint16_t year, uint16_t month, uint16_t day) {
    return EncodeDate(year, month, day);
}
double EncodeTimeFn(uint16_t hour, uint16_t min, uint16_t sec, uint16_t msec) {
    return EncodeTime(hour, min, sec, msec);
}
// Any failure of the encoding answers false and leaves the variable as it was.
bool TryEncodeDateFn(uint16_t year, uint16_t month, uint16_t day, double& date) {
    try {
        date = EncodeDate(year, month, day);
        return true;
    } catch (...) {
        return false;
    }
}
bool TryEncodeTimeFn(uint16_t hour, uint16_t min, uint16_t sec, uint16_t msec, double& time) {
    try {
        time = EncodeTime(hour, min, sec, msec);
        return true;
    } catch (...) {
        return false;
    }
}
void DecodeDateFn(double value, uint16_t& year, uint16_t& month, uint16_t& day) {
    int y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    year = static_cast<uint16_t>(y);
    month = static_cast<uint16_t>(m);
    day = static_cast<uint16_t>(d);
}
void DecodeTimeFn(double value, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec) {
    int h = 0, n = 0, s = 0, z = 0;
    DecodeTime(value, h, n, s, z);
    hour = static_cast<uint16_t>(h);
    min = static_cast<uint16_t>(n);
    sec = static_cast<uint16_t>(s);
    msec = static_cast<uint16_t>(z);
}
uint16_t DayOfWeekFn(double value) {
    return static_cast<uint16_t>(DayOfWeek(value));
}
double DateFn() {
    return Date();
}
double TimeFn() {
    return Time();
}
double NowFn() {
    return Now();
}
// Seconds since 1 January 1970, no time zone: (D - 25569) * 86400 rounded to the nearest.
int64_t DateTimeToUnixFn(double value) {
    return static_cast<int64_t>(std::llround((value - 25569.0) * 86400.0));
}
double UnixToDateTimeFn(int64_t seconds) {
    return static_cast<double>(seconds) / 86400.0 + 25569.0;
}
std::string DateToStrFn(double value) {
    return DateToStr(value);
}
double StrToDateFn(const std::string& text) {
    return StrToDate(text);
}
std::string FormatDateTimeFn(const std::string& format, double value) {
    return FormatDateTime(format, value);
}

constexpr TImportRow kDateUtils[] = {
    BaseType("TDateTime", btDouble),
    Routine("function EncodeDate(Year, Month, Day: Word): TDateTime;", "EncodeDate",
            Register(&RegisterNativeFunction<&EncodeDateFn>)),
    Routine("function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime;", "EncodeTime",
            Register(&RegisterNativeFunction<&EncodeTimeFn>)),
    Routine("function TryEncodeDate(Year, Month, Day: Word; var Date: TDateTime): Boolean;", "TryEncodeDate",
            Register(&RegisterNativeFunction<&TryEncodeDateFn>)),
    Routine("function TryEncodeTime(Hour, Min, Sec, MSec: Word; var Time: TDateTime): Boolean;",
            "TryEncodeTime", Register(&RegisterNativeFunction<&TryEncodeTimeFn>)),
    Routine("procedure DecodeDate(const DateTime: TDateTime; var Year, Month, Day: Word);", "DecodeDate",
            Register(&RegisterNativeFunction<&DecodeDateFn>)),
    Routine("procedure DecodeTime(const DateTime: TDateTime; var Hour, Min, Sec, MSec: Word);", "DecodeTime",
            Register(&RegisterNativeFunction<&DecodeTimeFn>)),
    Routine("function DayOfWeek(const DateTime: TDateTime): Word;", "DayOfWeek",
            Register(&RegisterNativeFunction<&DayOfWeekFn>)),
    Routine("function Date: TDateTime;", "Date", Register(&RegisterNativeFunction<&DateFn>)),
    Routine("function Time: TDateTime;", "Time", Register(&RegisterNativeFunction<&TimeFn>)),
    Routine("function Now: TDateTime;", "Now", Register(&RegisterNativeFunction<&NowFn>)),
    Routine("function DateTimeToUnix(D: TDateTime): Int64;", "DateTimeToUnix",
            Register(&RegisterNativeFunction<&DateTimeToUnixFn>)),
    Routine("function UnixToDateTime(U: Int64): TDateTime;", "UnixToDateTime",
            Register(&RegisterNativeFunction<&UnixToDateTimeFn>)),
    Routine("function DateToStr(D: TDateTime): string;", "DateToStr",
            Register(&RegisterNativeFunction<&DateToStrFn>)),
    Routine("function StrToDate(const S: string): TDateTime;", "StrToDate",
            Register(&RegisterNativeFunction<&StrToDateFn>)),
    Routine("function FormatDateTime(const fmt: string; D: TDateTime): string;", "FormatDateTime",
            Register(&RegisterNativeFunction<&FormatDateTimeFn>)),
};

constexpr std::string_view kDateUtilsRunOrder[] = {
    "EncodeDate",     "EncodeTime",     "TryEncodeDate", "TryEncodeTime",  "DecodeDate",
    "DecodeTime",     "DayOfWeek",      "Date",          "Time",           "Now",
    "DateTimeToUnix", "UnixToDateTime", "DateToStr",     "FormatDateTime", "StrToDate"};

}  // namespace

const TImportUnit kDateUtilsUnit{"dateutils", kDateUtils, kDateUtilsRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportDateUtils(TPSPascalCompiler& c) {
    units::CompileImport(c, units::kDateUtilsUnit, true);
}

void ExecImportDateUtils(TPSExec& exec) {
    units::ExecImportRoutines(exec, units::kDateUtilsUnit);
}

}  // namespace tv::script
