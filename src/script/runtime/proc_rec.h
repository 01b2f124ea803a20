#pragma once
// The procedures of a loaded script: script procedures with their code, and host routines bound
// at load time to a handler that reads its arguments from the value stack.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/runtime/attributes.h"

namespace tv::script {

class TPSExec;
class TPSExternalProcRec;
namespace decoded {
class Code;
}

// A host routine as the interpreter calls it: the executor, the procedure record (its two words
// and declaration), the global variables and the value stack holding the arguments. False without
// a recorded error makes the interpreter raise "Could not call proc".
using TPSProcPtr = bool (*)(TPSExec& caller, TPSExternalProcRec& p, TPSStack& global, TPSStack& stack);

class TPSProcRec {
public:
    explicit TPSProcRec(TPSExec* owner) : FAttributes(std::make_unique<TPSRuntimeAttributes>(owner)) {}
    virtual ~TPSProcRec() = default;
    virtual bool IsExternal() const = 0;
    std::unique_ptr<TPSRuntimeAttributes> FAttributes;
};

// A constant of the code decoded once: its value and the bytes its operand takes.
struct TPSCachedConstant {
    struct TPSVariant* Value;
    uint32_t Length;
};

class TPSInternalProcRec : public TPSProcRec {
public:
    using TPSProcRec::TPSProcRec;
    ~TPSInternalProcRec() override;
    bool IsExternal() const override { return false; }
    std::string FData;  // the code
    uint32_t FLength = 0;
    uint32_t FExportNameHash = 0;
    std::string FExportDecl;
    std::string FExportName;
    // Constants of the code decoded once: by the position of their operand, 1 + the index in
    // Constants (0: not decoded yet).
    std::vector<uint32_t> ConstantSlots;
    std::vector<TPSCachedConstant> Constants;
    // The code decoded for running (decoded_code.h), made on the procedure's first run.
    std::unique_ptr<decoded::Code> Decoded;
};

class TPSExternalProcRec : public TPSProcRec {
public:
    using TPSProcRec::TPSProcRec;
    bool IsExternal() const override { return true; }
    void* FExt1 = nullptr;
    void* FExt2 = nullptr;
    std::string FName;
    TPSProcPtr FProcPtr = nullptr;
    std::string FDecl;
};

}  // namespace tv::script
