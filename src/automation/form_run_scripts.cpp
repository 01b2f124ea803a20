#include "automation/form_run_scripts.h"

#include <utility>

#include "automation/dm_scripts.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_source.h"
#include "platform/gui/action.h"
#include "platform/gui/button.h"
#include "platform/gui/form_parts.h"
#include "platform/gui/panel.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

constexpr int kScriptColumnWidth = 220;

}  // namespace

const TClassInfo& TFormRunScripts::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormRunScripts>("TFormRunScripts").Build();
    return info;
}

TFormRunScripts::TFormRunScripts(TComponent* AOwner, TDMScripts& scripts, TScriptRunner runScript)
    : TForm(AOwner), scripts_(scripts), runScript_(std::move(runScript)) {
    SetName("FormRunScripts");
    SetCaption(std::string(kScriptListCaption));
    SetBorderStyle(bsSizeToolWin);
    SetDragKind(dkDock);
    SetBounds(0, 0, 260, 420);

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    Run = NewAction(ActionList1, "Run", kRunCaption, [this] { RunExecute(); });

    Panel1 = Placed<TPanel>(this, this, "Panel1", alTop);
    Panel1->SetCaption("");
    Panel1->SetHeight(34);
    Panel1->SetBevelOuter(bvNone);
    RunButton = new TButton(this);
    RunButton->SetName("RunButton");
    RunButton->SetParent(Panel1);
    RunButton->SetBounds(6, 5, 75, 24);
    RunButton->SetAction(Run);

    DSScripts = new TDataSource(this);
    DSScripts->SetName("DSScripts");
    DSScripts->SetDataSet(&scripts_.CDSScripts());
    DBLScripts = Placed<TXDBGrid>(this, this, "DBLScripts", alClient);
    for (const char* field : {"SCRIPT_NAME", "SCRIPT_FILENAME", "SCRIPT_DESCRIPTION"})
        DBLScripts->Columns()->Add()->SetFieldName(field);
    TXColumn* name = DBLScripts->Columns()->Items(0);
    name->Title()->SetCaption("Script");
    name->SetWidth(kScriptColumnWidth);
    DBLScripts->Columns()->Items(1)->SetVisible(false);
    DBLScripts->Columns()->Items(2)->SetVisible(false);
    DBLScripts->SetOptions(DBLScripts->Options() + TXDBGridOptions{dgAllowDeleteOff});
    DBLScripts->SetDataSource(DSScripts);
}

void TFormRunScripts::RunExecute() {
    TClientDataSet& scripts = scripts_.CDSScripts();
    if (scripts.IsEmpty()) return;
    const std::string file = scripts.FieldByName("SCRIPT_FILENAME").AsString();
    if (FileExists(file)) {
        if (runScript_) runScript_(file, false);
        return;
    }
    TMessageBoxRequest request;
    request.Text = std::string(kScriptGone) + file;
    request.Caption = Caption();
    request.Icon = TMsgIcon::Error;
    DialogService().MessageBox(request);
}

}  // namespace tv
