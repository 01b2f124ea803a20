// The data grid's option sets and the setters that do more than store: the mapping of Options
// onto the base grid's options, the rules of OptionsEx, the clamps of the line counts and bounds,
// the colours that follow FixedColor, the automatic choice of the 3D border, and the interplay of
// StretchMode with the scroll bars.

#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/gui/image_list.h"

namespace tv {

namespace {

// Each grid option and the base options it stands for.
struct TOptionMapping {
    TXDBGridOption Option;
    TGridOptions Base;
};
constexpr TOptionMapping kOptionMappings[] = {
    {dgColLines, {goVertLine}},         {dgRowLines, {goHorzLine}},
    {dgColumnResize, {goColSizing, goColMoving}}, {dgRowResize, {goRowSizing}},
    {dgTabs, {goTabs}},                 {dgRowSelect, {goRowSelect}},
    {dgEditing, {goEditing}},           {dgAlwaysShowEditor, {goAlwaysShowEditor}},
    {dgThumbTracking, {goThumbTracking}},
};

// The members of a set that differ between two values of it.
template <class E>
TSet<E> Changed(TSet<E> a, TSet<E> b) {
    return TSet<E>::FromBits(a.Bits() ^ b.Bits());
}

template <class E>
bool AnyOf(TSet<E> set, std::initializer_list<E> members) {
    return !(set * TSet<E>(members)).Empty();
}

bool HasHorzBar(TScrollStyle style) {
    return style == ssHorizontal || style == ssBoth;
}

// The fixed styles whose border a grid line change may have to redraw.
bool RedrawsBorder(TFixedStyle style) {
    return style == fsSoft || style == fsGreat || style == fsGray || style == fsFine || style == fsMild;
}

}  // namespace

// ---------------------------------------------------------------- option sets

void TXCustomDBGrid::ApplyBaseOptions(TXDBGridOptions value) {
    TGridOptions base;
    for (const TOptionMapping& m : kOptionMappings)
        if (value.Contains(m.Option)) base = base + m.Base;
    TCustomGrid::SetOptions(base);
}

void TXCustomDBGrid::SetOptions(TXDBGridOptions value) {
    if (value == fOptions) return;
    if (value.Contains(dgRowSelect)) {
        value.Exclude(dgEditing);
        value.Exclude(dgAlwaysShowEditor);
    }
    ApplyBaseOptions(value);
    const bool removingMultiSelect = fOptions.Contains(dgMultiSelect) && !value.Contains(dgMultiSelect);
    const bool addingRowSelect = !fOptions.Contains(dgRowSelect) && value.Contains(dgRowSelect);
    if (removingMultiSelect || (addingRowSelect && ColsSelection())) ClearSelection();
    const TXDBGridOptions changed = Changed(fOptions, value);
    fOptions = value;
    ++fScrollLock;
    auto reactions = [&] {
        if (changed.Contains(dgForceSequence)) UpdateSequence(false);
        if (AnyOf(changed, {dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines, dgRowLines,
                            dgRowSelect, dgAlwaysShowSelection, dgMultiSelect, dgInternalSelect, dgTitleHeaders,
                            dgTitleWidthOff, dgIndicatorMarkOff, dgMarkerAutoAlign, dgForceSequence}))
            LayoutChanged();
        if (AnyOf(changed, {dgTitles, dgIndicator, dgColLines, dgRowLines, dgTitleHeaders, dgTitleWidthOff}))
            RefreshEditor();
        if (AnyOf(changed, {dgIndicator, dgColLines, dgTitleWidthOff})) StretchGrid();
        if (AnyOf(changed, {dgColLines, dgRowLines}))
            Auto3D(IsGridThemed() || RedrawsBorder(fFixedStyle));
    };
    try {
        reactions();
    } catch (...) {
        --fScrollLock;
        throw;
    }
    --fScrollLock;
}

void TXCustomDBGrid::SetOptionsEx(TXDBGridOptionsEx value) {
    const bool running = !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning);
    if (running && value.Contains(dgSelectedAutoHidden)) {
        // The rows that show the selected rows' totals are there only while rows are selected.
        const std::pair<TXDBGridOptionEx, TXDBGridOptionEx> rows[] = {
            {dgTotalHeaderSelected, dgTotalHeader},
            {dgTotalValuesSelected, dgTotalValues},
            {dgTotalFooterSelected, dgTotalFooter}};
        for (const auto& [selected, row] : rows)
            if (value.Contains(selected)) {
                if (fTotals->Selected())
                    value.Include(row);
                else
                    value.Exclude(row);
            }
    }
    if (value == fOptionsEx) return;
    if (AnyOf(value, {dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter})) value.Include(dgBlankRow);
    if (AnyOf(value, {dgTotalHeaderSelected, dgTotalValuesSelected, dgTotalFooterSelected}))
        value.Exclude(dgCalcSelectedRows);
    if (value == fOptionsEx) return;
    const TXDBGridOptionsEx changed = Changed(fOptionsEx, value);
    const TXDBGridOptionsEx added = changed * value;
    fOptionsEx = value;
    if (AnyOf(changed, {dgLoadCurrentOrder, dgAutoUpdateOrder, dgAutoAscendOrder})) UpdateOrder(true);
    if (changed.Contains(dgAutoUpdateSequence)) UpdateSequence(false);
    if (AnyOf(added, {dgTotalHeader, dgTotalValues, dgTotalFooter, dgCalcInvisibleRows}) ||
        AnyOf(changed, {dgAutoUpdateTotals, dgCalcWholeDataSet, dgCalcSelectedRows, dgTotalHeaderSelected,
                        dgTotalValuesSelected, dgTotalFooterSelected}))
        UpdateTotals(true);
    if (AnyOf(changed, {dgBlankRow, dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter, dgTotalColLines,
                        dgTotalHeaderBox, dgTotalValuesBox, dgTotalFieldsBox, dgTotalFooterBox, dgTotalDataBoxOnly}))
        LayoutChanged();
    if (AnyOf(changed, {dgBlankRow, dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter})) RefreshEditor();
}

