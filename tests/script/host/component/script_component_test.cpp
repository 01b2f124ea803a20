#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "platform/rtl/codepage.h"
#include "script/compiler/compiler_messages.h"
#include "script/host/component/plugin.h"
#include "script/host/component/script.h"

namespace tv::script {
namespace {

// A plug-in that records each of its steps.
class RecordingPlugin : public TPSPlugin {
public:
    RecordingPlugin(std::string name, std::vector<std::string>& log) : fName(std::move(name)), fLog(log) {}
    void CompOnUses(TPSScript&) override { fLog.push_back(fName + ".CompOnUses"); }
    void ExecOnUses(TPSScript&) override { fLog.push_back(fName + ".ExecOnUses"); }
    void CompileImport1(TPSScript&) override { fLog.push_back(fName + ".CompileImport1"); }
    void CompileImport2(TPSScript&) override { fLog.push_back(fName + ".CompileImport2"); }
    void ExecImport1(TPSScript&, TPSRuntimeClassImporter&) override {
        fLog.push_back(fName + ".ExecImport1");
    }
    void ExecImport2(TPSScript&, TPSRuntimeClassImporter&) override {
        fLog.push_back(fName + ".ExecImport2");
    }

private:
    std::string fName;
    std::vector<std::string>& fLog;
};

// A component with a Print routine; what scripts print is kept.
class Component : public ::testing::Test {
protected:
    Component() {
        script.OnCompile = [this](TPSScript& s) {
            s.AddCallable("procedure Print(S: string);",
                          [this](const std::string& t) { printed << t << '\n'; });
        };
    }
    bool CompileText(const std::string& text) {
        script.Script().SetText(text);
        return script.Compile();
    }
    std::string Messages() {
        std::string m;
        for (size_t i = 0; i < script.CompilerMessageCount(); ++i) m += script.CompilerErrorToStr(i) + "\n";
        return m;
    }

