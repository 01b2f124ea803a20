#include <gtest/gtest.h>

#include "adk/adk_binding.h"
#include "adk/adk_calls.h"
#include "adk/adk_error_text.h"
#include "adk/adk_log_switch.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/format_settings.h"
#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

using ScriptFn = void (*)(int32_t dateNumber, int32_t dateCode, const char* dateTimeText);
using LastTextFn = const char* (*)();
using LastDateFn = int32_t (*)();

// The wrappers over the test kit, loaded at a version that binds every export.
class AdkCalls : public ::testing::Test {
protected:
    void SetUp() override {
        FreeAdkLibrary();
        folder_ = test::KitCopy(dir_, TV_FAKE_KIT, version_, "kit");
        ASSERT_TRUE(LoadAdkLibrary(folder_, ""));
        script_ = test::LoadedKitFunction<ScriptFn>(folder_, "FakeKitScript");
        data_ = AdkCreateData(0);
    }
    void TearDown() override { FreeAdkLibrary(); }

    const char* version_ = "20.3.1.5867";
    test::TempDir dir_;
    std::string folder_;
    ScriptFn script_ = nullptr;
    TAdkData data_;
};

TEST_F(AdkCalls, AnExceptionInsideTheKitNamesTheWrapper) {
    EXPECT_EQ(test::MessageOf<EAdkException>([&] { AdkFind(data_); }),
              "Error occured in AdkFind:\r\n\r\nboom");
    EXPECT_EQ(test::MessageOf<EAdkException>([] { AdkClose(); }),
              "Error occured in AdkClose\r\n\r\nclosing failed");
    std::string name;
    EXPECT_EQ(
        test::MessageOf<EAdkException>([&] { AdkGetFieldName(0, 5, name); }),
        "Error occured in AdkGetFieldName:\r\n\r\nno names\r\n\r\nParameters\r\nDatabase: 0\r\nField: 5");
}

TEST_F(AdkCalls, ErrorCodesComeBackUntouchedAndStructuresKeepTheirTable) {
    EXPECT_EQ(AdkFirst(data_).lRc, ADK_ERR_BEGIN_OF_TABLE);  // returned, never raised
    EXPECT_EQ(data_.DatabaseID, 0);
    TAdkData row = AdkGetDataRow(AdkCreateDataRow(3, 2), 1);
    EXPECT_EQ(row.DatabaseID, 3);
    TAdkData sub;
    AdkGetData(data_, 103, 0, sub);
    EXPECT_EQ(sub.DatabaseID, 0);
    AdkDeleteStruct(row);
    EXPECT_FALSE(AdkDataAssigned(row));
    EXPECT_EQ(row.DatabaseID, -1);
}

TEST_F(AdkCalls, TextAndBooleansCrossAsTheKitHasThem) {
    std::string text;
    AdkGetStr(data_, 1, text);
    EXPECT_EQ(text, "Åsa €");  // Windows-1252 from the kit
    bool flag = false;
    AdkGetBool(data_, 1, flag);
    EXPECT_TRUE(flag);
    AdkGetBool(data_, 2, flag);
    EXPECT_FALSE(flag);  // true exactly when the kit writes 1
}

TEST_F(AdkCalls, ErrorRecordsBecomeTheSwedishMessage) {
    const TFieldNamesArray names = {"Kundnr", "Namn", "Kortnamn"};
    struct Case {
        const char* rule;
        AdkErrorRec err;
        const TFieldNamesArray* names;
        const char* text;
    } cases[] = {
        {"success has no text", {0, 0, 1, 0, 0}, nullptr, ""},
        {"table and field",
         {301, 0, 5, 0, 0},
         nullptr,
         "Visma Integration felkod 301:  Posten finns redan. Tabell \"KUND\" Fält \"5\" (5)"},
        {"the field's display name",
         {301, 0, 1, 0, 0},
         &names,
         "Visma Integration felkod 301:  Posten finns redan. Tabell \"KUND\" Fält \"Namn\" (1)"},
        {"a field number past the names",
         {301, 0, 7, 0, 0},
         &names,
         "Visma Integration felkod 301:  Posten finns redan. Tabell \"KUND\" Fält \"7\" (7)"},
        {"no table, no field",
         {312, ADK_NO_TABLE, ADK_NO_FIELD, 0, 0},
         &names,
         "Visma Integration felkod 312:  Posten finns redan."},
    };
    for (const auto& c : cases) EXPECT_EQ(AdkErrorText(c.err, "", c.names), c.text) << c.rule;
    EXPECT_EQ(AdkErrorTableText({301, 0, 5, 0, 0}), "KUND");
    EXPECT_EQ(AdkErrorFieldText({301, 0, ADK_NO_FIELD, 0, 0}), "");
}

