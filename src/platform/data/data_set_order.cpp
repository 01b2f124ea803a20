// What decides which records TDataSet shows and in which order: indexes, the filter, the
// master range; and the searches over that order (Locate, FindKey) with the unique-key check.

#include "platform/data/data_set.h"
#include "platform/data/data_source.h"
#include "platform/data/field_text.h"
#include "platform/data/key_compare.h"
#include "platform/data/master_link.h"

#include <algorithm>

namespace tv {

using namespace data_detail;

namespace {

constexpr std::int64_t kNaturalStep = std::int64_t{1} << 20;

// Equality as filters and look-ups see it: an empty text also matches a string with no value.
bool SameValue(const TValueView& stored, const TValueView& wanted, bool caseInsensitive) {
    if (wanted.kind == TValueView::Kind::Text && wanted.text.empty() && stored.IsNull()) return true;
    if (stored.kind == TValueView::Kind::Text && stored.text.empty() && wanted.IsNull()) return true;
    return CompareFieldValues(stored, wanted, caseInsensitive) == 0;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Parses field='value' (inner quotes doubled); false when the text has another form.
bool ParseFilter(std::string_view filter, std::string_view& name, std::string& value) {
    const size_t eq = filter.find('=');
    if (eq == std::string_view::npos) return false;
    name = Trim(filter.substr(0, eq));
    std::string_view rest = Trim(filter.substr(eq + 1));
    if (name.empty() || rest.size() < 2 || rest.front() != '\'') return false;
    value.clear();
    size_t i = 1;
    for (;;) {
        if (i >= rest.size()) return false;
        if (rest[i] == '\'') {
            if (i + 1 < rest.size() && rest[i + 1] == '\'') {
                value += '\'';
                i += 2;
                continue;
            }
            return i + 1 == rest.size();
        }
        value += rest[i++];
    }
}

}  // namespace

// ---------------------------------------------------------------- order

int TDataSet::CompareRecords(const Record* a, const Record* b) const {
    for (const OrderKey& key : order_) {
        int c = CompareFieldValues(ReadRecord(layout_, a, key.field), ReadRecord(layout_, b, key.field),
                                   key.caseInsensitive);
        if (key.descending) c = -c;
        if (c != 0) return c;
    }
    return a->natural < b->natural ? -1 : (a->natural > b->natural ? 1 : 0);
}

bool TDataSet::InView(const Record* record) const {
    if (filterTerm_.active && !SameValue(ReadRecord(layout_, record, filterTerm_.field), filterTerm_.value,
                                         filterTerm_.caseInsensitive))
        return false;
    if (rangeActive_)
        for (const RangeTerm& term : range_)
            if (!SameValue(ReadRecord(layout_, record, term.field), term.value, term.caseInsensitive))
                return false;
    return true;
}

size_t TDataSet::ViewPosition(const Record* record, bool* found) const {
    auto it = std::lower_bound(view_.begin(), view_.end(), record,
                               [this](const Record* a, const Record* b) { return CompareRecords(a, b) < 0; });
    *found = it != view_.end() && *it == record;
    return static_cast<size_t>(it - view_.begin());
}

void TDataSet::RebuildView() {
    view_.clear();
    view_.reserve(natural_.size());
    for (Record* record : natural_)
        if (InView(record)) view_.push_back(record);
    if (!order_.empty())
        std::sort(view_.begin(), view_.end(),
                  [this](const Record* a, const Record* b) { return CompareRecords(a, b) < 0; });
}

void TDataSet::InsertIntoView(Record* record) {
    if (!InView(record)) return;
    if (view_.empty() || CompareRecords(view_.back(), record) < 0) return view_.push_back(record);
    bool found = false;
    const size_t pos = ViewPosition(record, &found);
    view_.insert(view_.begin() + static_cast<std::ptrdiff_t>(pos), record);
}

void TDataSet::RemoveFromView(const Record* record) {
    bool found = false;
    const size_t pos = ViewPosition(record, &found);
    if (found) view_.erase(view_.begin() + static_cast<std::ptrdiff_t>(pos));
}

std::vector<TDataSet::OrderKey> TDataSet::ParseOrder(std::string_view fields, TIndexOptions options) const {
    std::vector<OrderKey> keys;
    for (TField* field : GetFieldList(fields))
        keys.push_back({StoredNo(*field), (options & ixDescending) != 0,
                        (options & ixCaseInsensitive) != 0});
    return keys;
}

const TIndexDef* TDataSet::FindIndexDef(std::string_view name) const {
    for (const TIndexDef& def : indexDefs_)
        if (SameFieldText(def.Name, name)) return &def;
    return nullptr;
}

std::vector<TDataSet::OrderKey> TDataSet::ResolveOrder(std::string_view indexName,
                                                       std::string_view fieldNames) const {
    if (!indexName.empty()) {
        const TIndexDef* def = FindIndexDef(indexName);
        if (!def) DatabaseError(kIndexNotFound, {indexName});
        return ParseOrder(def->Fields, def->Options);
    }
    return ParseOrder(fieldNames, 0);
}

void TDataSet::AddIndex(std::string name, std::string fields, TIndexOptions options) {
    if (FindIndexDef(name)) DatabaseError(kDuplicateIndexName, {name});
    if (Active()) ParseOrder(fields, options);  // refuses unknown fields at once
    indexDefs_.push_back({std::move(name), std::move(fields), options});
}

void TDataSet::SetIndexFieldNames(std::string fields) {
    if (Active()) ChangeOrder(ResolveOrder({}, fields));
    indexFieldNames_ = std::move(fields);
    indexName_.clear();
}

void TDataSet::SetIndexName(std::string name) {
    if (Active()) ChangeOrder(ResolveOrder(name, {}));
    indexName_ = std::move(name);
    indexFieldNames_.clear();
}

void TDataSet::ChangeOrder(std::vector<OrderKey> order) {
    CheckBrowseMode();
    const Record* current = CurrentRecord();
    order_ = std::move(order);
    // A detail's key fields are the leading fields of its index.
    if (rangeActive_) ComputeRange(range_);
    RebuildView();
    PlaceRecord(current, false, false);
    DataEvent(TDataEvent::deDataSetChange);
}

// ---------------------------------------------------------------- filter

TDataSet::FilterTerm TDataSet::MakeFilterTerm(std::string_view filter, bool filtered,
                                              TFilterOptions options) const {
    FilterTerm term;
    if (!filtered || Trim(filter).empty()) return term;
    std::string_view name;
    std::string literal;
    if (!ParseFilter(filter, name, literal)) DatabaseError(kFilterSyntax, {filter});
    const TField& field = FieldByName(name);
    term.field = StoredNo(field);
    term.caseInsensitive = (options & foCaseInsensitive) != 0;
    term.active = true;
    if (StorageOf(field.DataType()) == TStorageKind::Text) {
        term.text = std::move(literal);
        term.value = TValueView::FromText({});
    } else {
        term.value = TextToStorage(field, literal, term.text);
    }
    return term;
}

void TDataSet::FilterTerm::FixView() {
    if (value.kind == TValueView::Kind::Text) value.text = text;
}

void TDataSet::ChangeFilter(std::string_view filter, bool filtered, TFilterOptions options) {
    FilterTerm term = MakeFilterTerm(filter, filtered, options);
    CheckBrowseMode();
    filterTerm_ = std::move(term);
    filterTerm_.FixView();
    RebuildView();
    First();
}

void TDataSet::SetFilter(std::string filter) {
    if (Active()) ChangeFilter(filter, filtered_, filterOptions_);
    filter_ = std::move(filter);
}

void TDataSet::SetFiltered(bool filtered) {
    if (filtered == filtered_) return;
    if (Active()) ChangeFilter(filter_, filtered, filterOptions_);
    filtered_ = filtered;
}

void TDataSet::SetFilterOptions(TFilterOptions options) {
    if (options == filterOptions_) return;
    if (Active()) ChangeFilter(filter_, filtered_, options);
    filterOptions_ = options;
}

// ---------------------------------------------------------------- master/detail

void TDataSet::SetMasterSource(TDataSource* source) {
    if (source == masterSource_) return;
    if (source && source->DataSet() == this) DatabaseError(kCircularLink);
    masterSource_ = source;
    if (!masterLink_) masterLink_ = std::make_unique<MasterLink>(*this);
    masterLink_->SetDataSource(source);
    MasterChanged();
}

void TDataSet::SetMasterFields(std::string fields) {
    masterFields_ = std::move(fields);
    MasterChanged();
}

bool TDataSet::RangeWanted() const {
    return masterLink_ && masterLink_->Active() && !Trim(masterFields_).empty();
}

void TDataSet::MasterChanged() {
    if (!Active()) return;
    std::vector<RangeTerm> range;
    const bool wanted = RangeWanted();
    if (wanted) ComputeRange(range);
    if (wanted == rangeActive_ && (!wanted || SameRange(range, range_))) return;
    CheckBrowseMode();
    range_ = std::move(range);
    rangeActive_ = wanted;
    RebuildView();
    First();
}

void TDataSet::ComputeRange(std::vector<RangeTerm>& range) const {
    range.clear();
    const TDataSet* master = masterLink_->DataSet();
    const std::vector<TField*> masterFields = master->GetFieldList(masterFields_);
    range.reserve(masterFields.size());
    for (size_t i = 0; i < masterFields.size(); ++i) {
        const TField* detailField;
        bool caseInsensitive = false;
        if (i < order_.size()) {
            detailField = fieldsByNo_[order_[i].field];
            caseInsensitive = order_[i].caseInsensitive;
        } else {
            detailField = &FieldByName(masterFields[i]->FieldName());
        }
        RangeTerm term;
        term.field = StoredNo(*detailField);
        term.caseInsensitive = caseInsensitive;
        term.value = VariantToStorage(*detailField, masterFields[i]->Value(), term.text);
        range.push_back(std::move(term));
    }
    for (RangeTerm& term : range)
        if (term.value.kind == TValueView::Kind::Text) term.value.text = term.text;
}

bool TDataSet::SameRange(const std::vector<RangeTerm>& a, const std::vector<RangeTerm>& b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].field != b[i].field || a[i].value.IsNull() != b[i].value.IsNull() ||
            CompareFieldValues(a[i].value, b[i].value, false) != 0)
            return false;
    return true;
}

