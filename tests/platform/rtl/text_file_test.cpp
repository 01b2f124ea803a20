#include "platform/rtl/text_file.h"

#include "platform/rtl/streams.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace tv {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* rule;
    std::string bytes;
    std::string text;
    TextEncoding encoding;
};
const ReadCase kReadCases[] = {
    {"a UTF-8 BOM decides",
     "\xEF\xBB\xBF"
     "åa"s,
     "åa", TextEncoding::Utf8Bom},
    {"a UTF-16 LE BOM decides",
     "\xFF\xFE"
     "a\0\xE5\0\xAC\x20"s,
     "aå€", TextEncoding::Utf16LE},
    {"a UTF-16 BE BOM decides",
     "\xFE\xFF"
     "\0a\0\xE5"s,
     "aå", TextEncoding::Utf16BE},
    {"valid UTF-8 without a BOM is UTF-8", "\xC3\xA5\xE2\x82\xAC"s, "å€", TextEncoding::Utf8},
    {"anything else is Windows-1252", "\xE5\x80\r\n"s, "å€\r\n", TextEncoding::Ansi},
    {"one bad byte makes it all Windows-1252", "\xC3\xA5 \xE5"s, "Ã¥ å", TextEncoding::Ansi},
    {"plain ASCII is read as it is", "a\r\nb"s, "a\r\nb", TextEncoding::Utf8},
    {"an empty file is empty text", ""s, "", TextEncoding::Utf8},
};

TEST(TextFile, ReadTextFileDetectsBomUtf8AndWindows1252) {
    test::TempDir dir;
    for (const auto& c : kReadCases) {
        TextEncoding detected{};
        EXPECT_EQ(ReadTextFile(dir.Write("t.txt", c.bytes), &detected), c.text) << c.rule;
        EXPECT_EQ(detected, c.encoding) << c.rule;
    }
}

TEST(TextFile, AnsiFilesAreWindows1252WithCrLfAndNoBom) {
    test::TempDir dir;
    WriteAnsiTextFile(dir.Path("a.txt"), "å\nb€\r\nc\rd 中");
    EXPECT_EQ(dir.Read("a.txt"), "\xE5\r\nb\x80\r\nc\r\nd ?");

    WriteTextFile(dir.Path("u.txt"), "a\nb", TextEncoding::Utf16LE);
    EXPECT_EQ(dir.Read("u.txt"),
              "\xFF\xFE"
              "a\0\r\0\n\0b\0"s);
    WriteTextFile(dir.Path("lf.txt"), "a\r\nb", TextEncoding::Utf8, "\n");
    EXPECT_EQ(dir.Read("lf.txt"), "a\nb");
    EXPECT_EQ(ReadTextFile(dir.Path("a.txt")), "å\r\nb€\r\nc\r\nd ?");
}

TEST(TextFile, FailuresRaiseTheFileErrors) {
    test::TempDir dir;
    EXPECT_THROW(ReadTextFile(dir.Path("missing.txt")), EFOpenError);
    EXPECT_THROW(WriteAnsiTextFile(dir.Path("no/folder/x.txt"), "x"), EFCreateError);
    EXPECT_THROW(ReadFileBytes(std::string("a\0b", 3)), EFOpenError);
}

// A pipe without a writer would wait for ever, a device may never end: neither is a file to read
// whole. They are refused at once, naming the file, and so are the links that lead to them.
TEST(TextFile, AWholeFileIsReadOnlyFromARegularFile) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("pipe.xml").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.Path("zero.xml").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("pipe.xml").c_str(), dir.Path("to_pipe.xml").c_str()), 0);
    for (const char* name : {"pipe.xml", "zero.xml", "to_pipe.xml"}) {
        try {
            ReadFileBytes(dir.Path(name));
            ADD_FAILURE() << name << " was read";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" + dir.Path(name) + "\". It is not a regular file")
                << name;
        }
    }
    ::mkdir(dir.Path("folder").c_str(), 0700);
    EXPECT_THROW(ReadFileBytes(dir.Path("folder")), EFOpenError);
    EXPECT_EQ(ReadFileBytes(dir.Write("plain.xml", "<a/>")), "<a/>");
}

// The entries of a folder, to see that a replacement leaves nothing of its own behind.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(TextFile, AReplacementKeepsTheModeAndANewFileGetsTheCreationMode) {
    test::TempDir dir;
    for (TReplaceSync sync : {TReplaceSync::ToDisk, TReplaceSync::Lazy}) {
        const std::string old = dir.Write("old.ini", "old");
        ::chmod(old.c_str(), 0604);
        WriteFileBytesReplacing(old, "new", sync);
        EXPECT_EQ(dir.Read("old.ini"), "new");
        EXPECT_EQ(ModeOf(old), 0604u);

        const mode_t mask = ::umask(027);
        WriteFileBytesReplacing(dir.Path("fresh.ini"), "fresh", sync);
        EXPECT_EQ(::umask(mask), 027u) << "the creation mask is left as it was";
        EXPECT_EQ(dir.Read("fresh.ini"), "fresh");
        EXPECT_EQ(ModeOf(dir.Path("fresh.ini")), 0640u);
        EXPECT_EQ(Entries(dir.Root()), (std::vector<std::string>{"fresh.ini", "old.ini"}));
        std::filesystem::remove(dir.Path("fresh.ini"));
    }
}

