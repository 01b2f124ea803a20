#pragma once
// The drawing tools (font, pen, brush) share this base: a change to any of their properties fires
// OnChange, which is how a canvas or a control learns that it must draw differently.

#include "platform/rtl/event.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TGraphicsObject : public TPersistent {
    TV_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    // Fires OnChange unless changes are being collected by Assign.
    void Changed();
    // Runs `assign` with OnChange held back, then fires it once.
    template <class F>
    void ChangeOnce(F&& assign) {
        ++fLock;
        try {
            assign();
        } catch (...) {
            --fLock;
            throw;
        }
        --fLock;
        Changed();
    }

private:
    int fLock = 0;
};

}  // namespace tv
