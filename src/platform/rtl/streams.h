#pragma once
// Streams of bytes as the class library has them: TStream with Read/Write/Seek, the buffer forms
// that raise on a short transfer, CopyFrom, and Position/Size (64-bit, with the 32-bit views that
// scripts see); streams over a file descriptor or a named file, in memory, and over a text.

#include "platform/rtl/codepage.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

TV_DECLARE_EXCEPTION(EReadError, EStreamError);
TV_DECLARE_EXCEPTION(EWriteError, EStreamError);

inline constexpr std::string_view kReadError = "Stream read error";
inline constexpr std::string_view kWriteError = "Stream write error";
// What a member raises that a class leaves to its descendants (EAbstractError).
inline constexpr std::string_view kAbstractError = "Abstract Error";

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };
TV_ENUM_INFO(TSeekOrigin, "soBeginning", "soCurrent", "soEnd");

// TFileStream modes. The share flags are accepted and ignored: Linux has no share modes.
inline constexpr uint16_t fmCreate = 0xFFFF;
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream : public TObject {
    TV_CLASS(TStream, TObject)
public:
    TStream() = default;
    // Moves up to `count` bytes and returns how many moved (0 at the end, or for a negative count).
    virtual int64_t Read(void* buffer, int64_t count);
    virtual int64_t Write(const void* buffer, int64_t count);
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin);
    // Exactly `count` bytes or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies `count` bytes from the source's position; a count of 0 or less copies the whole
    // source from its start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    int64_t Size() { return GetSize(); }
    virtual void SetSize(int64_t newSize);

    // What scripts see: the low 32 bits as a signed number; a written value is sign-extended.
    int32_t Position32() { return static_cast<int32_t>(static_cast<uint32_t>(Position())); }
    void SetPosition32(int32_t position) { SetPosition(position); }
    int32_t Size32() { return static_cast<int32_t>(static_cast<uint32_t>(Size())); }
    void SetSize32(int32_t size) { SetSize(size); }

protected:
    virtual int64_t GetSize();
};

// A stream over a file descriptor that someone else owns.
class THandleStream : public TStream {
    TV_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int handle) : handle_(handle) {}
    int Handle() const { return handle_; }

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Cuts or extends the file and places the position at the new end.
    void SetSize(int64_t newSize) override;

protected:
    int handle_;
};

// A stream over a named file, which it opens and closes. fmCreate creates or empties the file;
// fmOpenRead/Write/ReadWrite open an existing one. Failures raise EFCreateError or EFOpenError
// with the file name and the system's text.
class TFileStream : public THandleStream {
    TV_CLASS(TFileStream, THandleStream)
public:
    TFileStream(std::string_view fileName, uint16_t mode);
    ~TFileStream() override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Bytes in memory and a position: what the memory and string streams share. The position may lie
// anywhere, even before the start or past the end; reading there gives nothing, writing past the
// end fills the gap with zeros.
class TStreamBytes {
public:
    int64_t Read(void* buffer, int64_t count);
    int64_t Write(const void* buffer, int64_t count);
    int64_t Seek(int64_t offset, TSeekOrigin origin);
    // Keeps the position unless it lies past the new end, where it moves to the end.
    void SetSize(int64_t newSize);
    int64_t Size() const { return static_cast<int64_t>(bytes.size()); }

    std::string bytes;
    int64_t position = 0;
};

class TCustomMemoryStream : public TStream {
    TV_CLASS(TCustomMemoryStream, TStream)
public:
    int64_t Read(void* buffer, int64_t count) override { return data_.Read(buffer, count); }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return data_.Seek(offset, origin); }
    // The bytes, valid until the next change of size.
    char* Memory() { return data_.bytes.data(); }
    std::string_view Bytes() const { return data_.bytes; }
    void SaveToStream(TStream& stream);
    void SaveToFile(std::string_view fileName);

protected:
    int64_t GetSize() override { return data_.Size(); }
    TStreamBytes data_;
};

class TMemoryStream : public TCustomMemoryStream {
    TV_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    int64_t Write(const void* buffer, int64_t count) override { return data_.Write(buffer, count); }
    void SetSize(int64_t newSize) override { data_.SetSize(newSize); }
    void Clear();
    // Replaces the content with the whole of `stream`, read from its start.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(std::string_view fileName);
};

// A stream over the bytes of a text in an encoding (Windows-1252 unless named), from which the
// text can be taken back.
class TStringStream : public TStream {
    TV_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(std::string_view text = {}, TextEncoding encoding = TextEncoding::Ansi);
    int64_t Read(void* buffer, int64_t count) override { return data_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override { return data_.Write(buffer, count); }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return data_.Seek(offset, origin); }
    void SetSize(int64_t newSize) override { data_.SetSize(newSize); }
    // The whole content as UTF-8 text.
    std::string DataString() const;

protected:
    int64_t GetSize() override { return data_.Size(); }

private:
    TStreamBytes data_;
    TextEncoding encoding_;
};

// The bytes from the stream's position to its end, read until the stream has no more (the size
// is not trusted: a file may grow while it is read).
std::string ReadStreamToEnd(TStream& stream);

}  // namespace tv
