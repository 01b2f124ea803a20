#include "script/compiler/compile_types.h"

#include <cstring>

#include "script/common/byte_io.h"
#include "script/common/extended.h"

namespace tv::script {

TPSAttributeTypeField& TPSAttributeType::AddField() {
    TPSAttributeTypeField& f = Fields.emplace_back();
    f.Owner = this;
    return f;
}

void TPSAttributeType::DeleteField(size_t index) {
    if (index < Fields.size()) Fields.erase(Fields.begin() + static_cast<std::ptrdiff_t>(index));
}

TPSAttribute::TPSAttribute(const TPSAttribute& other) {
    *this = other;
}

TPSAttribute& TPSAttribute::operator=(const TPSAttribute& other) {
    if (this == &other) return *this;
    AttribType = other.AttribType;
    DeclarePos = other.DeclarePos;
    DeclareRow = other.DeclareRow;
    DeclareCol = other.DeclareCol;
    Values.clear();
    for (const auto& v : other.Values) Values.push_back(std::make_unique<TIfRVariant>(*v));
    return *this;
}

TPSAttribute& TPSAttributes::Add(TPSAttributeType* type) {
    auto a = std::make_unique<TPSAttribute>();
    a->AttribType = type;
    Items.push_back(std::move(a));
    return *Items.back();
}

void TPSAttributes::Delete(size_t index) {
    if (index < Items.size()) Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(index));
}

void TPSAttributes::Assign(TPSAttributes& from, bool move) {
    for (size_t i = from.Items.size(); i-- > 0;) {
        if (move)
            Items.push_back(std::move(from.Items[i]));
        else
            Items.push_back(std::make_unique<TPSAttribute>(*from.Items[i]));
    }
    if (move) from.Items.clear();
}

TPSAttribute* TPSAttributes::FindAttribute(const TPSAttributeType* type) {
    for (size_t i = Items.size(); i-- > 0;) {
        const TPSAttributeType* t = Items[i]->AttribType;
        if (t == type || (t && type && t->Name.Is(type->Name.NameHash, type->Name.Name)))
            return Items[i].get();
    }
    return nullptr;
}

bool TPSParametersDecl::Same(const TPSParametersDecl& other) const {
    if (other.Params.size() != Params.size() || other.Result != Result) return false;
    for (size_t i = 0; i < Params.size(); ++i)
        if (Params[i].Mode != other.Params[i].Mode || Params[i].aType != other.Params[i].aType) return false;
    return true;
}

uint32_t TPSSetType::GetBitSize() const {
    if (!SetType) return 0;
    if (SetType->BaseType == btU8 || SetType->BaseType == btChar) return 256;
    if (SetType->BaseType == btEnum) return static_cast<const TPSEnumType*>(SetType)->HighValue + 1;
    return 0;
}

uint8_t ContainerTypeCode(const TPSType* t) {
    switch (t->BaseType) {
        case btEnum: {
            uint32_t high = static_cast<const TPSEnumType*>(t)->HighValue;
            return high <= 255 ? btU8 : high <= 65535 ? btU16 : btU32;
        }
        case btType:
        case btNotificationVariant:
            return btU32;
        default:
            return t->BaseType;
    }
}

TIfRVariant::TIfRVariant(TPSType* type) : FType(type) {
    std::memset(&v, 0, sizeof v);
    if (type && type->BaseType == btSet) Str.assign(static_cast<TPSSetType*>(type)->GetByteSize(), '\0');
}

bool OrdinalValue(const TIfRVariant& v, int64_t& out) {
    switch (v.FType->BaseType) {
        case btU8:
            out = v.v.tu8;
            return true;
        case btS8:
            out = v.v.ts8;
            return true;
        case btU16:
            out = v.v.tu16;
            return true;
        case btS16:
            out = v.v.ts16;
            return true;
        case btU32:
        case btEnum:
            out = v.v.tu32;
            return true;
        case btS32:
            out = v.v.ts32;
            return true;
        case btS64:
            out = v.v.ts64;
            return true;
        case btChar:
            out = static_cast<uint8_t>(v.v.tchar);
            return true;
        case btWideChar:
            out = v.v.twidechar;
            return true;
        default:
            return false;
    }
}

void AppendTypedConstant(std::string& out, const TIfRVariant& value) {
    const TPSType* t = value.FType;
    auto typeNo = [](const TPSType* type) { return type ? static_cast<uint32_t>(type->FinalTypeNo) : 0u; };
    AppendU32(out, typeNo(t));
    switch (t->BaseType) {
        case btU8:
        case btS8:
        case btChar:
            AppendU8(out, value.v.tu8);
            break;
        case btU16:
        case btS16:
        case btWideChar:
            AppendU16(out, value.v.tu16);
            break;
        case btU32:
        case btS32:
        case btSingle:
        case btProcPtr:
            AppendU32(out, value.v.tu32);
            break;
        case btDouble:
        case btS64:
        case btCurrency:
            AppendU64(out, static_cast<uint64_t>(value.v.ts64));
            break;
        case btExtended: {
            ExtendedBytes b = EncodeExtended(value.v.textended);
            out.append(reinterpret_cast<const char*>(b.data()), b.size());
            break;
        }
        case btString:
        case btPChar:
            AppendString32(out, value.Str);
            break;
        case btWideString:
        case btUnicodeString:
            AppendU32(out, static_cast<uint32_t>(value.WStr.size()));
            for (char16_t c : value.WStr) AppendU16(out, c);
            break;
        case btSet:
            out += value.Str;
            break;
        case btEnum: {
            uint8_t code = ContainerTypeCode(t);
            if (code == btU8)
                AppendU8(out, static_cast<uint8_t>(value.v.tu32));
            else if (code == btU16)
                AppendU16(out, static_cast<uint16_t>(value.v.tu32));
            else
                AppendU32(out, value.v.tu32);
            break;
        }
        case btType:
            AppendU32(out, typeNo(value.v.ttype));
            break;
        default:
            break;
    }
}

}  // namespace tv::script
