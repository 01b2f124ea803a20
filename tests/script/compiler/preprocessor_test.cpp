#include <gtest/gtest.h>

#include <map>

#include "script/compiler/pre_processor.h"
#include "script/compiler/script_compiler.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// As many blanks as `s` has characters: what a directive or an inactive token becomes.
std::string Blank(const std::string& s) {
    return std::string(s.size(), ' ');
}

// A pre-processor whose main file is "main.pas" and whose includes come from `files`.
struct PreRun {
    std::map<std::string, std::string> files;
    std::vector<std::string> defines;
    TPSPreProcessor pre;

    std::string Process(const std::string& text) {
        pre.Clear();
        pre.Defines = defines;
        pre.MainFile = text;
        pre.MainFileName = "main.pas";
        pre.OnNeedFile = [this](TPSPreProcessor&, const std::string&, std::string& name, std::string& out) {
            auto it = files.find(name);
            if (it == files.end()) return false;
            out = it->second;
            return true;
        };
        std::string output;
        pre.PreProcess(pre.MainFileName, output);
        return output;
    }

    // The message of the exception the processing raises, or "no exception".
    std::string Failure(const std::string& text) {
        try {
            Process(text);
        } catch (const EPSPreProcessor& e) {
            return e.Message;
        }
        return "no exception";
    }
};

TEST(PreProcessor, ActiveAndInactiveText) {
    const std::string ifdefWin = "{$IFDEF MSWINDOWS}", ifdefNope = "{$IFDEF NOPE}",
                      ifndefNope = "{$IFNDEF NOPE}", els = "{$ELSE}", endif = "{$ENDIF}";
    struct Case {
        std::string text, expected;
        std::vector<std::string> defines = {};
    } cases[] = {
        // The predefined symbols make the MSWINDOWS branch active and its ELSE part inactive.
        {"a" + ifdefWin + "b" + els + "c" + endif + "d",
         "a" + Blank(ifdefWin) + "b" + Blank(els) + " " + Blank(endif) + "d"},
        {"{$IFDEF VER23}1{$ENDIF}{$IFDEF cpu386}2{$ENDIF}{$IFDEF Win32}3{$ENDIF}",
         Blank("{$IFDEF VER23}") + "1" + Blank(endif) + Blank("{$IFDEF cpu386}") + "2" + Blank(endif) +
             Blank("{$IFDEF Win32}") + "3" + Blank(endif)},
        // An undefined symbol blanks the whole branch, line breaks included.
        {ifdefNope + "\nx := 1;\r\n" + endif + "y",
         std::string(ifdefNope.size() + 10 + endif.size(), ' ') + "y"},
        {ifndefNope + "a" + els + "b" + endif, Blank(ifndefNope) + "a" + Blank(els) + " " + Blank(endif)},
        // Inside an inactive branch nested branches stay inactive, their ELSE parts too.
        {ifdefNope + ifdefWin + "a" + els + "b" + endif + endif + "c",
         std::string(ifdefNope.size() + ifdefWin.size() + 1 + els.size() + 1 + 2 * endif.size(), ' ') + "c"},
        // DEFINE and UNDEF are case-insensitive and act from where they stand.
        {"{$define Fast}{$IFDEF FAST}a{$ENDIF}{$UNDEF fast}{$IFDEF FAST}b{$ENDIF}",
         Blank("{$define Fast}") + Blank("{$IFDEF FAST}") + "a" + Blank(endif) + Blank("{$UNDEF fast}") +
             Blank("{$IFDEF FAST}") + " " + Blank(endif)},
        // In an inactive branch DEFINE neither defines nor checks its parameter, and includes are skipped.
        {ifdefNope + "{$DEFINE A B}{$DEFINE X}{$I lost.inc}" + endif + "{$IFDEF X}a" + endif,
         std::string(ifdefNope.size() + 13 + 11 + 13 + endif.size() + 10 + 1 + endif.size(), ' ')},
        // The host's symbols.
        {"{$IFDEF DEBUG}a{$ENDIF}", Blank("{$IFDEF DEBUG}") + "a" + Blank(endif), {"Debug"}},
        // Directive-like text inside strings and comments, and brace comments without a dollar, stay.
        {"s := '{$X}'; // {$Y}\n(* {$Z}\n *) { plain }", "s := '{$X}'; // {$Y}\n(* {$Z}\n *) { plain }"},
    };
    for (const Case& c : cases) {
        PreRun run;
        run.defines = c.defines;
        EXPECT_EQ(run.Process(c.text), c.expected) << c.text;
    }
}

