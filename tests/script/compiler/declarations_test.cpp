#include <gtest/gtest.h>

#include "script/common/inspect/container_reader.h"
#include "script/common/inspect/disassembler.h"
#include "script/common/inspect/verifier.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

struct ErrorCase {
    const char* name;
    const char* text;
    const char* firstError;  // MessageToString of the first error
};

const ErrorCase kDeclarationErrors[] = {
    {"record field without semicolon", "type T = record a: Integer end;\nbegin end.",
     "[Error] (1:28): Semicolon (';') expected"},
    {"record without fields", "type T = record end;\nbegin end.", "[Error] (1:17): Identifier expected"},
    {"static array bounds reversed", "type A = array[3..1] of Byte;\nbegin end.",
     "[Error] (1:22): Type mismatch"},
    {"static array from the lowest Int64", "type A = array[-9223372036854775807 - 1..0] of Byte;\nbegin end.",
     "[Error] (1:45): Type mismatch"},
    {"static array up to the highest Int64", "type A = array[-1..9223372036854775807] of Byte;\nbegin end.",
     "[Error] (1:41): Type mismatch"},
    {"array bound not an integer", "type A = array['a'..'c'] of Byte;\nbegin end.",
     "[Error] (1:19): Type mismatch"},
    {"array without of", "type A = array[1..2] Byte;\nbegin end.", "[Error] (1:22): 'OF' expected"},
    {"number after a comma", "var a, 1: Integer;\nbegin end.", "[Error] (1:8): Identifier expected"},
    {"variable named Result", "var Result: Integer;\nbegin end.",
     "[Error] (1:5): Duplicate identifier 'Result'"},
    {"variable without colon", "var x Integer;\nbegin end.", "[Error] (1:7): colon (':') expected"},
    {"variable twice in a group", "var x, X: Integer;\nbegin end.",
     "[Error] (1:8): Duplicate identifier 'X'"},
    {"constant without is", "const C 1;\nbegin end.", "[Error] (1:9): is ('=') expected"},
    {"constant without semicolon", "const C = 1\nbegin end.", "[Error] (2:1): Semicolon (';') expected"},
    {"unknown constant", "const C = D;\nbegin end.", "[Error] (1:11): Unknown identifier ''"},
    {"type name taken", "type Integer = Byte;\nbegin end.", "[Error] (1:6): Duplicate identifier 'Integer'"},
    {"unknown type", "var x: TNothing;\nbegin end.", "[Error] (1:8): Unknown type 'TNothing'"},
    {"set of a non-ordinal", "type S = set of Integer;\nbegin end.", "[Error] (1:17): Type mismatch"},
    {"enumeration not closed", "type E = (a, b;\nbegin end.", "[Error] (1:15): Closing parenthesis expected"},
    {"procedural type with unknown type", "type P = procedure(a: TNothing);\nbegin end.",
     "[Error] (1:23): Unknown identifier 'TNothing'"},
    {"interface GUID", "type IX = interface(IUnknown) ['{nope}'] end;\nbegin end.",
     "[Error] (1:32): '{nope}' is not a valid GUID value"},
    {"interface of a non-interface",
     "type IX = interface(Integer) ['{00000000-0000-0000-0000-000000000000}'] end;",
     "[Error] (1:21): Type mismatch"},
    {"forward completed differently",
     "procedure P(a: Integer); forward;\nprocedure P(var a: Integer);\nbegin end;\nbegin end.",
     "[Error] (3:1): Forward Parameter Mismatch"},
    {"forward never completed", "var x: Byte;\nprocedure P; forward;\nbegin end.",
     "[Error] (2:11): Unsatisfied Forward P"},
    {"constant section in a procedure", "procedure P;\nconst C = 1;\nbegin end;\nbegin end.",
     "[Error] (2:1): 'BEGIN' expected"},
    {"type section in a procedure", "procedure P;\ntype T = Byte;\nbegin end;\nbegin end.",
     "[Error] (2:1): 'BEGIN' expected"},
    {"procedure named like a variable", "var P: Integer;\nprocedure P;\nbegin end;\nbegin end.",
     "[Error] (2:11): Duplicate identifier 'P'"},
    {"parameter named twice", "procedure P(a, a: Integer);\nbegin end;\nbegin end.",
     "[Error] (1:16): Duplicate identifier ''"},
    {"parameter named like the procedure", "procedure P(p: Integer);\nbegin end;\nbegin end.",
     "[Error] (1:13): Duplicate identifier 'p'"},
    {"function without result type", "function F;\nbegin end;\nbegin end.",
     "[Error] (1:11): colon (':') expected"},
    {"heading without semicolon", "procedure P\nbegin end;\nbegin end.",
     "[Error] (2:1): Semicolon (';') expected"},
    {"label twice", "label L, L;\nbegin end.", "[Error] (1:10): Duplicate identifier 'L'"},
    {"labels without comma", "label L M;\nbegin end.", "[Error] (1:9): comma (',') expected"},
    {"unit refused", "unit U;\ninterface\nimplementation\nend.", "[Error] (1:1): 'BEGIN' expected"},
    {"statement at the top", "x := 1;", "[Error] (1:1): 'BEGIN' expected"},
    {"missing period", "begin end", "[Error] (1:10): period ('.') expected"},
    {"program without name", "program ;\nbegin end.", "[Error] (1:9): Identifier expected"},
    {"second program heading", "program A;\nprogram B;\nbegin end.", "[Error] (2:1): 'BEGIN' expected"},
    {"end without begin", "var x: Byte;\nend.", "[Error] (2:1): 'BEGIN' expected"},
};

