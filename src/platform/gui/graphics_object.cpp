#include "platform/gui/graphics_object.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TGraphicsObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGraphicsObject>("TGraphicsObject").Build();
    return info;
}

void TGraphicsObject::Changed() {
    if (fLock == 0 && OnChange) OnChange(this);
}

}  // namespace tv
