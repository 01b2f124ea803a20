#pragma once
// The import units that give scripts the class library: each declares its vocabulary to the compiler
// (CompileImport...) and binds it on the run side (ExecImport...). The script host registers them in
// the order dateutils, std, classes, graphics, controls, stdctrls, forms; each may use what the units
// before it declared.

#include "script/host/units/import_unit.h"

namespace tv::script {

class TPSPascalCompiler;
class TPSExec;
class TPSRuntimeClassImporter;

namespace units {
extern const TImportUnit kStdUnit;
extern const TImportUnit kClassesUnit;
extern const TImportUnit kDateUtilsUnit;
}  // namespace units

void CompileImportStd(TPSPascalCompiler& c);
void ExecImportStd(TPSRuntimeClassImporter& ri);
// Without streams, the stream classes and the members that use them are left out of both halves.
void CompileImportClasses(TPSPascalCompiler& c, bool streams);
void ExecImportClasses(TPSRuntimeClassImporter& ri, bool streams);
void CompileImportDateUtils(TPSPascalCompiler& c);
void ExecImportDateUtils(TPSExec& exec);

}  // namespace tv::script
