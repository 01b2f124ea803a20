#include "platform/data/nested_data_set.h"

#include "platform/data/data_source.h"
#include "platform/rtl/class_info.h"

namespace tv {

using data_detail::Record;

const TClassInfo& TNestedDataSet::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TNestedDataSet>("TNestedDataSet").Build();
    return info;
}

// Follows the parent dataset: open and closed with it, moved with it, and a pending nested edit
// posted before the parent posts or moves (as a detail's is before its master's).
class TNestedDataSet::ParentLink : public TDataLink {
public:
    explicit ParentLink(TNestedDataSet& nested) : nested_(nested) {}

protected:
    void ActiveChanged() override { nested_.ParentActiveChanged(); }
    void DataSetChanged() override {
        nested_.ParentMoved();
        nested_.DropOrphans();
    }
    void DataSetScrolled(int) override { nested_.ParentMoved(); }
    void LayoutChanged() override { nested_.ParentMoved(); }
    void CheckBrowseMode() override {
        if (nested_.Active()) nested_.CheckBrowseMode();
    }

private:
    TNestedDataSet& nested_;
};

TNestedDataSet::TNestedDataSet(TField& dataSetField)
    : field_(dataSetField),
      parentSource_(std::make_unique<TDataSource>()),
      parentLink_(std::make_unique<ParentLink>(*this)) {
    parentSource_->SetDataSet(dataSetField.DataSet());
    parentLink_->SetDataSource(parentSource_.get());
}

TNestedDataSet::~TNestedDataSet() {
    parentLink_->SetDataSource(nullptr);
    FreeKept();
}

void TNestedDataSet::FreeKept() {
    for (auto& [key, records] : kept_)
        for (Record* record : records) data_detail::FreeRecord(record);
    kept_.clear();
}

void TNestedDataSet::DoBeforeInsert() {
    if (parentKey_ == 0) DatabaseError(kNoParentRecord, {field_.FullName()});
    TDataSet::DoBeforeInsert();
}

void TNestedDataSet::DoBeforeClose() {
    TDataSet::DoBeforeClose();
    FreeKept();
    parentKey_ = 0;
}

void TNestedDataSet::ParentActiveChanged() {
    if (!parentLink_->Active()) return Close();
    // A nested dataset given no fields stays closed rather than failing its parent's opening.
    if (Active() || (FieldCount() == 0 && FieldDefs().Count() == 0)) return;
    Open();
    parentKey_ = ParentDataSet().RecordIdentity();
}

void TNestedDataSet::ParentMoved() {
    if (!Active()) return;
    TDataSet& parent = ParentDataSet();
    const std::uint64_t key = parent.RecordIdentity();
    if (key == parentKey_) return;
    // The shown records stay only while their parent record exists (not a cancelled insert, not
    // a deleted record).
    const bool parentLives = parentKey_ != 0 && parent.HoldsRecord(parentKey_);
    if (parentLives)
        CheckBrowseMode();
    else
        Cancel();
    std::vector<Record*> shown = DetachRecords();
    if (parentLives && !shown.empty())
        kept_[parentKey_] = std::move(shown);
    else
        for (Record* record : shown) data_detail::FreeRecord(record);
    parentKey_ = key;
    std::vector<Record*> next;
    if (auto it = kept_.find(key); it != kept_.end()) {
        next = std::move(it->second);
        kept_.erase(it);
    }
    AttachRecords(std::move(next));
}

void TNestedDataSet::DropOrphans() {
    const TDataSet& parent = ParentDataSet();
    for (auto it = kept_.begin(); it != kept_.end();) {
        if (parent.HoldsRecord(it->first)) {
            ++it;
            continue;
        }
        for (Record* record : it->second) data_detail::FreeRecord(record);
        it = kept_.erase(it);
    }
}

}  // namespace tv
