#pragma once
// Compiling a script against host declarations written as text (THostDeclarations) and running it on
// an executor the test prepares: what the tests of host classes and events share.

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "script/runtime/exec.h"

namespace tv::script::test {

struct HostRun {
    bool Compiled = false;
    std::vector<std::string> Messages;
    std::string LoadError;  // the load's error text, empty when it loaded
    bool Ran = false;
    std::string Error;  // the run's error text, empty when it ran to its end
    std::string Out;    // what Print wrote during the run, one line each
    // Everything Print writes, also later (event handlers that run after the main block).
    std::shared_ptr<std::ostringstream> Printed = std::make_shared<std::ostringstream>();
};

// Compiles `script` against `declarations` (and `procedure Print(S: string)`), then loads it into
// `exec` after `setup` registered the run side, and runs it.
HostRun RunHostScript(TPSExec& exec, const std::string& script, const std::string& declarations,
                      const std::function<void(TPSExec&)>& setup);

// Case names of test tables as gtest prints them.
std::string Describe(const HostRun& r);

}  // namespace tv::script::test
