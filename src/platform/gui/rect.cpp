#include "platform/gui/rect.h"

namespace tv {

namespace {
TTypeInfo RecordOfIntegers(const char* name, int count) {
    TTypeInfo t;
    t.Name = name;
    t.Kind = TTypeKind::Record;
    t.Fields.assign(count, &TypeInfoOf<int32_t>());
    return t;
}
}  // namespace

const TTypeInfo& TTypeInfoOf<TPoint>::Get() {
    static const TTypeInfo info = RecordOfIntegers("TPoint", 2);
    return info;
}

const TTypeInfo& TTypeInfoOf<TRect>::Get() {
    static const TTypeInfo info = RecordOfIntegers("TRect", 4);
    return info;
}

}  // namespace tv
