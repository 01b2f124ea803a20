#include "platform/gui/gui_dialog_service.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/dialog_requests.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"

namespace tv {

namespace {

struct ButtonOf {
    TMsgAnswer answer;
    QMessageBox::StandardButton button;
};
constexpr ButtonOf kButtons[] = {
    {TMsgAnswer::Ok, QMessageBox::Ok},         {TMsgAnswer::Cancel, QMessageBox::Cancel},
    {TMsgAnswer::Abort, QMessageBox::Abort},   {TMsgAnswer::Retry, QMessageBox::Retry},
    {TMsgAnswer::Ignore, QMessageBox::Ignore}, {TMsgAnswer::Yes, QMessageBox::Yes},
    {TMsgAnswer::No, QMessageBox::No},
};

std::vector<TMsgAnswer> AnswersOf(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::OkCancel:
            return {TMsgAnswer::Ok, TMsgAnswer::Cancel};
        case TMsgButtons::AbortRetryIgnore:
            return {TMsgAnswer::Abort, TMsgAnswer::Retry, TMsgAnswer::Ignore};
        case TMsgButtons::YesNoCancel:
            return {TMsgAnswer::Yes, TMsgAnswer::No, TMsgAnswer::Cancel};
        case TMsgButtons::YesNo:
            return {TMsgAnswer::Yes, TMsgAnswer::No};
        case TMsgButtons::RetryCancel:
            return {TMsgAnswer::Retry, TMsgAnswer::Cancel};
        default:
            return {TMsgAnswer::Ok};
    }
}

QMessageBox::StandardButton ToolkitButton(TMsgAnswer a) {
    for (const ButtonOf& b : kButtons)
        if (b.answer == a) return b.button;
    return QMessageBox::Ok;
}

TMsgAnswer AnswerOf(int button) {
    for (const ButtonOf& b : kButtons)
        if (b.button == button) return b.answer;
    return TMsgAnswer::Cancel;
}

QMessageBox::Icon ToolkitIcon(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::Error:
            return QMessageBox::Critical;
        case TMsgIcon::Question:
            return QMessageBox::Question;
        case TMsgIcon::Warning:
            return QMessageBox::Warning;
        case TMsgIcon::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The file dialog: an existing file to open, or any file to save to (the toolkit asks before an
// existing one is replaced).
std::optional<std::string> ChooseFile(const TOpenFileRequest& request, QFileDialog::AcceptMode mode) {
    EnsureQtApplication();
    QFileDialog dialog(nullptr, ToQString(request.Title), ToQString(request.InitialFolder),
                       ToQString(ToolkitFileFilter(request.Filter)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    if (!request.DefaultExt.empty()) dialog.setDefaultSuffix(ToQString(request.DefaultExt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FromQString(dialog.selectedFiles().front());
}

}  // namespace

std::string ToolkitFileFilter(std::string_view filter) {
    std::string out;
    size_t pos = 0;
    while (pos <= filter.size()) {
        const size_t bar = filter.find('|', pos);
        if (bar == std::string_view::npos) break;
        const std::string_view name = filter.substr(pos, bar - pos);
        const size_t end = std::min(filter.find('|', bar + 1), filter.size());
        std::string masks;
        for (size_t m = bar + 1; m < end;) {
            const size_t semi = std::min(filter.find(';', m), end);
            std::string_view mask = filter.substr(m, semi - m);
            // "*.*" means every file, with or without an extension.
            if (mask == "*.*") mask = "*";
            if (!mask.empty()) masks += (masks.empty() ? "" : " ") + std::string(mask);
            m = semi + 1;
        }
        if (!out.empty()) out += ";;";
        out += std::string(name) + " (" + masks + ")";
        pos = end + 1;
    }
    return out;
}

TGuiDialogService::TGuiDialogService(TInteractive interactive) : fInteractive(std::move(interactive)) {}

bool MainFormShowing() {
    if (ScreenlessRun()) return false;
    TApplication* app = ApplicationIfAny();
    return app && app->MainForm() && app->MainForm()->Showing();
}

bool TGuiDialogService::Interactive() const {
    // Without a display nobody can see a dialog, even where the main form counts as shown.
    if (ScreenlessRun()) return false;
    if (fInteractive) return fInteractive();
    return MainFormShowing();
}

TMsgAnswer TGuiDialogService::MessageBox(const TMessageBoxRequest& request) {
    if (!Interactive()) return HeadlessDialogService().MessageBox(request);
    EnsureQtApplication();
    QMessageBox box(ToolkitIcon(request.Icon), ToQString(request.Caption), ToQString(request.Text));
    // Shown as written: a message that quotes an element ("<table>") or an escaped text ("&lt;")
    // is not taken for markup, and its line breaks stay.
    box.setTextFormat(Qt::PlainText);
    const std::vector<TMsgAnswer> answers = AnswersOf(request.Buttons);
    for (TMsgAnswer a : answers) {
        QPushButton* button = box.addButton(ToolkitButton(a));
        for (const auto& texts : {std::span<const TMsgButtonText>(kSwedishButtonTexts), request.ButtonTexts})
            for (const TMsgButtonText& own : texts)
                if (own.Answer == a) button->setText(ToQString(own.Text));
    }
    const size_t def =
        request.DefaultButton >= 0 && static_cast<size_t>(request.DefaultButton) < answers.size()
            ? static_cast<size_t>(request.DefaultButton)
            : 0;
    box.setDefaultButton(ToolkitButton(answers[def]));
    if (answers.size() == 1) box.setEscapeButton(ToolkitButton(answers[0]));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return answers.size() == 1 ? answers[0] : TMsgAnswer::Cancel;
    return AnswerOf(box.standardButton(clicked));
}

bool TGuiDialogService::AskYesNo(std::string_view text, std::string_view caption, bool nonInteractiveAnswer) {
    return MessageBox(YesNoRequest(text, caption, nonInteractiveAnswer)) == TMsgAnswer::Yes;
}

void TGuiDialogService::ShowInformation(std::string_view text, std::string_view caption) {
    MessageBox(InformationRequest(text, caption));
}

std::optional<std::string> TGuiDialogService::OpenFile(const TOpenFileRequest& request) {
    if (!Interactive()) return HeadlessDialogService().OpenFile(request);
    return ChooseFile(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> TGuiDialogService::SaveFile(const TOpenFileRequest& request) {
    if (!Interactive()) return HeadlessDialogService().SaveFile(request);
    return ChooseFile(request, QFileDialog::AcceptSave);
}

std::optional<std::string> TGuiDialogService::BrowseFolder(std::string_view title,
                                                           std::string_view initialFolder) {
    if (!Interactive()) return HeadlessDialogService().BrowseFolder(title, initialFolder);
    EnsureQtApplication();
    QFileDialog dialog(nullptr, ToQString(title), ToQString(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FromQString(dialog.selectedFiles().front());
}

}  // namespace tv
