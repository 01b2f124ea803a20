#pragma once
// Push buttons, check boxes and radio buttons. A button's click sets its form's ModalResult to the
// button's own, so a button with mrOk ends a modal form. A check box fires OnClick whenever its
// state changes, also when the program sets it; a radio button when it becomes checked.

#include "platform/gui/win_control.h"

namespace tv {

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
TV_ENUM_INFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed");

class TButtonControl : public TWinControl {
    TV_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner = nullptr);

protected:
    TButtonControl(TComponent* AOwner, QWidget* widget);
    void TextChanged() override;
    bool ClicksOnMouseUp() const override { return false; }
    bool AcceptsFocus() const override { return true; }
};

class TButton : public TButtonControl {
    TV_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner = nullptr);

    // Escape in the form clicks the cancel button; Enter clicks the default button (unless the
    // focused control is a button, which then takes Enter itself).
    bool Cancel() const { return fCancel; }
    void SetCancel(bool value) { fCancel = value; }
    bool Default() const { return fDefault; }
    void SetDefault(bool value);
    TModalResult ModalResult() const { return fModalResult; }
    void SetModalResult(TModalResult value) { fModalResult = value; }

    void Click() override;

protected:
    TButton(TComponent* AOwner, QWidget* widget);

private:
    bool fCancel = false;
    bool fDefault = false;
    TModalResult fModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    TV_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner = nullptr);

    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    // cbGrayed needs AllowGrayed.
    void SetState(TCheckBoxState value);
    // The user's clicks go through the grey state too.
    bool AllowGrayed() const { return fAllowGrayed; }
    void SetAllowGrayed(bool value);
    // taLeftJustify puts the caption left of the box.
    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);

protected:
    // Builds the box around `widget`, a bridged check box widget.
    TCustomCheckBox(TComponent* AOwner, QWidget* widget);

private:
    bool fAllowGrayed = false;
    TAlignment fAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    TV_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner = nullptr) : TCustomCheckBox(AOwner) {}
};

// Radio buttons in one parent exclude each other: checking one unchecks the others.
class TRadioButton : public TButtonControl {
    TV_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner = nullptr);

    bool Checked() const;
    void SetChecked(bool value);
    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);

private:
    TAlignment fAlignment = taRightJustify;
};

}  // namespace tv
