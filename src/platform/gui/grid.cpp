// The base grid's geometry, scroll position, current cell, scroll bars and repaint requests.
// Painting is in grid_paint.cpp, the mouse in grid_mouse.cpp, keys in grid_keys.cpp and the editor
// in grid_editor.cpp.

#include "platform/gui/grid.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "platform/gui/panel.h"
#include "platform/gui/posted_messages.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/scroll_bar_adapter.h"
#include "platform/gui/timer.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr int kDefaultCount = 5;
constexpr uint32_t kSelectScrollInterval = 60;

[[noreturn]] void GridError(const char* message) {
    throw EInvalidGridOperation(message);
}

void CheckIndex(int index, int count) {
    if (index < 0 || index >= count) GridError(kGridIndexOutOfRange);
}

// Stores a cell's size; false when it had that size already.
bool StoreSize(std::vector<int>& sizes, int index, int value) {
    CheckIndex(index, static_cast<int>(sizes.size()));
    if (sizes[index] == value) return false;
    sizes[index] = value;
    return true;
}

QAbstractScrollArea* AreaOf(QWidget* widget) {
    return static_cast<QAbstractScrollArea*>(widget);
}

// Hands the wheel over a scroll bar to the grid, which scrolls by rows as over its cells.
class TWheelToGrid : public QObject {
public:
    TWheelToGrid(QObject* parent, std::function<void(QWheelEvent*)> wheel)
        : QObject(parent), fWheel(std::move(wheel)) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return QObject::eventFilter(watched, e);
        fWheel(static_cast<QWheelEvent*>(e));
        e->accept();
        return true;
    }

private:
    std::function<void(QWheelEvent*)> fWheel;
};

}  // namespace

const TClassInfo& TCustomGrid::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomGrid>("TCustomGrid").Build();
    return info;
}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner, NewWidget<QAbstractScrollArea>()) {
    QAbstractScrollArea* area = AreaOf(Widget());
    QWidget* viewport = area->viewport();
    // Every pixel of the client area is painted by the grid.
    viewport->setAutoFillBackground(false);
    viewport->setAttribute(Qt::WA_OpaquePaintEvent);
    fColWidths.assign(kDefaultCount, fDefaultColWidth);
    fRowHeights.assign(kDefaultCount, fDefaultRowHeight);
    fTabStops.assign(kDefaultCount, true);
    fHorzBar = std::make_unique<TScrollBarAdapter>(
        area, sbHorizontal, [this](TScrollCode code, int pos) { HorzScrollCommand(code, pos); });
    fVertBar = std::make_unique<TScrollBarAdapter>(
        area, sbVertical, [this](TScrollCode code, int pos) { VertScrollCommand(code, pos); });
    auto alive = Watch();
    auto wheel = [this, alive](QWheelEvent* e) {
        if (alive.expired()) return;
        try {
            WheelTurned(e->angleDelta().y(), ShiftStateOf(e->modifiers(), e->buttons()), {});
        } catch (...) {
            HandleGuiException(alive.expired() ? nullptr : this);
        }
    };
    for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
        bar->installEventFilter(new TWheelToGrid(bar, wheel));
        // The desktop's bars, not in the grid's own colour.
        bar->setPalette(QApplication::palette());
    }
    fScrollTimer = std::make_unique<TTimer>();
    fScrollTimer->SetEnabled(false);
    fScrollTimer->SetInterval(kSelectScrollInterval);
    fScrollTimer->OnTimer = [this](TObject*) { ScrollTimerTick(); };
    fMessages = std::make_unique<TPostedMessages>([this](uint32_t msg) { GridMessage(msg); }, this);
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBorderStyle(bsSingle);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() {
    BeginDestroy();
    fScrollTimer->OnTimer = nullptr;
}

// ---- geometry ----

void TCustomGrid::SetColCount(int value) {
    ChangeCount(value, fColWidths, fDefaultColWidth, fFixedCols);
}

void TCustomGrid::SetRowCount(int value) {
    ChangeCount(value, fRowHeights, fDefaultRowHeight, fFixedRows);
}

