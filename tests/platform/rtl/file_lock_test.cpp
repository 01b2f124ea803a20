#include "platform/rtl/file_lock.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/text_file.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// Reads the count in the file, adds one and replaces the file, `times` times, each under the lock.
void CountUnderTheLock(const std::string& file, int times) {
    for (int i = 0; i < times; ++i) {
        TReplacedFileLock lock(file);
        const std::string text = ReadFileBytes(file);
        const int count = text.empty() ? 0 : std::stoi(text);
        WriteFileBytesReplacing(file, std::to_string(count + 1), TReplaceSync::Lazy);
    }
}

TEST(ReplacedFileLock, TwoProcessesChangingOneFileNeverLoseAChange) {
    test::TempDir dir;
    const std::string file = dir.Path("count.txt");  // made by the first lock
    constexpr int kTimes = 300;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        try {
            CountUnderTheLock(file, kTimes);
        } catch (...) {
            status = 1;
        }
        ::_exit(status);
    }
    CountUnderTheLock(file, kTimes);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFileBytes(file), std::to_string(2 * kTimes));
}

TEST(ReplacedFileLock, ALockHeldTooLongIsRefusedNamingTheFile) {
    test::TempDir dir;
    const std::string file = dir.Write("settings.ini", "[a]\r\n");
    TReplacedFileLock held(file);
    try {
        TReplacedFileLock second(file, std::chrono::milliseconds(50));
        ADD_FAILURE() << "locked twice";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot lock file \"" + file + "\". Another process has held it too long");
    }
    EXPECT_THROW(TReplacedFileLock(dir.Path("no/folder/settings.ini")), EInOutError);
}

}  // namespace
}  // namespace tv
