#include "platform/rtl/version_compare.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct VersionCase {
    const char* a;
    const char* b;
    int sign;  // -1, 0 or 1
};
constexpr VersionCase kVersionCases[] = {
    {"20.31", "20.31.0.0", 0},  // missing parts count as 0
    {"20.31.5867", "20.31.6000", -1},
    {"16.2", "16.10", -1},  // numeric, not textual
    {"1.x", "1.0", 0},      // a non-numeric part counts as 0
    {"5.0.1.0", "5.0", 1},
    {"5.0.0.0.9", "5.0", 0},  // a fifth part is ignored
    {"", "0.0.0.0", 0},
    {"17.1", "17.1.0.0", 0},
    {"4.2", "4.10", -1},
};

TEST(CompareVersions, ComparesTheFirstFourNumericParts) {
    for (const auto& c : kVersionCases) {
        int r = CompareVersions(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(CompareVersions("20.31.5867", "20.31.6000"), -133);  // the difference of the parts
}

}  // namespace
}  // namespace tv
