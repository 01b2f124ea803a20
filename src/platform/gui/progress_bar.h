#pragma once
// Progress bars: a position within Min..Max, advanced by Step or StepBy.

#include "platform/gui/win_control.h"

namespace tv {

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };
TV_ENUM_INFO(TProgressBarOrientation, "pbHorizontal", "pbVertical");

class TProgressBar : public TWinControl {
    TV_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* AOwner = nullptr);

    int Min() const;
    void SetMin(int value);
    int Max() const;
    void SetMax(int value);
    // Kept within Min..Max.
    int Position() const;
    void SetPosition(int value);
    int Step() const { return fStep; }
    void SetStep(int value) { fStep = value; }
    // Advances by Step; past Max the bar starts again at Min.
    void StepIt();
    // Advances by Delta, stopping at Min or Max.
    void StepBy(int Delta);
    TProgressBarOrientation Orientation() const { return fOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    // Stored only: the bar is drawn by the desktop's style.
    bool Smooth() const { return fSmooth; }
    void SetSmooth(bool value) { fSmooth = value; }

private:
    int fStep = 10;
    TProgressBarOrientation fOrientation = pbHorizontal;
    bool fSmooth = false;
};

}  // namespace tv
