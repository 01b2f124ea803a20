#pragma once
// Splitters: a bar between an aligned control and the rest; dragging it resizes that control.

#include "platform/gui/graphic_control.h"

namespace tv {

enum TResizeStyle : uint8_t { rsNone, rsLine, rsUpdate, rsPattern };
TV_ENUM_INFO(TResizeStyle, "rsNone", "rsLine", "rsUpdate", "rsPattern");

class TSplitter : public TGraphicControl {
    TV_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* AOwner = nullptr);

    // The smallest size the resized control and the rest of the parent keep.
    int MinSize() const { return fMinSize; }
    void SetMinSize(int value) { fMinSize = std::max(value, 1); }
    // Stored only: the control is resized as the mouse moves.
    TResizeStyle ResizeStyle() const { return fResizeStyle; }
    void SetResizeStyle(TResizeStyle value) { fResizeStyle = value; }

    // Fired when a drag has resized the control.
    TNotifyEvent OnMoved;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The control on the splitter's aligned side that touches it; nil for none.
    TControl* FindControl() const;
    void CursorForAlign();
    void SetResized(TControl* value);

    int fMinSize = 30;
    TResizeStyle fResizeStyle = rsUpdate;
    TControl* fControl = nullptr;  // the control being resized while dragging
    TPoint fDownAt;
    int fStartSize = 0;
};

}  // namespace tv
