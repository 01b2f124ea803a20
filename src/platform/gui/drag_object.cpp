#include "platform/gui/drag_object.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDragObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDragObject>("TDragObject").Build();
    return info;
}

void TDragObject::Assign(TDragObject* Source) {
    if (!Source) return;
    Cancelling = Source->Cancelling;
    DragHandle = Source->DragHandle;
    DragPos = Source->DragPos;
    DragTargetPos = Source->DragTargetPos;
    fMouseDeltaX = Source->fMouseDeltaX;
    fMouseDeltaY = Source->fMouseDeltaY;
}

std::string TDragObject::GetName() const {
    return ClassName();
}

}  // namespace tv
