#pragma once
// Enumerations with value names, and sets over them, as the class library publishes them: the names
// serve type information and streaming, the set keeps the byte image scripts see (ordinal n is bit
// n mod 8 of byte n div 8).

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <type_traits>

namespace tv {

// The names of an enumeration's values in ordinal order, and the enumeration's own name. Declared
// for an enumeration with TV_ENUM_INFO next to it.
template <class E>
struct TEnumInfo;

template <class E, class = void>
struct HasEnumInfo : std::false_type {};
template <class E>
struct HasEnumInfo<E, std::void_t<decltype(TEnumInfo<E>::Names)>> : std::true_type {};

#define TV_ENUM_INFO(E, ...)                                             \
    template <>                                                          \
    struct TEnumInfo<E> {                                                \
        static constexpr std::string_view TypeName = #E;                 \
        static constexpr std::string_view Names[] = {__VA_ARGS__};       \
        static constexpr int Count = static_cast<int>(std::size(Names)); \
    }

// A set of up to 64 values of enumeration E. Its byte image is (Count + 7) / 8 bytes long.
template <class E>
class TSet {
public:
    static constexpr int Count = TEnumInfo<E>::Count;
    static constexpr int ByteSize = (Count + 7) / 8;
    static_assert(Count <= 64, "a published set holds at most 64 values");

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values) Include(v);
    }
    static constexpr TSet FromBits(uint64_t bits) {
        TSet s;
        s.fBits = bits & Mask();
        return s;
    }

    constexpr uint64_t Bits() const { return fBits; }
    constexpr bool Contains(E v) const { return (fBits >> Ordinal(v)) & 1u; }
    constexpr bool Empty() const { return fBits == 0; }
    constexpr TSet& Include(E v) {
        fBits |= uint64_t{1} << Ordinal(v);
        return *this;
    }
    constexpr TSet& Exclude(E v) {
        fBits &= ~(uint64_t{1} << Ordinal(v));
        return *this;
    }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.fBits | b.fBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.fBits & ~b.fBits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.fBits & b.fBits); }
    friend constexpr bool operator==(TSet a, TSet b) = default;

private:
    static constexpr unsigned Ordinal(E v) { return static_cast<unsigned>(v); }
    static constexpr uint64_t Mask() { return Count == 64 ? ~uint64_t{0} : (uint64_t{1} << Count) - 1; }
    uint64_t fBits = 0;
};

}  // namespace tv
