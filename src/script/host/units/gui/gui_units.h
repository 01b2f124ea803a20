#pragma once
// The import units that give scripts the GUI class library: graphics, controls, stdctrls and forms,
// registered by the script host after classes, in that order on both sides.

#include "platform/gui/rect.h"
#include "script/host/units/import_units.h"
#include "script/host/units/job_units.h"
#include "script/runtime/event_bridge.h"

namespace tv::script {

// Points and rectangles travel as the script's records of 32-bit coordinates.
template <>
struct ArgTraits<TPoint> : RecordArgTraits<TPoint> {};
template <>
struct ArgTraits<TRect> : RecordArgTraits<TRect> {};

namespace units {
extern const TImportUnit kGraphicsUnit;
extern const TImportUnit kControlsUnit;
extern const TImportUnit kStdCtrlsUnit;
extern const TImportUnit kFormsUnit;
}  // namespace units

void CompileImportGraphics(TPSPascalCompiler& c, bool streams);
void ExecImportGraphics(TPSRuntimeClassImporter& ri, bool streams);
void CompileImportControls(TPSPascalCompiler& c);
void ExecImportControls(TPSRuntimeClassImporter& ri);
void CompileImportStdCtrls(TPSPascalCompiler& c);
void ExecImportStdCtrls(TPSRuntimeClassImporter& ri);
void CompileImportForms(TPSPascalCompiler& c);
void ExecImportForms(TPSRuntimeClassImporter& ri);

// The four graphical units in the order a job script's host registers them (job_units.h).
TGuiUnits JobGuiUnits();

}  // namespace tv::script
