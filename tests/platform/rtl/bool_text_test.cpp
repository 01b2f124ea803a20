#include "platform/rtl/bool_text.h"

#include <gtest/gtest.h>

#include "convert_error.h"

namespace tv {
namespace {

struct BoolCase {
    const char* text;
    const char* locale;
    const char* result;  // "true", "false" or the conversion error
};
const BoolCase kBoolCases[] = {
    {"true", "C", "true"},  // the words in any letter case
    {"FALSE", "C", "false"},
    {"True", "sv_SE", "true"},
    {"1", "C", "true"},  // numbers: anything but 0 is true
    {"0", "C", "false"},
    {"-2", "C", "true"},
    {" 0 ", "C", "false"},  // blanks around a number are ignored
    {"0.5", "C", "true"},
    {"0,5", "sv_SE", "true"},  // in the settings' decimal format
    {"0.5", "sv_SE", "'0.5' is not a valid boolean value"},
    {" true", "C", "' true' is not a valid boolean value"},  // but not around a word
    {"tr", "C", "'tr' is not a valid boolean value"},        // no prefixes, unlike a Boolean field
    {"yes", "C", "'yes' is not a valid boolean value"},
    {"", "C", "'' is not a valid boolean value"},
};

TEST(BoolText, WordsOrNumbersInTheSettingsFormat) {
    for (const BoolCase& c : kBoolCases) {
        const TFormatSettings settings = FormatSettingsForLocale(c.locale);
        bool value = false;
        const std::string error = ConvertErrorOf([&] { value = StrToBool(c.text, settings); });
        EXPECT_EQ(error == "<no error>" ? (value ? "true" : "false") : error, c.result) << c.text;
        bool tried = true;
        EXPECT_EQ(TryStrToBool(c.text, tried, settings), error == "<no error>") << c.text;
    }
}

}  // namespace
}  // namespace tv
