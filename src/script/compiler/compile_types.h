#pragma once
// The compiler's model of types: the type classes with their base codes, parameter lists,
// attributes and the typed constant value (TIfRVariant). Types live in the compiler's type table for
// the duration of one compile; everything here refers to them by plain pointers.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/common/bytecode.h"
#include "script/common/names.h"
#include "script/compiler/name_index.h"

namespace tv::script {

class TPSPascalCompiler;
class TPSCompileTimeClass;
class TPSInterface;
class TPSExternalClass;
class TPSProcedure;
class TPSType;
struct TIfRVariant;

// A name as written, its upper-case form and the hash of that form. The name of an entry of one of
// the compiler's name tables changes through Set only, which tells the table's index.
struct TPSName {
    std::string OrgName;
    std::string Name;
    uint32_t NameHash = 0;
    TNameIndexLink Link;
    void Set(std::string_view orgName) {
        OrgName.assign(orgName);
        Name = AsciiUpperCase(orgName);
        NameHash = HashName(Name);
        Link.Renamed(NameHash);
    }
    bool Is(uint32_t hash, std::string_view upperName) const { return NameHash == hash && Name == upperName; }
};

// --- attributes ---

class TPSAttributeType;
struct TPSAttribute;
using TPSApplyAttributeToProc = std::function<bool(TPSPascalCompiler&, TPSProcedure&, TPSAttribute&)>;
using TPSApplyAttributeToType = std::function<bool(TPSPascalCompiler&, TPSType&, TPSAttribute&)>;

struct TPSAttributeTypeField {
    TPSAttributeType* Owner = nullptr;
    TPSName FieldName;
    TPSType* FieldType = nullptr;
    bool Hidden = false;
};

class TPSAttributeType {
public:
    TPSAttributeTypeField& AddField();
    void DeleteField(size_t index);
    size_t GetFieldCount() const { return Fields.size(); }

    std::vector<TPSAttributeTypeField> Fields;
    TPSName Name;
    TPSApplyAttributeToProc OnApplyAttributeToProc;  // FAAProc
    TPSApplyAttributeToType OnApplyAttributeToType;  // FAAType
};

struct TPSAttribute {
    TPSAttribute() = default;
    TPSAttribute(const TPSAttribute& other);
    TPSAttribute& operator=(const TPSAttribute& other);

    TPSAttributeType* AttribType = nullptr;
    std::vector<std::unique_ptr<TIfRVariant>> Values;  // one per field of the attribute type
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
};

class TPSAttributes {
public:
    TPSAttribute& Add(TPSAttributeType* type);
    void Delete(size_t index);
    // Copies (or with `move` moves) every attribute of `from`, from the last to the first.
    void Assign(TPSAttributes& from, bool move);
    // The last attribute of that type (by name hash and name), or nullptr.
    TPSAttribute* FindAttribute(const TPSAttributeType* type);
    size_t Count() const { return Items.size(); }

    std::vector<std::unique_ptr<TPSAttribute>> Items;
};

// --- parameter lists ---

enum TPSParameterMode : uint8_t { pmIn, pmOut, pmInOut };

struct TPSParameterDecl {
    std::string OrgName;
    std::string Name;  // upper case
    TPSParameterMode Mode = pmIn;
    TPSType* aType = nullptr;  // nullptr: any type
    uint32_t DeclarePos = 0;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
    void SetOrgName(std::string_view s) {
        OrgName.assign(s);
        Name = AsciiUpperCase(s);
    }
};

class TPSParametersDecl {
public:
    TPSParameterDecl& AddParam() { return Params.emplace_back(); }
    // The other list has as many parameters, the identical result type, and per parameter the same
    // mode and the identical type.
    bool Same(const TPSParametersDecl& other) const;

    std::vector<TPSParameterDecl> Params;
    TPSType* Result = nullptr;  // nullptr for a procedure
};

// --- types ---

enum class TPSTypeKind : uint8_t {
    Plain,
    Variant,
    Record,
    Class,
    UndefinedClass,
    Interface,
    Procedural,
    Array,
    StaticArray,
    Set,
    Link,
    Enum,
};

class TPSType {
public:
    TPSType(TPSTypeKind kind, uint8_t baseType) : Kind(kind), BaseType(baseType) {}
    virtual ~TPSType() = default;
    TPSType(const TPSType&) = delete;
    TPSType& operator=(const TPSType&) = delete;

    // The name changes through here only, which tells the type table's index.
    void SetName(std::string_view orgName) {
        OriginalName.assign(orgName);
        Name = AsciiUpperCase(orgName);
        NameHash = HashName(Name);
        NameLink.Renamed(NameHash);
    }
    void Use() { Used = true; }

