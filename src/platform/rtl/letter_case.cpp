#include "platform/rtl/letter_case.h"

#include <array>

#include "platform/rtl/text_compare.h"

namespace tv {

namespace {
// The folding table covers letters below this code point.
constexpr char32_t kTableEnd = 0x0500;
}  // namespace

char32_t LowerCaseChar(char32_t c) {
    return FoldCase(c);
}

char32_t UpperCaseChar(char32_t c) {
    // The capital of a small letter is the first letter that folds to it.
    static const std::array<char32_t, kTableEnd> upper = [] {
        std::array<char32_t, kTableEnd> t{};
        for (char32_t i = 0; i < kTableEnd; ++i) t[i] = i;
        std::array<bool, kTableEnd> taken{};
        for (char32_t i = 0; i < kTableEnd; ++i) {
            const char32_t small = FoldCase(i);
            if (small != i && small < kTableEnd && !taken[small]) {
                t[small] = i;
                taken[small] = true;
            }
        }
        return t;
    }();
    return c < kTableEnd ? upper[c] : c;
}

}  // namespace tv
