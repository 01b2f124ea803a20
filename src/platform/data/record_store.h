#pragma once
// Compact record storage of the dataset. A stored record is one heap block: a header, a null
// bit per field, one 8-byte slot per field (integer, float, or offset and length of a text) and the
// text bytes. The edit buffer holds the record being edited or inserted in a form that reuses
// its memory from record to record.

#include "platform/data/field_type.h"
#include "platform/data/value_view.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tv::data_detail {

struct RecordLayout {
    std::vector<TStorageKind> kinds;  // by physical field position
    size_t bitmapBytes = 0;
    size_t FieldCount() const { return kinds.size(); }
    void Build(std::vector<TStorageKind> fieldKinds);
};

struct Record {
    std::uint64_t id;      // the record's bookmark, never reused
    std::int64_t natural;  // position key of the dataset's natural order
    std::uint32_t size;    // bytes of the whole block
    std::uint32_t reserved;
};

union Slot {
    std::int64_t integer;
    double number;
    struct {
        std::uint32_t offset;
        std::uint32_t length;
    } text;
};

// The working copy of one record.
class RecordBuffer {
public:
    void Reset(const RecordLayout& layout);  // every field null
    void Load(const RecordLayout& layout, const Record* record);
    TValueView Read(size_t field) const;
    bool IsNull(size_t field) const { return null_[field] != 0; }
    void SetNull(size_t field) { null_[field] = 1; }
    void SetInteger(size_t field, std::int64_t v) {
        null_[field] = 0;
        slots_[field].integer = v;
    }
    void SetFloat(size_t field, double v) {
        null_[field] = 0;
        slots_[field].number = v;
    }
    void SetText(size_t field, std::string_view v) {
        null_[field] = 0;
        texts_[field].assign(v.data(), v.size());
    }
    // Stores a value of any kind into a field of storage `kind` without conversion checks; the
    // caller has converted it.
    void Set(size_t field, TStorageKind kind, const TValueView& value);

private:
    friend Record* PackRecord(const RecordLayout&, const RecordBuffer&, std::uint64_t, std::int64_t);
    std::vector<std::uint8_t> null_;
    std::vector<Slot> slots_;
    std::vector<std::string> texts_;
    const RecordLayout* layout_ = nullptr;
};

// Packs the buffer into a new heap block; FreeRecord releases it.
Record* PackRecord(const RecordLayout& layout, const RecordBuffer& buffer, std::uint64_t id,
                   std::int64_t natural);
void FreeRecord(Record* record);
Record* CopyRecord(const Record* record, std::uint64_t id, std::int64_t natural);

// Field `field` (physical position) of a stored record.
TValueView ReadRecord(const RecordLayout& layout, const Record* record, size_t field);

}  // namespace tv::data_detail
