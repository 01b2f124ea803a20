// psrun FILE.pas
// Compiles FILE.pas and runs it with a small test host whose `procedure Print(S: string);` writes S
// and a line end to standard output (psrun.decl declares it for pscc). Compiler messages and the
// run-time error go to standard error. Exit status 0 only when the script compiled and ran to its
// end; 1 otherwise; 2 for a usage error.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/rtl/codepage.h"
#include "script/host/units/gui/gui_units.h"
#include "tools/psrun/runner/script_runner.h"

namespace {

constexpr const char* kUsage = "usage: psrun FILE.pas\n";
constexpr const char* kHelp =
    "Compiles a script and runs it with the import units the jobs have (std, classes, dateutils,\n"
    "graphics, controls, stdctrls, forms) and Print(S), which writes S and a line end to standard\n"
    "output. Compiler messages and a run-time error (with its row and column) go to standard error.\n"
    "pscc compiles against the same declarations.\n"
    "\n"
    "Exit status: 0 compiled and ran to its end, 1 not, 2 a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage << "\n" << kHelp;
        return 0;
    }
    if (argc != 2 || (argv[1][0] == '-' && argv[1][1] != '\0')) {
        std::cerr << kUsage;
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "psrun: cannot read " << argv[1] << "\n";
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Every unit the script host registers, in its order; without a display the GUI library uses its
    // offscreen platform, so scripts without windows run anywhere.
    const tv::script::TScriptRun run =
        tv::script::RunScriptText(tv::DecodeTextBytes(bytes), std::cout, {}, {}, tv::script::JobGuiUnits());
    std::cout.flush();
    for (const std::string& m : run.Messages) std::cerr << m << "\n";
    if (!run.Error.empty()) std::cerr << "Runtime error " << run.Error << "\n";
    return run.Compiled && run.Ran ? 0 : 1;
}
