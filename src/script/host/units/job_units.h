#pragma once
// The seven import units a job script sees, in the order the script host registers them: the
// compile side declares the date and time routines, std, classes with streams and then the
// graphical units; the run side binds the classes of std, classes with streams and the graphical
// units in that order, and then the date and time routines on the executor. The graphical units
// (graphics with streams, controls, stdctrls, forms) come from units/gui (JobGuiUnits()), so that
// a host without the GUI library registers the first three alone, in the same order.

#include <span>

#include "script/host/units/import_unit.h"

namespace tv::script {

using TGuiUnits = std::span<const units::TImportUnit* const>;

void CompileImportJobUnits(TPSPascalCompiler& c, TGuiUnits gui = {});
void ExecImportJobUnits(TPSExec& exec, TPSRuntimeClassImporter& ri, TGuiUnits gui = {});

}  // namespace tv::script
