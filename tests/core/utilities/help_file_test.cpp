// Finding the help file.

#include <gtest/gtest.h>

#include "core/help_file.h"
#include "platform/rtl/environment_info.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TEST(HelpFile, TheGivenFileThenTheProgramFoldersElseAnError) {
    test::TempDir dir;
    SetProgramFileName(dir.Path("prog/tollvane"));
    std::string given = dir.Write("help/manual.chm", "x");
    EXPECT_EQ(LocaliseHelpFile(given), given);
    EXPECT_EQ(EnvironmentInfoValue("Help File"), given);
    std::string beside = dir.Write("prog/other.chm", "x");
    EXPECT_EQ(LocaliseHelpFile(dir.Path("help/other.chm")), beside);
    try {
        LocaliseHelpFile("missing.chm");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "No helpfile available [missing.chm]");
    }
    SetProgramFileName({});
}

}  // namespace
}  // namespace tv
