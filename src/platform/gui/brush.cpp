#include "platform/gui/brush.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TBrush::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush")
                                       .Published("Color", &TBrush::Color, &TBrush::SetColor)
                                       .Published("Style", &TBrush::Style, &TBrush::SetStyle)
                                       .Build();
    return info;
}

void TBrush::SetColor(TColor value) {
    if (value == fColor && !(value == clNone && fStyle != bsClear)) return;
    ChangeOnce([&] {
        fColor = value;
        if (value == clNone)
            fStyle = bsClear;
        else if (fStyle == bsClear)
            fStyle = bsSolid;
    });
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == fStyle) return;
    fStyle = value;
    Changed();
}

void TBrush::Assign(TPersistent* Source) {
    auto* b = dynamic_cast<TBrush*>(Source);
    if (!b) return TGraphicsObject::Assign(Source);
    if (b == this) return;
    ChangeOnce([&] {
        fColor = b->fColor;
        fStyle = b->fStyle;
    });
}

}  // namespace tv
