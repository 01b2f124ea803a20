// Compile speed of job scripts: a job compiles its script on every run, against the job API and the
// seven import units that are registered again for each compile.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"
#include "script/compiler/script_compiler.h"

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

// Compiles `text` with `compiler` (the compiler itself or the script component's compile half) as
// often as the benchmark asks.
template <class Compiler>
void Measure(benchmark::State& state, Compiler& compiler, const std::string& text) {
    for (auto _ : state) {
        bool ok = compiler.Compile(text);
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("the script did not compile");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void Compile(benchmark::State& state, const std::string& text, bool withHost) {
    tv::script::TPSPascalCompiler compiler;
    if (withHost)
        compiler.OnUses = [](tv::script::TPSPascalCompiler& c, const std::string& unit) {
            return Host().Register(c, unit) || unit == "SYSTEM";
        };
    Measure(state, compiler, text);
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

// A long script through the pre-processor, at two lengths: every debug position is mapped back to
// its file, row and column, which must not cost time in proportion to the script's length.
void BM_PreProcessedStatements(benchmark::State& state) {
    std::string text = "var x: Integer;\nbegin\n";
    for (int64_t i = 0; i < state.range(0); ++i) text += "  x := x + 1;\n";
    text += "end.\n";
    tv::script::TPSScriptCompiler compiler;
    compiler.UsePreProcessor = true;
    compiler.MainFileName = "main.pas";
    Measure(state, compiler, text);
}

// Many routines, each called once, at several counts: names are found through hashed tables, so the
// time grows with the count (40,000 routines take about four times as long as 10,000).
void BM_ManyRoutines(benchmark::State& state) {
    std::string text, calls;
    for (int64_t i = 0; i < state.range(0); ++i) {
        const std::string name = "P" + std::to_string(i);
        text += "procedure " + name + "(a: Integer); begin end;\n";
        calls += "  " + name + "(1);\n";
    }
    text += "begin\n" + calls + "end.\n";
    Compile(state, text, false);
}
}  // namespace

BENCHMARK(BM_ImportJob);
BENCHMARK(BM_HostRegistration);
BENCHMARK(BM_NestedStatements);
BENCHMARK(BM_PreProcessedStatements)->Arg(10000)->Arg(40000);
BENCHMARK(BM_ManyRoutines)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
