#pragma once
// The job automation's windows as the program places them: the rule editor as the settings
// window's page "Regelmakaren", and the script list docked into the main window over the catalogue
// of job scripts.

namespace tv {

class TComponent;
class TForm;
class TMainDM;
struct TSettingsPageRow;

// The rule editor over the process's plug-in host, owned by `owner`; nil while the data modules are
// not made (the settings window then leaves the page out).
TForm* NewRuleMakerPage(const TSettingsPageRow& row, TComponent* owner, TMainDM& dm);

// Hands the script list window, which runs its scripts through the main window, and the reading of
// the script catalogue to the main window's services.
void InstallScriptList();

}  // namespace tv
