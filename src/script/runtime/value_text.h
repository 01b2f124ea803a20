#pragma once
// Texts made from values: the padding built-ins, literals of the script language, and the readable
// text of a value (and of an object's published properties) that the debugger shows.

#include <string>
#include <string_view>

#include "platform/rtl/ref_string.h"
#include "script/runtime/stack.h"

namespace tv {
class TObject;
}

namespace tv::script {

inline constexpr std::string_view kUnknownIdentifier = "Unknown Identifier";
inline constexpr std::string_view kInvalidType = "Invalid Type";
inline constexpr std::string_view kInvalidValue = "[Invalid]";
inline constexpr std::string_view kExceptionText = "Exception: %s";

// Removes leading and trailing blanks (code 32 only).
std::string TrimSpaces(std::string_view s);

// Blanks (PadL) or "0" characters (PadZ) in front of, or blanks after (PadR), the text up to
// `width` characters; a text as long or longer stays as it is.
template <class Ch>
RefString<Ch> PadText(const RefString<Ch>& s, int32_t width, Ch fill, bool before) {
    if (s.size() >= width) return s;
    RefString<Ch> r;
    r.SetLength(width);
    Ch* out = r.UniqueData();
    const int32_t pad = width - s.size();
    std::fill(out + (before ? 0 : s.size()), out + (before ? pad : width), fill);
    std::copy(s.data(), s.data() + s.size(), out + (before ? pad : 0));
    return r;
}
template <class Ch>
RefString<Ch> PadL(const RefString<Ch>& s, int32_t width) {
    return PadText(s, width, Ch(' '), true);
}
template <class Ch>
RefString<Ch> PadZ(const RefString<Ch>& s, int32_t width) {
    return PadText(s, width, Ch('0'), true);
}
template <class Ch>
RefString<Ch> PadR(const RefString<Ch>& s, int32_t width) {
    return PadText(s, width, Ch(' '), false);
}

// The text as a string literal of the script language: 'it''s', 'a'#13#10'b', #10.
std::string QuoteAsLiteral(std::string_view ansi);
std::string QuoteAsLiteral(const UnicodeString& s);
// The text up to its first character below code 32.
std::string CutAtControlChar(std::string_view s);

// The readable text of a value; `path` names published properties to follow from an object.
std::string ValueToText(const TPSValueRef& v, std::string_view path);
std::string ObjectValueToText(const TPSValueRef& v, std::string_view path);
std::string PropertyPathToText(TObject* obj, std::string_view path);

}  // namespace tv::script
