#include "platform/rtl/object.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/object_handles.h"

namespace tv {

TObject::TObject() {
    TObjectHandles::Register(this);
}

TObject::~TObject() {
    TObjectHandles::Unregister(this);
}

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TObject>("TObject").Build();
    return info;
}

const std::string& TObject::ClassName() const {
    return ClassInfo().Name();
}

bool TObject::InheritsFrom(const TClassInfo& cls) const {
    return ClassInfo().InheritsFrom(cls);
}

}  // namespace tv
