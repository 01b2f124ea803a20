#include "script/compiler/compiler_messages.h"

#include <gtest/gtest.h>

namespace tv::script {
namespace {

TEST(CompilerMessages, ErrorTexts) {
    const char* expected[] = {"Unknown identifier 'P'",
                              "Identifier expected",
                              "Comment error",
                              "String error",
                              "Char error",
                              "Syntax error",
                              "Unexpected end of file",
                              "Semicolon (';') expected",
                              "'BEGIN' expected",
                              "period ('.') expected",
                              "Duplicate identifier 'P'",
                              "colon (':') expected",
                              "Unknown type 'P'",
                              "Closing parenthesis expected",
                              "Type mismatch",
                              "Internal error (P)",
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
                              "Label 'P' not set",
                              "Not in a loop",
                              "Invalid jump",
                              "Opening square brackets ('[') expected",
                              "Write-only property",
                              "Read-only property",
                              "Class type expected",
                              "P",
                              "Divide by Zero",
                              "Math Error",
                              "Unsatisfied Forward P",
                              "Forward Parameter Mismatch",
                              "Invalid number of parameters",
                              "Attributes not closed"};
    static_assert(std::size(expected) == 43);
    for (int code = 0; code < 43; ++code) EXPECT_EQ(CompilerErrorText(code, "P"), expected[code]) << code;
    EXPECT_EQ(CompilerErrorText(43, "P"), "Unknown error");
    EXPECT_EQ(CompilerErrorText(-1, "P"), "Unknown error");
}

TEST(CompilerMessages, HintAndWarningTexts) {
    EXPECT_EQ(CompilerHintText(ehVariableNotUsed, "X"), "Variable 'X' never used");
    EXPECT_EQ(CompilerHintText(ehFunctionNotUsed, "F"), "Function 'F' never used");
    EXPECT_EQ(CompilerHintText(ehCustomHint, "own"), "own");
    EXPECT_EQ(CompilerHintText(3, "x"), "Unknown hint");
    EXPECT_EQ(CompilerWarningText(ewCalculationAlwaysEvaluatesTo, "False"),
              "Calculation always evaluates to False");
    EXPECT_EQ(CompilerWarningText(ewIsNotNeeded, "\"True and\""), "\"True and\" is not needed");
    EXPECT_EQ(CompilerWarningText(ewAbstractClass, "x"), "Abstract Class Construction");
    EXPECT_EQ(CompilerWarningText(ewCustomWarning, "own"), "own");
    EXPECT_EQ(CompilerWarningText(4, "x"), "Unknown warning");
}

TEST(CompilerMessages, MessageToStringShowsKindModuleRowAndColumn) {
    TPSPascalCompilerError e(ecSemicolonExpected);
    e.Row = 3;
    e.Col = 7;
    EXPECT_EQ(e.MessageToString(), "[Error] (3:7): Semicolon (';') expected");
    e.ModuleName = "IMPORT";
    EXPECT_EQ(e.MessageToString(), "[Error] IMPORT(3:7): Semicolon (';') expected");
    TPSPascalCompilerHint h(ehVariableNotUsed);
    h.Param = "X";
    h.Row = 1;
    h.Col = 5;
    EXPECT_EQ(h.MessageToString(), "[Hint] (1:5): Variable 'X' never used");
    TPSPascalCompilerWarning w(ewAbstractClass);
    EXPECT_EQ(w.MessageToString(), "[Warning] (0:0): Abstract Class Construction");
}

}  // namespace
}  // namespace tv::script
