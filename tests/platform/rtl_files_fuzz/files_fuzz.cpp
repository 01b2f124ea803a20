// The first byte chooses what the rest is: '0' a file for the version reader, '1' lines (split at
// LF) for a comma-text round trip, '2' a file name and a mask (split at the first NUL).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtl/file_mask.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/version_info.h"

namespace {

using namespace tv;

void CommaTextRoundTrip(std::string_view text) {
    TStringList lines;
    for (size_t pos = 0; pos <= text.size();) {
        size_t end = std::min(text.find('\n', pos), text.size());
        std::string line(text.substr(pos, end - pos));
        std::erase(line, '\0');  // a NUL ends a delimited text, as it ends a PChar
        lines.Add(line);
        pos = end + 1;
    }
    TStringList back;
    back.SetCommaText(lines.CommaText());
    if (!back.Equals(lines)) std::abort();
    back.SetStrictDelimiter(true);
    back.SetDelimiter(u';');
    back.SetDelimitedText(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0]) {
        case '0':
            if (auto info = ReadVersionInfoFromBytes(input)) (void)info->FileVersion.ToString();
            break;
        case '1':
            CommaTextRoundTrip(input);
            break;
        default: {
            size_t nul = input.find('\0');
            (void)MatchesMask(input.substr(0, nul),
                              nul == std::string_view::npos ? "*" : input.substr(nul + 1));
            break;
        }
    }
    return 0;
}
