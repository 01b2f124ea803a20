#include "script/runtime/binding.h"

#include "platform/rtl/codepage.h"

namespace tv::script {

void ThrowTypeMismatch() {
    throw Exception(std::string(kTypeMismatch));
}

void ThrowNilObject() {
    throw Exception(ErrorToText(erNullPointerException, {}));
}

std::string ArgTraits<std::string>::Get(TPSExec&, const TPSValueRef& v) {
    return Utf16ToUtf8(GetValueAsUnicodeString(v.Data, v.TypeRec).view());
}

void ArgTraits<std::string>::Put(TPSExec&, const TPSValueRef& v, const std::string& x) {
    const std::u16string wide = Utf8ToUtf16(x);
    if (!SetValueFromUnicodeString(v.Data, v.TypeRec, UnicodeString(std::u16string_view(wide))))
        ThrowTypeMismatch();
}

Variant ReadAsVariant(const TPSValueRef& v) {
    Variant out;
    if (!ValueToVariant(v.Data, v.TypeRec, out)) ThrowTypeMismatch();
    return out;
}

void WriteFromVariant(TPSExec& exec, const TPSValueRef& v, const Variant& value) {
    if (v.TypeRec->FBaseType == btVariant) {
        StoreVariant(v.Data, value);
        return;
    }
    alignas(Variant) unsigned char buf[sizeof(Variant)];
    auto* held = new (buf) Variant(value);
    const bool ok = exec.AssignValue(v.Data, buf, v.TypeRec, exec.VariantType());
    held->~Variant();
    if (!ok) ThrowTypeMismatch();
}

std::vector<Variant> ReadOpenArray(const TPSValueRef& v) {
    if (v.TypeRec->FBaseType != btArray) ThrowTypeMismatch();
    const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(v.TypeRec)->FArrayType;
    const int32_t n = DynamicArrayLength(v.Data, v.TypeRec);
    auto* data = static_cast<char*>(DynamicArrayData(v.Data));
    std::vector<Variant> out(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        // An array of const holds references to the values; ValueToVariant follows them.
        if (!ValueToVariant(data + int64_t{i} * elem->FRealSize, elem, out[static_cast<size_t>(i)]))
            ThrowTypeMismatch();
    }
    return out;
}

void WriteOpenArray(TPSExec& exec, const TPSValueRef& v, const std::vector<Variant>& values) {
    const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(v.TypeRec)->FArrayType;
    const int32_t n = DynamicArrayLength(v.Data, v.TypeRec);
    auto* data = static_cast<char*>(DynamicArrayData(v.Data));
    for (int32_t i = 0; i < n && static_cast<size_t>(i) < values.size(); ++i) {
        TPSValueRef e{data + int64_t{i} * elem->FRealSize, elem, true};
        if (elem->FBaseType == btPointer) {
            const auto p = Load<PointerValue>(e.Data);
            e.Data = p.Data;
            e.TypeRec = p.Type;
        }
        if (e.Data) WriteFromVariant(exec, e, values[static_cast<size_t>(i)]);
    }
}

uint64_t ReadSetBits(const TPSValueRef& v, int byteSize) {
    if (v.TypeRec->FBaseType != btSet ||
        static_cast<int>(static_cast<const TPSTypeRec_Set*>(v.TypeRec)->FByteSize) > 8)
        ThrowTypeMismatch();
    uint64_t bits = 0;
    std::memcpy(&bits, v.Data,
                std::min<uint32_t>(static_cast<const TPSTypeRec_Set*>(v.TypeRec)->FByteSize, byteSize));
    return bits;
}

void WriteSetBits(const TPSValueRef& v, uint64_t bits, int byteSize) {
    if (v.TypeRec->FBaseType != btSet) ThrowTypeMismatch();
    const uint32_t n = static_cast<const TPSTypeRec_Set*>(v.TypeRec)->FByteSize;
    std::memset(v.Data, 0, n);
    std::memcpy(v.Data, &bits, std::min<uint32_t>(n, std::min(byteSize, 8)));
}

}  // namespace tv::script