    TPSScript script;
    std::ostringstream printed;
};

TEST_F(Component, CompileAndExecuteFireTheHooksInTheirOrder) {
    std::vector<std::string> log;
    RecordingPlugin a("A", log), b("B", log);
    script.Plugins().Add(&a);
    script.Plugins().Add(&b);
    script.OnExecImport = [&log](TObject*, TPSExec&, TPSRuntimeClassImporter&) {
        log.push_back("OnExecImport");
    };
    script.OnCompImport = [&log](TObject*, TPSPascalCompiler&) { log.push_back("OnCompImport"); };
    script.OnCompile = [&log](TPSScript& s) {
        log.push_back(std::string("OnCompile") + (s.CanAdd() ? " (may register)" : ""));
    };
    script.OnExecute = [&log](TPSScript&) { log.push_back("OnExecute"); };
    script.OnAfterExecute = [&log](TPSScript&) { log.push_back("OnAfterExecute"); };
    ASSERT_TRUE(CompileText("begin end.")) << Messages();
    ASSERT_TRUE(script.Execute());
    const std::vector<std::string> expected = {
        "A.ExecImport1",    "B.ExecImport1",    "OnExecImport",
        "A.ExecImport2",    "B.ExecImport2",    "A.ExecOnUses",
        "B.ExecOnUses",     "A.CompOnUses",     "B.CompOnUses",
        "A.CompileImport1", "B.CompileImport1", "OnCompImport",
        "A.CompileImport2", "B.CompileImport2", "OnCompile (may register)",
        "OnExecute",        "OnAfterExecute"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(script.CanAdd());
}

TEST_F(Component, RegistrationWorksOnlyInsideTheCompileEvents) {
    auto none = [](const std::string&) {};
    EXPECT_FALSE(script.AddCallable("procedure Early(S: string);", none));
    EXPECT_FALSE(script.AddRegisteredVariable("Early", "Integer"));
    bool inside = false;
    script.OnCompile = [&](TPSScript& s) {
        inside = s.AddCallable("procedure Print(S: string);",
                               [this](const std::string& t) { printed << t << '\n'; }) &&
                 s.AddRegisteredVariable("Shared", "Integer") &&
                 !s.AddRegisteredVariable("Bad", "NoSuchType");
    };
    ASSERT_TRUE(
        CompileText("var Own: Integer; begin Shared := 7; Own := 1; Print(IntToStr(Shared + Own)); end."))
        << Messages();
    EXPECT_TRUE(inside);
    EXPECT_FALSE(script.AddCallable("procedure Late(S: string);", none)) << "after the compile";
    ASSERT_TRUE(script.Execute());
    EXPECT_EQ(printed.str(), "8\n");
    ASSERT_NE(script.GetVariable("SHARED"), nullptr);
    EXPECT_EQ(script.GetVariable("OWN"), nullptr) << "the script's own variable is not exported";
    EXPECT_FALSE(script.SetVarToInstance("NOSUCH", nullptr));
}

TEST_F(Component, AHostObjectBoundToAClassVariable) {
    script.OnCompile = [this](TPSScript& s) {
        s.AddCallable("procedure Print(S: string);", [this](const std::string& t) { printed << t << '\n'; });
        s.Comp().AddClassN(nullptr, "TObject");
        s.AddRegisteredVariable("Host", "TObject");
        s.AddRegisteredVariable("Count", "Integer");
    };
    ASSERT_TRUE(CompileText("begin if Host <> nil then Print('bound'); end.")) << Messages();
    TObject host;
    EXPECT_TRUE(script.SetVarToInstance("Host", &host));
    EXPECT_TRUE(script.SetVarToInstance("Count", &host)) << "not a class variable: true, nothing stored";
    ASSERT_TRUE(script.Execute());
    EXPECT_EQ(printed.str(), "bound\n");
}

struct UnitCase {
    const char* name;
    bool handler;
    bool found;
    const char* message;
};

TEST_F(Component, UnitsOtherThanSystemAreRefused) {
    const UnitCase cases[] = {
        {"no handler", false, false, "[Error] (1:6): Unknown identifier ''\n"},
        {"the handler does not find it", true, false, "[Error] (1:6): Unknown identifier 'EXTRA'\n"},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.handler)
            script.OnFindUnknownFile = [&c](TObject*, const std::string&, std::string&, std::string&) {
                return c.found;
            };
        EXPECT_FALSE(CompileText("uses Extra; begin end."));
        EXPECT_EQ(Messages(), c.message);
        EXPECT_FALSE(script.Execute()) << "nothing to run after a failed compile";
    }
}

TEST_F(Component, AFailedLoadKeepsItsReason) {
    script.OnCompile = [](TPSScript& s) { s.Comp().AddNativeFunction("procedure Unbound;"); };
    EXPECT_FALSE(CompileText("begin Unbound; end."));
    EXPECT_EQ(script.CompilerMessageCount(), 0u);
    EXPECT_EQ(script.ExecErrorToString(), "Cannot Import UNBOUND");
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(script.ExecErrorToString(), "Cannot Import UNBOUND") << "not cleared by the refused run";
}

TEST_F(Component, ARunTimeErrorIsPlacedAtItsStatement) {
    ASSERT_TRUE(CompileText("var a: array of Integer;\nbegin\n  Print('x');\n  a[2] := 1;\nend."))
        << Messages();
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(script.ExecErrorToString(),
              "Out Of Range! Element index is out of Array range: Element Index is 2, Array length = 0");
    EXPECT_EQ(script.ExecErrorRow(), 4u);
    EXPECT_EQ(script.ExecErrorCol(), 3u);
    uint32_t pos = 0, row = 0, col = 0;
    std::string f1, f2;
    ASSERT_TRUE(script.TranslatePositionPos(static_cast<uint32_t>(script.ExecErrorProcNo()),
                                            static_cast<uint32_t>(script.ExecErrorByteCodePosition()), pos,
                                            f1));
    ASSERT_TRUE(script.TranslatePositionRC(static_cast<uint32_t>(script.ExecErrorProcNo()),
                                           static_cast<uint32_t>(script.ExecErrorByteCodePosition()), row,
                                           col, f2));
    EXPECT_EQ(f1, f2);
    EXPECT_GT(script.ExecErrorPosition(), 0u);
}

TEST_F(Component, WithoutDebugInformationNothingIsLoadedAndNoHookRuns) {
    script.UseDebugInfo = false;
    ASSERT_TRUE(CompileText("begin Print('a'); end.")) << Messages();
    EXPECT_TRUE(script.Exec().ProcNames().empty());
    ASSERT_TRUE(script.Execute());
    EXPECT_FALSE(script.Exec().DebugEnabled());
    script.UseDebugInfo = true;
    ASSERT_TRUE(CompileText("begin Print('a'); end.")) << Messages();
    EXPECT_FALSE(script.Exec().ProcNames().empty());
}

// A run that ended with an unhandled error leaves nothing half done for the next Execute: it runs
// the main procedure from its start and fails again, instead of going on after the failing statement
// and reporting success.
TEST_F(Component, ExecuteAfterAFailedRunStartsTheMainProcedureAgain) {
    ASSERT_TRUE(
        CompileText("begin Print('start'); RaiseException(erCustomError, 'boom'); Print('tail'); end."))
        << Messages();
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        printed.str({});
        EXPECT_FALSE(script.Execute());
        EXPECT_EQ(printed.str(), "start\n");
        EXPECT_EQ(script.ExecErrorToString(), "boom");
    }
}

TEST_F(Component, ExecuteDuringARunIsRefused) {
    script.OnCompile = [this](TPSScript& s) { s.AddCallable("procedure Again;", [&s]() { s.Execute(); }); };
    ASSERT_TRUE(CompileText("begin Again; end.")) << Messages();
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(script.ExecErrorToString(), "Exception: Script engine already running");
}

TEST_F(Component, FixedTextsOfRefusedOperations) {
    std::string data;
    EXPECT_THROW(
        {
            try {
                script.GetCompiled(data);
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, "Script is not compiled");
                throw;
            }
        },
        Exception);
    try {
        script.Stop();
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Not running");
    }
    ASSERT_TRUE(CompileText("var V: Integer; begin end.")) << Messages();
    try {
        script.SetPointerToData("V", nullptr, nullptr);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Unable to find variable");
    }
}

