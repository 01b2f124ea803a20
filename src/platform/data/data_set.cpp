#include "platform/data/data_set.h"

#include "platform/data/data_source.h"
#include "platform/data/field_text.h"
#include "platform/data/key_compare.h"
#include "platform/data/master_link.h"
#include "platform/rtl/class_info.h"

#include <algorithm>

namespace tv {

using namespace data_detail;

const TClassInfo& TDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDataSet>("TDataSet")
            .Published("Active", &TDataSet::Active, &TDataSet::SetActive)
            .Published("Filter", &TDataSet::Filter, &TDataSet::SetFilter)
            .Published("Filtered", &TDataSet::Filtered, &TDataSet::SetFiltered)
            .Published("IndexFieldNames", &TDataSet::IndexFieldNames, &TDataSet::SetIndexFieldNames)
            .Published("IndexName", &TDataSet::IndexName, &TDataSet::SetIndexName)
            .Published("MasterFields", &TDataSet::MasterFields, &TDataSet::SetMasterFields)
            .Published("MasterSource", &TDataSet::MasterSource, &TDataSet::SetMasterSource)
            .Published("BeforeOpen", &TDataSet::BeforeOpen)
            .Published("AfterOpen", &TDataSet::AfterOpen)
            .Published("BeforeClose", &TDataSet::BeforeClose)
            .Published("AfterClose", &TDataSet::AfterClose)
            .Published("BeforeInsert", &TDataSet::BeforeInsert)
            .Published("AfterInsert", &TDataSet::AfterInsert)
            .Published("BeforeEdit", &TDataSet::BeforeEdit)
            .Published("AfterEdit", &TDataSet::AfterEdit)
            .Published("BeforePost", &TDataSet::BeforePost)
            .Published("AfterPost", &TDataSet::AfterPost)
            .Published("BeforeCancel", &TDataSet::BeforeCancel)
            .Published("AfterCancel", &TDataSet::AfterCancel)
            .Published("BeforeDelete", &TDataSet::BeforeDelete)
            .Published("AfterDelete", &TDataSet::AfterDelete)
            .Published("BeforeScroll", &TDataSet::BeforeScroll)
            .Published("AfterScroll", &TDataSet::AfterScroll)
            .Published("OnNewRecord", &TDataSet::OnNewRecord)
            .Build();
    return info;
}

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
    // Links must stop reading before the records go; no user events run from a destructor.
    const auto sources = dataSources_;
    dataSources_.clear();
    for (TDataSource* source : sources) source->DataSetDestroyed();
    masterLink_.reset();
    state_ = TDataSetState::dsInactive;
    FreeRecords();
}

const TFormatSettings& TDataSet::FormatSettings() const {
    return formatSettings_ ? *formatSettings_ : DefaultFormatSettings();
}

// ---------------------------------------------------------------- structure

namespace {
int FieldSize(TFieldType type, int size) {
    if (IsStringType(type) && size <= 0) return 20;
    if (IsStringType(type) || IsMemoType(type)) return size;
    return 0;  // an array counts its elements itself
}

// An object field's sub-fields as definitions under `def`: a structure's each, an array's first
// element as the element definition.
void AddChildDefs(const TField& field, TFieldDef& def) {
    if (def.DataType == TFieldType::ftArray) def.Size = field.SubFieldCount();
    for (int i = 0; i < field.SubFieldCount(); ++i) {
        const TField& sub = field.SubFields(i);
        TFieldDef& child = def.AddChild(sub.FieldName(), sub.DataType(), sub.Size(), sub.Required());
        AddChildDefs(sub, child);
        if (def.DataType == TFieldType::ftArray) break;
    }
}

// The field, then its sub-fields with theirs, depth first.
void AppendFieldList(TField& field, std::vector<TField*>& list) {
    list.push_back(&field);
    for (int i = 0; i < field.SubFieldCount(); ++i) AppendFieldList(field.SubFields(i), list);
}
}  // namespace

TField& TDataSet::AddField(std::string name, TFieldType type, int size, bool required) {
    CheckInactive();
    if (FindField(name)) DatabaseError(kDuplicateFieldName, {name});
    if (fieldsFromDefs_) {
        fields_.clear();
        fieldsFromDefs_ = false;
    }
    fields_.push_back(
        std::unique_ptr<TField>(new TField(this, std::move(name), type, FieldSize(type, size), required)));
    structureReady_ = false;
    RebuildFieldNames();
    return *fields_.back();
}

