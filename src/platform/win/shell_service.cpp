#include "platform/win/shell_service.h"

#include "platform/rtl/files.h"
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

IShellService& ShellService() {
    static TDesktopShellService desktop;
    return gService ? *gService : desktop;
}

void SetShellService(IShellService* service) {
    gService = service;
}

}  // namespace tv
