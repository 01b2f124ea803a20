// Regular expressions: replacing every match, byte by byte, and a pattern that does not compile
// raised with PCRE2's message.

#include "platform/rtl/perl_regex.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct ReplaceCase {
    const char* pattern;
    const char* subject;
    const char* replacement;
    const char* expected;
};

constexpr ReplaceCase kReplaceCases[] = {
    {"\\D", "BEST-00123/a", "", "00123"},      // every non-digit goes
    {"\\D", "Beställning 7 ö", "", "7"},       // letters outside ASCII too, each of their bytes
    {"\\D", "", "", ""},                       // nothing to match
    {"\\D", "abc", "", ""},                    // nothing left
    {"(\\d+)", "a12b3", "<$1>", "a<12>b<3>"},  // sub-expressions in the replacement
    {"x", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "yy",
     "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy"},  // grows
};

TEST(PerlRegEx, ReplaceAllReplacesEveryMatch) {
    for (const ReplaceCase& c : kReplaceCases) {
        TPerlRegEx regex(c.pattern);
        EXPECT_EQ(regex.ReplaceAll(c.subject, c.replacement), c.expected) << c.pattern << " " << c.subject;
        EXPECT_EQ(regex.ReplaceAll(c.subject, c.replacement), c.expected) << "compiled once, used again";
    }
}

TEST(PerlRegEx, APatternThatDoesNotCompileRaisesWhenFirstUsed) {
    TPerlRegEx regex("(a");
    try {
        regex.ReplaceAll("a", "");
        FAIL() << "no error";
    } catch (const ERegExError& e) {
        EXPECT_EQ(std::string(e.what()), "missing closing parenthesis at 2 in \"(a\"");
    }
}

}  // namespace
}  // namespace tv
