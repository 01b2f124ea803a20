#include "platform/gui/pen.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TPen::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPen>("TPen")
                                       .Published("Color", &TPen::Color, &TPen::SetColor)
                                       .Published("Mode", &TPen::Mode, &TPen::SetMode)
                                       .Published("Style", &TPen::Style, &TPen::SetStyle)
                                       .Published("Width", &TPen::Width, &TPen::SetWidth)
                                       .Build();
    return info;
}

void TPen::SetColor(TColor value) {
    if (value == fColor) return;
    fColor = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == fMode) return;
    fMode = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == fStyle) return;
    fStyle = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (value < 1) value = 1;
    if (value == fWidth) return;
    fWidth = value;
    Changed();
}

void TPen::Assign(TPersistent* Source) {
    auto* p = dynamic_cast<TPen*>(Source);
    if (!p) return TGraphicsObject::Assign(Source);
    if (p == this) return;
    ChangeOnce([&] {
        fColor = p->fColor;
        fMode = p->fMode;
        fStyle = p->fStyle;
        fWidth = p->fWidth;
    });
}

}  // namespace tv