    const TPSTypeKind Kind;
    TNameIndexLink NameLink;
    uint32_t NameHash = 0;
    std::string Name;  // upper case, empty for unnamed types
    std::string OriginalName;
    uint8_t BaseType;
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
    bool Used = false;
    bool ExportName = false;
    TPSAttributes Attributes;
    int32_t FinalTypeNo = -1;
};

// The Variant type; its late-binding operations give what a member call on a Variant compiles to.
class TPSVariantType : public TPSType {
public:
    TPSVariantType() : TPSType(TPSTypeKind::Variant, btVariant) {}
};

struct TPSRecordFieldTypeDef {
    TPSName FieldName;
    TPSType* aType = nullptr;
};

class TPSRecordType : public TPSType {
public:
    TPSRecordType() : TPSType(TPSTypeKind::Record, btRecord) {}
    TPSRecordFieldTypeDef& AddRecVal() { return RecordSubVals.emplace_back(); }
    TPSRecordFieldTypeDef& RecVal(size_t i) { return RecordSubVals[i]; }
    size_t RecValCount() const { return RecordSubVals.size(); }

    std::vector<TPSRecordFieldTypeDef> RecordSubVals;
};

class TPSClassType : public TPSType {
public:
    TPSClassType() : TPSType(TPSTypeKind::Class, btClass) {}
    TPSCompileTimeClass* CL = nullptr;
};

class TPSUndefinedClassType : public TPSType {
public:
    TPSUndefinedClassType() : TPSType(TPSTypeKind::UndefinedClass, btExtClass) {}
    TPSExternalClass* ExtClass = nullptr;
};

class TPSInterfaceType : public TPSType {
public:
    TPSInterfaceType() : TPSType(TPSTypeKind::Interface, btInterface) {}
    TPSInterface* Intf = nullptr;
};

class TPSProceduralType : public TPSType {
public:
    TPSProceduralType() : TPSType(TPSTypeKind::Procedural, btProcPtr) {}
    TPSParametersDecl ProcDef;
};

class TPSArrayType : public TPSType {
public:
    TPSArrayType() : TPSType(TPSTypeKind::Array, btArray) {}
    TPSType* ArrayTypeNo = nullptr;  // element type; nullptr for an untyped array parameter type

protected:
    TPSArrayType(TPSTypeKind kind, uint8_t code) : TPSType(kind, code) {}
};

class TPSStaticArrayType : public TPSArrayType {
public:
    TPSStaticArrayType() : TPSArrayType(TPSTypeKind::StaticArray, btStaticArray) {}
    int32_t StartOffset = 0;
    uint32_t Length = 0;
};

class TPSSetType : public TPSType {
public:
    TPSSetType() : TPSType(TPSTypeKind::Set, btSet) {}
    uint32_t GetBitSize() const;
    uint32_t GetByteSize() const { return (GetBitSize() + 7) / 8; }
    TPSType* SetType = nullptr;  // element type
};

class TPSTypeLink : public TPSType {
public:
    TPSTypeLink() : TPSType(TPSTypeKind::Link, btTypeLink) {}
    TPSType* LinkTypeNo = nullptr;
};

class TPSEnumType : public TPSType {
public:
    TPSEnumType() : TPSType(TPSTypeKind::Enum, btEnum) {}
    uint32_t HighValue = 0;
};

// Follows one link step (the type a link names is never itself a link).
inline TPSType* Unlink(TPSType* t) {
    return t && t->BaseType == btTypeLink ? static_cast<TPSTypeLink*>(t)->LinkTypeNo : t;
}

// The element type of an array or static array, nullptr otherwise.
inline TPSType* ArrayElementType(const TPSType* t) {
    if (!t || (t->BaseType != btArray && t->BaseType != btStaticArray)) return nullptr;
    return static_cast<const TPSArrayType*>(t)->ArrayTypeNo;
}

// The container code of a type: an enumeration is 1, 3 or 5 by its highest value, a type value and
// the notification variant are 5; other codes are written as they are.
uint8_t ContainerTypeCode(const TPSType* t);

// --- typed constant value ---

// A typed compile-time value. The data is laid out by the type's base code: the integer and real
// fields of the union, `Str` for single-byte strings and set images, `WStr` for UTF-16 strings.
struct TIfRVariant {
    explicit TIfRVariant(TPSType* type);

    TPSType* FType;
    union Data {
        uint8_t tu8;
        int8_t ts8;
        uint16_t tu16;
        int16_t ts16;
        uint32_t tu32;
        int32_t ts32;
        float tsingle;
        double tdouble;
        long double textended;
        int64_t ts64;  // Int64, and Currency's raw amount times 10000
        char tchar;
        char16_t twidechar;
        TPSType* ttype;  // a type value
    } v;
    std::string Str;
    std::u16string WStr;
};

// The ordinal of an integer, character or enumeration value (sign-extended for the signed codes);
// false for any other value.
bool OrdinalValue(const TIfRVariant& value, int64_t& out);

// Appends a typed constant as code operands and attribute values carry it: the type's container
// number, then the value bytes by base code (see bytecode_notes.md). The type must be numbered.
void AppendTypedConstant(std::string& out, const TIfRVariant& value);

}  // namespace tv::script
