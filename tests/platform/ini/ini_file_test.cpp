// The private-profile rules, one table per rule, and the whole-file write.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "platform/ini/ini_file.h"
#include "platform/rtl/codepage.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

const std::string kSettings =
    "; written by hand\r\n"
    "[General]\r\n"
    "VismaPath=C:\\Program Files\\Adm\r\n"
    "  Padded Key  =  padded value\t\r\n"
    "Quoted=\"  kept inside  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"x'\r\n"
    "LoneQuote=\"\r\n"
    "InnerQuotes=a \"b\" c\r\n"
    "Empty=\r\n"
    "Equals=a=b=c\r\n"
    "Semicolon=a ; b\r\n"
    "Twice=first\r\n"
    "Twice=second\r\n"
    "no equals sign here\r\n"
    "[  spaced  ]\r\n"
    "k=v\r\n"
    "[general]\r\n"
    "Later=not read\r\n"
    "[F\xC3\xB6rs\xC3\xA4ljning]\r\n"
    "\xC3\x85r=2024\r\n";

struct ReadCase {
    const char* rule;
    const char* section;
    const char* ident;
    const char* expected;
};
constexpr ReadCase kReadCases[] = {
    {"exact", "General", "VismaPath", "C:\\Program Files\\Adm"},
    {"section and key without case", "GENERAL", "vismapath", "C:\\Program Files\\Adm"},
    {"key and value trimmed", "General", "Padded Key", "padded value"},
    {"argument trimmed", "General", " Padded Key ", "padded value"},
    {"double quotes stripped, blanks inside kept", "General", "Quoted", "  kept inside  "},
    {"single quotes stripped", "General", "Single", "x"},
    {"mismatched quotes kept", "General", "Mismatched", "\"x'"},
    {"a lone quote kept", "General", "LoneQuote", "\""},
    {"inner quotes kept", "General", "InnerQuotes", "a \"b\" c"},
    {"present but empty reads empty", "General", "Empty", ""},
    {"value holds further equals signs", "General", "Equals", "a=b=c"},
    {"no comments inside values", "General", "Semicolon", "a ; b"},
    {"first of two equal keys", "General", "Twice", "first"},
    {"section name trimmed", "spaced", "k", "v"},
    {"Swedish letters without case", "F\xC3\x96RS\xC3\x84LJNING", "\xC3\xA5R", "2024"},
    {"only the first section of a name", "General", "Later", "<default>"},
    {"missing key", "General", "Missing", "<default>"},
    {"missing section", "Missing", "k", "<default>"},
    {"a line without equals sign is no key", "General", "no equals sign here", "<default>"},
};

TEST(IniFile, ReadsValuesByThePrivateProfileRules) {
    test::TempDir dir;
    TIniFile ini(dir.Write("a.ini", kSettings));
    for (const auto& c : kReadCases)
        EXPECT_EQ(ini.ReadString(c.section, c.ident, "<default>"), c.expected) << c.rule;
}

struct IntCase {
    const char* text;
    int32_t expected;
};
constexpr IntCase kIntCases[] = {
    {"12", 12}, {" -7 ", -7}, {"$1F", 31}, {"0x1F", 31}, {"abc", 99}, {"12abc", 99}, {"", 99}, {"\"5\"", 5},
};

TEST(IniFile, IntegersAndBooleansAreReadAsTheClassLibraryReadsThem) {
    test::TempDir dir;
    std::string text = "[s]\r\n";
    for (size_t i = 0; i < std::size(kIntCases); ++i)
        text += "k" + std::to_string(i) + "=" + kIntCases[i].text + "\r\n";
    text += "yes=1\r\nno=0\r\ntwo=2\r\nword=true\r\n";
    TIniFile ini(dir.Write("a.ini", text));
    for (size_t i = 0; i < std::size(kIntCases); ++i)
        EXPECT_EQ(ini.ReadInteger("s", "k" + std::to_string(i), 99), kIntCases[i].expected)
            << kIntCases[i].text;
    EXPECT_EQ(ini.ReadInteger("s", "missing", 99), 99);
    EXPECT_TRUE(ini.ReadBool("s", "yes", false));
    EXPECT_FALSE(ini.ReadBool("s", "no", true));
    EXPECT_TRUE(ini.ReadBool("s", "two", false));    // any integer but 0
    EXPECT_FALSE(ini.ReadBool("s", "word", false));  // not an integer: the default
    EXPECT_TRUE(ini.ReadBool("s", "word", true));
}

