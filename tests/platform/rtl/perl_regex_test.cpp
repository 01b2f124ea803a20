#include "platform/rtl/perl_regex.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace tv {
namespace {

// The price-list export's customer codes: sub-expression 2 is the customer number.
struct CodeCase {
    const char* subject;
    bool matches;
    const char* number;
};
constexpr CodeCase kCustomerCodes[] = {
    {"Customer:1001", true, "1001"},
    {"Customer:", true, ""},          // an empty number still is a customer code
    {"Customer:10:01", true, "10"},   // the number ends at the next colon
    {"X-Customer:Åsa", true, "Åsa"},  // found anywhere, letters outside ASCII kept whole
    {"customer:1001", false, ""},     // letter case counts
    {"1001", false, ""},
};

TEST(PerlRegEx, CustomerCodesGiveTheirNumberAsSecondSubExpression) {
    TPerlRegEx regex("(Customer):([^:]*)");
    for (const CodeCase& c : kCustomerCodes) {
        regex.SetSubject(c.subject);
        EXPECT_EQ(regex.Match(), c.matches) << c.subject;
        EXPECT_EQ(regex.SubExpressions(2), c.number) << c.subject;
        EXPECT_EQ(regex.SubExpressionCount(), c.matches ? 2 : 0) << c.subject;
    }
}

TEST(PerlRegEx, MatchAgainWalksEveryMatchAndANewSubjectStartsOver) {
    TPerlRegEx regex("(/[^/]*)");
    regex.SetSubject("/import /nevershutdown");
    std::vector<std::string> found;
    for (bool ok = regex.Match(); ok; ok = regex.MatchAgain()) found.push_back(regex.SubExpressions(1));
    EXPECT_EQ(found, (std::vector<std::string>{"/import ", "/nevershutdown"}));
    regex.SetSubject("a/b");
    ASSERT_TRUE(regex.MatchAgain());
    EXPECT_EQ(regex.SubExpressions(0), "/b");
    // An empty match moves on, so a walk always ends.
    regex.SetRegEx("x*");
    regex.SetSubject("ab");
    int matches = 0;
    for (bool ok = regex.Match(); ok && matches < 10; ok = regex.MatchAgain()) ++matches;
    EXPECT_EQ(matches, 3);
}

TEST(PerlRegEx, APatternInErrorRaisesWithItsOffsetAndInvalidTextFailsTheMatch) {
    TPerlRegEx regex("(Customer");
    regex.SetSubject("Customer");
    try {
        regex.Match();
        FAIL() << "no exception";
    } catch (const ERegExError& e) {
        EXPECT_NE(std::string(e.what()).find("Error in regular expression at offset 9: "), std::string::npos)
            << e.what();
    }
    regex.SetRegEx("a");
    regex.SetSubject(
        "\xff"
        "a");
    EXPECT_FALSE(regex.Match());
    EXPECT_EQ(regex.SubExpressions(0), "");
}

struct ReplaceCase {
    const char* pattern;
    const char* subject;
    const char* replacement;
    const char* expected;
};

constexpr ReplaceCase kReplaceCases[] = {
    {"\\D", "BEST-00123/a", "", "00123"},      // every non-digit goes
    {"\\D", "Beställning 7 ö", "", "7"},       // letters outside ASCII too
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
    TPerlRegEx bad("(a");
    EXPECT_THROW(bad.ReplaceAll("a", ""), ERegExError);
}

}  // namespace
}  // namespace tv
