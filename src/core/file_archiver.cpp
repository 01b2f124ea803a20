#include "core/file_archiver.h"

#include <algorithm>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// A subfolder chosen by a script stays inside the archive: no ".." part may lead out of it.
void CheckSubfolder(const std::string& subfolder) {
    if (subfolder.find('\0') != std::string::npos) throw Exception(Format(kInvalidSubfolder, {subfolder}));
    size_t pos = 0;
    while (pos <= subfolder.size()) {
        const size_t end = std::min(subfolder.find_first_of("/\\", pos), subfolder.size());
        if (subfolder.compare(pos, end - pos, "..") == 0)
            throw Exception(Format(kInvalidSubfolder, {subfolder}));
        pos = end + 1;
    }
}

}  // namespace

void TFileArchiver::ArchiveCompleteFile(const std::string& fileName, const std::string& subfolder, int side,
                                        bool overwriteExisting) {
    Archive(fileName, subfolder, side, kFolderProcessed, overwriteExisting);
}

void TFileArchiver::ArchiveFailedFile(const std::string& fileName, const std::string& subfolder, int side) {
    Archive(fileName, subfolder, side, kFolderFailed, true);
}

void TFileArchiver::Archive(const std::string& fileName, const std::string& subfolder, int side,
                            std::string_view folderWord, bool overwriteExisting) {
    events_.addEventItem(std::string(kArchivingItem) + fileName + "]", true);
    try {
        CheckSubfolder(subfolder);
        const std::string folder = IncludeTrailingPathDelimiter(
            folders_.getArchiveFolder(side, std::string(folderWord) + "/" + subfolder));
        ForceDirectories(folder);
        const std::string target = folder + ExtractFileName(fileName);
        if (!overwriteExisting && FileExists(target))
            throw Exception(std::string(kFileExists) + target + "]");
        if (folderWord == kFolderProcessed && makeDurable_) makeDurable_();
        // The move replaces the target in one step, or (without overwrite) refuses one that
        // appeared meanwhile; the old target is never deleted before the new file is in place.
        try {
            if (overwriteExisting)
                MoveFileReplace(fileName, target);
            else
                MoveFile(fileName, target);
        } catch (const Exception&) {
            if (!overwriteExisting && FileExists(target))
                throw Exception(std::string(kFileExists) + target + "]");
            throw Exception(std::string(kMoveManually) + fileName);
        }
        events_.reportError(std::string(kArchivedFile) + target + "]", elExcessive);
    } catch (const std::exception& e) {
        events_.reportError(e.what(), elError);
    }
    events_.CloseNestedEventItem();
}

void TFileArchiver::CleanUpXFormed(int side) {
    const std::string folder = IncludeTrailingPathDelimiter(folders_.getWorkFolder(side, kFolderUnprocessed));
    events_.reportError(std::string(kCleaningUp) + folder, elInfo);
    const std::string failed = IncludeTrailingPathDelimiter(folders_.getWorkFolder(side, kFolderFailed));
    for (const std::string& name : ListFolder(folder, kTransformedMask, TListKind::Files)) {
        try {
            MoveFile(folder + name, failed + name);
            continue;
        } catch (const Exception&) {
            // Refused (a file of that name failed before, or the folder is missing): delete it.
        }
        try {
            DeleteFile(folder + name);
        } catch (const Exception&) {
            events_.reportError(std::string(kCannotDelete) + folder + name, elInfo);
        }
    }
}

}  // namespace tv
