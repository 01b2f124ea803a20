#pragma once
// Objects that can copy their state from another object with Assign: the source is asked to assign
// itself to the destination when the destination does not know the source's class, and a pair that
// neither side knows raises EConvertError "Cannot assign a <source> to a <destination>".

#include "platform/rtl/object.h"

namespace tv {

class TPersistent : public TObject {
    TV_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;
    virtual void Assign(TPersistent* Source);

protected:
    // Copies this object's state into Dest; the default knows no destination and raises.
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

}  // namespace tv
