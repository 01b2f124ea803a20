#pragma once
// Host classes and interfaces as the compiler knows them. A host declares a class's methods,
// constructors and properties by declaration text; each member a script uses becomes, on first use,
// a host routine of the compiled script whose declaration names the member ("class:C|N|...",
// "intf:." + slot), which the runtime binds when it loads the script.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/common/bytecode.h"
#include "script/compiler/compile_types.h"

namespace tv::script {

class TPSPascalParser;

enum TPSPropType : uint8_t { iptRW = 0, iptR = 1, iptW = 2 };

enum class TPSClassItemKind : uint8_t { Method, Constructor, Property };

// One member of a host class.
class TPSNativeClassItem {
public:
    explicit TPSNativeClassItem(TPSClassItemKind kind) : Kind(kind) {}
    bool IsMethod() const { return Kind != TPSClassItemKind::Property; }

    const TPSClassItemKind Kind;
    TPSCompileTimeClass* Owner = nullptr;
    TPSName Name;
    TPSParametersDecl Decl;   // a property: its type as result, one parameter per index
    int32_t MethodNo = -1;    // methods and constructors: the procedure, once called
    int32_t ReadProcNo = -1;  // properties
    int32_t WriteProcNo = -1;
    TPSPropType AccessType = iptRW;
};

class TPSCompileTimeClass {
public:
    TPSCompileTimeClass(std::string_view className, TPSClassType* type, TPSPascalCompiler& owner);

    // Parses a "procedure", "function" or "constructor" heading; false (and nothing registered)
    // when it does not parse against the types known now.
    bool RegisterMethod(std::string_view decl);
    // `typeText`: the property's type, then one type per index parameter, separated by blanks. An
    // unknown type name drops the property silently.
    void RegisterProperty(std::string_view name, std::string_view typeText, TPSPropType access);
    // Raises EPSCompilerException when the member is missing, not a property, or has no index.
    void SetDefaultPropery(std::string_view name);

    // Searches this class's members from the last to the first, then the ancestors'.
    TPSNativeClassItem* Func_Find(std::string_view upperName);       // methods and constructors
    TPSNativeClassItem* ClassFunc_Find(std::string_view upperName);  // constructors
    // With an empty name: the default property of the nearest class that has one.
    TPSNativeClassItem* Property_Find(std::string_view upperName);

    // The procedure number for a use of a member, made on first use; false when not allowed.
    bool Func_Call(TPSNativeClassItem& item, int32_t& procNo);
    bool ClassFunc_Call(TPSNativeClassItem& item, int32_t& procNo);
    bool Property_Get(TPSNativeClassItem& item, int32_t& procNo);
    bool Property_Set(TPSNativeClassItem& item, int32_t& procNo);
    bool CastToType(TPSType* intoType, int32_t& procNo);
    bool SetNil(int32_t& procNo);
    // Marks the property's declaration types used and copies the declaration.
    void Property_GetHeader(TPSNativeClassItem& item, TPSParametersDecl& dest);
    // True for a host class type whose class is this one or derives from it.
    bool IsCompatibleWith(const TPSType* type) const;
    bool InheritsFrom(const TPSCompileTimeClass* other) const;

    TPSType* aType() const { return type_; }
    size_t Count() const { return ClassItems.size(); }

    TPSCompileTimeClass* ClassInheritsFrom = nullptr;
    std::string ClassName;  // upper case
    uint32_t ClassNameHash;
    std::vector<std::unique_ptr<TPSNativeClassItem>> ClassItems;
    int32_t DefaultProperty = -1;
    bool IsAbstract = false;
    int32_t CastProc = -1;
    int32_t NilProc = -1;

private:
    TPSNativeClassItem* FindOwn(std::string_view upperName, bool (*accept)(const TPSNativeClassItem&));
    std::string MemberDecl(const TPSNativeClassItem& item, bool write) const;

    TPSClassType* type_;
    TPSPascalCompiler& owner_;
};

class TPSInterface;

struct TPSInterfaceMethod {
    // The method's slot: its position plus the number of methods of every ancestor.
    int32_t AbsoluteProcOffset();

    TPSName Name;
    TPSParametersDecl Decl;
    TPSCallingConvention CC = cdRegister;
    int32_t ScriptProcNo = -1;
    TPSInterface* Owner = nullptr;
    int32_t OffsetCache = -1;
};

using TPSGuid = std::array<uint8_t, 16>;

class TPSInterface {
public:
    TPSInterface(TPSPascalCompiler& owner, TPSInterface* inheritedFrom, const TPSGuid& guid,
                 std::string_view name, TPSInterfaceType* type);

    // The method is appended even when the text does not parse (the answer is then false), so it
    // keeps its place in the slot numbering.
    bool RegisterMethod(std::string_view decl, TPSCallingConvention cc);
    bool RegisterMethodEx(std::string_view decl, TPSCallingConvention cc, TPSPascalParser* parser);
    void RegisterDummyMethod();
    TPSInterfaceMethod* Func_Find(std::string_view upperName);
    bool Func_Call(TPSInterfaceMethod& method, int32_t& procNo);
    bool CastToType(TPSType* intoType, int32_t& procNo);
    bool SetNil(int32_t& procNo);
    bool IsCompatibleWith(const TPSType* type) const;
    bool InheritsFrom(const TPSInterface* other) const;
    void SetInheritedFrom(TPSInterface* p) { InheritedFrom = p; }

    TPSInterfaceType* aType() const { return type_; }

    TPSInterface* InheritedFrom;
    TPSGuid Guid;
    int32_t CastProc = -1;
    int32_t NilProc = -1;
    std::vector<std::unique_ptr<TPSInterfaceMethod>> Items;
    TPSName Name;

private:
    TPSPascalCompiler& owner_;
    TPSInterfaceType* type_;
};

// An extension point for a further kind of object (type code 131). The base answers false, or no
// type, to everything; this program registers no descendant.
class TPSExternalClass {
public:
    TPSExternalClass(TPSPascalCompiler& se, TPSType* typeNo) : SE(se), TypeNo(typeNo) {}
    virtual ~TPSExternalClass() = default;
    virtual TPSType* SelfType() { return nullptr; }
    virtual bool ClassFunc_Find(std::string_view name, int32_t& index) { return false; }
    virtual bool ClassFunc_Call(int32_t index, int32_t& procNo) { return false; }
    virtual bool Func_Find(std::string_view name, int32_t& index) { return false; }
    virtual bool Func_Call(int32_t index, int32_t& procNo) { return false; }
    virtual bool IsCompatibleWith(TPSExternalClass* other) { return false; }
    virtual bool SetNil(int32_t& procNo) { return false; }
    virtual bool CastToType(TPSType* intoType, int32_t& procNo) { return false; }
    virtual bool CompareClass(TPSType* otherType, int32_t& procNo) { return false; }

    TPSPascalCompiler& SE;
    TPSType* TypeNo;
};

}  // namespace tv::script
