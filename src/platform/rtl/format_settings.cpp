#include "platform/rtl/format_settings.h"

#include <cstdlib>

namespace tv {
namespace {

constexpr std::array<std::string_view, 12> kSwedishLongMonths = {
    "januari", "februari", "mars",      "april",   "maj",      "juni",
    "juli",    "augusti",  "september", "oktober", "november", "december"};
constexpr std::array<std::string_view, 12> kSwedishShortMonths = {"jan", "feb", "mar", "apr", "maj", "jun",
                                                                  "jul", "aug", "sep", "okt", "nov", "dec"};
constexpr std::array<std::string_view, 7> kSwedishLongDays = {"söndag",  "måndag", "tisdag", "onsdag",
                                                              "torsdag", "fredag", "lördag"};
constexpr std::array<std::string_view, 7> kSwedishShortDays = {"sön", "mån", "tis", "ons",
                                                               "tor", "fre", "lör"};

// Languages that write numbers other than "1234.5": their decimal and thousands separators.
struct LanguageSeparators {
    std::string_view language;
    char decimal;
    char thousands;
};
constexpr LanguageSeparators kLanguageSeparators[] = {
    {"cs", ',', ' '}, {"da", ',', '.'}, {"de", ',', '.'}, {"es", ',', '.'}, {"et", ',', ' '},
    {"fi", ',', ' '}, {"fr", ',', ' '}, {"is", ',', '.'}, {"it", ',', '.'}, {"lt", ',', ' '},
    {"lv", ',', ' '}, {"nb", ',', ' '}, {"nl", ',', '.'}, {"nn", ',', ' '}, {"no", ',', ' '},
    {"pl", ',', ' '}, {"pt", ',', '.'}, {"ru", ',', ' '}, {"sk", ',', ' '}, {"sv", ',', ' '},
};

template <size_t N>
void CopyNames(std::array<std::string, N>& to, const std::array<std::string_view, N>& from) {
    for (size_t i = 0; i < N; ++i) to[i] = from[i];
}

// "sv_SE.UTF-8@euro" -> language "sv", territory "SE".
struct LocaleName {
    std::string_view language;
    std::string_view territory;
};
LocaleName SplitLocaleName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    size_t underscore = name.find('_');
    if (underscore == std::string_view::npos) return {name, {}};
    return {name.substr(0, underscore), name.substr(underscore + 1)};
}

void MakeSwedish(TFormatSettings& s) {
    s.DecimalSeparator = ',';
    s.ThousandSeparator = ' ';
    s.ListSeparator = ';';
    s.LongDateFormat = "d mmmm yyyy";
    s.TimeAMString = "fm";
    s.TimePMString = "em";
    s.CurrencyString = "kr";
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    CopyNames(s.LongMonthNames, kSwedishLongMonths);
    CopyNames(s.ShortMonthNames, kSwedishShortMonths);
    CopyNames(s.LongDayNames, kSwedishLongDays);
    CopyNames(s.ShortDayNames, kSwedishShortDays);
}

void MakeAmerican(TFormatSettings& s) {
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    s.DateSeparator = '/';
    s.ShortDateFormat = "m/d/yyyy";
    s.LongDateFormat = "dddd, mmmm d, yyyy";
    s.ShortTimeFormat = "h:nn AMPM";
    s.LongTimeFormat = "h:nn:ss AMPM";
    s.CurrencyString = "$";
    s.CurrencyFormat = 0;  // "$1"
    s.NegCurrFormat = 1;   // "-$1"
}

std::string_view EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// The first of LC_ALL, `category` and LANG that is set and not empty.
std::string_view LocaleFor(const char* category) {
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        std::string_view value = EnvironmentValue(name);
        if (!value.empty()) return value;
    }
    return {};
}

}  // namespace

TFormatSettings FormatSettingsForLocale(std::string_view localeName) {
    TFormatSettings s;
    LocaleName name = SplitLocaleName(localeName);
    if (name.language == "sv") {
        MakeSwedish(s);
    } else if (name.language == "en" && name.territory == "US") {
        MakeAmerican(s);
    } else {
        for (const auto& entry : kLanguageSeparators) {
            if (entry.language != name.language) continue;
            s.DecimalSeparator = entry.decimal;
            s.ThousandSeparator = entry.thousands;
            s.ListSeparator = ';';
        }
    }
    return s;
}

TFormatSettings FormatSettingsFromEnvironment() {
    TFormatSettings numbers = FormatSettingsForLocale(LocaleFor("LC_NUMERIC"));
    TFormatSettings money = FormatSettingsForLocale(LocaleFor("LC_MONETARY"));
    TFormatSettings s = FormatSettingsForLocale(LocaleFor("LC_TIME"));
    s.DecimalSeparator = numbers.DecimalSeparator;
    s.ThousandSeparator = numbers.ThousandSeparator;
    s.ListSeparator = numbers.ListSeparator;
    s.CurrencyString = money.CurrencyString;
    s.CurrencyFormat = money.CurrencyFormat;
    s.NegCurrFormat = money.NegCurrFormat;
    s.CurrencyDecimals = money.CurrencyDecimals;
    return s;
}

TFormatSettings& DefaultFormatSettings() {
    static TFormatSettings settings = FormatSettingsFromEnvironment();
    return settings;
}

void ApplyForceDot(TFormatSettings& settings) {
    settings.DecimalSeparator = '.';
    settings.ThousandSeparator = ' ';
}

}  // namespace tv