TEST(TextFile, AGroupReplacesItsFilesAllAtCommitInTheOrderWritten) {
    test::TempDir dir;
    const std::string old = dir.Write("out/old.xml", "old");
    ::chmod(old.c_str(), 0640);
    {
        TFileReplaceGroup group;
        group.Write(old, "new");
        group.Write(dir.Path("out/a.xml"), "a1");
        group.Write(dir.Path("out/a.xml"), "a2");  // the same name twice: the later content stays
        group.Write(dir.Path("b.xml"), "b");      // another folder
        EXPECT_EQ(dir.Read("out/old.xml"), "old") << "nothing is replaced before the commit";
        EXPECT_FALSE(dir.Exists("out/a.xml"));
        EXPECT_FALSE(group.Empty());
        group.Commit();
        EXPECT_TRUE(group.Empty());
        EXPECT_EQ(dir.Read("out/old.xml"), "new");
        EXPECT_EQ(ModeOf(old), 0640u);
        EXPECT_EQ(dir.Read("out/a.xml"), "a2");
        EXPECT_EQ(dir.Read("b.xml"), "b");
        EXPECT_EQ(Entries(dir.Path("out")), (std::vector<std::string>{"a.xml", "old.xml"}));
    }
    {
        TFileReplaceGroup dropped;
        dropped.Write(old, "lost");
        dropped.Write(dir.Path("out/c.xml"), "lost");
    }
    EXPECT_EQ(dir.Read("out/old.xml"), "new") << "a group dropped without its commit replaces nothing";
    EXPECT_EQ(Entries(dir.Path("out")), (std::vector<std::string>{"a.xml", "old.xml"}))
        << "and leaves no temporary file";
    TFileReplaceGroup refused;
    EXPECT_THROW(refused.Write(dir.Path("none/x.xml"), "x"), EFCreateError);
}

// A content written in pieces is the pieces in order; one whose writing fails part-way leaves the
// old file as it was and no temporary file, alone or in a group.
TEST(TextFile, AContentWrittenInPiecesReplacesTheFileOnlyWhenWhole) {
    test::TempDir dir;
    const std::string file = dir.Write("out/kunder.xml", "old");
    const TBytePieces pieces = [](const TBytePieceSink& put) {
        put("<a>");
        put(std::string(100000, 'x'));
        put("</a>");
    };
    const TBytePieces failing = [](const TBytePieceSink& put) {
        put("<a>");
        throw std::runtime_error("no more");
    };
    EXPECT_THROW(WriteFileBytesReplacing(file, failing), std::runtime_error);
    EXPECT_EQ(dir.Read("out/kunder.xml"), "old");
    EXPECT_EQ(Entries(dir.Path("out")), (std::vector<std::string>{"kunder.xml"}));
    {
        TFileReplaceGroup group;
        EXPECT_THROW(group.Write(file, failing), std::runtime_error);
        EXPECT_TRUE(group.Empty());
        EXPECT_EQ(Entries(dir.Path("out")), (std::vector<std::string>{"kunder.xml"}));
        group.Write(file, pieces);
        group.Commit();
    }
    EXPECT_EQ(dir.Read("out/kunder.xml"), "<a>" + std::string(100000, 'x') + "</a>");
    WriteFileBytesReplacing(file, [](const TBytePieceSink& put) { put("one"); put("two"); });
    EXPECT_EQ(dir.Read("out/kunder.xml"), "onetwo");
}

TEST(TextFile, AReplacementThroughASymbolicLinkReplacesTheFileItPointsAt) {
    test::TempDir dir;
    const std::string real = dir.Write("real/settings.ini", "old");
    ::chmod(real.c_str(), 0600);
    dir.MakeFolder("root");
    std::filesystem::create_symlink("../real/settings.ini", dir.Path("root/settings.ini"));  // relative
    std::filesystem::create_symlink(dir.Path("root/settings.ini"), dir.Path("second.ini"));  // a chain

    WriteFileBytesReplacing(dir.Path("second.ini"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("second.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("root/settings.ini")));
    EXPECT_EQ(dir.Read("real/settings.ini"), "new");
    EXPECT_EQ(ModeOf(real), 0600u);
    EXPECT_EQ(Entries(dir.Path("real")), std::vector<std::string>{"settings.ini"});
    EXPECT_EQ(Entries(dir.Path("root")), std::vector<std::string>{"settings.ini"});

    // A link to a file not there yet makes that file.
    std::filesystem::create_symlink("real/made.ini", dir.Path("made.ini"));
    WriteFileBytesReplacing(dir.Path("made.ini"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("made.ini")));
    EXPECT_EQ(dir.Read("real/made.ini"), "made");

    // Links that lead round in a circle name no file.
    std::filesystem::create_symlink("loop2", dir.Path("loop1"));
    std::filesystem::create_symlink("loop1", dir.Path("loop2"));
    EXPECT_THROW(WriteFileBytesReplacing(dir.Path("loop1"), "x"), EFCreateError);
}

TEST(TextFile, AFailedReplacementLeavesTheOldFileAndNothingElse) {
    test::TempDir dir;
    dir.MakeFolder("data/folder.ini");  // a folder cannot be replaced by a file
    dir.Write("data/kept.txt", "kept");
    try {
        WriteFileBytesReplacing(dir.Path("data/folder.ini"), "x");
        FAIL() << "a folder was replaced";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.Path("data/folder.ini")), std::string::npos) << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("data/folder.ini")));
    EXPECT_EQ(Entries(dir.Path("data")), (std::vector<std::string>{"folder.ini", "kept.txt"}));

    try {
        WriteFileBytesReplacing(dir.Path("missing/x.ini"), "x");
        FAIL() << "written into a folder that does not exist";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + dir.Path("missing/x.ini") + "\". No such file or directory");
    }
}

}  // namespace
}  // namespace tv
