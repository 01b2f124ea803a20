// The data grid's pop-up editor of a column whose field holds a nested dataset (docs/data-grid.md):
// a floating copy of the grid over the nested dataset, in a form of its own, made once per field
// and shown again afterwards. The floating grids belong to this grid and go with it.

#include "controls/xdb_grid.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"
#include "platform/gui/screen.h"
#include "platform/rtl/class_info.h"

namespace tv {

TFloatingGridSize FloatingGridSize(int ColumnsRight, int ScreenWidth, int ScreenHeight) {
    TFloatingGridSize size;
    if (ColumnsRight > 0 && ColumnsRight < ScreenWidth / 2) {
        size.ClientWidth = true;
        size.Width = ColumnsRight;
    } else {
        size.Width = ScreenWidth / 4;
    }
    size.Height = ScreenHeight / 4;
    return size;
}

TXCustomDBGrid* TXCustomDBGrid::FloatingGridOf(const TDataSet* NestedDataSet) const {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* grid = dynamic_cast<TXCustomDBGrid*>(Components(i));
        if (grid && grid->DataSource() && grid->DataSource()->DataSet() == NestedDataSet && grid->Enabled())
            return grid;
    }
    return nullptr;
}

void TXCustomDBGrid::ShowPopupEditor(TXColumn* Column, int X, int Y) {
    TField* field = Column ? Column->Field() : nullptr;
    TDataSet* nested = field ? field->NestedDataSet() : nullptr;
    if (!nested) return;
    if (TXCustomDBGrid* shown = FloatingGridOf(nested)) {
        if (TForm* form = shown->ParentForm()) form->Show();
        if (shown->CanFocus()) shown->SetFocus();
        return;
    }
    // The form first, so that the grid (made after it) goes first when this grid frees both.
    auto* form = new TForm(this);
    TXCustomDBGrid* grid = nullptr;
    try {
        if (ClassInfo().CanConstruct<TComponent*>())
            grid = dynamic_cast<TXCustomDBGrid*>(ClassInfo().Construct<TComponent*>(this));
        if (!grid) grid = new TXDBGrid(this);
        auto* source = new TDataSource(grid);
        source->SetDataSet(nested);
        if (nested->Active()) nested->CheckBrowseMode();
        grid->SetDataSource(source);
        grid->Columns()->SetState(fColumns->State());
        if (grid->Columns()->Count() > 0) grid->Columns()->Items(0)->SetExpanded(true);
        grid->SetVisible(false);
        CopyLookTo(*grid);

        // The floating rectangle: at the current cell, or where X and Y say; this grid's size.
        const TRect cell = CellRect(Col(), Row());
        TPoint at = ClientToScreenPoint({cell.Left, cell.Top});
        if (X != kPopupAtCell) at.X = X;
        if (Y != kPopupAtCell) at.Y = Y;
        form->SetBounds(at.X, at.Y, Width(), Height());
        grid->SetParent(form);
        grid->SetAlign(alClient);
        grid->SetDragKind(dkDock);
        grid->LayoutChanged();
        // The form's client width is the right edge of the columns as the grid lays them out at
        // this grid's width; the floating grid's own frame and vertical bar then lie inside it.
        const int last = grid->ColCount() - 1;
        const TRect title = last >= grid->IndicatorOffset() ? grid->CellRect(last, 0) : TRect{};
        const TFloatingGridSize size = FloatingGridSize(title.IsEmpty() ? 0 : title.Right, Screen().Width(),
                                                        Screen().Height());
        if (size.ClientWidth)
            form->SetClientWidth(size.Width);
        else
            form->SetWidth(size.Width);
        form->SetHeight(size.Height);
        grid->SetVisible(true);
        form->Show();
    } catch (...) {
        delete grid;
        delete form;
        throw;
    }
}

void TXCustomDBGrid::CopyLookTo(TXCustomDBGrid& Grid) const {
    Grid.SetColor(Color());
    Grid.SetCtl3D(Ctl3D());
    Grid.SetCursor(Cursor());
    Grid.SetDataColLineColor(fDataColLineColor);
    Grid.SetDataRowLineColor(fDataRowLineColor);
    Grid.SetEditorColor(fEditorColor);
    Grid.SetEnabled(Enabled());
    Grid.SetFixedColor(FixedColor());
    Grid.SetFixedStyle(fFixedStyle);
    Grid.SetFixedTheme(fFixedTheme);
    Grid.SetFocusRect(fFocusRect);
    Grid.SetFont(Font());
    Grid.SetGridStyle(fGridStyle.get());
    Grid.SetGradient(fGradient.get());
    Grid.SetHighlightText(fHighlightText);
    Grid.SetHotButtons(fHotButtons);
    Grid.SetImeMode(fImeMode);
    Grid.SetImeName(fImeName);
    Grid.SetListBorder(fListBorder);
    Grid.SetMarkerStyle(fMarkerStyle);
    Grid.SetMarkerTransparent(fMarkerTransparent);
    Grid.SetMultiSelectOptions(fMultiSelectOptions);
    TXDBGridOptions options = fOptions;
    options.Exclude(dgTitleButtons);
    options.Exclude(dgMarkerAutoToggle);
    Grid.SetOptions(options);
    Grid.SetResizeOptions(fResizeOptions);
    Grid.SetSelectCellColor(fSelectCellColor);
    Grid.SetSelectionColor(fSelectionColor);
    Grid.SetSelectRowColor(fSelectRowColor);
    Grid.SetStripeColor(fStripeColor);
    Grid.SetTitleFont(fTitleFont.get());
    Grid.SetFillerIndex(-1);
    // The first pop-up menu on the way out from this grid.
    for (const TControl* c = this; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu()) {
            Grid.SetPopupMenu(menu);
            break;
        }
}

}  // namespace tv
