// Code shapes, each listing derived by hand from the rules of emission: opcode sizes (an operand is
// 5 bytes for a variable, 9 for an element, 5 plus the value for a constant), variable numbers
// (G globals in declaration order, L the procedure's stack slots in push order), the standard type
// numbers (0 pointer, 5 Extended, 10 LongWord, 11 LongInt, 18 string, 23 Char, 27 Boolean, 28 Byte;
// the script's own types from 29 in order of first use) and jump targets as absolute offsets.

#include <gtest/gtest.h>

#include "script/common/inspect/container_reader.h"
#include "script/common/inspect/disassembler.h"
#include "script/common/inspect/verifier.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

struct ListingCase {
    const char* name;
    const char* script;
    const char* listing;  // of procedure `proc`
    int proc = 0;
};

std::string Listing(const CompileResult& r, int proc) {
    Container c;
    std::string error;
    if (!ReadContainer(r.output, c, error)) return "unreadable: " + error;
    if (proc >= static_cast<int>(c.procs.size())) return "no procedure " + std::to_string(proc);
    return DisassembleCode(c, c.procs[static_cast<size_t>(proc)].code);
}

void ExpectListings(const std::vector<ListingCase>& cases, const std::vector<std::string>& host = {},
                    const std::function<void(TPSPascalCompiler&)>& setup = {}) {
    for (const ListingCase& k : cases) {
        CompileResult r = CompileScript(k.script, host, setup);
        ASSERT_TRUE(r.ok) << k.name << "\n" << r.AllMessages();
        EXPECT_EQ(Listing(r, k.proc), k.listing) << k.name;
        for (const std::string& p : VerifyContainer(r.output)) ADD_FAILURE() << k.name << ": " << p;
    }
}

TEST(Listings, AssignmentsAndOperators) {
    ExpectListings({
        {"x := x + 1 in place; x := 1 - x through a temporary",
         "var x: Integer; begin x := x + 1; x := 1 - x; end.",
         "0: CALC + G0, #11:1\n"
         "16: PUSHNEW 11\n"
         "21: ASSIGN L0, #11:1\n"
         "36: CALC - L0, G0\n"
         "48: ASSIGN G0, L0\n"
         "59: POP\n"
         "60: RET\n"},
        {"both operands of and/or are evaluated", "var a, b, d: Boolean; begin d := a and b; end.",
         "0: ASSIGN G2, G0\n"
         "11: CALC and G2, G1\n"
         "23: RET\n"},
        {"the pointer chain of a.b[i].c := 1",
         "type TC = record c: Integer; end; TB = array of TC; TA = record b: TB; end;\n"
         "var a: TA; i: Integer;\nbegin a.b[i].c := 1; end.",
         "0: PUSHNEW 0\n"           // pointer temporary
         "5: SETPTR L0, G0\n"       // to a
         "16: SETPTR L0, L0[0]\n"   // to field b
         "31: PUSHNEW 10\n"         // index temporary
         "36: ASSIGN L1, G1\n"      // := i
         "47: SETPTR L0, L0[L1]\n"  // to the element
         "62: POP\n"                // the index temporary
         "63: SETPTR L0, L0[0]\n"   // to field c
         "78: ASSIGN L0, #11:1\n"
         "93: POP\n"
         "94: RET\n"},
        {"a static array from 1: constant and variable index",
         "var a: array[1..3] of Integer; i: Integer; begin a[2] := i; a[i] := 5; end.",
         "0: ASSIGN G0[1], G1\n"
         "15: PUSHNEW 0\n"
         "20: SETPTR L0, G0\n"
         "31: PUSHNEW 10\n"
         "36: PUSHNEW 11\n"  // i - 1 computed as a LongInt, then stored in the LongWord index
         "41: ASSIGN L2, G1\n"
         "52: CALC - L2, #11:1\n"
         "68: ASSIGN L1, L2\n"
         "79: POP\n"
         "80: SETPTR L0, L0[L1]\n"
         "95: POP\n"
         "96: ASSIGN L0, #11:5\n"
         "111: POP\n"
         "112: RET\n"},
        {"characters of a string through StrGet and StrSet",
         "var s: AnsiString; c: Char; begin c := s[2]; s[3] := c; end.",
         "0: PUSHNEW 11\n"  // StrGet(var s, 2) into c: the index, then a pointer to s
         "5: ASSIGN L0, #11:2\n"
         "20: PUSHNEW 0\n"
         "25: SETPTR L1, G0\n"
         "36: PUSHREF G1\n"
         "42: CALL 1\n"
         "47: POP\n"
         "48: POP\n"
         "49: POP\n"
         "50: PUSHNEW 0\n"  // StrSet(c, 3, var s)
         "55: SETPTR L0, G0\n"
         "66: PUSHNEW 11\n"
         "71: ASSIGN L1, #11:3\n"
         "86: PUSHNEW 23\n"
         "91: ASSIGN L2, G1\n"
         "102: CALL 2\n"
         "107: POP\n"
         "108: POP\n"
         "109: POP\n"
         "110: RET\n"},
    });
}

