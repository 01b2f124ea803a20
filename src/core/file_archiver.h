#pragma once
// Archives processed import and export files into subfolders of the work folder and clears
// transformed leftovers; TMainDM's archiving operations delegate here. Reports every move into
// the job's event tree and never raises: each problem becomes an event line.

#include <functional>
#include <string>
#include <string_view>

#include "core/event_sink.h"
#include "core/work_folders.h"

namespace tv {

inline constexpr std::string_view kArchivingItem = "Arkiverar [";
inline constexpr std::string_view kFileExists = "Filen fanns redan [";
inline constexpr std::string_view kMoveManually = "Kunde inte flytta fil, gör detta manuellt";
inline constexpr std::string_view kArchivedFile = "Arkiverade fil : +[";
inline constexpr std::string_view kInvalidSubfolder = "Ogiltig undermapp [%s]";
inline constexpr std::string_view kCleaningUp = "Rensar omvandlade filer: ";
inline constexpr std::string_view kCannotDelete = "Kunde inte ta bort fil: ";
inline constexpr std::string_view kTransformedMask = "xformed*.*";

class TFileArchiver {
public:
    // `makeDurable` runs before a file is archived as complete, which reports its work done: it
    // puts everything the work wrote on the disk, or raises, and then the file stays where it is.
    TFileArchiver(const TWorkFolders& folders, IEventSink& events, std::function<void()> makeDurable = {})
        : folders_(folders), events_(events), makeDurable_(std::move(makeDurable)) {}

    // Moves `fileName` into <side>/behandlade/<subfolder>. With `overwriteExisting` false an
    // existing target is kept, the source stays where it is, and the clash is reported.
    void ArchiveCompleteFile(const std::string& fileName, const std::string& subfolder, int side,
                             bool overwriteExisting);
    // Moves `fileName` into <side>/felaktiga/<subfolder>, replacing a file of that name.
    void ArchiveFailedFile(const std::string& fileName, const std::string& subfolder, int side);
    // Moves every "xformed*.*" file of the side's "obehandlade" into its "felaktiga"; a file that
    // cannot be moved (one of that name is there already) is deleted.
    void CleanUpXFormed(int side);

private:
    void Archive(const std::string& fileName, const std::string& subfolder, int side,
                 std::string_view folderWord, bool overwriteExisting);

    const TWorkFolders& folders_;
    IEventSink& events_;
    std::function<void()> makeDurable_;
};

}  // namespace tv
