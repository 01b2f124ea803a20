// The behaviours of the integration-menu page ("Integrationsmeny"): its buttons show which of the
// program's four entries the business system's menu file holds, install or remove them as the
// check boxes say, and show the menu file. The page binds no table; its check boxes are plain.

#include <string>
#include <string_view>

#include "adk/menu_installer.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/trim.h"
#include "platform/win/shell_service.h"
#include "ui/menu_page.h"
#include "ui/page_behaviours.h"
#include "ui/page_messages.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

constexpr std::string_view kInstallerKey = "fvmi";

// The menu installer of the page (its field fvmi), with the program's menu and company.
TAdkMenuInstaller& Installer(TSettingsPage& page) {
    TAdkMenuInstaller& installer = page.Kept<TAdkMenuInstaller>(std::string(kInstallerKey));
    installer.Category = std::string(kMenuCategory);
    installer.Company = std::string(kMenuCompany);
    installer.ApplicationName = std::string(kMenuApplicationName);
    return installer;
}

// The check box of every entry, in the entries' order; raises when the block lacks one.
std::vector<TCheckBox*> EntryCheckBoxes(TSettingsPage& page) {
    std::vector<TCheckBox*> boxes;
    for (const auto& entry : kMenuEntries) {
        auto* box = dynamic_cast<TCheckBox*>(page.FindControl(entry.CheckBox));
        if (!box)
            throw Exception("The integration-menu page has no check box " + std::string(entry.CheckBox));
        boxes.push_back(box);
    }
    return boxes;
}

// Points the installer at the menu file when it has none: the business system's own when the
// operator takes it, else one the operator picks. False, after the error box, when none is given.
bool ChooseMenuFile(TAdkMenuInstaller& installer) {
    if (!Trim(installer.MenuFileName()).empty()) return true;
    std::string file = installer.FindIntegrationFile();
    if (!file.empty() && !AskPageQuestion(Format(kMenuFileFound, {file}))) file.clear();
    if (file.empty()) file = installer.AskForFilename();
    if (file.empty()) {
        ShowPageError(kNoMenuFileGiven);
        return false;
    }
    installer.SetMenuFileName(file);
    return true;
}

// Whether the menu file holds the installer's entry now (read again: the last change may have
// written it).
bool EntryPresent(TAdkMenuInstaller& installer) {
    installer.SetMenuFileName(installer.MenuFileName());
    return installer.CheckIfPresent();
}

// A present entry is removed first, so the entry is written anew.
void InstallMenuEntry(TAdkMenuInstaller& installer) {
    if (EntryPresent(installer)) installer.RemoveFromVismaIntegrationMenu(installer.MenuFileName(), false);
    installer.InstallToVismaIntegrationMenu(installer.MenuFileName());
}

void RemoveMenuEntry(TAdkMenuInstaller& installer) {
    if (EntryPresent(installer)) installer.RemoveFromVismaIntegrationMenu(installer.MenuFileName(), false);
}

// Runs the button's work; a failure is shown as `failure` followed by its message.
template <class Work>
void OnClick(TButton& button, std::string_view failure, Work work) {
    button.OnClick = [failure, work](TObject*) {
        try {
            work();
        } catch (const std::exception& e) {
            ShowPageError(std::string(failure) + e.what());
        }
    };
}

// Points the installer at the menu file and at the running program as the entries' program, then
// runs `each` with every entry's check box, the installer's title and parameters set to the
// entry's. Nothing runs when no menu file is given.
template <class Each>
void ForEachEntry(TSettingsPage& page, TAdkMenuInstaller& installer, Each each) {
    const auto boxes = EntryCheckBoxes(page);
    if (!ChooseMenuFile(installer)) return;
    installer.Command = Application().ExeName();
    for (size_t i = 0; i < boxes.size(); ++i) {
        installer.Title = std::string(kMenuEntries[i].Title);
        installer.Parameters = std::string(kMenuEntries[i].Parameters);
        each(*boxes[i]);
    }
}

// "Visa menyer": ticks the entries the menu file holds.
void ShowMenusBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                        const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TAdkMenuInstaller& installer = Installer(page);
    OnClick(button, kMenuFailed, [&page, &installer] {
        ForEachEntry(page, installer,
                     [&installer](TCheckBox& box) { box.SetChecked(EntryPresent(installer)); });
    });
}

// "Uppdatera meny": installs the ticked entries, removes the others, with the running program as
// every entry's program (also before "Visa menyer" was ever pressed), then says so.
void UpdateMenuBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                         const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TAdkMenuInstaller& installer = Installer(page);
    OnClick(button, kMenuFailed, [&page, &installer] {
        bool updated = false;
        ForEachEntry(page, installer, [&installer, &updated](TCheckBox& box) {
            if (box.Checked())
                InstallMenuEntry(installer);
            else
                RemoveMenuEntry(installer);
            updated = true;
        });
        if (updated) ShowPageInformation(kMenuUpdated);
    });
}

// "Visa integrationsfil": the business system's menu file in the file manager, or its folder when
// the file is missing; nothing when the folder is missing too.
void ShowMenuFileBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                           const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TAdkMenuInstaller& installer = Installer(page);
    OnClick(button, kShowMenuFileFailed, [&installer] {
        const std::string file = installer.FindIntegrationFile();
        if (file.empty()) return;
        if (FileExists(file))
            ShellService().ShowFile(file);
        else if (const std::string folder = ExtractFileDir(file); DirectoryExists(folder))
            ShellService().OpenFolder(folder);
    });
}

constexpr TPageBehaviour kBehaviours[] = {
    {"show-menus", ShowMenusBehaviour},
    {"update-menu", UpdateMenuBehaviour},
    {"show-menu-file", ShowMenuFileBehaviour},
};

}  // namespace

std::span<const TPageBehaviour> MenuPageBehaviours() {
    return kBehaviours;
}

}  // namespace tv
