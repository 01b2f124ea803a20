#include "script/host/units/job_units.h"

#include "script/host/units/import_units.h"

namespace tv::script {

void CompileImportJobUnits(TPSPascalCompiler& c, TGuiUnits gui) {
    CompileImportDateUtils(c);
    CompileImportStd(c);
    CompileImportClasses(c, true);
    for (const units::TImportUnit* unit : gui) units::CompileImport(c, *unit, true);
}

void ExecImportJobUnits(TPSExec& exec, TPSRuntimeClassImporter& ri, TGuiUnits gui) {
    ExecImportStd(ri);
    ExecImportClasses(ri, true);
    for (const units::TImportUnit* unit : gui) units::ExecImport(ri, *unit, true);
    ExecImportDateUtils(exec);
}

}  // namespace tv::script
