#pragma once
// The provisioning run started with the switch "setup": the settings are loaded, the general
// settings take the values of "setup.ini" in the current folder, the settings are saved, and
// "setup.ini" is deleted. No window is shown; the process ends afterwards.

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kSetupFileName = "setup.ini";
inline constexpr std::string_view kSetupSection = "General";
inline constexpr std::string_view kLogSetupInitialized = "Setup initialized";
inline constexpr std::string_view kLogSetupFailed = "Failed to perform setup";
// A value of "setup.ini" longer than its settings field is cut to the field's size and reported by
// its key (never by the value, which may be a password).
inline constexpr std::string_view kLogSetupValueCut = "Värdet av %s i setup.ini var för långt och kortades";

// What the provisioning run needs of the central data module's settings.
class IProvisioningSettings {
public:
    virtual ~IProvisioningSettings() = default;
    virtual void EmptyGeneralSettings() = 0;
    virtual void LoadSettings() = 0;
    virtual void SaveSettings() = 0;
    // The general settings' current record, field by name, as text; integer fields take a number.
    virtual std::string GeneralText(std::string_view field) const = 0;
    virtual void SetGeneralText(std::string_view field, std::string_view value) = 0;
    virtual void SetGeneralInteger(std::string_view field, int value) = 0;
    virtual void PostGeneralSettings() = 0;
};

// True when the program was started with "setup" ("/" or "-" before it, any case).
bool IsProvisioningRun();

// Logs "Setup initialized", empties and loads the settings, merges "setup.ini" of the current
// folder into the general settings, saves the settings and then deletes "setup.ini". A failure of
// the merge or the save is logged as "Failed to perform setup" and answers false; "setup.ini" is
// then kept, so that nothing it held is lost and the run can be repeated. A failure of the load
// raises. True when the settings were saved.
bool RunProvisioning(IProvisioningSettings& settings);

}  // namespace tv
