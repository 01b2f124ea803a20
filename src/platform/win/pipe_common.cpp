#include "platform/win/pipe_common.h"

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/files.h"

namespace tv {

void CheckPipeName(std::string_view name) {
    if (name.empty() || name.size() > kMaxPipeNameLength ||
        name.find_first_of(std::string_view("\\/\0", 3)) != std::string_view::npos)
        throw EPipeException(std::string(kInvalidPipeName));
}

std::string DefaultPipeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && DirectoryExists(runtime))
        return ExcludeTrailingPathDelimiter(runtime);

    std::string folder = "/tmp/tollvane-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw EInOutError("Cannot create folder \"" + folder + "\". " + SysErrorMessage(errno));
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0)
        throw EInOutError("Cannot open folder \"" + folder + "\". " + SysErrorMessage(errno));
    // Anyone may create names in /tmp: the folder must be ours and closed to others.
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
        throw EInOutError("Cannot use folder \"" + folder +
                          "\". It belongs to another user or is open to others.");
    return folder;
}

std::string StreamBytes(TStream& stream) {
    std::string bytes;
    stream.SetPosition(0);
    int64_t size = stream.Size();
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        stream.ReadBuffer(bytes.data(), size);
    }
    return bytes;
}

}  // namespace tv
