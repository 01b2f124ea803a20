#pragma once
// What XML 1.0 allows in names and in character data. The document checks every name and value
// it is given, so that whatever it holds can be saved and read back unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace tv {

// True when `name` is an XML 1.0 Name (a prefix with a colon included).
bool IsXmlName(std::string_view name);

// Where a text first holds something XML cannot carry: a byte that is not valid UTF-8, a control
// character other than tab, line feed and carriage return, or U+FFFE / U+FFFF.
struct TXmlCharFault {
    size_t Position = std::string_view::npos;  // npos: the text is fine
    long CodePoint = -1;                       // -1: an invalid UTF-8 byte
    explicit operator bool() const { return Position != std::string_view::npos; }
};
TXmlCharFault FindXmlCharFault(std::string_view text);

// "#x1B" or "the byte 0xC3": how a refused character is named in messages.
std::string DescribeXmlCharFault(std::string_view text, const TXmlCharFault& fault);

}  // namespace tv
