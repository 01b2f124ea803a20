#include "platform/win/file_version.h"

#include <optional>

#include "platform/rtl/files.h"
#include "platform/rtl/version_info.h"

namespace tv {
namespace {

constexpr std::string_view kVersionInfoKeys[] = {
    "Comments",         "InternalName",    "ProductName",  "ProductVersion", "CompanyName",
    "LegalCopyright",   "LegalTrademarks", "PrivateBuild", "FileVersion",    "FileDescription",
    "OriginalFilename", "SpecialBuild",    "Internet",     "E-mail",
};

std::optional<TFileVersionInfo> Read(std::string_view fileName) {
    if (!FileExists(fileName)) return std::nullopt;
    return ReadFileVersion(fileName);
}

}  // namespace

bool GetFileVersionNumbers(std::string_view fileName, int& major, int& minor, int& release, int& build) {
    auto info = Read(fileName);
    if (!info) return false;
    major = info->FileVersion.Major;
    minor = info->FileVersion.Minor;
    release = info->FileVersion.Release;
    build = info->FileVersion.Build;
    return true;
}

std::string GetFileVersionString(std::string_view fileName, bool major, bool minor, bool release,
                                 bool build) {
    auto info = Read(fileName);
    if (!info) return {};
    const TVersionNumbers& v = info->FileVersion;
    const std::pair<bool, uint16_t> parts[] = {
        {major, v.Major}, {minor, v.Minor}, {release, v.Release}, {build, v.Build}};
    std::string text;
    for (const auto& [wanted, number] : parts) {
        if (!wanted) continue;
        if (!text.empty()) text += '.';
        text += std::to_string(number);
    }
    return text;
}

std::string GetVersionInfoText(std::string_view fileName) {
    auto info = Read(fileName);
    if (!info) return {};
    std::string text;
    for (std::string_view key : kVersionInfoKeys) {
        text += key;
        text += '=';
        text += info->Value(key);
        text += "\r\n";
    }
    return text;
}

}  // namespace tv
