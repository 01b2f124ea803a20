// The desktop shell service starts its opener with the folder, without a shell.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/win/process.h"
#include "platform/win/shell_service.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TEST(ShellService, TheOpenerGetsTheFolderAsOneArgument) {
    test::TempDir dir;
    std::string opener =
        dir.Write("opener.sh", "#!/bin/sh\nprintf '%s|' \"$@\" >> \"" + dir.Path("opened") + "\"\n");
    ::chmod(opener.c_str(), 0755);
    TDesktopShellService shell(opener);
    auto opened = [&](const std::string& expected) {
        return test::PumpUntil([&] { return dir.Exists("opened") && dir.Read("opened") == expected; }, 5000);
    };
    shell.OpenFolder("/srv/work folder/import");
    EXPECT_TRUE(opened("/srv/work folder/import|"));
    shell.ShowFile("/srv/work/export/behandlade/a b.xml");
    EXPECT_TRUE(opened("/srv/work folder/import|/srv/work/export/behandlade|")) << dir.Read("opened");
}

TEST(ShellService, AMissingOpenerRaisesAndTheServiceCanBeReplaced) {
    TDesktopShellService shell("tollvane-no-such-opener");
    EXPECT_THROW(shell.OpenFolder("/tmp"), EProcessError);

    struct Fake : IShellService {
        std::string last;
        void OpenFolder(const std::string& f) override { last = f; }
        void ShowFile(const std::string& f) override { last = "file:" + f; }
    } fake;
    SetShellService(&fake);
    ShellService().OpenFolder("/x");
    EXPECT_EQ(fake.last, "/x");
    SetShellService(nullptr);
    EXPECT_NE(&ShellService(), &fake);
}

}  // namespace
}  // namespace tv
