#include "platform/rtl/version_compare.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace tv {
namespace {

// The numeric value of part `index` of `text`, 0 when it is missing or not a whole number.
int VersionPart(std::string_view text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t dot = text.find('.', start);
        if (dot == std::string_view::npos) return 0;
        start = dot + 1;
    }
    size_t end = text.find('.', start);
    std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (!part.empty() && part.front() == '+') part.remove_prefix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (ec != std::errc() || ptr != part.data() + part.size() || part.empty()) return 0;
    return value;
}

}  // namespace

int CompareVersions(std::string_view a, std::string_view b) {
    for (int i = 0; i < 4; ++i) {
        long long diff = static_cast<long long>(VersionPart(a, i)) - VersionPart(b, i);
        if (diff != 0) return static_cast<int>(std::clamp<long long>(diff, INT_MIN, INT_MAX));
    }
    return 0;
}

}  // namespace tv
