#include "platform/rtl/format_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace tv {
namespace {

struct LocaleCase {
    const char* locale;
    char decimal;
    char thousands;
    const char* shortDate;
    char dateSeparator;
    const char* january;
    const char* monday;  // short day name
};
constexpr LocaleCase kLocaleCases[] = {
    {"sv_SE.UTF-8", ',', ' ', "yyyy-mm-dd", '-', "januari", "mån"},
    {"sv_SE", ',', ' ', "yyyy-mm-dd", '-', "januari", "mån"},
    {"sv_FI.UTF-8@euro", ',', ' ', "yyyy-mm-dd", '-', "januari", "mån"},
    {"C", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
    {"POSIX", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
    {"C.UTF-8", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
    {"", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
    {"en_US.UTF-8", '.', ',', "m/d/yyyy", '/', "January", "Mon"},
    {"de_DE.UTF-8", ',', '.', "yyyy-mm-dd", '-', "January", "Mon"},  // other languages: their separators,
    {"fi_FI", ',', ' ', "yyyy-mm-dd", '-', "January", "Mon"},        // neutral dates and names
    {"en_GB.UTF-8", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
    {"xx_YY", '.', '\0', "yyyy-mm-dd", '-', "January", "Mon"},
};

TEST(FormatSettings, LocaleNamesGiveTheirSeparatorsFormatsAndNames) {
    for (const auto& c : kLocaleCases) {
        TFormatSettings s = FormatSettingsForLocale(c.locale);
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << c.locale;
        EXPECT_EQ(s.ThousandSeparator, c.thousands) << c.locale;
        EXPECT_EQ(s.ShortDateFormat, c.shortDate) << c.locale;
        EXPECT_EQ(s.DateSeparator, c.dateSeparator) << c.locale;
        EXPECT_EQ(s.LongMonthNames[0], c.january) << c.locale;
        EXPECT_EQ(s.ShortDayNames[1], c.monday) << c.locale;
    }
}

TEST(FormatSettings, DefaultConstructedAreTheNeutralSettings) {
    TFormatSettings plain, neutral = FormatSettingsForLocale("C");
    EXPECT_EQ(plain.DecimalSeparator, neutral.DecimalSeparator);
    EXPECT_EQ(plain.ThousandSeparator, neutral.ThousandSeparator);
    EXPECT_EQ(plain.ShortDateFormat, neutral.ShortDateFormat);
    EXPECT_EQ(plain.LongMonthNames, neutral.LongMonthNames);
    EXPECT_EQ(plain.ShortDayNames, neutral.ShortDayNames);
}

TEST(FormatSettings, SwedishTimesAndNames) {
    TFormatSettings s = FormatSettingsForLocale("sv_SE.UTF-8");
    EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
    EXPECT_EQ(s.TimeSeparator, ':');
    EXPECT_EQ(s.LongMonthNames[4], "maj");
    EXPECT_EQ(s.ShortMonthNames[9], "okt");
    EXPECT_EQ(s.LongDayNames[0], "söndag");
    EXPECT_EQ(s.LongDayNames[6], "lördag");
}

TEST(FormatSettings, ForceDotSetsPointAndBlankAndLeavesDatesAlone) {
    TFormatSettings s = FormatSettingsForLocale("sv_SE.UTF-8");
    ApplyForceDot(s);
    EXPECT_EQ(s.DecimalSeparator, '.');
    EXPECT_EQ(s.ThousandSeparator, ' ');
    EXPECT_EQ(s.ShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(s.LongMonthNames[0], "januari");
    TFormatSettings c = FormatSettingsForLocale("C");
    ApplyForceDot(c);
    EXPECT_EQ(c.ThousandSeparator, ' ');
}

// Sets the locale variables of one case and puts the old values back afterwards.
class LocaleEnvironment {
public:
    explicit LocaleEnvironment(const std::map<std::string, std::string>& values) {
        for (const char* name : kNames) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            auto it = values.find(name);
            if (it != values.end()) {
                setenv(name, it->second.c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LANG"};
    std::map<std::string, std::optional<std::string>> saved_;
};

struct EnvironmentCase {
    std::map<std::string, std::string> variables;
    char decimal;
    const char* january;
    const char* rule;
};

TEST(FormatSettings, EnvironmentPicksNumbersAndDatesByTheirCategories) {
    const EnvironmentCase cases[] = {
        {{}, '.', "January", "nothing set: neutral"},
        {{{"LANG", "sv_SE.UTF-8"}}, ',', "januari", "LANG alone"},
        {{{"LANG", "C"}, {"LC_NUMERIC", "sv_SE.UTF-8"}}, ',', "January", "numbers by LC_NUMERIC"},
        {{{"LANG", "C"}, {"LC_TIME", "sv_SE.UTF-8"}}, '.', "januari", "dates by LC_TIME"},
        {{{"LC_ALL", "sv_SE.UTF-8"}, {"LC_NUMERIC", "C"}, {"LC_TIME", "C"}}, ',', "januari", "LC_ALL wins"},
        {{{"LC_ALL", ""}, {"LANG", "sv_SE"}}, ',', "januari", "an empty variable counts as unset"},
    };
    for (const auto& c : cases) {
        LocaleEnvironment environment(c.variables);
        TFormatSettings s = FormatSettingsFromEnvironment();
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << c.rule;
        EXPECT_EQ(s.LongMonthNames[0], c.january) << c.rule;
    }
}

}  // namespace
}  // namespace tv
