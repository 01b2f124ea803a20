#pragma once
// The compile half of the script component: owns a compiler, copies the component's options into it
// before each compile, declares the host's interface (its import units and the job API) when the
// compiler asks for the unit SYSTEM, refuses every other unit, and compiles the script text as
// written or, when asked, through the pre-processor with messages mapped back to their files.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/compiler/pascal_compiler.h"
#include "script/compiler/pre_processor.h"

namespace tv::script {

// The component's compiler options (a set).
enum TPSCompOption : uint8_t {
    icAllowNoBegin = 1,
    icAllowUnit = 2,
    icAllowNoEnd = 4,
    icBooleanShortCircuit = 8,
};

class TPSScriptCompiler {
public:
    using TPSCompileStep = std::function<void(TPSPascalCompiler&)>;

    TPSScriptCompiler();

    // Compiles `script`; true when a container was written. Registration through the compiler is
    // possible only while this runs (CanAdd).
    bool Compile(std::string_view script);

    TPSPascalCompiler& Comp() { return comp_; }
    bool CanAdd() const { return canAdd_; }
    bool GetOutput(std::string& s) const { return comp_.GetOutput(s); }
    bool GetDebugOutput(std::string& s) const { return comp_.GetDebugOutput(s); }
    size_t CompilerMessageCount() const { return comp_.MsgCount(); }
    // The full text of message `i` (MessageToString), empty out of range.
    std::string CompilerErrorToStr(size_t i) const;

    uint8_t CompilerOptions = 0;
    // Run in order when the compiler asks for SYSTEM: the plug-ins' units, then the host's imports and
    // the job API. SYSTEM is refused when any of them recorded an error.
    std::vector<TPSCompileStep> SystemSteps;
    // Asked for a unit other than SYSTEM; without it every other unit is refused.
    std::function<bool(TPSPascalCompiler&, const std::string& unitName)> OnUnknownUses;
    bool UsePreProcessor = false;
    std::string MainFileName;
    std::vector<std::string> Defines;
    TPSPreProcessor::TPSOnNeedFile OnNeedFile;
    TPSPreProcessor::TPSOnProcessDirective OnProcessDirective;
    TPSPreProcessor::TPSOnProcessDirective OnProcessUnknowDirective;

private:
    bool ScriptUses(TPSPascalCompiler& c, const std::string& unitName);

    TPSPascalCompiler comp_;
    TPSPreProcessor pre_;
    bool canAdd_ = false;
};

}  // namespace tv::script
