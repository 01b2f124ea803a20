#include "core/settings_folders.h"

#include "core/settings_root.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

std::string Folder(std::string_view name) {
    return GetPrefsFolder(name) + std::string(name);
}

}  // namespace

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
