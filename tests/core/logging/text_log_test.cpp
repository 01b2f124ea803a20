// The plain log file: the line form and the rotation past 8 MiB.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include "core/text_log.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/format_settings.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TDateTime gNow;
int gWaits = 0;
TDateTime Clock() {
    return gNow;
}
void Wait() {
    ++gWaits;
    gNow += 1.0 / 86400;  // the clock moves on by a second
}

std::vector<std::string> Names(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Root()))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class TextLog : public ::testing::Test {
protected:
    void SetUp() override {
        gNow = EncodeDateTime(2024, 5, 31, 12, 0, 0, 250);
        gWaits = 0;
        saved_ = DefaultFormatSettings();
        DefaultFormatSettings() = TFormatSettings{};  // dates as yyyy-mm-dd, whatever the locale
    }
    void TearDown() override { DefaultFormatSettings() = saved_; }
    TFormatSettings saved_;
    void Grow(const std::string& name, uintmax_t size) {
        std::filesystem::resize_file(dir.Write(name, ""), size);
    }
    test::TempDir dir;
};

TEST_F(TextLog, LinesCarryTheDateAndTimeAsAsked) {
    std::string file = dir.Path("rules.log");
    WriteLog(file, "first", false, false, Clock, Wait);
    WriteLog(file, "second", false, true, Clock, Wait);
    WriteLog(file, "third", true, true, Clock, Wait);
    EXPECT_EQ(dir.Read("rules.log"), "first\r\n12:00:00.250 second\r\n2024-05-31 12:00:00.250 third\r\n");
}

TEST_F(TextLog, AFileOfExactly8MiBIsContinued) {
    Grow("rules.log", 8388608);
    WriteLog(dir.Path("rules.log"), "x", false, false, Clock, Wait);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"rules.log"});
    EXPECT_EQ(std::filesystem::file_size(dir.Path("rules.log")), 8388608u + 3);
}

TEST_F(TextLog, ALargerFileIsRenamedAsideFirst) {
    Grow("rules.log", 8388609);
    WriteLog(dir.Path("rules.log"), "x", false, false, Clock, Wait);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"rules 2024-05-31 120000.log", "rules.log"}));
    EXPECT_EQ(dir.Read("rules.log"), "x\r\n");
    EXPECT_EQ(gWaits, 0);
}

TEST_F(TextLog, ATakenNameIsTriedAgainAsTheClockMovesOnThenTheFailureRaises) {
    dir.Write("rules 2024-05-31 120000.log", "old");
    Grow("rules.log", 8388609);
    WriteLog(dir.Path("rules.log"), "x", false, false, Clock, Wait);
    EXPECT_EQ(gWaits, 1);
    EXPECT_TRUE(dir.Exists("rules 2024-05-31 120001.log"));
    EXPECT_EQ(dir.Read("rules 2024-05-31 120000.log"), "old");  // never replaced

    for (int s = 2; s <= 4; ++s) dir.Write("rules 2024-05-31 12000" + std::to_string(s) + ".log", "old");
    Grow("rules.log", 8388609);
    EXPECT_THROW(WriteLog(dir.Path("rules.log"), "y", false, false, Clock, Wait), EInOutError);
    EXPECT_EQ(std::filesystem::file_size(dir.Path("rules.log")), 8388609u);  // nothing appended
}

// Several writers at once (threads here, processes alike): every line arrives whole, none is written
// over another.
TEST_F(TextLog, LinesOfWritersAtOnceAllArriveWhole) {
    const std::string file = dir.Path("rules.log");
    constexpr int kWriters = 8, kLines = 200;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            for (int i = 0; i < kLines; ++i)
                WriteLog(file, "writer " + std::to_string(w) + " line " + std::to_string(i), false, false,
                         Clock, Wait);
        });
    for (auto& t : writers) t.join();
    std::istringstream lines(dir.Read("rules.log"));
    std::vector<int> seen(kWriters, 0);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        int w = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "writer %d line %d\r", &w, &i), 2) << line;
        ASSERT_TRUE(w >= 0 && w < kWriters);
        EXPECT_EQ(i, seen[static_cast<size_t>(w)]++) << line;  // each writer's lines in its order
    }
    EXPECT_EQ(count, kWriters * kLines);
}

// Another writer renamed the full file aside first: the line starts the new file, nothing raises.
TEST_F(TextLog, AFileAnotherWriterRotatedFirstIsStartedAnew) {
    Grow("rules.log", 8388609);
    static test::TempDir* sDir = nullptr;
    sDir = &dir;
    auto rotatingClock = +[]() -> TDateTime {
        if (sDir->Exists("rules.log"))
            std::filesystem::rename(sDir->Path("rules.log"), sDir->Path("rules other.log"));
        return gNow;
    };
    EXPECT_NO_THROW(WriteLog(dir.Path("rules.log"), "x", false, false, rotatingClock, Wait));
    EXPECT_EQ(dir.Read("rules.log"), "x\r\n");
    EXPECT_EQ(std::filesystem::file_size(dir.Path("rules other.log")), 8388609u);
    EXPECT_EQ(gWaits, 0);
}

}  // namespace
}  // namespace tv
