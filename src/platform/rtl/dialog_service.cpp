#include "platform/rtl/dialog_service.h"

namespace tv {
namespace {

IDialogService* gService = nullptr;

}  // namespace

void THeadlessDialogService::Report(std::string_view caption, std::string_view text) const {
    if (report_) report_(caption, text);
}

TMsgAnswer THeadlessDialogService::MessageBox(const TMessageBoxRequest& request) {
    Report(request.Caption, request.Text);
    return request.NonInteractiveAnswer;
}

bool THeadlessDialogService::AskYesNo(std::string_view text, std::string_view caption,
                                      bool nonInteractiveAnswer) {
    Report(caption, text);
    return nonInteractiveAnswer;
}

void THeadlessDialogService::ShowInformation(std::string_view text, std::string_view caption) {
    Report(caption, text);
}

std::optional<std::string> THeadlessDialogService::OpenFile(const TOpenFileRequest& request) {
    Report(request.Title, {});
    return std::nullopt;
}

std::optional<std::string> THeadlessDialogService::SaveFile(const TOpenFileRequest& request) {
    Report(request.Title, {});
    return std::nullopt;
}

std::optional<std::string> THeadlessDialogService::BrowseFolder(std::string_view title, std::string_view) {
    Report(title, {});
    return std::nullopt;
}

THeadlessDialogService& HeadlessDialogService() {
    static THeadlessDialogService headless;
    return headless;
}

IDialogService& DialogService() {
    return gService ? *gService : HeadlessDialogService();
}

IDialogService* SetDialogService(IDialogService* service) {
    IDialogService* previous = &DialogService();
    gService = service;
    return previous;
}

}  // namespace tv
