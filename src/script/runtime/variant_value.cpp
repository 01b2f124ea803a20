#include "script/runtime/variant_value.h"

#include "script/runtime/exec.h"
#include "script/runtime/value_access.h"

namespace tv::script {

bool ValueToVariant(const void* data, const TPSTypeRec* t, Variant& out) {
    if (!t) {
        out = Variant::Null();
        return true;
    }
    switch (t->FBaseType) {
        case btPointer: {
            const auto p = Load<PointerValue>(data);
            return ValueToVariant(p.Data, p.Type, out);
        }
        case btU8:
            if (t->FExportName == kBooleanTypeName)
                out = Variant(Load<uint8_t>(data) != 0);
            else
                out = Variant(Load<uint8_t>(data));
            return true;
        case btS8:
            out = Variant(Load<int8_t>(data));
            return true;
        case btU16:
            out = Variant(Load<uint16_t>(data));
            return true;
        case btS16:
            out = Variant(Load<int16_t>(data));
            return true;
        case btU32:
            out = Variant(Load<uint32_t>(data));
            return true;
        case btS32:
            out = Variant(Load<int32_t>(data));
            return true;
        case btSingle:
            out = Variant(static_cast<double>(Load<float>(data)));
            return true;
        case btExtended:
            out = Variant(static_cast<double>(LoadExtended(data)));
            return true;
        case btDouble:
            if (t->FExportName == kDateTimeTypeName)
                out = Variant::FromDate(Load<double>(data));
            else
                out = Variant(Load<double>(data));
            return true;
        case btString:
        case btPChar:
            out = Variant(AnsiString::RawGet(data));
            return true;
        case btArray: {
            auto* at = static_cast<const TPSTypeRec_Array*>(t);
            return ArrayToVariantArray(DynamicArrayData(data), at->FArrayType, DynamicArrayLength(data, t),
                                       out);
        }
        case btVariant:
            out = LoadVariant(data);
            return true;
        case btS64:
            out = Variant(Load<int64_t>(data));
            return true;
        case btChar: {
            const char c = Load<char>(data);
            out = Variant(AnsiString(std::string_view(&c, 1)));
            return true;
        }
        case btWideString:
            out = Variant::FromOleStr(UnicodeString::RawGet(data));
            return true;
        case btWideChar: {
            const char16_t c = Load<char16_t>(data);
            out = Variant::FromOleStr(UnicodeString(std::u16string_view(&c, 1)));
            return true;
        }
        case btStaticArray: {
            auto* at = static_cast<const TPSTypeRec_StaticArray*>(t);
            return ArrayToVariantArray(data, at->FArrayType, static_cast<int32_t>(at->FSize), out);
        }
        case btCurrency:
            out = Variant::FromCurrency(Load<int64_t>(data));
            return true;
        case btUnicodeString:
            out = Variant(UnicodeString::RawGet(data));
            return true;
        default:
            return false;
    }
}

bool StackItemToVariant(TPSVariant* item, Variant& out) {
    return item && ValueToVariant(item->Data(), item->FType, out);
}

bool ArrayToVariantArray(const void* elements, const TPSTypeRec* elemType, int32_t count, Variant& out) {
    out = Variant::ArrayOf(0, count - 1);
    for (int32_t i = 0; i < count; ++i) {
        const void* at = static_cast<const char*>(elements) + int64_t{i} * elemType->FRealSize;
        if (!ValueToVariant(at, elemType, out.Element(i))) return false;
    }
    return true;
}

bool VariantToStackItem(TPSExec& exec, const Variant& v, TPSVariant* item) {
    if (!item) return false;
    const TPSTypeRec* variantType = exec.FindType2(btVariant);
    if (!variantType) return false;
    const TPSValueRef dest = MakeValueRef(item, true);
    if (!dest.Data || !dest.TypeRec) return false;
    alignas(Variant) unsigned char buf[sizeof(Variant)];
    new (buf) Variant(v);
    const bool ok = exec.AssignValue(dest.Data, buf, dest.TypeRec, variantType);
    std::launder(reinterpret_cast<Variant*>(buf))->~Variant();
    return ok;
}

}  // namespace tv::script
