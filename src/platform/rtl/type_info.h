#pragma once
// Type information of published values: what kind a property or event parameter is (an ordinal of a
// given width, an enumeration or set with its names, a float, a string, a class, an event with its
// signature, a variant), found for a C++ type with TypeInfoOf<T>(). Classes and their published
// properties are described in class_info.h on top of this.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/rtl/enum_set.h"

namespace tv {

class TObject;
class TClassInfo;
class Variant;
struct TEventSignature;

enum class TTypeKind : uint8_t {
    Integer,      // signed or unsigned, up to 32 bits
    Char,         // 8-bit character
    WChar,        // 16-bit character
    Enumeration,  // Boolean included
    Float,
    String,  // UTF-8 text
    Set,
    Class,
    Method,  // an event: a method reference with a signature
    Variant,
    Int64,
    Record,  // a record passed by value (TRect): Fields holds its fields' types in order
};

// Width and sign of an ordinal's storage (integers, characters, enumerations and sets).
enum class TOrdType : uint8_t { S8, U8, S16, U16, S32, U32 };
enum class TFloatType : uint8_t { Single, Double, Extended };

struct TTypeInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::Integer;
    TOrdType OrdType = TOrdType::S32;
    TFloatType FloatType = TFloatType::Double;
    std::vector<std::string> EnumNames;   // enumeration: value names by ordinal
    const TTypeInfo* CompType = nullptr;  // set: the element enumeration
    const TClassInfo& (*ClassType)() =
        nullptr;  // class: the class (looked up late, classes refer to each other)
    const TEventSignature* Signature = nullptr;  // method: parameters and result
    std::vector<const TTypeInfo*> Fields;        // record: the fields' types, in order, packed

    // Storage size in bytes of an ordinal, set, float or record of this type.
    int DataSize() const;
    // Ordinal of an enumeration value name compared without case, -1 when there is none.
    int EnumValue(std::string_view name) const;
};

// The type information of C++ type T. Defined for the integer, character, floating-point and string
// types, bool, enumerations declared with TV_ENUM_INFO, TSet of those, pointers to classes derived
// from TObject, events (event.h) and Variant (variant.h).
template <class T, class = void>
struct TTypeInfoOf;

template <class T>
const TTypeInfo& TypeInfoOf() {
    return TTypeInfoOf<std::remove_cv_t<T>>::Get();
}

namespace detail {
TTypeInfo MakeOrdinalInfo(std::string name, TTypeKind kind, TOrdType ord);
TTypeInfo MakeEnumInfo(std::string_view name, const std::string_view* names, int count, TOrdType ord);

template <class T>
constexpr TOrdType OrdTypeOf() {
    constexpr bool sign = std::is_signed_v<
        typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>, std::type_identity<T>>::type>;
    if constexpr (sizeof(T) == 1)
        return sign ? TOrdType::S8 : TOrdType::U8;
    else if constexpr (sizeof(T) == 2)
        return sign ? TOrdType::S16 : TOrdType::U16;
    else
        return sign ? TOrdType::S32 : TOrdType::U32;
}
}  // namespace detail

#define TV_ORDINAL_TYPE_INFO(T, NAME, KIND)                                                            \
    template <>                                                                                        \
    struct TTypeInfoOf<T> {                                                                            \
        static const TTypeInfo& Get() {                                                                \
            static const TTypeInfo info = detail::MakeOrdinalInfo(NAME, KIND, detail::OrdTypeOf<T>()); \
            return info;                                                                               \
        }                                                                                              \
    }

TV_ORDINAL_TYPE_INFO(int8_t, "ShortInt", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(uint8_t, "Byte", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(int16_t, "SmallInt", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(uint16_t, "Word", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(int32_t, "Integer", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(uint32_t, "Cardinal", TTypeKind::Integer);
TV_ORDINAL_TYPE_INFO(char, "Char", TTypeKind::Char);
TV_ORDINAL_TYPE_INFO(char16_t, "WideChar", TTypeKind::WChar);
#undef TV_ORDINAL_TYPE_INFO

template <>
struct TTypeInfoOf<int64_t> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<bool> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<float> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<double> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<long double> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<std::string> {
    static const TTypeInfo& Get();
};

template <class E>
struct TTypeInfoOf<E, std::enable_if_t<std::is_enum_v<E> && HasEnumInfo<E>::value>> {
    static const TTypeInfo& Get() {
        static const TTypeInfo info = detail::MakeEnumInfo(TEnumInfo<E>::TypeName, TEnumInfo<E>::Names,
                                                           TEnumInfo<E>::Count, detail::OrdTypeOf<E>());
        return info;
    }
};

template <class E>
struct TTypeInfoOf<TSet<E>> {
    static const TTypeInfo& Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Name = "set of " + std::string(TEnumInfo<E>::TypeName);
            t.Kind = TTypeKind::Set;
            constexpr int bytes = TSet<E>::ByteSize;
            t.OrdType = bytes == 1 ? TOrdType::U8 : bytes == 2 ? TOrdType::U16 : TOrdType::U32;
            t.CompType = &TypeInfoOf<E>();
            return t;
        }();
        return info;
    }
};

// Pointers to classes derived from TObject; the class itself is asked for when first needed.
template <class C>
struct TTypeInfoOf<C*, std::enable_if_t<std::is_base_of_v<TObject, C>>> {
    static const TTypeInfo& Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = TTypeKind::Class;
            t.ClassType = []() -> const TClassInfo& { return C::StaticClassInfo(); };
            return t;
        }();
        return info;
    }
};

}  // namespace tv
