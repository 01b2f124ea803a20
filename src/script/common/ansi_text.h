#pragma once
// Single-byte script text (Windows-1252, whatever the locale) against the UTF-16 strings of the
// script language. The compiler and the runtime convert with these, so both sides agree.

#include <string>
#include <string_view>

namespace tv::script {

// Each byte becomes its Windows-1252 character.
std::u16string AnsiToWide(std::string_view ansi);
// Each character becomes its Windows-1252 byte, or '?' when the code page has none (a surrogate
// pair counts as one character).
std::string WideToAnsi(std::u16string_view wide);
// UTF-8 bytes as UTF-16; invalid sequences become U+FFFD.
std::u16string Utf8ToWide(std::string_view utf8);

}  // namespace tv::script
