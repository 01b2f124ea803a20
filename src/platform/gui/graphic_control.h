#pragma once
// Controls that draw themselves and take no focus (labels, shapes, images): Paint draws on Canvas
// whenever the control needs drawing.

#include "platform/gui/control.h"

namespace tv {

class TGraphicControl : public TControl {
    TV_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner = nullptr);
    // Draws while Paint runs; measures text at any time.
    TCanvas* Canvas() { return ControlCanvas(); }

protected:
    TGraphicControl(TComponent* AOwner, QWidget* widget);
    virtual void Paint() {}
    bool PaintsItself() const override { return true; }
    void PaintControl() override { Paint(); }
};

}  // namespace tv