// ---------------------------------------------------------------- keys and searches

void TDataSet::CheckUniqueKeys(const Record* self) {
    std::vector<UniqueKeyFields> indexes;
    for (const TIndexDef& def : indexDefs_) {
        if (!(def.Options & ixUnique)) continue;
        UniqueKeyFields keys;
        for (const OrderKey& key : ParseOrder(def.Fields, def.Options))
            keys.push_back({key.field, key.caseInsensitive});
        indexes.push_back(std::move(keys));
    }
    if (indexes.empty()) {
        uniqueKeys_.reset();
        return;
    }
    // The definitions may have changed since the orders were built (IndexDefs is open to callers).
    if (!uniqueKeys_ || !uniqueKeys_->Describes(indexes))
        uniqueKeys_ = std::make_unique<UniqueKeys>(layout_, std::move(indexes), natural_);
    if (uniqueKeys_->Clashes(editBuffer_, self)) DatabaseError(kKeyViolation);
}

void TDataSet::TrackUniqueKeys(const Record* removed, const Record* added) {
    if (!uniqueKeys_) return;
    if (removed) uniqueKeys_->Remove(removed);
    if (!added) return;
    try {
        uniqueKeys_->Add(added);
    } catch (...) {
        uniqueKeys_.reset();  // built again from the records at the next check
        throw;
    }
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options) {
    if (!keyValues.IsArray()) return Locate(keyFields, std::vector<Variant>{keyValues}, options);
    std::vector<Variant> values;
    for (std::int32_t i = keyValues.LowBound(); i <= keyValues.HighBound(); ++i)
        values.push_back(keyValues.Element(i));
    return Locate(keyFields, values, options);
}