void TCustomGrid::ChangeCount(int value, std::vector<int>& sizes, int defaultSize, int& fixed) {
    value = std::max(value, 1);
    if (value == static_cast<int>(sizes.size())) return;
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    HideEditor();
    sizes.resize(value, defaultSize);
    if (&sizes == &fColWidths) fTabStops.resize(value, true);
    if (fixed >= value) fixed = value - 1;
    GeometryChanged();
    SizeChanged(oldCols, oldRows);
}

void TCustomGrid::SetFixedCols(int value) {
    ChangeFixed(value, ColCount(), kFixedColsTooBig, fFixedCols);
}

void TCustomGrid::SetFixedRows(int value) {
    ChangeFixed(value, RowCount(), kFixedRowsTooBig, fFixedRows);
}

void TCustomGrid::ChangeFixed(int value, int count, const char* tooBig, int& fixed) {
    if (value < 0) GridError(kGridIndexOutOfRange);
    if (value >= count) GridError(tooBig);
    if (value == fixed) return;
    fixed = value;
    GeometryChanged();
}

void TCustomGrid::SetDefaultColWidth(int value) {
    fDefaultColWidth = value;
    std::fill(fColWidths.begin(), fColWidths.end(), value);
    GeometryChanged();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    fDefaultRowHeight = value;
    std::fill(fRowHeights.begin(), fRowHeights.end(), value);
    GeometryChanged();
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int ACol) const {
    CheckIndex(ACol, ColCount());
    return fColWidths[ACol];
}

void TCustomGrid::SetColWidths(int ACol, int value) {
    if (!StoreSize(fColWidths, ACol, value)) return;
    GeometryChanged();
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int ARow) const {
    CheckIndex(ARow, RowCount());
    return fRowHeights[ARow];
}

void TCustomGrid::SetRowHeights(int ARow, int value) {
    if (!StoreSize(fRowHeights, ARow, value)) return;
    GeometryChanged();
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int value) {
    value = std::max(value, 0);
    if (value == fGridLineWidth) return;
    fGridLineWidth = value;
    GeometryChanged();
}

bool TCustomGrid::TabStops(int ACol) const {
    CheckIndex(ACol, ColCount());
    return fTabStops[ACol];
}

void TCustomGrid::SetTabStops(int ACol, bool value) {
    CheckIndex(ACol, ColCount());
    fTabStops[ACol] = value;
}

void TCustomGrid::SetOptions(TGridOptions value) {
    if (value == fOptions) return;
    const TGridOptions old = fOptions;
    fOptions = value;
    if (!CanEditShow()) HideEditor();
    const TGridOptions lines{goVertLine, goHorzLine};
    if ((old * lines) != (value * lines))
        GeometryChanged();
    else
        InvalidateGrid();
    if (value.Contains(goAlwaysShowEditor) && !old.Contains(goAlwaysShowEditor)) ShowEditor();
}

// ---- scroll position and the current cell ----

int TCustomGrid::MaxLeftCol() const {
    return std::max(Columns().MaxFirst(ClientWidth()), fFixedCols);
}

int TCustomGrid::MaxTopRow() const {
    return std::max(Rows().MaxFirst(ClientHeight()), fFixedRows);
}

void TCustomGrid::SetLeftCol(int value) {
    SetTopLeft(value, fTopRow);
}

void TCustomGrid::SetTopRow(int value) {
    SetTopLeft(fLeftCol, value);
}

void TCustomGrid::SetTopLeft(int left, int top) {
    left = std::clamp(left, fFixedCols, MaxLeftCol());
    top = std::clamp(top, fFixedRows, MaxTopRow());
    if (left == fLeftCol && top == fTopRow) return;
    const TGridDrawInfo info = CalcDrawInfo();
    const TRect client = ClientRect();
    if (left != fLeftCol)
        RepaintGrid(TGridRepaint::Invalidate,
                    MirrorRect(Rect(info.Horz.FixedBoundary, 0, client.Right, client.Bottom)), 0, 0);
    if (top != fTopRow)
        RepaintGrid(TGridRepaint::Invalidate, Rect(0, info.Vert.FixedBoundary, client.Right, client.Bottom),
                    0, 0);
    fLeftCol = left;
    fTopRow = top;
    UpdateScrollBars();
    PlaceEditor();
    TopLeftChanged();
}

