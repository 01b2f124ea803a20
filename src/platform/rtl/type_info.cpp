#include "platform/rtl/type_info.h"

#include "platform/rtl/ascii_case.h"

namespace tv {

namespace detail {

TTypeInfo MakeOrdinalInfo(std::string name, TTypeKind kind, TOrdType ord) {
    TTypeInfo t;
    t.Name = std::move(name);
    t.Kind = kind;
    t.OrdType = kind == TTypeKind::Char ? TOrdType::U8 : ord;
    return t;
}

TTypeInfo MakeEnumInfo(std::string_view name, const std::string_view* names, int count, TOrdType ord) {
    TTypeInfo t;
    t.Name = std::string(name);
    t.Kind = TTypeKind::Enumeration;
    t.OrdType = ord;
    for (int i = 0; i < count; ++i) t.EnumNames.emplace_back(names[i]);
    return t;
}

}  // namespace detail

int TTypeInfo::DataSize() const {
    switch (Kind) {
        case TTypeKind::Float:
            return FloatType == TFloatType::Single ? 4 : FloatType == TFloatType::Double ? 8 : 10;
        case TTypeKind::Int64:
            return 8;
        case TTypeKind::Record: {
            int size = 0;
            for (const TTypeInfo* f : Fields) size += f->DataSize();
            return size;
        }
        default:
            switch (OrdType) {
                case TOrdType::S8:
                case TOrdType::U8:
                    return 1;
                case TOrdType::S16:
                case TOrdType::U16:
                    return 2;
                default:
                    return 4;
            }
    }
}

int TTypeInfo::EnumValue(std::string_view name) const {
    for (size_t i = 0; i < EnumNames.size(); ++i)
        if (SameTextAscii(EnumNames[i], name)) return static_cast<int>(i);
    return -1;
}

namespace {
TTypeInfo PlainInfo(const char* name, TTypeKind kind, TFloatType floatType = TFloatType::Double) {
    TTypeInfo t;
    t.Name = name;
    t.Kind = kind;
    t.FloatType = floatType;
    return t;
}
}  // namespace

const TTypeInfo& TTypeInfoOf<int64_t>::Get() {
    static const TTypeInfo info = PlainInfo("Int64", TTypeKind::Int64);
    return info;
}

const TTypeInfo& TTypeInfoOf<bool>::Get() {
    static const std::string_view names[] = {"False", "True"};
    static const TTypeInfo info = detail::MakeEnumInfo("Boolean", names, 2, TOrdType::U8);
    return info;
}

const TTypeInfo& TTypeInfoOf<float>::Get() {
    static const TTypeInfo info = PlainInfo("Single", TTypeKind::Float, TFloatType::Single);
    return info;
}

const TTypeInfo& TTypeInfoOf<double>::Get() {
    static const TTypeInfo info = PlainInfo("Double", TTypeKind::Float, TFloatType::Double);
    return info;
}

const TTypeInfo& TTypeInfoOf<long double>::Get() {
    static const TTypeInfo info = PlainInfo("Extended", TTypeKind::Float, TFloatType::Extended);
    return info;
}

const TTypeInfo& TTypeInfoOf<std::string>::Get() {
    static const TTypeInfo info = PlainInfo("string", TTypeKind::String);
    return info;
}

}  // namespace tv
