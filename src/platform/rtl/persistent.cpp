#include "platform/rtl/persistent.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {
constexpr std::string_view kAssignError = "Cannot assign a %s to a %s";
}

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent").Build();
    return info;
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
    const std::string source = Source ? Source->ClassName() : "nil";
    throw EConvertError(Format(kAssignError, {source, ClassName()}));
}

}  // namespace tv
