#include "script/runtime/stack.h"

#include <algorithm>

#include "script/runtime/errors.h"
#include "script/runtime/value_access.h"

namespace tv::script {

namespace {
constexpr size_t kChunkSize = 64 * 1024;
constexpr std::string_view kStackFull = "Out Of Stack Range";

[[noreturn]] void Mismatch() {
    throw Exception(std::string(kTypeMismatch));
}
}  // namespace

TPSStack::~TPSStack() {
    Clear();
}

TPSVariant* TPSStack::PushInNewChunk(size_t size) {
    if (fBytes + size > kMaxBytes) throw EStackOverflow(std::string(kStackFull));
    if (!fChunks.empty()) ++fChunk;
    if (fChunk == fChunks.size()) fChunks.push_back({});
    Chunk& c = fChunks[fChunk];
    // A chunk beyond the top holds no items, so one too small is replaced.
    if (!c.mem || c.cap < size) {
        c.cap = std::max(kChunkSize, size);
        c.mem.reset(new char[c.cap]);
    }
    fBase = fTop = c.mem.get();
    fEnd = fBase + c.cap;
    SetLimit();
    ReserveForChunk();
    return Place(size);
}

void TPSStack::ReserveForChunk() {
    const size_t needed = fCount + static_cast<size_t>(fLimit - fTop) / sizeof(uint64_t);
    if (needed <= fCapacity) return;
    const size_t capacity = std::max(needed, size_t{fCapacity} * 2);
    auto entries = std::make_unique<Entry[]>(capacity);
    std::copy(fEntries.get(), fEntries.get() + fCount, entries.get());
    fEntries = std::move(entries);
    fCapacity = static_cast<uint32_t>(capacity);
}

void TPSStack::ReturnToChunkOf(char* at) {
    while (!(at >= fChunks[fChunk].mem.get() && at < fChunks[fChunk].mem.get() + fChunks[fChunk].cap))
        --fChunk;
    fBase = fChunks[fChunk].mem.get();
    fEnd = fBase + fChunks[fChunk].cap;
    fTop = at;
    SetLimit();
    ReserveForChunk();
}

void TPSStack::PopDownTo(int32_t count) {
    while (Count() > std::max(count, 0)) Pop();
}

void TPSStack::Clear() {
    PopTo(0);
    fChunks.clear();
    fChunk = 0;
    fBase = fTop = fEnd = fLimit = nullptr;
    fBytes = 0;
    fEntries.reset();
    fCapacity = 0;
}

const TPSVariant& TPSStack::Checked(int32_t itemNo) const {
    const TPSVariant* item = Item(itemNo);
    if (!item) Mismatch();
    return *item;
}

#define TV_STACK_GETTER(Name, Type, Getter)                          \
    Type TPSStack::Name(int32_t itemNo) const {                      \
        TPSVariant& item = const_cast<TPSVariant&>(Checked(itemNo)); \
        return Getter(item.Data(), item.FType);                      \
    }
TV_STACK_GETTER(GetInt, int32_t, GetValueAsInt)
TV_STACK_GETTER(GetUInt, uint32_t, GetValueAsUInt)
TV_STACK_GETTER(GetInt64, int64_t, GetValueAsInt64)
TV_STACK_GETTER(GetReal, long double, GetValueAsReal)
TV_STACK_GETTER(GetCurrency, int64_t, GetValueAsCurrency)
TV_STACK_GETTER(GetAnsiString, AnsiString, GetValueAsAnsiString)
TV_STACK_GETTER(GetWideString, UnicodeString, GetValueAsWideString)
TV_STACK_GETTER(GetUnicodeString, UnicodeString, GetValueAsUnicodeString)
TV_STACK_GETTER(GetClass, TObject*, GetValueAsObject)
#undef TV_STACK_GETTER

#define TV_STACK_SETTER(Name, Type, Setter)                          \
    void TPSStack::Name(int32_t itemNo, Type v) {                    \
        TPSVariant& item = const_cast<TPSVariant&>(Checked(itemNo)); \
        if (!Setter(item.Data(), item.FType, v)) Mismatch();         \
    }
TV_STACK_SETTER(SetInt, int32_t, SetValueFromInt)
TV_STACK_SETTER(SetUInt, uint32_t, SetValueFromUInt)
TV_STACK_SETTER(SetInt64, int64_t, SetValueFromInt64)
TV_STACK_SETTER(SetReal, long double, SetValueFromReal)
TV_STACK_SETTER(SetCurrency, int64_t, SetValueFromCurrency)
TV_STACK_SETTER(SetAnsiString, const AnsiString&, SetValueFromAnsiString)
TV_STACK_SETTER(SetWideString, const UnicodeString&, SetValueFromWideString)
TV_STACK_SETTER(SetUnicodeString, const UnicodeString&, SetValueFromUnicodeString)
#undef TV_STACK_SETTER

void TPSStack::SetClass(int32_t itemNo, TObject* v) {
    TPSVariant& item = const_cast<TPSVariant&>(Checked(itemNo));
    SetValueFromObject(item.Data(), item.FType, v);
}

TPSValueRef MakeValueRef(TPSVariant* item, bool varParam) {
    TPSValueRef r;
    if (!item) return r;
    r.Data = item->Data();
    r.TypeRec = item->FType;
    r.VarParam = varParam;
    if (r.TypeRec && r.TypeRec->FBaseType == btPointer) {
        const auto p = Load<PointerValue>(r.Data);
        r.Data = p.Data;
        r.TypeRec = p.Type;
    }
    return r;
}

TPSValueRef ElementRef(const TPSValueRef& array, int32_t index) {
    TPSValueRef r;
    if (!array.Data || !array.TypeRec || index < 0) return r;
    const TPSTypeRec* t = array.TypeRec;
    char* base = nullptr;
    int64_t length = 0;
    if (t->FBaseType == btStaticArray) {
        base = static_cast<char*>(array.Data);
        length = static_cast<const TPSTypeRec_StaticArray*>(t)->FSize;
    } else if (t->FBaseType == btArray) {
        base = static_cast<char*>(DynamicArrayData(array.Data));
        length = DynamicArrayLength(array.Data, t);
    } else {
        return r;
    }
    if (index >= length) return r;
    const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(t)->FArrayType;
    r.Data = base + int64_t{index} * elem->FRealSize;
    r.TypeRec = elem;
    r.VarParam = array.VarParam;
    return r;
}

TPSValueRef FieldRef(const TPSValueRef& record, int32_t index) {
    TPSValueRef r;
    if (!record.Data || !record.TypeRec || record.TypeRec->FBaseType != btRecord || index < 0) return r;
    auto* rt = static_cast<const TPSTypeRec_Record*>(record.TypeRec);
    if (static_cast<size_t>(index) >= rt->FFieldTypes.size()) return r;
    r.Data = static_cast<char*>(record.Data) + rt->FRealFieldOffsets[index];
    r.TypeRec = rt->FFieldTypes[index];
    r.VarParam = record.VarParam;
    return r;
}

}  // namespace tv::script