// A container loaded without compiling: the run side of the host is bound in OnExecImport.
TEST_F(Component, ACompiledContainerLoadsAgain) {
    script.OnCompile = [](TPSScript& s) { s.Comp().AddNativeFunction("procedure Print(S: string);"); };
    script.OnExecImport = [this](TObject*, TPSExec& e, TPSRuntimeClassImporter&) {
        RegisterNativeCallable(e, "Print", [this](const std::string& t) { printed << t << '\n'; });
    };
    ASSERT_TRUE(CompileText("begin Print('again'); end.")) << Messages();
    std::string data;
    script.GetCompiled(data);
    script.SetCompiled(data);
    ASSERT_TRUE(script.Execute());
    EXPECT_EQ(printed.str(), "again\n");
    EXPECT_THROW(script.SetCompiled("garbage"), Exception);
}

TEST_F(Component, ExportedFunctionsRunByName) {
    ASSERT_TRUE(CompileText("function Twice(X: Integer): Integer; begin Result := 2 * X; end; begin end."))
        << Messages();
    EXPECT_EQ(script.ExecuteFunction({Variant(int32_t{21})}, "Twice").AsInteger(), 42);
    EXPECT_TRUE(script.GetProcMethod("Twice"));
    EXPECT_NE(script.FindNamedType("BOOLEAN"), nullptr);
    EXPECT_NE(script.FindBaseType(btS32), nullptr);
}

TEST_F(Component, ARemovedPluginLeavesTheList) {
    std::vector<std::string> log;
    auto* a = new RecordingPlugin("A", log);
    RecordingPlugin b("B", log), c("C", log);
    script.Plugins().Add(&b);
    script.Plugins().Add(a);
    script.Plugins().Add(&c);
    script.Plugins().Add(a);
    delete a;
    ASSERT_EQ(script.Plugins().Count(), 2);
    EXPECT_EQ(script.Plugins().Items(0)->Plugin(), &b);
    EXPECT_EQ(script.Plugins().Items(1)->Plugin(), &c);
    ASSERT_TRUE(CompileText("begin end.")) << Messages();
}

// A variable stored as a pointer reads the host's data; one stored as a value has no room for a
// pointer and is refused.
TEST_F(Component, PointerVariablesReachHostData) {
    script.OnCompile = [this](TPSScript& s) {
        s.AddCallable("procedure Print(S: string);", [this](const std::string& t) { printed << t << '\n'; });
        s.AddRegisteredPTRVariable("Shared", "Integer");
        s.AddRegisteredVariable("Own", "Integer");
    };
    ASSERT_TRUE(CompileText("begin Print(IntToStr(Shared)); Shared := Shared + 1; end.")) << Messages();
    int32_t host = 41;
    script.SetPointerToData("Shared", &host, script.FindBaseType(btS32));
    ASSERT_TRUE(script.Execute()) << script.ExecErrorToString();
    EXPECT_EQ(printed.str(), "41\n");
    EXPECT_EQ(host, 42);
    try {
        script.SetPointerToData("Own", &host, script.FindBaseType(btS32));
        ADD_FAILURE() << "a value variable took a pointer";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Unable to find variable");
    }
}

