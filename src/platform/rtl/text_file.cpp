#include "platform/rtl/text_file.h"

#include "platform/rtl/files.h"
#include "platform/rtl/streams.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {

void WriteFileBytes(std::string_view fileName, std::string_view bytes) {
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

namespace {

inline constexpr std::string_view kCannotOpenFile = "Cannot open file";
inline constexpr std::string_view kNotARegularFile = "It is not a regular file";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file";
inline constexpr std::string_view kCannotWriteFile = "Cannot write file";
inline constexpr std::string_view kCannotReplaceFile = "Cannot replace file";
inline constexpr std::string_view kReplacementPrefix = ".~tvsave.";
// As many links as the system itself follows in one name.
inline constexpr int kMaxLinks = 40;

// Owns a file descriptor and closes it once.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    // Closes now and answers close's result: some file systems report a failed write only here.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The target of one symbolic link, as the link holds it.
std::string ReadLink(const std::string& link, std::string_view fileName) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
        if (n < 0) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// The file a name stands for once its symbolic links are followed: replacing the link itself
// would cut it off from the file it points at. A link that leads to no file yet stands for the
// file it names.
std::string FollowLinks(const std::string& fileName) {
    std::string path = fileName;
    for (int links = 0;; ++links) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (links == kMaxLinks) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, ELOOP));
        const std::string target = ReadLink(path, fileName);
        path = !target.empty() && target.front() == PathDelim ? target : ExtractFilePath(path) + target;
    }
}

// Creates the new file under a name of its own in `folder`. `mode` is the creation mode, which
// the system narrows by the process's file-creation mask as for every new file.
int CreateBeside(const std::string& folder, mode_t mode, std::string& path) {
    static std::atomic<uint64_t> counter{0};
    const uint64_t seed = static_cast<uint64_t>(::getpid()) << 32 ^
                          static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const uint64_t unique = seed + counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL;
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(unique));
        path = folder + std::string(kReplacementPrefix) + suffix;
        // O_EXCL refuses an existing name, a symbolic link included.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// 0, or the error of the write that failed.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min<size_t>(bytes.size(), SSIZE_MAX));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// Makes the folder's entries (the rename just done) last across a power loss.
void SyncFolder(const std::string& folder, std::string_view fileName) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // A folder we may write to but not read cannot be opened to wait for; the file's own
        // content is on the disk already.
        if (errno == EACCES) return;
        throw EWriteError(FileErrorText(kCannotReplaceFile, fileName, errno));
    }
    TDescriptor descriptor(fd);
    // EINVAL: the file system keeps no folder data of its own to wait for.
    if (::fsync(fd) != 0 && errno != EINVAL)
        throw EWriteError(FileErrorText(kCannotReplaceFile, fileName, errno));
}

}  // namespace

std::string ReadFileBytes(std::string_view fileName) {
    if (fileName.empty() || fileName.find('\0') != std::string_view::npos)
        throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, EINVAL));
    // Opened without waiting, so that a pipe without a writer is answered at once: it, a socket or
    // a device (which may never end) is no file to read whole.
    const int fd = ::open(std::string(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, errno));
    TDescriptor descriptor(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0) throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, errno));
    if (S_ISDIR(st.st_mode)) throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, EISDIR));
    if (!S_ISREG(st.st_mode))
        throw EFOpenError(std::string(kCannotOpenFile) + " \"" + std::string(fileName) + "\". " +
                          std::string(kNotARegularFile));
    // A file reads as any other from here on: waiting where the system makes a reader wait.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw EFOpenError(FileErrorText(kCannotOpenFile, fileName, errno));
    THandleStream file(fd);
    return ReadStreamToEnd(file);
}

void WriteFileBytesReplacing(std::string_view fileName, std::string_view bytes, TReplaceSync sync) {
    CheckFileName(fileName);
    const std::string target = FollowLinks(std::string(fileName));
    const std::string folder = ExtractFilePath(target);
    struct stat st;
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    std::string temp;
    const int fd = CreateBeside(folder, replacing ? 0600 : 0666, temp);
    if (fd < 0) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
    TDescriptor descriptor(fd);
    try {
        int error = 0;
        if (replacing && ::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
        if (!error) error = WriteAll(fd, bytes);
        if (!error && sync == TReplaceSync::ToDisk && ::fsync(fd) != 0) error = errno;
        if (!error && descriptor.Close() != 0) error = errno;
        if (error) throw EWriteError(FileErrorText(kCannotWriteFile, fileName, error));
        MoveFileReplace(temp, target);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (sync == TReplaceSync::ToDisk) SyncFolder(folder, fileName);
}

std::string ReadTextFile(std::string_view fileName, TextEncoding* detected) {
    return DecodeTextBytes(ReadFileBytes(fileName), detected);
}

void WriteTextFile(std::string_view fileName, std::string_view text, TextEncoding encoding,
                   std::string_view lineEnd) {
    WriteFileBytes(fileName, EncodeTextBytes(NormalizeLineEnds(text, lineEnd), encoding));
}

}  // namespace tv