TField& TDataSet::AddSubField(TField& parent, std::string name, TFieldType type, int size, bool required) {
    CheckInactive();
    if (parent.DataSet() != this || fieldsFromDefs_) DatabaseError(kFieldNotFound, {parent.FieldName()});
    if (!parent.IsObjectField()) DatabaseError(kNotObjectField, {parent.DisplayName()});
    auto field = std::unique_ptr<TField>(new TField(this, std::move(name), type, FieldSize(type, size), required));
    field->parent_ = &parent;
    if (FindField(field->FullName())) DatabaseError(kDuplicateFieldName, {field->FullName()});
    parent.subFields_.push_back(std::move(field));
    if (parent.DataType() == TFieldType::ftArray) parent.size_ = parent.SubFieldCount();
    structureReady_ = false;
    RebuildFieldNames();
    return *parent.subFields_.back();
}

void TDataSet::MakeFields(const TFieldDef& def, TField* parent, std::vector<std::unique_ptr<TField>>& into) {
    if (IsNestedType(def.DataType)) {
        // The definition's children are the nested dataset's fields, not sub-fields.
        into.push_back(std::unique_ptr<TField>(new TField(this, def.Name, def.DataType, def.Size, def.Required)));
        into.back()->parent_ = parent;
        TFieldDefs& nested = into.back()->NestedDataSet()->FieldDefs();
        for (const TFieldDef& child : def.ChildDefs)
            nested.Add(child.Name, child.DataType, child.Size, child.Required).ChildDefs = child.ChildDefs;
        return;
    }
    if (def.DataType != TFieldType::ftArray) {
        into.push_back(std::unique_ptr<TField>(new TField(this, def.Name, def.DataType, def.Size, def.Required)));
        into.back()->parent_ = parent;
        for (const TFieldDef& child : def.ChildDefs) MakeFields(child, into.back().get(), into.back()->subFields_);
        return;
    }
    into.push_back(std::unique_ptr<TField>(new TField(this, def.Name, def.DataType, 0, def.Required)));
    TField& array = *into.back();
    array.parent_ = parent;
    if (def.ChildDefs.empty()) return;
    for (int i = 0; i < def.Size; ++i) {
        TFieldDef element = def.ChildDefs.front();
        element.Name = def.Name + '[' + std::to_string(i) + ']';
        MakeFields(element, &array, array.subFields_);
    }
    array.size_ = array.SubFieldCount();
}

TField& TDataSet::AddLookupField(std::string name, TFieldType type, int size, std::string keyFields,
                                 TDataSet* lookupDataSet, std::string lookupKeyFields,
                                 std::string lookupResultField) {
    TField& field = AddField(std::move(name), type, size);
    field.kind_ = fkLookup;
    field.keyFields_ = std::move(keyFields);
    field.lookupDataSet_ = lookupDataSet;
    field.lookupKeyFields_ = std::move(lookupKeyFields);
    field.lookupResultField_ = std::move(lookupResultField);
    return field;
}

void TDataSet::ClearFields() {
    CheckInactive();
    fields_.clear();
    fieldsByNo_.clear();
    fieldsByName_.clear();
    fieldsFromDefs_ = false;
    structureReady_ = false;
}

TField& TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount()) ListIndexError(index);
    return *fields_[static_cast<size_t>(index)];
}

std::vector<TField*> TDataSet::FieldList() const {
    std::vector<TField*> list;
    list.reserve(fields_.size());
    for (const auto& field : fields_) AppendFieldList(*field, list);
    return list;
}

TField* TDataSet::FindField(std::string_view name) const {
    auto it = fieldsByName_.find(FoldFieldText(name));
    return it == fieldsByName_.end() ? nullptr : it->second;
}

TField& TDataSet::FieldByName(std::string_view name) const {
    TField* field = FindField(name);
    if (!field) DatabaseError(kFieldNotFound, {name});
    return *field;
}

std::vector<TField*> TDataSet::GetFieldList(std::string_view names) const {
    std::vector<TField*> list;
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(';', start);
        if (end == std::string_view::npos) end = names.size();
        std::string_view name = names.substr(start, end - start);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) list.push_back(&FieldByName(name));
        start = end + 1;
    }
    return list;
}

