#include "core/settings_root.h"

#include <algorithm>

#include "core/app_names.h"
#include "core/app_params.h"
#include "core/string_utils.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/special_folders.h"

namespace tv {
namespace {

// The folder named after the last "/workfolder" that has a value (only the "/" form gives one);
// relative folders are taken against the folder the program was started in.
std::string WorkFolder() {
    if (!FindCmdLineSwitch("workfolder")) return {};
    const auto& params = AppParams();
    std::string folder;
    for (size_t i = 0; i + 1 < params.size(); ++i)
        if (SameTextAscii(params[i], kWorkFolderSwitch)) folder = params[i + 1];
    if (folder.empty()) return {};
    CheckFileName(folder);
    if (!folder.starts_with('/')) folder = StartFolder() + folder;
    return IncludeTrailingPathDelimiter(folder);
}

// The product part of a folder: the product name, or the title made safe for a file name.
std::string ProductFolderName() {
    return AppProductName().empty() ? MakeSafeFileName(ApplicationTitle()) : AppProductName();
}

}  // namespace

std::string GetCommonAppDataAppFolder(bool create) {
    std::string folder = GetCommonAppDataFolder();
    if (!AppCompanyName().empty()) folder += AppCompanyName() + "/";
    std::string product = ProductFolderName();
    if (!product.empty()) folder += product + "/";
    if (create && !DirectoryExists(folder)) ForceDirectories(folder);
    return folder;
}

std::string GetPrefsRoot() {
    std::string base = WorkFolder();
    if (!base.empty()) return base;
    base = GetCommonAppDataAppFolder(false);
    if (!AppInstanceName().empty()) base += AppInstanceName() + "/";
    return base;
}

std::string GetPrefsFolder(std::string_view name) {
    const std::string base = GetPrefsRoot();
    const std::string program = ProgramFolder();
    std::string result = base;
    if (!name.empty() && !FileExists(base + std::string(name))) {
        const std::string beside = program + std::string(name);
        if (FileExists(beside) || DirectoryExists(beside)) result = program;
    }
    SetEnvironmentInfo("Prefs Folder", result);
    return result;
}

std::string ResolveApplicationInstance(const std::vector<std::string>& params) {
    for (size_t i = 0; i + 1 < params.size(); ++i)
        for (std::string_view s : kInstanceSwitches)
            if (params[i] == s) return params[i + 1];
    return std::string(kDefaultInstanceName);
}

void UpdateApplicationInstance() {
    const std::string instance = ResolveApplicationInstance(AppParams());
    // "/profile ../x" would move the settings root out of the product folder.
    const bool plainName =
        instance != "." && instance != ".." && std::none_of(instance.begin(), instance.end(), [](char c) {
            return c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
    if (!plainName) throw Exception(Format(kInvalidInstanceName, {instance}));
    SetAppInstanceName(instance);
}

std::string InstanceParameter(const std::vector<std::string>& params) {
    constexpr std::string_view kInstance = "instance";
    for (const auto& p : params) {
        std::string lower = p;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        size_t at = lower.find(kInstance);
        if (at == 0 || at == 1) {
            size_t valueStart = at + kInstance.size() + 1;
            return valueStart < p.size() ? p.substr(valueStart) : std::string();
        }
    }
    return {};
}

}  // namespace tv
