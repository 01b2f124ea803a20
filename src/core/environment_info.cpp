#include "core/environment_info.h"

#include "core/app_params.h"
#include "core/settings_root.h"
#include "platform/rtl/files.h"
#include "platform/win/environment_facts.h"
#include "platform/win/file_version.h"

namespace tv {

TStringList& ExeVersionInfo() {
    static TStringList list;
    return list;
}

void RecordStartupEnvironment() {
    SetEnvironmentInfo(kLocaleFixEntry, kLocaleFixValue);
    const std::string exe = ProgramFileName();
    ExeVersionInfo().SetText(GetVersionInfoText(exe));
    SetEnvironmentInfo("Application Exe", exe);
    SetEnvironmentInfo("Application Exe Version", GetFileVersionString(exe));
    SetEnvironmentInfo("Instance Name", InstanceParameter(AppParams()));
    SetEnvironmentBool("Remote Session", IsRemoteSession());
    SetEnvironmentBool("64-bit Windows", Is64BitSystem());
    SetEnvironmentBool("Internet Connected", IsInternetConnected());
}

}  // namespace tv
