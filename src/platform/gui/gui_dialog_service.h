#pragma once
// The dialog service with real dialogs: message boxes, the file-open dialog (an existing file is
// required), the file-save dialog and the folder browser. It shows them only while the run has an
// operator (by default: while the application's main form is visible; never in a run without a
// display); otherwise it answers as the headless service does, so that an unattended run never
// waits on a dialog.
// Install it with SetDialogService.

#include <functional>

#include "platform/rtl/dialog_service.h"

namespace tv {

class TGuiDialogService : public IDialogService {
public:
    using TInteractive = std::function<bool()>;
    // `interactive` tells whether an operator is there; empty: the main form is visible. A run
    // without a display has none, whatever it says.
    explicit TGuiDialogService(TInteractive interactive = {});

    TMsgAnswer MessageBox(const TMessageBoxRequest& request) override;
    bool AskYesNo(std::string_view text, std::string_view caption, bool nonInteractiveAnswer) override;
    void ShowInformation(std::string_view text, std::string_view caption) override;
    std::optional<std::string> OpenFile(const TOpenFileRequest& request) override;
    std::optional<std::string> SaveFile(const TOpenFileRequest& request) override;
    std::optional<std::string> BrowseFolder(std::string_view title, std::string_view initialFolder) override;

private:
    bool Interactive() const;
    TInteractive fInteractive;
};

// Whether an operator can answer a window: a display, and the application's main form showing.
bool MainFormShowing();

// "Text files|*.txt;*.log|All|*.*" as the toolkit's filter: "Text files (*.txt *.log);;All (*)".
std::string ToolkitFileFilter(std::string_view filter);

}  // namespace tv
