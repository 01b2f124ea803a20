// The grid's themed look: on a themed grid (the theme service on, FixedTheme not ftNone) with both
// line options, fixed cells, check boxes and expand buttons are drawn as elements of the desktop's
// theme, each in the state the mouse and the grid give it.

#include "controls/xdb_grid.h"
#include "platform/gui/canvas.h"

namespace tv {
namespace {

TRect Grown(const TRect& r, int by) {
    return Rect(r.Left - by, r.Top - by, r.Right + by, r.Bottom + by);
}

TThemedCheck CheckOf(int CheckIndex) {
    switch (CheckIndex % 3) {
        case 1:
            return TThemedCheck::Checked;
        case 2:
            return TThemedCheck::Mixed;
        default:
            return TThemedCheck::Unchecked;
    }
}

// The default theme's face: a toolbar in every state; a lit cell adds a header item in its state,
// kept off the face's top and bottom pixel.
void DrawToolBarFace(TCanvas& canvas, const TRect& ARect, TThemedState state) {
    const TRect face = Grown(ARect, 1);
    DrawThemedElement(canvas, {TThemedElement::ToolBar, TThemedState::Normal}, face);
    if (state == TThemedState::Hot || state == TThemedState::Pressed)
        DrawThemedElement(canvas, {TThemedElement::HeaderItem, state},
                          Rect(face.Left, face.Top + 1, face.Right, face.Bottom - 1));
}

}  // namespace

bool TXCustomDBGrid::FixedCellsThemed() const {
    return IsGridThemed() && fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
}

bool TXCustomDBGrid::TitleDrawnPressed(int ACol) const {
    return ACol >= 0 && ACol == fTitleTrack.Tracked && fTitleTrack.Tracking && fTitleTrack.Pressed;
}

bool TXCustomDBGrid::TitleDrawnHot(int ACol) const {
    // Only a grid that repaints its hot titles (dgHotButtons) draws them hot.
    return ACol >= 0 && ACol == fTitleTrack.Tracked && fTitleTrack.Hot && !fTitleTrack.Tracking &&
           fOptions.Contains(dgHotButtons);
}

TThemedState TXCustomDBGrid::FixedCellState(int ACol, int ARow) const {
    if (!Enabled()) return TThemedState::Disabled;
    if (ARow < 0 || ARow >= fTitleOffset) return TThemedState::Normal;
    // A press or hover on the expand button lights only the button's square.
    if (TitleDrawnPressed(ACol) && !fTitleTrack.OnExpand) return TThemedState::Pressed;
    if (TitleDrawnHot(ACol) && !fTitleTrack.HotExpand) return TThemedState::Hot;
    return TThemedState::Normal;
}

void TXCustomDBGrid::DrawThemedFixedCell(const TRect& ARect, int ACol, int ARow) {
    TCanvas* canvas = Canvas();
    const TThemedState state = FixedCellState(ACol, ARow);
    const bool lit = state == TThemedState::Hot || state == TThemedState::Pressed;
    switch (fFixedTheme) {
        case ftDefault:
            DrawToolBarFace(*canvas, ARect, state);
            break;
        case ftButtons: {
            // A push button over the cell and its lines; a lit one over a normal one, its own
            // frame clipped to the cell.
            const TRect face = Grown(ARect, 2);
            if (!lit) {
                DrawThemedElement(*canvas, {TThemedElement::PushButton, state}, face);
                break;
            }
            DrawThemedElement(*canvas, {TThemedElement::PushButton, TThemedState::Normal}, face);
            const auto clip = canvas->SavedClip();
            canvas->IntersectClipRect(ARect);
            DrawThemedElement(*canvas, {TThemedElement::PushButton, state}, face);
            canvas->RestoreClip(clip);
            break;
        }
        case ftTabs: {
            const TRect face = Rect(ARect.Left, ARect.Top, ARect.Right + 1, ARect.Bottom + 1);
            if (lit) DrawThemedElement(*canvas, {TThemedElement::Tab, TThemedState::Normal}, face);
            DrawThemedElement(*canvas, {TThemedElement::Tab, state}, face);
            // Tabs stand on a gray line: under the captions of the scrolled columns and under the
            // grid's last row.
            const bool caption = ARow == fTitleOffset - 1 && ACol >= TCustomGrid::FixedCols();
            if (caption || ARow == RowCount() - 1) {
                canvas->Brush()->SetStyle(bsSolid);
                const TColor brush = canvas->Brush()->Color();
                canvas->Brush()->SetColor(clGray);
                canvas->FillRect(Rect(ARect.Left - 1, ARect.Bottom, ARect.Right + 1, ARect.Bottom + 1));
                canvas->Brush()->SetColor(brush);
            }
            break;
        }
        case ftNone:
            break;
    }
}

void TXCustomDBGrid::FillFixedDataCell(const TRect& ARect, TColor Colour, bool MultiSelected) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Colour);
    if (!MultiSelected || !FixedCellsThemed() || !Enabled()) {
        FillFixedBackground(ARect, true);
        return;
    }
    // A theme draws its own faces, not the brush: the default theme shows the selection as a lit
    // header, the others in the text, which takes the selection's colour.
    if (fFixedTheme == ftDefault) {
        DrawToolBarFace(*canvas, ARect, TThemedState::Hot);
        return;
    }
    FillFixedBackground(ARect, true);
    canvas->Font()->SetColor(Colour);
}

TThemedDetails TXCustomDBGrid::ThemedCheckBox(const TXColumn* Column, int CheckIndex) const {
    TThemedDetails box{TThemedElement::CheckBox, TThemedState::Normal, CheckOf(CheckIndex)};
    if (!Enabled()) {
        box.State = TThemedState::Disabled;
        return box;
    }
    // Hot and pressed only where a click would tick the box.
    const TGridCoord cell{fPaintCol, fPaintRow};
    const TCheckBoxToggle toggle = Column ? Column->CheckBoxToggle() : ctOnCellClick;
    const bool clickable =
        toggle == ctOnCellClick || (toggle == ctSelectClick && cell.X == Col() && cell.Y == Row());
    if (!clickable) return box;
    if (fCellPressed && fTrackCell == cell)
        box.State = TThemedState::Pressed;
    else if (fHotCell == cell)
        box.State = TThemedState::Hot;
    return box;
}

bool TXCustomDBGrid::DrawThemedExpandButton(const TXColumn* Column, const TRect& Button) {
    if (!Column || !FixedCellsThemed()) return false;
    const TXColumnExpandStyle style = Column->ExpandStyle();
    TThemedElement arrow = TThemedElement::ScrollDown;
    if (style != cesDropDown && style != cesDropDownMenu) {
        // Left to fold an expanded group, right to open it; mirrored right to left.
        const bool left = Column->Expanded() != UseRightToLeftAlignment();
        arrow = left ? TThemedElement::ScrollLeft : TThemedElement::ScrollRight;
    }
    TThemedState state = TThemedState::Normal;
    const int raw = ColumnToRaw(Column);
    if (!Enabled())
        state = TThemedState::Disabled;
    else if (TitleDrawnPressed(raw) && fTitleTrack.OnExpand)
        state = TThemedState::Pressed;
    else if (TitleDrawnHot(raw) && fTitleTrack.HotExpand)
        state = TThemedState::Hot;
    DrawThemedElement(*Canvas(), {arrow, state}, Button);
    return true;
}

}  // namespace tv
