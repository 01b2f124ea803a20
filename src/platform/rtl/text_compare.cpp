#include "platform/rtl/text_compare.h"

#include "platform/rtl/codepage.h"

namespace tv {
namespace {

constexpr char32_t kInvalidByteBase = 0x110000;

// Latin Extended-A pairs capital and small letters as even/odd neighbours in these ranges, and as
// odd/even neighbours in the others (U+0139..U+0148, U+0179..U+017E).
bool IsEvenCapitalRange(char32_t c) {
    return (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
}
bool IsOddCapitalRange(char32_t c) {
    return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
}

}  // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 0x20;
    if (IsEvenCapitalRange(c)) return (c % 2 == 0) ? c + 1 : c;
    if (IsOddCapitalRange(c)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x0178) return 0x00FF;                                  // Ÿ
    if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 0x20;  // Greek
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;                 // Cyrillic А..Я
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;                 // Cyrillic Ѐ..Џ
    return c;
}

char32_t NextCharOrByte(std::string_view text, size_t& pos) {
    const size_t start = pos;
    const auto first = static_cast<unsigned char>(text[start]);
    if (first < 0x80) {
        ++pos;
        return first;
    }
    char32_t c = NextUtf8(text, pos);
    if (c == 0xFFFD && pos == start + 1) return kInvalidByteBase + first;
    return c;
}

namespace {

// Compares folded characters; `caseOrder` receives the order of the first pair that differs
// only in case (small letter first), or stays 0.
int CompareFolded(std::string_view a, std::string_view b, int& caseOrder) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ba = static_cast<unsigned char>(a[i]);
        const auto bb = static_cast<unsigned char>(b[j]);
        if (ba == bb && ba < 0x80) {  // the common case: the same ASCII character
            ++i, ++j;
            continue;
        }
        char32_t ca = NextCharOrByte(a, i);
        char32_t cb = NextCharOrByte(b, j);
        if (ca == cb) continue;
        char32_t fa = FoldCase(ca), fb = FoldCase(cb);
        if (fa != fb) return fa < fb ? -1 : 1;
        if (caseOrder == 0) caseOrder = (ca == fa) ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
    int caseOrder = 0;
    return CompareFolded(a, b, caseOrder);
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
    int caseOrder = 0;
    int folded = CompareFolded(a, b, caseOrder);
    return folded != 0 ? folded : caseOrder;
}

bool AnsiStartsText(std::string_view prefix, std::string_view text) {
    size_t i = 0, j = 0;
    while (i < prefix.size()) {
        if (j >= text.size()) return false;
        if (FoldCase(NextCharOrByte(prefix, i)) != FoldCase(NextCharOrByte(text, j))) return false;
    }
    return true;
}

}  // namespace tv
