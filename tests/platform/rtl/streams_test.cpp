#include "platform/rtl/streams.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/text_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tv {
namespace {

std::string ReadAll(TStream& stream) {
    std::string bytes(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

TEST(Streams, MemoryStreamReadsWritesAndSeeks) {
    TMemoryStream s;
    EXPECT_EQ(s.Write("hello", 5), 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Seek(-3, TSeekOrigin::soEnd), 2);
    EXPECT_EQ(s.Write("LL", 2), 2);  // overwrites in place
    EXPECT_EQ(s.Seek(-4, TSeekOrigin::soCurrent), 0);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 5);  // fewer than asked at the end
    EXPECT_STREQ(buffer, "heLLo");
    EXPECT_EQ(s.Read(buffer, 8), 0);

    s.SetPosition(8);  // past the end: writing fills the gap with zeros
    s.WriteBuffer("!", 1);
    EXPECT_EQ(s.Bytes(), std::string("heLLo\0\0\0!", 9));
    s.SetSize(2);  // the position follows a shrinking end
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.Bytes(), "he");
}

TEST(Streams, ShortTransfersRaiseTheStreamErrors) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buffer[4];
    try {
        s.ReadBuffer(buffer, 4);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Stream read error");
    }
    s.SetPosition(-1);  // a position before the start is kept; nothing moves there
    EXPECT_EQ(s.Position(), -1);
    EXPECT_EQ(s.Read(buffer, 1), 0);
    try {
        s.WriteBuffer("x", 1);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message, "Stream write error");
    }
    EXPECT_NO_THROW(s.ReadBuffer(buffer, 0));
    EXPECT_THROW(s.ReadBuffer(buffer, -1), EReadError);
}

// A stream that only moves a 64-bit position over a size it claims, to see the script views.
class TWideStream : public TStream {
public:
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
        int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? pos : size;
        return pos = base + offset;
    }
    void SetSize(int64_t newSize) override { size = newSize; }
    int64_t pos = 0, size = 0;
};

TEST(Streams, ScriptsSeeTheLow32BitsOfPositionAndSize) {
    struct Row {
        int64_t value;
        int32_t seen;
    };
    const Row rows[] = {
        {0, 0},
        {0x7FFFFFFF, 0x7FFFFFFF},
        {int64_t(1) << 31, INT32_MIN},  // 2^31 reads as -2147483648
        {(int64_t(1) << 32) + 5, 5},
        {-1, -1},
    };
    for (const auto& r : rows) {
        TWideStream s;
        s.SetPosition(r.value);
        s.SetSize(r.value);
        EXPECT_EQ(s.Position32(), r.seen) << r.value;
        EXPECT_EQ(s.Size32(), r.seen) << r.value;
    }
    TWideStream s;
    s.SetPosition32(-1);  // a written value is sign-extended
    EXPECT_EQ(s.Position(), -1);
    s.SetSize32(INT32_MIN);
    EXPECT_EQ(s.Size(), INT32_MIN);
    s.pos = 7;
    EXPECT_EQ(s.Size(), INT32_MIN);  // Size leaves the position where it was
    EXPECT_EQ(s.Position(), 7);
}