// A plug-in that frees another plug-in when it imports: the others keep their turns.
class FreeingPlugin : public RecordingPlugin {
public:
    FreeingPlugin(std::string name, std::vector<std::string>& log, TPSPlugin*& victim)
        : RecordingPlugin(std::move(name), log), fVictim(victim) {}
    void ExecImport1(TPSScript& s, TPSRuntimeClassImporter& ri) override {
        RecordingPlugin::ExecImport1(s, ri);
        delete fVictim;
        fVictim = nullptr;
    }

private:
    TPSPlugin*& fVictim;
};

TEST_F(Component, APluginFreedDuringACompileLeavesTheOthersTheirTurns) {
    std::vector<std::string> log;
    TPSPlugin* first = new RecordingPlugin("A", log);
    FreeingPlugin b("B", log, first);
    RecordingPlugin c("C", log);
    script.Plugins().Add(first);
    script.Plugins().Add(&b);
    script.Plugins().Add(&c);
    ASSERT_TRUE(CompileText("begin end.")) << Messages();
    const std::vector<std::string> expected = {
        "A.ExecImport1",    "B.ExecImport1",    "C.ExecImport1",   "B.ExecImport2", "C.ExecImport2",
        "B.ExecOnUses",     "C.ExecOnUses",     "B.CompOnUses",    "C.CompOnUses",  "B.CompileImport1",
        "C.CompileImport1", "B.CompileImport2", "C.CompileImport2"};
    EXPECT_EQ(log, expected);
    ASSERT_EQ(script.Plugins().Count(), 2);
}

