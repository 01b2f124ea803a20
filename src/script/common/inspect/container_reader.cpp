#include "script/common/inspect/container_reader.h"

#include "script/common/byte_io.h"
#include "script/common/bytecode.h"

namespace tv::script {

namespace {

bool Fail(std::string& error, std::string what) {
    error = std::move(what);
    return false;
}

bool SkipTypedValue(ByteReader& r, const Container& c, std::string& error) {
    uint32_t typeNo = 0;
    if (!r.ReadU32(typeNo) || typeNo >= c.types.size())
        return Fail(error, "attribute value type out of range");
    const ContainerType& t = c.types[typeNo];
    std::string_view s;
    uint32_t n = 0;
    switch (t.code) {
        case btString:
        case btPChar:
            return r.ReadString32(s) || Fail(error, "short attribute value");
        case btWideString:
        case btUnicodeString:
            if (!r.ReadU32(n) || !r.Skip(static_cast<size_t>(n) * 2))
                return Fail(error, "short attribute value");
            return true;
        case btSet:
            return r.Skip((t.setBits + 7) / 8) || Fail(error, "short attribute value");
        default:
            if (FixedConstantSize(t.code) == 0) return Fail(error, "attribute value of an invalid type");
            return r.Skip(FixedConstantSize(t.code)) || Fail(error, "short attribute value");
    }
}

bool ReadAttributes(ByteReader& r, const Container& c, uint32_t& count, std::string& error) {
    if (!r.ReadU32(count)) return Fail(error, "short attribute list");
    for (uint32_t i = 0; i < count; ++i) {
        std::string_view name;
        uint32_t values = 0;
        if (!r.ReadString32(name) || !r.ReadU32(values)) return Fail(error, "short attribute");
        for (uint32_t v = 0; v < values; ++v)
            if (!SkipTypedValue(r, c, error)) return false;
    }
    return true;
}

}  // namespace

bool ReadContainer(std::string_view bytes, Container& c, std::string& error) {
    ByteReader r(bytes);
    uint32_t magic = 0, typeCount = 0, procCount = 0, varCount = 0, importSize = 0;
    if (!r.ReadU32(magic) || !r.ReadU32(c.build) || !r.ReadU32(typeCount) || !r.ReadU32(procCount) ||
        !r.ReadU32(varCount) || !r.ReadU32(c.mainProc) || !r.ReadU32(importSize))
        return Fail(error, "short header");
    if (magic != kContainerMagic) return Fail(error, "bad magic");
    if (c.build < kOldestReadableBuild || c.build > kContainerBuild) return Fail(error, "unsupported build");
    for (uint32_t i = 0; i < typeCount; ++i) {
        ContainerType t;
        uint8_t code = 0;
        if (!r.ReadU8(code)) return Fail(error, "short type record");
        t.code = code & static_cast<uint8_t>(~kTypeExportedFlag);
        if (!IsContainerTypeCode(t.code)) return Fail(error, "type " + std::to_string(i) + ": invalid code");
        std::string_view s;
        switch (t.code) {
            case btRecord: {
                uint32_t n = 0;
                if (!r.ReadU32(n) || n == 0)
                    return Fail(error, "type " + std::to_string(i) + ": record without fields");
                for (uint32_t f = 0; f < n; ++f) {
                    uint32_t ft = 0;
                    if (!r.ReadU32(ft)) return Fail(error, "short record");
                    if (ft >= i)
                        return Fail(error, "type " + std::to_string(i) + ": field type not an earlier type");
                    t.fields.push_back(ft);
                }
                break;
            }
            case btArray:
                if (!r.ReadU32(t.elementType)) return Fail(error, "short array");
                if (t.elementType >= i)
                    return Fail(error, "type " + std::to_string(i) + ": element type not an earlier type");
                break;
            case btStaticArray:
                if (!r.ReadU32(t.elementType) || !r.ReadU32(t.length) ||
                    !r.ReadU32(reinterpret_cast<uint32_t&>(t.startIndex)))
                    return Fail(error, "short static array");
                if (t.elementType >= i)
                    return Fail(error, "type " + std::to_string(i) + ": element type not an earlier type");
                if (t.length >= kStaticArrayLengthLimit) return Fail(error, "static array too long");
                break;
            case btProcPtr:
            case btClass:
                if (!r.ReadString32(s, kShortTextLimit - 1))
                    return Fail(error, "type " + std::to_string(i) + ": bad text");
                t.data.assign(s);
                break;
            case btSet:
                if (!r.ReadU32(t.setBits)) return Fail(error, "short set");
                if (t.setBits > kMaxSetBits) return Fail(error, "set too large");
                break;
            case btInterface:
                if (!r.ReadBytes(16, s)) return Fail(error, "short interface");
                for (size_t k = 0; k < 16; ++k) t.guid[k] = static_cast<uint8_t>(s[k]);
                break;
            default:
                break;
        }
        if (code & kTypeExportedFlag) {
            if (!r.ReadString32(s, kMaxLongTextLength))
                return Fail(error, "type " + std::to_string(i) + ": bad export name");
            t.exportName.assign(s);
        }
        c.types.push_back(t);
        if (c.build >= kFirstBuildWithTypeAttributes &&
            !ReadAttributes(r, c, c.types.back().attributeCount, error))
            return false;
    }
    for (uint32_t i = 0; i < procCount; ++i) {
        ContainerProc p;
        if (!r.ReadU8(p.flags)) return Fail(error, "short procedure record");
        std::string_view s;
        if (p.flags & procExternal) {
            p.external = true;
            uint8_t len = 0;
            if (!r.ReadU8(len) || !r.ReadBytes(len, s)) return Fail(error, "short host routine name");
            p.name.assign(s);
            if ((p.flags & procExported) && !r.ReadString32(s, static_cast<uint32_t>(r.Remaining())))
                return Fail(error, "short host routine declaration");
            if (p.flags & procExported) p.decl.assign(s);
        } else {
            if (!r.ReadU32(p.codeOffset) || !r.ReadU32(p.codeLength))
                return Fail(error, "short procedure record");
            if (p.codeLength == 0 || p.codeOffset > bytes.size() ||
                p.codeLength > bytes.size() - p.codeOffset)
                return Fail(error, "procedure " + std::to_string(i) + ": code outside the container");
            p.code.assign(bytes.substr(p.codeOffset, p.codeLength));
            if (p.flags & procExported) {
                if (!r.ReadString32(s, kMaxLongTextLength)) return Fail(error, "short export name");
                p.name.assign(s);
                if (!r.ReadString32(s, kMaxLongTextLength)) return Fail(error, "short export declaration");
                p.decl.assign(s);
            }
        }
        if (p.flags & procAttributes) {
            uint32_t n = 0;
            if (!ReadAttributes(r, c, n, error)) return false;
        }
        c.procs.push_back(std::move(p));
    }
    for (uint32_t i = 0; i < varCount; ++i) {
        ContainerVar v;
        uint8_t flags = 0;
        if (!r.ReadU32(v.type) || !r.ReadU8(flags)) return Fail(error, "short variable record");
        if (v.type >= typeCount) return Fail(error, "variable " + std::to_string(i) + ": type out of range");
        if (flags & 1) {
            std::string_view s;
            if (!r.ReadString32(s)) return Fail(error, "short variable name");
            v.exportName.assign(s);
        }
        c.vars.push_back(std::move(v));
    }
    if (c.mainProc != kNoMainProc && c.mainProc >= procCount)
        return Fail(error, "main procedure out of range");
    return true;
}

}  // namespace tv::script
