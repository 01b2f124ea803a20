#pragma once
// The object that describes a drag operation to the controls it passes over. Drag and drop is not
// carried out by this library; the object exists so that drag events have their arguments.

#include <string>

#include "platform/gui/rect.h"
#include "platform/rtl/object.h"

namespace tv {

class TDragObject : public TObject {
    TV_CLASS(TDragObject, TObject)
public:
    TDragObject() = default;
    virtual void Assign(TDragObject* Source);
    // The class name.
    virtual std::string GetName() const;
    // The module the drag comes from: always this program, 0.
    virtual int32_t Instance() const { return 0; }
    virtual void HideDragImage() {}
    virtual void ShowDragImage() {}

    bool Cancelling = false;
    int32_t DragHandle = 0;
    TPoint DragPos;
    TPoint DragTargetPos;
    double MouseDeltaX() const { return fMouseDeltaX; }
    double MouseDeltaY() const { return fMouseDeltaY; }

private:
    double fMouseDeltaX = 0;
    double fMouseDeltaY = 0;
};

}  // namespace tv
