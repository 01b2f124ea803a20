// The grid's column collection (xdb_columns.h): stored and default columns, the grid's own
// numbering and selection columns, rebuilding from the fields, copying, and the change notice.

#include "controls/xdb_collection_support.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXDBGridColumns::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridColumns>("TXDBGridColumns").Build();
    return info;
}

TXDBGridColumns::TXDBGridColumns(TXCustomDBGrid* AGrid, const TClassInfo& ColumnClass)
    : TCollection(ColumnClass), fGrid(AGrid) {}

TPersistent* TXDBGridColumns::Owner() const {
    return fGrid;
}

TXColumn* TXDBGridColumns::Add() {
    return static_cast<TXColumn*>(TCollection::Add());
}

TXColumn* TXDBGridColumns::InternalAdd() {
    // Made inside the grid's layout, which counts it a default column before it looks again.
    auto* column = static_cast<TXColumn*>(TCollection::Add());
    column->fStored = false;
    return column;
}

// Puts an auto column at the front, right-aligned or centred, with its title, 48 pixels wide while
// the grid shows data.
void TXDBGridColumns::SetUpAutoColumn(TXColumn& column, TAlignment alignment, const char* caption, bool linkActive) {
    column.TCollectionItem::SetIndex(0);
    column.fAlignment = alignment;
    column.fAssignedValues.Include(cvAlignment);
    column.fSuppressRTL = true;
    column.fTitle->fAlignment = alignment;
    column.fTitle->fCaption = caption;
    column.fAssignedValues.Include(cvTitleAlignment);
    column.fAssignedValues.Include(cvTitleCaption);
    if (linkActive) {
        column.fWidth = kAutoColumnWidth;
        column.fAssignedValues.Include(cvWidth);
    }
}

TXColumn* TXDBGridColumns::InternalAddAutoNumber(bool stored) {
    if (fGrid) fGrid->BeginLayout();
    TXColumn* column = nullptr;
    try {
        column = stored ? Add() : InternalAdd();
        column->fAutoNumber = true;
        SetUpAutoColumn(*column, taRightJustify, kAutoNumberCaption, fGrid && fGrid->DataLink()->Active());
    } catch (...) {
        if (fGrid) fGrid->EndLayout();
        throw;
    }
    if (fGrid) fGrid->EndLayout();
    return column;
}

TXColumn* TXDBGridColumns::InternalAddAutoSelect(bool stored) {
    if (fGrid) fGrid->BeginLayout();
    TXColumn* column = nullptr;
    try {
        column = stored ? Add() : InternalAdd();
        column->fCheckBox = true;
        SetUpAutoColumn(*column, taCenter, kAutoSelectCaption, fGrid && fGrid->DataLink()->Active());
    } catch (...) {
        if (fGrid) fGrid->EndLayout();
        throw;
    }
    if (fGrid) fGrid->EndLayout();
    return column;
}

TXColumn* TXDBGridColumns::AddAutoNumber() {
    return InternalAddAutoNumber(true);
}

TXColumn* TXDBGridColumns::AddAutoSelect() {
    return InternalAddAutoSelect(true);
}

TDBGridColumnsState TXDBGridColumns::State() const {
    return Count() > 0 && Items(Count() - 1)->Stored() ? csCustomized : csDefault;
}

void TXDBGridColumns::SetState(TDBGridColumnsState value) {
    if (value == State()) return;
    if (value == csCustomized)
        RebuildColumns();
    else
        Clear();
}

void TXDBGridColumns::RebuildColumns() {
    TDataSource* source = fGrid ? fGrid->DataSource() : nullptr;
    TDataSet* dataSet = source ? source->DataSet() : nullptr;
    if (!dataSet) {
        Clear();
        return;
    }
    fGrid->BeginLayout();
    try {
        Clear();
        // An object field is followed by its sub-fields' columns, which it heads.
        for (TField* field : dataSet->FieldList()) Add()->SetFieldName(field->FullName());
        if (Count() > 0) {
            if (fGrid->OptionsExt().Contains(dgAutoSelectColumn)) AddAutoSelect();
            if (fGrid->OptionsExt().Contains(dgAutoNumberColumn)) AddAutoNumber();
        }
    } catch (...) {
        fGrid->EndLayout();
        throw;
    }
    fGrid->EndLayout();
}

void TXDBGridColumns::RestoreDefaults() {
    RestoreItemDefaults(*this);
}

void TXDBGridColumns::Assign(TPersistent* Source) {
    if (!fGrid) {
        TCollection::Assign(Source);
        return;
    }
    fGrid->BeginLayout();
    const bool stretch = fGrid->StretchMode();
    fGrid->SetStretchMode(false);
    auto restore = [&] {
        fGrid->SetStretchMode(stretch);
        fGrid->EndLayout();
    };
    try {
        TCollection::Assign(Source);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TXDBGridColumns::Update(TCollectionItem* Item) {
    if (!fGrid || fGrid->ComponentState().Contains(csLoading)) return;
    if (!Item) {
        fGrid->LayoutChanged();
        return;
    }
    auto* column = static_cast<TXColumn*>(Item);
    fGrid->InvalidateGridCol(column);
    const int raw = fGrid->ColumnToRaw(column);
    if (raw >= 0 && raw < fGrid->ColCount()) fGrid->SetColWidths(raw, column->Width());
}

}  // namespace tv
