#include "platform/data/record_store.h"

#include <cstring>
#include <new>

namespace tv::data_detail {

namespace {

constexpr size_t kHeaderBytes = sizeof(Record);
static_assert(kHeaderBytes % 8 == 0);

const std::uint8_t* Bitmap(const Record* r) {
    return reinterpret_cast<const std::uint8_t*>(r) + kHeaderBytes;
}
std::uint8_t* Bitmap(Record* r) {
    return reinterpret_cast<std::uint8_t*>(r) + kHeaderBytes;
}
const Slot* Slots(const RecordLayout& l, const Record* r) {
    return reinterpret_cast<const Slot*>(Bitmap(r) + l.bitmapBytes);
}
Slot* Slots(const RecordLayout& l, Record* r) {
    return reinterpret_cast<Slot*>(Bitmap(r) + l.bitmapBytes);
}

Record* Allocate(size_t bytes) {
    return static_cast<Record*>(::operator new(bytes));
}

}  // namespace

void RecordLayout::Build(std::vector<TStorageKind> fieldKinds) {
    kinds = std::move(fieldKinds);
    bitmapBytes = (kinds.size() + 63) / 64 * 8;
}

void RecordBuffer::Reset(const RecordLayout& layout) {
    layout_ = &layout;
    const size_t n = layout.FieldCount();
    null_.assign(n, 1);
    slots_.resize(n);
    if (texts_.size() != n) texts_.resize(n);
    for (auto& t : texts_) t.clear();
}

void RecordBuffer::Load(const RecordLayout& layout, const Record* record) {
    Reset(layout);
    if (!record) return;
    for (size_t i = 0; i < layout.FieldCount(); ++i) Set(i, layout.kinds[i], ReadRecord(layout, record, i));
}

TValueView RecordBuffer::Read(size_t field) const {
    if (null_[field]) return {};
    switch (layout_->kinds[field]) {
        case TStorageKind::Integer:
            return TValueView::FromInteger(slots_[field].integer);
        case TStorageKind::Float:
            return TValueView::FromFloat(slots_[field].number);
        case TStorageKind::Text:
            return TValueView::FromText(texts_[field]);
    }
    return {};
}

void RecordBuffer::Set(size_t field, TStorageKind kind, const TValueView& value) {
    if (value.IsNull()) return SetNull(field);
    switch (kind) {
        case TStorageKind::Integer:
            return SetInteger(field, value.integer);
        case TStorageKind::Float:
            return SetFloat(field, value.number);
        case TStorageKind::Text:
            return SetText(field, value.text);
    }
}

Record* PackRecord(const RecordLayout& layout, const RecordBuffer& buffer, std::uint64_t id,
                   std::int64_t natural) {
    const size_t n = layout.FieldCount();
    size_t textBytes = 0;
    for (size_t i = 0; i < n; ++i)
        if (layout.kinds[i] == TStorageKind::Text && !buffer.null_[i]) textBytes += buffer.texts_[i].size();
    const size_t fixed = kHeaderBytes + layout.bitmapBytes + n * sizeof(Slot);
    const size_t total = fixed + textBytes;
    if (total > UINT32_MAX) throw std::bad_alloc();
    Record* r = Allocate(total);
    r->id = id;
    r->natural = natural;
    r->size = static_cast<std::uint32_t>(total);
    r->reserved = 0;
    std::uint8_t* bits = Bitmap(r);
    std::memset(bits, 0, layout.bitmapBytes);
    Slot* slots = Slots(layout, r);
    char* text = reinterpret_cast<char*>(r) + fixed;
    std::uint32_t offset = 0;
    for (size_t i = 0; i < n; ++i) {
        if (buffer.null_[i]) {
            bits[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
            slots[i].integer = 0;
            continue;
        }
        if (layout.kinds[i] == TStorageKind::Text) {
            const std::string& s = buffer.texts_[i];
            std::memcpy(text + offset, s.data(), s.size());
            slots[i].text.offset = offset;
            slots[i].text.length = static_cast<std::uint32_t>(s.size());
            offset += static_cast<std::uint32_t>(s.size());
        } else {
            slots[i] = buffer.slots_[i];
        }
    }
    return r;
}

void FreeRecord(Record* record) {
    ::operator delete(record);
}

Record* CopyRecord(const Record* record, std::uint64_t id, std::int64_t natural) {
    Record* r = Allocate(record->size);
    std::memcpy(r, record, record->size);
    r->id = id;
    r->natural = natural;
    return r;
}

TValueView ReadRecord(const RecordLayout& layout, const Record* record, size_t field) {
    if (Bitmap(record)[field / 8] & (1u << (field % 8))) return {};
    const Slot& slot = Slots(layout, record)[field];
    switch (layout.kinds[field]) {
        case TStorageKind::Integer:
            return TValueView::FromInteger(slot.integer);
        case TStorageKind::Float:
            return TValueView::FromFloat(slot.number);
        case TStorageKind::Text: {
            const char* text = reinterpret_cast<const char*>(record) + kHeaderBytes + layout.bitmapBytes +
                               layout.FieldCount() * sizeof(Slot);
            return TValueView::FromText(std::string_view(text + slot.text.offset, slot.text.length));
        }
    }
    return {};
}

}  // namespace tv::data_detail
