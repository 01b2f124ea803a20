#include "platform/rtl/persistent.h"

#include "platform/rtl/class_info.h"

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
    std::string text(kAssignError);
    const std::string source = Source ? Source->ClassName() : "nil";
    text.replace(text.find("%s"), 2, source);
    text.replace(text.find("%s"), 2, ClassName());
    throw EConvertError(text);
}

}  // namespace tv
