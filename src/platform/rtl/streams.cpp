#include "platform/rtl/streams.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {

inline constexpr std::string_view kCannotCreateFile = "Cannot create file";
inline constexpr std::string_view kCannotOpenFile = "Cannot open file";
inline constexpr std::string_view kSeekError = "Stream seek error";
inline constexpr std::string_view kSizeError = "Stream size error";
inline constexpr std::string_view kMemoryStreamError = "Out of memory while expanding memory stream";

// A memory stream holds at most what a 32-bit position can reach, as on the original platform.
inline constexpr int64_t kMaxMemoryStreamSize = INT32_MAX;

namespace {

[[noreturn]] void RaiseStreamError(std::string_view what, int errorCode) {
    throw EStreamError(std::string(what) + ". " + SysErrorMessage(errorCode));
}

int Whence(TSeekOrigin origin) {
    switch (origin) {
        case TSeekOrigin::soBeginning:
            return SEEK_SET;
        case TSeekOrigin::soCurrent:
            return SEEK_CUR;
        case TSeekOrigin::soEnd:
            return SEEK_END;
    }
    return SEEK_SET;
}

}  // namespace

// ---- TStream ----

const TClassInfo& TStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStream>("TStream").Build();
    return info;
}

const TClassInfo& THandleStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<THandleStream>("THandleStream").Build();
    return info;
}

const TClassInfo& TFileStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFileStream>("TFileStream").Build();
    return info;
}

const TClassInfo& TCustomMemoryStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomMemoryStream>("TCustomMemoryStream").Build();
    return info;
}

const TClassInfo& TMemoryStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMemoryStream>("TMemoryStream").Build();
    return info;
}

const TClassInfo& TStringStream::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStringStream>("TStringStream").Build();
    return info;
}

int64_t TStream::Read(void*, int64_t) {
    throw EAbstractError(std::string(kAbstractError));
}
int64_t TStream::Write(const void*, int64_t) {
    throw EAbstractError(std::string(kAbstractError));
}
int64_t TStream::Seek(int64_t, TSeekOrigin) {
    throw EAbstractError(std::string(kAbstractError));
}
void TStream::SetSize(int64_t) {
    throw EAbstractError(std::string(kAbstractError));
}

int64_t TStream::GetSize() {
    int64_t position = Seek(0, TSeekOrigin::soCurrent);
    int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(std::string(kReadError));
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(std::string(kWriteError));
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr int64_t kChunk = 1 << 16;
    auto buffer = std::make_unique<char[]>(kChunk);
    for (int64_t left = count; left > 0;) {
        int64_t n = std::min(left, kChunk);
        source.ReadBuffer(buffer.get(), n);
        WriteBuffer(buffer.get(), n);
        left -= n;
    }
    return count;
}

std::string ReadStreamToEnd(TStream& stream) {
    std::string bytes;
    constexpr size_t kChunk = 1 << 16;
    for (;;) {
        size_t used = bytes.size();
        bytes.resize(used + kChunk);
        int64_t n = stream.Read(bytes.data() + used, kChunk);
        bytes.resize(used + static_cast<size_t>(n));
        if (n == 0) return bytes;
    }
}

// ---- THandleStream, TFileStream ----

int64_t THandleStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n =
            ::read(handle_, out + done, static_cast<size_t>(std::min<int64_t>(count - done, SSIZE_MAX)));
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseStreamError(kReadError, errno);
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n =
            ::write(handle_, in + done, static_cast<size_t>(std::min<int64_t>(count - done, SSIZE_MAX)));
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseStreamError(kWriteError, errno);
        }
        done += n;
    }
    return done;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    off_t position = ::lseek(handle_, offset, Whence(origin));
    if (position < 0) RaiseStreamError(kSeekError, errno);
    return position;
}

void THandleStream::SetSize(int64_t newSize) {
    Seek(newSize, TSeekOrigin::soBeginning);
    if (::ftruncate(handle_, newSize) != 0) RaiseStreamError(kSizeError, errno);
}

TFileStream::TFileStream(std::string_view fileName, uint16_t mode) : THandleStream(-1), fileName_(fileName) {
    const bool create = (mode & 0xFF00) == 0xFF00;
    if (fileName.empty() || fileName.find('\0') != std::string_view::npos) {
        if (create) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, EINVAL));
        throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, EINVAL));
    }
    if (create) {
        handle_ = ::open(fileName_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (handle_ < 0) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
        return;
    }
    int access;
    switch (mode & 0x3) {
        case fmOpenRead:
            access = O_RDONLY;
            break;
        case fmOpenWrite:
            access = O_WRONLY;
            break;
        case fmOpenReadWrite:
            access = O_RDWR;
            break;
        default:
            throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, EINVAL));
    }
    handle_ = ::open(fileName_.c_str(), access | O_CLOEXEC);
    if (handle_ < 0) throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, errno));
    struct stat st;
    if (::fstat(handle_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(handle_);
        throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, EISDIR));
    }
}

TFileStream::~TFileStream() {
    if (handle_ >= 0) ::close(handle_);
}

// ---- in memory ----

int64_t TStreamBytes::Read(void* buffer, int64_t count) {
    if (position < 0 || count <= 0 || position >= Size()) return 0;
    int64_t n = std::min(count, Size() - position);
    std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(n));
    position += n;
    return n;
}

int64_t TStreamBytes::Write(const void* buffer, int64_t count) {
    if (position < 0 || count <= 0) return 0;
    if (count > kMaxMemoryStreamSize - position) throw EStreamError(std::string(kMemoryStreamError));
    int64_t end = position + count;
    if (end > Size()) bytes.resize(static_cast<size_t>(end));
    std::memcpy(bytes.data() + position, buffer, static_cast<size_t>(count));
    position = end;
    return count;
}

int64_t TStreamBytes::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                   : origin == TSeekOrigin::soCurrent ? position
                                                      : Size();
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target)) throw EStreamError(std::string(kSeekError));
    return position = target;
}

void TStreamBytes::SetSize(int64_t newSize) {
    if (newSize < 0 || newSize > kMaxMemoryStreamSize) throw EStreamError(std::string(kMemoryStreamError));
    bytes.resize(static_cast<size_t>(newSize));
    if (position > newSize) position = newSize;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    stream.WriteBuffer(data_.bytes.data(), data_.Size());
}

void TCustomMemoryStream::SaveToFile(std::string_view fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TMemoryStream::Clear() {
    data_.bytes.clear();
    data_.position = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    int64_t count = stream.Size();
    SetSize(count);
    stream.ReadBuffer(data_.bytes.data(), count);
}

void TMemoryStream::LoadFromFile(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

TStringStream::TStringStream(std::string_view text, TextEncoding encoding) : encoding_(encoding) {
    data_.bytes = EncodeTextBytes(text, encoding);
}

std::string TStringStream::DataString() const {
    return encoding_ == TextEncoding::Ansi ? Cp1252ToUtf8(data_.bytes) : DecodeTextBytes(data_.bytes);
}

}  // namespace tv
