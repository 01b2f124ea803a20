#include "ui/form_script_handler.h"

#include "platform/gui/form_parts.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/shortcut.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/dialog_service.h"

namespace tv {
namespace {

// The zero-based line of `lines` that holds the text position `position` (a line break counting
// two, as the memo counts it).
int LineOfPosition(const TStrings& lines, int position) {
    int line = 0;
    for (; line < lines.Count() - 1; ++line) {
        const int length = static_cast<int>(Utf8ToUtf16(lines.Strings(line)).size()) + 2;
        if (position < length) break;
        position -= length;
    }
    return line;
}

}  // namespace

const TClassInfo& TFormScriptHandler::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormScriptHandler>("TFormScriptHandler").Build();
    return info;
}

TFormScriptHandler::TFormScriptHandler(TComponent* AOwner, TJobApi api) : TForm(AOwner), Engine(api) {
    SetName("FormScriptHandler");
    CreateComponents();
    FormCreate();
}

TFormScriptHandler::~TFormScriptHandler() {
    Engine.OnMethodsRegistered = nullptr;
}

TAction* TFormScriptHandler::NewAction(const char* name, std::string_view caption, void (TFormScriptHandler::*run)()) {
    return tv::NewAction(ActionList1, name, caption,
                         run ? std::function<void()>([this, run] { (this->*run)(); }) : std::function<void()>());
}

void TFormScriptHandler::CreateComponents() {
    SetCaption(std::string(kScripterCaption));
    SetBounds(0, 0, 760, 540);
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    ALoadScript = NewAction("ALoadScript", "&Load", &TFormScriptHandler::ALoadScriptExecute);
    ALoadScript->SetShortCut(ShortCut('L', {ssCtrl}));
    SaveScript = NewAction("SaveScript", "&Save", &TFormScriptHandler::SaveScriptExecute);
    SaveScript->SetShortCut(ShortCut('S', {ssCtrl}));
    CompileAction = NewAction("Compile", "Compile", &TFormScriptHandler::CompileExecute);
    CompileAction->SetShortCut(ShortCut(VK_F1 + 8, {ssCtrl}));
    ExecuteScript = NewAction("ExecuteScript", "ExecuteScript", nullptr);
    ExecuteScript->SetEnabled(false);

    HeadingLabel = Placed<TLabel>(this, this, "HeadingLabel", alTop);
    HeadingLabel->SetCaption(std::string(kScripterCaption));
    HeadingLabel->Font()->SetSize(12);
    HeadingLabel->Font()->SetStyle({fsBold});
    ActionBar1 = Placed<TActionBar>(this, this, "ActionBar1", alTop);
    for (TAction* a : {ALoadScript, SaveScript, CompileAction, ExecuteScript}) ActionBar1->AddAction(a);

    // Above the status bar: the compiler's messages under the Compile button.
    BottomPanel = Placed<TPanel>(this, this, "BottomPanel", alBottom);
    BottomPanel->SetCaption("");
    BottomPanel->SetHeight(140);
    ButtonPanel = Placed<TPanel>(this, BottomPanel, "ButtonPanel", alTop);
    ButtonPanel->SetCaption("");
    ButtonPanel->SetHeight(34);
    CompileButton = new TButton(this);
    CompileButton->SetName("CompileButton");
    CompileButton->SetParent(ButtonPanel);
    CompileButton->SetBounds(6, 5, 90, 24);
    CompileButton->SetAction(CompileAction);
    MemoMessages = Placed<TMemo>(this, BottomPanel, "MemoMessages", alClient);
    MemoMessages->SetReadOnly(true);
    MemoMessages->SetScrollBars(ssVertical);
    MemoMessages->Lines()->SetText(std::string(kCompilerMessagesText));

    // Bottom-aligned controls stack by where they stand: the status bar starts below the panel.
    StatusBar1 = Placed<TStatusBar>(this, this, "StatusBar1", alNone);
    StatusBar1->SetTop(Height());
    StatusBar1->SetAlign(alBottom);
    StatusBar1->Panels()->Add()->SetWidth(50);
    StatusBar1->Panels()->Add()->SetWidth(100);

    DockTabSet1 = Placed<TDockTabSet>(this, this, "DockTabSet1", alRight);
    DockTabSet1->SetDockWidth(300);
    ListBox1 = new TListBox(this);
    ListBox1->SetName("ListBox1");
    ListBox1->OnDblClick = [this](TObject*) { ListBox1DblClick(); };

    Memo1 = Placed<TMemo>(this, this, "Memo1", alClient);
    Memo1->SetWantTabs(true);
    Memo1->SetWordWrap(false);
    Memo1->SetScrollBars(ssBoth);
    Memo1->Font()->SetName("Monospace");
    Memo1->OnClick = [this](TObject*) { ShowSelectionLine(); };
    Memo1->OnKeyDown = [this](TObject*, uint16_t&, TShiftState) { ShowSelectionLine(); };
    Memo1->OnMouseEnter = [this](TObject*) { ShowSelectionLine(); };
    OnResize = [this](TObject*) { FormResize(); };
}

