#pragma once
// Windowed controls that draw themselves (panels, grids): Paint draws on Canvas whenever the
// control needs drawing; the controls inside are drawn over it.

#include "platform/gui/win_control.h"

namespace tv {

class TCustomControl : public TWinControl {
    TV_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner = nullptr);
    // Draws while Paint runs; measures text at any time.
    TCanvas* Canvas() { return ControlCanvas(); }

protected:
    TCustomControl(TComponent* AOwner, QWidget* widget);
    virtual void Paint() {}
    bool PaintsItself() const override { return true; }
    void PaintControl() override { Paint(); }
};

}  // namespace tv