TEST(Listings, ShortCircuitWhenSwitchedOn) {
    ExpectListings({{"and jumps over its right operand on False, or on True",
                     "var a, b, d: Boolean; begin d := a and b; d := a or b; end.",
                     "0: ASSIGN G2, G0\n"
                     "11: JZ 33, G2\n"
                     "21: CALC and G2, G1\n"
                     "33: ASSIGN G2, G0\n"
                     "44: JNZ 66, G2\n"
                     "54: CALC or G2, G1\n"
                     "66: RET\n"}},
                   {}, [](TPSPascalCompiler& c) { c.BooleanShortCircuit = true; });
}

TEST(Listings, Calls) {
    ExpectListings({
        {"a bracketed list becomes a dynamic array through SetArrayLength",
         "type TA = array of Integer; var a: TA;\nprocedure P(x: TA); begin end;\nbegin P([1, 2]); end.",
         "0: PUSHNEW 29\n"   // the argument
         "5: PUSHNEW 29\n"   // the list's array
         "10: PUSHNEW 11\n"  // its length
         "15: ASSIGN L2, #11:2\n"
         "30: PUSHREF L1\n"
         "36: CALL 2\n"
         "41: POP\n"
         "42: POP\n"
         "43: ASSIGN L1[0], #11:1\n"
         "62: ASSIGN L1[1], #11:2\n"
         "81: ASSIGN L0, L1\n"
         "92: POP\n"
         "93: CALL 1\n"
         "98: POP\n"
         "99: RET\n"},
        {"a function writes straight into a destination of its result type, else through a temporary",
         "function F(a: Byte; var b: Integer): Integer; begin end;\nvar x: Integer; y: Int64;\n"
         "begin x := F(1, x); y := F(2, x); end.",
         "0: PUSHNEW 0\n"  // arguments from the last: a pointer to x
         "5: SETPTR L0, G0\n"
         "16: PUSHNEW 28\n"  // then 1 as a Byte
         "21: ASSIGN L1, #11:1\n"
         "36: PUSHREF G0\n"  // the result location
         "42: CALL 1\n"
         "47: POP\n"
         "48: POP\n"
         "49: POP\n"
         "50: PUSHNEW 11\n"
         "55: PUSHNEW 0\n"
         "60: SETPTR L1, G0\n"
         "71: PUSHNEW 28\n"
         "76: ASSIGN L2, #11:2\n"
         "91: PUSHREF L0\n"
         "97: CALL 1\n"
         "102: POP\n"
         "103: POP\n"
         "104: POP\n"
         "105: ASSIGN G1, L0\n"
         "116: POP\n"
         "117: RET\n"},
        {"a procedure pointer assigned and called",
         "type TP = procedure(a: Integer); var p: TP;\nprocedure Q(a: Integer); begin end;\n"
         "begin p := @Q; p(5); end.",
         "0: ASSIGN G0, #29:1\n"
         "15: PUSHNEW 11\n"
         "20: ASSIGN L0, #11:5\n"
         "35: CALLV G0\n"
         "41: POP\n"
         "42: RET\n"},
        {"exit returns at once", "procedure P; begin exit; end;\nbegin P; end.", "0: RET\n1: RET\n", 1},
    });
}

