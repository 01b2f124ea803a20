#include "structures.h"

#include <algorithm>

#include "catalogue.h"

namespace tv::kit {

Record::Record(const TableDef& t)
    : table(&t),
      values(static_cast<size_t>(t.maxField) + 1),
      set(static_cast<size_t>(t.maxField) + 1, 0),
      sort(DefaultSort(t)) {}

void Record::ClearValues() {
    std::fill(values.begin(), values.end(), Value{});
    std::fill(set.begin(), set.end(), 0);
    loaded = false;
}

bool Record::AnySet() const {
    return std::any_of(set.begin(), set.end(), [](uint8_t s) { return s != 0; });
}

uintptr_t Handles::Next() {
    next_ += 16;
    return next_;
}

AdkHandle Handles::Adopt(std::unique_ptr<Record> record) {
    uintptr_t id = Next();
    record->handle = id;
    entries_[id] = Entry{record.get(), nullptr, true};
    records_[id] = std::move(record);
    return reinterpret_cast<AdkHandle>(id);
}

AdkHandle Handles::Adopt(std::unique_ptr<RowsBlock> rows) {
    uintptr_t id = Next();
    rows->handle = id;
    entries_[id] = Entry{nullptr, rows.get(), true};
    blocks_[id] = std::move(rows);
    return reinterpret_cast<AdkHandle>(id);
}

AdkHandle Handles::Borrow(Record& row) {
    if (!row.handle) {
        row.handle = Next();
        entries_[row.handle] = Entry{&row, nullptr, false};
    }
    return reinterpret_cast<AdkHandle>(row.handle);
}

Record* Handles::FindRecord(AdkHandle h) const {
    auto it = entries_.find(reinterpret_cast<uintptr_t>(h));
    return it == entries_.end() ? nullptr : it->second.record;
}

RowsBlock* Handles::FindRows(AdkHandle h) const {
    auto it = entries_.find(reinterpret_cast<uintptr_t>(h));
    return it == entries_.end() ? nullptr : it->second.rows;
}

bool Handles::Owns(AdkHandle h) const {
    auto it = entries_.find(reinterpret_cast<uintptr_t>(h));
    return it != entries_.end() && it->second.owned;
}

void Handles::ForgetRows(const std::vector<std::unique_ptr<Record>>& rows) {
    for (const auto& row : rows) {
        if (row->handle) entries_.erase(row->handle);
        row->handle = 0;
        ForgetRows(row->rows);
    }
}

bool Handles::Free(AdkHandle h) {
    uintptr_t id = reinterpret_cast<uintptr_t>(h);
    auto it = entries_.find(id);
    if (it == entries_.end() || !it->second.owned) return false;
    entries_.erase(it);
    if (auto r = records_.find(id); r != records_.end()) {
        ForgetRows(r->second->rows);
        records_.erase(r);
    }
    if (auto b = blocks_.find(id); b != blocks_.end()) {
        ForgetRows(b->second->rows);
        blocks_.erase(b);
    }
    return true;
}

void Handles::Clear() {
    entries_.clear();
    records_.clear();
    blocks_.clear();
}

}  // namespace tv::kit
