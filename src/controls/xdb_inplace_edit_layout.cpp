// The in-place editor's button and list geometry (see the header).

#include "controls/xdb_inplace_edit_layout.h"

#include <algorithm>

namespace tv {

int LimitListRows(int dropDownRows, int count) {
    int rows = count;
    if (dropDownRows > 0 && dropDownRows < count)
        rows = dropDownRows;
    else if (dropDownRows == 0 && count > kListRowsLimit)
        rows = kListRowsLimit;
    return std::max(rows, 1);
}

int LimitListWidth(int dropDownWidth, int width, int editorWidth) {
    int result = width;
    if (dropDownWidth > 0 && dropDownWidth < width)
        result = dropDownWidth;
    else if (dropDownWidth == 0 && width > kListWidthLimit)
        result = kListWidthLimit;
    return std::max(result, editorWidth + 2);
}

TRect EditButtonRect(int editorWidth, int editorHeight, int buttonWidth, bool rightToLeft) {
    if (rightToLeft) return {0, 0, buttonWidth, editorHeight};
    return {editorWidth - buttonWidth, 0, editorWidth, editorHeight};
}

TListPlacement PlaceDropDownList(TPoint editorOnScreen, int editorWidth, int editorHeight, int listWidth,
                                 int listHeight, const TRect& workArea, bool rightToLeft, bool gridStylePickList) {
    const int x0 = editorOnScreen.X - 1;
    const int y0 = editorOnScreen.Y - 1;
    const int alignedRight = x0 + editorWidth + 2 - listWidth;
    int x = x0;
    if (rightToLeft ? alignedRight >= workArea.Left : x0 + listWidth > workArea.Right) x = alignedRight;
    const int height = std::min(listHeight, workArea.Height());
    TListPlacement place{{}, false};
    int y = y0 + editorHeight + 2;
    if (y + height > workArea.Bottom) {
        if (y0 - height >= workArea.Top) {
            y = y0 - height + (gridStylePickList ? 1 : 0);
            place.above = true;
        } else {
            y = workArea.Bottom - height;
        }
    }
    place.bounds = {x, y, x + listWidth, y + height};
    return place;
}

}  // namespace tv
