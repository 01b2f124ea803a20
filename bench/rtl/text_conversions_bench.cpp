// The number and date conversions every exported and imported value goes through.

#include <benchmark/benchmark.h>

#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace {

using namespace tv;

const TFormatSettings kSwedish = FormatSettingsForLocale("sv_SE.UTF-8");

void FloatToStrShort(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(FloatToStr(1234.5, kSwedish));
}
BENCHMARK(FloatToStrShort);

void FloatToStrFifteenDigits(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(FloatToStr(1.0 / 3, kSwedish));
}
BENCHMARK(FloatToStrFifteenDigits);

void FormatFloatPicture(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(FormatFloat("#,##0.00", 1234567.891, kSwedish));
}
BENCHMARK(FormatFloatPicture);

void StrToFloatDecimalComma(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(StrToFloat("1234,5", kSwedish));
}
BENCHMARK(StrToFloatDecimalComma);

void FormatNumberDirective(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Format("%s, %n", {"A1", 1234.5}, kSwedish));
}
BENCHMARK(FormatNumberDirective);

void FormatDateTimeStamp(benchmark::State& state) {
    const TDateTime value = EncodeDateTime(2010, 5, 31, 14, 5, 9, 7);
    for (auto _ : state) benchmark::DoNotOptimize(FormatDateTime("yyyy-mm-dd hh:nn:ss", value, kSwedish));
}
BENCHMARK(FormatDateTimeStamp);

void StrToDateTimeStamp(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(StrToDateTime("2010-05-31 14:05:09", kSwedish));
}
BENCHMARK(StrToDateTimeStamp);

}  // namespace
