#include "core/settings_folders.h"

#include <sys/stat.h>

#include <cerrno>

#include "core/app_logger.h"
#include "core/settings_root.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

std::string Folder(std::string_view name) {
    return GetPrefsFolder(name) + std::string(name);
}

// Takes the rights of group and others away from a file or folder (not through a symbolic link).
void TakeAwayOthersRights(const std::string& path, mode_t keep) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return;
    const mode_t mode = st.st_mode & 07777;
    if ((mode & ~keep) == 0) return;
    if (::chmod(path.c_str(), mode & keep) != 0)
        AppLogger().LogWarn(std::string(kLogNotPrivate) + FileErrorText("Cannot change the rights of", path, errno));
}

}  // namespace

void MakeSettingsRootPrivate() {
    const std::string root = GetPrefsRoot();
    if (!DirectoryExists(root)) ForceDirectories(root);
    TakeAwayOthersRights(ExcludeTrailingPathDelimiter(root), 0700);
    for (const std::string& folder : {root, root + std::string(kDataFolderName) + "/"})
        for (const std::string& name : ListFolder(folder, "*", TListKind::Files))
            TakeAwayOthersRights(folder + name, 0600);
}

std::string GetSettingsFile() {
    const std::string name = ChangeFileExt(ExtractFileName(ProgramFileName()), ".ini");
    return GetPrefsFolder(name) + name;
}

std::string GetDataFolder() {
    return Folder(kDataFolderName);
}

std::string GetPluginFolder() {
    return Folder(kPluginFolderName) + "/";
}

std::string GetRuleFolder() {
    return Folder(kRuleFolderName) + "/";
}

std::string GetScriptFolder() {
    return Folder(kScriptFolderName);
}

std::string GetLogsFolder() {
    return Folder(kLogsFolderName) + "/";
}

std::string GetPluginTmpFolder() {
    return GetPrefsFolder(kPluginTmpLookupName) + std::string(kPluginTmpFolderName) + "/";
}

std::string GetTimestampFile() {
    return GetPrefsFolder(kTimestampFileName) + std::string(kTimestampFileName);
}

std::string GetSchemaFile() {
    const std::string file = Folder(kSchemaFolderName) + "/" + std::string(kSchemaFileName);
    if (!FileExists(file)) throw Exception(Format(kSchemaFileMissing, {file}));
    return file;
}

}  // namespace tv
