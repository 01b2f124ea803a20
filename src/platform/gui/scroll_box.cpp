#include "platform/gui/scroll_box.h"

#include <QFrame>

#include "platform/gui/published_properties.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TScrollBox::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",     "Constraints", "BorderStyle", "Color",          "Font",        "AutoScroll",
        "ParentColor", "ParentFont",  "OnClick",     "OnDblClick",     "OnEnter",     "OnExit",
        "OnResize",    "DragCursor",  "DragMode",    "ParentShowHint", "CTL3D",       "ParentCtl3D",
        "OnDragDrop",  "OnDragOver",  "OnEndDrag",   "OnMouseDown",    "OnMouseMove", "OnMouseUp"};
    static const TClassInfo info = PublishedClass<TScrollBox>("TScrollBox", kPublished);
    return info;
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner, NewWidget<QFrame>()) {
    SetBorderStyle(bsSingle);
    SetAutoScroll(true);
    SetBounds(0, 0, 185, 41);
}

int TScrollBox::FrameWidth() const {
    return static_cast<QFrame*>(Widget())->frameWidth();
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
    fBorderStyle = value;
    static_cast<QFrame*>(Widget())->setFrameStyle(value == bsNone ? QFrame::NoFrame
                                                                  : QFrame::StyledPanel | QFrame::Sunken);
    PlaceChildWidgets();
    Realign();
}

TRect TScrollBox::InnerRect() const {
    const int f = FrameWidth();
    const TRect r = TScrollingWinControl::InnerRect();
    return Rect(0, 0, std::max(r.Width() - 2 * f, 0), std::max(r.Height() - 2 * f, 0));
}

TPoint TScrollBox::ClientOrigin() const {
    return {FrameWidth(), FrameWidth()};
}

}  // namespace tv
