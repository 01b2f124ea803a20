#include "platform/rtl/environment_info.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tv {
namespace {

TEST(EnvironmentInfo, EntriesAreSetReplacedRemovedAndListedSorted) {
    SetEnvironmentInfo("zeta test", "1");
    SetEnvironmentInfo("alpha test", "old");
    SetEnvironmentInfo("alpha test", "new");
    SetEnvironmentBool("beta test", false);
    auto lines = GetEnvironmentInfo();
    auto pos = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    ASSERT_LT(pos("alpha test=new"), lines.size());
    EXPECT_LT(pos("alpha test=new"), pos("beta test=False"));
    EXPECT_LT(pos("beta test=False"), pos("zeta test=1"));
    EXPECT_EQ(EnvironmentInfoValue("alpha test"), "new");

    SetEnvironmentInfo("alpha test", "");  // an empty value removes the entry
    EXPECT_EQ(EnvironmentInfoValue("alpha test"), "");
    lines = GetEnvironmentInfo();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "alpha test=new"), 0);
}

}  // namespace
}  // namespace tv
