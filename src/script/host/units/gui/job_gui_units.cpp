#include "script/host/units/gui/gui_units.h"

namespace tv::script {

TGuiUnits JobGuiUnits() {
    static constexpr const units::TImportUnit* kUnits[] = {&units::kGraphicsUnit, &units::kControlsUnit,
                                                           &units::kStdCtrlsUnit, &units::kFormsUnit};
    return kUnits;
}

}  // namespace tv::script
