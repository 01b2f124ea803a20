// Reading a compiled-script container into an executor: every record is checked as it is read,
// and the first fault records its error and leaves the executor empty.

#include <cstring>

#include "script/common/byte_io.h"
#include "script/common/names.h"
#include "script/runtime/exec.h"

namespace tv::script {

namespace {
constexpr std::string_view kAttributeRefused = "Attribute refused: ";
// Values larger than this are refused when the loader makes them (variables, attribute values).
constexpr uint32_t kMaxLoadedValueSize = uint32_t{1} << 30;
}  // namespace

class Loader {
public:
    Loader(TPSExec& exec, std::string_view data) : x(exec), r(data) {}

    bool Run() {
        if (!ReadHeader()) return false;
        for (uint32_t i = 0; i < typeCount; ++i)
            if (!ReadType()) return false;
        for (uint32_t i = 0; i < procCount; ++i)
            if (!ReadProc()) return false;
        for (uint32_t i = 0; i < varCount; ++i)
            if (!ReadVar()) return false;
        if (mainProc >= x.FProcs.size() && mainProc != kNoMainProc) return Fail(erNoMainProc);
        x.FMainProc = mainProc;
        x.FStatus = isLoaded;
        return true;
    }

private:
    bool Fail(TPSError e, std::string param = {}) {
        x.CMD_Err2(e, std::move(param));
        return false;
    }

    bool ReadHeader() {
        uint32_t magic = 0, importSize = 0;
        if (!r.ReadU32(magic) || !r.ReadU32(build) || !r.ReadU32(typeCount) || !r.ReadU32(procCount) ||
            !r.ReadU32(varCount) || !r.ReadU32(mainProc) || !r.ReadU32(importSize) ||
            magic != kContainerMagic || build < kOldestReadableBuild || build > kContainerBuild)
            return Fail(erInvalidHeader);
        return true;
    }

    // A type number that refers to a type read before.
    TPSTypeRec* EarlierType(uint32_t n) const { return n < x.FTypes.size() ? x.FTypes[n].get() : nullptr; }

    bool ReadType() {
        uint8_t code = 0;
        if (!r.ReadU8(code)) return Fail(erUnexpectedEof);
        const bool exported = (code & kTypeExportedFlag) != 0;
        const uint8_t base = code & 0x7F;
        if (!IsContainerTypeCode(base)) return Fail(erInvalidType);
        std::unique_ptr<TPSTypeRec> t;
        TPSError err = ErNoError;
        switch (base) {
            case btRecord:
                t = ReadRecord(err);
                break;
            case btArray: {
                auto a = std::make_unique<TPSTypeRec_Array>(&x, base);
                uint32_t n = 0;
                if (!r.ReadU32(n))
                    err = erUnexpectedEof;
                else if (!(a->FArrayType = EarlierType(n)))
                    err = ErTypeMismatch;
                t = std::move(a);
                break;
            }
            case btProcPtr: {
                auto p = std::make_unique<TPSTypeRec_ProcPtr>(&x, base);
                std::string_view text;
                if (!r.ReadString32(text, kShortTextLimit - 1)) err = erUnexpectedEof;
                p->FParamInfo = std::string(text);
                t = std::move(p);
                break;
            }
            case btStaticArray: {
                auto a = std::make_unique<TPSTypeRec_StaticArray>(&x, base);
                uint32_t n = 0, count = 0, start = 0;
                if (!r.ReadU32(n))
                    err = erUnexpectedEof;
                else if (!(a->FArrayType = EarlierType(n)))
                    err = ErTypeMismatch;
                else if (!r.ReadU32(count) || count >= kStaticArrayLengthLimit || !r.ReadU32(start))
                    err = erUnexpectedEof;
                a->FSize = count;
                a->FStartOffset = static_cast<int32_t>(start);
                t = std::move(a);
                break;
            }
            case btSet: {
                auto s = std::make_unique<TPSTypeRec_Set>(&x, base);
                if (!r.ReadU32(s->FBitSize))
                    err = erUnexpectedEof;
                else if (s->FBitSize > kMaxSetBits)
                    err = ErTypeMismatch;
                t = std::move(s);
                break;
            }
            case btClass: {
                auto c = std::make_unique<TPSTypeRec_Class>(&x, base);
                std::string_view name;
                if (!r.ReadString32(name, kShortTextLimit - 1)) err = erUnexpectedEof;
                c->FCN = std::string(name);
                t = std::move(c);
                break;
            }
            case btInterface: {
                auto i = std::make_unique<TPSTypeRec_Interface>(&x, base);
                uint32_t d1 = 0;
                uint16_t d2 = 0, d3 = 0;
                std::string_view d4;
                if (!r.ReadU32(d1) || !r.ReadU16(d2) || !r.ReadU16(d3) || !r.ReadBytes(8, d4))
                    err = erUnexpectedEof;
                else {
                    i->FGuid.D1 = d1;
                    i->FGuid.D2 = d2;
                    i->FGuid.D3 = d3;
                    std::memcpy(i->FGuid.D4, d4.data(), 8);
                }
                t = std::move(i);
                break;
            }
            default:
                t = std::make_unique<TPSTypeRec>(&x, base);
        }
        if (err != ErNoError) return Fail(err);
        if (exported) {
            uint32_t len = 0;
            std::string_view name;
            if (!r.ReadU32(len)) return Fail(erUnexpectedEof);
            if (len > kMaxLongTextLength) return Fail(erInvalidType);
            if (!r.ReadBytes(len, name)) return Fail(erUnexpectedEof);
            t->FExportName = std::string(name);
            t->FExportNameHash = HashName(t->FExportName);
        }
        t->CalcSize();
        TPSTypeRec* added = t.get();
        x.FTypes.push_back(std::move(t));
        if (build >= kFirstBuildWithTypeAttributes && !ReadAttributes(*added->FAttributes)) return false;
        return true;
    }

