#pragma once
// "Systeminformation": the facts the program records about itself and its environment while it
// runs (the environment-information list), one row per entry in the columns "Info" and "Värde",
// with a copy of the whole list to the clipboard. A double click on a row whose value is a folder,
// or a file, opens that folder, or the folder holding the file, in the file manager.

#include <string>
#include <string_view>

#include "platform/gui/action.h"
#include "platform/gui/button.h"
#include "platform/gui/form.h"
#include "platform/gui/list_view.h"
#include "platform/gui/panel.h"
#include "ui/form_font_master.h"

namespace tv {

inline constexpr std::string_view kEnvInfoCaption = "Systeminformation";
inline constexpr std::string_view kEnvInfoNameColumn = "Info";
inline constexpr std::string_view kEnvInfoValueColumn = "Värde";
inline constexpr std::string_view kEnvInfoRule = "------------------------------";

class TEnviromentInfoDialog : public TForm {
    TV_CLASS(TEnviromentInfoDialog, TForm)
public:
    // Made hidden, the list filled with the entries recorded so far.
    explicit TEnviromentInfoDialog(TComponent* AOwner);

    void FormCreate();
    void CopyEnvInfoToClipboardExecute();
    void EnvInfoListDblClick();

    // What "&Kopiera" puts on the clipboard: the caption, a rule of hyphens and the entries.
    std::string ClipText;

    TActionList* ActionList1 = nullptr;
    TAction* CopyEnvInfoToClipboard = nullptr;
    TListView* EnvInfoList = nullptr;
    TPanel* ButtonPanel = nullptr;
    TButton* CopyBtn = nullptr;
    TButton* CloseBtn = nullptr;
    TFormFontMaster* FormFontMaster1 = nullptr;

private:
    void CreateComponents();
};

// Shows the dialog modally, owned by the application, and frees it.
void ShowEnvironmentInfo();

}  // namespace tv
