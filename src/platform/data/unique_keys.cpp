#include "platform/data/unique_keys.h"

#include "platform/data/key_compare.h"

namespace tv::data_detail {

int UniqueKeys::Less::Compare(const Record* a, const RecordBuffer& b) const {
    for (const KeyField& key : *keys)
        if (int c =
                CompareFieldValues(ReadRecord(*layout, a, key.field), b.Read(key.field), key.caseInsensitive))
            return c;
    return 0;
}

int UniqueKeys::Less::Compare(const Record* a, const Record* b) const {
    for (const KeyField& key : *keys)
        if (int c = CompareFieldValues(ReadRecord(*layout, a, key.field), ReadRecord(*layout, b, key.field),
                                       key.caseInsensitive))
            return c;
    return 0;
}

bool UniqueKeys::Less::operator()(const Record* a, const Record* b) const {
    const int c = Compare(a, b);
    return c != 0 ? c < 0 : a->id < b->id;
}

UniqueKeys::UniqueKeys(const RecordLayout& layout, std::vector<UniqueKeyFields> indexes,
                       const std::vector<Record*>& records)
    : layout_(layout), keys_(std::move(indexes)) {
    orders_.reserve(keys_.size());
    for (const UniqueKeyFields& keys : keys_) {
        orders_.push_back(std::make_unique<Order>(Less{&layout_, &keys}));
        orders_.back()->insert(records.begin(), records.end());
    }
}

bool UniqueKeys::Clashes(const RecordBuffer& buffer, const Record* self) const {
    for (const auto& order : orders_) {
        const auto [first, last] = order->equal_range(buffer);
        for (auto it = first; it != last; ++it)
            if (*it != self) return true;
    }
    return false;
}

void UniqueKeys::Add(const Record* record) {
    size_t done = 0;
    try {
        for (; done < orders_.size(); ++done) orders_[done]->insert(record);
    } catch (...) {
        for (size_t i = 0; i < done; ++i) orders_[i]->erase(record);
        throw;
    }
}

void UniqueKeys::Remove(const Record* record) noexcept {
    for (const auto& order : orders_) order->erase(record);
}

}  // namespace tv::data_detail
