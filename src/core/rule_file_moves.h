#pragma once
// The work-folder file moves that a rule's steps use: single files moved or copied into a side's
// subfolders, and the two walks over a rule's table of transformed files that archive the sources
// and place the transformed copies for sending or for import. TMainForm's operations of these
// names delegate here. A failure raises its text to the rule runner.

#include <string>
#include <string_view>

#include "core/event_sink.h"
#include "core/work_folders.h"
#include "platform/data/data_set.h"

namespace tv {

inline constexpr std::string_view kTransformedPrefix = "xformed_";
inline constexpr std::string_view kArchiveContentFailed = "Kunde inte flytta fil, gör detta manuellt ";
inline constexpr std::string_view kArchiveJunkFailed = "Kunde inte flytta fil, gör detta manuellt: ";
inline constexpr std::string_view kMoveToSentFailed = "Kunde inte flytta fil, gör detta manuellt";
inline constexpr std::string_view kMoveForFailed = "Kunde inte flytta fil [%s], gör detta manuellt";
inline constexpr std::string_view kCopyForExportFailed = "Kunde inte kopiera fil, gör detta manuellt";
inline constexpr std::string_view kCopyForImportFailed = "Kunde inte kopiera fil [%s], gör detta manuellt";
inline constexpr std::string_view kMovingTempFile = "Flyttar tempfil: ";
inline constexpr std::string_view kMovingFile = "Flyttar fil: ";

class TRuleFileMoves {
public:
    TRuleFileMoves(const TWorkFolders& folders, IEventSink& events) : folders_(folders), events_(events) {}

    // Moves, replacing a file of the same name: into "behandlade", "felaktiga" (the transformed
    // flag changes nothing) and "skickat" under the source's name; into "skickas" under the target
    // name's file part; into "obehandlade" as "xformed_" + that part.
    void ArchiveContent(const std::string& sourceFile, int side);
    void ArchiveJunk(const std::string& sourceFile, bool transformed, int side);
    void MoveToSent(const std::string& sourceFile, int side);
    void MoveForExport(const std::string& sourceFile, const std::string& targetName, int side);
    void MoveForImport(const std::string& sourceFile, const std::string& targetName, int side);
    // Copies, replacing a file of the same name, into "skickas" and "obehandlade".
    void CopyForExport(const std::string& sourceFile, const std::string& targetName, int side);
    void CopyForImport(const std::string& sourceFile, const std::string& targetName, int side);

    // For each record of `files` (fields "filename" and "cachefile"): a source with an existing
    // transformed copy is archived and its copy moved for export (or, on the import side, into
    // "obehandlade" as "xformed_" + the source's name); a source without a copy is copied there
    // and archived; anything else is left alone.
    void MoveTempFilesForArchiving(TDataSet& files, int side);
    void MoveTempFilesForImport(TDataSet& files);

private:
    // Makes the side's subfolder and returns the path of `name`'s file part in it.
    std::string Target(int side, std::string_view subfolder, std::string_view prefix,
                       const std::string& name) const;
    void Move(const std::string& source, const std::string& target, const std::string& failure) const;
    void Copy(const std::string& source, const std::string& target, const std::string& failure) const;
    template <typename MoveOp, typename CopyOp>
    void Walk(TDataSet& files, int side, std::string_view reportText, MoveOp move, CopyOp copy);

    const TWorkFolders& folders_;
    IEventSink& events_;
};

}  // namespace tv
