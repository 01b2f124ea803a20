#include "script/common/names.h"

#include <utility>

namespace tv::script {

std::string AsciiUpperCase(std::string_view s) {
    std::string r(s);
    AsciiUpperCaseInPlace(r);
    return r;
}

void AsciiUpperCaseInPlace(std::string& s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
}

std::string AsciiLowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

std::string TakeFirstWord(std::string& s) {
    size_t blank = s.find(' ');
    if (blank == std::string::npos) return std::exchange(s, std::string());
    std::string word = s.substr(0, blank);
    s.erase(0, blank + 1);
    return word;
}

std::string TakeLastWord(std::string& s) {
    size_t blank = s.rfind(' ');
    if (blank == std::string::npos) return std::exchange(s, std::string());
    std::string word = s.substr(blank + 1);
    s.erase(blank);
    return word;
}

}  // namespace tv::script
