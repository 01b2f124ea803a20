#pragma once
// The plug-in module manager: loads plug-in modules ("plugin*.so") with the dynamic loader, creates
// their plug-ins by name, releases instances and unloads the modules. A module is never unloaded
// while anything of it lives: UnloadModules first releases the instances still held and deletes the
// widgets of the module's classes still about (a settings panel in a dialog that outlived its
// plug-in), says so through OnUnloadCleanup, and keeps a module loaded (though no longer counted) when
// its instance is still referenced from inside the plug-in.
//
// Main thread only. Unloading may delete widgets, so it needs the Qt application when one exists.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/plugin/plugin_ref.h"
#include "platform/plugin/sdk/plugin_sdk.h"

namespace tv {

using plugin::IHYVisualPlugin;

class THYModuleManager {
public:
    THYModuleManager();
    // Unloads every module without firing events.
    ~THYModuleManager();
    THYModuleManager(const THYModuleManager&) = delete;
    THYModuleManager& operator=(const THYModuleManager&) = delete;

    // Whether the module file is loaded (paths compared after resolving links and "..").
    bool FindModule(std::string_view fileName) const;
    // Loads the module (now binding, its symbols kept to itself) and registers its plug-ins. Raises
    // EModuleManagerError with the loader's text when the file cannot be loaded, is no plug-in
    // module or was built for another API version. A module already loaded is left as it is.
    void LoadModule(std::string_view fileName);
    // A new instance of the plug-in registered under `name` (without regard to case; the module
    // loaded first wins), made for the owner window `parent` (nil for none). The previous value of
    // `instance` is dropped first. Raises EModuleManagerError when no loaded module registers it.
    void CreateVisualPlugin(std::string_view name, TPluginRef<IHYVisualPlugin>& instance, QWidget* parent);
    // Releases the instance (every TPluginRef to it becomes empty) and clears `instance`.
    void ReleaseInstance(TPluginRef<IHYVisualPlugin>& instance);
    // Unloads every module, the last loaded first, firing OnAfterUnloadModule after each.
    void UnloadModules();
    int GetModuleCount() const;

    // After a module was unloaded, with the file name it was loaded from.
    std::function<void(THYModuleManager& sender, const std::string& fileName)> OnAfterUnloadModule;
    // What UnloadModules had to clean up before unloading a module, one text each.
    std::function<void(const std::string& fileName, const std::string& text)> OnUnloadCleanup;

private:
    struct TModule;
    void Unload(TModule& module, bool report);

    std::vector<std::unique_ptr<TModule>> modules_;  // in load order
};

}  // namespace tv
