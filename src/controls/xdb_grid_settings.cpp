#include "controls/xdb_grid_settings.h"

#include "controls/xdb_grid.h"
#include "platform/gui/form.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXDBGridSettings::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridSettings>("TXDBGridSettings").Build();
    return info;
}

TXDBGridSettings::TXDBGridSettings(TXCustomDBGrid* AGrid) : fGrid(AGrid) {}

std::string TXDBGridSettings::DefaultSection() const {
    if (!fGrid) return {};
    // The form's name is remembered from the first look-up that found a form.
    if (fFormName.empty())
        if (TForm* form = fGrid->ParentForm(false)) fFormName = form->Name();
    return fFormName.empty() ? fGrid->Name() : fFormName + "." + fGrid->Name();
}

std::string TXDBGridSettings::Section() const {
    return fSection.empty() ? DefaultSection() : fSection;
}

void TXDBGridSettings::SetSection(const std::string& value) {
    fSection = value == DefaultSection() ? std::string() : value;
}

void TXDBGridSettings::GridLoaded() {
    if (!fGrid->ComponentState().Contains(csDesigning)) fLoadPending = true;
    DefaultSection();
}

}  // namespace tv
