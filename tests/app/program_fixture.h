#pragma once
// A test of the program as a process: an installation of its own in a temporary folder (the
// program under its real name with its tables and logging set-up), a start folder, and a settings
// root in the test's own common application-data folder.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win/process.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv::test {

class ProgramFixture : public ::testing::Test {
protected:
    // `program`: the executable installed as "prog/tollvane".
    explicit ProgramFixture(std::string program) : program_(std::move(program)) {}

    void SetUp() override {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Path("prog/tables"));
        fs::copy_file(program_, Program());
        fs::copy_file(TV_OOI_TABLE, dir.Path("prog/tables/ooi.table"));
        fs::copy_file(std::string(TV_SOURCE_DIR) + "/data/log4d.props", dir.Path("prog/log4d.props"));
        dir.MakeFolder("start");
    }
    std::string Program() const { return dir.Path("prog/tollvane"); }
    std::string Root(const std::string& relative = "") const {
        return dir.Path("common/Brismark/Tollvane/default/") + relative;
    }
    std::string Log() const {
        return std::filesystem::exists(Root("logs/log.txt")) ? dir.Read(Root("logs/log.txt")) : "";
    }

    // Runs the program in the start folder; its exit status, or -1 when it did not end by itself.
    int Run(const std::vector<std::string>& args) {
        ScopedEnv common("TOLLVANE_COMMON_APPDATA", dir.Path("common").c_str());
        auto child = TChildProcess::Start(Program(), args, dir.Path("start"));
        int code = child.Wait(60000);
        if (!child.Ended()) {
            ::kill(child.Pid(), SIGKILL);
            return -1;
        }
        return code;
    }

    TempDir dir;

private:
    std::string program_;
};

}  // namespace tv::test
