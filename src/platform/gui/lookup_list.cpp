#include "platform/gui/lookup_list.h"

#include <algorithm>
#include <limits>

#include "platform/data/db_error.h"
#include "platform/gui/timer_clock.h"
#include "platform/rtl/codepage.h"

namespace tv {

namespace {

// When the last character of a search was typed, in any lookup control.
std::int64_t& LastTypedMs() {
    static std::int64_t last = std::numeric_limits<std::int64_t>::min() / 2;
    return last;
}

// Values that cannot be compared are different.
bool SameKey(const Variant& a, const Variant& b) {
    try {
        return Variant::Compare(a, b) == TVarCompare::Equal;
    } catch (...) {
        return false;
    }
}

// The list dataset is the data source's dataset or one of its masters.
bool IsLinkedTo(const TDataSet* list, const TDataSource* source) {
    for (int depth = 0; source && depth < 64; ++depth) {
        const TDataSet* dataSet = source->DataSet();
        if (!dataSet) return false;
        if (dataSet == list) return true;
        source = dataSet->MasterSource();
    }
    return false;
}

bool IsTextField(const TField* field) {
    switch (field->DataType()) {
        case TFieldType::ftString:
        case TFieldType::ftFixedChar:
        case TFieldType::ftMemo:
        case TFieldType::ftWideMemo:
            return true;
        default:
            return false;
    }
}

size_t CharacterCount(std::string_view utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

// Follows the list source: binds the list fields when its dataset opens or its fields change, and
// tells the client when its rows change or scroll.
class TLookupList::TListSourceLink : public TDataLink {
public:
    explicit TListSourceLink(TLookupList& owner) : fOwner(owner) { SetVisualControl(true); }

protected:
    void ActiveChanged() override { fOwner.BindListFields(); }
    void LayoutChanged() override { fOwner.BindListFields(); }
    void DataSetChanged() override {
        if (!fOwner.fDestroying) fOwner.fClient.ListDataChanged();
    }

private:
    TLookupList& fOwner;
};

// Follows the data source: shows the key again when the record, the data field or, in lookup
// mode, the master field changes.
class TLookupList::TDataSourceLink : public TFieldDataLink {
public:
    TDataSourceLink(TComponent& control, TLookupList& owner) : TFieldDataLink(&control), fOwner(owner) {}

protected:
    void RecordChanged(TField* field) override {
        if (field && field == fOwner.fMasterField) field = nullptr;
        TFieldDataLink::RecordChanged(field);
    }

private:
    TLookupList& fOwner;
};

TLookupList::TLookupList(TComponent& control, ILookupListClient& client)
    : fControl(control),
      fClient(client),
      fDataLink(std::make_unique<TDataSourceLink>(control, *this)),
      fListLink(std::make_unique<TListSourceLink>(*this)) {
    fDataLink->OnDataChange = [this] { RefreshKeyValue(); };
    fDataLink->OnActiveChange = [this] {
        if (fDataLink->Active()) CheckNotCircular();
        fClient.DataActiveChanged();
    };
}

TLookupList::~TLookupList() {
    fDestroying = true;
    fDataLink->OnDataChange = nullptr;
    fDataLink->OnActiveChange = nullptr;
    fListLink->SetDataSource(nullptr);
    fDataLink->SetDataSource(nullptr);
}


// ---------------------------------------------------------------- the data side

void TLookupList::SetDataSource(TDataSource* source) {
    if (source && fListLink->Active() && IsLinkedTo(fListLink->DataSet(), source))
        ControlDataError(&fControl, kCircularDataLink);
    fDataLink->SetDataSource(source);
}

void TLookupList::SetDataField(std::string name) {
    fDataLink->SetFieldName(std::move(name));
}

void TLookupList::RefreshKeyValue() {
    if (Field() != fBoundField || !Field()) BindDataField();
    SetKeyValue(fMasterField ? fMasterField->Value() : Variant::Null());
}

void TLookupList::BindDataField() {
    TField* field = Field();
    fBoundField = field;
    fMasterField = nullptr;
    if (field && field->Lookup()) {
        TField* master = field->DataSet()->FindField(field->KeyFields());
        if (!master) ControlDataError(&fControl, DbMessage(kFieldNotFound, {field->KeyFields()}));
        fMasterField = master;
        SetLookupMode(true);
    } else {
        SetLookupMode(false);
        fMasterField = field;
    }
}

void TLookupList::SetLookupMode(bool on) {
    if (on) {
        fLookupMode = true;
        fKeyFieldName = fBoundField->LookupKeyFields();
        fLookupSource.SetDataSet(fBoundField->LookupDataSet());
        if (fListLink->DataSource() == &fLookupSource)
            BindListFields();
        else
            fListLink->SetDataSource(&fLookupSource);
    } else if (fLookupMode) {
        fLookupMode = false;
        fListLink->SetDataSource(nullptr);
        fLookupSource.SetDataSet(nullptr);
        fKeyFieldName.clear();
    }
}

void TLookupList::CheckNotCircular() const {
    if (fListLink->Active() && IsLinkedTo(fListLink->DataSet(), fDataLink->DataSource()))
        ControlDataError(&fControl, kCircularDataLink);
}

// ---------------------------------------------------------------- the list side

TDataSource* TLookupList::ListSource() const {
    return fListLink->DataSource();
}

TDataSet* TLookupList::ListDataSet() const {
    return fListLink->Active() ? fListLink->DataSet() : nullptr;
}

void TLookupList::SetListSource(TDataSource* source) {
    if (source && source->DataSet() && IsLinkedTo(source->DataSet(), fDataLink->DataSource()))
        ControlDataError(&fControl, kCircularDataLink);
    fListLink->SetDataSource(source);
}

void TLookupList::SetKeyField(std::string name) {
    if (name == fKeyFieldName) return;
    fKeyFieldName = std::move(name);
    BindListFields();
}

void TLookupList::SetListField(std::string names) {
    if (names == fListFieldName) return;
    fListFieldName = std::move(names);
    BindListFields();
}

void TLookupList::SetListFieldIndex(int index) {
    if (index == fListFieldIndex) return;
    fListFieldIndex = index;
    BindListFields();
}

void TLookupList::BindListFields() {
    fListFields.clear();
    fShownField = nullptr;
    fListKeyField = nullptr;
    fListActive = false;
    if (fListLink->Active() && !fKeyFieldName.empty()) {
        CheckNotCircular();
        const TDataSet* dataSet = fListLink->DataSet();
        auto find = [&](std::string_view name) {
            TField* field = dataSet->FindField(name);
            if (!field) ControlDataError(&fControl, DbMessage(kFieldNotFound, {name}));
            return field;
        };
        TField* key = find(fKeyFieldName);
        std::vector<TField*> fields;
        std::string_view names = fListFieldName;
        for (size_t start = 0; start <= names.size();) {
            size_t end = names.find(';', start);
            if (end == std::string_view::npos) end = names.size();
            if (end > start) fields.push_back(find(names.substr(start, end - start)));
            start = end + 1;
        }
        TField* shown = nullptr;
        if (fLookupMode && fBoundField) {
            // The lookup field's result is shown, and listed first when the list fields lack it.
            shown = find(fBoundField->LookupResultField());
            if (std::find(fields.begin(), fields.end(), shown) == fields.end()) fields.insert(fields.begin(), shown);
        }
        if (fields.empty()) fields.push_back(key);
        fListKeyField = key;
        fListFields = std::move(fields);
        const bool inRange = fListFieldIndex >= 0 && fListFieldIndex < static_cast<int>(fListFields.size());
        fShownField = shown ? shown : fListFields[inRange ? static_cast<size_t>(fListFieldIndex) : 0];
        fListActive = true;
    }
    if (fDestroying) return;
    fClient.KeyValueChanged();
    fClient.ListDataChanged();
}

// ---------------------------------------------------------------- the key

void TLookupList::SetKeyValue(const Variant& value) {
    if (SameKey(fKeyValue, value) && fKeyValue.IsNull() == value.IsNull()) return;
    fKeyValue = value;
    fClient.KeyValueChanged();
}

bool TLookupList::CanEditValue() const {
    if (!fListActive || ReadOnly()) return false;
    if (!DataSource()) return true;
    return fMasterField && fMasterField->CanModify();
}

bool TLookupList::FindKeyRecord() {
    TDataSet* list = ListDataSet();
    if (!fListActive || !list || fKeyValue.IsNull() || fKeyValue.IsEmpty()) return false;
    try {
        return list->Locate(fListKeyField->FieldName(), fKeyValue);
    } catch (...) {
        return false;
    }
}

void TLookupList::ChooseKeyValue(const Variant& key) {
    if (!fMasterField) {
        SetKeyValue(key);
    } else if (fLookupMode ? fMasterField->CanModify() && fDataLink->TDataLink::Edit() : fDataLink->Edit()) {
        // The field's change comes back as the new KeyValue.
        fMasterField->SetValue(key);
    }
    fClient.KeyChosen();
}

// ---------------------------------------------------------------- the rows

int TLookupList::RowCount() const {
    return fListLink->BufferCount();
}

void TLookupList::SetRowCount(int rows) {
    fListLink->SetBufferCount(std::max(1, rows));
}

int TLookupList::RecordCount() const {
    return fListActive ? fListLink->RecordCount() : 0;
}

int TLookupList::CurrentRow() const {
    return fListActive ? fListLink->ActiveRecord() : 0;
}

template <class F>
auto TLookupList::ReadRow(int row, F read) const {
    const int saved = fListLink->ActiveRecord();
    fListLink->SetActiveRecord(row);
    try {
        auto result = read();
        fListLink->SetActiveRecord(saved);
        return result;
    } catch (...) {
        fListLink->SetActiveRecord(saved);
        throw;
    }
}

std::string TLookupList::RowText(int row, const TField* field) const {
    if (!field || row < 0 || row >= RecordCount()) return {};
    return ReadRow(row, [field] { return field->DisplayText(); });
}

Variant TLookupList::RowKey(int row) const {
    if (row < 0 || row >= RecordCount()) return Variant::Null();
    return ReadRow(row, [this] { return fListKeyField->Value(); });
}

int TLookupList::KeyRow() const {
    if (fKeyValue.IsNull() || fKeyValue.IsEmpty()) return -1;
    for (int row = 0; row < RecordCount(); ++row)
        if (SameKey(RowKey(row), fKeyValue)) return row;
    return -1;
}

int TLookupList::MoveBy(int distance) {
    return fListActive ? fListLink->MoveBy(distance) : 0;
}

void TLookupList::First() {
    if (TDataSet* list = ListDataSet(); list && fListActive) list->First();
}

void TLookupList::Last() {
    if (TDataSet* list = ListDataSet(); list && fListActive) list->Last();
}

// ---------------------------------------------------------------- typing

bool TLookupList::TypeAheadSearch(char16_t ch) {
    if (!fListActive || !fShownField || !IsTextField(fShownField)) return false;
    if (ch == 8 || ch == 27) {
        fSearchText.clear();
        return true;
    }
    if (ch < 32 || !CanEditValue()) return false;
    const auto now = static_cast<std::int64_t>(TimerClock().Now());
    if (now - LastTypedMs() > kTypeAheadPauseMs || now < LastTypedMs()) fSearchText.clear();
    LastTypedMs() = now;
    if (CharacterCount(fSearchText) >= kTypeAheadMaxLength) return true;
    std::u16string one(1, ch);
    const std::string candidate = fSearchText + Utf16ToUtf8(one);
    bool found;
    try {
        found = ListDataSet()->Locate(fShownField->FieldName(), Variant::FromUtf8(candidate),
                                      loCaseInsensitive | loPartialKey);
    } catch (...) {
        // A text the list cannot search for is still typed.
        fSearchText = candidate;
        return true;
    }
    if (found) {
        fSearchText = candidate;
        ChooseKeyValue(fListKeyField->Value());
    }
    return true;
}

}  // namespace tv
