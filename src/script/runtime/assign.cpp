// Assignment with conversion (the script's :=, value parameters and pushed values), and the mapping
// of exceptions raised on the way to recorded script errors.

#include "platform/rtl/math_error.h"
#include "platform/rtl/object.h"
#include "platform/rtl/object_handles.h"
#include "script/runtime/exec.h"
#include "script/runtime/value_access.h"
#include "script/runtime/variant_value.h"

namespace tv::script {

namespace {

constexpr std::string_view kIDispatchName = "IDISPATCH";

[[noreturn]] void Mismatch() {
    throw Exception(std::string(kTypeMismatch));
}

// The integer of a 32-bit destination from a source of an integer type (or a Variant, through the
// given conversion); other sources raise "Type Mismatch".
uint32_t IntegerSource(const void* src, const TPSTypeRec* st, bool signedDest) {
    Dereference(src, st);
    int64_t v = 0;
    if (LoadInteger(src, st->FBaseType, v)) return static_cast<uint32_t>(v);
    if (st->FBaseType == btVariant) {
        const Variant var = LoadVariant(src);
        return signedDest ? static_cast<uint32_t>(var.AsInteger()) : static_cast<uint32_t>(var.AsInt64());
    }
    // An object stored in an integer is its handle.
    if (signedDest && st->FBaseType == btClass)
        return static_cast<uint32_t>(TObjectHandles::HandleOf(GetValueAsObject(src, st)));
    Mismatch();
}

}  // namespace

bool TPSExec::AssignValue(void* dest, const void* src, const TPSTypeRec* dt, const TPSTypeRec* st) {
    try {
        switch (dt->FBaseType) {
            case btU8:
                Store<uint8_t>(dest, static_cast<uint8_t>(GetValueAsUInt(src, st)));
                return true;
            case btS8:
                Store<int8_t>(dest, static_cast<int8_t>(GetValueAsInt(src, st)));
                return true;
            case btU16:
            case btWideChar:
                Store<uint16_t>(dest, static_cast<uint16_t>(GetValueAsUInt(src, st)));
                return true;
            case btS16:
                Store<int16_t>(dest, static_cast<int16_t>(GetValueAsInt(src, st)));
                return true;
            case btChar:
                Store<char>(dest, GetValueAsChar(src, st));
                return true;
            case btS64:
                Store<int64_t>(dest, GetValueAsInt64(src, st));
                return true;
            case btCurrency:
                Store<int64_t>(dest, GetValueAsCurrency(src, st));
                return true;
            case btString:
            case btPChar:
                AnsiString::RawSet(dest, GetValueAsAnsiString(src, st));
                return true;
            case btWideString:
            case btUnicodeString:
                UnicodeString::RawSet(dest, GetValueAsUnicodeString(src, st));
                return true;
            case btU32:
                Store<uint32_t>(dest, IntegerSource(src, st, false));
                return true;
            case btS32:
                Store<uint32_t>(dest, IntegerSource(src, st, true));
                return true;
            case btSingle:
                Store<float>(dest, static_cast<float>(GetValueAsReal(src, st)));
                return true;
            case btDouble:
                Store<double>(dest, static_cast<double>(GetValueAsReal(src, st)));
                return true;
            case btExtended:
                StoreExtended(dest, GetValueAsReal(src, st));
                return true;
            case btRecord:
            case btStaticArray:
                if (st == dt && CopyValues(dest, src, 1, dt)) return true;
                break;
            case btSet:
                if (st == dt) {
                    std::memmove(dest, src, dt->FRealSize);
                    return true;
                }
                break;
            case btArray: {
                const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(dt)->FArrayType;
                if (st->FBaseType == btStaticArray &&
                    static_cast<const TPSTypeRec_Array*>(st)->FArrayType == elem) {
                    auto* sa = static_cast<const TPSTypeRec_StaticArray*>(st);
                    ResizeDynamicArray(dest, dt, static_cast<int32_t>(sa->FSize));
                    if (CopyValues(DynamicArrayData(dest), src, sa->FSize, elem)) return true;
                    break;
                }
                if (st->FBaseType == btVariant) {
                    const Variant v = LoadVariant(src);
                    if (v.IsArray()) return AssignVariantArrayToDynArray(dest, v, dt);
                    break;
                }
                if ((st == dt || (st->FBaseType == btArray &&
                                  static_cast<const TPSTypeRec_Array*>(st)->FArrayType == elem)) &&
                    CopyValues(dest, src, 1, dt))
                    return true;
                break;
            }
            case btVariant: {
                if (st->FExportName == kIDispatchName) {
                    StoreVariant(dest, Variant::FromInterface(static_cast<IInterface*>(LoadPtr(src)), true));
                    return true;
                }
                Variant v;
                if (st->FBaseType == btVariant)
                    v = LoadVariant(src);
                else if (!ValueToVariant(src, st, v))
                    break;
                StoreVariant(dest, std::move(v));
                return true;
            }
            case btProcPtr: {
                const void* s = src;
                const TPSTypeRec* t = st;
                Dereference(s, t);
                if (t->FBaseType == btU32) {
                    auto p = Load<ProcPtrValue>(dest);
                    p.ProcNo = Load<uint32_t>(s);
                    Store(dest, p);
                    return true;
                }
                if (t->FBaseType == btProcPtr) {
                    std::memmove(dest, s, sizeof(ProcPtrValue));
                    return true;
                }
                Mismatch();
            }
            case btClass:
                switch (st->FBaseType) {
                    case btClass:
                        Store(dest, Load<ObjectRefValue>(src));
                        return true;
                    case btU32:
                    case btS32:
                        // An integer that stands for an object: its handle (0 is nil).
                        Store(dest, RefToObject(TObjectHandles::ObjectOf(Load<int32_t>(src))));
                        return true;
                    case btVariant:
                        Store(dest, RefToObject(TObjectHandles::ObjectOf(
                                        static_cast<int32_t>(LoadVariant(src).AsInt64()))));
                        return true;
                    default:
                        break;
                }
                break;
            case btInterface:
                switch (st->FBaseType) {
                    case btVariant: {
                        if (dt->FExportName != kIDispatchName) break;
                        IInterface* i = LoadVariant(src).AsInterface();
                        if (i) i->AddRef();
                        if (auto* old = static_cast<IInterface*>(LoadPtr(dest))) old->Release();
                        Store<void*>(dest, i);
                        return true;
                    }
                    case btClass: {
                        TObject* obj = GetValueAsObject(src, st);
                        if (obj) {
                            if (auto* old = static_cast<IInterface*>(LoadPtr(dest))) {
                                Store<void*>(dest, nullptr);
                                old->Release();
                            }
                            auto* intf = dynamic_cast<IInterface*>(obj);
                            void* got = nullptr;
                            if (intf &&
                                intf->QueryInterface(static_cast<const TPSTypeRec_Interface*>(dt)->FGuid,
                                                     &got) == S_OK) {
                                Store<void*>(dest, got);
                                return true;
                            }
                        }
                        CMD_Err(erInterfaceNotSupported);
                        return false;
                    }
                    case btInterface:
                        if (CopyValues(dest, src, 1, dt)) return true;
                        break;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
        CMD_Err(ErTypeMismatch);
        return false;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

bool TPSExec::AssignVariantArrayToDynArray(void* dest, const Variant& src, const TPSTypeRec* arrayType) {
    const TPSTypeRec* variantType = FindType2(btVariant);
    if (!variantType) return false;
    const int32_t low = src.LowBound(), high = src.HighBound();
    ResizeDynamicArray(dest, arrayType, high - low + 1);
    const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(arrayType)->FArrayType;
    auto* elements = static_cast<char*>(DynamicArrayData(dest));
    for (int32_t i = low; i <= high; ++i) {
        alignas(Variant) unsigned char buf[sizeof(Variant)];
        auto* v = new (buf) Variant(src.Element(i));
        const bool ok = AssignValue(elements + int64_t{i - low} * elem->FRealSize, buf, elem, variantType);
        v->~Variant();
        if (!ok) return false;
    }
    return true;
}

void TPSExec::HandleException(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const EPSException& ex) {
        StoreException(static_cast<int32_t>(ex.FProcNo), static_cast<int32_t>(ex.FProcPos), erCustomError,
                       ex.Message, nullptr);
    } catch (const EDivByZero& ex) {
        CMD_Err3(ErDivideByZero, ex.Message, e);
    } catch (const EZeroDivide& ex) {
        CMD_Err3(ErDivideByZero, ex.Message, e);
    } catch (const EMathError& ex) {
        CMD_Err3(ErMathError, ex.Message, e);
    } catch (const EStackOverflow&) {
        CMD_Err(erOutOfStackRange);
    } catch (const std::bad_alloc&) {
        CMD_Err(erOutOfMemory);
    } catch (const std::exception& ex) {
        CMD_Err3(erException, ex.what(), e);
    } catch (...) {
        CMD_Err3(erException, {}, e);
    }
}

}  // namespace tv::script
