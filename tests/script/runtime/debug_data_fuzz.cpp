// Feeds debug streams to the debugging executor of a loaded script: the input as it stands and
// spliced into the compiler's own stream of the script. Positions are then translated, and the
// script runs with the per-instruction hook (and its call-stack reading) for a bounded number of
// instructions.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/codepage.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/binding.h"
#include "script/runtime/debug_exec.h"

namespace {

using namespace tv::script;

constexpr const char* kScript = R"(var Total: Integer;
procedure Add(X: Integer; S: string);
begin
  Total := Total + X;
  Where;
end;
function Twice(X: Integer): Integer;
begin
  Result := 2 * X;
  Add(Result, 'twice');
end;
var i: Integer;
begin
  for i := 1 to 20 do
    Add(Twice(i), 'loop');
  try
    RaiseException(erCustomError, 'x');
  except
    Where;
  end;
end.
)";

struct Compiled {
    std::string container, debug;
};

const Compiled& Script() {
    static const Compiled c = [] {
        TPSPascalCompiler comp;
        comp.OnUses = [](TPSPascalCompiler& x, const std::string&) {
            x.AddFunction("procedure Where;");
            return true;
        };
        Compiled out;
        comp.Compile(tv::Utf8ToCp1252(kScript));
        comp.GetOutput(out.container);
        comp.GetDebugOutput(out.debug);
        return out;
    }();
    return c;
}

void Run(const std::string& debug) {
    TPSDebugExec exec;
    RegisterNativeCallable(exec, "Where", [&exec]() {
        uint32_t n = 0;
        (void)exec.GetCallStack(n);
    });
    if (!exec.LoadData(Script().container)) return;
    exec.LoadDebugData(debug);
    for (uint32_t proc = 0; proc < exec.GetProcCount() + 1; ++proc)
        for (uint32_t pos : {0u, 1u, 7u, 100u, 0xFFFFFFFFu}) (void)exec.TranslatePosition(proc, pos);
    int steps = 0;
    exec.FOnRunLine = [&steps](TPSExec& e) {
        if (++steps > 10000) e.Stop();
    };
    int lines = 0;
    exec.OnSourceLine = [&lines](TPSDebugExec&, const std::string&, uint32_t, uint32_t, uint32_t) {
        ++lines;
    };
    exec.RunScript();
    exec.Stop();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Run(input);
    const std::string& real = Script().debug;
    if (size > 0 && !real.empty()) {
        // Overwrite the compiler's stream at a place the first byte picks.
        std::string spliced = real;
        const size_t at = (static_cast<unsigned char>(input[0]) * spliced.size()) / 256;
        spliced.replace(at, std::min(input.size() - 1, spliced.size() - at), input.substr(1));
        Run(spliced);
    }
    return 0;
}
