#include "platform/gui/custom_control.h"

#include <QWidget>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl").Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* AOwner) : TCustomControl(AOwner, NewWidget<QWidget>()) {}

TCustomControl::TCustomControl(TComponent* AOwner, QWidget* widget) : TWinControl(AOwner, widget) {}

}  // namespace tv
