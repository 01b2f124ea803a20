#pragma once
// The smallest and largest size a control may take; 0 means no limit.

#include "platform/rtl/event.h"
#include "platform/rtl/persistent.h"

namespace tv {

using TConstraintSize = int32_t;

class TSizeConstraints : public TPersistent {
    TV_CLASS(TSizeConstraints, TPersistent)
public:
    TSizeConstraints() = default;

    TConstraintSize MaxHeight() const { return fMaxHeight; }
    void SetMaxHeight(TConstraintSize value) { Set(fMaxHeight, value); }
    TConstraintSize MaxWidth() const { return fMaxWidth; }
    void SetMaxWidth(TConstraintSize value) { Set(fMaxWidth, value); }
    TConstraintSize MinHeight() const { return fMinHeight; }
    void SetMinHeight(TConstraintSize value) { Set(fMinHeight, value); }
    TConstraintSize MinWidth() const { return fMinWidth; }
    void SetMinWidth(TConstraintSize value) { Set(fMinWidth, value); }

    // The size limited by these constraints.
    int ConstrainWidth(int width) const { return Constrain(width, fMinWidth, fMaxWidth); }
    int ConstrainHeight(int height) const { return Constrain(height, fMinHeight, fMaxHeight); }

    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    static int Constrain(int v, int lo, int hi) {
        if (hi > 0 && v > hi) v = hi;
        if (lo > 0 && v < lo) v = lo;
        return v;
    }
    void Set(TConstraintSize& field, TConstraintSize value);

    TConstraintSize fMaxHeight = 0;
    TConstraintSize fMaxWidth = 0;
    TConstraintSize fMinHeight = 0;
    TConstraintSize fMinWidth = 0;
};

}  // namespace tv
