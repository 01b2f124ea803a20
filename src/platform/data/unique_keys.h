#pragma once
// The stored records of a dataset ordered by the key fields of each unique index, so that a post
// finds a record holding the same key by a search instead of comparing every record.

#include "platform/data/record_store.h"

#include <memory>
#include <set>
#include <vector>

namespace tv::data_detail {

struct KeyField {
    size_t field;  // physical position
    bool caseInsensitive;
    friend bool operator==(const KeyField&, const KeyField&) = default;
};
using UniqueKeyFields = std::vector<KeyField>;

class UniqueKeys {
public:
    // Orders `records` by each index's key fields.
    UniqueKeys(const RecordLayout& layout, std::vector<UniqueKeyFields> indexes,
               const std::vector<Record*>& records);
    UniqueKeys(const UniqueKeys&) = delete;
    UniqueKeys& operator=(const UniqueKeys&) = delete;

    // Whether these are the indexes the records are ordered by.
    bool Describes(const std::vector<UniqueKeyFields>& indexes) const { return indexes == keys_; }
    // Whether a record other than `self` holds the buffer's values in every key field of an index.
    bool Clashes(const RecordBuffer& buffer, const Record* self) const;
    // A record joins or leaves the orders; Add may run out of memory and then changes nothing.
    void Add(const Record* record);
    void Remove(const Record* record) noexcept;

private:
    // Orders records by their key values, then by bookmark; a buffer is compared by its values.
    struct Less {
        using is_transparent = void;
        const RecordLayout* layout;
        const UniqueKeyFields* keys;
        int Compare(const Record* a, const RecordBuffer& b) const;
        int Compare(const Record* a, const Record* b) const;
        bool operator()(const Record* a, const Record* b) const;
        bool operator()(const Record* a, const RecordBuffer& b) const { return Compare(a, b) < 0; }
        bool operator()(const RecordBuffer& a, const Record* b) const { return Compare(b, a) > 0; }
    };
    using Order = std::set<const Record*, Less>;

    const RecordLayout& layout_;
    std::vector<UniqueKeyFields> keys_;
    std::vector<std::unique_ptr<Order>> orders_;  // one per index, pointing at keys_
};

}  // namespace tv::data_detail
