#pragma once
// Data sources and data links: how grids and data-aware controls follow a dataset. A data source
// connects one dataset to any number of links; each link keeps its own window of BufferCount
// buffered records over the dataset's buffer and is told when the dataset changes, scrolls, changes
// state or wants pending edits written.
//
// Window rule: when the cursor moves, a link's window moves the least that keeps the current record
// inside it, and DataSetScrolled reports that move (positive: towards the end). When the dataset
// refills its buffer (First, Last, Resync after a post, cancel or delete), the window keeps its
// place in the buffer and DataSetChanged is called instead.

#include "platform/data/data_set.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

#include <vector>

namespace tv {

class TDataLink;
using TDataChangeEvent = TEvent<void(TObject*, TField*)>;

class TDataSource : public TComponent {
    TV_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent* AOwner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    // A disabled source shows its links an inactive dataset.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Whether a control's change may put the dataset into edit state by itself.
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    // The dataset's state, or inactive without a dataset or while disabled.
    TDataSetState State() const;
    // Puts the dataset into edit state when AutoEdit is on and it is browsing.
    void Edit();

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;  // a field, a record or the whole dataset (field none) changed
    TNotifyEvent OnUpdateData;      // the dataset is about to post

private:
    friend class TDataSet;
    friend class TDataLink;
    void DataEvent(TDataEvent event, std::intptr_t info);
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void DataSetDestroyed();
    void NotifyLinksOfState();

    TDataSet* dataSet_ = nullptr;
    std::vector<TDataLink*> links_;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState lastState_ = TDataSetState::dsInactive;
};

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const { return active_; }
    // The dataset is in edit or insert state and the link is not read-only.
    bool Editing() const { return editing_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Links of data-aware controls are visual: DisableControls silences them like any link, and
    // they are told after the non-visual links (master/detail) of the same source.
    bool VisualControl() const { return visualControl_; }
    void SetVisualControl(bool visual) { visualControl_ = visual; }

    // The link's window of buffered records.
    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    // Records in the window, and the window row of the current record. Setting ActiveRecord makes
    // the fields read the record at that row (grids paint row by row); restore it afterwards.
    int RecordCount() const;
    int ActiveRecord() const;
    void SetActiveRecord(int row);
    bool Bof() const;
    bool Eof() const;
    int MoveBy(int distance);
    // Asks the data source to put the dataset into edit state; answers Editing().
    bool Edit();
    // Writes the control's pending change into the field (UpdateData, guarded).
    void UpdateRecord();

protected:
    // Notifications; the defaults do nothing.
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void FocusControl(TField** field) {}
    virtual void EditingChanged() {}
    virtual void RecordChanged(TField* field) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    bool Updating() const { return updating_; }

private:
    friend class TDataSource;
    friend class TDataSet;
    void DataEvent(TDataEvent event, std::intptr_t info);
    void UpdateState();
    void SetActive(bool active);
    void UpdateRange();

    TDataSource* dataSource_ = nullptr;
    int bufferCount_ = 1;
    int firstRecord_ = 0;  // the window's first row as a slot of the dataset's buffer
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool visualControl_ = false;
    bool updating_ = false;
};

}  // namespace tv