void TXCustomDBGrid::SetOptionsExt(TXDBGridOptionsExt value) {
    if (value == fOptionsExt) return;
    const TXDBGridOptionsExt changed = Changed(fOptionsExt, value);
    fOptionsExt = value;
    if (changed.Contains(dgAutoUpdateListItems)) UpdateListItems(false);
    if (AnyOf(changed, {dgAutoNumberColumn, dgAutoSelectColumn})) LayoutChanged();
}

void TXCustomDBGrid::SetResizeOptions(TXResizeOptions value) {
    if (!value.Contains(roColumnResize)) {
        value.Exclude(roOptimalWidth);
        value.Exclude(roDefaultWidth);
    }
    fResizeOptions = value;
}

// ---------------------------------------------------------------- the 3D border

void TXCustomDBGrid::Auto3D(bool borderAdjust) {
    if (!fCtl3DAuto) return;
    const bool wanted = IsGridThemed() || (!ThemesEnabled() && (fFixedStyle == fsDefault || fFixedStyle == fsSoft));
    if (wanted != Ctl3D()) {
        // Through the base control, so that the choice stays automatic.
        TCustomGrid::SetCtl3D(wanted);
        return;
    }
    if (borderAdjust && BorderStyle() == bsSingle && !Ctl3D()) Invalidate();
}

void TXCustomDBGrid::SetCtl3D(bool value) {
    fCtl3DAuto = false;
    TCustomGrid::SetCtl3D(value);
    if (!ComponentState().Contains(csLoading)) UpdateRowCount();
}

void TXCustomDBGrid::SetCtl3DAuto(bool value) {
    if (value == fCtl3DAuto) return;
    fCtl3DAuto = value;
    if (value) {
        TCustomGrid::SetParentCtl3D(false);
        Auto3D(false);
    }
    if (!ComponentState().Contains(csLoading)) UpdateRowCount();
}

