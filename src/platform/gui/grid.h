#pragma once
// The base grid: a control of cells in raw columns and rows, the first ones fixed, that owns no data.
// It keeps the geometry (sizes, lines, scroll position, current cell), paints by asking DrawCell
// for each visible cell, hosts an in-place editor, and handles the mouse and keys of sizing,
// moving and moving around. Grids that show data (the data grid) derive from it and override its
// hooks. docs/base-grid.md is its design note: what it does where a descendant or a test relies
// on it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/custom_control.h"
#include "platform/gui/edit.h"
#include "platform/gui/focus_return.h"
#include "platform/gui/form.h"
#include "platform/gui/grid_axis.h"
#include "platform/gui/grid_types.h"
#include "platform/gui/scroll_bar.h"
#include "platform/gui/scroll_bar_adapter.h"

namespace tv {

class TCustomGrid;
class TPostedMessages;
class TScrollBarAdapter;
class TTimer;

// Hears every repaint request of a grid before the grid carries it out (tests record them).
using TGridRepaintEvent = std::function<void(TGridRepaint kind, const TRect& rect, int dx, int dy)>;

// The grid's in-place editor: a frameless edit over the current cell. It hands every change the
// user makes to the grid, asks the grid before a character is typed or the text changes, and
// passes the keys that move between cells, Enter and Esc to the grid.
class TInplaceEdit : public TCustomEdit {
    TV_CLASS(TInplaceEdit, TCustomEdit)
public:
    explicit TInplaceEdit(TCustomGrid* AGrid);
    ~TInplaceEdit() override;

    TCustomGrid* Grid() const { return fGrid; }
    // Kept for the grid's descendants; the edit does not apply masks.
    const std::string& EditMask() const { return fEditMask; }
    void SetEditMask(const std::string& value) { fEditMask = value; }

    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;

protected:
    bool WantsKey(uint16_t Key) const override;
    bool AcceptsFocus() const override { return true; }
    void DoEnter() override;
    void DoExit() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;
    // The text, limit and mask of the current cell, from the grid.
    virtual void UpdateContents();
    // Puts `text` in the editor as the grid's own and hands it to the grid for the current cell.
    void HandTextToGrid(const std::string& text);

private:
    friend class TCustomGrid;
    // The user changed the text (typing, deleting, pasting, undoing).
    void UserEdited();
    // Whether the caret stands where Left (Right) would leave the text.
    bool AtEdge(bool right) const;

    TCustomGrid* fGrid;
    std::string fEditMask;
    // The text the grid last gave or received: a change the grid refuses goes back to it.
    std::string fAccepted;
};

class TCustomGrid : public TCustomControl {
    TV_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* AOwner = nullptr);
    ~TCustomGrid() override;

