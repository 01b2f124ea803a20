#pragma once
// Names as the script engine compares them: the 32-bit name hash every table checks first, ASCII
// case conversion (only a-z and A-Z change), and the word splitting used on declaration texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace tv::script {

// h := 0; for each byte b: h := rotate-left(h, 7) + b (modulo 2^32).
constexpr uint32_t HashName(std::string_view s) {
    uint32_t h = 0;
    for (unsigned char b : s) h = ((h << 7) | (h >> 25)) + b;
    return h;
}

std::string AsciiUpperCase(std::string_view s);
std::string AsciiLowerCase(std::string_view s);
void AsciiUpperCaseInPlace(std::string& s);

// Removes and returns the text before the first blank (the blank is removed too); without a blank
// returns the whole text and leaves `s` empty.
std::string TakeFirstWord(std::string& s);
// Removes and returns the text after the last blank (the blank is removed too); without a blank
// returns the whole text and leaves `s` empty.
std::string TakeLastWord(std::string& s);

}  // namespace tv::script
