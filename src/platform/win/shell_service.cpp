#include "platform/win/shell_service.h"

#include <optional>

#include <unistd.h>

#include "platform/rtl/files.h"
#include "platform/win/main_thread.h"
#include "platform/win/process.h"

namespace tv {
namespace {
IShellService* gService = nullptr;
}

void TDesktopShellService::OpenFolder(const std::string& folder) {
    // The opener may run as long as the file manager does; it is reaped when it ends.
    TChildProcess::Start(opener_, {folder});
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
