// The unit controls: the control hierarchy roots, the drag object and size constraints, the shift,
// mouse, key, drag and alignment types with the modal-result and cursor constants.

#include <algorithm>

#include "platform/gui/control.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/drag_object.h"
#include "platform/gui/graphic_control.h"
#include "platform/gui/size_constraints.h"
#include "platform/gui/win_control.h"
#include "script/host/units/gui/gui_units.h"

namespace tv::script::units {

namespace {

// The text goes into the PChar's own storage, never beyond it whatever BufSize says.
int32_t GetTextBufOf(TControl* self, const AnsiString& buffer, int32_t bufSize) {
    if (buffer.empty() || bufSize <= 0) return 0;
    const int32_t room = std::min(bufSize, buffer.size() + 1);  // the terminating zero's place included
    return self->GetTextBuf(const_cast<char*>(buffer.data()), room);
}
void SetTextBufOf(TControl* self, const AnsiString& buffer) {
    self->SetTextBuf(buffer.data());
}
// A 16-bit signed number, widened with its sign.
int32_t TabOrderOf(TWinControl* self) {
    return self->TabOrder();
}
void SetTabOrderOf(TWinControl* self, int32_t value) {
    self->SetTabOrder(static_cast<TTabOrder>(value));
}
void PaintToOf(TWinControl* self, int32_t dc, int32_t x, int32_t y) {
    self->PaintTo(dc, x, y);
}
void DragAssignOf(TDragObject* self, TDragObject* source) {
    self->Assign(source);
}

constexpr TImportRow kControls[] = {
    Type("TEShiftState", "(ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)"),
    Type("TShiftState", "set of TEShiftState"),
    Type("TMouseButton", "(mbLeft, mbRight, mbMiddle)"),
    Type("TDragMode", "(dmManual, dmAutomatic)"),
    Type("TDragState", "(dsDragEnter, dsDragLeave, dsDragMove)"),
    Type("TDragKind", "(dkDrag, dkDock)"),
    Type("TMouseEvent",
         "procedure (Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);"),
    Type("TMouseMoveEvent", "procedure(Sender: TObject; Shift: TShiftState; X, Y: Integer);"),
    Type("TKeyEvent", "procedure (Sender: TObject; var Key: Word; Shift: TShiftState);"),
    Type("TKeyPressEvent", "procedure(Sender: TObject; var Key: Char);"),
    Type("TDragOverEvent",
         "procedure(Sender, Source: TObject; X, Y: Integer; State: TDragState; var Accept: Boolean)"),
    Type("TDragDropEvent", "procedure(Sender, Source: TObject; X, Y: Integer)"),
    Type("HWND", "LongInt"),
    Type("TEndDragEvent", "procedure(Sender, Target: TObject; X, Y: Integer)"),
    Type("TAlign", "(alNone, alTop, alBottom, alLeft, alRight, alClient)"),
    Type("TAnchorKind", "(akLeft, akTop, akRight, akBottom)"),
    Type("TAnchors", "set of TAnchorKind"),
    Type("TModalResult", "Integer"),
    Type("TCursor", "Integer"),
    Type("TPoint", "record X,Y: LongInt; end;"),
    Constant("mrNone", "Integer", 0),
    Constant("mrOk", "Integer", 1),
    Constant("mrCancel", "Integer", 2),
    Constant("mrAbort", "Integer", 3),
    Constant("mrRetry", "Integer", 4),
    Constant("mrIgnore", "Integer", 5),
    Constant("mrYes", "Integer", 6),
    Constant("mrNo", "Integer", 7),
    Constant("mrAll", "Integer", 8),
    Constant("mrNoToAll", "Integer", 9),
    Constant("mrYesToAll", "Integer", 10),
    Constant("crDefault", "Integer", 0),
    Constant("crNone", "Integer", -1),
    Constant("crArrow", "Integer", -2),
    Constant("crCross", "Integer", -3),
    Constant("crIBeam", "Integer", -4),
    // No cursor constant has the value -5.
    Constant("crSizeNESW", "Integer", -6),
    Constant("crSizeNS", "Integer", -7),
    Constant("crSizeNWSE", "Integer", -8),
    Constant("crSizeWE", "Integer", -9),
    Constant("crUpArrow", "Integer", -10),
    Constant("crHourGlass", "Integer", -11),
    Constant("crDrag", "Integer", -12),
    Constant("crNoDrop", "Integer", -13),
    Constant("crHSplit", "Integer", -14),
    Constant("crVSplit", "Integer", -15),
    Constant("crMultiDrag", "Integer", -16),
    Constant("crSQLWait", "Integer", -17),
    Constant("crNo", "Integer", -18),
    Constant("crAppStart", "Integer", -19),
    Constant("crHelp", "Integer", -20),
    Constant("crHandPoint", "Integer", -21),
    Constant("crSizeAll", "Integer", -22),
    Type("TBevelKind", "(bkNone, bkTile, bkSoft, bkFlat)"),

    Class("TDragObject", "TObject", &TDragObject::StaticClassInfo),
    Member("TDragObject", "procedure Assign(Source: TDragObject)", TBind::Virtual, Method<&DragAssignOf>()),
    Member("TDragObject", "function GetName: string", TBind::Virtual, Method<&TDragObject::GetName>()),
    Member("TDragObject", "function Instance: LongInt", TBind::Virtual, Method<&TDragObject::Instance>()),
    Member("TDragObject", "procedure HideDragImage", TBind::Virtual, Method<&TDragObject::HideDragImage>()),
    Member("TDragObject", "procedure ShowDragImage", TBind::Virtual, Method<&TDragObject::ShowDragImage>()),
    Property("TDragObject", "Cancelling", "Boolean", iptRW, TBind::Pair, FieldGet<&TDragObject::Cancelling>(),
             FieldSet<&TDragObject::Cancelling>()),
    Property("TDragObject", "DragHandle", "LongInt", iptRW, TBind::Pair, FieldGet<&TDragObject::DragHandle>(),
             FieldSet<&TDragObject::DragHandle>()),
    Property("TDragObject", "DragPos", "TPoint", iptRW, TBind::Pair, FieldGet<&TDragObject::DragPos>(),
             FieldSet<&TDragObject::DragPos>()),
    Property("TDragObject", "DragTargetPos", "TPoint", iptRW, TBind::Pair,
             FieldGet<&TDragObject::DragTargetPos>(), FieldSet<&TDragObject::DragTargetPos>()),
    Property("TDragObject", "MouseDeltaX", "Double", iptR, TBind::Pair, PropGet<&TDragObject::MouseDeltaX>()),
    Property("TDragObject", "MouseDeltaY", "Double", iptR, TBind::Pair, PropGet<&TDragObject::MouseDeltaY>()),
    Type("TStartDragEvent", "procedure (Sender: TObject; var DragObject: TDragObject)"),

    Type("TConstraintSize", "Integer"),
    Class("TSizeConstraints", "TPersistent", &TSizeConstraints::StaticClassInfo),
    Property("TSizeConstraints", "MaxHeight", "TConstraintSize", iptRW, TBind::Published),
    Property("TSizeConstraints", "MaxWidth", "TConstraintSize", iptRW, TBind::Published),
    Property("TSizeConstraints", "MinHeight", "TConstraintSize", iptRW, TBind::Published),
    Property("TSizeConstraints", "MinWidth", "TConstraintSize", iptRW, TBind::Published),

    Class("TControl", "TComponent", &TControl::StaticClassInfo),
    Member("TControl", "constructor Create(AOwner: TComponent);", TBind::VirtualConstructor,
           Constructor<TComponent*>()),
    Member("TControl", "procedure BringToFront;", TBind::Direct, Method<&TControl::BringToFront>()),
    Member("TControl", "procedure Hide;", TBind::Direct, Method<&TControl::Hide>()),
    Member("TControl", "procedure Invalidate; virtual;", TBind::Virtual, Method<&TControl::Invalidate>()),
    Member("TControl", "procedure Refresh;", TBind::Direct, Method<&TControl::Refresh>()),
    Member("TControl", "procedure Repaint; virtual;", TBind::Virtual, Method<&TControl::Repaint>()),
    Member("TControl", "procedure SendToBack;", TBind::Direct, Method<&TControl::SendToBack>()),
    Member("TControl", "procedure Show;", TBind::Direct, Method<&TControl::Show>()),
    Member("TControl", "procedure Update; virtual;", TBind::Virtual, Method<&TControl::Update>()),
    Member("TControl", "procedure SetBounds(X,Y,w,h: Integer); virtual;", TBind::Virtual,
           Method<&TControl::SetBounds>()),
    Property("TControl", "Left", "Integer", iptRW, TBind::Published),
    Property("TControl", "Top", "Integer", iptRW, TBind::Published),
    Property("TControl", "Width", "Integer", iptRW, TBind::Published),
    Property("TControl", "Height", "Integer", iptRW, TBind::Published),
    Property("TControl", "Hint", "string", iptRW, TBind::Published),
    Property("TControl", "Align", "TAlign", iptRW, TBind::Pair, PropGet<&TControl::Align>(),
             PropSet<&TControl::SetAlign>()),
    Property("TControl", "ClientHeight", "LongInt", iptRW, TBind::Pair, PropGet<&TControl::ClientHeight>(),
             PropSet<&TControl::SetClientHeight>()),
    Property("TControl", "ClientWidth", "LongInt", iptRW, TBind::Pair, PropGet<&TControl::ClientWidth>(),
             PropSet<&TControl::SetClientWidth>()),
    Property("TControl", "ShowHint", "Boolean", iptRW, TBind::Pair, PropGet<&TControl::ShowHint>(),
             PropSet<&TControl::SetShowHint>()),
    Property("TControl", "Visible", "Boolean", iptRW, TBind::Pair, PropGet<&TControl::Visible>(),
             PropSet<&TControl::SetVisible>()),
    Property("TControl", "Enabled", "Boolean", iptRW, TBind::Pair, PropGet<&TControl::Enabled>(),
             PropSet<&TControl::SetEnabled>()),
    Property("TControl", "Cursor", "TCursor", iptRW, TBind::Published),
    Member("TControl", "function Dragging: Boolean;", TBind::Direct, Method<&TControl::Dragging>()),
    Member("TControl", "function HasParent: Boolean", TBind::Direct, Method<&TControl::HasParent>()),
    Member("TControl", "procedure BeginDrag(Immediate: Boolean)", TBind::Direct,
           Method<&TControl::BeginDrag>()),
    Member("TControl", "function ClientToScreen(Point: TPoint): TPoint", TBind::Direct,
           Method<&TControl::ClientToScreen>()),
    Member("TControl", "procedure EndDrag(Drop: Boolean)", TBind::Direct, Method<&TControl::EndDrag>()),
    Member("TControl", "function GetTextBuf(Buffer: PChar; BufSize: Integer): Integer", TBind::Direct,
           Method<&GetTextBufOf>()),
    Member("TControl", "function GetTextLen: Integer", TBind::Direct, Method<&TControl::GetTextLen>()),
    Member("TControl", "procedure SetTextBuf(Buffer: PChar)", TBind::Direct, Method<&SetTextBufOf>()),
    Member("TControl", "function Perform(Msg: Cardinal; WPARAM,LPARAM: LongInt): LongInt", TBind::Direct,
           Method<&TControl::Perform>()),
    Member("TControl", "function ScreenToClient(Point: TPoint): TPoint", TBind::Direct,
           Method<&TControl::ScreenToClient>()),

    Class("TWinControl", "TControl", &TWinControl::StaticClassInfo),
    Property("TWinControl", "Handle", "LongInt", iptR, TBind::Pair, PropGet<&TWinControl::Handle>()),
    Property("TWinControl", "Showing", "Boolean", iptR, TBind::Pair, PropGet<&TWinControl::Showing>()),
    Property("TWinControl", "TabOrder", "Integer", iptRW, TBind::Pair, PropGet<&TabOrderOf>(),
             PropSet<&SetTabOrderOf>()),
    Property("TWinControl", "TabStop", "Boolean", iptRW, TBind::Pair, PropGet<&TWinControl::TabStop>(),
             PropSet<&TWinControl::SetTabStop>()),
    Member("TWinControl", "function CanFocus: Boolean", TBind::Direct, Method<&TWinControl::CanFocus>()),
    Member("TWinControl", "function Focused: Boolean", TBind::Direct, Method<&TWinControl::Focused>()),
    Property("TWinControl", "Controls", "TControl Integer", iptR, TBind::Pair,
             PropGet<&TWinControl::Controls>()),
    Property("TWinControl", "ControlCount", "Integer", iptR, TBind::Pair,
             PropGet<&TWinControl::ControlCount>()),
    Member("TWinControl", "function HandleAllocated: Boolean;", TBind::Direct,
           Method<&TWinControl::HandleAllocated>()),
    Member("TWinControl", "procedure HandleNeeded;", TBind::Direct, Method<&TWinControl::HandleNeeded>()),
    Member("TWinControl", "procedure EnableAlign;", TBind::Direct, Method<&TWinControl::EnableAlign>()),
    Member("TWinControl", "procedure RemoveControl(AControl: TControl);", TBind::Direct,
           Method<&TWinControl::RemoveControl>()),
    Member("TWinControl", "procedure InsertControl(AControl: TControl);", TBind::Direct,
           Method<&TWinControl::InsertControl>()),
    Member("TWinControl", "procedure Realign;", TBind::Direct, Method<&TWinControl::Realign>()),
    Member("TWinControl", "procedure ScaleBy(M, D: Integer);", TBind::Direct,
           Method<&TWinControl::ScaleBy>()),
    Member("TWinControl", "procedure ScrollBy(DeltaX, DeltaY: Integer);", TBind::Direct,
           Method<&TWinControl::ScrollBy>()),
    Member("TWinControl", "procedure SetFocus; virtual;", TBind::Virtual, Method<&TWinControl::SetFocus>()),
    Member("TWinControl", "procedure PaintTo(DC: LongInt; X,Y: Integer)", TBind::Direct,
           Method<&PaintToOf>()),
    Member("TWinControl", "function ContainsControl(Control: TControl): Boolean", TBind::Direct,
           Method<&TWinControl::ContainsControl>()),
    Member("TWinControl", "procedure DisableAlign", TBind::Direct, Method<&TWinControl::DisableAlign>()),
    Member("TWinControl", "procedure UpdateControlState", TBind::Direct,
           Method<&TWinControl::UpdateControlState>()),
    Property("TWinControl", "Brush", "TBrush", iptR, TBind::Pair, PropGet<&TWinControl::Brush>()),
    Property("TWinControl", "HelpContext", "LongInt", iptRW, TBind::Published),
    // Added by the TWinControl routine: its type is TWinControl.
    Property("TControl", "Parent", "TWinControl", iptRW, TBind::Pair, PropGet<&TControl::Parent>(),
             PropSet<&TControl::SetParent>()),

    Class("TGraphicControl", "TControl", &TGraphicControl::StaticClassInfo),
    Class("TCustomControl", "TWinControl", &TCustomControl::StaticClassInfo),
};

constexpr std::string_view kControlsRunOrder[] = {"TControl",       "TWinControl", "TGraphicControl",
                                                  "TCustomControl", "TDragObject", "TSizeConstraints"};

}  // namespace

const TImportUnit kControlsUnit{"controls", kControls, kControlsRunOrder};

}  // namespace tv::script::units

namespace tv::script {

void CompileImportControls(TPSPascalCompiler& c) {
    units::CompileImport(c, units::kControlsUnit, true);
}

void ExecImportControls(TPSRuntimeClassImporter& ri) {
    units::ExecImport(ri, units::kControlsUnit, true);
}

}  // namespace tv::script
