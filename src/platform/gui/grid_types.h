#pragma once
// The vocabulary of the base grid (grid.h) and of the grids built on it: cell coordinates, draw
// states, options, grid states and the per-axis draw information. docs/base-grid.md says what
// each means.

#include <cstdint>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

inline constexpr const char* kGridIndexOutOfRange = "Grid index out of range";
inline constexpr const char* kFixedColsTooBig = "Fixed column count must be less than column count";
inline constexpr const char* kFixedRowsTooBig = "Fixed row count must be less than row count";

// A cell by raw column (X) and raw row (Y); -1 on an axis stands for no cell.
struct TGridCoord {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, both corners included.
struct TGridRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool Contains(int c, int r) const { return c >= Left && c <= Right && r >= Top && r <= Bottom; }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
TV_ENUM_INFO(TGridDrawStateItem, "gdSelected", "gdFocused", "gdFixed", "gdRowSelected", "gdHotTrack",
             "gdPressed");
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridOption : uint8_t {
    goVertLine,
    goHorzLine,
    goRowSizing,
    goColSizing,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
TV_ENUM_INFO(TGridOption, "goVertLine", "goHorzLine", "goRowSizing", "goColSizing", "goColMoving", "goEditing",
             "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking");
using TGridOptions = TSet<TGridOption>;

// What the mouse is doing in the grid.
enum TGridState : uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsColMoving };
TV_ENUM_INFO(TGridState, "gsNormal", "gsSelecting", "gsRowSizing", "gsColSizing", "gsColMoving");

// Where a selection drag left the scrolled cells (TimedScroll).
enum TGridScrollDirection : uint8_t { sdLeft, sdRight, sdUp, sdDown };
TV_ENUM_INFO(TGridScrollDirection, "sdLeft", "sdRight", "sdUp", "sdDown");
using TGridScrollDirections = TSet<TGridScrollDirection>;

// Where the cells of one axis (columns, or rows) lie in the client area.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;  // the line after every cell: the grid line width, or 0
    int FixedBoundary = 0;       // the pixel after the last fixed cell's line
    int GridBoundary = 0;        // the pixel after the last visible cell's line, or GridExtent when cut
    int GridExtent = 0;          // the client area's extent
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;  // the pixel after the last fully visible cell's line
    int FixedCellCount = 0;
    int FirstGridCell = 0;  // LeftCol or TopRow
    int GridCellCount = 0;  // ColCount or RowCount
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

// How a repaint request asks for pixels (TCustomGrid::RepaintGrid).
enum class TGridRepaint : uint8_t {
    Invalidate,  // paint the rectangle again
    Validate,    // the rectangle needs no painting after all
    Scroll,      // shift the pixels of the rectangle by dx, dy; paint what that uncovers
};

}  // namespace tv