void TFormScriptHandler::FormCreate() {
    Engine.OnMethodsRegistered = [this] { ListBox1->Items()->Assign(&Engine.registredMethods); };
    ListBox1->SetCaption(std::string(kReferenceListCaption));
    ListBox1->ManualDock(DockTabSet1);
    DockTabSet1->Expand(ListBox1);
}

void TFormScriptHandler::FormResize() {
    try {
        StatusBar1->Panels()->Items(0)->SetWidth(Width() - 10 - StatusBar1->Panels()->Items(1)->Width());
    } catch (const std::exception&) {
        // A form too narrow for the panels keeps their widths.
    }
}

void TFormScriptHandler::LoadScript(const std::string& fileName) {
    Engine.LoadScript(fileName);
    Memo1->Lines()->Assign(&PSScript1.Script());
}

std::vector<std::string> TFormScriptHandler::CompilerMessages() const {
    std::vector<std::string> messages;
    for (size_t i = 0; i < PSScript1.CompilerMessageCount(); ++i)
        messages.push_back(PSScript1.CompilerErrorToStr(i));
    return messages;
}

std::string TFormScriptHandler::ExecErrorToString() const {
    if (PSScript1.ExecErrorCode() == script::ErNoError && PSScript1.Exec().Status() == script::isNotLoaded)
        return std::string(script::kScriptNotCompiled);
    return PSScript1.ExecErrorToString();
}

void TFormScriptHandler::ALoadScriptExecute() {
    TOpenFileRequest request;
    if (ScriptFolder) request.InitialFolder = ScriptFolder();
    if (auto file = DialogService().OpenFile(request)) LoadScript(*file);
}

void TFormScriptHandler::SaveScriptExecute() {
    if (auto file = DialogService().SaveFile({})) Memo1->Lines()->SaveToFile(*file);
}

void TFormScriptHandler::CompileExecute() {
    MemoMessages->Lines()->Clear();
    PSScript1.Script().Assign(Memo1->Lines());
    if (PSScript1.Compile()) {
        DialogService().ShowInformation(kCompiledOk, "");
        return;
    }
    for (const std::string& message : CompilerMessages()) MemoMessages->Lines()->Add(message);
    // A script that compiled but does not load (it calls an operation that is not there) says why.
    if (MemoMessages->Lines()->Count() == 0) MemoMessages->Lines()->Add(PSScript1.ExecErrorToString());
}

void TFormScriptHandler::ListBox1DblClick() {
    const int index = ListBox1->ItemIndex();
    if (index < 0) return;
    const std::string item = ListBox1->Items()->Strings(index);
    const int at = Memo1->SelStart() + Memo1->SelLength();
    Memo1->SetSelStart(at);
    Memo1->SetSelText(item);
}

void TFormScriptHandler::ShowSelectionLine() {
    try {
        StatusBar1->Panels()->Items(1)->SetText(
            std::string(kLinePrefix) + std::to_string(LineOfPosition(*Memo1->Lines(), Memo1->SelStart())));
    } catch (const std::exception&) {
        // The line number is a hint; a memo that cannot tell leaves the panel as it is.
    }
}

}  // namespace tv
