// The data grid's in-place editor. Each time the grid shows it for a cell it takes the cell's
// edit style, then from the selected column its colour, letter case, read-only state, font and
// hint, and its text from the grid.

#include "controls/xdb_inplace_edit.h"

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/rtl/class_info.h"

namespace tv {

// ---- the editor with a style ----

const TClassInfo& TXInplaceEditList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXInplaceEditList>("TXInplaceEditList").Build();
    return info;
}

TXInplaceEditList::TXInplaceEditList(TCustomGrid* AGrid) : TInplaceEdit(AGrid), fButtonWidth(AGrid->ScrollBarExtent()) {}

void TXInplaceEditList::UpdateContents() {
    fEditStyle = CellEditStyle();
    TInplaceEdit::UpdateContents();
    fOpenText = Text();
}

void TXInplaceEditList::RestoreContents() {
    HandTextToGrid(fOpenText);
}

void TXInplaceEditList::EditorButtonClick() {
    if (OnEditButtonClick) OnEditButtonClick(Grid());
}

// ---- the data grid's editor ----

const TClassInfo& TXDBGridInplaceEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridInplaceEdit>("TXDBGridInplaceEdit").Build();
    return info;
}

TXDBGridInplaceEdit::TXDBGridInplaceEdit(TXCustomDBGrid* AGrid) : TXInplaceEditList(AGrid), fDBGrid(AGrid) {}

TXEditStyle TXDBGridInplaceEdit::CellEditStyle() {
    return fDBGrid->GetColumnEditStyle(fDataEditor);
}

void TXDBGridInplaceEdit::UpdateContents() {
    // The column's settings first, so that the text arrives in the column's letter case.
    ApplyColumn();
    TXInplaceEditList::UpdateContents();
}

void TXDBGridInplaceEdit::ApplyColumn() {
    const TColor color = fDBGrid->EditorColor();
    SetColor(color == clDefault ? TXCustomDBGrid::DefaultEditorColor() : color == clNone ? clWindow : color);
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column) return;
    SetCharCase(column->CharCase());
    SetReadOnly(column->ReadOnly() || column->PickOptions().Contains(poDropDownList));
    SetFont(column->Font());
    const TXHintOptions hints = fDBGrid->HintOptions();
    SetShowHint(fDBGrid->ShowHint() && (hints.Contains(hoEditorHints) || !hints.Contains(hoShowEditorHints)));
    std::string hint = fDBGrid->Hint();
    if (hints.Contains(hoEditorHints)) {
        hint = column->EditorHint();
        fDBGrid->CellHint(column, 0, hcEditor, hint);
    }
    SetHint(hint);
}

void TXDBGridInplaceEdit::EditorButtonClick() {
    fDBGrid->EditButtonClick();
}

}  // namespace tv
