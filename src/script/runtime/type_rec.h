#pragma once
// Run-time type records: the type of every script value. A value is raw bytes at an address,
// described by its type record; records and static arrays hold their parts inline, fields packed
// without padding. Sizes are those of this 64-bit process where a value holds an address or a
// reference; ScriptSize keeps the size the type has in the 32-bit layout scripts were written for.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/interface.h"
#include "script/common/bytecode.h"

namespace tv::script {

class TPSExec;
class TPSRuntimeAttributes;

class TPSTypeRec {
public:
    TPSTypeRec(TPSExec* owner, uint8_t baseType);
    virtual ~TPSTypeRec();
    TPSTypeRec(const TPSTypeRec&) = delete;
    TPSTypeRec& operator=(const TPSTypeRec&) = delete;

    // Sets FRealSize and ScriptSize from the base type (and the parts, for the derived records).
    virtual void CalcSize();
    // True when values of this type hold references that must be released.
    bool IsManaged() const { return fManaged; }

    uint32_t FExportNameHash = 0;
    std::string FExportName;
    uint8_t FBaseType;
    std::unique_ptr<TPSRuntimeAttributes> FAttributes;
    uint32_t FRealSize = 0;   // bytes of a value in this process
    uint32_t ScriptSize = 0;  // bytes of a value in the 32-bit layout (what SizeOf reports)

protected:
    bool fManaged = false;
};

class TPSTypeRec_Record : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    void CalcSize() override;
    std::vector<TPSTypeRec*> FFieldTypes;
    std::vector<uint32_t> FRealFieldOffsets;
};

class TPSTypeRec_Array : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    void CalcSize() override;
    TPSTypeRec* FArrayType = nullptr;  // the element type
};

class TPSTypeRec_StaticArray : public TPSTypeRec_Array {
public:
    using TPSTypeRec_Array::TPSTypeRec_Array;
    void CalcSize() override;
    uint32_t FSize = 0;        // element count
    int32_t FStartOffset = 0;  // the index of the first element as declared
};

class TPSTypeRec_Set : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    void CalcSize() override;
    uint32_t FBitSize = 0;
    uint32_t FByteSize = 0;
};

class TPSTypeRec_Class : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    std::string FCN;  // the class name
};

class TPSTypeRec_Interface : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    TGUID FGuid;
};

class TPSTypeRec_ProcPtr : public TPSTypeRec {
public:
    using TPSTypeRec::TPSTypeRec;
    std::string FParamInfo;  // result byte, then one byte per parameter (1: by reference)
};

// True for the base types whose values hold references (strings, arrays, pointers that own a copy,
// variants, interfaces, records and static arrays that contain such values).
bool IsManagedBaseType(uint8_t baseType);

}  // namespace tv::script
