// Compile speed of job scripts: a job compiles its script on every run, against the job API and the
// seven import units that are registered again for each compile.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"

namespace {

std::string Fixture(const std::string& path) {
    std::ifstream in(std::string(TV_FIXTURES_DIR) + "/script/" + path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const tv::script::THostDeclarations& Host() {
    static const tv::script::THostDeclarations decls = [] {
        std::string dir = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
        std::vector<std::string> files;
        for (const char* f :
             {"dateutils.decl", "std.decl", "classes.decl", "dateutils.decl", "std.decl", "classes.decl",
              "graphics.decl", "controls.decl", "stdctrls.decl", "forms.decl", "job_api.decl"})
            files.push_back(dir + f);
        return tv::script::THostDeclarations::ParseFiles(files);
    }();
    return decls;
}

void Compile(benchmark::State& state, const std::string& text, bool withHost) {
    tv::script::TPSPascalCompiler compiler;
    if (withHost)
        compiler.OnUses = [](tv::script::TPSPascalCompiler& c, const std::string& unit) {
            return Host().Register(c, unit) || unit == "SYSTEM";
        };
    for (auto _ : state) {
        bool ok = compiler.Compile(text);
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("the script did not compile");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// The whole job: registering the host, then compiling a typical import script.
void BM_ImportJob(benchmark::State& state) {
    Compile(state, Fixture("corpus/import_job.pas"), true);
}
// Registration alone: the host declared into an empty program.
void BM_HostRegistration(benchmark::State& state) {
    Compile(state, "begin end.", true);
}
// Statements alone: a script of deeply nested statements, without the host.
void BM_NestedStatements(benchmark::State& state) {
    Compile(state, Fixture("corpus/nested_statements.pas"), false);
}

}  // namespace

BENCHMARK(BM_ImportJob);
BENCHMARK(BM_HostRegistration);
BENCHMARK(BM_NestedStatements);
