#pragma once
// The data grid's link to its data source: it maps the grid's field positions to the dataset's
// fields and hands the dataset's notifications to the grid. The grid sets its buffer to the
// records that fit on screen.

#include <string>
#include <vector>

#include "platform/data/data_source.h"

namespace tv {

class TXCustomDBGrid;

// The largest field map.
inline constexpr int kMaxMapSize = 268435455;

class TXGridDataLink : public TDataLink {
public:
    explicit TXGridDataLink(TXCustomDBGrid* AGrid);
    ~TXGridDataLink() override;

    TXCustomDBGrid* Grid() const { return fGrid; }
    // Maps the next grid field position to the field of that name: -1 when it is missing and
    // SparseMap is set, else the dataset's field-not-found error. True when mapped.
    bool AddMapping(const std::string& FieldName);
    void ClearMapping();
    int FieldCount() const { return fFieldCount; }
    // The field at a map position; nil outside the map or for a missing field.
    TField* Fields(int I) const;
    // The field's Index at a map position (a sub-field's among its object field's); -1 outside
    // the map or for a missing field.
    int FieldIndex(int I) const;
    // The dataset has no fields of its own (true without a dataset); with SparseMap, false as
    // soon as a mapped field is missing.
    bool DefaultFields() const;
    bool SparseMap() const { return fSparseMap; }
    void SetSparseMap(bool value) { fSparseMap = value; }

    // The grid's editor holds a change not yet written to the field.
    void Modified() { fModified = true; }
    bool IsModified() const { return fModified; }
    // Drops a pending change: a record change without field when one was pending, else the
    // dataset's Cancel (with the grid's change lock raised).
    void Reset();
    // The link is writing the editor's change (UpdateData) now.
    bool InUpdateData() const { return fInUpdateData; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int Distance) override;
    void LayoutChanged() override;
    void FocusControl(TField** Field) override;
    void EditingChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    TXCustomDBGrid* fGrid;
    std::vector<int> fFieldMap;
    // The fields mapped, beside their indexes: a sub-field is no field of the dataset's own list.
    std::vector<TField*> fMappedFields;
    int fFieldCount = 0;
    bool fModified = false;
    bool fInUpdateData = false;
    bool fSparseMap = false;
};

}  // namespace tv
