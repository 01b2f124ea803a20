#include "script/common/inspect/verifier.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "script/common/byte_io.h"
#include "script/common/inspect/container_reader.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// A container of the standard types and one main procedure whose code is `code`.
std::string WithMainCode(const std::string& code) {
    CompileResult r = CompileScript("var g: Integer; begin end.");
    EXPECT_TRUE(r.ok);
    std::string c = r.output;
    // The body is the last byte; the record before the one variable record holds its offset and length.
    const size_t bodyAt = c.size() - 1;
    const size_t lengthField = bodyAt - 5 /*variable record*/ - (4 + 2) - (4 + 5) - 4;
    c.resize(bodyAt);
    c += code;
    PatchU32(c, lengthField, static_cast<uint32_t>(code.size()));
    return c;
}

std::string Problems(const std::string& container) {
    std::string s;
    for (const std::string& p : VerifyContainer(container)) s += p + "\n";
    return s;
}

TEST(Verifier, AcceptsWhatTheCompilerWrites) {
    for (const char* file : {"statements.pas", "import_job.pas", "standard_routines.pas"}) {
        std::ifstream in(std::string(TV_FIXTURES_DIR) + "/script/corpus/" + file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        CompileResult r = CompileScript(text, FullHostFiles());
        ASSERT_TRUE(r.ok) << file << r.AllMessages();
        EXPECT_EQ(Problems(r.output), "") << file;
    }
    EXPECT_EQ(Problems(WithMainCode(Bytes("0B 0B000000 00 00 01000060 01 0B000000 05000000 04 09"))), "");
}

struct Corruption {
    const char* name;
    std::string code;  // the main procedure's code
    const char* problem;
};

TEST(Verifier, RefusesCorruptedCode) {
    const Corruption cases[] = {
        {"opcode 10", Bytes("0A 09"), "proc 0 @0: invalid opcode 10"},
        {"jump into an instruction", Bytes("06 01000000 0B 0B000000 09"),
         "proc 0 @0: jump to 6 is not an instruction of the procedure"},
        {"jump out of the code", Bytes("06 10000000 09"),
         "proc 0 @0: jump to 21 is not an instruction of the procedure"},
        {"a slot that was never pushed", Bytes("00 00 01000060 01 0B000000 05000000 09"),
         "proc 0 @0: stack slot L0 not pushed (depth 0)"},
        {"pop of an empty stack", Bytes("04 09"), "proc 0 @0: pop of an empty stack"},
        // push; jump if zero over the pop; pop; return: the two paths meet with depths 1 and 0.
        {"depths that disagree", Bytes("0B 0B000000 08 01000000 00 01000060 04 09"),
         "proc 0 @15: stack depth 0 meets 1 at 16"},
        {"a global beyond the variables", Bytes("17 00 05000000 09"),
         "proc 0 @0: global 5 beyond the variables"},
        {"a constant of a record type", Bytes("00 00 00000000 01 0B000000"), "proc 0 @0: short constant"},
        {"code that runs off its end", Bytes("0B 0B000000"), "proc 0 @0: runs past the end of the code"},
        {"an unknown frame subcode", Bytes("14 07 09"), "proc 0 @0: unknown frame subcode 7"},
    };
    for (const Corruption& k : cases)
        EXPECT_EQ(Problems(WithMainCode(k.code)), std::string(k.problem) + "\n") << k.name;
}

TEST(Verifier, RefusesBrokenContainers) {
    CompileResult r = CompileScript("begin end.");
    ASSERT_TRUE(r.ok);
    std::string badMagic = r.output;
    badMagic[0] = 'X';
    EXPECT_EQ(Problems(badMagic), "container: bad magic\n");
    std::string badBuild = r.output;
    badBuild[4] = 24;
    EXPECT_EQ(Problems(badBuild), "container: unsupported build\n");
    EXPECT_EQ(Problems(r.output.substr(0, 100)), "container: short attribute list\n");
    EXPECT_EQ(Problems(r.output.substr(0, 20)), "container: short header\n");
    std::string badType = r.output;
    badType[28] = 15;  // the first type record's code
    EXPECT_EQ(Problems(badType), "container: type 0: invalid code\n");
    std::string badMain = r.output;
    badMain[20] = 1;  // main procedure 1 of 1
    EXPECT_EQ(Problems(badMain), "container: main procedure out of range\n");
    std::string emptyBody = r.output;
    PatchU32(emptyBody, 28 + 161 + 5, 0);  // the main procedure's code length
    EXPECT_EQ(Problems(emptyBody), "container: procedure 0: code outside the container\n");
}

TEST(Verifier, LoaderLimitsOnTypeRecords) {
    // One type record after the standard header with three types counted.
    auto withType = [](const std::string& record) {
        std::string c = Bytes("49465053 17000000 02000000 00000000 00000000 FFFFFFFF 00000000 01 00000000");
        c += record;
        return c;
    };
    EXPECT_EQ(Problems(withType(Bytes("0B 00000000 00000000"))),
              "container: type 1: record without fields\n");
    EXPECT_EQ(Problems(withType(Bytes("0B 01000000 01000000 00000000"))),
              "container: type 1: field type not an earlier type\n");
    EXPECT_EQ(Problems(withType(Bytes("17 01010000 00000000"))), "container: set too large\n");
    EXPECT_EQ(Problems(withType(Bytes("17 00010000 00000000"))), "");
    EXPECT_EQ(Problems(withType(Bytes("16 00000000 00000020 00000000 00000000"))),
              "container: static array too long\n");
    EXPECT_EQ(Problems(withType(Bytes("19 00010000"))), "container: type 1: bad text\n");
}

}  // namespace
}  // namespace tv::script::test
