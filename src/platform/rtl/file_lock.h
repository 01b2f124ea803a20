#pragma once
// An exclusive lock on a file that is replaced whole (written beside it and renamed over it), held
// while one process reads it, changes it and replaces it, so that two processes sharing the file
// never both act on what they read before the other's change.

#include <chrono>
#include <string>
#include <string_view>

namespace tv {

class TReplacedFileLock {
public:
    // Locks the file the name stands for, creating it empty when it does not exist. Waits at most
    // `patience` for another holder; a lock that cannot be had raises EInOutError naming the file.
    explicit TReplacedFileLock(std::string_view fileName,
                               std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~TReplacedFileLock();
    TReplacedFileLock(const TReplacedFileLock&) = delete;
    TReplacedFileLock& operator=(const TReplacedFileLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace tv
