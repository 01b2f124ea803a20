#include "platform/rtl/resource_stream.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {
constexpr std::string_view kResNotFound = "Resource %s not found";
}

const TClassInfo& TResourceStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TResourceStream>("TResourceStream").Build();
    return info;
}

TResourceStream::TResourceStream(intptr_t, std::string_view resName, std::string_view) {
    throw EResNotFound(Format(kResNotFound, {resName}));
}

TResourceStream::TResourceStream(intptr_t, int32_t resId, std::string_view) {
    throw EResNotFound(Format(kResNotFound, {std::to_string(resId)}));
}

}  // namespace tv
