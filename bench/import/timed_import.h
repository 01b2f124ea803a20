#pragma once
// One timed import per benchmark iteration, as the import benchmarks all run it: a fresh company
// holding the file, the file loaded and its keys checked and resolved (counter "load_and_check_s"),
// then the import measured with the sync that puts it on the disk before its file is archived
// (counter "import_s"). A step that answers false, a line reported at level
// 2 or a count of imported items other than expected raises, so that a broken import never passes
// for a fast one.

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/import/import_world.h"

namespace tv::bench {

using TImportStep = bool (TDMImport::*)();

struct TTimedImport {
    std::vector<std::string> Seeds;  // the company's seed fixtures; empty: an empty company
    std::string FileName;
    std::string (*File)();
    std::vector<TImportStep> Prepare;  // after LoadXML, timed with it as "load_and_check_s"
    // Run after the preparation, untimed: settings and seams of the measured import. May be nil.
    void (*Configure)(test::TImportWorld&) = nullptr;
    TImportStep Import;
    size_t ImportedItems;  // the numbers the preparation and the import must add to the imported items
};

inline double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

inline void RunTimedImport(benchmark::State& state, const TTimedImport& run) {
    for (auto _ : state) {
        state.PauseTiming();
        test::TImportWorld world(run.Seeds);
        world.Open();
        const std::string file = world.WriteFile(run.FileName, run.File());
        TDMImport& import = world.Import();
        auto step = [&](TImportStep operation) {
            if (!(import.*operation)())
                throw std::runtime_error(world.Events().Lines.empty() ? "step failed"
                                                                      : world.Events().Lines.back());
        };
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!import.LoadXML(file)) throw std::runtime_error("LoadXML failed");
        for (TImportStep operation : run.Prepare) step(operation);
        state.counters["load_and_check_s"] = Seconds(start);
        if (run.Configure) {
            state.PauseTiming();
            run.Configure(world);
            state.ResumeTiming();
        }
        start = std::chrono::steady_clock::now();
        step(run.Import);
        world.MainDM().MakeWritesDurable();
        state.counters["import_s"] = Seconds(start);
        state.PauseTiming();
        if (import.ImportedItems().size() != run.ImportedItems) throw std::runtime_error("not all imported");
        for (const std::string& line : world.Events().Lines) {
            const size_t text = line.find_first_not_of(' ');  // lines are indented by nesting
            if (text != std::string::npos && line.compare(text, 4, "[2] ") == 0)
                throw std::runtime_error(line);
        }
        world.Events().Clear();
        state.ResumeTiming();
    }
}

}  // namespace tv::bench
