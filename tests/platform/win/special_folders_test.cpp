// Where the common application-data folder is on Linux.

#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "platform/win/special_folders.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

struct FolderCase {
    const char* rule;
    const char* override_;  // TOLLVANE_COMMON_APPDATA
    const char* xdg;        // XDG_DATA_HOME
    const char* home;
    const char* expected;
};
constexpr FolderCase kFolderCases[] = {
    {"the override wins", "/srv/tv", "/x/data", "/home/a", "/srv/tv/"},
    {"the override keeps one delimiter", "/srv/tv/", nullptr, "/home/a", "/srv/tv/"},
    {"then the data home", nullptr, "/x/data", "/home/a", "/x/data/"},
    {"an empty override counts as unset", "", "/x/data", "/home/a", "/x/data/"},
    {"a relative data home is not valid", nullptr, "rel/data", "/home/a", "/home/a/.local/share/"},
    {"then the home folder", nullptr, nullptr, "/home/a", "/home/a/.local/share/"},
    {"the root as home", nullptr, nullptr, "/", "/.local/share/"},
};

TEST(SpecialFolders, CommonAppDataFollowsTheOverrideThenXdgThenHome) {
    for (const auto& c : kFolderCases) {
        test::ScopedEnv o("TOLLVANE_COMMON_APPDATA", c.override_), x("XDG_DATA_HOME", c.xdg),
            h("HOME", c.home);
        EXPECT_EQ(GetCommonAppDataFolder(), c.expected) << c.rule;
        std::string withoutDelimiter(c.expected);
        withoutDelimiter.pop_back();
        EXPECT_EQ(GetSpecialFolder(CSIDL_COMMON_APPDATA, false), withoutDelimiter) << c.rule;
    }
}

TEST(SpecialFolders, OnlyTheCommonAppDataNumberIsKnownAndCreateMakesIt) {
    test::TempDir dir;
    std::string root = dir.Path("a/b");
    test::ScopedEnv o("TOLLVANE_COMMON_APPDATA", root.c_str());
    EXPECT_EQ(GetSpecialFolder(26, true), "");
    EXPECT_EQ(GetSpecialFolder(CSIDL_COMMON_APPDATA, false), root);
    EXPECT_FALSE(DirectoryExists(root));
    EXPECT_EQ(GetSpecialFolder(CSIDL_COMMON_APPDATA, true), root);
    EXPECT_TRUE(DirectoryExists(root));
}

}  // namespace
}  // namespace tv
