#pragma once
// What the export benchmarks share: a company made and seeded with adkctl, an event tree that
// keeps only the last error, and the export as a job runs it (a settings root of its own, the
// central data module connected to the company, the facade over the module's writers).

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "automation/engine_contexts.h"
#include "core/event_sink.h"
#include "core/main_dm.h"
#include "export/dm_export.h"
#include "export/export_writers.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/main_dm_steps.h"

extern char** environ;

namespace tv::bench {

inline int Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A new company in a temporary folder named after `name`, seeded with the SQL given.
inline std::string MakeSeededCompany(const std::string& name, const std::string& seedSql) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()))).string();
    std::filesystem::remove_all(folder);
    const std::string seed = folder + ".sql";
    std::ofstream(seed) << seedSql;
    if (Run({TV_ADKCTL, "create", folder}) != 0 || Run({TV_ADKCTL, "seed", folder, seed}) != 0)
        throw std::runtime_error("adkctl failed");
    std::filesystem::remove(seed);
    return folder;
}

// The head of a seed statement over the numbers i = 1 .. count (the rows' source "n"), and the
// time stamp the seeded rows carry.
inline std::string NumbersUpTo(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(count) + ") ";
}
inline constexpr const char* kSeedStamp = "'2024-01-02 09:00:00'";

class NoEvents : public IEventSink {
public:
    std::string error;  // the last error reported

    void addEventItem(std::string_view, bool) override {}
    void CloseNestedEventItem() override {}
    void reportError(std::string_view message, int level) override {
        if (level == elError) error = message;
    }
    void reportFilename(std::string_view, int, std::string_view) override {}
    void logOrderMessage(std::string_view, int) override {}
    void setEventCount(int) override {}
    void StepProgress() override {}
    void nextEvent(std::string_view, int) override {}
    void setRootItem(std::string_view) override {}
    void Clear() override {}
    void Complete() override {}
    void MarkFinished() override {}
    void setMessage(std::string_view) override {}
};

// The export of `company` as a job runs it, with the generated field-definition table and the
// settings given as (table, field, value).
struct JobWorld {
    test::StartupFolders folders;
    NoEvents events;
    TFormatSettings formats;
    std::unique_ptr<TMainDM> dm;
    std::unique_ptr<TExportModule> module;
    std::unique_ptr<TExportWriters> writers;
    std::unique_ptr<TDMExport> facade;

    JobWorld(const std::string& company,
             const std::vector<std::tuple<std::string, const char*, std::string>>& settings) {
        std::ifstream table(TV_BINARY_DIR "/data/tables/ooi.table", std::ios::binary);
        folders.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                          std::string(std::istreambuf_iterator<char>(table), {}));
        dm = std::make_unique<TMainDM>(events, nullptr, false);
        dm->AdkDBSRC().AdkPath = std::filesystem::path(TV_KIT).parent_path().string();
        dm->AdkDBSRC().SetArguments({});
        dm->loadSettings();
        test::SetSetting(*dm, "InstallningarCDS", "SPCSPathSRC", company);
        for (const auto& [table, field, value] : settings) test::SetSetting(*dm, table, field, value);
        test::ConnectLikeAJob(*dm, formats);
        module = std::make_unique<TExportModule>(MakeExportContext(*dm));
        writers = std::make_unique<TExportWriters>(*module);
        facade = std::make_unique<TDMExport>(*module, *writers);
    }
    JobWorld(const JobWorld&) = delete;
    JobWorld& operator=(const JobWorld&) = delete;
    ~JobWorld() {
        facade.reset();
        writers.reset();
        module.reset();
        dm.reset();
    }
    // Raises with the last error reported when the export wrote no file of that name.
    void RequireWritten(const std::string& name) const {
        if (!std::filesystem::exists(folders.Root() + "export/obehandlade/" + name))
            throw std::runtime_error("no file written: " + events.error);
    }
};

}  // namespace tv::bench
