#pragma once
// The dialog in which a plug-in shows its own settings panel for one rule step: the panel goes into
// the scroll area above the "&OK" and "&Avbryt" buttons.

#include "platform/gui/form.h"

namespace tv {

class TButton;
class TPanel;
class TScrollBox;

class TFormDisplayPluginSettings : public TForm {
    TV_CLASS(TFormDisplayPluginSettings, TForm)
public:
    explicit TFormDisplayPluginSettings(TComponent* AOwner = nullptr);

    // Where the plug-in places its panel; it scrolls only as far as its vertical range says.
    TScrollBox* DisplayArea = nullptr;
    TPanel* ButtonPanel = nullptr;
    TButton* OkButton = nullptr;
    TButton* CancelButton = nullptr;
};

}  // namespace tv
