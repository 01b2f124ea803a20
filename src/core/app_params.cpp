#include "core/app_params.h"

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

struct Params {
    std::vector<std::string> params;
    std::string startFolder;
};

Params& TheParams() {
    static Params params;
    return params;
}

}  // namespace

void SetAppParams(std::vector<std::string> params, std::string startFolder) {
    TheParams().params = std::move(params);
    TheParams().startFolder =
        IncludeTrailingPathDelimiter(startFolder.empty() ? GetCurrentDir() : startFolder);
}

const std::vector<std::string>& AppParams() {
    return TheParams().params;
}

const std::string& StartFolder() {
    if (TheParams().startFolder.empty())
        TheParams().startFolder = IncludeTrailingPathDelimiter(GetCurrentDir());
    return TheParams().startFolder;
}

bool FindCmdLineSwitch(std::string_view name, bool ignoreCase) {
    for (std::string_view p : AppParams()) {
        if (p.starts_with("--"))
            p.remove_prefix(2);
        else if (p.starts_with('/') || p.starts_with('-'))
            p.remove_prefix(1);
        else
            continue;
        if (ignoreCase ? SameTextAscii(p, name) : p == name) return true;
    }
    return false;
}

}  // namespace tv