int TCustomGrid::VisibleColCount() const {
    const TGridAxisDrawInfo info = Columns().DrawInfo(fLeftCol, ClientWidth());
    return std::max(info.LastFullVisibleCell - fLeftCol + 1, 1);
}

int TCustomGrid::VisibleRowCount() const {
    const TGridAxisDrawInfo info = Rows().DrawInfo(fTopRow, ClientHeight());
    return std::max(info.LastFullVisibleCell - fTopRow + 1, 1);
}

void TCustomGrid::SetCol(int value) {
    if (value < fFixedCols || value >= ColCount()) GridError(kGridIndexOutOfRange);
    MoveCurrent(value, fRow);
}

void TCustomGrid::SetRow(int value) {
    if (value < fFixedRows || value >= RowCount()) GridError(kGridIndexOutOfRange);
    MoveCurrent(fCol, value);
}

void TCustomGrid::FocusCell(int ACol, int ARow) {
    if (ACol < fFixedCols || ACol >= ColCount() || ARow < fFixedRows || ARow >= RowCount())
        GridError(kGridIndexOutOfRange);
    MoveCurrent(ACol, ARow);
}

TGridRect TCustomGrid::Selection() const {
    if (fOptions.Contains(goRowSelect)) return {fFixedCols, fRow, ColCount() - 1, fRow};
    return {fCol, fRow, fCol, fRow};
}

void TCustomGrid::MoveCurrent(int ACol, int ARow) {
    const bool moved = ACol != fCol || ARow != fRow;
    if (moved) {
        if (!fOptions.Contains(goAlwaysShowEditor)) HideEditor();
        InvalidateSelection();
        fCol = ACol;
        fRow = ARow;
        InvalidateSelection();
    }
    // Fully into view.
    const TGridDrawInfo info = CalcDrawInfo();
    int left = fLeftCol;
    int top = fTopRow;
    if (fCol < left)
        left = fCol;
    else if (fCol > info.Horz.LastFullVisibleCell)
        left = Columns().FirstToShow(fCol, info.Horz.GridExtent);
    if (fRow < top)
        top = fRow;
    else if (fRow > info.Vert.LastFullVisibleCell)
        top = Rows().FirstToShow(fRow, info.Vert.GridExtent);
    SetTopLeft(left, top);
    if (moved && fOptions.Contains(goAlwaysShowEditor)) ShowEditor();
}

void TCustomGrid::GeometryChanged() {
    UpdateScrollBars();
    SetTopLeft(fLeftCol, fTopRow);
    // The current cell stays a scrolled cell.
    const int col = std::clamp(fCol, fFixedCols, ColCount() - 1);
    const int row = std::clamp(fRow, fFixedRows, RowCount() - 1);
    if (col != fCol || row != fRow) MoveCurrent(col, row);
    UpdateScrollBars();
    InvalidateGrid();
    InvalidateEditor();
}

// ---- cells and points ----

TGridDrawInfo TCustomGrid::CalcDrawInfo() const {
    const TRect client = ClientRect();
    return {Columns().DrawInfo(fLeftCol, client.Width()), Rows().DrawInfo(fTopRow, client.Height())};
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    const TGridDrawInfo info = CalcDrawInfo();
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!Columns().CellSpan(info.Horz, ACol, left, right) || !Rows().CellSpan(info.Vert, ARow, top, bottom))
        return {};
    return MirrorRect(Rect(left, top, right, bottom));
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    const TGridDrawInfo info = CalcDrawInfo();
    return {Columns().CellAt(info.Horz, MirrorX(X)), Rows().CellAt(info.Vert, Y)};
}

