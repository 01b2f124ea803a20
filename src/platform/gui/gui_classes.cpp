#include "platform/gui/gui_classes.h"

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/form.h"
#include "platform/gui/graphic_control.h"
#include "platform/gui/image_list.h"
#include "platform/gui/picture.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/rtl/class_info.h"

namespace tv {

std::vector<const TClassInfo*> GuiClasses() {
    return {
        &TGraphicsObject::StaticClassInfo(),
        &TFont::StaticClassInfo(),
        &TPen::StaticClassInfo(),
        &TBrush::StaticClassInfo(),
        &TCanvas::StaticClassInfo(),
        &TGraphic::StaticClassInfo(),
        &TBitmap::StaticClassInfo(),
        &TPicture::StaticClassInfo(),
        &TImageList::StaticClassInfo(),
        &TSizeConstraints::StaticClassInfo(),
        &TDragObject::StaticClassInfo(),
        &TControl::StaticClassInfo(),
        &TWinControl::StaticClassInfo(),
        &TGraphicControl::StaticClassInfo(),
        &TCustomControl::StaticClassInfo(),
        &TControlScrollBar::StaticClassInfo(),
        &TScrollingWinControl::StaticClassInfo(),
        &TForm::StaticClassInfo(),
        &TApplication::StaticClassInfo(),
        &TScreen::StaticClassInfo(),
        &TTimer::StaticClassInfo(),
    };
}

void RegisterGuiClasses() {
    for (const TClassInfo* c : GuiClasses()) RegisterClass(*c);
}

}  // namespace tv
