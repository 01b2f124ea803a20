// The data grid's painting: DrawCell for the indicator, title, data, blank and total cells, the
// data lines, the fixed-cell frames with their gradient, the focus rectangle, and the colours each
// role takes. Text goes through WriteCellText (xdb_cell_text.h), glyphs through DrawGlyph.

#include <algorithm>

#include "controls/xdb_cell_text.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_glyphs.h"
#include "controls/xdb_grid_markers.h"
#include "platform/data/data_set.h"
#include "platform/gui/form.h"
#include "platform/gui/image_list.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

// RGB 232,232,232: what silver becomes on data rows so that stripes and lines stay visible.
constexpr TColor kLightSilver = 0xE8E8E8;

TRect Grown(const TRect& r, int by) {
    return Rect(r.Left - by, r.Top - by, r.Right + by, r.Bottom + by);
}

// A colour property's value: clDefault stands for the role's default.
TColor RoleColor(TColor value, TColor defaultColor) {
    return value == clDefault ? defaultColor : value;
}

void FillWith(TCanvas* canvas, const TRect& r, TColor colour) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(colour);
    canvas->FillRect(r);
}

}  // namespace

// ---------------------------------------------------------------- image lists and colours

TImageList* TXCustomDBGrid::Indicators() const {
    return fIndicatorImages ? fIndicatorImages : fIndicators.get();
}

TMarkerStyle TXCustomDBGrid::GetMarkerStyle() const {
    return EffectiveMarkerStyle(fMarkerStyle, fFixedStyle, IsGridThemed());
}

bool TXCustomDBGrid::GetMarkerTransparent() const {
    return MarkersTransparent(fMarkerTransparent, GetMarkerStyle());
}

TImageList* TXCustomDBGrid::Markers() {
    if (fTitleMarkers) return fTitleMarkers;
    const TMarkerStyle style = GetMarkerStyle();
    const bool transparent = GetMarkerTransparent();
    const int loaded = style + 12 * (transparent ? 1 : 0);
    if (loaded != fLoadedStyle) {
        LoadMarkerGlyphs(fMarkers.get(), style, transparent);
        fLoadedStyle = loaded;
    }
    return fMarkers.get();
}

TColor TXCustomDBGrid::DefaultStripeColor() const {
    return ColorToRGB(clBtnHighlight) == ColorToRGB(clWindow) ? cl3DLight : clBtnHighlight;
}

TColor TXCustomDBGrid::DefaultDataLineColor() const {
    return ColorToRGB(Color()) == clSilver ? clGray : clSilver;
}

TColor TXCustomDBGrid::FixedLineColor() const {
    static constexpr TColor kByStyle[8] = {clBlack,      cl3DDkShadow, clBlack,     clBlack,
                                           cl3DDkShadow, cl3DDkShadow, clBtnShadow, clBtnShadow};
    return IsGridThemed() ? DefaultDataLineColor() : kByStyle[fFixedStyle];
}

// ---------------------------------------------------------------- selection as painted

bool TXCustomDBGrid::ShowsSelection() const {
    const TInplaceEdit* editor = InplaceEditor();
    return fOptions.Contains(dgAlwaysShowSelection) || Focused() || (editor && editor->Focused());
}

bool TXCustomDBGrid::CellMultiSelected(int DataCol, bool fixed) const {
    if (fixed && !fMultiSelectOptions.Contains(msFixed)) return false;
    const bool rowSelected = RowsSelected() && fBookmarks->CurrentRowSelected();
    const bool colSelected =
        fSelectedCols->Selected(DataCol) ||
        (fSelectionMinCol >= 0 && DataCol >= fSelectionMinCol && DataCol <= fSelectionMaxCol);
    switch (MultiSelect()) {
        case msRows:
            return rowSelected;
        case msCols:
            return colSelected;
        case msCells:
            return rowSelected && colSelected;
        default:
            return false;
    }
}

bool TXCustomDBGrid::HighlightCell(int DataCol, int DataRow, TGridDrawState State, const std::string& Text) {
    (void)DataRow;
    (void)Text;
    if (CellMultiSelected(DataCol, State.Contains(gdFixed))) return true;
    return State.Contains(gdSelected) && ShowsSelection() &&
           (fUpdateLock == 0 || fOptions.Contains(dgRowSelect));
}

bool TXCustomDBGrid::IsLastShowingColumn(const TXColumn* Column) const {
    return !fVisibleColumns.empty() && fVisibleColumns.back() == Column;
}

// ---------------------------------------------------------------- DrawCell

void TXCustomDBGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (ARect.IsEmpty()) return;
    fPaintCol = ACol;
    fPaintRow = ARow;
    const int row = ARow - fTitleOffset;
    const int blankRow = RowCount() - fTitleOffset - fTotalOffset;
    // Rows after the blank row are total rows, drawn as fixed.
    if (row > blankRow) AState.Include(gdFixed);
    const bool fixed = AState.Contains(gdFixed);
    // A data column's title rows: each title is drawn once over its span (xdb_grid_header_paint.cpp).
    if (ARow < fTitleOffset && ACol >= fIndicatorOffset) {
        DrawTitleArea(ACol, ARow, ARect, AState);
        return;
    }
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    TRect rect = ARect;
    // Several title rows share one filler cell in the indicator column.
    if (ACol < fIndicatorOffset && ARow < fTitleOffset && fTitleOffset > 1)
        rect = Rect(rect.Left, 0, rect.Right, TitleHeight() - RowLineWidth());
    // A fixed cell with both lines leaves its outer pixel to the frame.
    if (fixed && bothLines) rect = Grown(rect, -1);
    const bool gradient = fixed && !FixedCellsThemed() && fGradient->IsActive();
    TCanvas* canvas = Canvas();
    // Only a mirrored grid mirrors alignments and glyphs; the other right-to-left modes keep them.
    canvas->SetRightToLeft(UseRightToLeftAlignment());

    if (ACol < fIndicatorOffset) {
        DrawIndicatorCell(ARow, rect, AState, gradient);
    } else {
        TXColumn* column = RawToColumn(ACol);
        if (!column || !column->Showing()) return;
        canvas->Font()->Assign(column->Font());
        if (ARow < fTitleOffset) {
            DrawTitleCell(column, rect, AState, gradient);
        } else if (row > blankRow) {
            DrawTotalCell(column, row - blankRow - 1, rect, gradient);
        } else if (fixed && row >= 0 && (row == blankRow || !fDataLink->Active())) {
            // The fixed columns' blank cells: the fixed background.
            canvas->Brush()->SetColor(FixedColor());
            FillFixedBackground(rect, gradient);
        } else if (row == blankRow || !fDataLink->Active()) {
            const TColor colour = DataCellColor(column, row, row == blankRow);
            FillWith(canvas, rect, colour);
            DrawDataLines(rect, false, true, IsLastShowingColumn(column));
        } else {
            DrawDataCellOf(column, ACol - fIndicatorOffset, row, rect, AState);
        }
    }
    if (fDefaultDrawing && AState.Contains(gdSelected)) DrawFocusFrame(ARect);
    if (fixed) DrawFixedFrame(ARect, gradient);
    if (row > blankRow && ACol >= fIndicatorOffset) FinishTotalCell(ARect);
    if (ARow < fTitleOffset) DrawTitleButtonFrame(ACol, ARect);
}

void TXCustomDBGrid::FillFixedBackground(const TRect& ARect, bool gradient) {
    TCanvas* canvas = Canvas();
    if (FixedCellsThemed()) {
        DrawThemedFixedCell(ARect, fPaintCol, fPaintRow);
        return;
    }
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    // The gradient shows the title held down, or hot, in its own faces.
    const bool title = fPaintRow < fTitleOffset;
    if (gradient)
        fGradient->FillRect(canvas, bothLines ? Grown(ARect, 1) : ARect, title && TitleDrawnPressed(fPaintCol),
                            title && TitleDrawnHot(fPaintCol), canvas->Brush()->Color());
    else
        FillWith(canvas, ARect, canvas->Brush()->Color());
}

// ---------------------------------------------------------------- the indicator column

