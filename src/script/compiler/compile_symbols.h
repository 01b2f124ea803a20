#pragma once
// The compiler's symbols: registered host routines, constants, global variables, and the procedures
// of a script (script procedures with their code, locals, labels and gotos, and the host routines the
// script uses).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/compiler/compile_types.h"

namespace tv::script {

// One host routine that scripts may call.
class TPSRegProc {
public:
    void SetName(std::string_view orgName) { Name.Set(orgName); }

    TPSName Name;
    TPSParametersDecl Decl;
    bool ExportName = false;  // the name is written into the container
    std::string ImportDecl;   // the bytes the runtime binds the routine by
};

// A constant with its typed value.
class TPSConstant {
public:
    void SetName(std::string_view orgName) { Name.Set(orgName); }

    // Setters by the value's base code; each raises EPSCompilerException "Constant Value is not
    // assigned" without a value and "Constant Value Type Mismatch" for a code it does not accept.
    void SetInt(int32_t v);
    void SetUInt(uint32_t v);
    void SetInt64(int64_t v);
    void SetExtended(long double v);
    void SetChar(char c);
    void SetWideChar(char16_t c);
    void SetString(std::string_view s);
    void SetWideString(std::u16string_view s);
    void SetUnicodeString(std::u16string_view s);
    void SetSet(std::string_view bytes);

    TPSName Name;
    std::unique_ptr<TIfRVariant> Value;
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;

private:
    TIfRVariant& Checked();
};

// A global variable.
class TPSVar {
public:
    void SetName(std::string_view orgName) { Name.Set(orgName); }
    void Use() { Used = true; }

    TPSName Name;
    TPSType* aType = nullptr;
    bool Used = false;
    std::string ExportName;  // written into the container when not empty
    bool SaveAsPointer = false;
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
};

// A local variable of a script procedure, or a compiler temporary (empty name).
struct TPSProcVar {
    TPSName Name;
    TPSType* aType = nullptr;
    bool Used = false;
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
};

struct TPSLabel {
    int32_t Position = -1;  // code position, -1 until placed
    uint32_t NameHash = 0;
    std::string Name;  // upper case
};

struct TPSGoto {
    uint32_t Position = 0;  // just after the jump's distance field
    uint32_t LabelIndex = 0;
};

class TPSProcedure {
public:
    virtual ~TPSProcedure() = default;
    virtual bool IsInternal() const = 0;
    TPSAttributes Attributes;
};

// A procedure written in the script.
class TPSInternalProcedure : public TPSProcedure {
public:
    bool IsInternal() const override { return true; }
    void Use() { Used = true; }
    void ResultUse() { ResultUsed = true; }
    void SetName(std::string_view orgName) { Name.Set(orgName); }

    TPSName Name;
    bool Forwarded = false;
    std::string Data;  // the procedure's code
    TPSParametersDecl Decl;
    std::vector<TPSProcVar> ProcVars;  // declared locals, then live temporaries
    bool Used = false;
    bool ResultUsed = false;
    std::vector<TPSLabel> Labels;
    std::vector<TPSGoto> Gotos;
    int32_t DeclarePos = -1;
    uint32_t DeclareRow = 0;
    uint32_t DeclareCol = 0;
};

// A host routine the script uses.
class TPSExternalProcedure : public TPSProcedure {
public:
    bool IsInternal() const override { return false; }
    TPSRegProc* RegProc = nullptr;
};

}  // namespace tv::script
