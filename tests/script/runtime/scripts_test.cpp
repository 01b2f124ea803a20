#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/psrun/runner/script_runner.h"

namespace tv::script {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

fs::path ScriptDir() {
    return fs::path(TV_SOURCE_DIR) / "tests" / "script" / "runtime" / "scripts";
}

// Every script of the suite prints what its .out file holds; a script with an .err file ends with
// that run-time error, the others run to their end.
TEST(Scripts, TheSuitePrintsWhatItsFilesExpect) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(ScriptDir())) {
        if (entry.path().extension() != ".pas") continue;
        ++count;
        const fs::path base = entry.path().parent_path() / entry.path().stem();
        std::ostringstream out;
        const TScriptRun run = RunScriptText(ReadFile(entry.path()), out);
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(run.Compiled) << name << ": " << (run.Messages.empty() ? "" : run.Messages.front());
        EXPECT_EQ(out.str(), ReadFile(base.string() + ".out")) << name;
        const fs::path err = base.string() + ".err";
        if (fs::exists(err)) {
            EXPECT_FALSE(run.Ran) << name;
            EXPECT_EQ("Runtime error " + run.Error + "\n", ReadFile(err)) << name;
        } else {
            EXPECT_TRUE(run.Ran) << name << ": " << run.Error;
        }
    }
    EXPECT_GE(count, 8);
}

struct Fold {
    const char* literal;   // the expression over constants, folded by the compiler
    const char* computed;  // the same over variables, computed at run time
    const char* show;      // how the value is printed
    const char* value;     // what both must print
};

// The compiler folds constant expressions with the same arithmetic the runtime computes with.
TEST(Scripts, FoldedAndComputedExpressionsAgree) {
    const Fold cases[] = {
        {"7 * 6 + 1", "a * b + c", "IntToStr", "43"},
        {"-7 div 2", "-a div d", "IntToStr", "-3"},
        {"-7 mod 2", "-a mod d", "IntToStr", "-1"},
        {"1 shl 33", "c shl e", "IntToStr", "2"},
        {"2147483647 + 1", "m + c", "IntToStr", "-2147483648"},
        {"6 and 3", "b and f", "IntToStr", "2"},
        {"6 xor 3", "b xor f", "IntToStr", "5"},
        {"(7 - 6) * (0 - 1)", "(a - b) * (0 - c)", "IntToStr", "-1"},
        {"9223372036854775807 + 1", "big + c", "IntToStr", "-9223372036854775808"},
        {"1 / 4", "c / g", "IntToStr", "0"},  // "/" of two integers divides as integers
        {"1.0 / 4", "one / g", "FloatToStr", "0.250000000000"},
        {"2.5 * 2", "h * d", "FloatToStr", "5.000000000000"},
        {"'ab' + 'cd'", "s + t", "", "abcd"},
        {"Ord(True)", "Ord(yes)", "IntToStr", "1"},
        {"Ord(Wed)", "Ord(w)", "IntToStr", "2"},
        {"Ord(TDay(258))", "Ord(TDay(k))", "IntToStr", "2"},  // cut to the enumeration's byte
    };
    std::string script =
        "type TDay = (Mon, Tue, Wed);\n"
        "var a, b, c, d, e, f, g, m, k: Integer; big: Int64; h, one: Double; s, t: string;\n"
        "  yes: Boolean; w: TDay;\n"
        "begin\n"
        "  a := 7; b := 6; c := 1; d := 2; e := 33; f := 3; g := 4; m := 2147483647; k := 258;\n"
        "  big := 9223372036854775807; h := 2.5; one := 1.0; s := 'ab'; t := 'cd'; yes := True;\n"
        "  w := Wed;\n";
    for (const Fold& c : cases) {
        script += "  Print(" + std::string(c.show) + "(" + c.literal + "));\n";
        script += "  Print(" + std::string(c.show) + "(" + c.computed + "));\n";
    }
    script += "end.\n";
    std::ostringstream out;
    const TScriptRun run = RunScriptText(script, out);
    ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
    ASSERT_TRUE(run.Ran) << run.Error;
    std::istringstream lines(out.str());
    for (const Fold& c : cases) {
        std::string folded, computed;
        std::getline(lines, folded);
        std::getline(lines, computed);
        EXPECT_EQ(folded, computed) << c.literal;
        EXPECT_EQ(folded, c.value) << c.literal;
    }
}

// The psrun program: its exit status says whether the script compiled and ran to its end.
int RunPsrun(const std::string& script, std::string& out, std::string& err) {
    const fs::path dir = fs::temp_directory_path() / ("psrun_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "s.pas") << script;
    const std::string cmd = std::string(TV_BINARY_DIR) + "/tools/psrun/psrun " + (dir / "s.pas").string() +
                            " > " + (dir / "out").string() + " 2> " + (dir / "err").string();
    const int status = std::system(cmd.c_str());
    out = ReadFile(dir / "out");
    err = ReadFile(dir / "err");
    fs::remove_all(dir);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Psrun, ExitsWithZeroOnlyWhenTheScriptCompiledAndRanToItsEnd) {
    std::string out, err;
    EXPECT_EQ(RunPsrun("begin Print('hi'); end.", out, err), 0);
    EXPECT_EQ(out, "hi\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(RunPsrun("var i: Integer; begin i := 0; Print('x'); i := 1 div i; end.", out, err), 1);
    EXPECT_EQ(out, "x\n");
    EXPECT_EQ(err, "Runtime error (1:43): divide by Zero\n");
    EXPECT_EQ(RunPsrun("begin Nonsense; end.", out, err), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err.substr(0, 8), "[Error] ");
    // A comment never closed is placed at its start, as pscc places it.
    EXPECT_EQ(RunPsrun("begin\n  { never closed\nend.\n", out, err), 1);
    EXPECT_EQ(err, "[Error] (2:3): Comment error\n");
}

}  // namespace
}  // namespace tv::script
