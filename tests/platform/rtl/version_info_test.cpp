#include "platform/rtl/version_info.h"

#include "platform/rtl/files.h"
#include "platform/rtl/text_file.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace tv {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::Pair;

// ---- hand-made files ----

std::string Bytes(uint64_t value, size_t width, bool bigEndian = false) {
    std::string out(width, '\0');
    for (size_t i = 0; i < width; ++i)
        out[bigEndian ? width - 1 - i : i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// A version block laid out by hand: magic, size, file and product numbers, bytes in use, strings,
// and `spare` zero bytes.
std::string Block(std::vector<uint16_t> file, std::vector<uint16_t> product, const std::string& strings,
                  size_t spare) {
    std::string block = "TVVERS01" + Bytes(0, 4);
    for (uint16_t n : file) block += Bytes(n, 2);
    for (uint16_t n : product) block += Bytes(n, 2);
    block += Bytes(strings.size(), 4) + strings + std::string(spare, '\0');
    return block.replace(8, 4, Bytes(block.size(), 4));
}

const std::string kGoldenStrings =
    "CompanyName\0Brismark\0FileVersion\0"
    "20.31.5867.0\0"s;
const std::string kGoldenBlock = Block({20, 31, 5867, 0}, {20, 31, 0, 0}, kGoldenStrings, 34);  // 112 bytes

// A small ELF file: header, the sections' bytes one after the other, the section-name table, then
// the section headers (a null one first, the name table last).
std::string MakeElf(bool is64, bool bigEndian,
                    const std::vector<std::pair<std::string, std::string>>& sections) {
    auto b = [&](uint64_t v, size_t w) { return Bytes(v, w, bigEndian); };
    const size_t word = is64 ? 8 : 4;
    const size_t headerSize = is64 ? 64 : 52, entrySize = is64 ? 64 : 40;

    std::string body, names("\0"s);
    std::vector<std::string> entries(1, std::string(entrySize, '\0'));
    auto addSection = [&](const std::string& name, const std::string& content, uint32_t type) {
        const size_t nameOffset = names.size();
        names += name + '\0';
        std::string e = b(nameOffset, 4) + b(type, 4) + b(0, word) + b(0, word) +
                        b(headerSize + body.size(), word) + b(content.size(), word) + b(0, 4) + b(0, 4) +
                        b(1, word) + b(0, word);
        entries.push_back(e);
        body += content;
    };
    for (const auto& [name, content] : sections) addSection(name, content, 1);
    addSection(".shstrtab", "", 3);  // its content is `names`, complete only now
    const size_t namesOffset = headerSize + body.size();
    entries.back().replace(is64 ? 24 : 16, 2 * word, b(namesOffset, word) + b(names.size(), word));
    body += names;

    std::string elf =
        "\x7F"
        "ELF"s +
        char(is64 ? 2 : 1) + char(bigEndian ? 2 : 1) + '\1' + std::string(9, '\0');
    elf += b(1, 2) + b(62, 2) + b(1, 4) + b(0, word) + b(0, word) + b(headerSize + body.size(), word) +
           b(0, 4) + b(headerSize, 2) + b(0, 2) + b(0, 2) + b(entrySize, 2) + b(entries.size(), 2) +
           b(entries.size() - 1, 2);
    elf += body;
    for (const auto& e : entries) elf += e;
    return elf;
}

// ---- the layout, read from hand-made files ----

TEST(VersionInfo, TheBlockIsReadFromAnyElfFileBySectionHeaders) {
    for (bool is64 : {true, false}) {
        for (bool bigEndian : {false, true}) {
            const std::string elf = MakeElf(
                is64, bigEndian, {{".text", "\x90\x90"s}, {".tvversion", kGoldenBlock}, {".data", "x"}});
            auto info = ReadVersionInfoFromBytes(elf);
            ASSERT_TRUE(info) << is64 << bigEndian;
            EXPECT_EQ(info->FileVersion, (TVersionNumbers{20, 31, 5867, 0}));
            EXPECT_EQ(info->ProductVersion, (TVersionNumbers{20, 31, 0, 0}));
            EXPECT_THAT(info->Strings,
                        ElementsAre(Pair("CompanyName", "Brismark"), Pair("FileVersion", "20.31.5867.0")));
            EXPECT_EQ(info->Value("CompanyName"), "Brismark");
            EXPECT_EQ(info->Value("Comments"), "");
        }
    }
}

struct NoInfoCase {
    const char* rule;
    std::string bytes;
};

TEST(VersionInfo, FilesWithoutAWholeBlockHaveNoVersionInformation) {
    const std::string good = MakeElf(true, false, {{".tvversion", kGoldenBlock}});
    std::string badMagic = kGoldenBlock;
    badMagic[7] = '2';
    std::string tooMuchInUse = kGoldenBlock;
    tooMuchInUse.replace(28, 4, Bytes(kGoldenBlock.size(), 4));
    const NoInfoCase cases[] = {
        {"a text file", "just text\r\n"},
        {"an empty file", ""},
        {"an ELF file without the section", MakeElf(true, false, {{".text", "code"}})},
        {"an ELF file cut short", good.substr(0, good.size() - 10)},
        {"an ELF header alone", good.substr(0, 64)},
        {"another magic", MakeElf(true, false, {{".tvversion", badMagic}})},
        {"more bytes in use than the block has", MakeElf(true, false, {{".tvversion", tooMuchInUse}})},
        {"a value without its NUL",
         MakeElf(true, false, {{".tvversion", Block({1, 0, 0, 0}, {1, 0, 0, 0}, "Key\0Value"s, 0)}})},
        {"a section too small for a block",
         MakeElf(true, false, {{".tvversion", kGoldenBlock.substr(0, 20)}})},
        {"a similar section name", MakeElf(true, false, {{".tvversions", kGoldenBlock}})},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadVersionInfoFromBytes(c.bytes)) << c.rule;
}

TEST(VersionInfo, PatchingRewritesNumbersAndTextAndKeepsTheRest) {
    test::TempDir dir;
    const std::string path = dir.Write("Adk.dll", MakeElf(true, false, {{".tvversion", kGoldenBlock}}));
    PatchFileVersion(path, "65535.65535.65535.65535");  // the longest text still fits in the spare bytes
    auto info = ReadFileVersion(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->FileVersion, (TVersionNumbers{65535, 65535, 65535, 65535}));
    EXPECT_EQ(info->ProductVersion, (TVersionNumbers{20, 31, 0, 0}));
    EXPECT_THAT(info->Strings,
                ElementsAre(Pair("CompanyName", "Brismark"), Pair("FileVersion", "65535.65535.65535.65535")));

    PatchFileVersion(path, "1.0.0.0");  // shorter again: the rest of the block is cleared
    EXPECT_EQ(dir.Read("Adk.dll"), MakeElf(true, false,
                                           {{".tvversion", Block({1, 0, 0, 0}, {20, 31, 0, 0},
                                                                 "CompanyName\0Brismark\0FileVersion\0"
                                                                 "1.0.0.0\0"s,
                                                                 112 - 32 - 41)}}));
}

TEST(VersionInfo, PatchingRefusesWhatItCannotDo) {
    test::TempDir dir;
    const std::string full = dir.Write("full", MakeElf(true, false,
                                                       {{".tvversion", Block({1, 0, 0, 0}, {1, 0, 0, 0},
                                                                             "FileVersion\0"
                                                                             "1.0.0.0\0"s,
                                                                             0)}}));
    try {
        PatchFileVersion(full, "10.0.0.0");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message, full + ": no room for the version texts");
    }
    const std::string plain = dir.Write("plain.txt", "text");
    try {
        PatchFileVersion(plain, "1.0.0.0");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message, plain + ": no version information");
    }
    EXPECT_EQ(dir.Read("plain.txt"), "text");
    EXPECT_THROW(PatchFileVersion(dir.Path("missing"), "1.0.0.0"), EInOutError);
    EXPECT_THROW(ReadFileVersion(dir.Path("missing")), EInOutError);
    EXPECT_THROW(ReadFileVersion(dir.Root()), EInOutError);
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileVersion(dir.Path("fifo")));  // answered at once, without a writer
}