void TXCustomDBGrid::DrawIndicatorCell(int ARow, const TRect& ARect, TGridDrawState State, bool gradient) {
    (void)State;
    TCanvas* canvas = Canvas();
    const bool title = ARow < fTitleOffset;
    canvas->Brush()->SetColor(title ? fFillerColor : FixedColor());
    FillFixedBackground(ARect, gradient);
    TImageList* indicators = Indicators();
    // The filler held down shows its glyph one pixel down and right.
    const int shift = title && TitleDrawnPressed(fPaintCol) ? 1 : 0;
    auto drawCentred = [&](TImageList* list, int index) {
        if (!list || index < 0 || index >= list->Count()) return;
        const int x = ARect.Left + (ARect.Width() - list->Width()) / 2 + shift;
        const int y = ARect.Top + (ARect.Height() - list->Height()) / 2 + shift;
        DrawGlyph(list, canvas, ARect, gradient, index < 6, index, y, x);
    };
    if (title) {
        if (fFillerIndex >= 0 && fTitleImages && fFillerIndex < fTitleImages->Count())
            drawCentred(fTitleImages, fFillerIndex);
        else if (fFillerIndex < -1)
            drawCentred(indicators, -fFillerIndex - 2);
        return;
    }
    const int row = ARow - fTitleOffset;
    const int blankRow = RowCount() - fTitleOffset - fTotalOffset;
    if (!fDataLink->Active() || row < 0 || row >= blankRow || row >= fDataLink->RecordCount()) return;
    const int current = fDataLink->ActiveRecord();
    int index = -1;
    bool selected = false;
    bool anchor = false;
    TDataSet* dataSet = fDataLink->DataSet();
    fDataLink->SetActiveRecord(row);
    try {
        selected = RowsSelected() && fBookmarks->CurrentRowSelected();
        anchor = !fSelectionAnchor.IsEmpty() && dataSet->GetBookmark() == fSelectionAnchor;
    } catch (...) {
        fDataLink->SetActiveRecord(current);
        throw;
    }
    fDataLink->SetActiveRecord(current);
    if (row == current) {
        fSelRow = ARow;
        switch (dataSet->State()) {
            case dsEdit:
                index = 1;
                break;
            case dsInsert:
                index = 2;
                break;
            case dsBrowse:
                index = selected ? 4 : 0;
                break;
            default:
                index = 0;
                break;
        }
    } else {
        index = selected ? 3 : -1;
    }
    if (anchor && index == -1) index = 6;
    if (anchor && index == 3) index = 7;
    CalcImageIndex(nullptr, index);
    if (fOptions.Contains(dgIndicatorMarkOff)) return;
    drawCentred(indicators, index);
}

// ---------------------------------------------------------------- titles

