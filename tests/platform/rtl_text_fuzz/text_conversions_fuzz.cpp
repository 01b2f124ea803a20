// The first byte chooses the conversion, the rest is the format or the text it reads.

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "platform/rtl/date_format.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace {

using namespace tv;

constexpr double kValues[] = {0,
                              -1.5,
                              2.5,
                              1234567.891,
                              1e300,
                              -1e-300,
                              5e-324,
                              40329.5,
                              -1.25,
                              -693593.5,
                              2958465.9999,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()};

// Format fills a width or precision up to 65535 as asked and refuses larger ones.
constexpr size_t kFormatMaxWidth = 65535;

// Output may grow with the format, never beyond it by more than a fixed factor; a conversion of
// Format may besides fill a width and a precision up to their limit.
void CheckSize(const std::string& out, std::string_view format, bool padded = false) {
    size_t bound = 64 * format.size() + 4096;
    if (padded) {
        for (char c : format)
            if (c == '%') bound += 2 * (kFormatMaxWidth + 1);
    }
    if (out.size() > bound) std::abort();
}

template <class Call>
void AllowingConvertError(Call&& call) {
    try {
        call();
    } catch (const EConvertError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    TFormatSettings swedish = FormatSettingsForLocale("sv_SE.UTF-8");
    TFormatSettings american = FormatSettingsForLocale("en_US.UTF-8");
    switch (data[0] % 6) {
        case 0:
            for (double v : kValues) CheckSize(FormatFloat(text, v, swedish), text);
            break;
        case 1:
            for (double v : kValues) {
                AllowingConvertError([&] { CheckSize(FormatDateTime(text, v, american), text); });
            }
            break;
        case 2: {
            const TVarRec args[] = {1, 2.5, "x", int64_t(-1), 'c', 3, 4.75e20, "åäö"};
            AllowingConvertError([&] { CheckSize(Format(text, args, swedish), text, true); });
            break;
        }
        case 3: {
            TDateTime value;
            for (const TFormatSettings* s : {&swedish, &american}) {
                if (TryStrToDateTime(text, value, *s)) CheckSize(DateTimeToStr(value, *s), text);
                TryStrToDate(text, value, *s);
                TryStrToTime(text, value, *s);
            }
            break;
        }
        case 4: {
            double value;
            if (TryStrToFloat(text, value, swedish)) {
                CheckSize(FloatToStr(value, swedish), text);
                for (int digits = 0; digits < 20; digits += 6) {
                    FloatToStrF(value, TFloatFormat::ffNumber, 18, digits, swedish);
                    FloatToStrF(value, TFloatFormat::ffExponent, digits, 3, swedish);
                }
            }
            break;
        }
        default: {
            int32_t i;
            int64_t j;
            if (TryStrToInt(text, i)) IntToStr(i);
            if (TryStrToInt64(text, j)) IntToHex(j, int(size % 40));
            break;
        }
    }
    return 0;
}
