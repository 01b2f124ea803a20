#pragma once
// A dialog service for tests of windows and jobs: it answers each request with the next answer
// queued for that kind of dialog and records every request. A request that finds no answer queued
// raises EUnexpectedDialog, so that an unexpected dialog fails the test instead of blocking it.
//
//     TScriptedDialogService dialogs;
//     TDialogServiceScope scope(dialogs);        // installed until the scope ends
//     dialogs.QueueAnswer(TMsgAnswer::Yes);
//     ... code that asks a question ...
//     EXPECT_EQ(dialogs.Requests()[0].Text, "Kompilering av script misslyckades");

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/dialog_service.h"
#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EUnexpectedDialog, Exception);

enum class TDialogKind { MessageBox, OpenFile, SaveFile, BrowseFolder };

struct TDialogRequest {
    TDialogKind Kind;
    std::string Caption;  // the title of file and folder dialogs
    std::string Text;     // the message; the folder a file or folder dialog starts in
    TMsgButtons Buttons = TMsgButtons::Ok;
    TMsgIcon Icon = TMsgIcon::None;
};

class TScriptedDialogService : public IDialogService {
public:
    // For message boxes, questions and information boxes, in the order they come.
    void QueueAnswer(TMsgAnswer answer) { fAnswers.push_back(answer); }
    // For file (open and save) and folder dialogs; nothing stands for Cancel.
    void QueueFile(std::optional<std::string> file) { fFiles.push_back(std::move(file)); }
    void QueueFolder(std::optional<std::string> folder) { fFolders.push_back(std::move(folder)); }

    const std::vector<TDialogRequest>& Requests() const { return fRequests; }
    // Answers queued and not yet used.
    size_t PendingAnswers() const { return fAnswers.size() + fFiles.size() + fFolders.size(); }

    TMsgAnswer MessageBox(const TMessageBoxRequest& request) override;
    bool AskYesNo(std::string_view text, std::string_view caption, bool nonInteractiveAnswer) override;
    void ShowInformation(std::string_view text, std::string_view caption) override;
    std::optional<std::string> OpenFile(const TOpenFileRequest& request) override;
    std::optional<std::string> SaveFile(const TOpenFileRequest& request) override;
    std::optional<std::string> BrowseFolder(std::string_view title, std::string_view initialFolder) override;

private:
    std::deque<TMsgAnswer> fAnswers;
    std::deque<std::optional<std::string>> fFiles;
    std::deque<std::optional<std::string>> fFolders;
    std::vector<TDialogRequest> fRequests;
};

// Installs a dialog service for the life of the scope, then puts back the one it replaced.
class TDialogServiceScope {
public:
    explicit TDialogServiceScope(IDialogService& service) : fPrevious(SetDialogService(&service)) {}
    ~TDialogServiceScope() { SetDialogService(fPrevious); }
    TDialogServiceScope(const TDialogServiceScope&) = delete;
    TDialogServiceScope& operator=(const TDialogServiceScope&) = delete;

private:
    IDialogService* fPrevious;
};

}  // namespace tv
