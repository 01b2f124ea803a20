#include "platform/rtl/ref_string.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(RefString, CopiesShareUntilOneIsWritten) {
    AnsiString a(std::string_view("abc"));
    AnsiString b = a;
    EXPECT_TRUE(a.SameReference(b));
    EXPECT_EQ(a.RefCount(), 2);
    b.UniqueData()[0] = 'X';
    EXPECT_EQ(a, std::string_view("abc"));
    EXPECT_EQ(b, std::string_view("Xbc"));
    EXPECT_EQ(a.RefCount(), 1);
    EXPECT_EQ(b.RefCount(), 1);
}

TEST(RefString, TheEmptyStringIsNilAndStillZeroTerminated) {
    UnicodeString s;
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.size(), 0);
    EXPECT_EQ(s.c_str()[0], u'\0');
    EXPECT_EQ(s.RefCount(), 0);
    UnicodeString t(std::u16string_view(u""));
    EXPECT_TRUE(t.empty());
    s.Append(u"");
    EXPECT_TRUE(s.empty());
}

TEST(RefString, SetLengthKeepsWhatFitsAndZeroesWhatIsNew) {
    AnsiString a(std::string_view("hello"));
    AnsiString shared = a;
    a.SetLength(7);
    EXPECT_EQ(a.view(), std::string_view("hello\0\0", 7));
    EXPECT_EQ(shared, std::string_view("hello"));  // the other holder keeps its text
    a.SetLength(2);
    EXPECT_EQ(a, std::string_view("he"));
    EXPECT_EQ(a.c_str()[2], '\0');
    a.SetLength(-1);
    EXPECT_TRUE(a.empty());
}

TEST(RefString, AppendingInALoopReusesTheBlock) {
    AnsiString s;
    s.Append("x");
    const char* before = nullptr;
    int moves = 0;
    for (int i = 0; i < 1000; ++i) {
        before = s.data();
        s.Append("y");
        if (s.data() != before) ++moves;
    }
    EXPECT_EQ(s.size(), 1001);
    EXPECT_LT(moves, 30);  // grows geometrically, not once per append
    AnsiString copy = s;
    s.Append("z");  // a shared block is never written in place
    EXPECT_EQ(copy.size(), 1001);
    EXPECT_EQ((copy + std::string_view("!")).size(), 1002);
}

TEST(RefString, AStringAppendsItsOwnCharacters) {
    // A block with no room left moves before the text taken from it is copied.
    AnsiString s(std::string_view("abc"));
    s.Append(s.view());
    EXPECT_EQ(s.view(), "abcabc");
    s.Append(s.view().substr(1, 2));  // room left: the characters are copied in place
    EXPECT_EQ(s.view(), "abcabcbc");
    UnicodeString w(std::u16string_view(u"xy"));
    w += w.view().substr(1);
    EXPECT_EQ(w.view(), u"xyy");
}

TEST(RefString, ComparisonIsByCharacters) {
    EXPECT_EQ(UnicodeString(std::u16string_view(u"ab")), UnicodeString(std::u16string_view(u"ab")));
    EXPECT_LT(AnsiString(std::string_view("ab")), AnsiString(std::string_view("b")));
}

}  // namespace
}  // namespace tv
