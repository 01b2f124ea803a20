#include "platform/gui/size_constraints.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TSizeConstraints::StaticClassInfo() {
    using C = TSizeConstraints;
    static const TClassInfo info = TClassBuilder<C>("TSizeConstraints")
                                       .Published("MaxHeight", &C::MaxHeight, &C::SetMaxHeight)
                                       .Published("MaxWidth", &C::MaxWidth, &C::SetMaxWidth)
                                       .Published("MinHeight", &C::MinHeight, &C::SetMinHeight)
                                       .Published("MinWidth", &C::MinWidth, &C::SetMinWidth)
                                       .Build();
    return info;
}

void TSizeConstraints::Set(TConstraintSize& field, TConstraintSize value) {
    if (value < 0) value = 0;
    if (value == field) return;
    field = value;
    if (OnChange) OnChange(this);
}

void TSizeConstraints::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TSizeConstraints*>(Source);
    if (!s) return TPersistent::Assign(Source);
    fMaxHeight = s->fMaxHeight;
    fMaxWidth = s->fMaxWidth;
    fMinHeight = s->fMinHeight;
    fMinWidth = s->fMinWidth;
    if (OnChange) OnChange(this);
}

}  // namespace tv
