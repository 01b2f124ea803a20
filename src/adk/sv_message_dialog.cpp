#include "adk/sv_message_dialog.h"

namespace tv {
namespace {

TMsgIcon IconOf(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return TMsgIcon::Warning;
        case mtError:
            return TMsgIcon::Error;
        case mtInformation:
            return TMsgIcon::Information;
        case mtConfirmation:
            return TMsgIcon::Question;
        default:
            return TMsgIcon::None;
    }
}

// The answer of the first button of a group: Yes where the group has it, the default button.
TMsgAnswer FirstAnswerOf(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::AbortRetryIgnore:
            return TMsgAnswer::Abort;
        case TMsgButtons::YesNoCancel:
        case TMsgButtons::YesNo:
            return TMsgAnswer::Yes;
        case TMsgButtons::RetryCancel:
            return TMsgAnswer::Retry;
        default:
            return TMsgAnswer::Ok;
    }
}

}  // namespace

std::string_view SvDialogCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return "Varning";
        case mtError:
            return "Fel";
        case mtInformation:
            return "Information";
        case mtConfirmation:
            return "bekräfta";
        default:
            return "";
    }
}

std::string_view SvButtonCaption(TMsgAnswer answer) {
    for (const auto& b : kSwedishButtonTexts)
        if (b.Answer == answer) return b.Text;
    return "";
}

TMessageBoxRequest SvCreateMessageDialog(std::string_view msg, TMsgDlgType type, TMsgButtons buttons) {
    TMessageBoxRequest request;
    request.Text = msg;
    request.Caption = SvDialogCaption(type);
    request.Buttons = buttons;
    request.Icon = IconOf(type);
    request.DefaultButton = 0;
    request.NonInteractiveAnswer = FirstAnswerOf(buttons);
    request.ButtonTexts = kSwedishButtonTexts;
    return request;
}

// Help contexts have no help file to open on this platform.
TMsgAnswer SvMessageDlg(std::string_view msg, TMsgDlgType type, TMsgButtons buttons, int /*helpCtx*/) {
    return DialogService().MessageBox(SvCreateMessageDialog(msg, type, buttons));
}

}  // namespace tv
