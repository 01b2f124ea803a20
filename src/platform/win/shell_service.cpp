#include "platform/win/shell_service.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <unistd.h>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/main_thread.h"
#include "platform/win/process.h"

namespace tv {
namespace {
IShellService* gService = nullptr;

// True when `program` names an executable file: as a path, or on PATH when it holds no "/".
bool ProgramExists(const std::string& program) {
    if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const size_t colon = std::min(rest.find(':'), rest.size());
        const std::string dir(rest.substr(0, colon));
        if (::access(((dir.empty() ? std::string(".") : dir) + "/" + program).c_str(), X_OK) == 0) return true;
        rest.remove_prefix(std::min(colon + 1, rest.size()));
    }
    return false;
}
}  // namespace

void TDesktopShellService::OpenFolder(const std::string& folder) {
    // The opener may run as long as the file manager does; it is reaped when it ends.
    try {
        TChildProcess::Start(opener_, {folder});
    } catch (const EProcessError&) {
        if (!ProgramExists(opener_)) throw EProcessError(Format(kNoFolderOpener, {folder, opener_}));
        throw;
    }
}

void TDesktopShellService::ShowFile(const std::string& fileName) {
    std::string folder = ExtractFileDir(fileName);
    OpenFolder(folder.empty() ? std::string(".") : folder);
}

int TDesktopShellService::ShellExecuteAndWait(const std::string& verb, const std::string& file,
                                              const std::string& parameters, bool wait, int showMode,
                                              const std::string& folder) {
    std::optional<TChildProcess> child;
    try {
        bool program = FileExists(file) && ::access(file.c_str(), X_OK) == 0;
        child = program ? TChildProcess::Start(file, SplitCommandLine(parameters), folder)
                        : TChildProcess::Start(opener_, {file}, folder);
    } catch (const EProcessError&) {
        return -1;
    }
    if (!wait) return 0;
    for (;;) {
        int code = child->Wait(100);
        if (child->Ended()) return code;
        if (IsMainThread()) ProcessMessages();
    }
}

IShellService& ShellService() {
    static TDesktopShellService desktop;
    return gService ? *gService : desktop;
}

void SetShellService(IShellService* service) {
    gService = service;
}

}  // namespace tv

namespace tv {

int ShellExecuteAndWait(const std::string& verb, const std::string& file, const std::string& parameters,
                        bool wait, int showMode, const std::string& folder) {
    return ShellService().ShellExecuteAndWait(verb, file, parameters, wait, showMode, folder);
}

}  // namespace tv
