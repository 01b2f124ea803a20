// The base grid's keys: moving the current cell, Tab between columns with tab stops, and the keys
// that open, close and restore the editor.

#include <algorithm>

#include "platform/gui/grid.h"
#include "platform/gui/key_codes.h"

namespace tv {

namespace {

constexpr uint16_t VK_F2 = VK_F1 + 1;
constexpr char16_t kEnter = 13;
constexpr char16_t kEsc = 27;

}  // namespace

bool TCustomGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
    auto alive = Watch();
    if (!TCustomControl::KeyDown(Key, Shift) || alive.expired()) return false;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool rowSelect = fOptions.Contains(goRowSelect);
    const int lastCol = ColCount() - 1;
    const int lastRow = RowCount() - 1;
    auto moveTo = [&](int c, int r) {
        MoveCurrent(std::clamp(c, fFixedCols, lastCol), std::clamp(r, fFixedRows, lastRow));
    };
    switch (Key) {
        case VK_UP:
            moveTo(fCol, fRow - 1);
            break;
        case VK_DOWN:
            moveTo(fCol, fRow + 1);
            break;
        case VK_LEFT:
            if (rowSelect)
                SetLeftCol(fLeftCol - 1);
            else
                moveTo(fCol - 1, fRow);
            break;
        case VK_RIGHT:
            if (rowSelect)
                SetLeftCol(fLeftCol + 1);
            else
                moveTo(fCol + 1, fRow);
            break;
        case VK_PRIOR:
            moveTo(fCol, fRow - VisibleRowCount());
            break;
        case VK_NEXT:
            moveTo(fCol, fRow + VisibleRowCount());
            break;
        case VK_HOME:
            if (ctrl)
                moveTo(fCol, fFixedRows);
            else
                moveTo(fFixedCols, fRow);
            break;
        case VK_END:
            if (ctrl)
                moveTo(fCol, lastRow);
            else
                moveTo(lastCol, fRow);
            break;
        case VK_TAB:
            // At the last (first) cell Tab goes on to the next (previous) control.
            if (!fOptions.Contains(goTabs) || Shift.Contains(ssAlt) || !TabColumn(!Shift.Contains(ssShift)))
                return true;
            break;
        case VK_F2:
            SetEditorMode(true);
            break;
        default:
            return true;
    }
    if (alive.expired()) return false;
    Key = 0;
    return false;
}

bool TCustomGrid::TabColumn(bool forward) {
    if (std::none_of(fTabStops.begin() + fFixedCols, fTabStops.end(), [](bool stop) { return stop; })) return false;
    int c = fCol;
    int r = fRow;
    for (;;) {
        c += forward ? 1 : -1;
        if (c >= ColCount()) {
            c = fFixedCols;
            if (++r >= RowCount()) return false;
        } else if (c < fFixedCols) {
            c = ColCount() - 1;
            if (--r < fFixedRows) return false;
        }
        if (fTabStops[c]) break;
    }
    MoveCurrent(c, r);
    return true;
}

bool TCustomGrid::KeyPress(char16_t& Key) {
    auto alive = Watch();
    if (!TCustomControl::KeyPress(Key) || alive.expired()) return false;
    const bool editing = fOptions.Contains(goEditing);
    if (Key == kEnter) {
        if (!editing) return true;
        // The text is with the grid already: closing it is all Enter does.
        if (!fOptions.Contains(goAlwaysShowEditor)) SetEditorMode(!fEditorMode);
    } else if (Key == kEsc) {
        if (!fEditorMode) return true;
        RestoreEditorText();
        if (!alive.expired() && !fOptions.Contains(goAlwaysShowEditor)) HideEditor();
    } else if (Key >= 32 && Key != 127 && editing) {
        TypeIntoEditor(Key);
    } else {
        return true;
    }
    if (alive.expired()) return false;
    Key = 0;
    return false;
}

bool TCustomGrid::WantsKey(uint16_t Key) const {
    if (Key == VK_RETURN) return fOptions.Contains(goEditing);
    if (Key == VK_ESCAPE) return fEditorMode;
    return false;
}

}  // namespace tv