TEST(Listings, MembersOfAHostClass) {
    const std::string hosts = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    ExpectListings(
        {{"a property read, a method call and an indexed property write",
          "var l: TStringList; n: Integer;\nbegin n := l.Count; l.Add('x'); l.Strings[0] := 'y'; end.",
          "0: PUSHNEW 29\n"  // Count: the object
          "5: ASSIGN L0, G0\n"
          "16: PUSHREF G1\n"
          "22: CALL 1\n"
          "27: POP\n"
          "28: POP\n"
          "29: PUSHNEW 11\n"  // Add: its unused result, 'x', the object
          "34: PUSHNEW 18\n"
          "39: ASSIGN L1, #23:#120\n"
          "51: PUSHNEW 29\n"
          "56: ASSIGN L2, G0\n"
          "67: PUSHREF L0\n"
          "73: CALL 2\n"
          "78: POP\n"
          "79: POP\n"
          "80: POP\n"
          "81: POP\n"
          "82: PUSHNEW 18\n"  // Strings[0] := 'y': the value, the index, the object
          "87: ASSIGN L0, #23:#121\n"
          "99: PUSHNEW 11\n"
          "104: ASSIGN L1, #11:0\n"
          "119: PUSHNEW 29\n"
          "124: ASSIGN L2, G0\n"
          "135: CALL 3\n"
          "140: POP\n"
          "141: POP\n"
          "142: POP\n"
          "143: RET\n"}},
        {hosts + "std.decl", hosts + "classes.decl"});
}

TEST(Listings, Statements) {
    ExpectListings({
        {"if with else", "var b: Boolean; x: Integer; begin if b then x := 1 else x := 2; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, G0\n"
         "16: SETFLAG L0, 1\n"
         "23: POP\n"
         "24: JF 49\n"
         "29: ASSIGN G1, #11:1\n"
         "44: JUMP 64\n"
         "49: ASSIGN G1, #11:2\n"
         "64: RET\n"},
        {"while with continue and break",
         "var i: Integer; begin while i < 10 do begin i := i + 1; if i = 5 then continue; if i = 7 then "
         "break; end; end.",
         "0: PUSHNEW 27\n"
         "5: CMP < L0, G0, #11:10\n"
         "26: JZ 145, L0\n"
         "36: CALC + G0, #11:1\n"
         "52: PUSHNEW 27\n"
         "57: CMP = L1, G0, #11:5\n"
         "78: SETFLAG L1, 1\n"
         "85: POP\n"
         "86: JF 96\n"
         "91: JUMP 5\n"
         "96: PUSHNEW 27\n"
         "101: CMP = L1, G0, #11:7\n"
         "122: SETFLAG L1, 1\n"
         "129: POP\n"
         "130: JF 140\n"
         "135: JUMP 145\n"
         "140: JUMP 5\n"
         "145: POP\n"
         "146: RET\n"},
        {"repeat", "var i: Integer; begin repeat i := i + 1; until i >= 3; end.",
         "0: PUSHNEW 27\n"
         "5: CALC + G0, #11:1\n"
         "21: CMP >= L0, G0, #11:3\n"
         "42: JZ 5, L0\n"
         "52: POP\n"
         "53: RET\n"},
        {"for: the finish is tested before each turn, the limit before each step",
         "var i, n: Integer; begin for i := 1 to n do n := n - 1; end.",
         "0: ASSIGN G0, #11:1\n"
         "15: PUSHNEW 27\n"
         "20: CMP <= L0, G0, G1\n"
         "37: JZ 105, L0\n"
         "47: CALC - G1, #11:1\n"
         "63: CMP = L0, G0, #11:2147483647\n"
         "84: JNZ 105, L0\n"
         "94: INC G0\n"
         "100: JUMP 20\n"
         "105: POP\n"
         "106: RET\n"},
        {"for downto a Byte's lowest value", "var b: Byte; begin for b := 10 downto 0 do ; end.",
         "0: ASSIGN G0, #11:10\n"
         "15: PUSHNEW 27\n"
         "20: CMP >= L0, G0, #11:0\n"
         "41: JZ 90, L0\n"
         "51: CMP = L0, G0, #28:0\n"
         "69: JNZ 90, L0\n"
         "79: DEC G0\n"
         "85: JUMP 20\n"
         "90: POP\n"
         "91: RET\n"},
        {"case with a range and else",
         "var i: Integer; s: Byte; begin case i of 1: s := 1; 2..3: s := 2; else s := 3; end; end.",
         "0: PUSHNEW 11\n"
         "5: ASSIGN L0, G0\n"
         "16: PUSHNEW 27\n"
         "21: CMP = L1, #11:1, L0\n"
         "42: JZ 72, L1\n"
         "52: ASSIGN G1, #11:1\n"
         "67: JUMP 177\n"
         "72: CMP >= L1, L0, #11:2\n"
         "93: PUSHNEW 27\n"
         "98: CMP <= L2, L0, #11:3\n"
         "119: CALC and L1, L2\n"
         "131: POP\n"
         "132: JZ 162, L1\n"
         "142: ASSIGN G1, #11:2\n"
         "157: JUMP 177\n"
         "162: ASSIGN G1, #11:3\n"
         "177: POP\n"
         "178: POP\n"
         "179: RET\n"},
        {"with a record", "type TR = record a, b: Integer; end; var r: TR; begin with r do b := a; end.",
         "0: PUSHNEW 0\n"
         "5: SETPTR L0, G0\n"
         "16: ASSIGN L0[1], L0[0]\n"
         "35: POP\n"
         "36: RET\n"},
        {"goto forward", "label L; var i: Integer; begin goto L; i := 1; L: i := 2; end.",
         "0: JUMP 20\n"
         "5: ASSIGN G0, #11:1\n"
         "20: ASSIGN G0, #11:2\n"
         "35: RET\n"},
    });
}

