#pragma once
// The in-memory dataset every settings table, kit table mirror, rule table, query result and grid
// sits on. It keeps the class library's dataset semantics: states and their events in the library's
// order, an edit posted implicitly when the cursor moves, indexes, filters, master/detail ranges,
// bookmarks, and a window of buffered records that the data links of grids and controls read.
//
// Records live in one compact heap block each; fields read their slot directly (O(1)). The cursor
// walks a "view": the records that pass the filter and the master range, in index order.

#include "platform/data/db_error.h"
#include "platform/data/field.h"
#include "platform/data/field_def.h"
#include "platform/data/record_store.h"
#include "platform/data/unique_keys.h"
#include "platform/data/value_view.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"
#include "platform/rtl/format_settings.h"
#include "platform/rtl/variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tv {

class TDataSource;
class TDataLink;

enum TDataSetState : std::uint8_t { dsInactive, dsBrowse, dsEdit, dsInsert };
TV_ENUM_INFO(TDataSetState, "dsInactive", "dsBrowse", "dsEdit", "dsInsert");

// What a post or delete error handler decides: raise the error, abort silently (EAbort), or try
// the operation again.
enum class TDataAction : std::uint8_t { daFail, daAbort, daRetry };

// The notifications a dataset sends to its data sources and their links.
enum class TDataEvent : std::uint8_t {
    deFieldChange,      // info: the field
    deRecordChange,     // info: the field, or none for the whole record
    deDataSetChange,    // the buffered records were refilled
    deDataSetScroll,    // info: how far the buffer window moved (see TDataLink)
    deLayoutChange,     // fields or their properties changed
    deUpdateRecord,     // controls write their pending changes into the fields
    deUpdateState,      // the state changed
    deCheckBrowseMode,  // a pending edit is about to be posted or cancelled
    deFocusControl,     // info: the field whose control should take the focus
};

using TLocateOptions = unsigned;
inline constexpr TLocateOptions loCaseInsensitive = 1;
inline constexpr TLocateOptions loPartialKey = 2;

using TFilterOptions = unsigned;
inline constexpr TFilterOptions foCaseInsensitive = 1;

using TIndexOptions = unsigned;
inline constexpr TIndexOptions ixUnique = 1;
inline constexpr TIndexOptions ixDescending = 2;
inline constexpr TIndexOptions ixCaseInsensitive = 4;

using TResyncMode = unsigned;
inline constexpr TResyncMode rmExact = 1;   // the current record must still exist
inline constexpr TResyncMode rmCenter = 2;  // put the current record in the middle of the buffer

struct TIndexDef {
    std::string Name;
    std::string Fields;  // "a;b"
    TIndexOptions Options = 0;
};

// Identifies one record for as long as it exists, whatever is inserted or deleted around it.
struct TBookmark {
    std::uint64_t id = 0;
    bool IsEmpty() const { return id == 0; }
    friend bool operator==(const TBookmark&, const TBookmark&) = default;
};

class TDataSet;
using TDataSetNotifyEvent = TEvent<void(TDataSet*)>;
// Decides about a failed post or delete: the handler may set the action to abort or retry.
using TDataSetErrorEvent = std::function<void(TDataSet*, EDatabaseError&, TDataAction&)>;