TEST(PreProcessor, DirectiveErrors) {
    const struct {
        std::string text, message;
    } cases[] = {
        {"{$IFDEF X}\n{$ELSE}\n  {$ELSE}\n{$ENDIF}", "Can't use ELSE twice in 'main.pas' at 3:3"},
        {"x\n {$DEFINE A B}", "Too many parameters in 'main.pas' at 2:2"},
        {"{$UNDEF A B}", "Too many parameters in 'main.pas' at 1:1"},
        // IFDEF checks its parameter in inactive branches too.
        {"{$IFDEF NOPE}{$IFDEF A B}{$ENDIF}{$ENDIF}", "Too many parameters in 'main.pas' at 1:14"},
        {"{$IFDEF X}{$ELSE Y}{$ENDIF}", "Too many parameters in 'main.pas' at 1:11"},
        {"{$ELSE}", "No IFDEF for ELSE in 'main.pas' at 1:1"},
        {"a{$ENDIF}", "No IFDEF for ENDIF in 'main.pas' at 1:2"},
        {"begin\n{$IFDEF X}\nend.", "Define not closed"},
        // Unknown directives are refused in inactive branches as well; CR LF is one line break.
        {"\r\n\r\n{$IFDEF NOPE}{$R+}{$ENDIF}", "Unknown compiler directives in 'main.pas' at 3:14"},
        {"{$I lost.inc}", "Unable to find file 'lost.inc' used from 'main.pas'"},
    };
    for (const auto& c : cases) EXPECT_EQ(PreRun().Failure(c.text), c.message) << c.text;
}

TEST(PreProcessor, IncludedTextAndTheLineMap) {
    PreRun run;
    run.files["b.inc"] = "p\nq";
    const std::string directive = "{$I b.inc}";
    // The included text stands before the directive's blanks.
    const std::string out = run.Process("x\n" + directive + "\ny");
    ASSERT_EQ(out, "x\np\nq" + Blank(directive) + "\ny");

    const struct {
        std::string module;
        uint32_t pos;
        std::string name;
        uint32_t filePos, row, col;
    } cases[] = {
        {"", 0, "main.pas", 0, 1, 1},
        {"", 2, "b.inc", 0, 1, 1},
        {"", 4, "b.inc", 2, 2, 1},  // q
        {"", static_cast<uint32_t>(out.size() - 1), "main.pas", 16, 3,
         1},                             // y, its line start shifted by the include
        {"b.inc", 4, "b.inc", 2, 2, 1},  // by module name
    };
    for (const auto& c : cases) {
        TPSLineInfoResults r;
        ASSERT_TRUE(run.pre.CurrentLineInfo().GetLineInfo(c.module, c.pos, r)) << c.pos;
        EXPECT_EQ(r.Name, c.name) << c.pos;
        EXPECT_EQ(r.Pos, c.filePos) << c.pos;
        EXPECT_EQ(r.Row, c.row) << c.pos;
        EXPECT_EQ(r.Col, c.col) << c.pos;
    }
    TPSLineInfoResults none;
    EXPECT_FALSE(run.pre.CurrentLineInfo().GetLineInfo("", static_cast<uint32_t>(out.size()), none));
    EXPECT_FALSE(run.pre.CurrentLineInfo().GetLineInfo("other.inc", 0, none));
}

