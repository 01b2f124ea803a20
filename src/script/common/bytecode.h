#pragma once
// The compiled-script format, one source for the script compiler and the script runtime: base type
// codes, opcodes, operand kinds, operator bytes, exception-frame subcodes, container constants,
// variable numbering and calling conventions. bytecode_notes.md describes how the pieces fit.

#include <cstdint>
#include <string_view>

namespace tv::script {

// One byte per type. Codes 0-28 are the run-time codes; 0 exists only as the runtime's own
// return-address type and 27 only on the compile side. 129-131 and 255 are compile-time codes that
// the container never holds (an enumeration is written as 1, 3 or 5, a type value as 5).
enum BaseTypeCode : uint8_t {
    btReturnAddress = 0,
    btU8 = 1,  // also Boolean
    btS8 = 2,
    btU16 = 3,
    btS16 = 4,
    btU32 = 5,
    btS32 = 6,
    btSingle = 7,
    btDouble = 8,
    btExtended = 9,
    btString = 10,  // single-byte (Windows-1252) string
    btRecord = 11,
    btArray = 12,  // dynamic array
    btPointer = 13,
    btPChar = 14,
    btVariant = 16,
    btS64 = 17,
    btChar = 18,
    btWideString = 19,
    btWideChar = 20,
    btProcPtr = 21,
    btStaticArray = 22,
    btSet = 23,
    btCurrency = 24,  // 64-bit integer holding the amount times 10000
    btClass = 25,
    btInterface = 26,
    btNotificationVariant = 27,
    btUnicodeString = 28,
    // Compile side only.
    btEnum = 129,
    btType = 130,      // a type used as a value
    btExtClass = 131,  // a class of an external class provider
    btTypeLink = 255,  // an alias of another type
};

// True for the codes a container may hold in a type record.
constexpr bool IsContainerTypeCode(uint8_t code) {
    return (code >= 1 && code <= 14) || (code >= 16 && code <= 26) || code == 28;
}
// The integer codes of 8, 16 and 32 bits: what Booleans and enumerations are at run time, and what a
// jump condition, a flag or an element index must be.
constexpr bool IsNarrowIntegerCode(uint8_t c) {
    return c >= btU8 && c <= btS32;
}
constexpr bool IsIntegerCode(uint8_t c) {
    return IsNarrowIntegerCode(c) || c == btS64;
}
// The ordinal types as the compiler sees them: every integer (64-bit too), the characters and the
// enumerations (a compile-side code).
constexpr bool IsOrdinalTypeCode(uint8_t c) {
    return IsIntegerCode(c) || c == btChar || c == btWideChar || c == btEnum;
}
constexpr bool IsRealCode(uint8_t c) {
    return (c >= btSingle && c <= btExtended) || c == btCurrency;
}
constexpr bool IsNumericCode(uint8_t c) {
    return IsIntegerCode(c) || IsRealCode(c);
}
constexpr bool IsStringLikeCode(uint8_t c) {
    return c == btString || c == btChar || c == btWideString || c == btWideChar || c == btUnicodeString;
}
constexpr bool IsVariantLikeCode(uint8_t c) {
    return c == btVariant || c == btNotificationVariant;
}

// Byte size of a constant's value inside code and attribute lists, for the fixed-size codes; 0 for
// the codes whose value is counted text (10, 14, 19, 28) or a set image, and for codes that never
// appear as constants. Currency (8 bytes) is written by the compiler for host constants and must be
// accepted by the runtime.
constexpr uint32_t FixedConstantSize(uint8_t c) {
    switch (c) {
        case btU8:
        case btS8:
        case btChar:
            return 1;
        case btU16:
        case btS16:
        case btWideChar:
            return 2;
        case btU32:
        case btS32:
        case btSingle:
        case btProcPtr:
            return 4;
        case btDouble:
        case btS64:
        case btCurrency:
            return 8;
        case btExtended:
            return 10;
        default:
            return 0;
    }
}

// Instructions: an opcode byte followed by its operands (see bytecode_notes.md for each layout).
enum Opcode : uint8_t {
    opAssign = 0,         // destination, source
    opCalculate = 1,      // operator byte, destination, source
    opPushValue = 2,      // operand (never written by the compiler)
    opPushReference = 3,  // variable operand
    opPop = 4,
    opCall = 5,           // 32-bit procedure number
    opJump = 6,           // 32-bit distance
    opJumpIfNotZero = 7,  // 32-bit distance, operand
    opJumpIfZero = 8,     // 32-bit distance, operand
    opReturn = 9,
    opPushNew = 11,         // 32-bit type number
    opCompare = 12,         // comparison byte, destination, left, right
    opCallValue = 13,       // procedure-pointer operand
    opSetPointer = 14,      // pointer-variable operand, target operand
    opBooleanNot = 15,      // operand
    opNegate = 16,          // operand
    opSetFlag = 17,         // operand, invert byte
    opJumpIfFlag = 18,      // 32-bit distance
    opPushFrame = 19,       // four 32-bit distances: finally, except, second finally, end
    opPopFrame = 20,        // subcode byte (FrameSubcode)
    opBitwiseNot = 21,      // operand
    opSetPointerCopy = 22,  // pointer-variable operand, source operand
    opIncrement = 23,       // operand
    opDecrement = 24,       // operand
    opPopJump = 25,         // 32-bit distance (never written by the compiler)
    opPopPopJump = 26,      // 32-bit distance
    opNop = 255,
};

// Length of opPushFrame with its four distances.
inline constexpr uint32_t kPushFrameLength = 17;
// Length of opPushNew with its type number.
inline constexpr uint32_t kPushNewLength = 5;

// Operand kinds: a kind byte followed by a 32-bit value and, for kinds 1-3, more bytes.
enum OperandKind : uint8_t {
    okVariable = 0,         // variable number
    okConstant = 1,         // type number, then the value bytes
    okElementConstant = 2,  // variable number, 32-bit field number or 0-based element position
    okElementVariable = 3,  // variable number, variable number of the variable holding the position
};

// Operator byte of opCalculate. Integer division ("div") is written as calcDivide.
enum CalcOperator : uint8_t {
    calcAdd = 0,
    calcSubtract = 1,
    calcMultiply = 2,
    calcDivide = 3,
    calcModulo = 4,
    calcShl = 5,
    calcShr = 6,
    calcAnd = 7,
    calcOr = 8,
    calcXor = 9,
    calcAs = 10,
};

// Comparison byte of opCompare.
enum CompareOperator : uint8_t {
    cmpGreaterEqual = 0,
    cmpLessEqual = 1,
    cmpGreater = 2,
    cmpLess = 3,
    cmpNotEqual = 4,
    cmpEqual = 5,
    cmpIn = 6,
    cmpIs = 7,
};

// Subcode byte of opPopFrame. frameLeave is ours: break and continue leaving a try statement inside
// their loop (bytecode_notes.md, "Leaving a try statement early").
enum FrameSubcode : uint8_t {
    frameEndTry = 0,
    frameEndFinally = 1,
    frameEndExcept = 2,
    frameEndSecondFinally = 3,
    frameLeave = 4,
};

// Variable numbers in operands: globals below kFirstStackVariable; stack slots relative to the
// current procedure's stack base at kStackBaseVariable (locals above it, result and parameters below).
inline constexpr uint32_t kFirstStackVariable = 0x40000000;
inline constexpr uint32_t kStackBaseVariable = 0x60000000;
// Local variable or temporary number i (0-based, in the procedure's order of locals).
constexpr uint32_t LocalVariableNumber(uint32_t index) {
    return kStackBaseVariable + 1 + index;
}
// Parameter number n: 0 is a function's result, the declared parameters follow.
constexpr uint32_t ParameterVariableNumber(uint32_t n) {
    return kStackBaseVariable - 1 - n;
}

// The compiled-script container.
inline constexpr uint32_t kContainerMagic = 0x53504649;  // "IFPS"
inline constexpr uint32_t kContainerBuild = 23;          // written by the compiler
inline constexpr uint32_t kOldestReadableBuild = 12;     // the runtime reads 12..23
inline constexpr uint32_t kFirstBuildWithTypeAttributes = 21;
inline constexpr uint32_t kContainerHeaderSize = 28;
inline constexpr uint8_t kTypeExportedFlag = 0x80;
inline constexpr uint32_t kNoMainProc = 0xFFFFFFFF;

// Flags byte of a procedure record.
enum ProcFlags : uint8_t {
    procExternal = 1,    // a host routine
    procExported = 2,    // script procedure: export name and declaration follow; host routine:
                         // a declaration text follows its name
    procAttributes = 4,  // an attribute list follows
};

// Limits the runtime's loader enforces and the compiler therefore keeps.
inline constexpr uint32_t kMaxSetBits = 256;
inline constexpr uint32_t kStaticArrayLengthLimit = 0x20000000;  // exclusive
inline constexpr uint32_t kShortTextLimit = 256;                 // class names, procedure-pointer data
inline constexpr uint32_t kMaxLongTextLength = 0x40000000;       // names and declarations as string32
inline constexpr uint32_t kMaxString8Length = 255;               // host routine names

// Calling conventions named in member declarations.
enum TPSCallingConvention : uint8_t {
    cdRegister = 0,
    cdPascal = 1,
    cdCdecl = 2,
    cdStdCall = 3,
    cdSafeCall = 4
};

// Records of the debug-information stream.
enum DebugRecord : uint8_t {
    dbgProcNames = 0,
    dbgVarNames = 1,
    dbgParamNames = 2,
    dbgLocalNames = 3,
    dbgPosition = 4,
};
inline constexpr char kDebugNameEnd = 1;
inline constexpr char kDebugListEnd = 0;

// Names the compiler writes and the runtime binds.
inline constexpr std::string_view kMainProcName = "!MAIN";
inline constexpr std::string_view kOpenArrayPrefix = "!OPENARRAY";
inline constexpr std::string_view kAssignedProcName = "!ASSIGNED";
inline constexpr std::string_view kNotificationSetProcName = "!NOTIFICATIONVARIANTSET";
inline constexpr std::string_view kNotificationGetProcName = "!NOTIFICATIONVARIANTGET";
inline constexpr std::string_view kClassDeclPrefix = "class:";
inline constexpr std::string_view kInterfaceDeclPrefix = "intf:";
inline constexpr std::string_view kBooleanTypeName = "BOOLEAN";
inline constexpr std::string_view kDateTimeTypeName = "TDATETIME";

}  // namespace tv::script