class TDataSet : public TComponent {
    TV_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* AOwner = nullptr);
    ~TDataSet() override;

    // The format settings that field text conversions use; the process default unless set.
    const TFormatSettings& FormatSettings() const;
    void SetFormatSettings(const TFormatSettings* settings) { formatSettings_ = settings; }

    // ---- Structure. Fields are made from the definitions when the dataset opens without fields of
    // its own; fields added with AddField (while closed) are used as they are.
    TFieldDefs& FieldDefs() { return fieldDefs_; }
    const TFieldDefs& FieldDefs() const { return fieldDefs_; }
    TField& AddField(std::string name, TFieldType type, int size = 0, bool required = false);
    // A lookup field (see TFieldKind): its value is `lookupResultField` of the row of `lookupDataSet`
    // whose `lookupKeyFields` equal this record's `keyFields`; Null without such a row or while
    // either dataset is closed. It holds nothing in the record and cannot be written. Like AddField,
    // it makes the dataset's fields its own: add the data fields with AddField too.
    TField& AddLookupField(std::string name, TFieldType type, int size, std::string keyFields,
                           TDataSet* lookupDataSet, std::string lookupKeyFields,
                           std::string lookupResultField);
    // A sub-field of an object field of this dataset (see TField::IsObjectField); sized and checked as
    // AddField is, its full name unique in the dataset. An array's elements are named by the
    // caller, "Name[0]" and so on; the array's Size counts them.
    TField& AddSubField(TField& parent, std::string name, TFieldType type, int size = 0, bool required = false);
    void ClearFields();  // removes every field; the dataset must be closed
    // The fields are the ones the dataset makes from its definitions when it opens (or there are
    // none yet), not fields of its own (AddField).
    bool DefaultFields() const { return fieldsFromDefs_ || fields_.empty(); }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // The field at a position; EListError outside 0 .. FieldCount()-1.
    TField& Fields(int index) const;
    // Every field, sub-fields after their object field, depth first in Index order.
    std::vector<TField*> FieldList() const;
    // By full name ("Address.City"), letter case ignored.
    TField* FindField(std::string_view name) const;
    TField& FieldByName(std::string_view name) const;                 // EDatabaseError when missing
    std::vector<TField*> GetFieldList(std::string_view names) const;  // "a;b"
    // The values of the active record's fields named ("a;b"): one field's value, or a variant
    // array of them.
    Variant FieldValues(std::string_view names) const;

    // ---- Opening and state.
    void Open();
    void Close();
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    TDataSetState State() const { return state_; }
    bool IsEditing() const { return state_ == dsEdit || state_ == dsInsert; }
    bool Modified() const { return modified_; }
    // Whether records may be changed; Append, Insert, Edit and Delete of a dataset that answers
    // false raise "Cannot modify a read-only dataset".
    virtual bool CanModify() const { return Active(); }

    // ---- Changing records. Append and Insert (before the current record) open a new record in
    // insert state; Edit puts the current record into edit state (an empty dataset appends). Post
    // stores the record, Cancel drops the changes, Delete removes the current record. Any move of
    // the cursor first posts a modified record and cancels an unmodified one (CheckBrowseMode).
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void CheckBrowseMode();
    // Asks the controls to write their pending changes into the fields.
    void UpdateRecord();

    // ---- Navigation.
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves up to `distance` records; answers how far it moved.
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    // Position of the current record, 1-based; a record being inserted counts where it stands.
    int RecNo() const;
    void SetRecNo(int recNo);
    // Records in view (the filter and the master range applied), the one being inserted included.
    int RecordCount() const;
    // Whether RecNo and RecordCount give a record's place (scroll bars show it); true here.
    virtual bool IsSequenced() const { return true; }
    // A dataset that can only move forwards (a plain query cursor); grids refuse one.
    bool IsUnidirectional() const { return unidirectional_; }
    bool IsEmpty() const { return bufCount_ == 0; }

    // ---- Bookmarks.
    TBookmark GetBookmark() const;
    bool BookmarkValid(const TBookmark& bookmark) const;
    void GotoBookmark(const TBookmark& bookmark);
    // Moves the cursor to the record without refilling the buffer; Resync places it afterwards.
    void GotoBookmarkWithoutResync(const TBookmark& bookmark);
    // <0, 0 or >0 as the two records stand in the current order.
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
    // Refills the buffer around the current record (see TResyncMode).
    void Resync(TResyncMode mode);

    // ---- Searching.
    // The first record in the current order whose key fields ("a;b") equal the values (a variant
    // array for several fields); with loPartialKey a text matches the beginning of a string field.
    // Moves there and answers true, or answers false and stays.
    bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options = 0);
    bool Locate(std::string_view keyFields, const std::vector<Variant>& keyValues,
                TLocateOptions options = 0);
    // On the fields of the current index: the first record whose leading key fields equal the
    // values; FindNearest stops on the first record at or after them (the last one when none).
    bool FindKey(const std::vector<Variant>& keyValues);
    void FindNearest(const std::vector<Variant>& keyValues);

    // ---- Indexes. IndexFieldNames ("a;b", ascending, case-sensitive) and IndexName (one of the
    // index definitions) each replace the other. Unique definitions refuse a duplicate key at
    // Post with "Key violation." whichever index is current.
    std::vector<TIndexDef>& IndexDefs() { return indexDefs_; }
    void AddIndex(std::string name, std::string fields, TIndexOptions options = 0);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(std::string fields);
    const std::string& IndexName() const { return indexName_; }
    void SetIndexName(std::string name);

    // ---- Filtering: a filter of the form field='value' (quotes inside doubled) or empty.
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string filter);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);
    TFilterOptions FilterOptions() const { return filterOptions_; }
    void SetFilterOptions(TFilterOptions options);

    // ---- Master/detail: this dataset shows only the records whose key fields (the leading
    // fields of its index, or fields named as the master fields) equal the master's MasterFields
    // ("a;b") in the master's current record. Without a master source all records show; the
    // records themselves never change by linking or unlinking.
    TDataSource* MasterSource() const { return masterSource_; }
    void SetMasterSource(TDataSource* source);
    const std::string& MasterFields() const { return masterFields_; }
    void SetMasterFields(std::string fields);

    // ---- Controls.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // ---- The record buffer that data links read (see TDataLink).
    // Slot of the active record in the buffer; links set it to read the other buffered records.
    int ActiveRecord() const { return activeSlot_; }
    // Records in the buffer, and the buffer's size (the largest buffer count of the links, at least 1).
    int BufferedRecords() const { return bufCount_; }
    int BufferSize() const { return bufSize_; }

    // ---- Record identities (what a nested dataset keeps its records by).
    // The current record's bookmark identity; for a record being inserted the identity it keeps
    // once posted; 0 without a current record.
    std::uint64_t RecordIdentity() const;
    // Whether a record of that identity is held, in view or not.
    bool HoldsRecord(std::uint64_t identity) const { return byId_.count(identity) != 0; }

    // ---- Events, in the order the class library raises them.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;
    TDataSetErrorEvent OnPostError, OnDeleteError;

