// The data grid's side of the in-place editor: whether a cell may be changed (which puts the
// dataset into edit state), the text the editor opens with, the text it hands back (kept in
// fEditText until the link writes it to the field), and the length limit of the field.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"

namespace tv {

namespace {

// A column that shows its pick texts in the editor does not take the field's length.
bool ShowsPickText(TXColumn* column) {
    return column->PickOptions().Contains(poSelectPickText) && column->PickText()->Count() > 0;
}

}  // namespace

// Whether `column` may change its field now; puts the dataset into edit state through the link
// when it may. Memo fields only with EditMemo when `memoByColumn`.
bool TXCustomDBGrid::CanModifyColumn(TXColumn* column, bool memoByColumn) {
    TField* field = column ? column->Field() : nullptr;
    if (fReadOnly || !fDataLink->Active() || fDataLink->ReadOnly() || !column || column->ReadOnly() || !field ||
        !field->CanModify())
        return false;
    const TFieldType type = field->DataType();
    const bool memo = type == TFieldType::ftMemo;
    if ((IsBlobType(type) || (memo && !(memoByColumn && column->EditMemo()))) && !field->OnSetText) return false;
    fDataLink->Edit();
    return fDataLink->Editing();
}

// The editor's text is about to change: the link holds a pending edit from now on, which it writes
// to the selected field. A check box changes its field itself (CanEditColumn): marking the link
// there would write the stale editor text over the selected column's field.
bool TXCustomDBGrid::CanEditModify() {
    if (!CanModifyColumn(SelectedColumn(), true)) return false;
    fDataLink->Modified();
    return true;
}

bool TXCustomDBGrid::CanEditColumn(TXColumn* Column) {
    return CanModifyColumn(Column, false);
}

bool TXCustomDBGrid::CanEditAcceptKey(char16_t Key) {
    TField* field = SelectedField();
    return fDataLink->Active() && field && field->IsValidChar(Key);
}

std::string TXCustomDBGrid::GetEditText(int, int) {
    TXColumn* column = SelectedColumn();
    fEditText = fDataLink->Active() && column ? column->EditText() : std::string();
    return fEditText;
}

void TXCustomDBGrid::SetEditText(int, int, const std::string& Value) {
    fEditText = Value;
}

int TXCustomDBGrid::GetEditLimit() {
    TXColumn* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (!field || !IsStringType(field->DataType()) || ShowsPickText(column)) return 0;
    return field->Size();
}

void TXCustomDBGrid::GridExit() {
    if (!fDataLink->Active()) return;
    TDataSet* ds = fDataLink->DataSet();
    if (fOptions.Contains(dgCancelOnExit) && ds->State() == TDataSetState::dsInsert && !ds->Modified() &&
        !fDataLink->IsModified())
        ds->Cancel();
    else
        fDataLink->UpdateRecord();
}

}  // namespace tv
