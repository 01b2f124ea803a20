#pragma once
// What the program takes from the subsystems built above the core: their data modules, the script
// host a job runs in, the settings, about and debug-file windows, the script list and its catalog.
// Each entry may be empty until its subsystem is there; the program then leaves that part out (a
// job without a script host fails with kNoScriptHost).

#include <functional>
#include <memory>
#include <string_view>

#include "core/script_host.h"

class QWidget;

namespace tv {

class TForm;
class TMainDM;

inline constexpr std::string_view kNoScriptHost = "Ingen skriptvärd är installerad";

struct TMainFormServices {
    // Makes the data modules of the subsystems above the core over the central data module, right
    // after it and the pipes, in the start-up order; `mainWindow` gives the main window once there
    // is one (nil before). What it returns owns the modules: the entry routine frees it after the
    // main window and before the central data module.
    std::function<std::shared_ptr<void>(TMainDM& mainDM, std::function<QWidget*()> mainWindow)>
        CreateDataModules;
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
