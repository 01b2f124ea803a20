#pragma once
// Points and rectangles as the class library passes them: a rectangle runs from Left/Top inclusive
// to Right/Bottom exclusive, so its width is Right - Left.

#include <cstdint>

#include "platform/rtl/type_info.h"

namespace tv {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Their type information, for events that pass them by value.
template <>
struct TTypeInfoOf<TPoint> {
    static const TTypeInfo& Get();
};
template <>
struct TTypeInfoOf<TRect> {
    static const TTypeInfo& Get();
};

constexpr TPoint Point(int32_t x, int32_t y) {
    return {x, y};
}
constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {left, top, right, bottom};
}
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}
// The part two rectangles have in common; the empty rectangle (0, 0, 0, 0) when they have none.
inline TRect CommonRect(const TRect& a, const TRect& b) {
    const TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                  a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return r.IsEmpty() ? TRect{} : r;
}

}  // namespace tv
