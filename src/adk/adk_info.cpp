#include "adk/adk_info.h"

#include <optional>

#include "platform/ini/ini_file.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

inline constexpr std::string_view kSpcsAdmExe = "SpcsAdm.exe";
inline constexpr std::string_view kLocalIniName = "Adk.ini";
inline constexpr std::string_view kSpcsAdmIni = "SPCSAdm.ini";
inline constexpr std::string_view kSpcsForIni = "SpcsFor.ini";
inline constexpr std::string_view kEnvLocalIni = "Local Adk.ini";

// A file of that name in the folder, found without regard to letter case, as the business system's
// files come from a system that ignores it.
std::optional<std::string> FileIn(std::string_view folder, std::string_view name) {
    std::string dir = folder.empty() ? std::string("./") : IncludeTrailingPathDelimiter(folder);
    auto found = FindNameInFolder(dir, name);
    if (!found || !FileExists(dir + *found)) return std::nullopt;
    return dir + *found;
}

std::string ReadValue(const std::optional<std::string>& file, std::string_view section,
                      std::string_view key) {
    if (!file) return "";
    return TIniFile(*file).ReadString(section, key, "");
}

}  // namespace

std::string AdminPathOfCompanyPath(std::string_view companyPath) {
    std::string_view path = companyPath;
    if (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.remove_suffix(1);
    size_t last = path.find_last_of("/\\");
    if (last == std::string_view::npos) return std::string(companyPath);
    return std::string(path.substr(0, last + 1));
}

TAdkInfo::TAdkInfo(std::string programFolder, std::string currentFolder) : exeName_(kSpcsAdmExe) {
    Discover(programFolder, currentFolder);
}

TAdkInfo::TAdkInfo() : TAdkInfo(ProgramFolder(), GetCurrentDir()) {}

void TAdkInfo::Discover(const std::string& programFolder, const std::string& currentFolder) {
    const auto localIni = FileIn(programFolder, kLocalIniName);
    if (localIni) {
        usesLocalIni_ = true;
        SetEnvironmentInfo(kEnvLocalIni, *localIni);
        TIniFile ini(*localIni);
        path_ = ini.ReadString(exeName_, "Path", "");
        installType_ = ini.ReadString(exeName_, "InstallType", "");
        admIni_ = ini.ReadString(exeName_, "AdmIni", "");
        installOS_ = ini.ReadString(exeName_, "InstallOS", "");
        adkDll_ = ini.ReadString(exeName_, "AdkDll", "");
        commonFiles_ = ini.ReadString(exeName_, "CommonFiles", "");
        defaultCompanyPath_ = ini.ReadString(exeName_, "DefaultCompanyPath", "");
        commonApp_ = ini.ReadString(exeName_, "CommonApp", "");
    }

    if (!adkDll_.empty()) {
        adminPath_ = adkDll_;
    } else if (std::string local = ReadValue(localIni, "Adk", "Path"); !local.empty()) {
        adminPath_ = local;
    } else {
        auto systemIni = FileIn(currentFolder, kSpcsAdmIni);
        if (!systemIni) systemIni = FileIn(currentFolder, kSpcsForIni);
        adminPath_ = ReadValue(systemIni, "Prog", "ADMPath");
        if (adminPath_.empty()) adminPath_ = AdminPathOfCompanyPath(ReadValue(systemIni, "Company", "Path"));
    }

    const std::string& iniFolder = admIni_.empty() ? currentFolder : admIni_;
    auto companyIni = FileIn(iniFolder, kSpcsAdmIni);
    if (!companyIni) companyIni = FileIn(iniFolder, kSpcsForIni);
    lastCompany_ = ReadValue(companyIni, "Company", "Path");
}

}  // namespace tv