TEST(PreProcessor, IncludeNesting) {
    // main includes f1, f1 includes f2 and so on: f20 is the deepest level allowed.
    PreRun run;
    for (int i = 1; i < 20; ++i) run.files["f" + std::to_string(i)] = "{$I f" + std::to_string(i + 1) + "}";
    run.files["f20"] = "deep";
    EXPECT_NE(run.Process("{$I f1}").find("deep"), std::string::npos);
    run.files["f20"] = "{$I f21}";
    run.files["f21"] = "too deep";
    EXPECT_EQ(run.Failure("{$I f1}"), "Too many nested include files while processing 'f21' from 'f20'");
}

// An include loop ends at the deepest level allowed, on its first turn round: a file that includes
// itself several times is not processed again for every include.
TEST(PreProcessor, IncludeLoopsEndAtTheDeepestLevel) {
    PreRun run;
    run.files["self"] = "{$I self}{$I self}{$I self}";
    run.files["a"] = "{$I b}";
    run.files["b"] = "x{$I a}";
    int asked = 0;
    auto failure = [&](const std::string& text) {
        asked = 0;
        run.pre.Clear();
        run.pre.MainFile = text;
        run.pre.MainFileName = "main.pas";
        run.pre.OnNeedFile = [&](TPSPreProcessor&, const std::string&, std::string& name, std::string& out) {
            ++asked;
            out = run.files[name];
            return true;
        };
        std::string output;
        try {
            run.pre.PreProcess("main.pas", output);
        } catch (const EPSPreProcessor& e) {
            return e.Message;
        }
        return std::string("no exception");
    };
    EXPECT_EQ(failure("{$I self}"), "Too many nested include files while processing 'self' from 'self'");
    EXPECT_EQ(asked, 20);
    EXPECT_EQ(failure("{$I a}"), "Too many nested include files while processing 'a' from 'b'");
    EXPECT_EQ(asked, 20);
}

TEST(PreProcessor, TheIncludeHandlerMayRenameTheFile) {
    PreRun run;
    run.pre.Clear();
    run.pre.MainFile = "{$I part}";
    run.pre.MainFileName = "main.pas";
    std::string including;
    run.pre.OnNeedFile = [&](TPSPreProcessor&, const std::string& from, std::string& name, std::string& out) {
        including = from;
        name = "scripts/" + name + ".inc";
        out = "z";
        return true;
    };
    std::string out;
    run.pre.PreProcess("main.pas", out);
    EXPECT_EQ(including, "main.pas");
    TPSLineInfoResults r;
    ASSERT_TRUE(run.pre.CurrentLineInfo().GetLineInfo("", 0, r));
    EXPECT_EQ(r.Name, "scripts/part.inc");
}

TEST(PreProcessor, HostDirectiveHandlers) {
    PreRun run;
    std::vector<std::string> seen;
    auto record = [&seen](bool handles) {
        return [&seen, handles](TPSPreProcessor&, TPSPascalPreProcessorParser& parser, bool active,
                                const std::string& param, const std::string& name, bool& cont) {
            seen.push_back(name + "|" + param + "|" + (active ? "active" : "inactive") + "|" +
                           std::to_string(parser.Row) + ":" + std::to_string(parser.Col));
            if (handles) cont = false;
        };
    };
    // The first handler sees every directive; clearing the flag takes a directive over.
    run.pre.OnProcessDirective = [&](TPSPreProcessor& p, TPSPascalPreProcessorParser& parser, bool active,
                                     const std::string& param, const std::string& name, bool& cont) {
        record(name == "MODE")(p, parser, active, param, name, cont);
    };
    run.pre.OnProcessUnknowDirective = record(true);
    const std::string text = "{$MODE fast}{$IFDEF NOPE}\n{$R+}{$ENDIF}";
    // Process() resets the pre-processor but keeps the handlers set here.
    EXPECT_EQ(run.Process(text), Blank(text.substr(0, 25)) + " " + Blank("{$R+}{$ENDIF}"));
    EXPECT_EQ(seen,
              (std::vector<std::string>{"MODE|fast|active|1:1", "IFDEF|NOPE|active|1:13", "R+||inactive|2:1",
                                        "R+||inactive|2:1", "ENDIF||inactive|2:6"}));
}

