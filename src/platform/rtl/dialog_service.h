#pragma once
// Every message box and file or folder dialog the system shows goes through this service, so that
// engines never talk to widgets, a non-interactive run never blocks on a dialog, and tests answer
// dialogs with a fake. The GUI layer installs the interactive implementation; until then, and in
// every run without a display, the headless one answers each request as the caller names it and
// passes the text it did not show to a report hook, so that nothing is lost.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tv {

// The button groups of a message box, numbered as the Windows MB_ flags.
enum class TMsgButtons {
    Ok = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5
};
enum class TMsgIcon { None, Error, Question, Warning, Information };
// The answers, numbered as the Windows message-box results (IDOK = 1 ... IDNO = 7), which are also
// the class library's modal results mrOk ... mrNo.
enum class TMsgAnswer { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The text a button shows ("&" before its access key), by the answer it gives.
struct TMsgButtonText {
    TMsgAnswer Answer;
    std::string_view Text;
};

// The buttons' texts of the Swedish dialogs. Every message box the system shows carries them,
// except for a button whose request names a text of its own.
inline constexpr TMsgButtonText kSwedishButtonTexts[] = {
    {TMsgAnswer::Ok, "OK"},
    {TMsgAnswer::Cancel, "Avbryt"},
    {TMsgAnswer::Abort, "&Avbryt"},
    {TMsgAnswer::Retry, "&Försök igen"},
    {TMsgAnswer::Ignore, "&Ignorera"},
    {TMsgAnswer::Yes, "&Ja"},
    {TMsgAnswer::No, "&Nej"},
};

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    TMsgButtons Buttons = TMsgButtons::Ok;
    TMsgIcon Icon = TMsgIcon::None;
    int DefaultButton = 0;  // 0 = the first button, 1 = the second ...
    // What a run without an operator answers.
    TMsgAnswer NonInteractiveAnswer = TMsgAnswer::Ok;
    // The buttons' own texts (data that outlives the request); a button not named here shows its
    // text of kSwedishButtonTexts.
    std::span<const TMsgButtonText> ButtonTexts;
};

struct TOpenFileRequest {
    std::string Title;
    std::string InitialFolder;
    // "Description|mask;mask|Description|mask", as the class library's file dialogs take it.
    std::string Filter;
    std::string DefaultExt;
};

class IDialogService {
public:
    virtual ~IDialogService() = default;
    virtual TMsgAnswer MessageBox(const TMessageBoxRequest& request) = 0;
    // A Yes/No question; `nonInteractiveAnswer` is what a run without an operator answers.
    virtual bool AskYesNo(std::string_view text, std::string_view caption, bool nonInteractiveAnswer) = 0;
    virtual void ShowInformation(std::string_view text, std::string_view caption) = 0;
    // An existing file the operator chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFile(const TOpenFileRequest& request) = 0;
    // A folder the operator chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> BrowseFolder(std::string_view title,
                                                    std::string_view initialFolder) = 0;
};

// Shows nothing: answers each request with the caller's non-interactive answer, cancels file and
// folder dialogs, and hands the caption and text of every message it did not show to `report`.
class THeadlessDialogService : public IDialogService {
public:
    using TReport = std::function<void(std::string_view caption, std::string_view text)>;
    explicit THeadlessDialogService(TReport report = {}) : report_(std::move(report)) {}
    void SetReport(TReport report) { report_ = std::move(report); }

    TMsgAnswer MessageBox(const TMessageBoxRequest& request) override;
    bool AskYesNo(std::string_view text, std::string_view caption, bool nonInteractiveAnswer) override;
    void ShowInformation(std::string_view text, std::string_view caption) override;
    std::optional<std::string> OpenFile(const TOpenFileRequest& request) override;
    std::optional<std::string> BrowseFolder(std::string_view title, std::string_view initialFolder) override;
    // Hands a window that was not shown (a modal form in an unattended run) to the report hook.
    void Report(std::string_view caption, std::string_view text) const;

private:
    TReport report_;
};

// The process-wide service: the headless one until another is installed. Main thread only.
IDialogService& DialogService();
// Installs `service` (not owned; it must outlive its use) and returns the one it replaces;
// nullptr restores the headless default.
IDialogService* SetDialogService(IDialogService* service);
// The headless default, to give it a report hook.
THeadlessDialogService& HeadlessDialogService();

}  // namespace tv