bool TDataSet::Locate(std::string_view keyFields, const std::vector<Variant>& keyValues,
                      TLocateOptions options) {
    CheckBrowseMode();
    const std::vector<TField*> fields = GetFieldList(keyFields);
    for (const TField* field : fields) StoredNo(*field);
    if (fields.size() != keyValues.size())
        DatabaseError(kKeyValueCount, {std::to_string(keyValues.size()), std::to_string(fields.size())});
    std::vector<std::string> texts(fields.size());
    std::vector<TValueView> wanted(fields.size());
    for (size_t i = 0; i < fields.size(); ++i)
        wanted[i] = VariantToStorage(*fields[i], keyValues[i], texts[i]);
    for (size_t i = 0; i < fields.size(); ++i)
        if (wanted[i].kind == TValueView::Kind::Text) wanted[i].text = texts[i];
    DoBeforeScroll();
    for (size_t pos = 0; pos < view_.size(); ++pos) {
        if (!MatchesLocate(view_[pos], fields, wanted, options)) continue;
        MoveCursorTo(pos, true);
        DoAfterScroll();
        return true;
    }
    return false;
}

bool TDataSet::MatchesLocate(const Record* record, const std::vector<TField*>& fields,
                             const std::vector<TValueView>& values, TLocateOptions options) const {
    const bool caseInsensitive = (options & loCaseInsensitive) != 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const TValueView stored = ReadRecord(layout_, record, static_cast<size_t>(fields[i]->FieldNo() - 1));
        const TValueView& want = values[i];
        if ((options & loPartialKey) && want.kind == TValueView::Kind::Text &&
            stored.kind == TValueView::Kind::Text) {
            if (!StartsWithFieldText(stored.text, want.text, caseInsensitive)) return false;
        } else if (!SameValue(stored, want, caseInsensitive)) {
            return false;
        }
    }
    return true;
}