TRect TCustomGrid::MirrorRect(const TRect& R) const {
    if (!UseRightToLeftAlignment() || R.IsEmpty()) return R;
    const int width = ClientWidth();
    return Rect(width - R.Right, R.Top, width - R.Left, R.Bottom);
}

void TCustomGrid::DirectionChanged() {
    InvalidateGrid();
    PlaceEditor();
}

namespace {

int FrameWidthOf(TBorderStyle style, bool ctl3D) {
    if (style != bsSingle) return 0;
    return ctl3D ? 2 : 1;
}

}  // namespace

TRect TCustomGrid::ClientRect() const {
    QAbstractScrollArea* area = AreaOf(Widget());
    if (!area) return TCustomControl::ClientRect();
    const int frame = FrameWidthOf(fBorderStyle, Ctl3D());
    int w = Width() - 2 * frame;
    int h = Height() - 2 * frame;
    if (fVertBar && fVertBar->Shown()) w -= area->verticalScrollBar()->sizeHint().width();
    if (fHorzBar && fHorzBar->Shown()) h -= area->horizontalScrollBar()->sizeHint().height();
    return Bounds(0, 0, std::max(w, 0), std::max(h, 0));
}

// ---- look ----

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
    fBorderStyle = value == bsSingle ? bsSingle : bsNone;
    if (QAbstractScrollArea* area = AreaOf(Widget())) {
        // The frame takes room as a plain box; the grid paints it itself (see WidgetEvent).
        const int width = FrameWidthOf(fBorderStyle, Ctl3D());
        area->setFrameStyle(width ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        area->setLineWidth(width);
        area->setMidLineWidth(0);
        area->update();
    }
    GeometryChanged();
}

void TCustomGrid::SetCtl3D(bool value) {
    TCustomControl::SetCtl3D(value);
    SetBorderStyle(fBorderStyle);
}

void TCustomGrid::SetFixedColor(TColor value) {
    if (value == fFixedColor) return;
    fFixedColor = value;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
    if (value == fScrollBars) return;
    fScrollBars = value;
    GeometryChanged();
}

void TCustomGrid::UpdateScrollBars() {
    if (fUpdatingScrollBars || !fHorzBar || !fVertBar) return;
    fUpdatingScrollBars = true;
    const bool horz = fScrollBars == ssHorizontal || fScrollBars == ssBoth;
    const bool vert = fScrollBars == ssVertical || fScrollBars == ssBoth;
    // A bar that comes or goes changes the client area, and with it the other bar's range.
    for (int pass = 0; pass < 3; ++pass) {
        bool changed = fHorzBar->SetHidden(!horz);
        changed |= fVertBar->SetHidden(!vert && !fOwnVertBar);
        changed |= fHorzBar->SetScrollInfo({fFixedCols, MaxLeftCol(), 0, fLeftCol});
        changed |= fVertBar->SetScrollInfo(fOwnVertBar ? fOwnVertInfo
                                                       : TScrollInfo{fFixedRows, MaxTopRow(), 0, fTopRow});
        if (!changed) break;
    }
    fUpdatingScrollBars = false;
}

bool TCustomGrid::ScrollBarShown(bool horizontal) const {
    const TScrollBarAdapter* bar = horizontal ? fHorzBar.get() : fVertBar.get();
    return bar && bar->Shown();
}

TScrollInfo TCustomGrid::VertScrollInfo() const {
    return fVertBar->ScrollInfo();
}

void TCustomGrid::SetOwnVertScrollInfo(const TScrollInfo& info) {
    if (fOwnVertBar && info == fOwnVertInfo) return;
    fOwnVertBar = true;
    fOwnVertInfo = info;
    if (fUpdatingScrollBars) return;
    bool changed = fVertBar->SetHidden(false);
    changed |= fVertBar->SetScrollInfo(info);
    // A bar that comes or goes changes the client area: the geometry follows as for any bar.
    if (changed) GeometryChanged();
}

int TCustomGrid::ScrollBarExtent() const {
    return Widget()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Widget());
}

void TCustomGrid::HorzScrollCommand(TScrollCode Code, int Pos) {
    ScrollCommand(true, Code, Pos);
}

