#pragma once
// A program folder and a common application-data folder of a test's own, with the process-wide
// names and parameters set as the entry routine sets them.

#include <string>
#include <vector>

#include "core/app_names.h"
#include "core/app_params.h"
#include "core/settings_root.h"
#include "platform/rtl/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv::test {

class StartupFolders {
public:
    explicit StartupFolders(std::vector<std::string> params = {})
        : commonAppData_("TOLLVANE_COMMON_APPDATA", dir.MakeFolder("common").c_str()) {
        dir.MakeFolder("prog");
        dir.MakeFolder("start");
        SetProgramFileName(dir.Path("prog/tollvane"));
        SetAppCompanyName(kAppCompanyName);
        SetAppProductName(kAppProductName);
        SetApplicationTitle(kAppProductName);
        Start(std::move(params));
    }
    ~StartupFolders() {
        SetProgramFileName({});
        SetAppParams({});
        SetAppInstanceName("");
    }
    // Starts again with other parameters.
    void Start(std::vector<std::string> params) {
        SetAppParams(std::move(params), dir.Path("start"));
        UpdateApplicationInstance();
    }
    std::string Program() const { return dir.Path("prog") + "/"; }
    std::string Root(const std::string& instance = "default") const {
        return dir.Path("common/Brismark/Tollvane/" + instance) + "/";
    }

    TempDir dir;

private:
    ScopedEnv commonAppData_;
};

}  // namespace tv::test
