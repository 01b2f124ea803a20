// The data grid's side of the in-place editor: whether a cell may be changed (which puts the
// dataset into edit state), the text the editor opens with, the text it hands back (kept in
// fEditText until the link writes it to the field), and the length limit of the field.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"

namespace tv {

// Whether `column` may change its field now; puts the dataset into edit state through the link
// when it may. Memo fields only with EditMemo when `memoByColumn`.
bool TXCustomDBGrid::CanModifyColumn(TXColumn* column, bool memoByColumn) {
    TField* field = column ? column->Field() : nullptr;
    if (fReadOnly || !fDataLink->Active() || fDataLink->ReadOnly() || !column || column->ReadOnly() || !field ||
        !field->CanModify())
        return false;
    const TFieldType type = field->DataType();
    const bool memo = type == TFieldType::ftMemo;
    if ((IsBlobType(type) || IsObjectType(type) || (memo && !(memoByColumn && column->EditMemo()))) &&
        !field->OnSetText)
        return false;
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
    if (!field || !IsStringType(field->DataType()) || column->UsesPickText()) return 0;
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

std::string TXCustomDBGrid::GetEditMask(int, int) {
    // Fields here carry no edit mask: the editor types freely within the field's limit.
    return {};
}

TInplaceEdit* TXCustomDBGrid::CreateEditor() {
    return new TXDBGridInplaceEdit(this);
}

namespace {

// The style a button style fixes whatever the field, and the pop-up it opens; false for cbsAuto.
bool FixedEditStyle(TXColumnButtonStyle button, TXEditStyle& style, TXDataEditor& editor) {
    switch (button) {
        case cbsEllipsis:
            style = esEllipsis;
            return true;
        case cbsNone:
            style = esSimple;
            return true;
        case cbsDropDown:
        case cbsDropDownMenu:
            style = esDropDown;
            return true;
        case cbsCalendar:
            style = esPickList;
            editor = deCalendar;
            return true;
        case cbsCalculator:
            style = esPickList;
            editor = deCalculator;
            return true;
        case cbsAuto:
            break;
    }
    return false;
}

}  // namespace

TXEditStyle TXCustomDBGrid::GetColumnEditStyle(TXDataEditor& DataEditor) {
    DataEditor = dePickList;
    TXColumn* column = SelectedColumn();
    if (!column) return esSimple;
    TXEditStyle style = esSimple;
    if (FixedEditStyle(column->ButtonStyle(), style, DataEditor)) return style;
    TField* field = column->Field();
    if (!field) return esSimple;
    if (field->Lookup() || (column->LookupDataSet() && !column->LookupKeyField().empty())) {
        TField* key = field->Lookup() ? field->DataSet()->FindField(field->KeyFields()) : field;
        const bool readOnlyColumn = column->AssignedValues().Contains(cvReadOnly) && column->ReadOnly();
        if (!key || !key->CanModify() || readOnlyColumn || field->ReadOnly() || !fDataLink->Active() ||
            fDataLink->ReadOnly())
            return esSimple;
        DataEditor = fOptionsExt.Contains(dgGridStyleLists) ? deGridList : deDataList;
        return esPickList;
    }
    if ((column->UsesPickText() || column->HasPickList()) && !column->ReadOnly()) return esPickList;
    const TFieldType type = field->DataType();
    if ((type == TFieldType::ftDate || type == TFieldType::ftDateTime) && !column->ReadOnly()) {
        DataEditor = deCalendar;
        return esPickList;
    }
    return esSimple;
}

}  // namespace tv