TEST(Listings, TryInEachForm) {
    ExpectListings({
        {"try finally", "var i: Integer; begin try i := 1; finally i := 2; end; end.",
         "0: FRAME 34, -, -, 51\n17: ASSIGN G0, #11:1\n32: POPFRAME 0\n34: ASSIGN G0, #11:2\n49: POPFRAME "
         "1\n51: RET\n"},
        {"try except", "var i: Integer; begin try i := 1; except i := 2; end; end.",
         "0: FRAME -, 34, -, 51\n17: ASSIGN G0, #11:1\n32: POPFRAME 0\n34: ASSIGN G0, #11:2\n49: POPFRAME "
         "2\n51: RET\n"},
        {"try finally except", "var i: Integer; begin try i := 1; finally i := 2; except i := 3; end; end.",
         "0: FRAME 34, 51, -, 68\n17: ASSIGN G0, #11:1\n32: POPFRAME 0\n34: ASSIGN G0, #11:2\n49: POPFRAME "
         "1\n"
         "51: ASSIGN G0, #11:3\n66: POPFRAME 2\n68: RET\n"},
        {"try except finally", "var i: Integer; begin try i := 1; except i := 2; finally i := 3; end; end.",
         "0: FRAME -, 34, 51, 68\n17: ASSIGN G0, #11:1\n32: POPFRAME 0\n34: ASSIGN G0, #11:2\n49: POPFRAME "
         "2\n"
         "51: ASSIGN G0, #11:3\n66: POPFRAME 3\n68: RET\n"},
    });
}

