#include "core/rule_file_moves.h"

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {

std::string TRuleFileMoves::Target(int side, std::string_view subfolder, std::string_view prefix,
                                   const std::string& name) const {
    const std::string folder = IncludeTrailingPathDelimiter(folders_.getWorkFolder(side, subfolder));
    ForceDirectories(folder);
    return folder + std::string(prefix) + ExtractFileName(name);
}

// A move that replaces the target in one step, so that the old target is never lost first.
void TRuleFileMoves::Move(const std::string& source, const std::string& target,
                          const std::string& failure) const {
    try {
        MoveFileReplace(source, target);
    } catch (const Exception&) {
        throw Exception(failure);
    }
}

void TRuleFileMoves::Copy(const std::string& source, const std::string& target,
                          const std::string& failure) const {
    try {
        CopyFile(source, target, true);
    } catch (const Exception&) {
        throw Exception(failure);
    }
}

void TRuleFileMoves::ArchiveContent(const std::string& sourceFile, int side) {
    Move(sourceFile, Target(side, kFolderProcessed, "", sourceFile),
         std::string(kArchiveContentFailed) + sourceFile);
}

void TRuleFileMoves::ArchiveJunk(const std::string& sourceFile, bool /*transformed*/, int side) {
    Move(sourceFile, Target(side, kFolderFailed, "", sourceFile),
         std::string(kArchiveJunkFailed) + sourceFile);
}

void TRuleFileMoves::MoveToSent(const std::string& sourceFile, int side) {
    Move(sourceFile, Target(side, kFolderSent, "", sourceFile), std::string(kMoveToSentFailed) + sourceFile);
}

void TRuleFileMoves::MoveForExport(const std::string& sourceFile, const std::string& targetName, int side) {
    Move(sourceFile, Target(side, kFolderToSend, "", targetName), Format(kMoveForFailed, {sourceFile}));
}

void TRuleFileMoves::MoveForImport(const std::string& sourceFile, const std::string& targetName, int side) {
    Move(sourceFile, Target(side, kFolderUnprocessed, kTransformedPrefix, targetName),
         Format(kMoveForFailed, {sourceFile}));
}

void TRuleFileMoves::CopyForExport(const std::string& sourceFile, const std::string& targetName, int side) {
    Copy(sourceFile, Target(side, kFolderToSend, "", targetName),
         std::string(kCopyForExportFailed) + sourceFile);
}

void TRuleFileMoves::CopyForImport(const std::string& sourceFile, const std::string& targetName, int side) {
    Copy(sourceFile, Target(side, kFolderUnprocessed, "", targetName),
         Format(kCopyForImportFailed, {sourceFile}));
}

template <typename MoveOp, typename CopyOp>
void TRuleFileMoves::Walk(TDataSet& files, int side, std::string_view reportText, MoveOp move, CopyOp copy) {
    TField& source = files.FieldByName("filename");
    TField& cache = files.FieldByName("cachefile");
    for (files.First(); !files.Eof(); files.Next()) {
        const std::string fileName = source.AsString();
        const std::string cacheFile = cache.AsString();
        events_.reportError(std::string(reportText) + fileName, elExcessive);
        if (FileExists(fileName) && !cacheFile.empty() && FileExists(cacheFile)) {
            ArchiveContent(fileName, side);
            (this->*move)(cacheFile, fileName, side);
        } else if (FileExists(fileName) && cacheFile.empty()) {
            (this->*copy)(fileName, fileName, side);
            ArchiveContent(fileName, side);
        }
    }
}

void TRuleFileMoves::MoveTempFilesForArchiving(TDataSet& files, int side) {
    Walk(files, side, kMovingTempFile, &TRuleFileMoves::MoveForExport, &TRuleFileMoves::CopyForExport);
}

void TRuleFileMoves::MoveTempFilesForImport(TDataSet& files) {
    Walk(files, WORK_IMPORT, kMovingFile, &TRuleFileMoves::MoveForImport, &TRuleFileMoves::CopyForImport);
}

}  // namespace tv