protected:
    // The dataset's events; a derived dataset overrides them and calls these to keep the handlers.
    virtual void DoBeforeOpen() { Raise(BeforeOpen); }
    virtual void DoAfterOpen() { Raise(AfterOpen); }
    virtual void DoBeforeClose() { Raise(BeforeClose); }
    virtual void DoAfterClose() { Raise(AfterClose); }
    virtual void DoBeforeInsert() { Raise(BeforeInsert); }
    virtual void DoAfterInsert() { Raise(AfterInsert); }
    virtual void DoBeforeEdit() { Raise(BeforeEdit); }
    virtual void DoAfterEdit() { Raise(AfterEdit); }
    virtual void DoBeforePost() { Raise(BeforePost); }
    virtual void DoAfterPost() { Raise(AfterPost); }
    virtual void DoBeforeCancel() { Raise(BeforeCancel); }
    virtual void DoAfterCancel() { Raise(AfterCancel); }
    virtual void DoBeforeDelete() { Raise(BeforeDelete); }
    virtual void DoAfterDelete() { Raise(AfterDelete); }
    virtual void DoBeforeScroll() { Raise(BeforeScroll); }
    virtual void DoAfterScroll() { Raise(AfterScroll); }
    virtual void DoOnNewRecord() { Raise(OnNewRecord); }

    // Called by Open before the fields are made: a derived dataset that learns its fields when it
    // opens (a query) sets FieldDefs here.
    virtual void InternalInitFieldDefs() {}
    // Called by Open after the fields exist and before the cursor is placed: a derived dataset
    // fills its records here (a query its rows). The default keeps what is held.
    virtual void InternalOpenData() {}

    // Appends a record without events or checks; the caller fills `buffer` through
    // BeginBulkRecord / the returned buffer and calls EndBulkRecord. Used to fill from streams and
    // row sources; the view is rebuilt by FinishBulkLoad.
    data_detail::RecordBuffer& BeginBulkRecord();
    void EndBulkRecord();
    void FinishBulkLoad();
    // Makes fields from the definitions (when there are none) and the record layout.
    void PrepareStructure();
    void SetUnidirectional(bool value) { unidirectional_ = value; }
    // Frees every record (the dataset stays open when it was).
    void FreeRecords();
    // Takes every record out of the dataset without freeing them (browse state; the view becomes
    // empty), and puts such records back in their natural order, placed on the first. Records
    // keep their identities, so the dataset must have had the same layout when they were taken.
    std::vector<data_detail::Record*> DetachRecords();
    void AttachRecords(std::vector<data_detail::Record*> records);
    const data_detail::RecordLayout& Layout() const { return layout_; }
    const std::vector<data_detail::Record*>& NaturalOrder() const { return natural_; }
    void DataEvent(TDataEvent event, std::intptr_t info = 0);
    // EDatabaseError unless the dataset is open / closed.
    void CheckActive() const;
    void CheckInactive() const;
    void CheckCanModify() const;
    // Moves to the first record and tells the links (no scroll events).
    void PlaceOnFirst();
    void PlaceOnFirstSilently();

