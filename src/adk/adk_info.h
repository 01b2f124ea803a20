#pragma once
// Where the business system is installed: the folder of the integration kit, its common files and
// the company last used, found once when the object is made. There is no registry here: "Adk.ini"
// beside the program decides, then the business system's own INI files.

#include <string>

namespace tv {

class TAdkInfo {
public:
    // Runs the discovery at once; `programFolder` holds "Adk.ini", `currentFolder` is where the
    // business system's INI files are looked for when nothing names their folder.
    TAdkInfo(std::string programFolder, std::string currentFolder);
    // The same for the running program and the current folder.
    TAdkInfo();

    const std::string& ExeName() const { return exeName_; }
    const std::string& Path() const { return path_; }
    const std::string& InstallType() const { return installType_; }
    const std::string& AdmIni() const { return admIni_; }
    const std::string& InstallOS() const { return installOS_; }
    const std::string& AdkDll() const { return adkDll_; }
    const std::string& CommonFiles() const { return commonFiles_; }
    const std::string& DefaultCompanyPath() const { return defaultCompanyPath_; }
    const std::string& CommonApp() const { return commonApp_; }
    const std::string& AdminPath() const { return adminPath_; }
    const std::string& LastCompany() const { return lastCompany_; }
    bool Is64bit() const { return is64bit_; }
    bool UsesLocalIni() const { return usesLocalIni_; }

private:
    void Discover(const std::string& programFolder, const std::string& currentFolder);

    std::string exeName_, path_, installType_, admIni_, installOS_, adkDll_, commonFiles_,
        defaultCompanyPath_, commonApp_, adminPath_, lastCompany_;
    bool is64bit_ = false;
    bool usesLocalIni_ = false;
};

// The folder part of a company path as the business system keeps it: the trailing delimiter
// removed, then everything up to and including the last remaining delimiter ("/" or "\");
// a text without one is kept whole.
std::string AdminPathOfCompanyPath(std::string_view companyPath);

}  // namespace tv
