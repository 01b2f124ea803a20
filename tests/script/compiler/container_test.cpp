#include <gtest/gtest.h>

#include "script/common/bytecode.h"
#include "script/common/inspect/container_reader.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// The standard types every container starts with, numbered in the order they are marked used: the
// pointer type first, then the rest from the last declared to the first (Integer and Cardinal are
// links and get no record). Each record ends with an empty attribute list.
const char* const kStandardTypes =
    "0D 00000000 "                          //  0 ___Pointer
    "05 00000000 "                          //  1 !NotificationVariant, written as LongWord
    "10 00000000 "                          //  2 Variant
    "0E 00000000 "                          //  3 PChar
    "18 00000000 "                          //  4 Currency
    "09 00000000 "                          //  5 Extended
    "08 00000000 "                          //  6 Double
    "07 00000000 "                          //  7 Single
    "11 00000000 "                          //  8 Int64
    "0A 00000000 "                          //  9 tbtString
    "05 00000000 "                          // 10 LongWord
    "06 00000000 "                          // 11 LongInt
    "04 00000000 "                          // 12 SmallInt
    "03 00000000 "                          // 13 Word
    "02 00000000 "                          // 14 ShortInt
    "15 01000000 00 00000000 "              // 15 AnyMethod: a procedure without parameters
    "0A 00000000 "                          // 16 AnyString
    "1C 00000000 "                          // 17 NativeString
    "1C 00000000 "                          // 18 string
    "0A 00000000 "                          // 19 AnsiString
    "1C 00000000 "                          // 20 UnicodeString
    "13 00000000 "                          // 21 WideString
    "14 00000000 "                          // 22 WideChar
    "12 00000000 "                          // 23 Char
    "01 00000000 "                          // 24 ByteBool (highest value 255)
    "03 00000000 "                          // 25 WordBool (65535)
    "05 00000000 "                          // 26 LongBool (2147483647)
    "81 07000000 424F4F4C45414E 00000000 "  // 27 Boolean, exported as "BOOLEAN"
    "01 00000000 ";                         // 28 Byte