std::string Utf16(std::string_view utf8, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t c : Utf8ToUtf16(utf8)) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }
    return out;
}

TEST(IniFile, ReadsEveryEncodingAndLineEnd) {
    const std::string utf8 = "[s]\r\nname=\xC3\x85sa \xE2\x82\xAC\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"Windows-1252", "[s]\r\nname=\xC5sa \x80\r\n"},
        {"UTF-8 without mark", utf8},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16 LE", Utf16(utf8, true)},
        {"UTF-16 BE", Utf16(utf8, false)},
        {"line feeds only", "[s]\nname=\xC5sa \x80\n"},
        {"carriage returns only", "[s]\rname=\xC5sa \x80\r"},
        {"no final line end", "[s]\r\nname=\xC5sa \x80"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        TIniFile ini(dir.Write("a.ini", c.bytes));
        EXPECT_EQ(ini.ReadString("s", "name", ""), "Åsa €") << c.name;
    }
}

const std::string kBefore =
    "; a comment\r\n"
    "[Mine]\r\n"
    "a=1\r\n"
    "B = 2\r\n"
    "; kept\r\n"
    "\r\n"
    "[Foreign]\r\n"
    "  odd   spacing = \"quoted\"  \r\n"
    "odd line\r\n"
    "[Last]\r\n"
    "z=26\r\n";

TEST(IniFile, WritesInPlaceAndKeepsEveryOtherLine) {
    test::TempDir dir;
    TIniFile ini(dir.Write("a.ini", kBefore));
    ini.WriteString("mine", "b", "two");        // in place, the file's spelling of the key kept
    ini.WriteString("Mine", "c", "3");          // after the last line that is not blank
    ini.WriteString("New", "k", "\xC3\x85sa");  // a new section at the end
    ini.WriteInteger("Last", "n", -5);
    ini.WriteBool("Last", "flag", true);
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(dir.Read("a.ini"), kBefore);              // nothing written before UpdateFile
    EXPECT_EQ(ini.ReadString("Mine", "B", ""), "two");  // but read at once
    ini.UpdateFile();
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(dir.Read("a.ini"),
              "; a comment\r\n"
              "[Mine]\r\n"
              "a=1\r\n"
              "B=two\r\n"
              "; kept\r\n"
              "c=3\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "  odd   spacing = \"quoted\"  \r\n"
              "odd line\r\n"
              "[Last]\r\n"
              "z=26\r\n"
              "n=-5\r\n"
              "flag=1\r\n"
              "[New]\r\n"
              "k=\xC5sa\r\n");
}

TEST(IniFile, AnUpdateKeepsWhatOthersWroteSinceTheFileWasRead) {
    test::TempDir dir;
    std::string path = dir.Write("a.ini", "[identities]\r\nLOPNR=1\r\n");
    TIniFile ini(path);
    dir.Write("a.ini", "[identities]\r\nLOPNR=1\r\nOTHER=x\r\n[Foreign]\r\nf=1\r\n");
    ini.WriteString("identities", "LOPNR", "2");
    ini.UpdateFile();
    EXPECT_EQ(dir.Read("a.ini"), "[identities]\r\nLOPNR=2\r\nOTHER=x\r\n[Foreign]\r\nf=1\r\n");
    EXPECT_EQ(ini.ReadString("Foreign", "f", ""), "1");  // the object now holds what it wrote
}