    std::unique_ptr<TPSTypeRec> ReadRecord(TPSError& err) {
        auto rec = std::make_unique<TPSTypeRec_Record>(&x, btRecord);
        uint32_t count = 0;
        if (!r.ReadU32(count) || count == 0) {
            err = erUnexpectedEof;
            return rec;
        }
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t n = 0;
            if (!r.ReadU32(n)) {
                err = erUnexpectedEof;
                return rec;
            }
            TPSTypeRec* f = EarlierType(n);
            if (!f) {
                err = ErOutOfRange;
                return rec;
            }
            rec->FFieldTypes.push_back(f);
        }
        return rec;
    }

    bool ReadProc() {
        uint8_t flags = 0;
        if (!r.ReadU8(flags)) return Fail(erUnexpectedEof);
        std::unique_ptr<TPSProcRec> proc;
        if (flags & procExternal) {
            auto ext = std::make_unique<TPSExternalProcRec>(&x);
            uint8_t len = 0;
            std::string_view name;
            if (!r.ReadU8(len) || !r.ReadBytes(len, name)) return Fail(erUnexpectedEof);
            ext->FName = std::string(name);
            if (flags & procExported) {
                uint32_t dlen = 0;
                std::string_view decl;
                if (!r.ReadU32(dlen) || dlen > r.Remaining() || !r.ReadBytes(dlen, decl))
                    return Fail(erUnexpectedEof);
                ext->FDecl = std::string(decl);
            }
            if (!x.BindExternalProc(ext->FName, *ext))
                return Fail(erCannotImport, ext->FName.empty() ? ext->FDecl : ext->FName);
            proc = std::move(ext);
        } else {
            auto in = std::make_unique<TPSInternalProcRec>(&x);
            uint32_t offset = 0, length = 0;
            if (!r.ReadU32(offset) || !r.ReadU32(length)) return Fail(erUnexpectedEof);
            const std::string_view all = r.Data();
            if (static_cast<int32_t>(offset) < 0 || offset >= all.size() || length == 0 ||
                length > all.size() - offset)
                return Fail(erUnexpectedEof);
            in->FData = std::string(all.substr(offset, length));
            in->FLength = length;
            if (flags & procExported) {
                std::string_view name, decl;
                if (!r.ReadString32(name, kMaxLongTextLength) || !r.ReadString32(decl, kMaxLongTextLength))
                    return Fail(erUnexpectedEof);
                in->FExportName = std::string(name);
                in->FExportDecl = std::string(decl);
                in->FExportNameHash = HashName(in->FExportName);
            }
            proc = std::move(in);
        }
        if ((flags & procAttributes) && !ReadAttributes(*proc->FAttributes)) return false;
        x.FProcs.push_back(std::move(proc));
        return true;
    }