struct DateCase {
    const char* rule;
    int32_t number, code;
    const char* dateTimeText;
    int32_t returnedCode;
    TDateTime date, dateTime;
};

TEST_F(AdkCalls, KitDatesBecomeDatesOrZero) {
    const TDateTime jan31 = EncodeDate(2024, 1, 31);
    const DateCase cases[] = {
        {"a date", 20240131, 0, "2024-01-31 13:14:15", 0, jan31, jan31 + EncodeTime(13, 14, 15, 0)},
        {"number 0 is no date", 0, 0, "", 0, 0, 0},
        {"no value", 20240131, ADK_ERR_NO_VALUE, "", ADK_ERR_NO_VALUE, 0, 0},
        {"an impossible date", 20240230, 0, "2024-02-30 10:00:00", 0, 0, 0},
        {"a negative number", -5, 0, "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        script_(c.number, c.code, c.dateTimeText);
        TDateTime value = -1;
        EXPECT_EQ(AdkGetDate(data_, 8, value).lRc, c.returnedCode) << c.rule;
        EXPECT_EQ(value, c.date) << c.rule;
        value = -1;
        EXPECT_EQ(AdkGetDateTime(data_, 94, value).lRc, c.returnedCode) << c.rule;
        EXPECT_NEAR(value, c.dateTime, 1e-9) << c.rule;
    }
}

TEST_F(AdkCalls, DatesTravelToTheKitInOneFormWhateverTheUsersFormat) {
    TFormatSettings saved = DefaultFormatSettings();
    DefaultFormatSettings().ShortDateFormat = "dd/mm/yyyy";
    DefaultFormatSettings().DateSeparator = '/';
    auto lastText = test::LoadedKitFunction<LastTextFn>(folder_, "FakeKitLastDateText");
    auto lastDate = test::LoadedKitFunction<LastDateFn>(folder_, "FakeKitLastSetDate");

    EXPECT_EQ(AdkSetDate(data_, 8, EncodeDate(2024, 2, 3)).lRc, 0);
    EXPECT_STREQ(lastText(), "2024-02-03");
    EXPECT_EQ(lastDate(), 20240203);

    EXPECT_EQ(AdkSetDateTime(data_, 94, EncodeDateTime(2024, 2, 3, 4, 5, 6, 0)).lRc, 0);
    EXPECT_STREQ(lastText(), "2024-02-03 04:05:06");
    EXPECT_EQ(lastDate(), 12345);
    DefaultFormatSettings() = saved;

    // A real date the kit answers with 0 is refused, not written as no date.
    EXPECT_EQ(test::MessageOf<EAdkException>([&] { AdkSetDateTime(data_, 94, EncodeDate(2024, 2, 4)); }),
              "Error occured in AdkSetDateTime:\r\n\r\nAdkDateTimeToLong() returnerade \"0\" när datumet "
              "\"2024-02-04 00:00:00\" skulle bearbetas.");
    EXPECT_EQ(AdkSetDateTime(data_, 94, 0).lRc, 0);  // an empty date may be 0
    EXPECT_EQ(lastDate(), 0);
}

class AdkCallsOnAnOldKit : public AdkCalls {
protected:
    AdkCallsOnAnOldKit() { version_ = "5.1.0.0"; }
};

TEST_F(AdkCallsOnAnOldKit, TheTimeStampFieldIsMissingWithCode607) {
    int field = 0;
    EXPECT_EQ(AdkGetTimestampField(data_, field).lRc, 607);
    EXPECT_EQ(field, -1);
}

TEST(AdkLogSwitch, IsFoundWithEitherPrefixInAnyCase) {
    struct Case {
        std::vector<std::string> args;
        bool found;
    } cases[] = {
        {{"/adklog"}, true},   {{"-ADKLOG"}, true},      {{"--AdkLog"}, true}, {{"/import", "adklog"}, false},
        {{"/adklogx"}, false}, {{"/adk", "log"}, false}, {{}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasAdkLogSwitch(c.args), c.found) << ::testing::PrintToString(c.args);
}

}  // namespace
}  // namespace tv
