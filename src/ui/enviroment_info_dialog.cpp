#include "ui/enviroment_info_dialog.h"

#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/files.h"
#include "platform/win/shell_service.h"

namespace tv {

const TClassInfo& TEnviromentInfoDialog::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TEnviromentInfoDialog>("TEnviromentInfoDialog").Build();
    return info;
}

TEnviromentInfoDialog::TEnviromentInfoDialog(TComponent* AOwner) : TForm(AOwner) {
    SetName("EnviromentInfoDialog");
    BeginLoading();
    CreateComponents();
    EndLoading();
    FormCreate();
}

void TEnviromentInfoDialog::CreateComponents() {
    SetCaption(std::string(kEnvInfoCaption));
    SetBorderStyle(bsSizeable);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 490, 360);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    FormFontMaster1 = new TFormFontMaster(this);
    FormFontMaster1->SetName("FormFontMaster1");
    FormFontMaster1->SetDesignedFont(Font());

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    CopyEnvInfoToClipboard = new TAction(this);
    CopyEnvInfoToClipboard->SetName("CopyEnvInfoToClipboard");
    CopyEnvInfoToClipboard->SetCaption("&Kopiera");
    CopyEnvInfoToClipboard->SetActionList(ActionList1);
    CopyEnvInfoToClipboard->OnExecute = [this](TObject*) { CopyEnvInfoToClipboardExecute(); };

    ButtonPanel = new TPanel(this);
    ButtonPanel->SetName("ButtonPanel");
    ButtonPanel->SetParent(this);
    ButtonPanel->SetCaption("");
    ButtonPanel->SetBevelOuter(bvNone);
    ButtonPanel->SetHeight(38);
    ButtonPanel->SetAlign(alBottom);
    CopyBtn = new TButton(this);
    CopyBtn->SetName("CopyBtn");
    CopyBtn->SetParent(ButtonPanel);
    CopyBtn->SetBounds(ButtonPanel->Width() - 176, 7, 80, 25);
    CopyBtn->SetAnchors({akTop, akRight});
    CopyBtn->SetAction(CopyEnvInfoToClipboard);
    CloseBtn = new TButton(this);
    CloseBtn->SetName("CloseBtn");
    CloseBtn->SetParent(ButtonPanel);
    CloseBtn->SetBounds(ButtonPanel->Width() - 88, 7, 80, 25);
    CloseBtn->SetAnchors({akTop, akRight});
    CloseBtn->SetCaption("&Stäng");
    CloseBtn->SetModalResult(mrCancel);
    CloseBtn->SetCancel(true);
    CloseBtn->SetDefault(true);

    EnvInfoList = new TListView(this);
    EnvInfoList->SetName("EnvInfoList");
    EnvInfoList->SetParent(this);
    EnvInfoList->SetAlign(alClient);
    EnvInfoList->SetViewStyle(vsReport);
    EnvInfoList->SetReadOnly(true);
    EnvInfoList->SetRowSelect(true);
    TListColumn* name = EnvInfoList->Columns()->Add();
    name->SetCaption(std::string(kEnvInfoNameColumn));
    name->SetWidth(150);
    TListColumn* value = EnvInfoList->Columns()->Add();
    value->SetCaption(std::string(kEnvInfoValueColumn));
    value->SetWidth(300);
    EnvInfoList->OnDblClick = [this](TObject*) { EnvInfoListDblClick(); };
}

void TEnviromentInfoDialog::FormCreate() {
    TStringList entries;
    for (const std::string& line : GetEnvironmentInfo()) entries.Add(line);
    TListItems* items = EnvInfoList->Items();
    items->BeginUpdate();
    try {
        for (int i = 0; i < entries.Count(); ++i) {
            TListItem* item = items->Add();
            item->SetCaption(entries.Names(i));
            item->SubItems()->Add(entries.ValueFromIndex(i));
        }
    } catch (...) {
        items->EndUpdate();
        throw;
    }
    items->EndUpdate();
    ClipText = Caption() + std::string(kLineBreak) + std::string(kEnvInfoRule) + std::string(kLineBreak) +
               entries.Text();
}

void TEnviromentInfoDialog::CopyEnvInfoToClipboardExecute() {
    Clipboard().SetAsText(ClipText);
}

void TEnviromentInfoDialog::EnvInfoListDblClick() {
    TListItem* item = EnvInfoList->Selected();
    if (!item || item->SubItems()->Count() == 0) return;
    const std::string value = item->SubItems()->Strings(0);
    if (value.empty()) return;
    if (DirectoryExists(value))
        ShellService().OpenFolder(value);
    else if (FileExists(value))
        ShellService().OpenFolder(ExtractFileDir(value));
}

void ShowEnvironmentInfo() {
    auto dialog = std::make_unique<TEnviromentInfoDialog>(&Application());
    dialog->ShowModal();
}

}  // namespace tv