Variant TDataSet::FieldValues(std::string_view names) const {
    const std::vector<TField*> fields = GetFieldList(names);
    if (fields.size() == 1) return fields[0]->Value();
    Variant values = Variant::ArrayOf(0, static_cast<std::int32_t>(fields.size()) - 1);
    for (size_t i = 0; i < fields.size(); ++i)
        values.Element(static_cast<std::int32_t>(i)) = fields[i]->Value();
    return values;
}

void TDataSet::RebuildFieldNames() {
    fieldsByName_.clear();
    for (TField* field : FieldList()) fieldsByName_.emplace(FoldFieldText(field->FullName()), field);
}

void TDataSet::PrepareStructure() {
    if (structureReady_) return;
    if (fields_.empty()) {
        if (fieldDefs_.Count() == 0) DatabaseError(kNoFieldDefinitions);
        for (const TFieldDef& def : fieldDefs_) MakeFields(def, nullptr, fields_);
        fieldsFromDefs_ = true;
    } else {
        fieldDefs_.Clear();
        for (auto& field : fields_)
            if (field->FieldKind() == fkData) {
                TFieldDef& def = fieldDefs_.Add(field->FieldName(), field->DataType(), field->Size(),
                                                field->Required());
                AddChildDefs(*field, def);
            }
    }
    fieldsByNo_.clear();
    std::vector<TStorageKind> kinds;
    for (TField* field : FieldList()) {
        // Only data fields hold a value in the record, and of those not object fields, whose
        // sub-fields hold theirs, nor dataset fields; the others have no number.
        field->fieldNo_ = 0;
        if (field->FieldKind() != fkData || HoldsNoValue(field->DataType())) continue;
        fieldsByNo_.push_back(field);
        field->fieldNo_ = static_cast<int>(fieldsByNo_.size());
        kinds.push_back(StorageOf(field->DataType()));
    }
    uniqueKeys_.reset();
    layout_.Build(std::move(kinds));
    editBuffer_.Reset(layout_);
    RebuildFieldNames();
    structureReady_ = true;
}

void TDataSet::FreeRecords() {
    for (Record* record : natural_) FreeRecord(record);
    natural_.clear();
    byId_.clear();
    uniqueKeys_.reset();
    view_.clear();
    editRecord_ = nullptr;
    insertBefore_ = nullptr;
    cursorOverride_ = nullptr;
    insertPos_ = -1;
    ClearBuffers();
}

RecordBuffer& TDataSet::BeginBulkRecord() {
    editBuffer_.Reset(layout_);
    return editBuffer_;
}

void TDataSet::EndBulkRecord() {
    Record* record = PackRecord(layout_, editBuffer_, nextId_, NaturalKeyAtEnd());
    ++nextId_;
    natural_.push_back(record);
    byId_.emplace(record->id, record);
    TrackUniqueKeys(nullptr, record);
}

std::vector<Record*> TDataSet::DetachRecords() {
    std::vector<Record*> records = std::move(natural_);
    natural_.clear();
    FreeRecords();  // frees nothing: it only forgets the view, the buffer and the identities
    return records;
}

void TDataSet::AttachRecords(std::vector<Record*> records) {
    FreeRecords();
    natural_ = std::move(records);
    for (Record* record : natural_) byId_.emplace(record->id, record);
    FinishBulkLoad();
}

std::uint64_t TDataSet::RecordIdentity() const {
    // A record being inserted is given the next identity when it is posted.
    if (state_ == TDataSetState::dsInsert) return nextId_;
    const Record* record = CurrentRecord();
    return record ? record->id : 0;
}

void TDataSet::FinishBulkLoad() {
    if (!Active()) return;
    RebuildView();
    PlaceOnFirst();
}

// ---------------------------------------------------------------- open and close

void TDataSet::CheckActive() const {
    if (!Active()) DatabaseError(kDataSetClosed);
}

void TDataSet::CheckInactive() const {
    if (Active()) DatabaseError(kDataSetOpen);
}

void TDataSet::CheckCanModify() const {
    if (!CanModify()) DatabaseError(kDataSetReadOnly);
}

