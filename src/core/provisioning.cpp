#include "core/provisioning.h"

#include "core/app_logger.h"
#include "core/app_params.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

struct SetupKey {
    std::string_view field;  // of the general settings
    std::string_view key;    // in the section "General" of "setup.ini"
    bool numeric;
};
constexpr SetupKey kSetupKeys[] = {
    {"SPCSPathSRC", "VismaPath", false},
    {"CompanyUsername", "IntegrationUsername", false},
    {"CompanyPassword", "IntegrationPassword", false},
    {"CompanySQLAuthMode", "AdminSQLAuthMode", true},
    {"CompanySQLUsername", "AdminSQLUsername", false},
    {"CompanySQLPassword", "AdminSQLPassword", false},
};

}  // namespace

bool IsProvisioningRun() {
    return FindCmdLineSwitch("setup");
}

bool RunProvisioning(IProvisioningSettings& settings) {
    AppLogger().LogInfo(kLogSetupInitialized);
    settings.EmptyGeneralSettings();
    settings.LoadSettings();
    const std::string setupFile = IncludeTrailingPathDelimiter(GetCurrentDir()) + std::string(kSetupFileName);
    try {
        const bool merge = FileExists(setupFile);
        if (merge) {
            TIniFile ini(setupFile);
            for (const auto& k : kSetupKeys) {
                std::string value = ini.ReadString(kSetupSection, k.key, settings.GeneralText(k.field));
                if (k.numeric) {
                    settings.SetGeneralInteger(k.field, StrToInt(value));
                } else {
                    settings.SetGeneralText(k.field, value);
                    // A field keeps at most its size; a cut password or path would fail only later.
                    if (settings.GeneralText(k.field) != value)
                        AppLogger().LogWarn(Format(kLogSetupValueCut, {k.key}));
                }
            }
            settings.PostGeneralSettings();
        }
        settings.SaveSettings();
        // Deleted only once its values are saved: a failed run keeps them for the next one.
        if (merge) {
            // The file holds passwords in plain text: a copy that cannot be deleted is reported.
            try {
                DeleteFile(setupFile);
            } catch (const std::exception& e) {
                AppLogger().LogWarn(setupFile, e);
            }
        }
        return true;
    } catch (const std::exception& e) {
        AppLogger().LogError(kLogSetupFailed, e);
        return false;
    }
}

}  // namespace tv
