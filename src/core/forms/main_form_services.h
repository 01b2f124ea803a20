#pragma once
// What the main window takes from the subsystems built above the core: the script host a job runs
// in, the settings, about and debug-file windows, the script list and its catalog. Each entry may be
// empty until its subsystem is there; the window then leaves that part out (a job without a script
// host fails with kNoScriptHost).

#include <functional>
#include <string_view>

#include "core/script_host.h"

namespace tv {

class TForm;

inline constexpr std::string_view kNoScriptHost = "Ingen skriptvärd är installerad";

struct TMainFormServices {
    TScriptHostFactory ScriptHosts;
    // Shows the settings window modally, owned by `owner`; gives its modal result (1 = OK).
    std::function<int(TForm* owner)> ShowSettings;
    std::function<void()> ShowAbout;
    // The debug-file window, not modal and without owner.
    std::function<void()> ShowDebugFile;
    // Makes the script list window (owned by `owner`) to dock into the main window.
    std::function<TForm*(TForm* owner)> CreateScriptList;
    // Reads the script catalog.
    std::function<void()> FindScripts;
};

// The process-wide services, filled by the subsystems before the main window is made.
TMainFormServices& MainFormServices();

}  // namespace tv
