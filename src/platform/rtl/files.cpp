#include "platform/rtl/files.h"

#include "platform/rtl/exception.h"
#include "platform/rtl/file_mask.h"
#include "platform/rtl/text_compare.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {

inline constexpr std::string_view kInvalidFileName = "Invalid file name";
inline constexpr std::string_view kCannotCreateFolder = "Cannot create folder";
inline constexpr std::string_view kCannotDeleteFile = "Cannot delete file";
inline constexpr std::string_view kCannotRemoveFolder = "Cannot remove folder";
inline constexpr std::string_view kCannotChangeFolder = "Cannot change to folder";
inline constexpr std::string_view kCannotReadFileInfo = "Cannot read the file information of";
inline constexpr std::string_view kCannotCopyFile = "Cannot copy file";
inline constexpr std::string_view kCannotMoveFile = "Cannot move file";
inline constexpr std::string_view kCannotListFolder = "Cannot list folder";
inline constexpr std::string_view kCannotCreateTempFile = "Cannot create a temporary file in";
inline constexpr std::string_view kCannotFindProgram = "Cannot find the program's own file";

namespace {

[[noreturn]] void RaiseFileError(std::string_view action, std::string_view name, int errorCode,
                                 std::string_view target = {}) {
    throw EInOutError(FileErrorText(action, name, errorCode, target));
}

// Owns a file descriptor; closes it once.
struct TFd {
    int fd = -1;
    explicit TFd(int f) : fd(f) {}
    ~TFd() {
        if (fd >= 0) ::close(fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
};

int SystemRename(const char* from, const char* to, bool replace) {
    if (replace) return ::rename(from, to);
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot refuse by itself: look first, then rename.
    struct stat st;
    if (::lstat(to, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

TRenameCall gRenameCall = &SystemRename;

bool Stat(std::string_view name, struct stat& st) {
    return ::stat(std::string(name).c_str(), &st) == 0;
}

bool PathExists(const std::string& name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies into a new hidden file beside the target and renames it into place; returns 0 or an errno.
int CopyFileAtomically(const std::string& source, const std::string& target, bool overwrite) {
    TFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return errno;
    struct stat st;
    if (::fstat(in.fd, &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;

    std::string temp = ExtractFilePath(target) + ".~tvcopy.XXXXXX";
    TFd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.fd < 0) return errno;
    auto fail = [&](int error) {
        ::unlink(temp.c_str());
        return error;
    };
    auto buffer = std::make_unique<char[]>(1 << 17);
    for (;;) {
        ssize_t n = ::read(in.fd, buffer.get(), 1 << 17);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) break;
        if (!WriteAll(out.fd, buffer.get(), static_cast<size_t>(n))) return fail(errno);
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::fchmod(out.fd, st.st_mode & 07777) != 0 || ::futimens(out.fd, times) != 0) return fail(errno);
    if (::close(out.fd) != 0) {
        out.fd = -1;
        return fail(errno);
    }
    out.fd = -1;
    if (SystemRename(temp.c_str(), target.c_str(), overwrite) != 0) return fail(errno);
    return 0;
}

void Move(std::string_view source, std::string_view target, bool replace) {
    CheckFileName(source);
    CheckFileName(target);
    const std::string from(source), to(target);
    if (gRenameCall(from.c_str(), to.c_str(), replace) == 0) return;
    int error = errno;
    if (error != EXDEV) RaiseFileError(kCannotMoveFile, source, error, target);

    // Another file system: copy, then delete the source. A folder cannot move this way.
    if (DirectoryExists(source)) RaiseFileError(kCannotMoveFile, source, EXDEV, target);
    if (int copyError = CopyFileAtomically(from, to, replace))
        RaiseFileError(kCannotMoveFile, source, copyError, target);
    if (::unlink(from.c_str()) != 0) {
        error = errno;
        // Without replace the copy is ours alone: take it back so that nothing moved.
        if (!replace) ::unlink(to.c_str());
        RaiseFileError(kCannotMoveFile, source, error, target);
    }
}

std::string& ProgramFileOverride() {
    static std::string fileName;
    return fileName;
}

}  // namespace

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != PathDelim) out += PathDelim;
    return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    if (path.size() > 1 && path.back() == PathDelim) path.remove_suffix(1);
    return std::string(path);
}

std::string ExtractFilePath(std::string_view fileName) {
    size_t slash = fileName.rfind(PathDelim);
    return slash == std::string_view::npos ? std::string() : std::string(fileName.substr(0, slash + 1));
}

std::string ExtractFileDir(std::string_view fileName) {
    size_t slash = fileName.rfind(PathDelim);
    if (slash == std::string_view::npos) return {};
    return std::string(fileName.substr(0, slash == 0 ? 1 : slash));
}

std::string ExtractFileName(std::string_view fileName) {
    size_t slash = fileName.rfind(PathDelim);
    return std::string(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
    size_t pos = fileName.find_last_of("./");
    if (pos == std::string_view::npos || fileName[pos] != '.') return {};
    return std::string(fileName.substr(pos));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
    size_t pos = fileName.find_last_of("./");
    if (pos == std::string_view::npos || fileName[pos] != '.') pos = fileName.size();
    return std::string(fileName.substr(0, pos)) + std::string(extension);
}

std::string SysErrorMessage(int errorCode) {
    char buffer[256];
    return ::strerror_r(errorCode, buffer, sizeof buffer);
}

std::string FileErrorText(std::string_view action, std::string_view name, int errorCode,
                          std::string_view target) {
    std::string message(action);
    message += " \"" + std::string(name) + "\"";
    if (!target.empty()) message += " to \"" + std::string(target) + "\"";
    message += ". " + SysErrorMessage(errorCode);
    return message;
}

void CheckFileName(std::string_view fileName) {
    if (fileName.empty() || fileName.find('\0') != std::string_view::npos)
        throw EInOutError(std::string(kInvalidFileName) + " \"" + std::string(fileName) + "\"");
}

bool FileExists(std::string_view fileName) {
    struct stat st;
    return !fileName.empty() && Stat(fileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view folder) {
    struct stat st;
    return !folder.empty() && Stat(folder, st) && S_ISDIR(st.st_mode);
}

int64_t FileSize(std::string_view fileName) {
    CheckFileName(fileName);
    struct stat st;
    if (!Stat(fileName, st)) RaiseFileError(kCannotReadFileInfo, fileName, errno);
    if (S_ISDIR(st.st_mode)) RaiseFileError(kCannotReadFileInfo, fileName, EISDIR);
    return st.st_size;
}

std::chrono::system_clock::time_point FileModificationTime(std::string_view fileName) {
    CheckFileName(fileName);
    struct stat st;
    if (!Stat(fileName, st)) RaiseFileError(kCannotReadFileInfo, fileName, errno);
    auto sinceEpoch = std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch));
}

void ForceDirectories(std::string_view folder) {
    CheckFileName(folder);
    std::string path = ExcludeTrailingPathDelimiter(folder);
    if (DirectoryExists(path)) return;
    // Create each missing level from the top down.
    for (size_t pos = path.find(PathDelim, 1);; pos = path.find(PathDelim, pos + 1)) {
        std::string level = path.substr(0, pos);
        if (::mkdir(level.c_str(), 0777) != 0) {
            int error = errno;
            if (error != EEXIST) RaiseFileError(kCannotCreateFolder, folder, error);
            if (!DirectoryExists(level)) RaiseFileError(kCannotCreateFolder, folder, ENOTDIR);
        }
        if (pos == std::string::npos) break;
    }
}

void DeleteFile(std::string_view fileName) {
    CheckFileName(fileName);
    if (::unlink(std::string(fileName).c_str()) != 0) RaiseFileError(kCannotDeleteFile, fileName, errno);
}

void RemoveDir(std::string_view folder) {
    CheckFileName(folder);
    if (::rmdir(std::string(folder).c_str()) != 0) RaiseFileError(kCannotRemoveFolder, folder, errno);
}

std::string GetCurrentDir() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd) RaiseFileError(kCannotChangeFolder, ".", errno);
    return cwd.get();
}

void SetCurrentDir(std::string_view folder) {
    CheckFileName(folder);
    if (::chdir(std::string(folder).c_str()) != 0) RaiseFileError(kCannotChangeFolder, folder, errno);
}

void CopyFile(std::string_view source, std::string_view target, bool overwrite) {
    CheckFileName(source);
    CheckFileName(target);
    const std::string to(target);
    if (!overwrite && PathExists(to)) RaiseFileError(kCannotCopyFile, source, EEXIST, target);
    if (int error = CopyFileAtomically(std::string(source), to, overwrite))
        RaiseFileError(kCannotCopyFile, source, error, target);
}

void MoveFile(std::string_view source, std::string_view target) {
    Move(source, target, false);
}

void MoveFileReplace(std::string_view source, std::string_view target) {
    Move(source, target, true);
}

TRenameCall SetRenameCall(TRenameCall call) {
    TRenameCall previous = gRenameCall;
    gRenameCall = call ? call : &SystemRename;
    return previous;
}

std::vector<std::string> ListFolder(std::string_view folder, std::string_view mask, TListKind kind) {
    CheckFileName(folder);
    const std::string base = IncludeTrailingPathDelimiter(folder);
    struct TCloseDir {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, TCloseDir> dir(::opendir(base.c_str()));
    if (!dir) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        RaiseFileError(kCannotListFolder, folder, errno);
    }
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0) RaiseFileError(kCannotListFolder, folder, errno);
            break;
        }
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            isFolder = DirectoryExists(base + entry->d_name);
        if (kind == TListKind::All || (kind == TListKind::Folders) == isFolder) names.emplace_back(name);
    }
    return names;
}

