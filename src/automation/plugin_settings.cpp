// The plug-in host's settings dialog for one rule step (TDMPlugins::DisplaySettings).

#include <memory>
#include <string>

#include "automation/dm_plugins.h"
#include "automation/form_display_plugin_settings.h"
#include "platform/gui/scroll_box.h"

namespace tv {
namespace {

constexpr int kDisplayAreaRange = 800;

}  // namespace

void TDMPlugins::DisplaySettings(const std::string& prefsfolder) {
    const std::string folder = prefsfolder.empty() ? context_.getPluginTmpFolder() : prefsfolder;
    TClientDataSet& catalogue = CDSAvailablePlugins();
    const std::string fileName = catalogue.FieldByName("PLUGIN_FILENAME").AsString();
    if (!moduleManager_.FindModule(fileName)) moduleManager_.LoadModule(fileName);

    // The dialog and the plug-in's panel in it go before this returns, and the instance is
    // released with them: once the module timer unloads the module, nothing of its code is left
    // in a window.
    auto dialog = std::make_unique<TFormDisplayPluginSettings>();
    fPluginForm.reset();
    try {
        moduleManager_.CreateVisualPlugin(catalogue.FieldByName("PLUGIN_NAME").AsString(), fPluginForm, nullptr);
        const TPluginRef<plugin::Iquorvel_plugin> plugin = fPluginForm.As<plugin::Iquorvel_plugin>();
        plugin->SetPrefsFolder(folder.c_str());
        fPluginForm->ShowParented(dialog->DisplayArea->Widget());
        dialog->DisplayArea->VertScrollBar()->SetRange(kDisplayAreaRange);
        if (dialog->ShowModal() == mrOk)
            plugin->SaveSettings();
        else
            plugin->CancelSettings();
        plugin->TestModule();
    } catch (...) {
        ReleasePluginForm();
        dialog.reset();
        throw;
    }
    ReleasePluginForm();
    dialog.reset();
}

}  // namespace tv
