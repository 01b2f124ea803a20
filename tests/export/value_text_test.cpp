#include "export/value_text.h"

#include <gtest/gtest.h>

#include "platform/data/client_data_set.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/hundredths_text.h"
#include "tests/export/export_test_support.h"

namespace tv {
namespace {

struct ValueCase {
    const char* field;
    Variant value;
    const char* swedish;
    const char* forceDot;
};

TEST(FieldText, EachFieldTypeHasItsStandardText) {
    const ValueCase cases[] = {
        {"s", Variant::FromUtf8("  a\tb "), "  a\tb ", "  a\tb "},  // strings as stored, not trimmed
        {"s", Variant::Null(), "", ""},
        {"f", Variant(1234.5), "1234,5", "1234.5"},  // never a thousands separator
        {"f", Variant(100.0), "100", "100"},
        {"f", Variant(0.1 + 0.2), "0,3", "0.3"},  // 15 significant digits
        {"f", Variant(-0.5), "-0,5", "-0.5"},
        {"f", Variant::Null(), "", ""},
        {"i", Variant(-42), "-42", "-42"},
        {"b", Variant(true), "True", "True"},
        {"b", Variant(false), "False", "False"},
        {"d", Variant::FromDate(EncodeDate(2010, 5, 31)), "2010-05-31", "2010-05-31"},
        {"t", Variant::FromDate(EncodeDateTime(2010, 5, 31, 12, 0, 5, 0)), "2010-05-31 12:00:05",
         "2010-05-31 12:00:05"},
        {"t", Variant::FromDate(EncodeDate(2010, 5, 31)), "2010-05-31", "2010-05-31"},  // midnight
        {"m", Variant::FromUtf8("rad 1\r\nrad 2"), "rad 1\r\nrad 2", "rad 1\r\nrad 2"},
    };
    const TFormatSettings swedish = test::SwedishSettings(), forceDot = test::ForceDotSettings();
    TClientDataSet data;
    data.AddField("s", TFieldType::ftString, 20);
    data.AddField("f", TFieldType::ftFloat);
    data.AddField("i", TFieldType::ftInteger);
    data.AddField("b", TFieldType::ftBoolean);
    data.AddField("d", TFieldType::ftDate);
    data.AddField("t", TFieldType::ftDateTime);
    data.AddField("m", TFieldType::ftMemo);
    data.CreateDataSet();
    std::string scratch;
    for (const ValueCase& c : cases) {
        data.Append();
        data.FieldByName(c.field).SetValue(c.value);
        data.Post();
        data.SetFormatSettings(&swedish);
        EXPECT_EQ(FieldText(data.FieldByName(c.field), scratch), c.swedish) << c.field << " " << c.swedish;
        data.SetFormatSettings(&forceDot);
        EXPECT_EQ(FieldText(data.FieldByName(c.field), scratch), c.forceDot) << c.field << " " << c.forceDot;
        data.SetFormatSettings(nullptr);
        data.Delete();
    }
}

TEST(FieldText, CountsCharactersNotBytes) {
    EXPECT_EQ(Utf8Length("Åsa €\x01"), 6u);
    EXPECT_EQ(Utf8Length(""), 0u);
}

}  // namespace
}  // namespace tv
