#include "platform/gui/splitter.h"

#include "platform/gui/win_control.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TSplitter::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSplitter>("TSplitter").Build();
    return info;
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        switch (Align()) {
            case alLeft:
                if (c->Left() + c->Width() == Left()) return c;
                break;
            case alRight:
                if (c->Left() == Left() + Width()) return c;
                break;
            case alTop:
                if (c->Top() + c->Height() == Top()) return c;
                break;
            case alBottom:
                if (c->Top() == Top() + Height()) return c;
                break;
            default:
                break;
        }
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    SetResized(FindControl());
    if (!fControl) return;
    fDownAt = ClientToScreen(Point(X, Y));
    fStartSize = Align() == alLeft || Align() == alRight ? fControl->Width() : fControl->Height();
    CursorForAlign();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!fControl || !Shift.Contains(ssLeft) || !Parent()) return;
    const TPoint at = ClientToScreen(Point(X, Y));
    const bool horizontal = Align() == alLeft || Align() == alRight;
    int delta = horizontal ? at.X - fDownAt.X : at.Y - fDownAt.Y;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    // The rest of the parent keeps at least MinSize too.
    const TRect room = Parent()->AlignRect();
    const int others =
        (horizontal ? room.Width() : room.Height()) - fStartSize - (horizontal ? Width() : Height());
    const int size =
        std::clamp(fStartSize + delta, fMinSize, std::max(fMinSize, fStartSize + others - fMinSize));
    if (horizontal)
        fControl->SetWidth(size);
    else
        fControl->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !fControl) return;
    SetResized(nullptr);
    if (OnMoved) OnMoved(this);
}

void TSplitter::SetResized(TControl* value) {
    if (value == fControl) return;
    if (fControl) fControl->RemoveFreeNotification(this);
    fControl = value;
    // Whoever owns it may free it in the middle of a drag.
    if (value) value->FreeNotification(this);
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fControl) fControl = nullptr;
}

void TSplitter::CursorForAlign() {
    SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

}  // namespace tv
