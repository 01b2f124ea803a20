#include "platform/data/data_source.h"

#include "platform/rtl/class_info.h"

#include <algorithm>

namespace tv {

// ---------------------------------------------------------------- TDataSource

const TClassInfo& TDataSource::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDataSource>("TDataSource")
            .Published("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet)
            .Published("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled)
            .Published("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit)
            .Published("OnStateChange", &TDataSource::OnStateChange)
            .Published("OnDataChange", &TDataSource::OnDataChange)
            .Published("OnUpdateData", &TDataSource::OnUpdateData)
            .Build();
    return info;
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    TDataSet* dataSet = dataSet_;
    if (dataSet) {
        auto& sources = dataSet->dataSources_;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
        dataSet_ = nullptr;
    }
    const auto links = links_;
    links_.clear();
    for (TDataLink* link : links) {
        link->dataSource_ = nullptr;
        link->UpdateState();
    }
    if (dataSet) dataSet->UpdateBufferCount();
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    TDataSet* old = dataSet_;
    if (old) {
        auto& sources = old->dataSources_;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    }
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->dataSources_.push_back(this);
    if (old) old->UpdateBufferCount();
    if (dataSet_) dataSet_->UpdateBufferCount();
    NotifyLinksOfState();
}

void TDataSource::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    NotifyLinksOfState();
}

TDataSetState TDataSource::State() const {
    return dataSet_ && enabled_ ? dataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::Edit() {
    if (autoEdit_ && State() == TDataSetState::dsBrowse) dataSet_->Edit();
}

void TDataSource::NotifyLinksOfState() {
    const auto links = links_;
    for (TDataLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->UpdateState();
    if (State() != lastState_) {
        lastState_ = State();
        if (OnStateChange) OnStateChange(this);
    }
}

void TDataSource::DataEvent(TDataEvent event, std::intptr_t info) {
    if (!enabled_) return;
    if (event == TDataEvent::deUpdateState) {
        NotifyLinksOfState();
    } else {
        // Links that are not controls (master/detail) first, so details are current when the
        // controls repaint.
        const auto links = links_;
        for (bool visual : {false, true})
            for (TDataLink* link : links)
                if (link->visualControl_ == visual &&
                    std::find(links_.begin(), links_.end(), link) != links_.end())
                    link->DataEvent(event, info);
    }
    switch (event) {
        case TDataEvent::deFieldChange:
        case TDataEvent::deRecordChange:
            if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(info));
            break;
        case TDataEvent::deDataSetChange:
        case TDataEvent::deDataSetScroll:
        case TDataEvent::deLayoutChange:
            if (OnDataChange) OnDataChange(this, nullptr);
            break;
        case TDataEvent::deUpdateRecord:
            if (OnUpdateData) OnUpdateData(this);
            break;
        default:
            break;
    }
}

void TDataSource::AddLink(TDataLink* link) {
    links_.push_back(link);
    if (dataSet_) dataSet_->UpdateBufferCount();
}

void TDataSource::RemoveLink(TDataLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
    if (dataSet_) dataSet_->UpdateBufferCount();
}

void TDataSource::DataSetDestroyed() {
    dataSet_ = nullptr;
    NotifyLinksOfState();
}

// ---------------------------------------------------------------- TDataLink

TDataLink::~TDataLink() {
    if (dataSource_) dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_) return;
    if (dataSource_) dataSource_->RemoveLink(this);
    dataSource_ = source;
    if (dataSource_) dataSource_->AddLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly) {
    if (readOnly_ == readOnly) return;
    readOnly_ = readOnly;
    UpdateState();
}

void TDataLink::SetBufferCount(int count) {
    count = std::max(1, count);
    if (count == bufferCount_) return;
    bufferCount_ = count;
    if (TDataSet* dataSet = DataSet()) dataSet->UpdateBufferCount();
    if (active_) UpdateRange();
}

int TDataLink::RecordCount() const {
    if (!active_) return 0;
    const int first = std::max(firstRecord_, 0);
    const int last = std::min(firstRecord_ + bufferCount_, DataSet()->bufCount_);
    return std::max(0, last - first);
}

int TDataLink::ActiveRecord() const {
    return active_ ? DataSet()->activeSlot_ - firstRecord_ : 0;
}

void TDataLink::SetActiveRecord(int row) {
    if (active_) DataSet()->activeSlot_ = row + firstRecord_;
}

bool TDataLink::Bof() const {
    return DataSet() ? DataSet()->Bof() : true;
}
bool TDataLink::Eof() const {
    return DataSet() ? DataSet()->Eof() : true;
}

int TDataLink::MoveBy(int distance) {
    return active_ ? DataSet()->MoveBy(distance) : 0;
}

bool TDataLink::Edit() {
    if (!readOnly_ && dataSource_) dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord() {
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TDataLink::UpdateState() {
    const TDataSetState state = dataSource_ ? dataSource_->State() : TDataSetState::dsInactive;
    SetActive(state != TDataSetState::dsInactive);
    const bool editing = (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) && !readOnly_;
    if (editing != editing_) {
        editing_ = editing;
        EditingChanged();
    }
}

void TDataLink::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active_)
        UpdateRange();
    else
        firstRecord_ = 0;
    ActiveChanged();
}

void TDataLink::UpdateRange() {
    const TDataSet* dataSet = DataSet();
    const int active = dataSet->activeSlot_;
    const int lowest = std::max(0, active - bufferCount_ + 1);
    const int highest = std::max(lowest, std::min(active, std::max(0, dataSet->bufSize_ - bufferCount_)));
    firstRecord_ = std::clamp(firstRecord_, lowest, highest);
}

void TDataLink::DataEvent(TDataEvent event, std::intptr_t info) {
    if (event == TDataEvent::deUpdateState) return UpdateState();
    if (!active_) return;
    switch (event) {
        case TDataEvent::deFieldChange:
        case TDataEvent::deRecordChange:
            if (!updating_) RecordChanged(reinterpret_cast<TField*>(info));
            break;
        case TDataEvent::deDataSetChange:
        case TDataEvent::deDataSetScroll:
        case TDataEvent::deLayoutChange: {
            const int active = DataSet()->activeSlot_;
            const int first = firstRecord_ + static_cast<int>(info);
            const int last = first + bufferCount_ - 1;
            int count = 0;
            if (active > last)
                count = active - last;
            else if (active < first)
                count = active - first;
            firstRecord_ = first + count;
            if (event == TDataEvent::deDataSetChange)
                DataSetChanged();
            else if (event == TDataEvent::deDataSetScroll)
                DataSetScrolled(count);
            else
                LayoutChanged();
            break;
        }
        case TDataEvent::deUpdateRecord:
            UpdateRecord();
            break;
        case TDataEvent::deCheckBrowseMode:
            CheckBrowseMode();
            break;
        case TDataEvent::deFocusControl:
            FocusControl(reinterpret_cast<TField**>(info));
            break;
        default:
            break;
    }
}

}  // namespace tv
