#include "platform/rtl/bits.h"

#include <bit>
#include <limits>

#include "platform/rtl/class_info.h"

namespace tv {

namespace {
constexpr std::string_view kBitsIndexError = "Bits index out of range";
}

const TClassInfo& TBits::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBits>("TBits").Build();
    return info;
}

void TBits::SetSize(int Value) {
    if (Value < 0) throw EBitsError(std::string(kBitsIndexError));
    fWords.resize((static_cast<size_t>(Value) + 63) / 64, 0);
    // Clear what lies beyond the new size in the last word, so that growing again yields cleared bits.
    if (Value % 64 != 0) fWords.back() &= (uint64_t{1} << (Value % 64)) - 1;
    fSize = Value;
}

bool TBits::Bits(int Index) const {
    if (Index < 0 || Index >= fSize) throw EBitsError(std::string(kBitsIndexError));
    return (fWords[Index / 64] >> (Index % 64)) & 1u;
}

void TBits::SetBits(int Index, bool Value) {
    if (Index < 0 || Index == std::numeric_limits<int>::max()) throw EBitsError(std::string(kBitsIndexError));
    if (Index >= fSize) SetSize(Index + 1);
    const uint64_t mask = uint64_t{1} << (Index % 64);
    if (Value)
        fWords[Index / 64] |= mask;
    else
        fWords[Index / 64] &= ~mask;
}

int TBits::OpenBit() const {
    for (size_t w = 0; w < fWords.size(); ++w) {
        if (~fWords[w] == 0) continue;
        const int bit = static_cast<int>(w * 64) + std::countr_one(fWords[w]);
        return bit < fSize ? bit : fSize;
    }
    return fSize;
}

}  // namespace tv
