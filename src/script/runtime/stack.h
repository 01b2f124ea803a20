#pragma once
// The typed value stack: the executor's globals, temporaries and call stack, and the values of
// run-time attributes. An item is its type record followed by the value; items are pushed and popped
// at the top only, never move once pushed, and are finalized when popped. Typed accessors address
// items counted from the top (-1 is the top item) or, for 0 and above, from the bottom.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/rtl/exception.h"
#include "script/runtime/value_ops.h"

namespace tv::script {

// Raised when a push would take the stack beyond its limit (runaway recursion).
TV_DECLARE_EXCEPTION(EStackOverflow, Exception);

class TPSStack {
public:
    // The most bytes one stack holds.
    static constexpr size_t kMaxBytes = size_t{64} << 20;

    TPSStack() = default;
    ~TPSStack();
    TPSStack(const TPSStack&) = delete;
    TPSStack& operator=(const TPSStack&) = delete;

    int32_t Count() const { return static_cast<int32_t>(fCount); }
    // Reserves `totalSize` bytes (the 8-byte type header included) on top; the value is not
    // initialised. Raises EStackOverflow at the limit.
    TPSVariant* Push(uint32_t totalSize) {
        const size_t size = ItemSize(totalSize);
        if (!Fits(size)) return PushInNewChunk(size);
        return Place(size);
    }
    // As PushType when the value fits the storage in hand; nil (and nothing pushed) otherwise.
    TPSVariant* TryPushType(const TPSTypeRec* t) {
        const size_t size = ItemSize(static_cast<uint32_t>(sizeof(TPSVariant)) + t->FRealSize);
        if (!Fits(size)) return nullptr;
        return Initialised(Place(size), t);
    }
    // Whether a value of type t can be pushed without going beyond the stack's limit.
    bool Fits(const TPSTypeRec* t) const {
        return fBytes + ItemSize(static_cast<uint32_t>(sizeof(TPSVariant)) + t->FRealSize) <= kMaxBytes;
    }
    // Whether a value of type `then` can be pushed after one of type `first` within the limit.
    bool Fits(const TPSTypeRec* first, const TPSTypeRec* then) const {
        return fBytes + ItemSize(static_cast<uint32_t>(sizeof(TPSVariant)) + first->FRealSize) +
                   ItemSize(static_cast<uint32_t>(sizeof(TPSVariant)) + then->FRealSize) <=
               kMaxBytes;
    }
    // A new, initialised value of type t on top.
    TPSVariant* PushType(const TPSTypeRec* t) {
        return Initialised(Push(static_cast<uint32_t>(sizeof(TPSVariant)) + t->FRealSize), t);
    }
    // Removes the top item and finalizes its value.
    void Pop() {
        if (fCount == 0) return;
        const Entry top = fEntries[--fCount];
        auto* at = reinterpret_cast<char*>(top.item);
        fBytes -= top.size;
        if (at >= fBase && at < fEnd)
            fTop = at;
        else
            ReturnToChunkOf(at);
        const TPSTypeRec* t = top.item->FType;
        if (t && t->IsManaged() && !IsBorrowedPointer(top.item)) FinalizeValue(top.item->Data(), t);
    }
    // Pops down to `count` items.
    void PopTo(int32_t count) {
        if (Count() > count) PopDownTo(count);
    }
    // Finalizes every item (top first) and releases the storage.
    void Clear();
    // The item at a 0-based index from the bottom; nil out of range.
    TPSVariant* GetItem(int32_t index) const {
        // A negative index turns into one far beyond the end.
        return static_cast<uint32_t>(index) < fCount ? fEntries[static_cast<uint32_t>(index)].item : nullptr;
    }
    // The item `offset` places above item `base` (below it for a negative offset); nil when that
    // is no item. Both in the ranges the stack can hold (a count, an offset of 32 bits), the sum in
    // 32 bits needs no further check: a negative one, or one beyond INT32_MAX, is beyond the count.
    TPSVariant* ItemAt(int32_t base, int32_t offset) const {
        const uint32_t index = static_cast<uint32_t>(base) + static_cast<uint32_t>(offset);
        return index < fCount ? fEntries[index].item : nullptr;
    }
    // The item at ItemNo: negative counts from the top. Nil out of range.
    TPSVariant* Item(int32_t itemNo) const { return GetItem(itemNo < 0 ? Count() + itemNo : itemNo); }
    TPSVariant* Top() const { return fCount ? fEntries[fCount - 1].item : nullptr; }

    // Typed access through the value conversions; getters raise "Type Mismatch" for a type they do
    // not read, setters for a type that does not take the value.
    int32_t GetInt(int32_t itemNo) const;
    uint32_t GetUInt(int32_t itemNo) const;
    int64_t GetInt64(int32_t itemNo) const;
    long double GetReal(int32_t itemNo) const;
    int64_t GetCurrency(int32_t itemNo) const;
    AnsiString GetAnsiString(int32_t itemNo) const;
    UnicodeString GetWideString(int32_t itemNo) const;
    UnicodeString GetUnicodeString(int32_t itemNo) const;
    UnicodeString GetString(int32_t itemNo) const { return GetUnicodeString(itemNo); }
    bool GetBool(int32_t itemNo) const { return GetUInt(itemNo) != 0; }
    TObject* GetClass(int32_t itemNo) const;