TEST(Declarations, ErrorsAtTheirPositions) {
    for (const ErrorCase& k : kDeclarationErrors) {
        CompileResult r = CompileScript(k.text);
        EXPECT_FALSE(r.ok) << k.name;
        EXPECT_EQ(r.FirstError().text, k.firstError) << k.name;
    }
}

TEST(Declarations, UsesClause) {
    auto anyUnit = [](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler&, const std::string&) { return true; };
    };
    CompileResult twice = CompileScript("uses A, A;\nbegin end.", {}, anyUnit);
    EXPECT_EQ(twice.FirstError().text, "[Error] (1:9): Duplicate identifier 'A'");
    CompileResult noName = CompileScript("uses ;\nbegin end.", {}, anyUnit);
    EXPECT_EQ(noName.FirstError().text, "[Error] (1:6): Identifier expected");
    CompileResult noSemicolon = CompileScript("uses A B;\nbegin end.", {}, anyUnit);
    EXPECT_EQ(noSemicolon.FirstError().text, "[Error] (1:8): Semicolon (';') expected");
    std::vector<std::string> seen;
    CompileResult ok = CompileScript("uses One, system;\nbegin end.", {}, [&](TPSPascalCompiler& c) {
        c.OnUses = [&](TPSPascalCompiler&, const std::string& unit) {
            seen.push_back(unit);
            return true;
        };
    });
    EXPECT_TRUE(ok.ok) << ok.AllMessages();
    EXPECT_EQ(seen, (std::vector<std::string>{"SYSTEM", "ONE", "SYSTEM"}));
    // A refused unit fails the compile with the handler's own message.
    CompileResult refused = CompileScript("uses Nowhere;\nbegin end.", {}, [](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler& comp, const std::string& unit) {
            if (unit == "SYSTEM") return true;
            comp.MakeError({}, ecUnknownIdentifier, {});
            return false;
        };
    });
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.FirstError().text, "[Error] (1:6): Unknown identifier ''");
}

TEST(Declarations, UnitsWhenAllowed) {
    CompileResult r =
        CompileScript("unit U;\ninterface\nprocedure P;\nimplementation\nprocedure P;\nbegin end;\nend.", {},
                      [](TPSPascalCompiler& c) { c.AllowUnit = true; });
    EXPECT_TRUE(r.ok) << r.AllMessages();
    CompileResult missing = CompileScript("unit U;\ninterface\nprocedure P;\nimplementation\nend.", {},
                                          [](TPSPascalCompiler& c) { c.AllowUnit = true; });
    EXPECT_EQ(missing.FirstError().text, "[Error] (3:11): Unsatisfied Forward P");
}

