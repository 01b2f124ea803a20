#pragma once
// The work-folder tree of the import and export sides: the work root (the general setting
// FORCED_WORKFOLDER, else the settings root), a folder per side, and the subfolders files wait,
// are processed, fail, are sent from and end up in.

#include <string>
#include <string_view>

#include "platform/data/data_set.h"

namespace tv {

// The side flags of the job API; any value other than WORK_EXPORT means the import side.
inline constexpr int WORK_EXPORT = 0;
inline constexpr int WORK_IMPORT = 1;

inline constexpr std::string_view kExportSideFolder = "export";
inline constexpr std::string_view kImportSideFolder = "import";
inline constexpr std::string_view kFolderUnprocessed = "obehandlade";  // waiting to be imported
inline constexpr std::string_view kFolderFailed = "felaktiga";
inline constexpr std::string_view kFolderProcessed = "behandlade";
inline constexpr std::string_view kFolderToSend = "skickas";
inline constexpr std::string_view kFolderSent = "skickat";
// The subfolders of each side, in the order they are created.
inline constexpr std::string_view kWorkSubfolders[] = {kFolderUnprocessed, kFolderFailed, kFolderProcessed,
                                                       kFolderToSend, kFolderSent};

inline constexpr std::string_view kCreateWorkFolderFailed = "Kunde inte skapa arbetsmapp [%s] ";

class TWorkFolders {
public:
    // `general` is the general settings table, read each time a folder is asked for.
    explicit TWorkFolders(const TDataSet& general) : general_(general) {}

    // FORCED_WORKFOLDER when it is not empty, else the settings root; with a trailing delimiter.
    std::string WorkRoot() const;
    // The side's folder ("export" for WORK_EXPORT, "import" for any other value), a delimiter and
    // the subfolder, with no delimiter added after it; nothing is created.
    std::string getWorkFolder(int side, std::string_view subfolder) const;
    std::string getArchiveFolder(int side, std::string_view subfolder) const {
        return getWorkFolder(side, subfolder);
    }

    // Create the side's subfolders with their parents; the first failure ends the step and is
    // logged with kCreateWorkFolderFailed.
    void CreateImportWorkFolders() const { CreateWorkFolders(WORK_IMPORT); }
    void CreateExportWorkFolders() const { CreateWorkFolders(WORK_EXPORT); }
    // Records "FolderExportWork" and "FolderImportWork" in the environment information.
    void RecordWorkFolders() const;

private:
    void CreateWorkFolders(int side) const;

    const TDataSet& general_;
};

}  // namespace tv