void TXCustomDBGrid::SetParentCtl3D(bool value) {
    if (value) fCtl3DAuto = false;
    TCustomGrid::SetParentCtl3D(value);
}

void TXCustomDBGrid::SetBorderStyle(TBorderStyle value) {
    TCustomGrid::SetBorderStyle(value);
    if (!ComponentState().Contains(csLoading)) UpdateRowCount();
}

void TXCustomDBGrid::SetBiDiMode(TBiDiMode value) {
    if (value == fBiDiMode) return;
    fBiDiMode = value;
    if (value == bdRightToLeft) fDoubleBuffered = false;
    // The columns stand mirrored, or no longer.
    DirectionChanged();
    RefreshEditor();
    SynchronizeRing();
}

// ---------------------------------------------------------------- colours and looks

void TXCustomDBGrid::SetFixedColor(TColor value) {
    if (!fCustomFillerColor) fFillerColor = value;
    if (!fCustomHeaderColor) fHeaderColor = value;
    fTotals->FollowFixedColor(value);
    TCustomGrid::SetFixedColor(value);
}

void TXCustomDBGrid::SetFillerColor(TColor value) {
    fCustomFillerColor = true;
    if (value == fFillerColor) return;
    fFillerColor = value;
    if (fOptions.Contains(dgTitles) && fOptions.Contains(dgIndicator)) InvalidateCell(0, 0);
}

void TXCustomDBGrid::SetFillerIndex(int value) {
    if (value == fFillerIndex) return;
    fFillerIndex = value;
    if (fOptions.Contains(dgTitles) && fOptions.Contains(dgIndicator)) InvalidateCell(0, 0);
}

void TXCustomDBGrid::SetHeaderColor(TColor value) {
    fCustomHeaderColor = true;
    if (value == fHeaderColor) return;
    fHeaderColor = value;
    if (fOptions.Contains(dgTitles) && fOptions.Contains(dgTitleHeaders)) LayoutChanged();
}

void TXCustomDBGrid::SetFixedCols(int value) {
    if (value < 0) value = 0;
    if (value == fFixedCols) return;
    fFixedCols = value;
    LayoutChanged();
    RefreshEditor();
    SynchronizeRing();
}

void TXCustomDBGrid::SetFixedStyle(TFixedStyle value) {
    if (value == fFixedStyle) return;
    fFixedStyle = value;
    fScrollProp->FixedStyleChanged();
    LayoutChanged();
    Auto3D(!IsGridThemed());
    if (!ComponentState().Contains(csLoading)) UpdateRowCount();
}

void TXCustomDBGrid::SetFixedTheme(TFixedTheme value) {
    if (value == fFixedTheme) return;
    const bool switching = (value == ftNone) != (fFixedTheme == ftNone);
    fFixedTheme = value;
    if (switching && fGridStyle->VisualStyle() == vsDefault) fGridStyle->SetVisualStyle(vsDefault);
    LayoutChanged();
    Auto3D(switching && ThemesEnabled());
}

