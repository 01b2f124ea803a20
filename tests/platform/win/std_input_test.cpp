// Reading piped standard input once: to its end, up to a limit, never waiting on an idle pipe.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "platform/win/std_input.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

struct Pipe {
    int fds[2];
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe() {
        ::close(fds[0]);
        if (fds[1] >= 0) ::close(fds[1]);
    }
    void Write(const std::string& s) {
        EXPECT_EQ(::write(fds[1], s.data(), s.size()), static_cast<ssize_t>(s.size()));
    }
    void CloseWriter() {
        ::close(fds[1]);
        fds[1] = -1;
    }
};

TEST(StdInput, APipeIsReadToItsEnd) {
    Pipe p;
    p.Write("rad 1\r\nrad 2\r\n");
    p.CloseWriter();
    EXPECT_EQ(ReadInputText(p.fds[0]), "rad 1\r\nrad 2\r\n");
}

TEST(StdInput, MoreThanTheLimitIsCutAtTheLimit) {
    test::TempDir dir;
    std::string path = dir.Write("big", std::string(kMaxStdInBytes + 10, 'x'));
    int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(ReadInputText(fd).size(), kMaxStdInBytes);
    ::close(fd);
}

TEST(StdInput, AnOpenPipeWithoutTextEndsTheReadAfterTheIdleTime) {
    Pipe p;
    p.Write("part");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadInputText(p.fds[0], kMaxStdInBytes, 100), "part");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(StdInput, NoHandleAndWindows1252BytesAreHandled) {
    EXPECT_EQ(ReadInputText(-1), "");
    Pipe p;
    p.Write("r\xE4ksm\xF6rg\xE5s");
    p.CloseWriter();
    EXPECT_EQ(ReadInputText(p.fds[0]), "räksmörgås");
}

}  // namespace
}  // namespace tv