TEST(Streams, FileStreamModes) {
    test::TempDir dir;
    const std::string path = dir.Path("f.bin");
    {
        TFileStream create(path, fmCreate);
        create.WriteBuffer("0123456789", 10);
    }
    {
        TFileStream write(path, fmOpenWrite | fmShareExclusive);  // share flags are accepted
        EXPECT_EQ(write.Size(), 10);                              // opening for writing keeps the content
        write.SetPosition(2);
        write.WriteBuffer("ab", 2);
        char c;
        EXPECT_THROW(write.Read(&c, 1), EStreamError);  // not open for reading
    }
    {
        TFileStream read(path, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(ReadAll(read), "01ab456789");
        EXPECT_THROW(read.WriteBuffer("x", 1), EStreamError);
    }
    {
        TFileStream both(path, fmOpenReadWrite);
        both.SetSize(4);  // cuts the file; the position goes to the new end
        EXPECT_EQ(both.Position(), 4);
        both.WriteBuffer("Z", 1);
    }
    EXPECT_EQ(dir.Read("f.bin"), "01abZ");
    {
        TFileStream again(path, fmCreate);  // fmCreate empties an existing file
        EXPECT_EQ(again.Size(), 0);
    }
}

TEST(Streams, FileStreamFailuresNameTheFileAndTheReason) {
    test::TempDir dir;
    struct Row {
        std::string path;
        uint16_t mode;
        std::string message;
        bool createError;
    };
    const Row rows[] = {
        {dir.Path("missing"), fmOpenRead,
         "Cannot open file \"" + dir.Path("missing") + "\". No such file or directory", false},
        {dir.Path("no/such/folder/f"), fmCreate,
         "Cannot create file \"" + dir.Path("no/such/folder/f") + "\". No such file or directory", true},
        {dir.Root(), fmOpenRead, "Cannot open file \"" + dir.Root() + "\". Is a directory", false},
        {"", fmOpenRead, "Cannot open file \"\". Invalid argument", false},
    };
    for (const auto& r : rows) {
        try {
            TFileStream f(r.path, r.mode);
            ADD_FAILURE() << r.path;
        } catch (const EFCreateError& e) {
            EXPECT_TRUE(r.createError);
            EXPECT_EQ(e.Message, r.message);
        } catch (const EFOpenError& e) {
            EXPECT_FALSE(r.createError);
            EXPECT_EQ(e.Message, r.message);
        }
    }
}

TEST(Streams, HandleStreamUsesADescriptorItDoesNotOwn) {
    test::TempDir dir;
    int fd = ::open(dir.Write("h.txt", "abc").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        THandleStream s(fd);
        EXPECT_EQ(s.Handle(), fd);
        EXPECT_EQ(ReadAll(s), "abc");
    }
    EXPECT_EQ(::lseek(fd, 0, SEEK_SET), 0);  // still open after the stream went away
    ::close(fd);
}

TEST(Streams, CopyFromCopiesAPartOrTheWholeSource) {
    TStringStream source("abcdef");
    source.SetPosition(2);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 3), 3);
    EXPECT_EQ(target.Bytes(), "cde");
    EXPECT_EQ(target.CopyFrom(source, 0), 6);  // 0: the whole source from its start
    EXPECT_EQ(target.Bytes(), "cdeabcdef");
    source.SetPosition(5);
    EXPECT_THROW(target.CopyFrom(source, 2), EReadError);
}

TEST(Streams, MemoryStreamFilesAndStreams) {
    test::TempDir dir;
    TMemoryStream s;
    s.WriteBuffer("data\0more", 9);
    s.SaveToFile(dir.Path("m.bin"));
    EXPECT_EQ(dir.Read("m.bin"), std::string("data\0more", 9));

    TMemoryStream loaded;
    loaded.LoadFromFile(dir.Path("m.bin"));
    EXPECT_EQ(loaded.Bytes(), s.Bytes());
    loaded.Clear();
    EXPECT_EQ(loaded.Size(), 0);
    EXPECT_EQ(loaded.Position(), 0);
    s.SetPosition(4);
    loaded.LoadFromStream(s);  // the whole stream, whatever its position
    EXPECT_EQ(loaded.Size(), 9);
    EXPECT_THROW(loaded.LoadFromFile(dir.Path("none")), EFOpenError);
    EXPECT_THROW(loaded.SetSize(-1), EStreamError);
}

TEST(Streams, StringStreamHoldsTheTextInItsEncoding) {
    TStringStream ansi("åäö€");
    EXPECT_EQ(ansi.Size(), 4);
    std::string bytes(4, '\0');
    ansi.ReadBuffer(bytes.data(), 4);
    EXPECT_EQ(bytes, "\xE5\xE4\xF6\x80");
    ansi.SetPosition(4);
    ansi.WriteBuffer("!", 1);
    EXPECT_EQ(ansi.DataString(), "åäö€!");

    TStringStream utf8("åäö€", TextEncoding::Utf8);
    EXPECT_EQ(utf8.Size(), 9);
    EXPECT_EQ(utf8.DataString(), "åäö€");
}

TEST(Streams, StreamClassesAreKnownByNameAndBuildTheirOwnKind) {
    const TClassInfo& memory = FindClass("TMemoryStream");
    EXPECT_EQ(memory.Parent(), &TCustomMemoryStream::StaticClassInfo());
    TObject* built = memory.Construct();
    EXPECT_EQ(built->ClassName(), "TMemoryStream");
    EXPECT_TRUE(TStream::StaticClassInfo().IsInstance(built));
    delete built;
    EXPECT_EQ(FindClass("TFileStream").Parent(), &THandleStream::StaticClassInfo());
    EXPECT_EQ(FindClass("TStringStream").Parent(), &TStream::StaticClassInfo());

    TStream bare;  // the base leaves the transfer to its descendants
    char c;
    try {
        bare.Read(&c, 1);
        FAIL();
    } catch (const EAbstractError& e) {
        EXPECT_EQ(e.Message, kAbstractError);
    }
}

}  // namespace
}  // namespace tv
