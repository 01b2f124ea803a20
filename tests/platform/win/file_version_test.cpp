// The version information of files, read from the section our builds embed.

#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "platform/win/file_version.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TEST(FileVersion, TheNumbersAndTextsOfAFileWithVersionInformation) {
    const std::string self = ProgramFileName();  // this test program, built with version 3.14.15.9265
    int major = 0, minor = 0, release = 0, build = 0;
    ASSERT_TRUE(GetFileVersionNumbers(self, major, minor, release, build));
    EXPECT_EQ(major * 1000000 + minor * 10000 + release * 100, 3 * 1000000 + 14 * 10000 + 15 * 100);
    EXPECT_EQ(build, 9265);
    EXPECT_EQ(GetFileVersionString(self), "3.14.15.9265");
    EXPECT_EQ(GetFileVersionString(self, true, true, false, false), "3.14");
    EXPECT_EQ(GetFileVersionString(self, false, true, false, true), "14.9265");
    EXPECT_EQ(GetVersionInfoText(self),
              "Comments=\r\nInternalName=\r\nProductName=Tollvane\r\nProductVersion=3.14.15.9265\r\n"
              "CompanyName=Brismark\r\nLegalCopyright=\r\nLegalTrademarks=\r\nPrivateBuild=\r\n"
              "FileVersion=3.14.15.9265\r\nFileDescription=Tests\r\nOriginalFilename=\r\nSpecialBuild=\r\n"
              "Internet=\r\nE-mail=\r\n");
}

TEST(FileVersion, AFileWithoutVersionInformationGivesNothing) {
    test::TempDir dir;
    for (const std::string& file : {dir.Write("plain.txt", "no version here"), dir.Path("missing.so")}) {
        int major = -1, minor = -1, release = -1, build = -1;
        EXPECT_FALSE(GetFileVersionNumbers(file, major, minor, release, build)) << file;
        EXPECT_EQ(major, -1);
        EXPECT_EQ(GetFileVersionString(file), "") << file;
        EXPECT_EQ(GetVersionInfoText(file), "") << file;
    }
}

}  // namespace
}  // namespace tv
