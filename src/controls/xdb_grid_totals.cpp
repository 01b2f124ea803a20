#include "controls/xdb_grid_totals.h"

#include "controls/xdb_grid.h"
#include "platform/data/db_error.h"
#include "platform/gui/image_list.h"
#include "platform/gui/lookup_list.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXDBGridTotals::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridTotals>("TXDBGridTotals").Build();
    return info;
}

// ---------------------------------------------------------------- the totals' data link

TXTotalDataLink::TXTotalDataLink(TXCustomDBGrid* AGrid) : fGrid(AGrid) {}

void TXTotalDataLink::UpdateBufferCount() {
    if (!Active()) return;
    const int max = fGrid->Totals()->DataMaxRow();
    const int records = DataSet()->RecordCount();
    const int wanted = max > 0 && max < records ? max : records;
    SetBufferCount(wanted > 0 ? wanted : 1);
}

void TXTotalDataLink::ActiveChanged() {
    if (Active() && DataSet()->IsUnidirectional()) DatabaseError(kUnidirectional);
    UpdateBufferCount();
    fGrid->TotalsDataChanged(trCaption, nullptr);
}

void TXTotalDataLink::DataSetChanged() {
    if (fGrid->UpdateInProgress()) return;
    UpdateBufferCount();
    fGrid->TotalsDataChanged(trCaption, nullptr);
}

void TXTotalDataLink::RecordChanged(TField* field) {
    fGrid->TotalsDataChanged(trTotalField, field);
}

// ---------------------------------------------------------------- the totals' settings

TXDBGridTotals::TXDBGridTotals(TXCustomDBGrid* AGrid)
    : fGrid(AGrid), fDataLink(AGrid->CreateTotalDataLink()), fFont(std::make_unique<TFont>()) {
    fFont->Assign(AGrid->Font());
    fFont->OnChange = [this](TObject*) { FontChanged(); };
}

TXDBGridTotals::~TXDBGridTotals() {
    fFont->OnChange = nullptr;
}

bool TXDBGridTotals::Visible() const {
    const TXDBGridOptionsEx o = fGrid->OptionsEx();
    return o.Contains(dgTotalHeader) || o.Contains(dgTotalValues) || o.Contains(dgTotalFields) ||
           o.Contains(dgTotalFooter);
}

void TXDBGridTotals::Relayout(bool editor) {
    if (!Visible()) return;
    fGrid->LayoutChanged();
    if (editor) fGrid->RefreshEditor();
}

void TXDBGridTotals::FontChanged() {
    if (!fCopyingFont && !fGrid->fSelfChangingTitleFont && !fGrid->ComponentState().Contains(csLoading))
        fGrid->SetParentFont(false);
    Relayout(true);
}

void TXDBGridTotals::CopyFont(TFont* value) {
    fCopyingFont = true;
    try {
        fFont->Assign(value);
    } catch (...) {
        fCopyingFont = false;
        throw;
    }
    fCopyingFont = false;
}

void TXDBGridTotals::SetBoxStyle(TCheckBoxStyle value) {
    if (value == fBoxStyle) return;
    fBoxStyle = value;
    const TXDBGridOptionsEx o = fGrid->OptionsEx();
    if ((o.Contains(dgTotalHeader) && o.Contains(dgTotalHeaderBox)) ||
        (o.Contains(dgTotalValues) && o.Contains(dgTotalValuesBox)) ||
        (o.Contains(dgTotalFields) && o.Contains(dgTotalFieldsBox)) ||
        (o.Contains(dgTotalFooter) && o.Contains(dgTotalFooterBox)))
        fGrid->LayoutChanged();
}

void TXDBGridTotals::SetCalcValues(bool value) {
    if (value == fCalcValues) return;
    fCalcValues = value;
    if (value) fGrid->UpdateTotals(false);
}

void TXDBGridTotals::SetColor(TColor value) {
    fColorAssigned = true;
    if (value == fColor) return;
    fColor = value;
    Relayout(false);
}

void TXDBGridTotals::FollowFixedColor(TColor value) {
    if (fColorAssigned || value == fColor) return;
    fColor = value;
    Relayout(false);
}

void TXDBGridTotals::SetDataMaxRow(int value) {
    if (value < 0) value = 0;
    if (value == fDataMaxRow) return;
    fDataMaxRow = value;
    // Activated again, the link works out its buffer anew.
    if (fDataLink->Active()) {
        TDataSource* source = fDataLink->DataSource();
        fDataLink->SetDataSource(nullptr);
        fDataLink->SetDataSource(source);
    }
}

void TXDBGridTotals::SetDataSource(TDataSource* value) {
    if (value == fDataLink->DataSource()) return;
    if (value && value == fGrid->DataSource()) {
        if (fGrid->ComponentState().Contains(csLoading)) return;
        throw EInvalidGridOperation(std::string(kCircularDataLink));
    }
    if (value && value->DataSet() && value->DataSet()->IsUnidirectional()) DatabaseError(kUnidirectional);
    fDataLink->SetDataSource(value);
    if (value) value->FreeNotification(fGrid);
    if (Visible()) fGrid->LayoutChanged();
}

void TXDBGridTotals::SetImages(TImageList* value) {
    if (value == fImages) return;
    fImages = value;
    if (value) value->FreeNotification(fGrid);
    Relayout(false);
}

void TXDBGridTotals::SetLinesCount(int value) {
    if (value <= 0) value = 1;
    if (value == fLinesCount) return;
    fLinesCount = value;
    Relayout(true);
}

void TXDBGridTotals::SetSelectedColor(TColor value) {
    if (value == fSelectedColor) return;
    fSelectedColor = value;
    if (Visible() && fGrid->RowsSelected()) fGrid->LayoutChanged();
}

TColor TXDBGridTotals::DefaultSelectedColor() const {
    if (fGrid->IsGridThemed() && fGrid->FixedTheme() != ftDefault) return fGrid->DefaultSelectCellColor();
    return fGrid->DefaultSelectRowColor();
}

void TXDBGridTotals::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TXDBGridTotals*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    SetBoxStyle(other->fBoxStyle);
    SetCalcValues(other->fCalcValues);
    if (other->fColorAssigned) SetColor(other->fColor);
    SetDataMaxRow(other->fDataMaxRow);
    SetDataSource(other->DataSource());
    SetFont(other->fFont.get());
    SetImages(other->fImages);
    SetLinesCount(other->fLinesCount);
    SetSelectedColor(other->fSelectedColor);
}

}  // namespace tv