    void SetInt(int32_t itemNo, int32_t v);
    void SetUInt(int32_t itemNo, uint32_t v);
    void SetInt64(int32_t itemNo, int64_t v);
    void SetReal(int32_t itemNo, long double v);
    void SetCurrency(int32_t itemNo, int64_t v);
    void SetAnsiString(int32_t itemNo, const AnsiString& v);
    void SetWideString(int32_t itemNo, const UnicodeString& v);
    void SetUnicodeString(int32_t itemNo, const UnicodeString& v);
    void SetString(int32_t itemNo, const UnicodeString& v) { SetUnicodeString(itemNo, v); }
    void SetBool(int32_t itemNo, bool v) { SetUInt(itemNo, v ? 1 : 0); }
    void SetClass(int32_t itemNo, TObject* v);

    // Bytes in use (items and their headers, rounded to 8 each).
    size_t BytesInUse() const { return fBytes; }

private:
    struct Chunk {
        std::unique_ptr<char[]> mem;
        size_t cap;
    };
    const TPSVariant& Checked(int32_t itemNo) const;
    TPSVariant* PushInNewChunk(size_t size);
    void PopDownTo(int32_t count);
    void ReturnToChunkOf(char* at);
    // An item's bytes: at least the type header, in whole words.
    static size_t ItemSize(uint32_t totalSize) {
        return (std::max<size_t>(totalSize, sizeof(TPSVariant)) + 7) & ~size_t{7};
    }
    // Whether `size` more bytes fit the chunk in hand and the limit.
    bool Fits(size_t size) const { return static_cast<size_t>(fLimit - fTop) >= size; }
    // Sets fLimit for the chunk in hand: its end, or where the stack's limit falls within it.
    void SetLimit() {
        const size_t below = fBytes - static_cast<size_t>(fTop - fBase);  // in the chunks below
        fLimit = fBase + std::min(static_cast<size_t>(fEnd - fBase), kMaxBytes - below);
    }
    // Takes `size` bytes at the top of the chunk in hand for a new item (type not set yet: until
    // then a pop releases nothing).
    TPSVariant* Place(size_t size) {
        auto* item = reinterpret_cast<TPSVariant*>(fTop);
        item->FType = nullptr;
        fTop += size;
        fBytes += size;
        // The table has room: every item takes at least a word, and entering a chunk made room
        // for as many items as the rest of the chunk holds.
        fEntries[fCount++] = {item, size};
        return item;
    }
    static TPSVariant* Initialised(TPSVariant* item, const TPSTypeRec* t) {
        item->FType = t;
        // An empty value is all zero bits (InitializeValue); an item's storage is whole words.
        const uint64_t zero = 0;
        auto* d = static_cast<char*>(item->Data());
        const uint32_t size = t->FRealSize;
        if (size <= 3 * sizeof zero) {  // most values (numbers, strings, references): up to three words
            if (size > 0) std::memcpy(d, &zero, sizeof zero);
            if (size > sizeof zero) std::memcpy(d + sizeof zero, &zero, sizeof zero);
            if (size > 2 * sizeof zero) std::memcpy(d + 2 * sizeof zero, &zero, sizeof zero);
            return item;
        }
        for (uint32_t at = 0; at < size; at += sizeof zero) std::memcpy(d + at, &zero, sizeof zero);
        return item;
    }
    // A Pointer that refers to a value it does not own: popping it releases nothing.
    static bool IsBorrowedPointer(TPSVariant* item) {
        return item->FType->FBaseType == btPointer && Load<PointerValue>(item->Data()).Owned == 0;
    }

    // Makes room in the item table for every item the chunk in hand can still take.
    void ReserveForChunk();

    struct Entry {
        TPSVariant* item;
        size_t size;
    };
    // The items bottom first; never shrinks while the stack holds storage.
    std::unique_ptr<Entry[]> fEntries;
    uint32_t fCount = 0;
    uint32_t fCapacity = 0;
    std::vector<Chunk> fChunks;
    size_t fChunk = 0;       // the chunk the next item goes into
    char* fBase = nullptr;   // that chunk's storage,
    char* fTop = nullptr;    // where its next item goes
    char* fEnd = nullptr;    // and its end;
    char* fLimit = nullptr;  // the end, or where the stack's limit falls before it
    size_t fBytes = 0;
};

// A view of a script value for host routines: its data, its type and whether it was passed by
// reference (writes reach the caller's variable). No data and no type: no value.
struct TPSValueRef {
    void* Data = nullptr;
    const TPSTypeRec* TypeRec = nullptr;
    bool VarParam = false;
};

// A reference to an item's value; a Pointer item gives its target.
TPSValueRef MakeValueRef(TPSVariant* item, bool varParam);
// Element `index` of an array reference (dynamic or static); no value outside the array.
TPSValueRef ElementRef(const TPSValueRef& array, int32_t index);
// Field `index` of a record reference; no value beyond the last field.
TPSValueRef FieldRef(const TPSValueRef& record, int32_t index);

using TPSValueRefList = std::vector<std::unique_ptr<TPSValueRef>>;

}  // namespace tv::script