TEST(Container, EmptyProgramByteForByte) {
    CompileResult r = CompileScript("begin end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    const std::string expected =
        Bytes("49465053 17000000 1D000000 01000000 00000000 00000000 00000000 " +  // magic, build 23, 29/1/0,
                                                                                   // main 0
              std::string(kStandardTypes) +
              "02 D5000000 01000000 05000000 214D41494E 02000000 2D31 "  // !MAIN at 213, 1 byte, "-1"
              "09");                                                     // its body: return
    EXPECT_EQ(Hex(r.output), Hex(expected));
}

TEST(Container, OneVariableIncremented) {
    CompileResult r = CompileScript("var x: Integer; begin x := x + 1; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    const std::string expected = Bytes(
        "49465053 17000000 1D000000 01000000 01000000 00000000 00000000 " + std::string(kStandardTypes) +
        "02 DA000000 11000000 05000000 214D41494E 02000000 2D31 "  // body at 218, 17 bytes
        "0B000000 00 "                                             // x: LongInt, no export name
        "01 00 00 00000000 01 0B000000 01000000 "                  // x := x + 1 in place
        "09");
    EXPECT_EQ(Hex(r.output), Hex(expected));
}

TEST(Container, EnumerationsTakeTheSmallestCode) {
    for (int names : {256, 257, 65537}) {
        std::string text = "type T = (";
        for (int i = 0; i < names; ++i) text += (i ? ", n" : "n") + std::to_string(i);
        text += "); var v: T; begin end.";
        CompileResult r = CompileScript(text);
        ASSERT_TRUE(r.ok) << r.AllMessages();
        Container c;
        std::string error;
        ASSERT_TRUE(ReadContainer(r.output, c, error)) << error;
        ASSERT_EQ(c.vars.size(), 1u);
        uint8_t expected = names == 256 ? btU8 : names == 257 ? btU16 : btU32;
        EXPECT_EQ(c.types[c.vars[0].type].code, expected) << names;
    }
}

TEST(Container, RecordsOfProceduresAndVariables) {
    const std::vector<std::string> host = {std::string(TV_FIXTURES_DIR) + "/script/hosts/dateutils.decl"};
    CompileResult r = CompileScript(
        "type TR = record a: Byte; b: array[2..4] of Word; end;\n"
        "var r: TR; d: TDateTime;\n"
        "function F(a: Byte; var s: string): Integer; begin Result := a; end;\n"
        "begin d := Now; end.",
        host, [](TPSPascalCompiler& c) {
            auto base = c.OnUses;
            c.OnUses = [base](TPSPascalCompiler& comp, const std::string& unit) {
                bool ok = base(comp, unit);
                comp.AddUsedVariableN("HOSTVAR", "Byte");
                return ok;
            };
        });
    ASSERT_TRUE(r.ok) << r.AllMessages();
    Container c;
    std::string error;
    ASSERT_TRUE(ReadContainer(r.output, c, error)) << error;
    // main, F, and the host routine Now, numbered in order of first appearance.
    ASSERT_EQ(c.procs.size(), 3u);
    EXPECT_EQ(c.procs[0].name, "!MAIN");
    EXPECT_EQ(c.procs[1].name, "F");
    EXPECT_EQ(c.procs[1].decl, "11 @28 !18");  // LongInt result, Byte by value, string by reference
    EXPECT_TRUE(c.procs[2].external);
    EXPECT_EQ(c.procs[2].flags, procExternal | procExported);
    EXPECT_EQ(c.procs[2].name, "NOW");
    EXPECT_EQ(Hex(c.procs[2].decl), "01");
    // The host's variable carries its name; the script's do not.
    ASSERT_EQ(c.vars.size(), 3u);
    EXPECT_EQ(c.vars[0].exportName, "HOSTVAR");
    EXPECT_EQ(c.vars[1].exportName, "");
    const ContainerType& rec = c.types[c.vars[1].type];
    ASSERT_EQ(rec.code, btRecord);
    ASSERT_EQ(rec.fields.size(), 2u);
    EXPECT_EQ(c.types[rec.fields[0]].code, btU8);
    const ContainerType& arr = c.types[rec.fields[1]];
    EXPECT_EQ(arr.code, btStaticArray);
    EXPECT_EQ(arr.length, 3u);
    EXPECT_EQ(arr.startIndex, 2);
    EXPECT_EQ(c.types[c.vars[2].type].exportName, "TDATETIME");
    // Components are numbered before the types that contain them.
    EXPECT_LT(rec.fields[1], c.vars[1].type);
    EXPECT_LT(arr.elementType, rec.fields[1]);
}

TEST(Container, OnBeforeOutputCanSuppressTheOutput) {
    TPSPascalCompiler c;
    c.OnBeforeOutput = [](TPSPascalCompiler&) { return false; };
    EXPECT_FALSE(c.Compile("begin end."));
    EXPECT_EQ(c.MsgCount(), 0u);
    std::string out;
    EXPECT_FALSE(c.GetOutput(out));
}

TEST(Container, EmptyTextOnlyWithoutAFinalEnd) {
    CompileResult refused = CompileScript("");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.FirstError().text, "[Error] (1:1): Unexpected end of file");
    CompileResult allowed = CompileScript("", {}, [](TPSPascalCompiler& c) { c.AllowNoEnd = true; });
    ASSERT_TRUE(allowed.ok) << allowed.AllMessages();
    Container c;
    std::string error;
    ASSERT_TRUE(ReadContainer(allowed.output, c, error)) << error;
    ASSERT_EQ(c.procs.size(), 1u);
    EXPECT_EQ(Hex(c.procs[0].code), "09");
    EXPECT_EQ(c.mainProc, 0u);
}

}  // namespace
}  // namespace tv::script::test
