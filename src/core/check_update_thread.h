#pragma once
// The update check: the external updater beside the program is asked, on a thread of its own,
// whether a newer version exists ("checkversion", exit code 1 meaning yes); the answer reaches the
// main thread. The updater also performs an update ("update") while the program ends.

#include <functional>
#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kUpdaterFileName = "QuorvelUpdater";
inline constexpr std::string_view kUpdaterCheckVersion = "checkversion";
inline constexpr std::string_view kUpdaterUpdate = "update";
inline constexpr int kUpdaterUpdateAvailable = 1;
inline constexpr int kUpdateCheckWaitMs = 30000;
inline constexpr int kUpdateRunWaitMs = 3600;
inline constexpr int kUpdateRunSleepMs = 2000;
inline constexpr int kUpdateNoticeHideMs = 25000;

inline constexpr std::string_view kUpdateAvailableText = "En uppdatering av applikationen  finns att hämta. ";
inline constexpr std::string_view kNoUpdateText = "Den senaste versionen är installerad";
inline constexpr std::string_view kGetUpdateCaption = "Hämta uppdatering";
inline constexpr std::string_view kSearchForUpdatesCaption = "Leta efter uppdatering";
inline constexpr std::string_view kStartingUpdate = "Startar uppdatering...";
inline constexpr std::string_view kClosingForUpdate = "Avslutar ...";

// The updater's path in `programFolder`.
std::string UpdaterPath(const std::string& programFolder);

// The updater's answer: an update is available.
inline bool IsUpdateAvailable(int exitCode) {
    return exitCode == kUpdaterUpdateAvailable;
}

class TCheckUpdateThread {
public:
    // Called on the main thread with the updater's exit code (STILL_ACTIVE when it ran longer than
    // the wait). The receiver must still be there: it guards its own lifetime.
    using TResultHandler = std::function<void(int exitCode)>;

    // When the updater exists in `programFolder`, runs "checkversion" there on a new thread,
    // waiting at most `waitMs`, and posts the exit code to `onResult`; true when the thread was
    // started. A failure on the thread is logged and nothing is posted.
    static bool Start(const std::string& programFolder, TResultHandler onResult,
                      int waitMs = kUpdateCheckWaitMs);
};

}  // namespace tv
