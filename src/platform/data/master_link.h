#pragma once
// The link a detail dataset keeps to its master's data source: it applies the master's current key
// values as the detail's range whenever the master moves, refills or changes a key field, and posts
// the detail's pending edit before the master posts or moves.

#include "platform/data/data_source.h"

#include <algorithm>

namespace tv {

class TDataSet::MasterLink : public TDataLink {
public:
    explicit MasterLink(TDataSet& detail) : detail_(detail) {}

protected:
    void ActiveChanged() override {
        if (!DataSource()) detail_.masterSource_ = nullptr;  // the master's source went away
        detail_.MasterChanged();
    }
    void DataSetChanged() override { detail_.MasterChanged(); }
    void DataSetScrolled(int) override { detail_.MasterChanged(); }
    void LayoutChanged() override { detail_.MasterChanged(); }
    void RecordChanged(TField* field) override {
        if (!field || !DataSet()) return;
        const auto fields = DataSet()->GetFieldList(detail_.masterFields_);
        if (std::find(fields.begin(), fields.end(), field) != fields.end()) detail_.MasterChanged();
    }
    void CheckBrowseMode() override {
        if (detail_.Active()) detail_.CheckBrowseMode();
    }

private:
    TDataSet& detail_;
};

}  // namespace tv
