#include "export/calculated_vat.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "adk/adk_dataset.h"
#include "platform/data/field.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// Two numbers of up to 17 significant digits multiply exactly in 128 bits.
__extension__ typedef unsigned __int128 TWide;

// Kit fields of a document head and of its rows.
constexpr int kVatRateFields[] = {52, 53, 54, 55};  // VAT codes 1 to 4, in percent
constexpr int kFreight = 56;
constexpr int kFreightVatCode = 57;
constexpr int kDispatchFee = 58;
constexpr int kStoredVat = 99;
constexpr int kRowAmount = 9;
constexpr int kRowVatCode = 16;

// A decimal: ±Digits × 10^Exponent.
struct TExactDecimal {
    TWide Digits = 0;
    int Exponent = 0;
    bool Negative = false;
};

[[noreturn]] void RaiseOutOfRange(double a, double b) {
    throw Exception(Format(kVatOutOfRange, {a, b}));
}

// The shortest decimal that reads back as `value` ("12.62", "1e+21"), taken digit by digit.
TExactDecimal ExactDecimalOf(double value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    TExactDecimal d;
    const char* p = text;
    if (*p == '-') {
        d.Negative = true;
        ++p;
    }
    for (bool fraction = false; p != written.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            fraction = true;
            continue;
        }
        d.Digits = d.Digits * 10 + static_cast<unsigned>(*p - '0');
        if (fraction) --d.Exponent;
    }
    if (p != written.ptr) {
        int exponent = 0;
        ++p;
        if (*p == '+') ++p;
        std::from_chars(p, written.ptr, exponent);
        d.Exponent += exponent;
    }
    return d;
}

// 10^n for n in 0..38.
TWide PowerOfTen(int n) {
    TWide power = 1;
    while (n-- > 0) power *= 10;
    return power;
}

}  // namespace

int64_t RoundedProduct(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) RaiseOutOfRange(a, b);
    const TExactDecimal x = ExactDecimalOf(a), y = ExactDecimalOf(b);
    constexpr TWide kMax = static_cast<TWide>(std::numeric_limits<int64_t>::max());
    TWide magnitude = x.Digits * y.Digits;  // at most 34 digits
    const int exponent = x.Exponent + y.Exponent;
    if (exponent >= 0) {
        for (int i = 0; i < exponent && magnitude != 0; ++i) {
            if (magnitude > kMax / 10) RaiseOutOfRange(a, b);
            magnitude *= 10;
        }
    } else if (-exponent > 38) {
        magnitude = 0;  // below 10^34 / 10^39: less than a half
    } else {
        const TWide unit = PowerOfTen(-exponent);
        const TWide rest = magnitude % unit;
        magnitude /= unit;
        if (2 * rest > unit || (2 * rest == unit && magnitude % 2 == 1)) ++magnitude;
    }
    if (magnitude > kMax) RaiseOutOfRange(a, b);
    const auto result = static_cast<int64_t>(magnitude);
    return x.Negative != y.Negative ? -result : result;
}

TCalculatedVat::TCalculatedVat(const TAdkDataSet& head) {
    for (int i = 0; i < 4; ++i) rates_[i] = head.FieldByAdkIndex(kVatRateFields[i]).AsFloat();
    const std::string freightCode = head.FieldByAdkIndex(kFreightVatCode).AsString();
    if (!freightCode.empty()) {
        freight_ = RoundedProduct(RateOf(freightCode), head.FieldByAdkIndex(kFreight).AsFloat());
        dispatchFee_ = RoundedProduct(rates_[0], head.FieldByAdkIndex(kDispatchFee).AsFloat());
    }
    stored_ = RoundedProduct(head.FieldByAdkIndex(kStoredVat).AsFloat(), 100);
}

int64_t TCalculatedVat::AddRow(const TAdkDataSet& rows) {
    const std::string code = rows.FieldByAdkIndex(kRowVatCode).AsString();
    const int64_t vat = code.empty() ? 0 : RoundedProduct(RateOf(code), rows.FieldByAdkIndex(kRowAmount).AsFloat());
    rowSum_ += vat;
    return vat;
}

double TCalculatedVat::RateOf(std::string_view code) const {
    if (code.size() != 1 || code[0] < '1' || code[0] > '4') return 0;
    return rates_[code[0] - '1'];
}

}  // namespace tv
