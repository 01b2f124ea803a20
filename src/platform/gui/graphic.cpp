#include "platform/gui/graphic.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TGraphic::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGraphic>("TGraphic").Build();
    return info;
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed();
    else
        fModified = false;
}

void TGraphic::SetTransparent(bool value) {
    if (value == fTransparent) return;
    fTransparent = value;
    Changed();
}

void TGraphic::Changed() {
    fModified = true;
    if (OnChange) OnChange(this);
}

}  // namespace tv
