#include "automation/form_display_plugin_settings.h"

#include "platform/gui/button.h"
#include "platform/gui/panel.h"
#include "platform/gui/scroll_box.h"
#include "platform/rtl/class_info.h"

namespace tv {
namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 375;
constexpr int kButtonPanelHeight = 41;

}  // namespace

const TClassInfo& TFormDisplayPluginSettings::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TFormDisplayPluginSettings>("TFormDisplayPluginSettings").Build();
    return info;
}

TFormDisplayPluginSettings::TFormDisplayPluginSettings(TComponent* AOwner) : TForm(AOwner) {
    SetName("FormDisplayPluginSettings");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    ButtonPanel = new TPanel(this);
    ButtonPanel->SetName("ButtonPanel");
    ButtonPanel->SetParent(this);
    ButtonPanel->SetAlign(alBottom);
    ButtonPanel->SetHeight(kButtonPanelHeight);
    ButtonPanel->SetCaption("");
    ButtonPanel->SetBevelOuter(bvNone);
    auto button = [this](const char* name, const char* caption, int left, TModalResult result) {
        auto* b = new TButton(this);
        b->SetName(name);
        b->SetParent(ButtonPanel);
        b->SetBounds(left, 8, 75, 25);
        b->SetCaption(caption);
        b->SetModalResult(result);
        return b;
    };
    OkButton = button("OkButton", "&OK", kClientWidth - 176, mrOk);
    OkButton->SetDefault(true);
    CancelButton = button("CancelButton", "&Avbryt", kClientWidth - 92, mrCancel);
    CancelButton->SetCancel(true);

    DisplayArea = new TScrollBox(this);
    DisplayArea->SetName("DisplayArea");
    DisplayArea->SetParent(this);
    DisplayArea->SetAlign(alClient);
    DisplayArea->SetAutoScroll(false);
}

}  // namespace tv
