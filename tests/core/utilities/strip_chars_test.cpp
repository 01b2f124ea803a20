#include "core/strip_chars.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct StripCase {
    const char* text;
    const char* stripped;
};

TEST(StripCharsInSet2, DropsControlCharactersButLineBreaks) {
    const StripCase cases[] = {
        {"a\tb", "ab"},              // the tab is in the set
        {"a\r\nb\nc", "a\r\nb\nc"},  // line feed and carriage return stay
        {"x\x01\x0b\x0c\x1f\x7fy", "xy"},
        {"\xE2\x80\x93 \xC3\x85", "\xE2\x80\x93 \xC3\x85"},  // characters above 127 stay ("– Å")
        {"", ""},
    };
    for (const StripCase& c : cases) EXPECT_EQ(StripCharsInSet2(c.text), c.stripped) << c.text;
}

}  // namespace
}  // namespace tv