    bool ReadVar() {
        uint32_t typeNo = 0;
        uint8_t flags = 0;
        if (!r.ReadU32(typeNo) || !r.ReadU8(flags)) return Fail(erUnexpectedEof);
        if (typeNo >= typeCount || typeNo >= x.FTypes.size()) return Fail(erInvalidType);
        const TPSTypeRec* t = x.FTypes[typeNo].get();
        if (t->FRealSize > kMaxLoadedValueSize) return Fail(erInvalidType);
        try {
            x.FGlobalVars.PushType(t);
        } catch (const std::exception&) {
            return Fail(erInvalidType);
        }
        if (flags & 1) {
            std::string_view name;
            if (!r.ReadString32(name, kMaxLongTextLength)) return Fail(erUnexpectedEof);
            // The variable's own number, so that a look-up by name finds this very variable.
            x.FExportedVars.push_back(
                {std::string(name), HashName(name), static_cast<uint32_t>(x.FGlobalVars.Count() - 1)});
        }
        return true;
    }

    bool ReadAttributes(TPSRuntimeAttributes& list) {
        uint32_t count = 0;
        if (!r.ReadU32(count)) return Fail(ErOutOfRange);
        for (uint32_t i = 0; i < count; ++i) {
            std::string_view name;
            uint32_t values = 0;
            if (!r.ReadString32(name, static_cast<uint32_t>(std::min<size_t>(r.Remaining(), UINT32_MAX))) ||
                !r.ReadU32(values))
                return Fail(ErOutOfRange);
            TPSRuntimeAttribute* a = list.Add();
            a->FAttribType = std::string(name);
            a->FAttribTypeHash = HashName(name);
            for (uint32_t v = 0; v < values; ++v)
                if (!ReadAttributeValue(*a)) return false;
            for (auto it = x.FAttributeTypes.rbegin(); it != x.FAttributeTypes.rend(); ++it) {
                if (it->FTypeNameHash != a->FAttribTypeHash || it->FTypeName != a->FAttribType) continue;
                if (it->FUseProc && !it->FUseProc(x, a->FAttribType, *a))
                    return Fail(erCustomError, std::string(kAttributeRefused) + a->FAttribType);
            }
        }
        return true;
    }

    bool ReadAttributeValue(TPSRuntimeAttribute& a) {
        uint32_t typeNo = 0;
        if (!r.ReadU32(typeNo) || typeNo >= x.FTypes.size()) return Fail(ErOutOfRange);
        const TPSTypeRec* t = x.FTypes[typeNo].get();
        uint32_t fixed = t->FBaseType == btProcPtr ? 0 : FixedConstantSize(t->FBaseType);
        if (t->FBaseType == btSet) fixed = static_cast<const TPSTypeRec_Set*>(t)->FByteSize;
        const bool counted = t->FBaseType == btString || t->FBaseType == btPChar ||
                             t->FBaseType == btWideString || t->FBaseType == btUnicodeString;
        if (fixed == 0 && !counted && t->FBaseType != btProcPtr && t->FBaseType != btSet)
            return Fail(erInvalidType);
        TPSVariant* v = a.AddValue(t);
        void* data = v->Data();
        std::string_view bytes;
        bool ok = true;
        if (fixed > 0 || t->FBaseType == btSet) {
            ok = r.ReadBytes(fixed, bytes);
            if (ok) std::memcpy(data, bytes.data(), fixed);
        } else if (t->FBaseType == btString || t->FBaseType == btPChar) {
            ok = r.ReadString32(bytes);
            if (ok) AnsiString::RawSet(data, AnsiString(bytes));
        } else if (t->FBaseType == btProcPtr) {
            uint32_t procNo = 0;
            ok = r.ReadU32(procNo);
            if (ok) Store(data, ProcPtrValue{procNo, 0, nullptr, nullptr});
        } else {
            uint32_t count = 0;
            ok = r.ReadU32(count) && count <= r.Remaining() / 2 && r.ReadBytes(size_t{count} * 2, bytes);
            if (ok) {
                UnicodeString s;
                s.SetLength(static_cast<int32_t>(count));
                if (count > 0) std::memcpy(s.UniqueData(), bytes.data(), bytes.size());
                UnicodeString::RawSet(data, s);
            }
        }
        if (!ok) {
            a.DeleteValue(a.ValueCount() - 1);
            return Fail(ErOutOfRange);
        }
        return true;
    }

    TPSExec& x;
    ByteReader r;
    uint32_t build = 0, typeCount = 0, procCount = 0, varCount = 0, mainProc = 0;
};

bool TPSExec::LoadData(std::string_view s) {
    Clear();
    Loader loader(*this, s);
    bool ok = false;
    try {
        ok = loader.Run();
    } catch (const std::bad_alloc&) {
        CMD_Err(erOutOfMemory);
    }
    if (!ok) Clear();
    return ok;
}

}  // namespace tv::script
