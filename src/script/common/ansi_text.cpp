#include "script/common/ansi_text.h"

#include "platform/rtl/codepage.h"

namespace tv::script {

std::u16string AnsiToWide(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    for (unsigned char b : ansi) out.push_back(static_cast<char16_t>(Cp1252ToUnicode(b)));
    return out;
}

std::string WideToAnsi(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char16_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            out.push_back('?');
            ++i;
            continue;
        }
        int b = UnicodeToCp1252(c);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::u16string Utf8ToWide(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}

}  // namespace tv::script
