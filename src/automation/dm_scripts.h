#pragma once
// The catalogue of job scripts: every "*.pas" file (letters in any case) anywhere under the script
// folder, listed by name and then by path, for the script list window to run. It is read once at
// start-up; a missing script folder gives an empty catalogue.
//
// One instance lives for the whole process. Main thread only.

#include <functional>
#include <string>

#include "platform/data/client_data_set.h"
#include "platform/rtl/component.h"

namespace tv {

inline constexpr std::string_view kScriptMask = "*.pas";

class TDMScripts : public TComponent {
public:
    // `scriptFolder` gives the script folder (with or without a trailing delimiter).
    explicit TDMScripts(std::function<std::string()> scriptFolder, TComponent* owner = nullptr);

    // SCRIPT_FILENAME (the full path), SCRIPT_NAME (the file name without folder and extension),
    // SCRIPT_DESCRIPTION (always empty); ordered by "SCRIPT_NAME;SCRIPT_FILENAME".
    TClientDataSet& CDSScripts() const { return *scripts_; }

    // Empties the catalogue and fills it from the script folder and its sub-folders.
    void FindScripts();
    // Adds a row for every file of `folder` that matches `mask`, then with `recurse` does the same
    // in each sub-folder (each folder once).
    void ScanScriptFolder(const std::string& folder, std::string_view mask, bool recurse);

private:
    std::function<std::string()> scriptFolder_;
    TClientDataSet* scripts_;
};

}  // namespace tv
