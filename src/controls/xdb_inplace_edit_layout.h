#pragma once
// Where the in-place editor's button stands and where its drop-down list opens, as pure functions
// of the sizes involved, so that the rules are tested without a screen.

#include "platform/gui/rect.h"

namespace tv {

// A list whose column gives no limit shows at most this many rows and is at most this wide.
inline constexpr int kListRowsLimit = 20;
inline constexpr int kListWidthLimit = 800;
// The sliding open grows the list by one row every this many milliseconds.
inline constexpr unsigned kListSlideStepMs = 8;

// The rows a list of `count` entries shows: the column's `dropDownRows` when it is between 1 and
// count - 1; 20 when it is 0 and there are more than 20; else all of them; at least 1.
int LimitListRows(int dropDownRows, int count);
// The width of a list that wants `width`: the column's `dropDownWidth` when it is between 1 and
// width - 1; 800 when it is 0 and the list wants more; else `width`; at least the editor's width + 2.
int LimitListWidth(int dropDownWidth, int width, int editorWidth);

// The button's rectangle in an editor of that size: `buttonWidth` wide and as high as the editor,
// at the right edge (the left edge right to left).
TRect EditButtonRect(int editorWidth, int editorHeight, int buttonWidth, bool rightToLeft);

struct TListPlacement {
    TRect bounds;  // in screen coordinates
    bool above;    // opened above the editor
};

// Where a list of `listWidth` x `listHeight` opens for an editor whose top-left corner stands at
// `editorOnScreen` and which is `editorWidth` x `editorHeight`, within `workArea`. Its left edge
// and top stand one pixel out of the editor, on the cell's lines. A right-to-left list lines up
// with the editor's right edge when that keeps it inside the work area on the left; a
// left-to-right one only when it would pass the work area's right edge. The height is cut to the
// work area's. It opens below the editor; when it does not fit there, above it when it fits there
// (one pixel lower for a pick list in grid style), else against the work area's bottom.
TListPlacement PlaceDropDownList(TPoint editorOnScreen, int editorWidth, int editorHeight, int listWidth,
                                 int listHeight, const TRect& workArea, bool rightToLeft, bool gridStylePickList);

}  // namespace tv
