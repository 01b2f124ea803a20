#pragma once
// Labels: a caption on the form. An "&" marks the accelerator letter ("&&" is an ampersand) unless
// ShowAccelChar is off; with AutoSize the label takes the size of its text.

#include "platform/gui/graphic_control.h"

namespace tv {

class TWinControl;

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
TV_ENUM_INFO(TTextLayout, "tlTop", "tlCenter", "tlBottom");

class TCustomLabel : public TGraphicControl {
    TV_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner = nullptr);

    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return fLayout; }
    void SetLayout(TTextLayout value);
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return fWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return fShowAccelChar; }
    void SetShowAccelChar(bool value);
    // On: the parent shows through.
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool value);
    // The control the accelerator letter focuses.
    TWinControl* FocusControl() const { return fFocusControl; }
    void SetFocusControl(TWinControl* value);

protected:
    void TextChanged() override;
    void ApplyFont() override;
    bool PaintsItself() const override { return false; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplyText();
    void AdjustSize();

    TAlignment fAlignment = taLeftJustify;
    TTextLayout fLayout = tlTop;
    bool fAutoSize = true;
    bool fWordWrap = false;
    bool fShowAccelChar = true;
    bool fTransparent = false;
    TWinControl* fFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    TV_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner = nullptr) : TCustomLabel(AOwner) {}
};

}  // namespace tv
