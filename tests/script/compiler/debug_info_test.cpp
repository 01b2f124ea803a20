#include <gtest/gtest.h>

#include "script_test_support.h"

namespace tv::script::test {
namespace {

// A name in the debug stream: its bytes and the byte 1.
std::string Name(const std::string& s) {
    return s + '\1';
}
std::string U32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    return s;
}
std::string Position(uint32_t proc, uint32_t code, uint32_t pos, uint32_t row, uint32_t col) {
    return std::string(1, '\4') + Name("") + U32(proc) + U32(code) + U32(pos) + U32(row) + U32(col);
}

const char* const kScript =
    "var G: Integer;\n"           // row 1, offsets 0..15
    "procedure P(A: Integer);\n"  // row 2, 16..40
    "var X: Integer;\n"           // row 3, 41..56
    "begin\n"                     // row 4, 57..62
    "  X := A;\n"                 // row 5, 63..72: X at 65
    "end;\n"                      // row 6, 73..77: end at 73
    "begin\n"                     // row 7, 78..83
    "  P(G);\n"                   // row 8, 84..91: P at 86
    "end.\n";                     // row 9, end at 92

TEST(DebugInfo, RecordsOfAProcedureAndTheMainBlock) {
    CompileResult r = CompileScript(kScript);
    ASSERT_TRUE(r.ok) << r.AllMessages();
    const std::string expected =
        // P's parameters and locals, before its code.
        std::string(1, '\2') + U32(1) + Name("A") + '\0' + std::string(1, '\3') + U32(1) + Name("X") + '\0' +
        // X := A is P's first statement, after the allocation of X (5 bytes); its end after the
        // 11-byte assignment.
        Position(1, 5, 65, 5, 3) + Position(1, 16, 73, 6, 1) +
        // The main block: the call and its end. The call pushes G (5 + 11 bytes), calls (5), pops (1).
        Position(0, 0, 86, 8, 3) + Position(0, 22, 92, 9, 1) +
        // Procedure names (the main procedure's empty), then the globals.
        std::string(1, '\0') + Name("") + Name("P") + '\0' + std::string(1, '\1') + Name("G") + '\0';
    EXPECT_EQ(Hex(r.debug), Hex(expected));
}

TEST(DebugInfo, AFunctionNamesItsResultFirst) {
    CompileResult r = CompileScript("function F(a: Byte): Byte;\nbegin Result := a; end;\nbegin end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    const std::string record2 = std::string(1, '\2') + U32(1) + Name("Result") + Name("a") + '\0';
    EXPECT_EQ(Hex(r.debug.substr(0, record2.size())), Hex(record2));
}

TEST(DebugInfo, PositionsOnlyWhereTheHostAsks) {
    CompileResult r = CompileScript(kScript, {}, [](TPSPascalCompiler& c) {
        c.OnWriteLine = [](TPSPascalCompiler&, uint32_t) { return false; };
    });
    ASSERT_TRUE(r.ok);
    for (size_t i = 0; i < r.debug.size(); ++i) EXPECT_NE(r.debug[i], '\4') << "a position record at " << i;
    std::vector<TPSWriteLineKind> kinds;
    CompileResult asked = CompileScript(kScript, {}, [&](TPSPascalCompiler& c) {
        c.OnWriteLine2 = [&](TPSPascalCompiler&, uint32_t, TPSWriteLineKind kind) {
            kinds.push_back(kind);
            return true;
        };
    });
    ASSERT_TRUE(asked.ok);
    EXPECT_EQ(kinds,
              (std::vector<TPSWriteLineKind>{wlStatement, wlEndOfProcedure, wlStatement, wlStatement}));
}

TEST(DebugInfo, TranslatedPositions) {
    CompileResult r = CompileScript("begin end.", {}, [](TPSPascalCompiler& c) {
        c.OnTranslateLineInfo = [](TPSPascalCompiler&, uint32_t& pos, uint32_t& row, uint32_t& col,
                                   std::string& file) {
            pos += 100;
            row += 10;
            col += 1;
            file = "INC.PAS";
        };
    });
    ASSERT_TRUE(r.ok);
    const std::string position =
        std::string(1, '\4') + Name("INC.PAS") + U32(0) + U32(0) + U32(106) + U32(11) + U32(8);
    EXPECT_EQ(Hex(r.debug.substr(0, position.size())), Hex(position));
}

}  // namespace
}  // namespace tv::script::test
