// Compiles arbitrary text against the job API and the import units: the compiler must neither crash
// nor hang, and whatever it accepts must pass the structural verifier.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script/common/inspect/verifier.h"
#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"

namespace {

const tv::script::THostDeclarations& Host() {
    static const tv::script::THostDeclarations decls = [] {
        std::string dir = std::string(TV_FUZZ_FIXTURES) + "/script/hosts/";
        std::vector<std::string> files;
        for (const char* f : {"dateutils.decl", "std.decl", "classes.decl", "graphics.decl", "controls.decl",
                              "stdctrls.decl", "forms.decl", "job_api.decl"})
            files.push_back(dir + f);
        return tv::script::THostDeclarations::ParseFiles(files);
    }();
    return decls;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tv::script::TPSPascalCompiler compiler;
    compiler.BooleanShortCircuit = size % 2 == 1;
    compiler.OnUses = [](tv::script::TPSPascalCompiler& c, const std::string& unit) {
        return Host().Register(c, unit) || unit == "SYSTEM";
    };
    if (!compiler.Compile(text)) return 0;
    std::string output;
    compiler.GetOutput(output);
    for (const std::string& problem : tv::script::VerifyContainer(output)) {
        std::fprintf(stderr, "verifier: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
