#include "export/export_text.h"

#include "platform/rtl/ascii_case.h"

namespace tv {

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view pattern, std::string_view value) {
    if (pattern.empty()) return std::string(text);
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text.size() - pos >= pattern.size() && SameTextAscii(text.substr(pos, pattern.size()), pattern)) {
            result.append(value);
            pos += pattern.size();
        } else {
            result.push_back(text[pos++]);
        }
    }
    return result;
}

}  // namespace tv
