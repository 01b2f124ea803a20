#include "platform/gui/graphic_control.h"

#include <QWidget>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl").Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner, NewWidget<QWidget>()) {}

TGraphicControl::TGraphicControl(TComponent* AOwner, QWidget* widget) : TControl(AOwner, widget) {
    // Transparent unless it paints: what lies under it shows through.
    widget->setAutoFillBackground(false);
}

}  // namespace tv
