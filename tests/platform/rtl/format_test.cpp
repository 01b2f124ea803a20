#include "platform/rtl/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "convert_error.h"

namespace tv {
namespace {

TFormatSettings Swedish() {
    return FormatSettingsForLocale("sv_SE.UTF-8");
}
TFormatSettings ForceDot() {
    TFormatSettings s = Swedish();
    ApplyForceDot(s);
    return s;
}

TEST(Format, NumberDirectiveGroupsThousandsWithTheSettings) {
    EXPECT_EQ(Format("%n", {1234567.891}, Swedish()), "1 234 567,89");
    EXPECT_EQ(Format("%n", {1234567.891}, ForceDot()), "1 234 567.89");
    EXPECT_EQ(Format("%n", {1234567.891}, FormatSettingsForLocale("C")), "1234567.89");
    EXPECT_EQ(Format("%s, %n", {"A1", 10.0}, Swedish()), "A1, 10,00");
    EXPECT_EQ(Format("%.0n", {-1234.5}, Swedish()), "-1 235");
}

struct FormatCase {
    const char* format;
    std::vector<TVarRec> args;
    const char* expected;  // under "forcedot"
};

TEST(Format, DirectivesWidthsPrecisionsAndIndexes) {
    const FormatCase cases[] = {
        {"%d", {42}, "42"},
        {"%d", {int64_t(-9000000000)}, "-9000000000"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},  // precision: least digits
        {"%D", {3}, "3"},          // type letters in either case
        {"%u", {-1}, "4294967295"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {int64_t(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%s", {"abc"}, "abc"},
        {"%.2s", {"abc"}, "ab"},
        {"%5s|", {"åäö"}, "  åäö|"},  // widths count characters, not bytes
        {"%-4s|", {'x'}, "x   |"},
        {"100%%", {}, "100%"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%1:s - %0:s", {"Kund", "10"}, "10 - Kund"},
        {"%0:s %s", {"a", "b"}, "a b"},  // after an index the next argument follows it
        {"%*d|", {5, 42}, "   42|"},
        {"%-*.*f|", {8, 1, 2.25}, "2.3     |"},
        {"%f", {1.0}, "1.00"},
        {"%.1f", {0.05}, "0.1"},
        {"%.0f", {-0.4}, "0"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%g", {1234.5}, "1234.5"},
        {"%g", {0.5}, "0.5"},
        {"%m", {1234.5}, "1 234.50 kr"},
        {"%.0m", {-5.0}, "-5 kr"},
        {"%s", {"%d%n"}, "%d%n"},  // argument text is never read as a format
        {"Query ok. %d records, time: %dsms", {3, 15}, "Query ok. 3 records, time: 15sms"},
        {"Fel i %s, \"%s\" (length = %d)", {"NAMN", "a\tb", 3}, "Fel i NAMN, \"a\tb\" (length = 3)"},
        {"%s %s %d.%d.%d - (%s)",
         {"Brismark", "Tollvane", 1, 2, 3, "default"},
         "Brismark Tollvane 1.2.3 - (default)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args, ForceDot()), c.expected) << c.format;
}

TEST(Format, MismatchesRaiseTheClassLibraryTexts) {
    const FormatCase cases[] = {
        {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
        {"%x", {"a"}, "Format '%x' invalid or incompatible with argument"},
        {"%s", {5}, "Format '%s' invalid or incompatible with argument"},
        {"%f", {5}, "Format '%f' invalid or incompatible with argument"},
        {"%q", {5}, "Format '%q' invalid or incompatible with argument"},
        {"abc %", {5}, "Format 'abc %' invalid or incompatible with argument"},
        {"%5", {5}, "Format '%5' invalid or incompatible with argument"},
        {"%*d", {"x", 1}, "Format '%*d' invalid or incompatible with argument"},
        {"%99999999d", {1}, "Format '%99999999d' invalid or incompatible with argument"},
        {"%d %d", {1}, "No argument for format '%d %d'"},
        {"%5:d", {1}, "No argument for format '%5:d'"},
        {"%s", {}, "No argument for format '%s'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertErrorOf([&] { Format(c.format, c.args, ForceDot()); }), c.expected) << c.format;
    }
}

}  // namespace
}  // namespace tv