void TCustomGrid::VertScrollCommand(TScrollCode Code, int Pos) {
    ScrollCommand(false, Code, Pos);
}

void TCustomGrid::ScrollCommand(bool horizontal, TScrollCode code, int pos) {
    const int current = horizontal ? fLeftCol : fTopRow;
    const int page = horizontal ? VisibleColCount() : VisibleRowCount();
    int to = current;
    switch (code) {
        case scLineUp:
            to = current - 1;
            break;
        case scLineDown:
            to = current + 1;
            break;
        case scPageUp:
            to = current - page;
            break;
        case scPageDown:
            to = current + page;
            break;
        case scTop:
            to = horizontal ? fFixedCols : fFixedRows;
            break;
        case scBottom:
            to = horizontal ? MaxLeftCol() : MaxTopRow();
            break;
        case scTrack:
            if (fOptions.Contains(goThumbTracking)) to = pos;
            break;
        case scPosition:
            to = pos;
            break;
        case scEndScroll:
            return;
    }
    if (horizontal)
        SetLeftCol(to);
    else
        SetTopRow(to);
}

// ---- repaints ----

void TCustomGrid::RepaintGrid(TGridRepaint Kind, const TRect& ARect, int DX, int DY) {
    if (OnRepaint) OnRepaint(Kind, ARect, DX, DY);
    QAbstractScrollArea* area = AreaOf(Widget());
    if (!area || ARect.IsEmpty()) return;
    switch (Kind) {
        case TGridRepaint::Invalidate:
            area->viewport()->update(ToQRect(ARect));
            break;
        case TGridRepaint::Validate:
            // The toolkit cannot take back a pending repaint: recorded only.
            break;
        case TGridRepaint::Scroll:
            area->viewport()->scroll(DX, DY, ToQRect(ARect));
            break;
    }
}

namespace {

// The pixels [from, to) the cells first..last of an axis take where they are shown.
bool ShownSpan(const TGridAxis& axis, const TGridAxisDrawInfo& info, int first, int last, int& from,
               int& to) {
    bool any = false;
    axis.ForEachShown(info, [&](int cell, int start) {
        if (cell < first || cell > last || axis.Advance(cell) == 0) return;
        const int end = std::min(start + axis.Advance(cell), info.GridExtent);
        from = any ? std::min(from, start) : start;
        to = any ? std::max(to, end) : end;
        any = true;
    });
    return any && to > from;
}

}  // namespace

void TCustomGrid::InvalidateGridRect(const TGridRect& cells) {
    const TGridDrawInfo info = CalcDrawInfo();
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!ShownSpan(Columns(), info.Horz, cells.Left, cells.Right, left, right) ||
        !ShownSpan(Rows(), info.Vert, cells.Top, cells.Bottom, top, bottom))
        return;
    RepaintGrid(TGridRepaint::Invalidate, MirrorRect(Rect(left, top, right, bottom)), 0, 0);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
    InvalidateGridRect({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol) {
    InvalidateGridRect({ACol, 0, ACol, RowCount() - 1});
}

void TCustomGrid::InvalidateRow(int ARow) {
    InvalidateGridRect({0, ARow, ColCount() - 1, ARow});
}

void TCustomGrid::InvalidateRect(const TGridRect& ARect) {
    InvalidateGridRect(ARect);
}

void TCustomGrid::InvalidateGrid() {
    RepaintGrid(TGridRepaint::Invalidate, ClientRect(), 0, 0);
}

void TCustomGrid::ValidateRect(const TRect& ARect) {
    RepaintGrid(TGridRepaint::Validate, ARect, 0, 0);
}

void TCustomGrid::ScrollGridRect(const TRect& ARect, int DX, int DY) {
    RepaintGrid(TGridRepaint::Scroll, ARect, DX, DY);
}

void TCustomGrid::InvalidateSelection() {
    InvalidateGridRect(Selection());
}

// ---- notifications ----

void TCustomGrid::ColWidthsChanged() {}

void TCustomGrid::RowHeightsChanged() {}

void TCustomGrid::TopLeftChanged() {}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
    if (FromIndex < 0 || FromIndex >= ColCount() || ToIndex < 0 || ToIndex >= ColCount())
        GridError(kGridIndexOutOfRange);
    if (FromIndex == ToIndex) return;
    auto move = [&](auto& list) {
        // The element's own type: a reference into a list of flags would follow the erase.
        const typename std::decay_t<decltype(list)>::value_type value = list[FromIndex];
        list.erase(list.begin() + FromIndex);
        list.insert(list.begin() + ToIndex, value);
    };
    move(fColWidths);
    move(fTabStops);
    // The current column stays on the same column.
    if (fCol == FromIndex)
        fCol = ToIndex;
    else if (FromIndex < fCol && fCol <= ToIndex)
        --fCol;
    else if (ToIndex <= fCol && fCol < FromIndex)
        ++fCol;
    GeometryChanged();
    ColumnMoved(FromIndex, ToIndex);
}

