// The desktop shell service starts its opener with the folder, without a shell.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/win/process.h"
#include "platform/win/shell_service.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/recording_shell.h"
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
    try {
        shell.OpenFolder("/srv/arbete/import");
        ADD_FAILURE() << "no opener, no start";
    } catch (const EProcessError& e) {
        EXPECT_STREQ(e.what(), "Det finns inget program som kan öppna mappen [/srv/arbete/import]: "
                               "\"tollvane-no-such-opener\" saknas. Installera paketet xdg-utils.");
    }

    IShellService* recorder;
    {
        test::RecordingShell shell;
        recorder = &shell;
        shell.exitCode = 3;
        ShellService().OpenFolder("/x");
        EXPECT_EQ(shell.opened, std::vector<std::string>{"/x"});
        EXPECT_EQ(ShellExecuteAndWait("open", "/a.txt", "", true, SW_SHOWNORMAL, ""), 3);
        EXPECT_EQ(shell.executed, std::vector<std::string>{"/a.txt"});
    }
    EXPECT_NE(&ShellService(), recorder);
}

TEST(ShellService, ShellExecuteStartsProgramsItselfAndOpensOtherFilesWithTheOpener) {
    test::TempDir dir;
    std::string opener =
        dir.Write("opener.sh", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + dir.Path("opened") + "\"\nexit 4\n");
    std::string program = dir.Write("prog.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > where; exit 9\n");
    ::chmod(opener.c_str(), 0755);
    ::chmod(program.c_str(), 0755);
    std::string document = dir.Write("licens.txt", "text");
    TDesktopShellService shell(opener);

    EXPECT_EQ(shell.ShellExecuteAndWait("open", program, "a \"b c\"", true, SW_SHOWNORMAL, dir.Root()), 9);
    EXPECT_EQ(dir.Read("where"), "a|b c|");
    EXPECT_EQ(shell.ShellExecuteAndWait("open", document, "", true, SW_SHOWNORMAL, ""), 4);
    EXPECT_EQ(dir.Read("opened"), document);
    EXPECT_EQ(shell.ShellExecuteAndWait("open", document, "", false, SW_SHOWNORMAL, ""), 0) << "no wait: 0";
    TDesktopShellService broken("tollvane-no-such-opener");
    EXPECT_EQ(broken.ShellExecuteAndWait("open", document, "", true, SW_SHOWNORMAL, ""), -1);
}

}  // namespace
}  // namespace tv
