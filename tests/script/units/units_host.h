#pragma once
// The import units as the script host registers them (dateutils, std, classes; the graphical units
// follow in the program that links them), and what tests expect of them.

#include <string>
#include <vector>

#include "script/compiler/pascal_compiler.h"
#include "script/runtime/exec.h"
#include "script/runtime/runtime_class_importer.h"
#include "script/runtime/units/import_units.h"

namespace tv::script::test {

inline void CompileNonVisualUnits(TPSPascalCompiler& c) {
    CompileImportDateUtils(c);
    CompileImportStd(c);
    CompileImportClasses(c, true);
}

inline void CompileAllUnits(TPSPascalCompiler& c) {
    CompileNonVisualUnits(c);
}

inline void ExecAllUnits(TPSExec& exec, TPSRuntimeClassImporter& ri) {
    ExecImportStd(ri);
    ExecImportClasses(ri, true);
    ExecImportDateUtils(exec);
}

// The hand-written host declarations of the same units.
inline std::vector<std::string> NonVisualFixtures() {
    const std::string dir = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    return {dir + "dateutils.decl", dir + "std.decl", dir + "classes.decl"};
}

// The members bound to nothing on purpose (and the write of Owner), sorted.
inline std::vector<std::string> ExpectedUnbound() {
    return {"TCOMPONENT.DESTROYING", "TCOMPONENT.FREENOTIFICATION", "TCOMPONENT.INSERTCOMPONENT",
            "TCOMPONENT.OWNER@", "TCOMPONENT.REMOVECOMPONENT"};
}

}  // namespace tv::script::test
