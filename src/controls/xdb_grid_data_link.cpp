#include "controls/xdb_grid_data_link.h"

#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/data/db_error.h"

namespace tv {

TXGridDataLink::TXGridDataLink(TXCustomDBGrid* AGrid) : fGrid(AGrid) {
    SetVisualControl(true);
}

TXGridDataLink::~TXGridDataLink() {
    ClearMapping();
}

bool TXGridDataLink::AddMapping(const std::string& FieldName) {
    if (fFieldCount >= kMaxMapSize) throw EInvalidGridOperation(std::string(kTooManyColumns));
    TDataSet* dataSet = DataSet();
    TField* field = fSparseMap ? dataSet->FindField(FieldName) : &dataSet->FieldByName(FieldName);
    if (fFieldCount == static_cast<int>(fFieldMap.size())) {
        const int grown = fFieldMap.empty() ? 8 : static_cast<int>(fFieldMap.size()) * 2;
        fFieldMap.resize(static_cast<size_t>(std::min(std::max(grown, fFieldCount + 1), kMaxMapSize)));
        fMappedFields.resize(fFieldMap.size());
    }
    int index = -1;
    if (field) {
        index = field->Index();
        field->FreeNotification(fGrid);
    }
    fMappedFields[static_cast<size_t>(fFieldCount)] = field;
    fFieldMap[static_cast<size_t>(fFieldCount++)] = index;
    return true;
}

void TXGridDataLink::ClearMapping() {
    fFieldMap.clear();
    fMappedFields.clear();
    fFieldCount = 0;
}

int TXGridDataLink::FieldIndex(int I) const {
    return I >= 0 && I < fFieldCount ? fFieldMap[static_cast<size_t>(I)] : -1;
}

TField* TXGridDataLink::Fields(int I) const {
    if (FieldIndex(I) < 0 || !DataSet()) return nullptr;
    return fMappedFields[static_cast<size_t>(I)];
}

bool TXGridDataLink::DefaultFields() const {
    if (fSparseMap)
        for (int i = 0; i < fFieldCount; ++i)
            if (fFieldMap[static_cast<size_t>(i)] < 0) return false;
    TDataSet* dataSet = DataSet();
    return !dataSet || dataSet->DefaultFields();
}

void TXGridDataLink::Reset() {
    if (fModified)
        RecordChanged(nullptr);
    else if (TDataSet* dataSet = DataSet()) {
        fGrid->BeginChange();
        try {
            dataSet->Cancel();
        } catch (...) {
            fGrid->EndChange();
            throw;
        }
        fGrid->EndChange();
    }
}

void TXGridDataLink::ActiveChanged() {
    if (Active() && DataSet()->IsUnidirectional()) DatabaseError(kUnidirectional);
    fGrid->LinkActive(Active());
    fModified = false;
}

void TXGridDataLink::DataSetChanged() {
    fGrid->RefreshData();
    fModified = false;
}

void TXGridDataLink::DataSetScrolled(int Distance) {
    fGrid->Scroll(Distance);
}

void TXGridDataLink::LayoutChanged() {
    fGrid->LinkLayoutChanged();
    TDataLink::LayoutChanged();
}

void TXGridDataLink::FocusControl(TField** Field) {
    fGrid->LinkFocusControl(Field);
}

void TXGridDataLink::EditingChanged() {
    fGrid->LinkEditingChanged();
}

void TXGridDataLink::RecordChanged(TField* Field) {
    fGrid->LinkRecordChanged(Field);
    fModified = false;
}

void TXGridDataLink::UpdateData() {
    fInUpdateData = true;
    try {
        if (fModified) fGrid->UpdateData();
    } catch (...) {
        fInUpdateData = false;
        throw;
    }
    fInUpdateData = false;
    fModified = false;
}

}  // namespace tv
