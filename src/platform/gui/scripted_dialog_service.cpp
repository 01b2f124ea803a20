#include "platform/gui/scripted_dialog_service.h"

#include "platform/gui/dialog_requests.h"

namespace tv {

namespace {

constexpr std::string_view kUnexpected = "Unexpected dialog: ";

template <class Queue>
auto Take(Queue& queue, const TDialogRequest& request) {
    if (queue.empty())
        throw EUnexpectedDialog(std::string(kUnexpected) + request.Caption + ": " + request.Text);
    auto value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

TMsgAnswer TScriptedDialogService::MessageBox(const TMessageBoxRequest& request) {
    fRequests.push_back(
        {TDialogKind::MessageBox, request.Caption, request.Text, request.Buttons, request.Icon});
    return Take(fAnswers, fRequests.back());
}

bool TScriptedDialogService::AskYesNo(std::string_view text, std::string_view caption, bool) {
    return MessageBox(YesNoRequest(text, caption, false)) == TMsgAnswer::Yes;
}

void TScriptedDialogService::ShowInformation(std::string_view text, std::string_view caption) {
    MessageBox(InformationRequest(text, caption));
}

std::optional<std::string> TScriptedDialogService::OpenFile(const TOpenFileRequest& request) {
    fRequests.push_back({TDialogKind::OpenFile, request.Title, request.InitialFolder});
    return Take(fFiles, fRequests.back());
}

std::optional<std::string> TScriptedDialogService::SaveFile(const TOpenFileRequest& request) {
    fRequests.push_back({TDialogKind::SaveFile, request.Title, request.InitialFolder});
    return Take(fFiles, fRequests.back());
}

std::optional<std::string> TScriptedDialogService::BrowseFolder(std::string_view title,
                                                                std::string_view initialFolder) {
    fRequests.push_back({TDialogKind::BrowseFolder, std::string(title), std::string(initialFolder)});
    return Take(fFolders, fRequests.back());
}

}  // namespace tv