TEST(VersionInfo, VersionNumbersAreFourPartsUpTo65535) {
    struct Row {
        const char* text;
        bool valid;
    };
    const Row rows[] = {
        {"1.2.3.4", true},    {"65535.0.0.01", true},   {"1.2.3", false},
        {"1.2.3.4.5", false}, {"1.2.3.65536", false},   {"a.b.c.d", false},
        {"", false},          {"1..3.4", false},        {" 1.2.3.4", false},
        {"1.2.3.4 ", false},  {"1.2.3.0000001", false},
    };
    for (const auto& r : rows) {
        if (r.valid)
            EXPECT_NO_THROW(ParseVersionNumbers(r.text)) << r.text;
        else
            EXPECT_THROW(ParseVersionNumbers(r.text), EConvertError) << r.text;
    }
    EXPECT_EQ(ParseVersionNumbers("65535.0.0.01"), (TVersionNumbers{65535, 0, 0, 1}));
    EXPECT_EQ((TVersionNumbers{20, 31, 5867, 0}).ToString(), "20.31.5867.0");
}

// ---- the block the build embeds (tests/platform/rtl/CMakeLists.txt) ----

TEST(VersionInfo, TheTestProgramCarriesTheVersionItWasBuiltWith) {
    auto info = ReadFileVersion(ProgramFileName());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->FileVersion, (TVersionNumbers{1, 2, 3, 4}));
    EXPECT_EQ(info->ProductVersion, (TVersionNumbers{1, 2, 0, 0}));
    EXPECT_EQ(info->Value("FileVersion"), "1.2.3.4");
    EXPECT_EQ(info->Value("ProductVersion"), "1.2.0.0");
    EXPECT_EQ(info->Value("CompanyName"), "Brismark");
    EXPECT_EQ(info->Value("ProductName"), "Tollvane");
    EXPECT_EQ(info->Value("FileDescription"), "Run-time library tests");
    EXPECT_EQ(info->Value("LegalCopyright"), "© Brismark \"tests\"");
    EXPECT_EQ(info->Value("Comments"), "");
}

