#include <gtest/gtest.h>

#include "script/compiler/expr_nodes.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

const std::vector<std::string>& Units() {
    static const std::vector<std::string> files = ImportUnitFiles();
    return files;
}

// Runs `check` inside a compile, after the import units are declared.
void WithTypes(const std::function<void(TPSPascalCompiler&)>& check) {
    CompileResult r = CompileScript("begin end.", Units(), [&](TPSPascalCompiler& c) {
        auto registerUnits = c.OnUses;
        c.OnUses = [registerUnits, check](TPSPascalCompiler& comp, const std::string& unit) {
            bool ok = registerUnits(comp, unit);
            check(comp);
            return ok;
        };
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

struct CompatCase {
    const char* target;
    const char* source;
    bool forCast;
    bool compatible;
};

const CompatCase kCompatCases[] = {
    {"TNotifyEvent", "TNotifyEvent", false, true},  // a procedure pointer takes its own type
    {"TNotifyEvent", "TGetStrProc", false, false},  // and no other
    {"___Pointer", "TRect", false, true},           // the pointer type takes anything
    {"TRect", "Variant", false, true},              // so does a Variant, both ways
    {"Variant", "TObject", false, true},
    {"Byte", "Int64", false, true},      // integers among themselves
    {"Double", "LongInt", false, true},  // a real takes any number
    {"Currency", "Byte", false, true},
    {"LongInt", "Double", false, false},      // an integer takes no real
    {"AnsiString", "WideChar", false, true},  // single-byte strings take any text
    {"PChar", "UnicodeString", false, true},
    {"AnsiString", "LongInt", false, false},
    {"UnicodeString", "Char", false, true},  // wide strings take any text too
    {"WideString", "PChar", false, true},
    {"Char", "WideChar", false, true},  // characters among themselves
    {"WideChar", "AnsiString", false, false},
    {"TFontStyles", "TAnchors", false, true},  // sets whatever their elements
    {"TRect", "TRect", false, true},           // a record takes only its own type
    {"TRect", "TPoint", false, false},
    {"TAlign", "Boolean", false, true},   // enumerations among themselves
    {"TAlign", "LongInt", false, false},  // an integer only in a cast
    {"TAlign", "LongInt", true, true},
    {"LongInt", "TAlign", true, true},
    {"TStrings", "TStringList", false, true},  // a class takes its descendants
    {"TStringList", "TStrings", false, false},
    {"TObject", "LongInt", false, true},  // and 32-bit integers, both ways
    {"Cardinal", "TObject", false, true},
    {"TObject", "Byte", false, false},
    {"Int64", "TObject", false, false},
    {"IUnknown", "TObject", false, true},    // an interface takes objects
    {"IUnknown", "IDispatch", false, true},  // and its descendants
    {"IDispatch", "IUnknown", false, false},
};

TEST(TypeRules, Compatibility) {
    WithTypes([](TPSPascalCompiler& c) {
        for (const CompatCase& k : kCompatCases) {
            TPSType* t = c.FindType(k.target);
            TPSType* s = c.FindType(k.source);
            ASSERT_TRUE(t && s) << k.target << " " << k.source;
            EXPECT_EQ(c.TypesCompatible(t, s, k.forCast), k.compatible) << k.target << " := " << k.source;
        }
    });
}

TEST(TypeRules, ArraysCompareTheirElements) {
    WithTypes([](TPSPascalCompiler& c) {
        TPSType* bytes = c.AddTypeS("TBytes", "array of Byte");
        TPSType* ints = c.AddTypeS("TInts", "array of LongInt");
        TPSType* rects = c.AddTypeS("TRects", "array of TRect");
        TPSType* three = c.AddTypeS("TThree", "array[1..3] of Word");
        EXPECT_TRUE(c.TypesCompatible(bytes, ints, false));
        EXPECT_TRUE(c.TypesCompatible(three, bytes, false));
        EXPECT_FALSE(c.TypesCompatible(rects, bytes, false));
        // By-reference arguments need the very same type.
        EXPECT_TRUE(TPSPascalCompiler::VarTypesDiffer(bytes, ints));
        EXPECT_FALSE(TPSPascalCompiler::VarTypesDiffer(c.FindType("Integer"), c.FindType("LongInt")));
        EXPECT_FALSE(TPSPascalCompiler::VarTypesDiffer(bytes, nullptr));
    });
}

// An operand for BinaryResultType: a constant of a named type, the nil literal ("nil"), a bracketed
// list ("[]"), or a type used as a value ("type:NAME").
TPSValuePtr Operand(TPSPascalCompiler& c, const std::string& what) {
    if (what == "nil") return std::make_unique<TPSValueNil>();
    if (what == "[]") return std::make_unique<TPSValueArray>();
    if (what.rfind("type:", 0) == 0) {
        auto v = std::make_unique<TIfRVariant>(c.BaseTypeDef(btType));
        v->v.ttype = c.FindType(what.substr(5));
        return std::make_unique<TPSValueData>(std::move(v));
    }
    TPSType* t = c.FindType(what);
    EXPECT_TRUE(t) << what;
    return std::make_unique<TPSValueData>(std::make_unique<TIfRVariant>(t));
}

struct ResultCase {
    TPSBinOperatorType op;
    const char* left;
    const char* right;
    const char* result;  // upper-case type name, or nullptr for a mismatch
};

const ResultCase kResultCases[] = {
    {otAdd, "LongInt", "Byte", "LONGINT"},  // two integers: the left type
    {otAdd, "Byte", "Double", "DOUBLE"},    // integer and real: the real
    {otAdd, "Double", "LongInt", "DOUBLE"},
    {otDiv, "LongInt", "Word", "LONGINT"},  // "/" on integers stays integer
    {otIntDiv, "Word", "LongInt", "WORD"},
    {otAdd, "AnsiString", "Char", "ANSISTRING"},  // single-byte texts join as AnsiString
    {otAdd, "Char", "Char", "ANSISTRING"},
    {otAdd, "AnsiString", "UnicodeString", "UNICODESTRING"},  // any wide text makes it UTF-16
    {otAdd, "WideChar", "Char", "UNICODESTRING"},
    {otAdd, "Variant", "LongInt", "VARIANT"},
    {otAdd, "LongInt", "Variant", "VARIANT"},
    {otAdd, "TFontStyles", "TFontStyles", "TFONTSTYLES"},
    {otAdd, "TFontStyles", "[]", "TFONTSTYLES"},
    {otAdd, "TRect", "TRect", nullptr},
    {otSub, "AnsiString", "AnsiString", nullptr},
    {otSub, "[]", "TFontStyles", "TFONTSTYLES"},
    {otMul, "Currency", "Byte", "CURRENCY"},
    {otMod, "Double", "LongInt", nullptr},  // mod, shl and shr take integers only
    {otShl, "Int64", "Byte", "INT64"},
    {otAnd, "LongInt", "Word", "LONGINT"},
    {otAnd, "Boolean", "Boolean", "BOOLEAN"},
    {otOr, "Boolean", "Variant", "BOOLEAN"},
    {otAnd, "Boolean", "LongInt", nullptr},
    {otXor, "Boolean", "ByteBool", nullptr},  // two different boolean types
    {otLess, "AnsiString", "WideChar", "BOOLEAN"},
    {otLess, "PChar", "PChar", nullptr},  // no ordering of PChar
    {otGreater, "TFontStyles", "TFontStyles", nullptr},
    {otGreaterEqual, "TFontStyles", "TFontStyles", "BOOLEAN"},
    {otEqual, "TObject", "TStrings", "BOOLEAN"},  // any two objects
    {otEqual, "TRect", "TRect", "BOOLEAN"},       // the same type of any kind
    {otEqual, "TRect", "TPoint", nullptr},
    {otNotEqual, "[]", "TAnchors", "BOOLEAN"},
    {otIn, "Byte", "[]", "BOOLEAN"},
    {otIn, "TFontStyle", "TFontStyles", "BOOLEAN"},
    {otIn, "LongInt", "TFontStyles", nullptr},  // the element type must be the left type
    {otIs, "TObject", "type:TStringList", "BOOLEAN"},
    {otAs, "TObject", "type:TStringList", "TSTRINGLIST"},
    {otIs, "TObject", "TObject", nullptr},
    {otEqual, "nil", "AnsiString", "BOOLEAN"},  // nil against a reference type
    {otAdd, "TObject", "nil", "BOOLEAN"},       // for every operator
    {otEqual, "nil", "LongInt", nullptr},
    {otEqual, "nil", "nil", nullptr},
};

TEST(TypeRules, BinaryResultTypes) {
    WithTypes([](TPSPascalCompiler& c) {
        for (const ResultCase& k : kResultCases) {
            TPSValuePtr l = Operand(c, k.left);
            TPSValuePtr r = Operand(c, k.right);
            TPSType* t = c.BinaryResultType(l.get(), r.get(), k.op);
            EXPECT_EQ(t ? t->Name : std::string("mismatch"), k.result ? k.result : "mismatch")
                << k.left << " op" << static_cast<int>(k.op) << " " << k.right;
        }
    });
}

struct WarningCase {
    const char* expression;
    const char* warning;  // the text, or nullptr for none
    uint32_t col;         // the constant's column ("  b := " puts the expression at column 8)
};

const WarningCase kWarningCases[] = {
    {"True and b", "\"True and\" is not needed", 8},
    {"b and True", "\"and True\" is not needed", 14},
    {"False and b", "Calculation always evaluates to False", 8},
    {"b and False", "Calculation always evaluates to False", 14},
    {"False or b", "\"False or\" is not needed", 8},
    {"b or False", "\"or False\" is not needed", 13},
    {"b or True", "Calculation always evaluates to True", 13},
    {"True xor b", nullptr, 0},
    {"b and b", nullptr, 0},
};

TEST(TypeRules, ConstantBooleanOperandsWarn) {
    for (const WarningCase& k : kWarningCases) {
        std::string text = "var b: Boolean;\nbegin\n  b := " + std::string(k.expression) + ";\nend.";
        CompileResult r = CompileScript(text);
        EXPECT_TRUE(r.ok) << r.AllMessages();
        std::vector<std::string> warnings;
        for (const Message& m : r.messages)
            if (m.type == "Warning") warnings.push_back(m.text);
        if (!k.warning) {
            EXPECT_TRUE(warnings.empty()) << k.expression;
            continue;
        }
        ASSERT_EQ(warnings.size(), 1u) << k.expression;
        // The warning stands at the constant.
        EXPECT_EQ(warnings[0], "[Warning] (3:" + std::to_string(k.col) + "): " + k.warning) << k.expression;
    }
}

}  // namespace
}  // namespace tv::script::test
