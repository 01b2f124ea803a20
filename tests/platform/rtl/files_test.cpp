#include "platform/rtl/files.h"

#include "platform/rtl/exception.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

template <typename F>
std::string InOutErrorOf(F&& action) {
    try {
        action();
    } catch (const EInOutError& e) {
        return e.Message;
    }
    return "(no error)";
}

// ---- path texts ----

struct PathCase {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
    const char* withTxt;
};
constexpr PathCase kPathCases[] = {
    {"a/b/c.xml", "a/b/", "a/b", "c.xml", ".xml", "a/b/c.txt"},
    {"/c.tar.gz", "/", "/", "c.tar.gz", ".gz", "/c.tar.txt"},
    {"plain", "", "", "plain", "", "plain.txt"},
    {"dir.d/name", "dir.d/", "dir.d", "name", "", "dir.d/name.txt"},  // a dot in a folder is no extension
    {"folder/", "folder/", "folder", "", "", "folder/.txt"},
    {"", "", "", "", "", ".txt"},
};

TEST(Files, PathTextsUseTheSlash) {
    for (const auto& c : kPathCases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
        EXPECT_EQ(ChangeFileExt(c.name, ".txt"), c.withTxt) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("a.xml", ""), "a");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a/"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

// ---- existence, folders, deletion ----

TEST(Files, ExistsTellsFilesFromFolders) {
    test::TempDir dir;
    dir.Write("f.txt", "x");
    dir.MakeFolder("sub");
    ASSERT_EQ(::symlink(dir.Path("f.txt").c_str(), dir.Path("link").c_str()), 0);
    struct Row {
        std::string path;
        bool file, folder;
    };
    const Row rows[] = {
        {dir.Path("f.txt"), true, false}, {dir.Path("sub"), false, true},   {dir.Path("sub/"), false, true},
        {dir.Path("link"), true, false},  {dir.Path("none"), false, false}, {"", false, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FileExists(r.path), r.file) << r.path;
        EXPECT_EQ(DirectoryExists(r.path), r.folder) << r.path;
    }
}

TEST(Files, ForceDirectoriesCreatesEveryMissingLevel) {
    test::TempDir dir;
    ForceDirectories(dir.Path("a/b/c/"));
    EXPECT_TRUE(DirectoryExists(dir.Path("a/b/c")));
    ForceDirectories(dir.Path("a/b"));  // existing: fine
    dir.Write("file", "x");
    EXPECT_EQ(InOutErrorOf([&] { ForceDirectories(dir.Path("file/sub")); }),
              "Cannot create folder \"" + dir.Path("file/sub") + "\". Not a directory");
    EXPECT_EQ(InOutErrorOf([&] { ForceDirectories(""); }), "Invalid file name \"\"");
}

TEST(Files, DeleteAndRemoveReportTheSystemText) {
    test::TempDir dir;
    dir.Write("f", "x");
    DeleteFile(dir.Path("f"));
    EXPECT_FALSE(FileExists(dir.Path("f")));
    EXPECT_EQ(InOutErrorOf([&] { DeleteFile(dir.Path("f")); }),
              "Cannot delete file \"" + dir.Path("f") + "\". No such file or directory");
    dir.Write("full/x", "x");
    EXPECT_THAT(InOutErrorOf([&] { RemoveDir(dir.Path("full")); }), HasSubstr("Directory not empty"));
    DeleteFile(dir.Path("full/x"));
    RemoveDir(dir.Path("full"));
    EXPECT_FALSE(DirectoryExists(dir.Path("full")));
    EXPECT_EQ(InOutErrorOf([&] { DeleteFile(std::string("a\0b", 3)); }),
              std::string("Invalid file name \"a\0b\"", 23));
}

TEST(Files, SizeAndModificationTime) {
    test::TempDir dir;
    dir.Write("f", "12345");
    EXPECT_EQ(FileSize(dir.Path("f")), 5);
    auto age = std::chrono::system_clock::now() - FileModificationTime(dir.Path("f"));
    EXPECT_LT(std::chrono::abs(age), std::chrono::minutes(5));
    EXPECT_THROW(FileSize(dir.Path("none")), EInOutError);
    EXPECT_THROW(FileSize(dir.Root()), EInOutError);
    EXPECT_THROW(FileModificationTime(dir.Path("none")), EInOutError);
}

// ---- copies and moves ----

// Makes `path`'s modification time a fixed moment, so that a copy can be seen to keep it.
void SetOldTime(const std::string& path) {
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::vector<std::string> Entries(const test::TempDir& dir, const char* sub = "") {
    return Sorted(ListFolder(dir.Path(sub), "*", TListKind::All));
}

TEST(Files, CopyRefusesOrReplacesAnExistingTarget) {
    test::TempDir dir;
    const std::string source = dir.Write("src.txt", "new");
    const std::string target = dir.Write("dst.txt", "old");
    ::chmod(source.c_str(), 0640);
    SetOldTime(source);

    EXPECT_EQ(InOutErrorOf([&] { CopyFile(source, target, false); }),
              "Cannot copy file \"" + source + "\" to \"" + target + "\". File exists");
    EXPECT_EQ(dir.Read("dst.txt"), "old");

    CopyFile(source, target, true);
    EXPECT_EQ(dir.Read("dst.txt"), "new");
    EXPECT_EQ(FileModificationTime(target), FileModificationTime(source));
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    CopyFile(source, dir.Path("fresh.txt"), false);
    EXPECT_EQ(dir.Read("fresh.txt"), "new");
    EXPECT_THAT(Entries(dir), ElementsAre("dst.txt", "fresh.txt", "src.txt"));  // nothing left behind
    EXPECT_THROW(CopyFile(dir.Path("none"), dir.Path("x"), true), EInOutError);
    EXPECT_THROW(CopyFile(source, dir.Path("no/folder/x"), true), EInOutError);
}

TEST(Files, MoveRefusesAnExistingTargetAndMoveReplaceReplacesIt) {
    test::TempDir dir;
    const std::string a = dir.Write("a.xml", "A");
    const std::string b = dir.Write("b.xml", "B");

    EXPECT_EQ(InOutErrorOf([&] { MoveFile(a, b); }),
              "Cannot move file \"" + a + "\" to \"" + b + "\". File exists");
    EXPECT_EQ(dir.Read("a.xml"), "A");  // both untouched
    EXPECT_EQ(dir.Read("b.xml"), "B");

    MoveFileReplace(a, b);
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(dir.Read("b.xml"), "A");

    MoveFile(b, dir.Path("c.xml"));  // a free name
    EXPECT_THAT(Entries(dir), ElementsAre("c.xml"));
    dir.MakeFolder("sub/inner");
    MoveFile(dir.Path("sub"), dir.Path("moved"));  // folders move too
    EXPECT_TRUE(DirectoryExists(dir.Path("moved/inner")));
    EXPECT_THAT(InOutErrorOf([&] { MoveFile(dir.Path("gone"), dir.Path("x")); }),
                HasSubstr("No such file or directory"));
}

// The rename step of a move between two file systems: it always refuses with EXDEV.
int RenameAcrossDevices(const char*, const char*, bool) {
    errno = EXDEV;
    return -1;
}

class CrossDeviceMove : public ::testing::Test {
protected:
    void SetUp() override { previous_ = SetRenameCall(&RenameAcrossDevices); }
    void TearDown() override { SetRenameCall(previous_); }
    TRenameCall previous_ = nullptr;
    test::TempDir dir;
};

TEST_F(CrossDeviceMove, CopiesThenDeletesTheSource) {
    const std::string source = dir.Write("in/a.xml", "A");
    SetOldTime(source);
    const auto time = FileModificationTime(source);
    dir.MakeFolder("out");
    MoveFile(source, dir.Path("out/a.xml"));
    EXPECT_FALSE(FileExists(source));
    EXPECT_EQ(dir.Read("out/a.xml"), "A");
    EXPECT_EQ(FileModificationTime(dir.Path("out/a.xml")), time);
    EXPECT_THAT(Entries(dir, "out"), ElementsAre("a.xml"));
}

TEST_F(CrossDeviceMove, StillRefusesAnExistingTarget) {
    const std::string source = dir.Write("a.xml", "A");
    const std::string target = dir.Write("b.xml", "B");
    EXPECT_EQ(InOutErrorOf([&] { MoveFile(source, target); }),
              "Cannot move file \"" + source + "\" to \"" + target + "\". File exists");
    EXPECT_EQ(dir.Read("a.xml"), "A");
    EXPECT_EQ(dir.Read("b.xml"), "B");
    EXPECT_THAT(Entries(dir), ElementsAre("a.xml", "b.xml"));
}

TEST_F(CrossDeviceMove, ReplaceReplaces) {
    const std::string source = dir.Write("a.xml", "A");
    const std::string target = dir.Write("b.xml", "B");
    MoveFileReplace(source, target);
    EXPECT_FALSE(FileExists(source));
    EXPECT_EQ(dir.Read("b.xml"), "A");
}

TEST_F(CrossDeviceMove, AFolderCannotMove) {
    dir.MakeFolder("sub");
    EXPECT_THAT(InOutErrorOf([&] { MoveFile(dir.Path("sub"), dir.Path("other")); }),
                HasSubstr("Invalid cross-device link"));
    EXPECT_TRUE(DirectoryExists(dir.Path("sub")));
}

TEST_F(CrossDeviceMove, ASourceThatCannotBeDeletedLeavesNoCopyBehind) {
    const std::string source = dir.Write("ro/a.xml", "A");
    ::chmod(dir.Path("ro").c_str(), 0500);  // the file cannot be unlinked from here
    if (::access(dir.Path("ro").c_str(), W_OK) == 0) {
        ::chmod(dir.Path("ro").c_str(), 0700);
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    EXPECT_THAT(InOutErrorOf([&] { MoveFile(source, dir.Path("a.xml")); }), HasSubstr("Permission denied"));
    ::chmod(dir.Path("ro").c_str(), 0700);
    EXPECT_TRUE(FileExists(source));
    EXPECT_FALSE(FileExists(dir.Path("a.xml")));
}

// ---- listings ----

TEST(Files, ListFolderWithMasksIncludesHiddenEntries) {
    test::TempDir dir;
    for (const char* name : {"a.xml", "B.XML", ".hidden.xml", "xformed_a", "XFORMED_b.xml", "notes.txt"})
        dir.Write(name, "x");
    dir.MakeFolder("folder.xml");
    dir.MakeFolder(".git");

    struct Row {
        const char* mask;
        TListKind kind;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"*.xml", TListKind::Files, {".hidden.xml", "B.XML", "XFORMED_b.xml", "a.xml"}},
        {"xformed*.*", TListKind::Files, {"XFORMED_b.xml", "xformed_a"}},
        {"*.*", TListKind::Folders, {".git", "folder.xml"}},
        {"*.xml", TListKind::All, {".hidden.xml", "B.XML", "XFORMED_b.xml", "a.xml", "folder.xml"}},
        {"?.xml", TListKind::Files, {"B.XML", "a.xml"}},
        {"*.pas", TListKind::All, {}},
    };
    for (const auto& r : rows) EXPECT_EQ(Sorted(ListFolder(dir.Root(), r.mask, r.kind)), r.names) << r.mask;
    EXPECT_EQ(Sorted(ListFolder(dir.Folder(), "*.txt", TListKind::Files)),
              std::vector<std::string>{"notes.txt"});
    EXPECT_THAT(ListFolder(dir.Path("missing"), "*", TListKind::All), IsEmpty());
    EXPECT_THAT(ListFolder(dir.Path("notes.txt"), "*", TListKind::All), IsEmpty());
}

TEST(Files, FindNameInFolderIgnoresCase) {
    test::TempDir dir;
    dir.Write("ReadMe.TXT", "x");
    dir.Write("exact", "x");
    dir.Write("EXACT", "x");
    EXPECT_EQ(FindNameInFolder(dir.Root(), "readme.txt"), "ReadMe.TXT");
    EXPECT_EQ(FindNameInFolder(dir.Root(), "EXACT"), "EXACT");  // the exact name first
    EXPECT_EQ(FindNameInFolder(dir.Root(), "missing"), std::nullopt);
    EXPECT_EQ(FindNameInFolder(dir.Path("none"), "readme.txt"), std::nullopt);
}

// ---- temporary files, the program ----

TEST(Files, CreateTempFileMakesNewEmptyFiles) {
    test::TempDir dir;
    std::string first = CreateTempFile("KV_", dir.Root());
    std::string second = CreateTempFile("KV_", dir.Root());
    EXPECT_NE(first, second);
    EXPECT_EQ(ExtractFilePath(first), dir.Folder());
    EXPECT_TRUE(ExtractFileName(first).starts_with("KV_"));
    EXPECT_EQ(FileSize(first), 0);
    EXPECT_THROW(CreateTempFile("../x", dir.Root()), EInOutError);
    EXPECT_THROW(CreateTempFile("KV_", dir.Path("missing")), EInOutError);
    EXPECT_EQ(GetTempFolder().back(), '/');
}

TEST(Files, ProgramFileIsTheRunningOneUnlessATestNamesAnother) {
    EXPECT_TRUE(FileExists(ProgramFileName()));
    EXPECT_EQ(ExtractFileName(ProgramFileName()), "test_rtl");
    EXPECT_EQ(ProgramFolder(), ExtractFilePath(ProgramFileName()));
    SetProgramFileName("/opt/tollvane/tollvane");
    EXPECT_EQ(ProgramFolder(), "/opt/tollvane/");
    SetProgramFileName("");
    EXPECT_EQ(ExtractFileName(ProgramFileName()), "test_rtl");
}

TEST(Files, CurrentFolder) {
    test::TempDir dir;
    const std::string before = GetCurrentDir();
    SetCurrentDir(dir.Root());
    char resolved[4096];
    ASSERT_NE(::realpath(dir.Root().c_str(), resolved), nullptr);
    EXPECT_EQ(GetCurrentDir(), resolved);
    SetCurrentDir(before);
    EXPECT_THROW(SetCurrentDir(dir.Path("missing")), EInOutError);
}

}  // namespace
}  // namespace tv
