#include "core/work_folders.h"

#include "core/app_logger.h"
#include "core/settings_root.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {

std::string TWorkFolders::WorkRoot() const {
    std::string root;
    if (const TField* forced = general_.FindField("FORCED_WORKFOLDER")) root = forced->AsString();
    if (root.empty()) return GetPrefsFolder("");
    CheckFileName(root);
    return IncludeTrailingPathDelimiter(root);
}

std::string TWorkFolders::getWorkFolder(int side, std::string_view subfolder) const {
    return WorkRoot() + std::string(side == WORK_EXPORT ? kExportSideFolder : kImportSideFolder) + "/" +
           std::string(subfolder);
}

void TWorkFolders::CreateWorkFolders(int side) const {
    std::string folder;
    try {
        const std::string sideFolder = getWorkFolder(side, "");
        for (std::string_view sub : kWorkSubfolders) {
            folder = sideFolder + std::string(sub);
            ForceDirectories(folder);
        }
    } catch (const std::exception& e) {
        AppLogger().LogError(Format(kCreateWorkFolderFailed, {folder}), e);
    }
}

void TWorkFolders::RecordWorkFolders() const {
    SetEnvironmentInfo("FolderExportWork", getWorkFolder(WORK_EXPORT, ""));
    SetEnvironmentInfo("FolderImportWork", getWorkFolder(WORK_IMPORT, ""));
}

}  // namespace tv