TEST(Declarations, HintsForWhatIsNeverUsed) {
    CompileResult r = CompileScript(
        "var unused, used: Integer;\n"
        "function F: Integer;\nvar idle: Byte;\nbegin\nend;\n"
        "begin used := 1; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    std::vector<std::string> hints;
    for (const Message& m : r.messages) hints.push_back(m.text);
    EXPECT_EQ(hints, (std::vector<std::string>{"[Hint] (3:5): Variable 'IDLE' never used",
                                               "[Hint] (2:10): Variable 'Result' never used",
                                               "[Hint] (1:5): Variable 'UNUSED' never used"}));
}

// The code of the main procedure as listed by the disassembler.
std::string MainListing(const CompileResult& r) {
    Container c;
    std::string error;
    if (!ReadContainer(r.output, c, error)) return "unreadable: " + error;
    return DisassembleCode(c, c.procs[c.mainProc].code);
}

TEST(Declarations, EnumerationNamesAreConstants) {
    CompileResult r = CompileScript("type T = (A, B, C);\nvar v: Variant;\nbegin v := C; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    // T gets the first number after the standard types; C is its ordinal 2 in one byte.
    EXPECT_EQ(MainListing(r), "0: ASSIGN G0, #29:2\n12: RET\n");
    // The names clash with types only.
    CompileResult clash = CompileScript("type T = (A, Byte);\nbegin end.");
    EXPECT_EQ(clash.FirstError().text, "[Error] (1:14): Duplicate identifier 'Byte'");
}

// A set holds at most 256 members, as the loader accepts: a set of an enumeration of 256 names
// compiles, of 257 it is a type mismatch at the element type's name.
TEST(Declarations, SetsOfAtMost256Members) {
    for (int names : {256, 257}) {
        std::string list = "e0";
        for (int i = 1; i < names; ++i) list += ", e" + std::to_string(i);
        CompileResult r =
            CompileScript("type E = (" + list + ");\ntype S = set of E;\nvar s: S;\nbegin s := [e1]; end.");
        if (names == 256)
            EXPECT_TRUE(r.ok) << r.AllMessages();
        else
            EXPECT_EQ(r.FirstError().text, "[Error] (2:17): Type mismatch");
    }
}

// A procedural type is written with one byte for its result and one per parameter, in at most 255
// bytes, as the loader accepts: 254 parameters compile into a container the verifier passes, 255 are
// a type mismatch after the list.
TEST(Declarations, ProceduralTypesOfAtMost254Parameters) {
    for (int params : {254, 255}) {
        std::string list = "a0: Integer";
        for (int i = 1; i < params; ++i) list += "; a" + std::to_string(i) + ": Integer";
        CompileResult r = CompileScript("type T = procedure(" + list + ");\nvar p: T;\nbegin p := nil; end.");
        if (params == 254) {
            ASSERT_TRUE(r.ok) << r.AllMessages();
            EXPECT_EQ(VerifyContainer(r.output), std::vector<std::string>{});
        } else {
            EXPECT_EQ(r.FirstError().text,
                      "[Error] (1:" + std::to_string(19 + list.size() + 2) + "): Type mismatch");
        }
    }
}

// The routines with hand-made untyped parameters take arguments of any type.
TEST(Declarations, StandardRoutinesTakeArgumentsOfAnyType) {
    const char* const statements[] = {
        "n := Length(s) + Length(a) + Length(d) + Length(w);",
        "SetLength(s, 3); SetLength(a, 2); SetLength(d, 1);",
        "Inc(n); Inc(b); Inc(l); Dec(n); Dec(b); Dec(e);",
        "l := Low(d) + High(d) + Low(st) + High(st) + High(s);",
        "Include(cs, cGreen); Exclude(cs, cRed); Include(bs, 7);",
        "n := SizeOf(r) + SizeOf(n) + SizeOf(s) + SizeOf(st);",
        "n := GetArrayLength(d) + GetArrayLength(st); SetArrayLength(d, 4);",
    };
    for (const char* body : statements) {
        CompileResult r = CompileScript(
            "type TC = (cRed, cGreen); TCs = set of TC; TBs = set of Byte; TR = record x: Integer; end;\n"
            "var s: string; a: AnsiString; w: WideString; d: array of Integer; st: array[2..4] of Byte;\n"
            "  n: Integer; b: Byte; l: Int64; e: TC; cs: TCs; bs: TBs; r: TR;\n"
            "begin\n" +
            std::string(body) + "\nend.");
        EXPECT_TRUE(r.ok) << body << "\n" << r.AllMessages();
        for (const std::string& p : VerifyContainer(r.output)) ADD_FAILURE() << body << ": " << p;
    }
}

}  // namespace
}  // namespace tv::script::test