TEST(IniFile, SectionsKeysAndErasing) {
    test::TempDir dir;
    TIniFile ini(dir.Write("a.ini", "[a]\r\nx=1\r\ny= 2 \r\n[B]\r\n[A]\r\nz=3\r\n"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ini.ReadSectionValues("a"),
              (std::vector<std::pair<std::string, std::string>>{{"x", "1"}, {"y", "2"}}));
    EXPECT_TRUE(ini.SectionExists("b"));
    EXPECT_FALSE(ini.SectionExists("c"));
    EXPECT_TRUE(ini.ValueExists("A", "Y"));
    EXPECT_FALSE(ini.ValueExists("A", "z"));  // in the second section of the name
    ini.DeleteKey("a", "X");
    ini.DeleteKey("a", "missing");
    ini.EraseSection("b");
    ini.UpdateFile();
    EXPECT_EQ(dir.Read("a.ini"), "[a]\r\ny= 2 \r\n[A]\r\nz=3\r\n");
    ini.EraseSection("A");  // every section of the name
    ini.UpdateFile();
    EXPECT_EQ(dir.Read("a.ini"), "");
}

TEST(IniFile, ANewFileIsWindows1252AndAMarkedFileKeepsItsForm) {
    test::TempDir dir;
    TIniFile created(dir.Path("new.ini"));
    EXPECT_EQ(created.ReadString("s", "k", "d"), "d");
    created.WriteString("s", "k", "\xC3\xA5\xE2\x82\xAC");
    created.UpdateFile();
    EXPECT_EQ(dir.Read("new.ini"), "[s]\r\nk=\xE5\x80\r\n");

    TIniFile wide(dir.Write("wide.ini", Utf16("[s]\r\nk=1\r\n", true)));
    wide.WriteString("s", "k", "\xE4\xB8\xAD");  // a character Windows-1252 lacks
    wide.UpdateFile();
    EXPECT_EQ(dir.Read("wide.ini"), Utf16("[s]\r\nk=\xE4\xB8\xAD\r\n", true));

    TIniFile ansi(dir.Write("ansi.ini", "[s]\r\nk=\xE5\r\n"));
    EXPECT_EQ(ansi.ReadString("s", "k", ""), "\xC3\xA5");
    ansi.WriteString("s", "p", "hemligt\xE4\xB8\xAD");
    ansi.UpdateFile();
    // Written whole as UTF-8 with a byte-order mark, which every reader takes; the cause names the
    // key, never the value: it may be a password, and it gets logged.
    EXPECT_EQ(dir.Read("ansi.ini"), "\xEF\xBB\xBF[s]\r\nk=\xC3\xA5\r\np=hemligt\xE4\xB8\xAD\r\n");
    EXPECT_EQ(ansi.Utf8Cause(), "the value of p");
    EXPECT_EQ(TIniFile(dir.Path("ansi.ini")).ReadString("s", "p", ""), "hemligt\xE4\xB8\xAD");
    ansi.WriteString("s", "k", "2");
    ansi.UpdateFile();
    EXPECT_EQ(ansi.Utf8Cause(), "") << "a file with its mark keeps its form without a cause";
}

struct RefusedCase {
    const char* what;
    std::string section, ident, value;
};

TEST(IniFile, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    const RefusedCase cases[] = {
        {"line feed in value", "s", "k", "a\nb"},
        {"carriage return in value", "s", "k", "a\rb"},
        {"NUL in value", "s", "k", std::string("a\0b", 3)},
        {"equals sign in key", "s", "a=b", "v"},
        {"empty key", "s", "  ", "v"},
        {"key like a header", "s", "[x]", "v"},
        {"line break in key", "s", "a\nb", "v"},
        {"bracket in section", "a]b", "k", "v"},
        {"line break in section", "a\r\nb", "k", "v"},
    };
    test::TempDir dir;
    TIniFile ini(dir.Path("a.ini"));
    for (const auto& c : cases)
        EXPECT_THROW(ini.WriteString(c.section, c.ident, c.value), EIniFileException) << c.what;
    EXPECT_FALSE(ini.Modified());
}

// A write that fails part-way (here: the file-size limit is hit while the new content is written)
// leaves the old file whole and no temporary file beside it.
TEST(IniFile, AFailedWriteLeavesTheFileWhole) {
    test::TempDir dir;
    const std::string before = "[Foreign]\r\nf=1\r\n";
    std::string path = dir.Write("a.ini", before);
    TIniFile ini(path);
    ini.WriteString("big", "k", std::string(64 * 1024, 'x'));

    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldSignal = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool raised = false;
    try {
        ini.UpdateFile();
    } catch (const Exception&) {
        raised = true;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldSignal);

    EXPECT_TRUE(raised);
    EXPECT_EQ(dir.Read("a.ini"), before);
    EXPECT_TRUE(ini.Modified());
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Root())) ++entries;
    EXPECT_EQ(entries, 1u);
    ini.UpdateFile();  // the change still waits and goes in once the write can succeed
    EXPECT_EQ(ini.ReadString("big", "k", "").size(), 64u * 1024);
    EXPECT_EQ(TIniFile(path).ReadString("Foreign", "f", ""), "1");
}

}  // namespace
}  // namespace tv
