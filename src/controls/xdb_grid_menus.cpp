// The data grid's menus: drop-down menus under a title or a cell (a title's expand button, the
// filler, an editor's drop-down button), and the context menu a right-button release opens, chosen
// by the cell under the mouse.

#include <QContextMenuEvent>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/gui/menu.h"

namespace tv {

// ---------------------------------------------------------------- drop-down menus

bool TXCustomDBGrid::DropDownMenu(TXColumn* Column, bool Title, TPopupMenu* PopupMenu) {
    TPopupMenu* menu = PopupMenu;
    if (!menu) {
        if (Title)
            menu = Column ? Column->Title()->DropDownMenu() : fFillerPopupMenu;
        else
            menu = Column ? Column->DropDownMenu() : fIndicatorPopupMenu;
    }
    if (!menu) return false;
    auto alive = Watch();
    CancelMode();
    if (alive.expired()) return true;
    if (Title) HideEditor();
    // A title's menu took the editor away: it comes back after the menu, whatever the menu did.
    const bool showEditorAfter = Title && fOptions.Contains(dgAlwaysShowEditor);
    try {
        menu->SetPopupComponent(this);
        const TPoint at = DropDownPoint(Column, Title);
        menu->Popup(at.X, at.Y);
    } catch (...) {
        if (!alive.expired() && showEditorAfter) ShowEditor();
        throw;
    }
    if (!alive.expired() && showEditorAfter) ShowEditor();
    return true;
}

TPoint TXCustomDBGrid::DropDownPoint(TXColumn* Column, bool Title) {
    const bool rightToLeft = fBiDiMode == bdRightToLeft;
    int x = 0;
    int y = 0;
    if (Column) {
        // Under the column's own title cell (a group's spans its children), or under its cell in
        // the current row.
        const TRect cell = Title ? ColumnTitleRect(Column, std::min(Column->Depth(), fTitleOffset - 1))
                                 : CellRect(ColumnToRaw(Column), Row());
        x = rightToLeft ? cell.Right : cell.Left;
        y = cell.Bottom + RowLineWidth();
    } else {
        x = rightToLeft ? ClientWidth() : 0;
        y = Title ? TitleHeight() : CellRect(0, Row()).Bottom + RowLineWidth();
    }
    // A plain grid's menu covers the cell's lines: it opens on them, not beside them.
    const bool dataCell = !Title && Column && Column->Index() >= FixedCols();
    if (!IsGridThemed() || fFixedTheme == ftDefault || dataCell) {
        x += rightToLeft ? ColLineWidth() : -ColLineWidth();
        y -= RowLineWidth();
    }
    return ClientToScreen({x, y});
}

// ---------------------------------------------------------------- context menus

TPopupMenu* TXCustomDBGrid::ContextMenuOf(TGridCoord Cell, int Y, bool& Title) {
    Title = Cell.Y >= 0 && Cell.Y < fTitleOffset;
    if (Cell.X < 0 || Cell.Y < 0) return PopupMenu();
    const bool totalRow = Cell.Y >= RowCount() - fTotalOffset;
    if (Cell.X < fIndicatorOffset) {
        if (Title) return fFillerPopupMenu;
        return totalRow ? nullptr : fIndicatorPopupMenu;
    }
    TXColumn* column = RawToColumn(Cell.X);
    if (!column) return nullptr;
    if (totalRow) {
        // The menu of the total shown there (rows counted after the blank row).
        const TXColumnTotal* total = column->TotalAtRow(Cell.Y - (RowCount() - fTotalOffset) - 1);
        return total ? total->PopupMenu() : nullptr;
    }
    if (!Title) return column->PopupMenu();
    // The group whose title lies under the mouse.
    column = ColumnAtDepth(column, Cell.Y);
    // A title that the right button moves has no menu of its own, unless its column is fixed.
    const bool rightMoves = fOptions.Contains(dgRightMoving) && fOptions.Contains(dgColumnResize) &&
                            fResizeOptions.Contains(roColumnMoving);
    if (rightMoves && column->Index() >= FixedCols()) return nullptr;
    if (fOptions.Contains(dgTitleHeaders) && HeaderRowAt(column, Y) >= 0) return nullptr;
    return column->Title()->PopupMenu();
}

bool TXCustomDBGrid::ContextMenuAt(int X, int Y) {
    if (ComponentState().Contains(csDesigning)) return false;
    bool title = false;
    TPopupMenu* menu = ContextMenuOf(MouseCoord(X, Y), Y, title);
    auto alive = Watch();
    bool shown = false;
    if (menu && menu->AutoPopup()) {
        CancelMode();
        if (alive.expired()) return true;
        HideEditor();
        menu->SetPopupComponent(this);
        const TPoint at = ClientToScreen({X, Y});
        menu->Popup(at.X, at.Y);
        if (alive.expired()) return true;
        shown = true;
    }
    if (fOptions.Contains(dgAlwaysShowEditor)) ShowEditor();
    if (shown || title || alive.expired()) return true;
    // No menu of the cell: the grid's own, as any control's.
    TPopupMenu* own = PopupMenu();
    if (!own || !own->AutoPopup() || own == menu) return false;
    own->SetPopupComponent(this);
    const TPoint at = ClientToScreen({X, Y});
    own->Popup(at.X, at.Y);
    return true;
}

bool TXCustomDBGrid::WidgetEvent(QEvent* e, bool viewport) {
    if (HintEvent(e, viewport)) return true;
    // The mouse's request is answered at the right button's release (MouseUp), by the cell under
    // it; the keyboard's goes to the grid's own menu as any control's.
    if (e->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Mouse) {
        e->accept();
        return true;
    }
    return TCustomGrid::WidgetEvent(e, viewport);
}

}  // namespace tv
