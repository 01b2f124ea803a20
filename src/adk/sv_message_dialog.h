#pragma once
// Message dialogs in Swedish, as the kit components show them: the caption by the dialog's type,
// the buttons' texts by their answers, the Yes button as the default. They go through the dialog
// service, so a run without an operator never waits on one.

#include <string>
#include <string_view>

#include "platform/rtl/dialog_service.h"

namespace tv {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// "Varning", "Fel", "Information", "bekräfta"; empty for a custom dialog, which keeps its caption.
std::string_view SvDialogCaption(TMsgDlgType type);
// The Swedish text of the button giving `answer` ("OK", "Avbryt", "&Ja" ...).
std::string_view SvButtonCaption(TMsgAnswer answer);

// The message request as the dialog is built: caption, icon, buttons, the Yes button as default
// when there is one; a run without an operator answers with the default button.
TMessageBoxRequest SvCreateMessageDialog(std::string_view msg, TMsgDlgType type, TMsgButtons buttons);
// Shows the dialog through the dialog service and returns the answer.
TMsgAnswer SvMessageDlg(std::string_view msg, TMsgDlgType type, TMsgButtons buttons, int helpCtx = 0);

}  // namespace tv
