#include "script/compiler/compiler_messages.h"

#include <array>

namespace tv::script {

namespace {

constexpr std::array<std::string_view, 43> kErrorTexts = {
    "Unknown identifier '%s'",
    "Identifier expected",
    "Comment error",
    "String error",
    "Char error",
    "Syntax error",
    "Unexpected end of file",
    "Semicolon (';') expected",
    "'BEGIN' expected",
    "period ('.') expected",
    "Duplicate identifier '%s'",
    "colon (':') expected",
    "Unknown type '%s'",
    "Closing parenthesis expected",
    "Type mismatch",
    "Internal error (%s)",
    "Assignment expected",
    "'THEN' expected",
    "'DO' expected",
    "No result",
    "opening parenthesis ('(')expected",
    "comma (',') expected",
    "'TO' expected",
    "is ('=') expected",
    "'OF' expected",
    "Closing square bracket (']') expected",
    "Variable Expected",
    "String Expected",
    "'END' expected",
    "Label '%s' not set",
    "Not in a loop",
    "Invalid jump",
    "Opening square brackets ('[') expected",
    "Write-only property",
    "Read-only property",
    "Class type expected",
    "%s",
    "Divide by Zero",
    "Math Error",
    "Unsatisfied Forward %s",
    "Forward Parameter Mismatch",
    "Invalid number of parameters",
    "Attributes not closed",
};

constexpr std::array<std::string_view, 3> kHintTexts = {
    "Variable '%s' never used",
    "Function '%s' never used",
    "%s",
};

constexpr std::array<std::string_view, 4> kWarningTexts = {
    "Calculation always evaluates to %s",
    "%s is not needed",
    "Abstract Class Construction",
    "%s",
};

template <size_t N>
std::string TextOf(const std::array<std::string_view, N>& texts, int code, std::string_view param,
                   std::string_view unknown) {
    if (code < 0 || static_cast<size_t>(code) >= N) return std::string(unknown);
    return FormatOne(texts[static_cast<size_t>(code)], param);
}

}  // namespace

std::string FormatOne(std::string_view pattern, std::string_view arg) {
    size_t at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    std::string out;
    out.reserve(pattern.size() + arg.size());
    out.append(pattern.substr(0, at)).append(arg).append(pattern.substr(at + 2));
    return out;
}

std::string CompilerErrorText(int code, std::string_view param) {
    return TextOf(kErrorTexts, code, param, "Unknown error");
}
std::string CompilerHintText(int code, std::string_view param) {
    return TextOf(kHintTexts, code, param, "Unknown hint");
}
std::string CompilerWarningText(int code, std::string_view param) {
    return TextOf(kWarningTexts, code, param, "Unknown warning");
}

std::string TPSPascalCompilerMessage::MessageToString() const {
    std::string s;
    s.append("[").append(ErrorType()).append("] ").append(ModuleName);
    s.append("(").append(std::to_string(Row)).append(":").append(std::to_string(Col)).append("): ");
    return s.append(ShortMessageToString());
}

std::string TPSPascalCompilerError::ShortMessageToString() const {
    return CompilerErrorText(Error, Param);
}
std::string TPSPascalCompilerHint::ShortMessageToString() const {
    return CompilerHintText(Hint, Param);
}
std::string TPSPascalCompilerWarning::ShortMessageToString() const {
    return CompilerWarningText(Warning, Param);
}

}  // namespace tv::script
