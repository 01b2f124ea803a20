#include "adk/adk_log_switch.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/rtl/ascii_case.h"

namespace tv {
namespace {

inline constexpr std::string_view kAdkLogSwitch = "adklog";

bool IsSwitch(std::string_view argument, std::string_view name) {
    if (argument.starts_with("--"))
        argument.remove_prefix(2);
    else if (argument.starts_with('/') || argument.starts_with('-'))
        argument.remove_prefix(1);
    else
        return false;
    return SameTextAscii(argument, name);
}

}  // namespace

bool HasAdkLogSwitch(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& a) { return IsSwitch(a, kAdkLogSwitch); });
}

std::vector<std::string> ProcessArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        arguments.emplace_back(all, start, end - start);
        start = end + 1;
    }
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

}  // namespace tv