private:
    friend class TField;
    friend class TDataSource;
    friend class TDataLink;
    class MasterLink;
    struct OrderKey {
        size_t field;  // physical position
        bool descending;
        bool caseInsensitive;
    };
    struct FilterTerm {
        size_t field = 0;
        TValueView value;
        std::string text;  // storage of a text value
        bool caseInsensitive = false;
        bool active = false;
        void FixView();  // points a text value at `text` once the term stays where it is
    };
    struct RangeTerm {
        size_t field;
        TValueView value;
        std::string text;
        bool caseInsensitive;
    };

    void Raise(const TDataSetNotifyEvent& event) {
        if (event) event(this);
    }
    void SetDataSetState(TDataSetState state);
    template <typename Op>
    void CheckOperation(Op op, const TDataSetErrorEvent& handler);

    // Record access by the fields.
    TValueView ReadField(const TField& field) const;
    TValueView ReadLookupField(const TField& field) const;
    // The record slot of a data field; EDatabaseError for a field that holds no value there.
    static size_t StoredNo(const TField& field);
    // The stored value of `result` in the first row whose `keyFields` equal `keys`; Null for none.
    TValueView FindLookupValue(std::string_view keyFields, const std::vector<TValueView>& keys,
                               std::string_view result) const;
    TValueView ReadOldField(const TField& field) const;
    void WriteField(TField& field, const TValueView& value);
    void CheckFieldWritable(const TField& field) const;

    // The view and the buffer window over it. While a record is inserted it stands at
    // insertPos_ of the extended view (the view with the new record in it).
    size_t ExtendedSize() const;
    data_detail::Record* ExtendedRecord(size_t pos) const;  // nullptr for the record being inserted
    data_detail::Record* SlotRecord(int slot) const;
    data_detail::Record* CurrentRecord() const { return bufCount_ ? SlotRecord(activeSlot_) : nullptr; }
    void ClearBuffers();
    // Fills the buffer around extended-view position `pos`, with up to `priors` records before it.
    void FillBuffer(size_t pos, int priors);
    // Puts `target` (or, when it is not in view, the record after where it would stand) at the
    // active slot, or clears the buffer when the view is empty.
    void PlaceRecord(const data_detail::Record* target, bool exact, bool center);
    void SetBufferSize(int size);
    void UpdateBufferCount();

    // Ordering, filtering and ranges.
    int CompareRecords(const data_detail::Record* a, const data_detail::Record* b) const;
    bool InView(const data_detail::Record* record) const;
    // Position of `record` in the view, or where it would stand; `found` tells which.
    size_t ViewPosition(const data_detail::Record* record, bool* found) const;
    void RebuildView();
    std::vector<OrderKey> ParseOrder(std::string_view fields, TIndexOptions options) const;
    const TIndexDef* FindIndexDef(std::string_view name) const;
    std::vector<OrderKey> ResolveOrder(std::string_view indexName, std::string_view fieldNames) const;
    void ChangeOrder(std::vector<OrderKey> order);
    FilterTerm MakeFilterTerm(std::string_view filter, bool filtered, TFilterOptions options) const;
    void ChangeFilter(std::string_view filter, bool filtered, TFilterOptions options);
    bool RangeWanted() const;
    void MasterChanged();
    void ComputeRange(std::vector<RangeTerm>& range) const;
    bool SameRange(const std::vector<RangeTerm>& a, const std::vector<RangeTerm>& b) const;
    void CheckUniqueKeys(const data_detail::Record* self);
    // Keeps the unique-key orders in step when a stored record is replaced, added or removed.
    void TrackUniqueKeys(const data_detail::Record* removed, const data_detail::Record* added);
    bool MatchesLocate(const data_detail::Record* record, const std::vector<TField*>& fields,
                       const std::vector<TValueView>& values, TLocateOptions options) const;
    size_t KeyLowerBound(const std::vector<Variant>& keyValues, std::vector<std::string>& texts,
                         std::vector<TValueView>& values) const;
    int CompareKeyPrefix(const data_detail::Record* record, const std::vector<TValueView>& values) const;

    void InternalPost();
    void InternalDelete();
    void StartInsert(bool append);
    void InitRecord();
    void MoveCursorTo(size_t pos, bool center);
    void InsertIntoView(data_detail::Record* record);
    void RemoveFromView(const data_detail::Record* record);
    std::int64_t NaturalKeyBefore(const data_detail::Record* next);
    std::int64_t NaturalKeyAtEnd() const;
    size_t NaturalPosition(const data_detail::Record* record) const;
    size_t NaturalInsertPosition(std::int64_t natural) const;
    void RenumberNatural();
    void RebuildFieldNames();
    // Makes the fields of a definition (with its sub-fields) under `parent`, or at the top.
    void MakeFields(const TFieldDef& def, TField* parent, std::vector<std::unique_ptr<TField>>& into);

    const TFormatSettings* formatSettings_ = nullptr;
    TDataSetState state_ = dsInactive;
    bool modified_ = false;
    bool unidirectional_ = false;
    bool bof_ = true, eof_ = true;

    TFieldDefs fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;            // in Index order
    std::vector<TField*> fieldsByNo_;                        // by physical position
    std::unordered_map<std::string, TField*> fieldsByName_;  // folded name
    bool fieldsFromDefs_ = false;  // fields made from the definitions go when the dataset closes
    bool structureReady_ = false;
    data_detail::RecordLayout layout_;

    // Storage: every record in the natural order, and by bookmark.
    std::vector<data_detail::Record*> natural_;
    std::unordered_map<std::uint64_t, data_detail::Record*> byId_;
    std::uint64_t nextId_ = 1;
    // The records ordered by each unique index, built at the first post that checks them.
    std::unique_ptr<data_detail::UniqueKeys> uniqueKeys_;

    // The view and the order.
    std::vector<data_detail::Record*> view_;
    std::vector<OrderKey> order_;
    std::vector<TIndexDef> indexDefs_;
    std::string indexFieldNames_, indexName_;
    std::string filter_;
    bool filtered_ = false;
    TFilterOptions filterOptions_ = 0;
    FilterTerm filterTerm_;
    TDataSource* masterSource_ = nullptr;
    std::string masterFields_;
    std::unique_ptr<MasterLink> masterLink_;
    std::vector<RangeTerm> range_;
    bool rangeActive_ = false;

    // The buffer window: slots 0 .. bufCount_-1 show extended-view positions bufFirst_ onwards.
    int bufSize_ = 1;
    size_t bufFirst_ = 0;
    int bufCount_ = 0;
    int activeSlot_ = 0;
    std::ptrdiff_t insertPos_ = -1;  // extended-view position of the record being inserted
    const data_detail::Record* cursorOverride_ = nullptr;  // set by GotoBookmarkWithoutResync

    // The record being edited or inserted.
    data_detail::RecordBuffer editBuffer_;
    data_detail::Record* editRecord_ = nullptr;    // the stored record under edit
    data_detail::Record* insertBefore_ = nullptr;  // current record when Insert began
    int editSlot_ = -1;
    const TField* validatingField_ = nullptr;
    const TValueView* validatingValue_ = nullptr;

    // Data sources and controls.
    std::vector<TDataSource*> dataSources_;
    int disableCount_ = 0;
    TDataSetState disableState_ = dsInactive;
    TDataEvent enableEvent_ = TDataEvent::deDataSetChange;
};

}  // namespace tv
