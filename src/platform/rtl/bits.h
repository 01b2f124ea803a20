#pragma once
// A growable array of bits: reading beyond the size raises, writing beyond it grows the array.

#include <cstdint>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

TV_DECLARE_EXCEPTION(EBitsError, Exception);  // "Bits index out of range"

class TBits : public TObject {
    TV_CLASS(TBits, TObject)
public:
    TBits() = default;

    int Size() const { return fSize; }
    // A smaller size drops the bits beyond it; a larger one adds cleared bits. Negative raises.
    void SetSize(int Value);
    bool Bits(int Index) const;
    void SetBits(int Index, bool Value);
    // The index of the first cleared bit; Size when every bit is set.
    int OpenBit() const;

private:
    std::vector<uint64_t> fWords;
    int fSize = 0;
};

}  // namespace tv
