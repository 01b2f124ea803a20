#include "ui/form_font_master.h"

#include "platform/gui/desktop_fonts.h"
#include "platform/gui/form.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TFormFontMaster::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormFontMaster>("TFormFontMaster").Build();
    return info;
}

TFormFontMaster::TFormFontMaster(TComponent* AOwner)
    : TComponent(AOwner), fDesktopFont(std::make_unique<TFont>()), fDsgnFont(std::make_unique<TFont>()) {
    if (!GetIconTitleFont(*fDesktopFont)) GetDefaultGuiFont(*fDesktopFont);
}

TFormFontMaster::~TFormFontMaster() = default;

void TFormFontMaster::Loaded() {
    TComponent::Loaded();
    if (!ComponentState().Contains(csDesigning)) UpdateFont();
}

void TFormFontMaster::UpdateFont() {
    bool allow = true;
    if (OnFontChange) OnFontChange(this, allow);
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form || !allow) return;
    fDsgnFont->Assign(form->Font());
    form->Font()->Assign(fDesktopFont.get());
}

}  // namespace tv
