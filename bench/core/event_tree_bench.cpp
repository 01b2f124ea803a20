// The report path every imported or exported record takes: one item and a line in the event tree,
// logged through the application logger to a file, as a job of 10,000 records does it.

#include "core/app_logger.h"
#include "core/event_tree.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace tv {
namespace {

// A logger writing INFO and above to a file in a fresh folder, as the shipped configuration does.
struct FileLogger {
    std::filesystem::path folder;
    FileLogger() {
        folder = std::filesystem::temp_directory_path() / ("tv-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream props(folder / "log4d.props");
        props << "log4d.rootLogger=INFO,Fil1\n"
              << "log4d.appender.Fil1=TLogFileAppender\n"
              << "log4d.appender.Fil1.fileName=" << (folder / "log.txt").string() << "\n"
              << "log4d.appender.Fil1.layout=TLogPatternLayout\n"
              << "log4d.appender.Fil1.layout.pattern=%d{yyyy-mm-dd hh:nn:ss.zzz} %-5p %m%n\n";
        props.close();
        SetAppLogger(std::make_unique<TAppLogger>((folder / "log4d.props").string()));
    }
    ~FileLogger() {
        SetAppLogger(nullptr);
        std::filesystem::remove_all(folder);
    }
};

void RecordReports(benchmark::State& state, int level) {
    FileLogger logger;
    const std::string text = "Lägger till kund 10042";
    for (auto _ : state) {
        TEventTree tree([] {});
        tree.addEventItem("kunder.xml", true);
        for (int i = 0; i < 10000; ++i) {
            tree.addEventItem(text, true);
            tree.reportError(text, level);
            tree.CloseNestedEventItem();
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// Excessive detail: shown, not written at the shipped INFO threshold.
void BM_ReportNotWritten(benchmark::State& state) {
    RecordReports(state, elExcessive);
}
// Info: shown and written to the log file.
void BM_ReportWritten(benchmark::State& state) {
    RecordReports(state, elInfo);
}
BENCHMARK(BM_ReportNotWritten)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportWritten)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tv