void TDataSet::Open() {
    if (Active()) return;
    DoBeforeOpen();
    try {
        InternalInitFieldDefs();
        PrepareStructure();
        InternalOpenData();
        order_ = ResolveOrder(indexName_, indexFieldNames_);
        filterTerm_ = MakeFilterTerm(filter_, filtered_, filterOptions_);
        filterTerm_.FixView();
        rangeActive_ = RangeWanted();
        if (rangeActive_) ComputeRange(range_);
        RebuildView();
    } catch (...) {
        FreeRecords();
        throw;
    }
    UpdateBufferCount();
    PlaceOnFirstSilently();
    SetDataSetState(TDataSetState::dsBrowse);
    DoAfterOpen();
    if (!IsEmpty()) DoAfterScroll();
}

void TDataSet::Close() {
    if (!Active()) return;
    DoBeforeClose();
    SetDataSetState(TDataSetState::dsInactive);
    FreeRecords();
    range_.clear();
    rangeActive_ = false;
    if (fieldsFromDefs_) {
        fields_.clear();
        fieldsByNo_.clear();
        fieldsByName_.clear();
        fieldsFromDefs_ = false;
        structureReady_ = false;
    }
    DoAfterClose();
}

void TDataSet::SetDataSetState(TDataSetState state) {
    if (state == state_) return;
    state_ = state;
    modified_ = false;
    DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info) {
    if (disableCount_ > 0) {
        // A dataset closed meanwhile may come back with new fields: the links rebind them.
        if (event == TDataEvent::deLayoutChange ||
            (event == TDataEvent::deUpdateState && state_ == TDataSetState::dsInactive))
            enableEvent_ = TDataEvent::deLayoutChange;
        return;
    }
    const auto sources = dataSources_;
    for (TDataSource* source : sources)
        if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
            source->DataEvent(event, info);
}

void TDataSet::DisableControls() {
    if (disableCount_ == 0) {
        disableState_ = state_;
        enableEvent_ = TDataEvent::deDataSetChange;
    }
    ++disableCount_;
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ > 0) return;
    if (disableState_ != state_) DataEvent(TDataEvent::deUpdateState);
    if (disableState_ != TDataSetState::dsInactive && state_ != TDataSetState::dsInactive)
        DataEvent(enableEvent_);
}

// ---------------------------------------------------------------- changing records

template <typename Op>
void TDataSet::CheckOperation(Op op, const TDataSetErrorEvent& handler) {
    for (;;) {
        try {
            op();
            return;
        } catch (EDatabaseError& error) {
            TDataAction action = TDataAction::daFail;
            if (handler) handler(this, error, action);
            if (action == TDataAction::daFail) throw;
            if (action == TDataAction::daAbort) throw EAbort(std::string(kOperationAborted));
        }
    }
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode);
    if (IsEditing()) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void TDataSet::UpdateRecord() {
    if (!IsEditing()) DatabaseError(kNotEditing);
    DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::Append() {
    StartInsert(true);
}
void TDataSet::Insert() {
    StartInsert(false);
}

void TDataSet::StartInsert(bool append) {
    CheckBrowseMode();
    CheckCanModify();
    DoBeforeInsert();
    DoBeforeScroll();
    Record* current = CurrentRecord();
    if (append || !current) {
        insertBefore_ = nullptr;
        insertPos_ = static_cast<std::ptrdiff_t>(view_.size());
        const size_t extended = view_.size() + 1;
        bufCount_ = static_cast<int>(std::min<size_t>(static_cast<size_t>(bufSize_), extended));
        bufFirst_ = extended - static_cast<size_t>(bufCount_);
        activeSlot_ = bufCount_ - 1;
    } else {
        // The new record takes the current record's slot; the buffer's last record drops out
        // when the buffer is full.
        insertBefore_ = current;
        insertPos_ = static_cast<std::ptrdiff_t>(bufFirst_) + activeSlot_;
        bufCount_ = std::min(bufCount_ + 1, bufSize_);
    }
    // An appended record stands after the last one: the dataset is at its end.
    bof_ = false;
    eof_ = append;
    InitRecord();
    SetDataSetState(TDataSetState::dsInsert);
    try {
        DoOnNewRecord();
    } catch (...) {
        const Record* back = insertBefore_;
        insertPos_ = -1;
        editSlot_ = -1;
        if (back)
            PlaceRecord(back, false, false);
        else if (!view_.empty())
            FillBuffer(view_.size() - 1, activeSlot_);
        else
            ClearBuffers();
        SetDataSetState(TDataSetState::dsBrowse);
        DataEvent(TDataEvent::deDataSetChange);
        throw;
    }
    modified_ = false;  // values set by OnNewRecord are defaults, not changes
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterInsert();
    DoAfterScroll();
}

void TDataSet::InitRecord() {
    editBuffer_.Reset(layout_);
    editRecord_ = nullptr;
    editSlot_ = activeSlot_;
    // A detail's new record belongs to the master's current record.
    if (rangeActive_)
        for (const RangeTerm& term : range_)
            editBuffer_.Set(term.field, layout_.kinds[term.field], term.value);
}

void TDataSet::Edit() {
    if (IsEditing()) return;
    CheckActive();
    if (IsEmpty()) return Append();
    CheckBrowseMode();
    CheckCanModify();
    DoBeforeEdit();
    editRecord_ = CurrentRecord();
    editBuffer_.Load(layout_, editRecord_);
    editSlot_ = activeSlot_;
    SetDataSetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange, 0);
    DoAfterEdit();
}

