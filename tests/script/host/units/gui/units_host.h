#pragma once
// The import units as the script host registers them, and what tests expect of them.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/compiler/pascal_compiler.h"
#include "script/host/component/script.h"
#include "script/host/units/gui/gui_units.h"
#include "script/host/units/import_plugins.h"
#include "script/host/units/import_units.h"
#include "script/runtime/exec.h"
#include "script/runtime/runtime_class_importer.h"
#include "tools/psrun/runner/script_runner.h"

namespace tv::script::test {

inline void CompileAllUnits(TPSPascalCompiler& c) {
    CompileImportJobUnits(c, JobGuiUnits());
}

inline void ExecAllUnits(TPSExec& exec, TPSRuntimeClassImporter& ri) {
    ExecImportJobUnits(exec, ri, JobGuiUnits());
}

// A script component with every unit registered as the script host does it; `AddPrint` (from
// OnCompile) gives its scripts Print into `Printed`.
struct THostedScript {
    TPSScript Script;
    TPSImport_Classes Classes;
    TPSImport_DateUtils Dates;
    std::ostringstream Printed;

    THostedScript() {
        Script.Plugins().Add(&Classes);
        Script.Plugins().Add(&Dates);
        Script.OnCompImport = [](TObject*, TPSPascalCompiler& c) { CompileAllUnits(c); };
        Script.OnExecImport = [](TObject*, TPSExec& exec, TPSRuntimeClassImporter& ri) {
            ExecAllUnits(exec, ri);
        };
    }
    // Compiles and runs `text`; a failure names the first compiler message or the error.
    ::testing::AssertionResult Run(const std::string& text) {
        Script.Script().SetText(text);
        if (!Script.Compile())
            return ::testing::AssertionFailure()
                   << (Script.CompilerMessageCount() ? Script.CompilerErrorToStr(0) : "")
                   << Script.ExecErrorToString();
        if (!Script.Execute()) return ::testing::AssertionFailure() << Script.ExecErrorToString();
        return ::testing::AssertionSuccess();
    }
    void AddPrint(TPSScript& s) {
        s.AddCallable("procedure Print(S: string);", [this](const std::string& t) { Printed << t << '\n'; });
    }
};

// The graphical units for the psrun runner.
inline TGuiUnits GuiUnits() {
    return JobGuiUnits();
}

// The hand-written host declarations of the same units, in the host's order.
inline std::vector<std::string> HostFixtures() {
    const std::string dir = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    return {dir + "dateutils.decl", dir + "std.decl",      dir + "classes.decl", dir + "graphics.decl",
            dir + "controls.decl",  dir + "stdctrls.decl", dir + "forms.decl"};
}

// The members bound to nothing on purpose (and the write of Owner), sorted.
inline std::vector<std::string> ExpectedUnbound() {
    return {"TAPPLICATION.HANDLEEXCEPTION", "TCOMPONENT.DESTROYING", "TCOMPONENT.FREENOTIFICATION",
            "TCOMPONENT.INSERTCOMPONENT",   "TCOMPONENT.OWNER@",     "TCOMPONENT.REMOVECOMPONENT"};
}

}  // namespace tv::script::test