size_t TDataSet::KeyLowerBound(const std::vector<Variant>& keyValues, std::vector<std::string>& texts,
                               std::vector<TValueView>& values) const {
    if (order_.empty()) DatabaseError(kNoActiveIndex);
    if (keyValues.size() > order_.size())
        DatabaseError(kKeyValueCount, {std::to_string(keyValues.size()), std::to_string(order_.size())});
    texts.assign(keyValues.size(), {});
    values.assign(keyValues.size(), {});
    for (size_t i = 0; i < keyValues.size(); ++i)
        values[i] = VariantToStorage(*fieldsByNo_[order_[i].field], keyValues[i], texts[i]);
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i].kind == TValueView::Kind::Text) values[i].text = texts[i];
    auto it = std::lower_bound(view_.begin(), view_.end(), 0, [&](const Record* record, int) {
        return CompareKeyPrefix(record, values) < 0;
    });
    return static_cast<size_t>(it - view_.begin());
}

int TDataSet::CompareKeyPrefix(const Record* record, const std::vector<TValueView>& values) const {
    for (size_t i = 0; i < values.size(); ++i) {
        int c = CompareFieldValues(ReadRecord(layout_, record, order_[i].field), values[i],
                                   order_[i].caseInsensitive);
        if (order_[i].descending) c = -c;
        if (c != 0) return c;
    }
    return 0;
}

bool TDataSet::FindKey(const std::vector<Variant>& keyValues) {
    CheckBrowseMode();
    std::vector<std::string> texts;
    std::vector<TValueView> values;
    const size_t pos = KeyLowerBound(keyValues, texts, values);
    DoBeforeScroll();
    if (pos >= view_.size() || CompareKeyPrefix(view_[pos], values) != 0) return false;
    MoveCursorTo(pos, true);
    DoAfterScroll();
    return true;
}

void TDataSet::FindNearest(const std::vector<Variant>& keyValues) {
    CheckBrowseMode();
    std::vector<std::string> texts;
    std::vector<TValueView> values;
    const size_t pos = KeyLowerBound(keyValues, texts, values);
    if (view_.empty()) return;
    DoBeforeScroll();
    MoveCursorTo(std::min(pos, view_.size() - 1), true);
    DoAfterScroll();
}

// ---------------------------------------------------------------- natural order

std::int64_t TDataSet::NaturalKeyAtEnd() const {
    return natural_.empty() ? 0 : natural_.back()->natural + kNaturalStep;
}

size_t TDataSet::NaturalInsertPosition(std::int64_t natural) const {
    auto it = std::lower_bound(natural_.begin(), natural_.end(), natural,
                               [](const Record* r, std::int64_t key) { return r->natural < key; });
    return static_cast<size_t>(it - natural_.begin());
}

size_t TDataSet::NaturalPosition(const Record* record) const {
    return NaturalInsertPosition(record->natural);
}

std::int64_t TDataSet::NaturalKeyBefore(const Record* next) {
    size_t i = NaturalPosition(next);
    std::int64_t before = i > 0 ? natural_[i - 1]->natural : next->natural - 2 * kNaturalStep;
    if (next->natural - before < 2) {
        RenumberNatural();
        i = NaturalPosition(next);
        before = i > 0 ? natural_[i - 1]->natural : next->natural - 2 * kNaturalStep;
    }
    return before + (next->natural - before) / 2;
}

void TDataSet::RenumberNatural() {
    std::int64_t key = 0;
    for (Record* record : natural_) {
        record->natural = key;
        key += kNaturalStep;
    }
}

}  // namespace tv