// ---- private messages ----

void TCustomGrid::PostGridMessage(uint32_t Msg) {
    fMessages->Post(Msg);
}

void TCustomGrid::RemoveGridMessage(uint32_t Msg) {
    fMessages->Remove(Msg);
}

// ---- the control ----

void TCustomGrid::Resize() {
    GeometryChanged();
    TCustomControl::Resize();
}

void TCustomGrid::PlaceChild(TControl* child) {
    TCustomControl::PlaceChild(child);
    // Controls in a grid (its editor) live in the client area, the viewport.
    QWidget* w = child->Widget();
    QAbstractScrollArea* area = AreaOf(Widget());
    if (!w || !area) return;
    const QRect geometry = w->geometry();
    w->setParent(area->viewport());
    w->setGeometry(geometry);
    w->setVisible(child->Visible());
}

bool TCustomGrid::WidgetEvent(QEvent* e, bool viewport) {
    switch (e->type()) {
        case QEvent::Wheel:
            if (!viewport) break;
            {
                auto* wheel = static_cast<QWheelEvent*>(e);
                const QPoint at = wheel->position().toPoint();
                WheelTurned(wheel->angleDelta().y(), ShiftStateOf(wheel->modifiers(), wheel->buttons()),
                            {at.x(), at.y()});
                e->accept();
                return true;
            }
        case QEvent::Paint:
            if (viewport) break;
            {
                // The frame and the corner between the bars; the frame widget paints nothing else.
                QWidget* w = Widget();
                QPainter painter(w);
                TCanvas canvas;
                TRect r = Bounds(0, 0, w->width(), w->height());
                canvas.BeginPaint(&painter, r);
                if (fBorderStyle == bsSingle) {
                    if (Ctl3D()) {
                        DrawEdge(&canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
                    } else {
                        canvas.Brush()->SetColor(clBlack);
                        canvas.FrameRect(r);
                        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
                    }
                    PaintGridBorder(&canvas, Bounds(0, 0, w->width(), w->height()));
                }
                if (fHorzBar->Shown() && fVertBar->Shown()) {
                    const TRect client = ClientRect();
                    canvas.Brush()->SetColor(clBtnFace);
                    canvas.FillRect(Rect(r.Left + client.Right, r.Top + client.Bottom, r.Right, r.Bottom));
                }
                canvas.EndPaint();
                return true;
            }
        case QEvent::FocusIn:
            if (!viewport) FocusCameWithWindow(static_cast<QFocusEvent*>(e)->reason());
            break;
        case QEvent::WindowDeactivate:
            CancelMode();
            break;
        case QEvent::ActivationChange:
            if (Widget() && !Widget()->isActiveWindow()) CancelMode();
            break;
        case QEvent::Leave:
            if (viewport) UpdateSizingCursor(-1, -1);
            break;
        default:
            break;
    }
    return TCustomControl::WidgetEvent(e, viewport);
}

bool TCustomGrid::HasFocus() const {
    return Focused() || (fEditor && fEditor->Focused());
}

}  // namespace tv