    // ---- geometry ----
    int ColCount() const { return static_cast<int>(fColWidths.size()); }
    void SetColCount(int value);
    int RowCount() const { return static_cast<int>(fRowHeights.size()); }
    void SetRowCount(int value);
    int FixedCols() const { return fFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return fFixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return fDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return fDefaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int value);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int value);
    int GridLineWidth() const { return fGridLineWidth; }
    void SetGridLineWidth(int value);
    bool TabStops(int ACol) const;
    void SetTabStops(int ACol, bool value);
    TGridOptions Options() const { return fOptions; }
    void SetOptions(TGridOptions value);

    // ---- scroll position and the current cell ----
    int LeftCol() const { return fLeftCol; }
    void SetLeftCol(int value);
    int TopRow() const { return fTopRow; }
    void SetTopRow(int value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int Col() const { return fCol; }
    void SetCol(int value);
    int Row() const { return fRow; }
    void SetRow(int value);
    // Makes ACol, ARow the current cell (EInvalidGridOperation outside the scrolled cells).
    void FocusCell(int ACol, int ARow);
    TGridRect Selection() const;
    TGridState GridState() const { return fGridState; }

    // ---- cells and points ----
    TGridDrawInfo CalcDrawInfo() const;
    TRect CellRect(int ACol, int ARow) const;
    virtual TGridCoord MouseCoord(int X, int Y) const;

    // ---- direction ----
    // A right-to-left grid stands mirrored: its first column at the right edge and each cell's
    // line at its left. Cell rectangles, mouse points, the paint, repaints and the editor's place
    // are mirrored across the client width; the axes' arithmetic (grid_axis.h) stays left to right.
    virtual bool UseRightToLeftAlignment() const { return false; }
    // A pixel column of the left-to-right layout where it shows on screen, and back again (the
    // same mapping both ways); unchanged on a left-to-right grid.
    int MirrorX(int X) const { return UseRightToLeftAlignment() ? ClientWidth() - 1 - X : X; }
    TRect MirrorRect(const TRect& R) const;
    // The client area: the viewport, without frame and scroll bars.
    TRect ClientRect() const override;

    // ---- look ----
    TBorderStyle BorderStyle() const { return fBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    void SetCtl3D(bool value) override;
    TColor FixedColor() const { return fFixedColor; }
    void SetFixedColor(TColor value);
    TScrollStyle ScrollBars() const { return fScrollBars; }
    void SetScrollBars(TScrollStyle value);
    // Whether the horizontal (vertical) bar shows now: asked for, and with something to scroll
    // (or shown disabled).
    bool ScrollBarShown(bool horizontal) const;
    // The desktop's thickness of a scroll bar, in pixels.
    int ScrollBarExtent() const;
    // What the vertical bar shows now (the platform's scroll information).
    TScrollInfo VertScrollInfo() const;

    // ---- the editor ----
    bool EditorMode() const { return fEditorMode; }
    void SetEditorMode(bool value);
    TInplaceEdit* InplaceEditor() const { return fEditor; }
    void ShowEditor();
    void HideEditor();
    // Reloads the editor's text and place from the current cell.
    void InvalidateEditor();

    // ---- repaints: every request passes RepaintGrid ----
    TGridRepaintEvent OnRepaint;
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateRect(const TGridRect& ARect);
    void InvalidateGrid();
    void ValidateRect(const TRect& ARect);
    void ScrollGridRect(const TRect& ARect, int DX, int DY);
    void Invalidate() override { InvalidateGrid(); }

    // ---- scrolling by the platform's scroll commands (scroll_bar.h numbers them) ----
    virtual void HorzScrollCommand(TScrollCode Code, int Pos);
    virtual void VertScrollCommand(TScrollCode Code, int Pos);

    // ---- what the user does ----
    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The wheel turned one step towards the user (Down) or away; true when handled.
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    // Ends sizing, moving and selecting without applying them.
    virtual void CancelMode();
    // Moves a raw column (its width and tab stop along) and calls ColumnMoved.
    void MoveColumn(int FromIndex, int ToIndex);

    // ---- private messages, each posted once (posted_messages.h) ----
    void PostGridMessage(uint32_t Msg);
    void RemoveGridMessage(uint32_t Msg);

protected:
    // ---- painting ----
    void Paint() override;
    // Draws one cell; the canvas is clipped to the cell's area, lines included. The base fills it.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // Carries out a repaint request, after OnRepaint heard it.
    virtual void RepaintGrid(TGridRepaint Kind, const TRect& ARect, int DX, int DY);
    // Paints over the window's frame (`Window` is the whole window, frame included) after the
    // grid drew it; a descendant gives the frame its own edges. The base leaves it as drawn.
    virtual void PaintGridBorder(TCanvas* Canvas, const TRect& Window) {}

    // ---- notifications ----
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    virtual void ColumnMoved(int FromIndex, int ToIndex) {}
    virtual void GridMessage(uint32_t Msg) {}
    // The answer of UseRightToLeftAlignment changed: the grid paints again and the editor moves.
    void DirectionChanged();

    // ---- the mouse ----
    // Decides what a press at X, Y starts: column or row sizing in a sizing zone, else normal.
    // Index is the cell whose border is under the mouse, SizingPos the pixel of its line and
    // SizingOfs the distance from the point to it, both counted left to right (MirrorX) on a
    // right-to-left grid.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                 const TGridDrawInfo& DrawInfo);
    virtual bool BeginColumnDrag(int& Origin, int& Destination, TPoint MousePt) { return true; }
    virtual bool CheckColumnDrag(int& Origin, int& Destination, TPoint MousePt) { return true; }
    virtual bool EndColumnDrag(int& Origin, int& Destination, TPoint MousePt) { return true; }
    // Called every 60 ms while a selection is dragged outside the scrolled cells.
    virtual void TimedScroll(TGridScrollDirections Direction);

    // ---- a vertical bar of the descendant's own ----
    // From the first call on, the vertical bar shows this information whatever ScrollBars says
    // (a bar that cannot scroll hides), and the base grid no longer sets it from the rows: the
    // data grid's bar counts records, not rows. Its commands still reach VertScrollCommand.
    void SetOwnVertScrollInfo(const TScrollInfo& info);

    // ---- the editor's hooks ----
    virtual TInplaceEdit* CreateEditor();
    virtual bool CanEditShow() const;
    virtual bool CanEditAcceptKey(char16_t Key) { return true; }
    virtual bool CanEditModify() { return true; }
    virtual std::string GetEditText(int ACol, int ARow) { return {}; }
    virtual void SetEditText(int ACol, int ARow, const std::string& Value) {}
    virtual int GetEditLimit() { return 0; }
    virtual std::string GetEditMask(int ACol, int ARow) { return {}; }

    // ---- the control ----
    bool AcceptsFocus() const override { return true; }
    bool WantsKey(uint16_t Key) const override;
    void DoEnter() override;
    void DoExit() override;
    // The grid's own work when the focus leaves it and its editor, before OnExit; an exception
    // keeps the focus in the grid.
    virtual void GridExit() {}
    void Resize() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;
    void PlaceChild(TControl* child) override;

private:
    friend class TInplaceEdit;
    TGridAxis Columns() const { return {fColWidths, fFixedCols, LineWidthOf(goVertLine)}; }
    TGridAxis Rows() const { return {fRowHeights, fFixedRows, LineWidthOf(goHorzLine)}; }
    int LineWidthOf(TGridOption option) const { return fOptions.Contains(option) ? fGridLineWidth : 0; }
    void ChangeCount(int value, std::vector<int>& sizes, int defaultSize, int& fixed);
    void ChangeFixed(int value, int count, const char* tooBig, int& fixed);
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // The geometry changed: scroll position, current cell, scroll bars and editor follow.
    void GeometryChanged();
    void SetTopLeft(int left, int top);
    void UpdateScrollBars();
    void ScrollCommand(bool horizontal, TScrollCode code, int pos);
    // Makes a cell current and scrolls it fully into view.
    void MoveCurrent(int ACol, int ARow);
    void InvalidateSelection();
    void InvalidateGridRect(const TGridRect& cells);
    // Whether the grid or its editor has the focus.
    bool HasFocus() const;

    // painting (grid_paint.cpp)
    void PaintLines(const TGridDrawInfo& info);
    void PaintArea(const TGridDrawInfo& info, bool fixedRows, bool fixedCols);
    void PaintDragFeedback(const TGridDrawInfo& info);

    // the mouse (grid_mouse.cpp)
    void UpdateSizingCursor(int X, int Y);
    // The pixel of the sizing line where the mouse has dragged it.
    int SizingLine() const;
    int SizingDelta() const;
    TRect SizingLineRect(int pos) const;
    void MoveSizingLine(int X, int Y);
    // Ends sizing, moving or selecting, applying a size or move when `apply` says so.
    void EndMouseMode(bool apply);
    void EndSizing(bool apply);
    void EndColumnMove(bool apply, TPoint at);
    void MoveColumnDrag(int X, int Y);
    // The scrolled column a column move aims at under X.
    int ColumnUnderForMove(const TGridDrawInfo& info, int X) const;
    // Where the bar that shows a move's destination stands; false when it is not shown.
    bool MoveMarkerPos(const TGridDrawInfo& info, int& x) const;
    void RepaintMoveMarker();
    void SelectAt(int X, int Y);
    void ScrollTimerTick();
    TGridScrollDirections OutsideDirections(int X, int Y) const;
    void WheelTurned(int delta, TShiftState shift, TPoint pos);

    // keys (grid_keys.cpp)
    bool TabColumn(bool forward);

    // the editor and the focus (grid_editor.cpp)
    void PlaceEditor();
    // The focus came to the grid or its editor from elsewhere, or left both.
    void FocusArrived();
    void FocusLeft();
    // Focus that returns with the window (a Qt::FocusReason) is inside without having arrived.
    void FocusCameWithWindow(int reason);
    void RestoreEditorText();
    void TypeIntoEditor(char16_t ch);

    std::vector<int> fColWidths;
    std::vector<int> fRowHeights;
    std::vector<bool> fTabStops;
    int fFixedCols = 1;
    int fFixedRows = 1;
    int fDefaultColWidth = 64;
    int fDefaultRowHeight = 24;
    int fGridLineWidth = 1;
    TGridOptions fOptions{goVertLine, goHorzLine};
    int fLeftCol = 1;
    int fTopRow = 1;
    int fCol = 1;
    int fRow = 1;
    TBorderStyle fBorderStyle = bsSingle;
    TColor fFixedColor = clBtnFace;
    TScrollStyle fScrollBars = ssBoth;

    // the mouse
    TGridState fGridState = gsNormal;
    int fSizingIndex = -1;
    int fSizingPos = 0;       // the pixel where the border's line started
    int fSizingOfs = 0;       // the distance from the press to it
    int fSizingOriginal = 0;  // the mouse position where sizing began
    int fMoveOrigin = -1;
    int fMoveDestination = -1;
    TPoint fMovePressPoint;
    bool fMoveArmed = false;  // a title press that becomes a move once the mouse travels far enough
    bool fCursorSplit = false;
    TPoint fLastMouse;
    std::unique_ptr<TTimer> fScrollTimer;
    int fWheelDelta = 0;

    // the editor
    TInplaceEdit* fEditor = nullptr;  // a child control, freed with the grid
    bool fEditorMode = false;
    std::string fEditorOpenText;  // the text the editor opened with, for Esc
    bool fInside = false;         // the grid or its editor has the focus
    TFocusReturn fFocusReturn;

    std::unique_ptr<TScrollBarAdapter> fHorzBar;
    std::unique_ptr<TScrollBarAdapter> fVertBar;
    std::unique_ptr<TPostedMessages> fMessages;
    bool fUpdatingScrollBars = false;
    bool fOwnVertBar = false;
    TScrollInfo fOwnVertInfo;
};

}  // namespace tv
