// The facts the start of the program records in the environment-information list.

#include <gtest/gtest.h>

#include "core/environment_info.h"
#include "tests/core/startup/startup_fixture.h"

namespace tv {
namespace {

TEST(EnvironmentInfo, TheStartRecordsTheProgramAndThePlatformFacts) {
    test::StartupFolders f({"/instance=north"});
    SetProgramFileName({});  // the test program itself, which carries version information
    RecordStartupEnvironment();
    EXPECT_EQ(EnvironmentInfoValue("Locale"), "No automatic updates of locale");
    EXPECT_EQ(EnvironmentInfoValue("Application Exe"), ProgramFileName());
    EXPECT_EQ(EnvironmentInfoValue("Application Exe Version"), "2.1.0.7");
    EXPECT_EQ(EnvironmentInfoValue("Instance Name"), "north");
    for (const char* fact : {"Remote Session", "64-bit Windows", "Internet Connected"}) {
        std::string value = EnvironmentInfoValue(fact);
        EXPECT_TRUE(value == "True" || value == "False") << fact << "=" << value;
    }
    EXPECT_EQ(ExeVersionInfo().Values("CompanyName"), "Brismark");
    EXPECT_EQ(ExeVersionInfo().Values("FileVersion"), "2.1.0.7");
}

}  // namespace
}  // namespace tv
