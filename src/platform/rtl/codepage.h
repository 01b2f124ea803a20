#pragma once
// Text encodings. Inside the program all text is UTF-8 in std::string. "ANSI" means Windows-1252,
// whatever the locale; ISO-8859-1 is what the interchange XML declares. Text files are read with a
// BOM deciding, else valid UTF-8 as UTF-8, else Windows-1252; "ANSI" files are written as
// Windows-1252 without a BOM.

#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does, so that
// every byte survives a round trip.
char32_t Cp1252ToUnicode(unsigned char byte);
// The Windows-1252 byte of a code point, or -1 when the code page has none.
int UnicodeToCp1252(char32_t codePoint);

// `replacement` stands in for what the target cannot hold.
std::string Cp1252ToUtf8(std::string_view ansi);
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');
// Whether Windows-1252 holds every character of the text, so that Utf8ToCp1252 replaces nothing.
bool Cp1252Holds(std::string_view utf8);
std::string Latin1ToUtf8(std::string_view latin1);
std::string Utf8ToLatin1(std::string_view utf8, char replacement = '?');

// UTF-16 conversions; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

bool IsValidUtf8(std::string_view bytes);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point at `pos` and advances `pos`; an invalid byte yields U+FFFD and moves by one.
char32_t NextUtf8(std::string_view utf8, size_t& pos);
// The length of a UTF-8 text in characters: the bytes that do not continue a character.
inline size_t Utf8Length(std::string_view utf8) {
    size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

enum class TextEncoding { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16BE };

// Decodes the bytes of a text file to UTF-8 by the rule above; `detected` receives what was found.
std::string DecodeTextBytes(std::string_view bytes, TextEncoding* detected = nullptr);
// Encodes UTF-8 text for a file: Ansi as Windows-1252, the BOM forms with their BOM.
std::string EncodeTextBytes(std::string_view utf8, TextEncoding encoding);

// Line ends: every CR LF, lone CR or lone LF becomes `lineEnd`.
std::string NormalizeLineEnds(std::string_view text, std::string_view lineEnd = "\r\n");

}  // namespace tv
