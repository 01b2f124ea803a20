#include "import/key_text.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/letter_case.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

// Each character through `letter`; ASCII letters directly, a byte that is not UTF-8 as it is.
template <char32_t (*letter)(char32_t), char first, char last, int shift>
std::string MapLetters(std::string_view text) {
    std::string mapped;
    mapped.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = NextCharOrByte(text, pos);
        if (c >= 0x110000) {
            mapped.append(text.substr(start, pos - start));
        } else if (c < 0x80) {
            mapped.push_back(c >= char32_t(first) && c <= char32_t(last) ? static_cast<char>(c + shift)
                                                                         : static_cast<char>(c));
        } else {
            AppendUtf8(mapped, letter(c));
        }
    }
    return mapped;
}

}  // namespace

std::string LowerKey(std::string_view text) {
    return MapLetters<LowerCaseChar, 'A', 'Z', 'a' - 'A'>(text);
}

std::string UpperKey(std::string_view text) {
    return MapLetters<UpperCaseChar, 'a', 'z', 'A' - 'a'>(text);
}

std::string CutToCharacters(std::string_view text, size_t count) {
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n) NextCharOrByte(text, pos);
    return std::string(text.substr(0, pos));
}

}  // namespace tv
