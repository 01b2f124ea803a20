#include "core/help_file.h"

#include "platform/rtl/environment_info.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {

std::string LocaliseHelpFile(std::string_view helpFile) {
    std::string file(helpFile);
    if (!file.empty() && !file.starts_with('/')) file = IncludeTrailingPathDelimiter(GetCurrentDir()) + file;
    if (file.empty() || !FileExists(file)) {
        file = ProgramFolder() + ExtractFileName(helpFile);
        if (helpFile.empty() || !FileExists(file)) throw Exception(Format(kNoHelpFile, {helpFile}));
    }
    SetEnvironmentInfo("Help File", file);
    return file;
}

}  // namespace tv
