#pragma once
// Keeps the focus in a control whose exit was refused. The toolkit cannot stop a focus change, so a
// control whose exit handler raises lets the error be reported, and takes the focus back from a
// posted call; while that is under way it ignores its own exits, so that the error shows once and
// a message box that takes the focus starts no loop.
//
//     void TMyControl::DoExit() {
//         if (fFocusReturn.Returning()) return;
//         try { inherited::DoExit(); } catch (...) { fFocusReturn.TakeBack(*this, Watch()); throw; }
//     }

#include <memory>

namespace tv {

class TWinControl;

class TFocusReturn {
public:
    TFocusReturn() = default;
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;

    // Gives `control` the focus again once the toolkit's loop gets to it, unless `alive` expired by
    // then or the control cannot take the focus.
    void TakeBack(TWinControl& control, std::weak_ptr<char> alive);
    // A take-back is waiting or running.
    bool Returning() const { return *fReturning; }

private:
    std::shared_ptr<bool> fReturning = std::make_shared<bool>(false);
};

}  // namespace tv