void TDataSet::Post() {
    CheckActive();
    UpdateRecord();
    DataEvent(TDataEvent::deCheckBrowseMode);
    DoBeforePost();
    CheckOperation([this] { InternalPost(); }, OnPostError);
    SetDataSetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterPost();
}

void TDataSet::InternalPost() {
    for (TField* field : fieldsByNo_)
        if (field->Required() && editBuffer_.IsNull(static_cast<size_t>(field->FieldNo() - 1)))
            DatabaseError(kFieldRequired, {field->DisplayName()});
    CheckUniqueKeys(editRecord_);
    Record* stored;
    if (state_ == TDataSetState::dsInsert) {
        const std::int64_t natural =
            order_.empty() && insertBefore_ ? NaturalKeyBefore(insertBefore_) : NaturalKeyAtEnd();
        stored = PackRecord(layout_, editBuffer_, nextId_, natural);
        try {
            TrackUniqueKeys(nullptr, stored);
        } catch (...) {
            FreeRecord(stored);
            throw;
        }
        ++nextId_;
        natural_.insert(natural_.begin() + static_cast<std::ptrdiff_t>(NaturalInsertPosition(natural)),
                        stored);
        byId_.emplace(stored->id, stored);
        insertPos_ = -1;
        InsertIntoView(stored);
    } else {
        Record* old = editRecord_;
        stored = PackRecord(layout_, editBuffer_, old->id, old->natural);
        try {
            TrackUniqueKeys(old, stored);
        } catch (...) {
            FreeRecord(stored);
            throw;
        }
        RemoveFromView(old);
        natural_[NaturalPosition(old)] = stored;
        byId_[stored->id] = stored;
        FreeRecord(old);
        editRecord_ = nullptr;
        InsertIntoView(stored);
    }
    insertBefore_ = nullptr;
    editSlot_ = -1;
    PlaceRecord(stored, false, false);
}

void TDataSet::Cancel() {
    if (!IsEditing()) return;
    DataEvent(TDataEvent::deCheckBrowseMode);
    DoBeforeCancel();
    const Record* target = state_ == TDataSetState::dsInsert ? insertBefore_ : editRecord_;
    const bool appended = state_ == TDataSetState::dsInsert && !insertBefore_;
    insertPos_ = -1;
    editRecord_ = nullptr;
    insertBefore_ = nullptr;
    editSlot_ = -1;
    if (appended) {
        if (view_.empty())
            ClearBuffers();
        else
            FillBuffer(view_.size() - 1, activeSlot_);
    } else {
        PlaceRecord(target, false, false);
    }
    SetDataSetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterCancel();
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::dsInsert) return Cancel();
    if (IsEmpty()) DatabaseError(kDataSetEmpty);
    CheckCanModify();
    DataEvent(TDataEvent::deCheckBrowseMode);
    DoBeforeDelete();
    DoBeforeScroll();
    CheckOperation([this] { InternalDelete(); }, OnDeleteError);
    SetDataSetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterDelete();
    DoAfterScroll();
}

