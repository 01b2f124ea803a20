#include "controls/db_lookup_controls_x.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDBLookupListBoxX::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBLookupListBoxX>("TDBLookupListBoxX").Build();
    return info;
}

const TClassInfo& TDBLookupComboX::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBLookupComboX>("TDBLookupComboX").Build();
    return info;
}

}  // namespace tv
