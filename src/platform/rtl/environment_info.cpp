#include "platform/rtl/environment_info.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace tv {
namespace {

struct EnvironmentList {
    std::mutex lock;
    std::map<std::string, std::string, std::less<>> entries;
};

EnvironmentList& List() {
    static EnvironmentList list;
    return list;
}

}  // namespace

void SetEnvironmentInfo(std::string_view name, std::string_view value) {
    auto& list = List();
    std::lock_guard guard(list.lock);
    if (value.empty()) {
        if (auto it = list.entries.find(name); it != list.entries.end()) list.entries.erase(it);
    } else {
        list.entries.insert_or_assign(std::string(name), std::string(value));
    }
}

void SetEnvironmentBool(std::string_view name, bool flag) {
    SetEnvironmentInfo(name, flag ? "True" : "False");
}

std::vector<std::string> GetEnvironmentInfo() {
    auto& list = List();
    std::lock_guard guard(list.lock);
    std::vector<std::string> lines;
    lines.reserve(list.entries.size());
    for (const auto& [name, value] : list.entries) lines.push_back(name + "=" + value);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string EnvironmentInfoValue(std::string_view name) {
    auto& list = List();
    std::lock_guard guard(list.lock);
    auto it = list.entries.find(name);
    return it == list.entries.end() ? std::string() : it->second;
}

}  // namespace tv
