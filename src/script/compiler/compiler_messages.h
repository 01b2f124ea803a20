#pragma once
// What a compile reports: errors, hints and warnings with their codes, fixed texts and source
// positions, and the exception the host registration interface raises when it is misused.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

namespace tv::script {

enum TPSPascalCompilerErrorType : uint8_t {
    ecUnknownIdentifier,
    ecIdentifierExpected,
    ecCommentError,
    ecStringError,
    ecCharError,
    ecSyntaxError,
    ecUnexpectedEndOfFile,
    ecSemicolonExpected,
    ecBeginExpected,
    ecPeriodExpected,
    ecDuplicateIdentifier,
    ecColonExpected,
    ecUnknownType,
    ecCloseRoundExpected,
    ecTypeMismatch,
    ecInternalError,
    ecAssignmentExpected,
    ecThenExpected,
    ecDoExpected,
    ecNoResult,
    ecOpenRoundExpected,
    ecCommaExpected,
    ecToExpected,
    ecIsExpected,
    ecOfExpected,
    ecCloseBlockExpected,
    ecVariableExpected,
    ecStringExpected,
    ecEndExpected,
    ecUnSetLabel,
    ecNotInLoop,
    ecInvalidJump,
    ecOpenBlockExpected,
    ecWriteOnlyProperty,
    ecReadOnlyProperty,
    ecClassTypeExpected,
    ecCustomError,
    ecDivideByZero,
    ecMathError,
    ecUnsatisfiedForward,
    ecForwardParameterMismatch,
    ecInvalidnumberOfParameters,
    ecUnClosedAttributes,
};

enum TPSPascalCompilerHintType : uint8_t { ehVariableNotUsed, ehFunctionNotUsed, ehCustomHint };

enum TPSPascalCompilerWarningType : uint8_t {
    ewCalculationAlwaysEvaluatesTo,
    ewIsNotNeeded,
    ewAbstractClass,
    ewCustomWarning,
};

// One message of a compile, positioned at the parser's position when it was recorded.
class TPSPascalCompilerMessage {
public:
    virtual ~TPSPascalCompilerMessage() = default;
    // "Error", "Hint" or "Warning".
    virtual std::string ErrorType() const = 0;
    // The text of the code, "%s" replaced by the parameter.
    virtual std::string ShortMessageToString() const = 0;
    // "[" + ErrorType + "] " + module + "(" + row + ":" + col + "): " + short text.
    std::string MessageToString() const;
    void SetCustomPos(uint32_t pos, uint32_t row, uint32_t col) {
        Pos = pos;
        Row = row;
        Col = col;
    }

    uint32_t Row = 0;
    uint32_t Col = 0;
    uint32_t Pos = 0;
    std::string ModuleName;
    std::string Param;
};

class TPSPascalCompilerError : public TPSPascalCompilerMessage {
public:
    explicit TPSPascalCompilerError(TPSPascalCompilerErrorType e) : Error(e) {}
    std::string ErrorType() const override { return "Error"; }
    std::string ShortMessageToString() const override;
    TPSPascalCompilerErrorType Error;
};

class TPSPascalCompilerHint : public TPSPascalCompilerMessage {
public:
    explicit TPSPascalCompilerHint(TPSPascalCompilerHintType h) : Hint(h) {}
    std::string ErrorType() const override { return "Hint"; }
    std::string ShortMessageToString() const override;
    TPSPascalCompilerHintType Hint;
};

class TPSPascalCompilerWarning : public TPSPascalCompilerMessage {
public:
    explicit TPSPascalCompilerWarning(TPSPascalCompilerWarningType w) : Warning(w) {}
    std::string ErrorType() const override { return "Warning"; }
    std::string ShortMessageToString() const override;
    TPSPascalCompilerWarningType Warning;
};

// The text of a code with "%s" replaced by `param`; "Unknown error/hint/warning" for other values.
std::string CompilerErrorText(int code, std::string_view param);
std::string CompilerHintText(int code, std::string_view param);
std::string CompilerWarningText(int code, std::string_view param);

// Raised by the registration interface when a host misuses it.
TV_DECLARE_EXCEPTION(EPSCompilerException, Exception);

// Texts of EPSCompilerException.
inline constexpr std::string_view kOnlyInUses =
    "This function can only be called from within the OnUses event";
inline constexpr std::string_view kDuplicateIdentifier = "Duplicate identifier '%s'";
// The custom error of a text nested (or chained) too deeply to compile.
inline constexpr std::string_view kNestingTooDeep = "Nesting too deep";
inline constexpr std::string_view kUnableToRegisterType = "Unable to register type %s";
inline constexpr std::string_view kInvalidType = "Invalid Type";
inline constexpr std::string_view kUnableToRegisterFunction = "Unable to register function %s";
inline constexpr std::string_view kUnableToRegisterConst = "Unable to register constant %s";
inline constexpr std::string_view kInvalidTypeForVariable = "Invalid type for variable %s";
inline constexpr std::string_view kUnknownInterface = "Unknown interface: %s";
inline constexpr std::string_view kUnknownProperty = "Unknown Property : '%s'";
inline constexpr std::string_view kNotAProperty = "Not a property : '%s'";
inline constexpr std::string_view kNotAnArrayProperty = "Not an array property : '%s'";
inline constexpr std::string_view kConstantValueTypeMismatch = "Constant Value Type Mismatch";
inline constexpr std::string_view kConstantValueNotAssigned = "Constant Value is not assigned";

// `pattern` with its one "%s" replaced by `arg`.
std::string FormatOne(std::string_view pattern, std::string_view arg);

}  // namespace tv::script