void TDataSet::InternalDelete() {
    Record* record = state_ == TDataSetState::dsEdit ? editRecord_ : CurrentRecord();
    bool found = false;
    const size_t pos = ViewPosition(record, &found);
    if (found) view_.erase(view_.begin() + static_cast<std::ptrdiff_t>(pos));
    natural_.erase(natural_.begin() + static_cast<std::ptrdiff_t>(NaturalPosition(record)));
    byId_.erase(record->id);
    TrackUniqueKeys(record, nullptr);
    if (cursorOverride_ == record) cursorOverride_ = nullptr;
    FreeRecord(record);
    editRecord_ = nullptr;
    editSlot_ = -1;
    // The record after the deleted one takes its place; after the last, the new last one.
    if (view_.empty())
        ClearBuffers();
    else
        FillBuffer(std::min(pos, view_.size() - 1), activeSlot_);
}

// ---------------------------------------------------------------- field access

TValueView TDataSet::ReadField(const TField& field) const {
    if (validatingField_ == &field) return *validatingValue_;
    if (!Active() || bufCount_ == 0) return {};
    if (field.FieldKind() == fkLookup) return ReadLookupField(field);
    if (field.FieldNo() <= 0) return {};  // an object field holds no value of its own
    const size_t no = static_cast<size_t>(field.FieldNo() - 1);
    if (IsEditing() && activeSlot_ == editSlot_) return editBuffer_.Read(no);
    if (activeSlot_ < 0 || activeSlot_ >= bufCount_) return {};
    const Record* record = SlotRecord(activeSlot_);
    return record ? ReadRecord(layout_, record, no) : TValueView{};
}

TValueView TDataSet::ReadOldField(const TField& field) const {
    if (state_ == TDataSetState::dsEdit && editRecord_)
        return ReadRecord(layout_, editRecord_, static_cast<size_t>(field.FieldNo() - 1));
    return ReadField(field);
}

void TDataSet::CheckFieldWritable(const TField& field) const {
    if (!IsEditing()) DatabaseError(kNotEditing);
    if (field.ReadOnly() || field.FieldKind() != fkData) DatabaseError(kFieldReadOnly, {field.DisplayName()});
}

size_t TDataSet::StoredNo(const TField& field) {
    if (field.FieldNo() <= 0) DatabaseError(kNotDataField, {field.DisplayName()});
    return static_cast<size_t>(field.FieldNo() - 1);
}

TValueView TDataSet::ReadLookupField(const TField& field) const {
    const TDataSet* lookup = field.LookupDataSet();
    if (!lookup || !lookup->Active()) return {};
    std::vector<TValueView> keys;
    for (const TField* key : GetFieldList(field.KeyFields())) {
        keys.push_back(ReadField(*key));
        if (keys.back().IsNull()) return {};
    }
    const TValueView value = lookup->FindLookupValue(field.LookupKeyFields(), keys, field.LookupResultField());
    // A value of another kind than the field's cannot be read through it.
    return value.IsNull() || StorageOf(field.DataType()) == StorageOf(lookup->FieldByName(field.LookupResultField()).DataType())
               ? value
               : TValueView{};
}

TValueView TDataSet::FindLookupValue(std::string_view keyFields, const std::vector<TValueView>& keys,
                                     std::string_view result) const {
    const std::vector<TField*> fields = GetFieldList(keyFields);
    for (const TField* field : fields) StoredNo(*field);
    if (fields.size() != keys.size())
        DatabaseError(kKeyValueCount, {std::to_string(keys.size()), std::to_string(fields.size())});
    const TField& resultField = FieldByName(result);
    if (resultField.FieldKind() != fkData) return {};
    for (const Record* record : view_)
        if (MatchesLocate(record, fields, keys, 0))
            return ReadRecord(layout_, record, static_cast<size_t>(resultField.FieldNo() - 1));
    return {};
}

void TDataSet::WriteField(TField& field, const TValueView& value) {
    CheckFieldWritable(field);
    if (field.OnValidate) {
        // While the handler runs, the field reads the value it is about to take.
        validatingField_ = &field;
        validatingValue_ = &value;
        try {
            field.OnValidate(&field);
        } catch (...) {
            validatingField_ = nullptr;
            validatingValue_ = nullptr;
            throw;
        }
        validatingField_ = nullptr;
        validatingValue_ = nullptr;
    }
    const size_t no = static_cast<size_t>(field.FieldNo() - 1);
    editBuffer_.Set(no, layout_.kinds[no], value);
    modified_ = true;
    if (field.OnChange) field.OnChange(&field);
    DataEvent(TDataEvent::deFieldChange, reinterpret_cast<std::intptr_t>(&field));
}

}  // namespace tv