std::optional<std::string> FindNameInFolder(std::string_view folder, std::string_view name) {
    CheckFileName(name);
    if (PathExists(IncludeTrailingPathDelimiter(folder) + std::string(name))) return std::string(name);
    for (const std::string& entry : ListFolder(folder, "*", TListKind::All))
        if (AnsiSameText(entry, name)) return entry;
    return std::nullopt;
}

std::string GetTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return IncludeTrailingPathDelimiter(tmp && *tmp ? tmp : "/tmp");
}

std::string CreateTempFile(std::string_view prefix, std::string_view folder) {
    const std::string base = folder.empty() ? GetTempFolder() : IncludeTrailingPathDelimiter(folder);
    CheckFileName(base);
    if (prefix.find(PathDelim) != std::string_view::npos || prefix.find('\0') != std::string_view::npos)
        throw EInOutError(std::string(kInvalidFileName) + " \"" + std::string(prefix) + "\"");
    std::string path = base + std::string(prefix) + "XXXXXX";
    int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) RaiseFileError(kCannotCreateTempFile, base, errno);
    ::close(fd);
    return path;
}

std::string ProgramFileName() {
    if (!ProgramFileOverride().empty()) return ProgramFileOverride();
    static const std::string real = [] {
        std::string buffer(4096, '\0');
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) RaiseFileError(kCannotFindProgram, "/proc/self/exe", errno);
        if (n == 0 || static_cast<size_t>(n) >= buffer.size())
            RaiseFileError(kCannotFindProgram, "/proc/self/exe", ENAMETOOLONG);
        buffer.resize(static_cast<size_t>(n));
        return buffer;
    }();
    return real;
}

std::string ProgramFolder() {
    return ExtractFilePath(ProgramFileName());
}

void SetProgramFileName(std::string fileName) {
    ProgramFileOverride() = std::move(fileName);
}

}  // namespace tv
