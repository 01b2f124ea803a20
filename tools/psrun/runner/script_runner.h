#pragma once
// Compiling a script and running it with a small test host: `procedure Print(S: string);` writes S
// and a line end. What psrun and the script tests share.

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "script/host/units/job_units.h"

namespace tv::script {

class TPSExec;

struct TScriptRun {
    bool Compiled = false;
    bool Ran = false;                   // ran to its end without an error left
    std::vector<std::string> Messages;  // the compiler's messages, as it writes them
    std::string Error;                  // the load or run-time error, with its place when known
};

// Compiles `utf8Text` and runs it with the import units of a job script (the graphical ones when
// `gui` gives them: psrun does, so that the runner itself stays free of the GUI library); Print
// writes to `out`. `declarations` are more host routine headings (or "type Name = declaration"
// lines) for the compiler, `setup` registers their bindings on the executor before the script loads.
TScriptRun RunScriptText(std::string_view utf8Text, std::ostream& out,
                         const std::function<void(TPSExec&)>& setup = {},
                         const std::vector<std::string>& declarations = {}, TGuiUnits gui = {});

}  // namespace tv::script