// --- through the script component ---

const char* const kMain =
    "program T;\n"          // row 1
    "var W: Integer;\n"     // row 2
    "{$IFDEF NOPE}\n"       // row 3
    "this is not pascal\n"  // row 4
    "{$ENDIF}\n"            // row 5
    "begin\n"               // row 6
    "{$I inc.pas}\n"        // row 7
    "  %s := 1;\n"          // row 8
    "end.\n";               // row 9

std::string MainText(const std::string& name) {
    std::string s = kMain;
    return s.replace(s.find("%s"), 2, name);
}

TPSScriptCompiler& Prepared(TPSScriptCompiler& sc, const std::string& inc) {
    sc.UsePreProcessor = true;
    sc.MainFileName = "main.pas";
    sc.OnNeedFile = [inc](TPSPreProcessor&, const std::string&, std::string& name, std::string& out) {
        if (name != "inc.pas") return false;
        out = inc;
        return true;
    };
    return sc;
}

TEST(PreProcessorCompile, MessagesStandForTheirFiles) {
    const struct {
        std::string inc, mainName, message;
    } cases[] = {
        {"\n  Z := 2;\n", "W", "[Error] inc.pas(2:3): Unknown identifier 'Z'"},
        // After the blanked branch and the include, rows and columns are the main file's own.
        {"\n  W := 2;\n", "Q", "[Error] main.pas(8:3): Unknown identifier 'Q'"},
    };
    for (const auto& c : cases) {
        TPSScriptCompiler sc;
        EXPECT_FALSE(Prepared(sc, c.inc).Compile(MainText(c.mainName)));
        ASSERT_GE(sc.CompilerMessageCount(), 1u);
        EXPECT_EQ(sc.CompilerErrorToStr(0), c.message);
    }
}

TEST(PreProcessorCompile, DebugPositionsNameTheirFiles) {
    TPSScriptCompiler sc;
    const std::string inc = "\n  W := 2;\n";
    const std::string main = MainText("W");
    ASSERT_TRUE(Prepared(sc, inc).Compile(main));
    std::string debug;
    ASSERT_TRUE(sc.GetDebugOutput(debug));
    auto u32 = [](uint32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
        return s;
    };
    // A position record: 4, the file name and byte 1, procedure 0, the code offset, then position,
    // row and column.
    auto expectRecord = [&](const std::string& file, uint32_t pos, uint32_t row, uint32_t col) {
        const std::string head = std::string(1, '\4') + file + '\1' + u32(0);
        size_t at = debug.find(head);
        ASSERT_NE(at, std::string::npos) << file;
        EXPECT_EQ(Hex(debug.substr(at + head.size() + 4, 12)), Hex(u32(pos) + u32(row) + u32(col))) << file;
    };
    expectRecord("inc.pas", 3, 2, 3);
    // In the main file's range the position counts the included text.
    expectRecord("main.pas", static_cast<uint32_t>(main.find("  W :=") + 2 + inc.size()), 8, 3);
}

TEST(PreProcessorCompile, FailuresAreRaised) {
    TPSScriptCompiler sc;
    Prepared(sc, "");
    try {
        sc.Compile("{$IFDEF X}begin end.");
        FAIL() << "no exception";
    } catch (const EPSPreProcessor& e) {
        EXPECT_EQ(e.Message, "Define not closed");
    }
    EXPECT_FALSE(sc.CanAdd());
}

}  // namespace
}  // namespace tv::script::test
