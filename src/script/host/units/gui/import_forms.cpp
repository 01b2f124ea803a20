// The unit forms: the scroll-bar settings object, scrolling controls, the scroll box, forms and the
// application object with the form enumerations and event types.

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/scrolling_win_control.h"
#include "script/host/units/gui/gui_units.h"

namespace tv::script::units {

namespace {

// The application's events, converted between script procedures and host methods (the class library
// has them as plain pairs that move the method reference).
TNotifyEvent& AppOnActivate(TApplication* a) {
    return a->OnActivate;
}
TNotifyEvent& AppOnDeactivate(TApplication* a) {
    return a->OnDeactivate;
}
TIdleEvent& AppOnIdle(TApplication* a) {
    return a->OnIdle;
}
TNotifyEvent& AppOnHint(TApplication* a) {
    return a->OnHint;
}
TNotifyEvent& AppOnMinimize(TApplication* a) {
    return a->OnMinimize;
}
TNotifyEvent& AppOnRestore(TApplication* a) {
    return a->OnRestore;
}
THelpEvent& AppOnHelp(TApplication* a) {
    return a->OnHelp;
}

constexpr TImportRow kForms[] = {
    Type("TIdleEvent", "procedure (Sender: TObject; var Done: Boolean)"),
    Type("TScrollBarKind", "(sbHorizontal, sbVertical)"),
    Type("TScrollBarInc", "SmallInt"),
    Type("TFormBorderStyle", "(bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)"),
    Type("TBorderStyle", "TFormBorderStyle"),
    Type("TWindowState", "(wsNormal, wsMinimized, wsMaximized)"),
    Type("TFormStyle", "(fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)"),
    Type("TPosition",
         "(poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, "
         "poMainFormCenter, poOwnerFormCenter)"),
    Type("TPrintScale", "(poNone, poProportional, poPrintToFit)"),
    Type("TCloseAction", "(caNone, caHide, caFree, caMinimize)"),
    Type("TCloseEvent", "procedure(Sender: TObject; var Action: TCloseAction)"),
    Type("TCloseQueryEvent", "procedure(Sender: TObject; var CanClose: Boolean)"),
    Type("TBorderIcon", "(biSystemMenu, biMinimize, biMaximize, biHelp)"),
    Type("TBorderIcons", "set of TBorderIcon"),
    Type("THelpContext", "LongInt"),

    Class("TControlScrollBar", "TPersistent", &TControlScrollBar::StaticClassInfo),
    Property("TControlScrollBar", "Kind", "TScrollBarKind", iptR, TBind::Pair,
             PropGet<&TControlScrollBar::Kind>()),
    Property("TControlScrollBar", "ScrollPos", "Integer", iptR, TBind::Pair,
             PropGet<&TControlScrollBar::ScrollPos>()),
    Property("TControlScrollBar", "Margin", "Word", iptRW, TBind::Published),
    Property("TControlScrollBar", "Increment", "TScrollBarInc", iptRW, TBind::Published),
    Property("TControlScrollBar", "Range", "Integer", iptRW, TBind::Published),
    Property("TControlScrollBar", "Position", "Integer", iptRW, TBind::Published),
    Property("TControlScrollBar", "Tracking", "Boolean", iptRW, TBind::Published),
    Property("TControlScrollBar", "Visible", "Boolean", iptRW, TBind::Published),

    Class("TScrollingWinControl", "TWinControl", &TScrollingWinControl::StaticClassInfo),
    Member("TScrollingWinControl", "procedure ScrollInView(AControl: TControl)", TBind::Direct,
           Method<&TScrollingWinControl::ScrollInView>()),
    Property("TScrollingWinControl", "HorzScrollBar", "TControlScrollBar", iptRW, TBind::Published),
    Property("TScrollingWinControl", "VertScrollBar", "TControlScrollBar", iptRW, TBind::Published),

    Class("TScrollBox", "TScrollingWinControl", &TScrollBox::StaticClassInfo),
    Property("TScrollBox", "Anchors", "TAnchors", iptRW, TBind::Published),
    Property("TScrollBox", "Constraints", "TSizeConstraints", iptRW, TBind::Published),
    Property("TScrollBox", "BorderStyle", "TBorderStyle", iptRW, TBind::Published),
    Property("TScrollBox", "Color", "TColor", iptRW, TBind::Published),
    Property("TScrollBox", "Font", "TFont", iptRW, TBind::Published),
    Property("TScrollBox", "AutoScroll", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "ParentColor", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "ParentFont", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "OnClick", "TNotifyEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnDblClick", "TNotifyEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnEnter", "TNotifyEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnExit", "TNotifyEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnResize", "TNotifyEvent", iptRW, TBind::Published),
    Property("TScrollBox", "DragCursor", "TCursor", iptRW, TBind::Published),
    Property("TScrollBox", "DragMode", "TDragMode", iptRW, TBind::Published),
    Property("TScrollBox", "ParentShowHint", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "PopupMenu", "TPopupMenu", iptRW, TBind::None),
    Property("TScrollBox", "CTL3D", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "ParentCtl3D", "Boolean", iptRW, TBind::Published),
    Property("TScrollBox", "OnDragDrop", "TDragDropEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnDragOver", "TDragOverEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnEndDrag", "TEndDragEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnMouseDown", "TMouseEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnMouseMove", "TMouseMoveEvent", iptRW, TBind::Published),
    Property("TScrollBox", "OnMouseUp", "TMouseEvent", iptRW, TBind::Published),

    Class("TForm", "TScrollingWinControl", &TForm::StaticClassInfo),
    Member("TForm", "constructor CreateNew(AOwner: TComponent; Dummy: Integer)", TBind::VirtualConstructor,
           Constructor<TComponent*, int32_t>()),
    Member("TForm", "procedure Close", TBind::Direct, Method<&TForm::Close>()),
    Member("TForm", "procedure Hide", TBind::Direct, Method<&TForm::Hide>()),
    Member("TForm", "procedure Show", TBind::Direct, Method<&TForm::Show>()),
    Member("TForm", "function ShowModal: Integer", TBind::Direct, Method<&TForm::ShowModal>()),
    Member("TForm", "procedure Release", TBind::Direct, Method<&TForm::Release>()),
    Property("TForm", "Active", "Boolean", iptR, TBind::Pair, PropGet<&TForm::Active>()),
    Property("TForm", "ActiveControl", "TWinControl", iptRW, TBind::Published),
    Property("TForm", "Anchors", "TAnchors", iptRW, TBind::Published),
    Property("TForm", "Constraints", "TSizeConstraints", iptRW, TBind::Published),
    Property("TForm", "BorderIcons", "TBorderIcons", iptRW, TBind::Published),
    Property("TForm", "BorderStyle", "TFormBorderStyle", iptRW, TBind::Published),
    Property("TForm", "Caption", "NativeString", iptRW, TBind::Published),
    Property("TForm", "AutoScroll", "Boolean", iptRW, TBind::Published),
    Property("TForm", "Color", "TColor", iptRW, TBind::Published),
    Property("TForm", "Font", "TFont", iptRW, TBind::Published),
    Property("TForm", "FormStyle", "TFormStyle", iptRW, TBind::Published),
    Property("TForm", "KeyPreview", "Boolean", iptRW, TBind::Published),
    Property("TForm", "Position", "TPosition", iptRW, TBind::Published),
    Property("TForm", "OnActivate", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnClick", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnDblClick", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnClose", "TCloseEvent", iptRW, TBind::Published),
    Property("TForm", "OnCloseQuery", "TCloseQueryEvent", iptRW, TBind::Published),
    Property("TForm", "OnCreate", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnDestroy", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnDeactivate", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnHide", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnKeyDown", "TKeyEvent", iptRW, TBind::Published),
    Property("TForm", "OnKeyPress", "TKeyPressEvent", iptRW, TBind::Published),
    Property("TForm", "OnKeyUp", "TKeyEvent", iptRW, TBind::Published),
    Property("TForm", "OnResize", "TNotifyEvent", iptRW, TBind::Published),
    Property("TForm", "OnShow", "TNotifyEvent", iptRW, TBind::Published),
    Member("TForm", "procedure ArrangeIcons", TBind::Direct, Method<&TForm::ArrangeIcons>()),
    Member("TForm", "procedure Print", TBind::Direct, Method<&TForm::Print>()),
    Member("TForm", "procedure SendCancelMode(Sender: TControl)", TBind::Direct,
           Method<&TForm::SendCancelMode>()),
    Property("TForm", "ActiveOleControl", "TWinControl", iptRW, TBind::Pair,
             PropGet<&TForm::ActiveOleControl>(), PropSet<&TForm::SetActiveOleControl>()),
    Property("TForm", "OleFormObject", "TOLEFormObject", iptRW, TBind::None),
    Property("TForm", "ClientHandle", "LongInt", iptR, TBind::Pair, PropGet<&TForm::ClientHandle>()),
    Property("TForm", "TileMode", "TTileMode", iptRW, TBind::None),
    Member("TForm", "procedure Cascade", TBind::Direct, Method<&TForm::Cascade>()),
    Member("TForm", "function CloseQuery: Boolean", TBind::Direct, Method<&TForm::CloseQuery>()),
    Member("TForm", "procedure DefocusControl(Control: TWinControl; Removing: Boolean)", TBind::Direct,
           Method<&TForm::DefocusControl>()),
    Member("TForm", "procedure FocusControl(Control: TWinControl)", TBind::Direct,
           Method<&TForm::FocusControl>()),
    Member("TForm", "procedure Next", TBind::Direct, Method<&TForm::Next>()),
    Member("TForm", "procedure Previous", TBind::Direct, Method<&TForm::Previous>()),
    Member("TForm", "function SetFocusedControl(Control: TWinControl): Boolean", TBind::Direct,
           Method<&TForm::SetFocusedControl>()),
    Member("TForm", "procedure Tile", TBind::Direct, Method<&TForm::Tile>()),
    Property("TForm", "ActiveMDIChild", "TForm", iptR, TBind::Pair, PropGet<&TForm::ActiveMDIChild>()),
    Property("TForm", "Canvas", "TCanvas", iptR, TBind::Pair, PropGet<&TForm::Canvas>()),
    Property("TForm", "DropTarget", "Boolean", iptRW, TBind::Pair, FieldGet<&TForm::DropTarget>(),
             FieldSet<&TForm::DropTarget>()),
    Property("TForm", "ModalResult", "LongInt", iptRW, TBind::Pair, FieldGet<&TForm::ModalResult>(),
             FieldSet<&TForm::ModalResult>()),
    Property("TForm", "MDIChildCount", "Integer", iptR, TBind::Pair, PropGet<&TForm::MDIChildCount>()),
    Property("TForm", "MDIChildren", "TForm Integer", iptR, TBind::Pair, PropGet<&TForm::MDIChildren>()),
    Property("TForm", "Icon", "TIcon", iptRW, TBind::None),
    Property("TForm", "Menu", "TMainMenu", iptRW, TBind::None),
    Property("TForm", "ObjectMenuItem", "TMenuItem", iptRW, TBind::None),
    Property("TForm", "PixelsPerInch", "Integer", iptRW, TBind::Published),
    Property("TForm", "PrintScale", "TPrintScale", iptRW, TBind::Published),
    Property("TForm", "Scaled", "Boolean", iptRW, TBind::Published),
    Property("TForm", "WindowState", "TWindowState", iptRW, TBind::Published),
    Property("TForm", "WindowMenu", "TMenuItem", iptRW, TBind::None),
    Property("TForm", "CTL3D", "Boolean", iptRW, TBind::Published),
    Property("TForm", "PopupMenu", "TPopupMenu", iptRW, TBind::None),
    Property("TForm", "OnDragDrop", "TDragDropEvent", iptRW, TBind::Published),
    Property("TForm", "OnDragOver", "TDragOverEvent", iptRW, TBind::Published),
    Property("TForm", "OnMouseDown", "TMouseEvent", iptRW, TBind::Published),
    Property("TForm", "OnMouseMove", "TMouseMoveEvent", iptRW, TBind::Published),
    Property("TForm", "OnMouseUp", "TMouseEvent", iptRW, TBind::Published),
    Property("TForm", "OnPaint", "TNotifyEvent", iptRW, TBind::Published),

    Class("TApplication", "TComponent", &TApplication::StaticClassInfo),
    Member("TApplication", "procedure BringToFront", TBind::Direct, Method<&TApplication::BringToFront>()),
    Member("TApplication", "function MessageBox(Text,Caption: string; Flags: Word): Integer", TBind::Direct,
           Method<&TApplication::MessageBox>()),
    Member("TApplication", "procedure Minimize", TBind::Direct, Method<&TApplication::Minimize>()),
    Member("TApplication", "procedure ProcessMessages", TBind::Direct,
           Method<&TApplication::ProcessMessages>()),
    Member("TApplication", "procedure Restore", TBind::Direct, Method<&TApplication::Restore>()),
    Member("TApplication", "procedure Terminate", TBind::Direct, Method<&TApplication::Terminate>()),
    Property("TApplication", "Active", "Boolean", iptR, TBind::Pair, PropGet<&TApplication::Active>()),
    Property("TApplication", "ExeName", "NativeString", iptR, TBind::Pair, PropGet<&TApplication::ExeName>()),
    Property("TApplication", "Handle", "LongInt", iptRW, TBind::Pair, PropGet<&TApplication::Handle>(),
             PropSet<&TApplication::SetHandle>()),
    Property("TApplication", "UpdateFormatSettings", "Boolean", iptRW, TBind::Pair,
             PropGet<&TApplication::UpdateFormatSettings>(),
             PropSet<&TApplication::SetUpdateFormatSettings>()),
    Property("TApplication", "Hint", "NativeString", iptRW, TBind::Pair, PropGet<&TApplication::Hint>(),
             PropSet<&TApplication::SetHint>()),
    Property("TApplication", "MainForm", "TForm", iptR, TBind::Pair, PropGet<&TApplication::MainForm>()),
    Property("TApplication", "ShowHint", "Boolean", iptRW, TBind::Pair, PropGet<&TApplication::ShowHint>(),
             PropSet<&TApplication::SetShowHint>()),
    Property("TApplication", "ShowMainForm", "Boolean", iptRW, TBind::Pair,
             PropGet<&TApplication::ShowMainForm>(), PropSet<&TApplication::SetShowMainForm>()),
    Property("TApplication", "Terminated", "Boolean", iptR, TBind::Pair,
             PropGet<&TApplication::Terminated>()),
    Property("TApplication", "Title", "NativeString", iptRW, TBind::Pair, PropGet<&TApplication::Title>(),
             PropSet<&TApplication::SetTitle>()),
    Property("TApplication", "OnActivate", "TNotifyEvent", iptRW, TBind::EventPair,
             EventRefGet<&AppOnActivate>(), EventRefSet<&AppOnActivate>()),
    Property("TApplication", "OnDeactivate", "TNotifyEvent", iptRW, TBind::EventPair,
             EventRefGet<&AppOnDeactivate>(), EventRefSet<&AppOnDeactivate>()),
    Property("TApplication", "OnIdle", "TIdleEvent", iptRW, TBind::EventPair, EventRefGet<&AppOnIdle>(),
             EventRefSet<&AppOnIdle>()),
    Property("TApplication", "OnHint", "TNotifyEvent", iptRW, TBind::EventPair, EventRefGet<&AppOnHint>(),
             EventRefSet<&AppOnHint>()),
    Property("TApplication", "OnMinimize", "TNotifyEvent", iptRW, TBind::EventPair,
             EventRefGet<&AppOnMinimize>(), EventRefSet<&AppOnMinimize>()),
    Property("TApplication", "OnRestore", "TNotifyEvent", iptRW, TBind::EventPair,
             EventRefGet<&AppOnRestore>(), EventRefSet<&AppOnRestore>()),
    Member("TApplication", "procedure ControlDestroyed(Control: TControl)", TBind::Direct,
           Method<&TApplication::ControlDestroyed>()),
    Member("TApplication", "procedure CancelHint", TBind::Direct, Method<&TApplication::CancelHint>()),
    Member("TApplication", "procedure HandleException(Sender: TObject)", TBind::None),
    Member("TApplication", "procedure HandleMessage", TBind::Direct, Method<&TApplication::HandleMessage>()),
    Member("TApplication", "procedure HideHint", TBind::Direct, Method<&TApplication::HideHint>()),
    Member("TApplication", "procedure Initialize", TBind::Direct, Method<&TApplication::Initialize>()),
    Member("TApplication", "procedure NormalizeTopMosts", TBind::Direct,
           Method<&TApplication::NormalizeTopMosts>()),
    Member("TApplication", "procedure RestoreTopMosts", TBind::Direct,
           Method<&TApplication::RestoreTopMosts>()),
    Member("TApplication", "procedure Run", TBind::Direct, Method<&TApplication::Run>()),
    Member("TApplication", "function HelpCommand(Command: Integer; Data: LongInt): Boolean", TBind::Direct,
           Method<&TApplication::HelpCommand>()),
    Member("TApplication", "function HelpContext(Context: THelpContext): Boolean", TBind::Direct,
           Method<&TApplication::HelpContext>()),
    Member("TApplication", "function HelpJump(JumpID: NativeString): Boolean", TBind::Direct,
           Method<&TApplication::HelpJump>()),
    Property("TApplication", "DialogHandle", "LongInt", iptRW, TBind::Pair,
             PropGet<&TApplication::DialogHandle>(), PropSet<&TApplication::SetDialogHandle>()),
    Member("TApplication", "procedure CreateHandle", TBind::Direct, Method<&TApplication::CreateHandle>()),
    Property("TApplication", "HelpFile", "NativeString", iptRW, TBind::Pair,
             PropGet<&TApplication::HelpFile>(), PropSet<&TApplication::SetHelpFile>()),
    Property("TApplication", "HintColor", "TColor", iptRW, TBind::Pair, PropGet<&TApplication::HintColor>(),
             PropSet<&TApplication::SetHintColor>()),
    Property("TApplication", "HintPause", "Integer", iptRW, TBind::Pair, PropGet<&TApplication::HintPause>(),
             PropSet<&TApplication::SetHintPause>()),
    Property("TApplication", "HintShortPause", "Integer", iptRW, TBind::Pair,
             PropGet<&TApplication::HintShortPause>(), PropSet<&TApplication::SetHintShortPause>()),
    Property("TApplication", "HintHidePause", "Integer", iptRW, TBind::Pair,
             PropGet<&TApplication::HintHidePause>(), PropSet<&TApplication::SetHintHidePause>()),
    Property("TApplication", "Icon", "TIcon", iptRW, TBind::None),
    Property("TApplication", "OnHelp", "THelpEvent", iptRW, TBind::EventPair, EventRefGet<&AppOnHelp>(),
             EventRefSet<&AppOnHelp>()),

};

constexpr std::string_view kFormsRunOrder[] = {"TControlScrollBar", "TScrollBox", "TScrollingWinControl",
                                               "TForm", "TApplication"};

}  // namespace

const TImportUnit kFormsUnit{"forms", kForms, kFormsRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportForms(TPSPascalCompiler& c) {
    units::CompileImport(c, units::kFormsUnit, true);
}

void ExecImportForms(TPSRuntimeClassImporter& ri) {
    units::ExecImport(ri, units::kFormsUnit, true);
}

}  // namespace tv::script