TEST_F(Component, NotificationVariablesWithoutEventsCannotBeUsed) {
    script.OnCompile = [](TPSScript& s) { s.AddNotificationVariant("Note"); };
    ASSERT_TRUE(CompileText("var x: Variant; begin x := Note; end.")) << Messages();
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(script.ExecErrorToString(), "Exception: Unable to read variant");
    std::string stored;
    script.OnGetNotificationVariant = [](TPSScript&, const std::string& name) {
        return Variant(UnicodeString(std::u16string_view(Utf8ToUtf16(name))));
    };
    script.OnSetNotificationVariant = [&stored](TPSScript&, const std::string& name, const Variant& v) {
        stored = name + "=" + Utf16ToUtf8(v.AsUnicode().view());
    };
    ASSERT_TRUE(CompileText("begin Note := Note + '!'; end.")) << Messages();
    ASSERT_TRUE(script.Execute()) << script.ExecErrorToString();
    EXPECT_EQ(stored, "Note=Note!") << "the names as the script writes them";
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

TEST_F(Component, ThePreProcessorRouteIncludesFilesAndMayLeaveTheLoadToExecute) {
    script.UsePreProcessor = true;
    script.SuppressLoadData = true;
    script.SetMainFileName("main.pas");
    script.Defines().Add("LOUD");
    script.OnNeedFile = [](TObject*, const std::string&, std::string& fileName, std::string& output) {
        if (fileName != "part.inc") return false;
        output = "{$IFDEF LOUD}Print('included');{$ENDIF}";
        return true;
    };
    ASSERT_TRUE(CompileText("begin\n{$I part.inc}\nend.")) << Messages();
    EXPECT_EQ(script.Exec().Status(), isNotLoaded) << "the load waits for Execute";
    ASSERT_TRUE(script.Execute());
    EXPECT_EQ(printed.str(), "included\n");
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

// What a host routine may do to the component while the script that called it is still running.
struct DuringRunCase {
    const char* name;
    std::function<void(TPSScript&)> action;
};

TEST_F(Component, ReloadingTheExecutorDuringARunIsRefused) {
    std::string compiled;
    const DuringRunCase cases[] = {
        {"Compile", [](TPSScript& s) { s.Compile(); }},
        {"SetCompiled", [&compiled](TPSScript& s) { s.SetCompiled(compiled); }},
        {"ExecuteFunction that would load first",
         [](TPSScript& s) {
             s.SuppressLoadData = true;
             s.ExecuteFunction({}, "Twice");
         }},
    };
    const DuringRunCase* current = nullptr;
    // Bound on the run side, so that a container loaded without compiling finds them too.
    script.OnCompile = [](TPSScript& s) {
        s.Comp().AddNativeFunction("procedure Print(S: string);");
        s.Comp().AddNativeFunction("procedure Reload;");
    };
    script.OnExecImport = [this, &current](TObject*, TPSExec& e, TPSRuntimeClassImporter&) {
        RegisterNativeCallable(e, "Print", [this](const std::string& t) { printed << t << '\n'; });
        RegisterNativeCallable(e, "Reload", [this, &current]() { current->action(script); });
    };
    ASSERT_TRUE(
        CompileText("procedure Twice; begin end;\n"
                    "procedure Body(P: string);\n"
                    "var L: string;\n"
                    "begin\n"
                    "  L := P + ' ' + P;\n"
                    "  try Reload; except Print(ExceptionToString(ExceptionType, ExceptionParam)); end;\n"
                    "  Print(L);\n"
                    "end;\n"
                    "begin Body('kept'); Print('end'); end."))
        << Messages();
    script.GetCompiled(compiled);
    for (const DuringRunCase& c : cases) {
        SCOPED_TRACE(c.name);
        current = &c;
        script.SuppressLoadData = false;
        printed.str({});
        EXPECT_TRUE(script.Execute()) << script.ExecErrorToString();
        EXPECT_EQ(printed.str(), "Exception: Script engine already running\nkept kept\nend\n");
    }
}

TEST_F(Component, StopInsideAScriptProcedureTheHostCalledDuringTheRunEndsTheRun) {
    script.OnCompile = [this](TPSScript& s) {
        s.AddCallable("procedure Print(S: string);", [this](const std::string& t) { printed << t << '\n'; });
        s.AddCallable("procedure StopIt;", [&s]() { s.Stop(); });
        s.AddCallable("procedure CallInner;", [&s]() { s.ExecuteFunction({}, "Inner"); });
    };
    ASSERT_TRUE(
        CompileText("procedure Inner; begin Print('inner'); StopIt; Print('not after stop'); end;\n"
                    "procedure Outer(P: string);\n"
                    "var L: string;\n"
                    "begin\n"
                    "  L := P;\n"
                    "  CallInner;\n"
                    "  Print('not after the call ' + L + P);\n"
                    "end;\n"
                    "begin Outer('x'); Print('not after the call'); end."))
        << Messages();
    EXPECT_TRUE(script.Execute()) << "a stopped run ends as a normal end: " << script.ExecErrorToString();
    EXPECT_EQ(printed.str(), "inner\n");
    EXPECT_EQ(script.Exec().Status(), isLoaded);
}

TEST_F(Component, ACompileFromAnIdleCallWhilePausedIsRefused) {
    ASSERT_TRUE(CompileText("begin Print('ran'); end.")) << Messages();
    std::string refused;
    script.OnExecute = [](TPSScript& s) { s.Exec().Pause(); };
    script.Exec().OnIdleCall = [&](TPSDebugExec& e) {
        try {
            script.Compile();
        } catch (const Exception& ex) {
            refused = ex.Message;
        }
        e.Run();
    };
    ASSERT_TRUE(script.Execute()) << script.ExecErrorToString();
    EXPECT_EQ(refused, "Script engine already running");
    EXPECT_EQ(printed.str(), "ran\n");
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

// A compile asked for from inside the events of a compile (or of a container load) is refused; the
// outer compile goes on with the class registry and registration window it had.
TEST_F(Component, ACompileDuringACompileIsRefused) {
    const char* const where[] = {"OnExecImport", "OnCompile"};
    for (const char* w : where) {
        SCOPED_TRACE(w);
        std::string refused;
        bool registered = false;
        auto nested = [this, &refused]() {
            try {
                script.Compile();
            } catch (const Exception& e) {
                refused = e.Message;
            }
        };
        script.OnExecImport = [&](TObject*, TPSExec&, TPSRuntimeClassImporter& ri) {
            if (std::string(w) == "OnExecImport") nested();
            ri.Add(TObject::StaticClassInfo());
        };
        script.OnCompile = [&](TPSScript& s) {
            if (std::string(w) == "OnCompile") nested();
            registered = s.AddCallable("procedure Print(S: string);",
                                       [this](const std::string& t) { printed << t << '\n'; });
        };
        printed.str({});
        ASSERT_TRUE(CompileText("begin Print('once'); end.")) << Messages();
        EXPECT_EQ(refused, "A compile is already running");
        EXPECT_TRUE(registered) << "the registration window stays open";
        ASSERT_TRUE(script.Execute()) << script.ExecErrorToString();
        EXPECT_EQ(printed.str(), "once\n");
    }
}

}  // namespace
}  // namespace tv::script
