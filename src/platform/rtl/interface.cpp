#include "platform/rtl/interface.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TInterfacedObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TInterfacedObject>("TInterfacedObject").Build();
    return info;
}

}  // namespace tv
