#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "script/common/inspect/verifier.h"
#include "script/compiler/script_compiler.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

TEST(ScriptCompiler, OptionsReachTheCompiler) {
    const struct {
        uint8_t options;
        std::string text;
        bool ok;
        std::string firstMessage;
    } cases[] = {
        {0, "var X: Integer;\nend.", false, "[Error] (2:1): 'BEGIN' expected"},
        {icAllowNoBegin, "var X: Integer;\nend.", true, "[Hint] (1:5): Variable 'X' never used"},
        {0, "var X: Integer;", false, "[Error] (1:16): Unexpected end of file"},
        {icAllowNoEnd, "var X: Integer;", true, "[Hint] (1:5): Variable 'X' never used"},
        {0, "unit U; interface implementation end.", false, "[Error] (1:1): 'BEGIN' expected"},
        {icAllowUnit, "unit U; interface implementation end.", true, ""},
    };
    for (const auto& c : cases) {
        TPSScriptCompiler sc;
        sc.CompilerOptions = c.options;
        EXPECT_EQ(sc.Compile(c.text), c.ok) << c.text;
        EXPECT_EQ(sc.CompilerErrorToStr(0), c.firstMessage) << c.text;
    }
    // The options are copied before every compile, so switching one off takes effect.
    TPSScriptCompiler sc;
    sc.CompilerOptions = icBooleanShortCircuit | icAllowNoBegin;
    ASSERT_TRUE(sc.Compile("begin end."));
    EXPECT_TRUE(sc.Comp().BooleanShortCircuit);
    EXPECT_TRUE(sc.Comp().AllowNoBegin);
    sc.CompilerOptions = 0;
    ASSERT_TRUE(sc.Compile("begin end."));
    EXPECT_FALSE(sc.Comp().BooleanShortCircuit);
    EXPECT_FALSE(sc.Comp().AllowNoBegin);
}

TEST(ScriptCompiler, SystemRunsTheStepsInOrder) {
    TPSScriptCompiler sc;
    std::vector<std::string> order;
    sc.SystemSteps.push_back([&](TPSPascalCompiler& c) {
        order.push_back(std::string("first") + (sc.CanAdd() ? " can add" : ""));
        c.AddTypeS("TFirst", "Integer");
    });
    sc.SystemSteps.push_back([&](TPSPascalCompiler& c) {
        order.push_back("second");
        c.AddFunction("function Twice(A: TFirst): TFirst;");
    });
    EXPECT_FALSE(sc.CanAdd());
    ASSERT_TRUE(sc.Compile("var A: TFirst; begin A := Twice(2); end.")) << sc.CompilerErrorToStr(0);
    EXPECT_EQ(order, (std::vector<std::string>{"first can add", "second"}));
    EXPECT_FALSE(sc.CanAdd());
    std::string out;
    ASSERT_TRUE(sc.GetOutput(out));
    EXPECT_TRUE(VerifyContainer(out).empty());
}

TEST(ScriptCompiler, AStepsErrorRefusesSystem) {
    TPSScriptCompiler sc;
    bool later = false;
    sc.SystemSteps.push_back(
        [](TPSPascalCompiler& c) { c.MakeError("host", ecCustomError, "broken import"); });
    sc.SystemSteps.push_back([&later](TPSPascalCompiler&) { later = true; });
    EXPECT_FALSE(sc.Compile("begin end."));
    EXPECT_TRUE(later);  // every step runs; the unit is refused afterwards
    ASSERT_EQ(sc.CompilerMessageCount(), 1u);
    EXPECT_EQ(sc.CompilerErrorToStr(0), "[Error] host(1:1): broken import");
    std::string out;
    EXPECT_FALSE(sc.GetOutput(out));
}

TEST(ScriptCompiler, OtherUnitsAreRefused) {
    TPSScriptCompiler sc;
    EXPECT_FALSE(sc.Compile("uses Classes;\nbegin end."));
    ASSERT_EQ(sc.CompilerMessageCount(), 1u);
    EXPECT_EQ(sc.CompilerErrorToStr(0), "[Error] (1:6): Unknown identifier ''");
    EXPECT_EQ(sc.CompilerErrorToStr(1), "");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The job scripts we ship (data/scripts) and the test jobs compile against the whole host (its
// import units and the job API) with no message, and their containers pass the verifier.
TEST(ScriptCompiler, JobScriptsCompileAgainstTheHost) {
    THostDeclarations decls = THostDeclarations::ParseFiles(FullHostFiles());
    const std::string shipped = std::string(TV_SOURCE_DIR) + "/data/scripts/";
    const std::string jobs = std::string(TV_FIXTURES_DIR) + "/script/jobs/";
    for (const std::string& name :
         {shipped + "import/default_import.pas", shipped + "export/default_export.pas",
          shipped + "export/default_smart.pas", jobs + "default_import.pas", jobs + "default_export.pas",
          jobs + "default_smart.pas"}) {
        const std::string text = ReadFile(name);
        ASSERT_FALSE(text.empty()) << name;
        TPSScriptCompiler sc;
        sc.SystemSteps.push_back([&decls](TPSPascalCompiler& c) { decls.Register(c, "SYSTEM"); });
        EXPECT_TRUE(sc.Compile(text)) << name << ": " << sc.CompilerErrorToStr(0);
        EXPECT_EQ(sc.CompilerMessageCount(), 0u) << name << ": " << sc.CompilerErrorToStr(0);
        std::string out;
        ASSERT_TRUE(sc.GetOutput(out)) << name;
        std::vector<std::string> faults = VerifyContainer(out);
        EXPECT_TRUE(faults.empty()) << name << ": " << (faults.empty() ? "" : faults.front());
    }
}

}  // namespace
}  // namespace tv::script::test
