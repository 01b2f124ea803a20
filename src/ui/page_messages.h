#pragma once
// The message boxes of the settings pages, in Swedish through the dialog service: an information
// box (the results the pages show), an error box and a Yes/No question.

#include <string_view>

#include "adk/sv_message_dialog.h"

namespace tv {

inline void ShowPageInformation(std::string_view text) {
    SvMessageDlg(text, mtInformation, TMsgButtons::Ok);
}

inline void ShowPageError(std::string_view text) {
    SvMessageDlg(text, mtError, TMsgButtons::Ok);
}

inline bool AskPageQuestion(std::string_view text) {
    return SvMessageDlg(text, mtConfirmation, TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

}  // namespace tv
