#pragma once
// The import units that give scripts the GUI class library: graphics and controls (and stdctrls and
// forms), registered by the script host after classes, in the order graphics, controls, stdctrls,
// forms on both sides.

#include "platform/gui/rect.h"
#include "script/runtime/event_bridge.h"
#include "script/runtime/units/import_units.h"

namespace tv::script {

// Points and rectangles travel as the script's records of 32-bit coordinates.
template <>
struct ArgTraits<TPoint> : RecordArgTraits<TPoint> {};
template <>
struct ArgTraits<TRect> : RecordArgTraits<TRect> {};

namespace units {
extern const TImportUnit kGraphicsUnit;
extern const TImportUnit kControlsUnit;
}  // namespace units

void CompileImportGraphics(TPSPascalCompiler& c, bool streams);
void ExecImportGraphics(TPSRuntimeClassImporter& ri, bool streams);
void CompileImportControls(TPSPascalCompiler& c);
void ExecImportControls(TPSRuntimeClassImporter& ri);

}  // namespace tv::script
