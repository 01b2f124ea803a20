// Dates, date-times and text across the C API: one fixed text form whatever the locale, Windows-1252
// on the API and UTF-8 in the company database, and the error texts.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "kit_library.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

// The process runs under a locale whose dates are not ISO for every test of this file.
class NonIsoLocale : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LC_ALL", "en_US.UTF-8", 1);
        setenv("LC_TIME", "de_DE.UTF-8", 1);
        std::setlocale(LC_ALL, "");
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    }
    void TearDown() override {
        unsetenv("LC_ALL");
        unsetenv("LC_TIME");
        std::setlocale(LC_ALL, "C");
    }
};

struct DateCase {
    int32_t number;
    const char* text;  // nullptr: not a date (208)
};
constexpr DateCase kDates[] = {
    {20240131, "2024-01-31"},
    {20240229, "2024-02-29"},
    {19991231, "1999-12-31"},
    {1010101, "0101-01-01"},
    {20230229, nullptr},
    {20241301, nullptr},
    {0, nullptr},
    {-20240101, nullptr},
};

TEST_F(NonIsoLocale, DateNumbersReadAsIsoText) {
    for (const auto& c : kDates) {
        char buf[201] = "unchanged";
        AdkErrorRec e = K().LongToDate(c.number, buf, 200);
        if (c.text) {
            EXPECT_EQ(e.lRc, 0) << c.number;
            EXPECT_STREQ(buf, c.text);
        } else {
            EXPECT_EQ(e.lRc, ADK_ERR_NOT_A_DATE) << c.number;
            EXPECT_STREQ(buf, "");
        }
    }
}

struct TextDateCase {
    const char* text;
    int32_t number;  // 0: refused with 208, the output left alone
};
constexpr TextDateCase kTextDates[] = {
    {"2024-01-31", 20240131}, {"2024-02-30", 0},  {"31.01.2024", 0}, {"01/31/2024", 0},
    {"2024-1-31", 0},         {"2024-01-31 ", 0}, {"", 0},           {"20240131", 0},
};

TEST_F(NonIsoLocale, OnlyIsoDateTextIsADate) {
    for (const auto& c : kTextDates) {
        int32_t n = -7;
        AdkErrorRec e = K().DateToLong(c.text, &n);
        if (c.number) {
            EXPECT_EQ(e.lRc, 0) << c.text;
            EXPECT_EQ(n, c.number);
        } else {
            EXPECT_EQ(e.lRc, ADK_ERR_NOT_A_DATE) << c.text;
            EXPECT_EQ(n, -7) << "nothing written for " << c.text;
        }
    }
}

TEST_F(NonIsoLocale, DateTimesCountSecondsFrom2000) {
    struct Case {
        int32_t number;
        const char* text;
    } cases[] = {{1, "2000-01-01 00:00:01"},
                 {86399, "2000-01-01 23:59:59"},
                 {758030400, "2024-01-08 12:00:00"},
                 {2147483647, "2068-01-19 03:14:07"}};
    for (const auto& c : cases) {
        char buf[201];
        EXPECT_EQ(K().LongToDateTime(c.number, buf, 200).lRc, 0);
        EXPECT_STREQ(buf, c.text);
        int32_t n = 0;
        EXPECT_EQ(K().DateTimeToLong(c.text, &n).lRc, 0);
        EXPECT_EQ(n, c.number);
    }
    int32_t n = 5;
    EXPECT_EQ(K().DateTimeToLong("2024-01-08 24:00:00", &n).lRc, ADK_ERR_NOT_A_DATE);
    EXPECT_EQ(K().DateTimeToLong("08.01.2024 12:00:00", &n).lRc, ADK_ERR_NOT_A_DATE);
    EXPECT_EQ(K().DateTimeToLong("1999-12-31 23:59:59", &n).lRc, ADK_ERR_NOT_A_DATE);
    EXPECT_EQ(n, 5);
    char buf[201];
    EXPECT_EQ(K().LongToDateTime(0, buf, 200).lRc, ADK_ERR_NOT_A_DATE);
    EXPECT_EQ(K().DateToLong(nullptr, &n).lRc, ADK_ERR_BUFFER);
}

TEST(KitText, SwedishTextIsStoredAsUtf8AndReturnedAsWindows1252) {
    OpenCompany company;
    const char* ansi =
        "\xC5sa \xD6"
        "berg \xE5\xE4\xF6\x80";  // "Åsa Öberg åäö€" in Windows-1252
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().SetStr(h, 0, "K1").lRc, 0);
    ASSERT_EQ(K().SetStr(h, 1, ansi).lRc, 0);
    ASSERT_EQ(K().Add(h).lRc, 0);
    EXPECT_EQ(QueryText(company.Database(), "SELECT hex(namn) FROM kund WHERE kundnr = 'K1'"),
              "C385736120C3966265726720C3A5C3A4C3B6E282AC");
    EXPECT_EQ(QueryText(company.Database(), "SELECT namn FROM kund"), "Åsa Öberg åäö€");

    AdkHandle found = K().CreateData(0);
    K().SetStr(found, 0, "k1");
    ASSERT_EQ(K().Find(found).lRc, 0);
    EXPECT_EQ(GetStr(found, 1), ansi);
    K().DeleteStruct(h);
    K().DeleteStruct(found);
}

TEST(KitErrors, TextsTellTheMessageTheTableFileAndTheFieldNumber) {
    AdkHandle h = K().CreateData(0);
    AdkErrorRec e = K().SetDouble(h, 1, 1);
    ASSERT_EQ(e.lRc, ADK_ERR_WRONG_TYPE);
    EXPECT_EQ(e.lFunction, ADKF_SET_DOUBLE);
    char buf[101];
    ASSERT_EQ(K().GetErrorText(&e, ADK_TEXT_MESSAGE, buf, 100).lRc, 0);
    EXPECT_STREQ(buf, "Fel f\xE4lttyp f\xF6r anropet");
    ASSERT_EQ(K().GetErrorText(&e, ADK_TEXT_TABLE, buf, 100).lRc, 0);
    EXPECT_STREQ(buf, "kund.tbl");
    ASSERT_EQ(K().GetErrorText(&e, ADK_TEXT_FIELD, buf, 100).lRc, 0);
    EXPECT_STREQ(buf, "1");

    AdkErrorRec none{ADK_ERR_NOT_OPEN, ADK_NO_TABLE, ADK_NO_FIELD, 0, 0};
    K().GetErrorText(&none, ADK_TEXT_TABLE, buf, 100);
    EXPECT_STREQ(buf, "");
    K().GetErrorText(&none, ADK_TEXT_FIELD, buf, 100);
    EXPECT_STREQ(buf, "");
    K().GetErrorText(&none, ADK_TEXT_MESSAGE, buf, 100);
    EXPECT_STREQ(buf, "Inget f\xF6retag \xE4r \xF6ppnat");
    EXPECT_EQ(K().GetErrorText(nullptr, 0, buf, 100).lRc, ADK_ERR_BUFFER);
    K().DeleteStruct(h);
}

}  // namespace
}  // namespace tv::kit_test
