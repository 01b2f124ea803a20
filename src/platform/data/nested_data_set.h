#pragma once
// The nested dataset of a dataset field (ftDataSet): a dataset whose records belong to records of
// the field's dataset (its parent). It opens and closes with the parent and shows the records that
// belong to the parent's current record; the records of the other parent records are kept aside,
// by the parent record's identity, until the parent returns to them. Records entered under a
// parent record being inserted belong to it once it is posted and go when the insert is
// cancelled; the records of a deleted parent record go with it. Nested records live in memory
// only: a client dataset's stream does not carry them.

#include "platform/data/data_set.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tv {

class TNestedDataSet : public TDataSet {
    TV_CLASS(TNestedDataSet, TDataSet)
public:
    // Made by the dataset field itself (TField::NestedDataSet).
    explicit TNestedDataSet(TField& dataSetField);
    ~TNestedDataSet() override;

    TField& DataSetField() const { return field_; }
    TDataSet& ParentDataSet() const { return *field_.DataSet(); }

protected:
    // A record can only be added under a parent record.
    void DoBeforeInsert() override;
    // Closing drops the records kept for the other parent records too.
    void DoBeforeClose() override;

private:
    class ParentLink;
    void ParentActiveChanged();
    // The parent's current record may have changed: keep the shown records under the record they
    // belong to and show those of the current one.
    void ParentMoved();
    // Frees the records kept for parent records that no longer exist.
    void DropOrphans();
    void FreeKept();

    TField& field_;
    std::unique_ptr<TDataSource> parentSource_;
    std::unique_ptr<ParentLink> parentLink_;
    std::unordered_map<std::uint64_t, std::vector<data_detail::Record*>> kept_;
    std::uint64_t parentKey_ = 0;  // identity of the parent record the shown records belong to
};

}  // namespace tv
