#include "platform/rtl/file_lock.h"

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

inline constexpr std::string_view kCannotLockFile = "Cannot lock file";
inline constexpr std::string_view kLockedByAnother = "Another process has held it too long";
inline constexpr auto kRetryPause = std::chrono::milliseconds(5);

int OpenForLock(const std::string& name) {
    // Write access is not needed to replace a file, only to its folder: a file we may only read
    // is locked through a read-only descriptor.
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

// The name still stands for the file the descriptor holds: nobody replaced it meanwhile.
bool StillNamed(int fd, const std::string& name) {
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::stat(name.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

TReplacedFileLock::TReplacedFileLock(std::string_view fileName, std::chrono::milliseconds patience) {
    CheckFileName(fileName);
    const std::string name(fileName);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const int fd = OpenForLock(name);
        if (fd < 0) throw EInOutError(FileErrorText(kCannotLockFile, fileName, errno));
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // A holder that replaced the file locked the old one: the lock must be on the new one.
            if (StillNamed(fd, name)) {
                fd_ = fd;
                return;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            throw EInOutError(FileErrorText(kCannotLockFile, fileName, error));
        if (std::chrono::steady_clock::now() >= deadline)
            throw EInOutError(std::string(kCannotLockFile) + " \"" + name + "\". " +
                              std::string(kLockedByAnother));
        std::this_thread::sleep_for(kRetryPause);
    }
}

TReplacedFileLock::~TReplacedFileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor of the file lets the lock go
}

}  // namespace tv