TEST(VersionInfo, APatchedCopyOfTheProgramReportsTheNewVersionAndDiffersOnlyInTheBlock) {
    test::TempDir dir;
    const std::string copy = dir.Path("copy");
    CopyFile(ProgramFileName(), copy, false);
    PatchFileVersion(copy, TVersionNumbers{20, 31, 5867, 0});

    auto patched = ReadFileVersion(copy);
    ASSERT_TRUE(patched);
    EXPECT_EQ(patched->FileVersion, (TVersionNumbers{20, 31, 5867, 0}));
    EXPECT_EQ(patched->Value("FileVersion"), "20.31.5867.0");
    EXPECT_EQ(patched->Value("CompanyName"), "Brismark");
    EXPECT_EQ(ReadFileVersion(ProgramFileName())->FileVersion, (TVersionNumbers{1, 2, 3, 4}));

    const std::string before = ReadFileBytes(ProgramFileName());
    const std::string after = ReadFileBytes(copy);
    ASSERT_EQ(before.size(), after.size());
    size_t first = 0, last = before.size();
    while (first < before.size() && before[first] == after[first]) ++first;
    while (last > first && before[last - 1] == after[last - 1]) --last;
    EXPECT_LE(last - first, 256u) << "the patch touched bytes outside the version block";
}

}  // namespace
}  // namespace tv
