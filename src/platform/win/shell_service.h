#pragma once
// Opening the desktop's file manager on a folder or on the folder of a file. The default service
// starts "xdg-open" without a shell and does not wait for it; tests install their own.

#include <string>

namespace tv {

class IShellService {
public:
    virtual ~IShellService() = default;
    // Opens the file manager on `folder`.
    virtual void OpenFolder(const std::string& folder) = 0;
    // Shows `fileName` in the file manager: the folder that holds it is opened.
    virtual void ShowFile(const std::string& fileName) = 0;
};

// Starts the opener program with the folder as its one argument; raises EProcessError when the
// program cannot be started.
class TDesktopShellService : public IShellService {
public:
    explicit TDesktopShellService(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
    void OpenFolder(const std::string& folder) override;
    void ShowFile(const std::string& fileName) override;

private:
    std::string opener_;
};

// The process-wide service; SetShellService(nullptr) restores the desktop service.
IShellService& ShellService();
void SetShellService(IShellService* service);

}  // namespace tv