TEST(Listings, LeavingNestedStatementsFromALoop) {
    ExpectListings({
        {"break in a case jumps with two pops",
         "var i: Integer; begin while True do case i of 1: break; end; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, #27:1\n"
         "17: JZ 96, L0\n"
         "27: PUSHNEW 11\n"
         "32: ASSIGN L1, G0\n"
         "43: PUSHNEW 27\n"
         "48: CMP = L2, #11:1, L1\n"
         "69: JZ 89, L2\n"
         "79: POP2JUMP 96\n"
         "84: JUMP 89\n"
         "89: POP\n"
         "90: POP\n"
         "91: JUMP 5\n"
         "96: POP\n"
         "97: RET\n"},
        {"break in two nested cases pops all four temporaries",
         "var i: Integer; begin while True do case i of 1: case i of 2: break; end; end; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, #27:1\n"
         "17: JZ 157, L0\n"
         "27: PUSHNEW 11\n"
         "32: ASSIGN L1, G0\n"
         "43: PUSHNEW 27\n"
         "48: CMP = L2, #11:1, L1\n"
         "69: JZ 150, L2\n"
         "79: PUSHNEW 11\n"
         "84: ASSIGN L3, G0\n"
         "95: PUSHNEW 27\n"
         "100: CMP = L4, #11:2, L3\n"
         "121: JZ 143, L4\n"
         "131: POP\n"
         "132: POP\n"
         "133: POP2JUMP 157\n"
         "138: JUMP 143\n"
         "143: POP\n"
         "144: POP\n"
         "145: JUMP 150\n"
         "150: POP\n"
         "151: POP\n"
         "152: JUMP 5\n"
         "157: POP\n"
         "158: RET\n"},
        {"break out of a try body leaves the frame first",
         "var i: Integer; begin while True do try break; finally i := 1; end; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, #27:1\n"
         "17: JZ 75, L0\n"
         "27: FRAME 53, -, -, 70\n"
         "44: POPFRAME 4\n"
         "46: JUMP 75\n"
         "51: POPFRAME 0\n"
         "53: ASSIGN G0, #11:1\n"
         "68: POPFRAME 1\n"
         "70: JUMP 5\n"
         "75: POP\n"
         "76: RET\n"},
        {"a case inside a try: its temporaries go before the frame is left",
         "var i: Integer; begin while True do try case i of 1: continue; end; finally end; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, #27:1\n"
         "17: JZ 121, L0\n"
         "27: FRAME 114, -, -, 116\n"
         "44: PUSHNEW 11\n"
         "49: ASSIGN L1, G0\n"
         "60: PUSHNEW 27\n"
         "65: CMP = L2, #11:1, L1\n"
         "86: JZ 110, L2\n"
         "96: POP\n"
         "97: POP\n"
         "98: POPFRAME 4\n"
         "100: JUMP 5\n"
         "105: JUMP 110\n"
         "110: POP\n"
         "111: POP\n"
         "112: POPFRAME 0\n"
         "114: POPFRAME 1\n"
         "116: JUMP 5\n"
         "121: POP\n"
         "122: RET\n"},
        {"break out of a with pops its pointer",
         "type R = record a: Integer; end; var r: R; begin while True do with r do break; end.",
         "0: PUSHNEW 27\n"
         "5: ASSIGN L0, #27:1\n"
         "17: JZ 55, L0\n"
         "27: PUSHNEW 0\n"
         "32: SETPTR L1, G0\n"
         "43: POP\n"
         "44: JUMP 55\n"
         "49: POP\n"
         "50: JUMP 5\n"
         "55: POP\n"
         "56: RET\n"},
    });
}

TEST(Listings, OpenArrayCopiesStayBelowTheArguments) {
    ExpectListings({{"a by-reference open array is converted into a copy pushed before the argument slots",
                     "begin Fill(HOSTARR); end.",
                     "0: PUSHNEW 29\n"
                     "5: ASSIGN L0, G0\n"
                     "16: PUSHNEW 0\n"
                     "21: SETPTR L1, L0\n"
                     "32: CALL 1\n"
                     "37: POP\n"
                     "38: POP\n"
                     "39: RET\n"}},
                   {}, [](TPSPascalCompiler& c) {
                       c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
                           comp.AddNativeFunction("procedure Fill(var A: array of Integer);");
                           comp.AddUsedVariableN("HOSTARR", "!OPENARRAYOFS32");
                           return true;
                       };
                   });
}

}  // namespace
}  // namespace tv::script::test
