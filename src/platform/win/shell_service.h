#pragma once
// Opening things as the desktop would: the file manager on a folder or on the folder of a file, and
// a document or program ("ShellExecute"). The default service starts "xdg-open" (or the program
// itself) without a shell; tests install their own.

#include <string>
#include <string_view>

namespace tv {

class IShellService {
public:
    virtual ~IShellService() = default;
    // Opens the file manager on `folder`.
    virtual void OpenFolder(const std::string& folder) = 0;
    // Shows `fileName` in the file manager: the folder that holds it is opened.
    virtual void ShowFile(const std::string& fileName) = 0;
    // Opens `file` with `verb` ("open"): a program file is started with `parameters` (split as a
    // command line) in `folder`, anything else is handed to the desktop's opener. With `wait` it
    // waits for the end, checking every 100 ms and processing pending messages on the main thread
    // between checks, and returns the exit code; without it returns 0. -1 when the start fails.
    virtual int ShellExecuteAndWait(const std::string& verb, const std::string& file,
                                    const std::string& parameters, bool wait, int showMode,
                                    const std::string& folder) = 0;
};

// What OpenFolder and ShowFile raise when the opener program is not there at all.
inline constexpr std::string_view kNoFolderOpener =
    "Det finns inget program som kan öppna mappen [%s]: \"%s\" saknas. Installera paketet xdg-utils.";

// Starts the opener program with the folder as its one argument; OpenFolder and ShowFile raise
// EProcessError when it cannot be started (kNoFolderOpener when it does not exist).
class TDesktopShellService : public IShellService {
public:
    explicit TDesktopShellService(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
    void OpenFolder(const std::string& folder) override;
    void ShowFile(const std::string& fileName) override;
    int ShellExecuteAndWait(const std::string& verb, const std::string& file, const std::string& parameters,
                            bool wait, int showMode, const std::string& folder) override;

private:
    std::string opener_;
};

// The process-wide service; SetShellService(nullptr) restores the desktop service.
IShellService& ShellService();
void SetShellService(IShellService* service);

// ShellService().ShellExecuteAndWait.
int ShellExecuteAndWait(const std::string& verb, const std::string& file, const std::string& parameters,
                        bool wait, int showMode, const std::string& folder);

}  // namespace tv