void TXCustomDBGrid::SetIndicatorWidth(int value) {
    if (value < 11) value = 11;
    if (value == fIndicatorWidth) return;
    fIndicatorWidth = value;
    SynchronizeRing();
    if (fOptions.Contains(dgIndicator)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TXCustomDBGrid::SetIndicatorImages(TImageList* value) {
    if (value == fIndicatorImages) return;
    fIndicatorImages = value;
    if (value) value->FreeNotification(this);
    if (fOptions.Contains(dgIndicator)) LayoutChanged();
}

void TXCustomDBGrid::SetTitleImages(TImageList* value) {
    if (value == fTitleImages) return;
    fTitleImages = value;
    if (value) value->FreeNotification(this);
    if (fOptions.Contains(dgTitles)) LayoutChanged();
}

void TXCustomDBGrid::SetTitleMarkers(TImageList* value) {
    if (value == fTitleMarkers) return;
    fTitleMarkers = value;
    if (value) value->FreeNotification(this);
    if (fOptions.Contains(dgTitles)) LayoutChanged();
}

// ---------------------------------------------------------------- line counts and bounds

void TXCustomDBGrid::SetHeaderLinesCount(int value) {
    if (value < 1) value = 1;
    if (value == fHeaderLinesCount) return;
    fHeaderLinesCount = value;
    if (fOptions.Contains(dgTitles) && fOptions.Contains(dgTitleHeaders)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TXCustomDBGrid::SetTitleLinesCount(int value) {
    if (value < 1) value = 1;
    if (value == fTitleLinesCount) return;
    fTitleLinesCount = value;
    if (fOptions.Contains(dgTitles)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TXCustomDBGrid::SetLinesCount(int value) {
    if (value < 0) return;
    if (value == 0) value = 1;
    if (value < fLinesCountMin) value = fLinesCountMin;
    if (fLinesCountMax != -1 && value > fLinesCountMax) value = fLinesCountMax;
    if (value == fLinesCount) return;
    fLinesCount = value;
    LayoutChanged();
    RefreshEditor();
}

void TXCustomDBGrid::SetLinesCountMax(int value) {
    if (value < -1) return;
    if (value != -1 && value < fLinesCountMin) value = fLinesCountMin;
    if (value == fLinesCountMax) return;
    fLinesCountMax = value;
    if (value != -1 && fLinesCount > value) SetLinesCount(value);
}

void TXCustomDBGrid::SetLinesCountMin(int value) {
    if (value < 0) return;
    if (value == 0) value = 1;
    if (fLinesCountMax != -1 && value > fLinesCountMax) value = fLinesCountMax;
    if (value == fLinesCountMin) return;
    fLinesCountMin = value;
    if (fLinesCount < value) SetLinesCount(value);
}

void TXCustomDBGrid::SetStretchWidthMax(int value) {
    if (value < -1) return;
    if (value != -1 && value < fStretchWidthMin) value = fStretchWidthMin;
    if (value == fStretchWidthMax) return;
    fStretchWidthMax = value;
    StretchGrid();
    if (fStretchActive) LayoutChanged();
}

void TXCustomDBGrid::SetStretchWidthMin(int value) {
    if (value < -1) return;
    if (value != -1 && fStretchWidthMax != -1 && value > fStretchWidthMax) value = fStretchWidthMax;
    if (value == fStretchWidthMin) return;
    fStretchWidthMin = value;
    StretchGrid();
    if (fStretchActive) LayoutChanged();
}

// ---------------------------------------------------------------- stretching and scroll bars

void TXCustomDBGrid::SetStretchMode(bool value) {
    if (fMasterGrid || value == fStretchMode) return;
    fStretchMode = value;
    // Columns stretched to the width automatically need no horizontal bar: the view goes back to
    // the first data column.
    if (value && fScrollProp->AutoStretch()) {
        TCustomGrid::SetScrollBars(ssNone);
        SetLeftColumn(0);
    }
    UpdateStretchActive(fDataLink->Active());
    if (!value) {
        if (HasHorzBar(fScrollBars)) TCustomGrid::SetScrollBars(ssHorizontal);
        UpdateHorzScrollBar();
    }
    RefreshEditor();
    if (!ComponentState().Contains(csLoading)) UpdateRowCount();
}

void TXCustomDBGrid::SetScrollBars(TScrollStyle value) {
    if (value == fScrollBars) return;
    fScrollBars = value;
    // The base style is switched away first, so that the final assignment always takes effect.
    const bool horizontal = HasHorzBar(value);
    if (horizontal == HasHorzBar(TCustomGrid::ScrollBars()))
        TCustomGrid::SetScrollBars(horizontal ? ssNone : ssHorizontal);
    const bool autoStretched = fStretchMode && fScrollProp->AutoStretch();
    TCustomGrid::SetScrollBars(horizontal && !autoStretched ? ssHorizontal : ssNone);
    if (HasHorzBar(TCustomGrid::ScrollBars())) UpdateHorzScrollBar();
    UpdateScrollBar();
    StretchGrid();
}

}  // namespace tv
