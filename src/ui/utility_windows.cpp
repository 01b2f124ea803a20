#include "ui/utility_windows.h"

#include "core/forms/main_form_services.h"
#include "ui/about_dialog.h"
#include "ui/form_debug_file.h"

namespace tv {

void InstallUtilityWindows() {
    MainFormServices().ShowAbout = ShowAboutDialog;
    MainFormServices().ShowDebugFile = ShowDebugFileWindow;
}

}  // namespace tv
