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

namespace {

// A new content written beside the file it will replace.
struct TReplacement {
    std::string target;  // the file replaced, its links followed
    std::string folder;  // the target's folder, with a delimiter ("" for the current one)
    std::string temp;    // where the new content waits
};

// Writes the pieces to a new file beside `fileName`, with the mode of the file it replaces; with
// `toDisk` waits until they are on the disk. On failure nothing is left behind.
TReplacement WriteBeside(std::string_view fileName, const TBytePieces& pieces, bool toDisk) {
    CheckFileName(fileName);
    TReplacement r;
    r.target = FollowLinks(std::string(fileName));
    r.folder = ExtractFilePath(r.target);
    struct stat st;
    const bool replacing = ::stat(r.target.c_str(), &st) == 0;
    const int fd = CreateBeside(r.folder, replacing ? 0600 : 0666, r.temp);
    if (fd < 0) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
    TDescriptor descriptor(fd);
    int error = 0;
    if (replacing && ::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
    if (!error) {
        try {
            pieces([&](std::string_view piece) {
                if (!error) error = WriteAll(fd, piece);
            });
        } catch (...) {
            ::unlink(r.temp.c_str());
            throw;
        }
    }
    if (!error && toDisk && ::fsync(fd) != 0) error = errno;
    // Otherwise the disk starts on the bytes now, so that the group's one wait finds less to do.
    if (!error && !toDisk) ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    if (!error && descriptor.Close() != 0) error = errno;
    if (error) {
        ::unlink(r.temp.c_str());
        throw EWriteError(FileErrorText(kCannotWriteFile, fileName, error));
    }
    return r;
}

void PutInPlace(const TReplacement& r) {
    try {
        MoveFileReplace(r.temp, r.target);
    } catch (...) {
        ::unlink(r.temp.c_str());
        throw;
    }
}

// The pieces of a content held whole: itself.
TBytePieces Whole(std::string_view bytes) {
    return [bytes](const TBytePieceSink& put) { put(bytes); };
}

}  // namespace

void WriteFileBytesReplacing(std::string_view fileName, std::string_view bytes, TReplaceSync sync) {
    WriteFileBytesReplacing(fileName, Whole(bytes), sync);
}

void WriteFileBytesReplacing(std::string_view fileName, const TBytePieces& pieces, TReplaceSync sync) {
    const TReplacement r = WriteBeside(fileName, pieces, sync == TReplaceSync::ToDisk);
    PutInPlace(r);
    if (sync == TReplaceSync::ToDisk) SyncFolder(r.folder, fileName);
}

TFileReplaceGroup::~TFileReplaceGroup() {
    for (const auto& file : files_) ::unlink(file.temp.c_str());
    for (const auto& device : devices_) ::close(device.second);
}

void TFileReplaceGroup::Write(std::string_view fileName, std::string_view bytes) {
    Write(fileName, Whole(bytes));
}

void TFileReplaceGroup::Write(std::string_view fileName, const TBytePieces& pieces) {
    // The folder of each file system written to is opened before its first file is written, so that
    // the one wait at Commit hears of every write that failed after it.
    const std::string folder = ExtractFilePath(FollowLinks(std::string(fileName)));
    struct stat st;
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0)
        throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
    if (std::none_of(devices_.begin(), devices_.end(), [&](const auto& d) { return d.first == static_cast<uint64_t>(st.st_dev); })) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) throw EFCreateError(FileErrorText(kCannotCreateFile, fileName, errno));
        devices_.emplace_back(static_cast<uint64_t>(st.st_dev), fd);
    }
    TReplacement r = WriteBeside(fileName, pieces, false);
    files_.push_back({std::move(r.target), std::move(r.folder), std::move(r.temp), std::string(fileName)});
}

void TFileReplaceGroup::Commit() {
    // One wait per file system for every file's content, where a wait per file would cost as much
    // as the writing itself many times over.
    for (const auto& [device, fd] : devices_)
        if (::syncfs(fd) != 0) throw EWriteError(FileErrorText(kCannotWriteFile, files_.front().name, errno));
    std::vector<std::string> folders;
    size_t done = 0;
    try {
        for (; done < files_.size(); ++done) {
            const TPending& file = files_[done];
            PutInPlace({file.target, file.folder, file.temp});
            if (std::find(folders.begin(), folders.end(), file.folder) == folders.end())
                folders.push_back(file.folder);
        }
    } catch (...) {
        // The file that failed lost its temporary file; those after it are removed with the group.
        files_.erase(files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(done + 1));
        throw;
    }
    files_.clear();
    for (const std::string& folder : folders) SyncFolder(folder, folder);
}

std::string ReadTextFile(std::string_view fileName, TextEncoding* detected) {
    return DecodeTextBytes(ReadFileBytes(fileName), detected);
}

void WriteTextFile(std::string_view fileName, std::string_view text, TextEncoding encoding,
                   std::string_view lineEnd) {
    WriteFileBytes(fileName, EncodeTextBytes(NormalizeLineEnds(text, lineEnd), encoding));
}

}  // namespace tv