void TXCustomDBGrid::DrawTitleCell(TXColumn* Column, const TRect& ARect, TGridDrawState State,
                                   bool gradient) {
    (void)State;
    TCanvas* canvas = Canvas();
    TXColumnTitle* title = Column->Title();
    canvas->Font()->Assign(title->Font());
    canvas->Brush()->SetColor(title->Color());
    FillFixedBackground(ARect, gradient);
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    const int m = bothLines ? 1 : 2;
    // A title held down shows its content one pixel down and right.
    const int shift = TitleDrawnPressed(fPaintCol) && !fTitleTrack.OnExpand ? 1 : 0;
    // Laid out left to right; a mirrored grid shows the mirror (MirrorIn): the image at the right,
    // the marker left of the caption.
    TRect text = Rect(ARect.Left + fGridStyle->TitleColMargin() + shift, ARect.Top + shift,
                      ARect.Right - fGridStyle->TitleColMargin() + shift, ARect.Bottom + shift);
    auto glyphX = [&](int x, TImageList* list) {
        return MirrorIn(Rect(x, ARect.Top, x + list->Width(), ARect.Bottom), ARect).Left;
    };
    if (fTitleImages && title->ImageIndex() >= 0 && title->ImageIndex() < fTitleImages->Count()) {
        const int y = text.Top + (ARect.Height() - fTitleImages->Height()) / 2;
        DrawGlyph(fTitleImages, canvas, ARect, gradient, false, title->ImageIndex(), y,
                  glyphX(text.Left + m, fTitleImages));
        text.Left += fTitleImages->Width() + 2;
    }
    if (title->MarkerIndex() >= 0 && !text.IsEmpty()) {
        TImageList* markers = Markers();
        if (title->MarkerIndex() < markers->Count()) {
            const bool autoAlign = fOptions.Contains(dgMarkerAutoAlign);
            const TTitleMarkerPlace place =
                PlaceTitleMarker(text.Left, text.Right, markers->Width(), m, autoAlign, title->Alignment(),
                                 autoAlign ? WidestLineWidth(canvas, title->Caption()) : 0);
            text.Left = place.TextLeft;
            text.Right = place.TextRight;
            const int y = text.Top + (ARect.Height() - markers->Height()) / 2;
            DrawGlyph(markers, canvas, ARect, gradient, false, title->MarkerIndex(), y,
                      glyphX(place.MarkerX, markers));
        }
    }
    canvas->Brush()->SetStyle(bsClear);
    WriteCellText(canvas, MirrorIn(text, ARect), m, title->VAlignment(), title->WordWrap(), title->Ellipsis(), IsRightToLeft(),
                  title->Alignment(), title->Caption(), m);
    canvas->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------- data cells

TColor TXCustomDBGrid::DataCellColor(const TXColumn* Column, int DataRow, bool blankRow) const {
    if (blankRow && MultiSelect() == msCols && fSelectionColor != clNone &&
        CellMultiSelected(Column->Index(), false))
        return RoleColor(fSelectionColor, DefaultSelectionColor());
    if (fStripeColor == clNone) return Column->Color();
    const bool stripeRow =
        DataRow % 2 == 1 && (!blankRow || RowHeights(DataRow + fTitleOffset) >= BlankHeight());
    const TColor colour = stripeRow ? RoleColor(fStripeColor, DefaultStripeColor()) : Column->Color();
    return ColorToRGB(colour) == clSilver ? kLightSilver : colour;
}

void TXCustomDBGrid::DrawDataCellOf(TXColumn* Column, int DataCol, int DataRow, const TRect& ARect,
                                    TGridDrawState State) {
    TCanvas* canvas = Canvas();
    const bool fixed = State.Contains(gdFixed);
    const int current = fDataLink->ActiveRecord();
    fDataLink->SetActiveRecord(DataRow);
    auto restore = [&] { fDataLink->SetActiveRecord(current); };
    try {
        const std::string text = Column->DisplayText();
        fHighlight = HighlightCell(DataCol, DataRow, State, text);
        if (fHighlight) canvas->Font()->SetColor(RoleColor(fHighlightText, DefaultHighlightText()));
        if (!Enabled()) canvas->Font()->SetColor(clGrayText);
        const bool multiSelected = CellMultiSelected(DataCol, fixed);
        const bool cellSelected = State.Contains(gdSelected) && ShowsSelection();
        const bool striped = fStripeColor != clNone && DataRow % 2 == 1;
        fSelections = {};
        if (cellSelected) fSelections.Include(slCellSelected);
        if (DataRow == current) fSelections.Include(slRowSelected);
        if (multiSelected) fSelections.Include(slMultiSelected);
        if (fixed) fSelections.Include(slCellFixed);
        if (striped) fSelections.Include(slRowStriped);

        TColor brush = fixed ? FixedColor() : DataCellColor(Column, DataRow, false);
        canvas->Brush()->SetColor(brush);
        if (!fixed) DrawDataLines(ARect, true, false, false);
        if (fHighlight && multiSelected && fSelectionColor != clNone)
            brush = RoleColor(fSelectionColor, DefaultSelectionColor());
        if (!fixed && DataRow == current && fSelectRowColor != clNone)
            brush = RoleColor(fSelectRowColor, DefaultSelectRowColor());
        if (fHighlight && cellSelected) {
            if (fSelectCellColor != clNone)
                brush = RoleColor(fSelectCellColor, DefaultSelectCellColor());
            else if (!multiSelected)
                canvas->Font()->SetColor(Column->Font()->Color());
        }
        canvas->Brush()->SetColor(brush);
        if (!fixed) DrawColumnLine(ARect, IsLastShowingColumn(Column));
        if (fDefaultDrawing) {
            std::unique_ptr<TPersistent> picture;
            TPersistent* image = CellPicture(Column, picture);
            TColor colour = canvas->Brush()->Color();
            PaintColumnCell(ARect, DataCol, Column, fHighlight, fSelections, colour, canvas->Font(), image);
            if (fixed && (FixedCellsThemed() || fGradient->IsActive())) {
                FillFixedDataCell(ARect, colour, multiSelected);
            } else {
                FillWith(canvas, ARect, colour);
            }
            DrawCellContent(Column, ARect, image, text, fixed);
        }
        if (fColumns->State() == csDefault) DrawDataCell(ARect, Column->Field(), State);
        DrawColumnCell(ARect, DataCol, Column, State);
        // A picture or a gradient left the brush clear for the handlers; the next cell fills again.
        canvas->Brush()->SetStyle(bsSolid);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TXCustomDBGrid::DefaultDrawColumnCell(const TRect& Rect, int DataCol, TXColumn* Column,
                                           TGridDrawState State) {
    if (!Column) return;
    TCanvas* canvas = Canvas();
    const bool fixed = State.Contains(gdFixed);
    if (!fixed) DrawColumnLine(Rect, IsLastShowingColumn(Column));
    const TBrushStyle style = canvas->Brush()->Style();
    FillWith(canvas, Rect, canvas->Brush()->Color());
    canvas->Brush()->SetStyle(style);
    std::unique_ptr<TPersistent> picture;
    DrawCellContent(Column, Rect, CellPicture(Column, picture), Column->DisplayText(), fixed);
    canvas->Brush()->SetStyle(style);
}

void TXCustomDBGrid::DefaultDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State) {
    (void)State;
    if (!Field) return;
    // The field's own type decides whether its text reads right to left.
    WriteCellText(Canvas(), Rect, 2, tvCenter, true, true, FieldRightToLeft(Field), Field->Alignment(),
                  Field->DisplayText(), 2);
}

// ---------------------------------------------------------------- lines and frames

void TXCustomDBGrid::DrawDataLines(const TRect& ARect, bool rowLine, bool colLine, bool lastColumn) {
    TCanvas* canvas = Canvas();
    if (rowLine && fOptions.Contains(dgRowLines) && fDataRowLineColor != clDefault) {
        const TColor colour = fDataRowLineColor == clNone ? canvas->Brush()->Color() : fDataRowLineColor;
        const bool longer = !(fDataRowLineColor == clNone && fDataColLineColor == clDefault);
        const TColor brush = canvas->Brush()->Color();
        FillWith(canvas,
                 ExtendedTrailing(Rect(ARect.Left, ARect.Bottom, ARect.Right, ARect.Bottom + 1), longer ? 1 : 0),
                 colour);
        canvas->Brush()->SetColor(brush);
    }
    if (colLine) DrawColumnLine(ARect, lastColumn);
}

void TXCustomDBGrid::DrawColumnLine(const TRect& ARect, bool lastColumn) {
    if (!fOptions.Contains(dgColLines)) return;
    TCanvas* canvas = Canvas();
    TColor colour = fDataColLineColor;
    if (lastColumn && (colour == clNone || colour == clDefault)) colour = FixedLineColor();
    if (colour == clDefault) return;
    const TColor brush = canvas->Brush()->Color();
    const bool realRowColour = fDataRowLineColor != clNone && fDataRowLineColor != clDefault;
    const bool shorter = colour == clNone || realRowColour;
    FillWith(canvas, TrailingStrip(ARect, 1, ARect.Top, ARect.Bottom + (shorter ? 0 : 1)),
             colour == clNone ? brush : colour);
    canvas->Brush()->SetColor(brush);
}

void TXCustomDBGrid::DrawFixedFrame(const TRect& ARect, bool gradient) {
    if (FixedCellsThemed()) return;
    DrawLineOverTotals(ARect);
    TCanvas* canvas = Canvas();
    const bool colLines = fOptions.Contains(dgColLines);
    const bool rowLines = fOptions.Contains(dgRowLines);
    const bool bothLines = colLines && rowLines;
    const TColor brush = canvas->Brush()->Color();
    if (!bothLines || fFixedStyle == fsDefault || fFixedStyle == fsNice || fFixedStyle == fsFlat) {
        if (rowLines)
            FillWith(canvas,
                     ExtendedTrailing(Rect(ARect.Left, ARect.Bottom, ARect.Right, ARect.Bottom + RowLineWidth()),
                                      ColLineWidth()),
                     clBlack);
        if (colLines)
            FillWith(canvas, TrailingStrip(ARect, ColLineWidth(), ARect.Top, ARect.Bottom + RowLineWidth()),
                     clBlack);
    }
    if (!bothLines) return;
    TRect frame = ARect;
    const bool flatStyle = fFixedStyle == fsFlat || fFixedStyle == fsGray || fFixedStyle == fsMild;
    if (fFixedStyle == fsSoft || fFixedStyle == fsGreat || fFixedStyle == fsGray) {
        TRect outer = Grown(frame, 1);
        DrawEdge(canvas, outer, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
    } else if (fFixedStyle == fsFine || fFixedStyle == fsMild) {
        TRect outer = Grown(frame, 1);
        DrawEdge(canvas, outer, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
    }
    if (gradient && flatStyle) return;
    if (DrawMergedTotalEdges(frame, brush, gradient)) return;
    if (FixedColor() != clBtnFace && flatStyle) {
        canvas->Brush()->SetColor(brush);
        canvas->FrameRect(frame);
        return;
    }
    DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT | (flatStyle ? BF_SOFT : 0));
}

void TXCustomDBGrid::DrawFocusFrame(const TRect& ARect) {
    if (!ShowsSelection() || fOptions.Contains(dgRowSelect) || fUpdateLock != 0) return;
    TForm* form = ParentForm();
    if (!form || form->ActiveControl() != this) return;
    TCanvas* canvas = Canvas();
    TRect r = ARect;
    switch (GetFocusRect()) {
        case frDefault:
            canvas->DrawFocusRect(r);
            break;
        case frGray: {
            DrawEdge(canvas, r, BDR_SUNKENINNER, BF_TOPLEFT);
            r = ARect;
            DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            break;
        }
        case frMild: {
            DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_TOPLEFT);
            r = ARect;
            DrawEdge(canvas, r, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
            break;
        }
        default:
            break;
    }
}

}  // namespace tv
