#include "core/text_log.h"

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "platform/rtl/date_format.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

constexpr int kRotationAttempts = 3;
constexpr std::string_view kCannotOpenLog = "Cannot open file";
constexpr std::string_view kCannotWriteLog = "Cannot write file";

void WaitASecond() {
    std::this_thread::sleep_for(std::chrono::seconds(1));
}

// "a/log.txt" → "a/log 2024-05-31 120000.txt"
std::string RotatedName(std::string_view fileName, TDateTime now) {
    std::string ext = ExtractFileExt(fileName);
    return ChangeFileExt(fileName, " " + FormatDateTime("yyyy-mm-dd hhnnss", now) + ext);
}

void Rotate(std::string_view fileName, TDateTime (*clock)(), void (*waitASecond)()) {
    for (int attempt = 1;; ++attempt) {
        try {
            MoveFile(fileName, RotatedName(fileName, clock()));
            return;
        } catch (const EInOutError&) {
            // Another writer renamed it aside first: the name is free for a new file.
            if (!FileExists(fileName)) return;
            if (attempt == kRotationAttempts) throw;
        }
        waitASecond();
    }
}

// Appends the line in one write to a file opened for appending, so that lines of writers at once
// (threads or processes) follow each other instead of landing on the same place.
void AppendLine(std::string_view fileName, const std::string& line) {
    CheckFileName(fileName);
    const std::string name(fileName);
    const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw EInOutError(FileErrorText(kCannotOpenLog, fileName, errno));
    const char* data = line.data();
    size_t left = line.size();
    int error = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) throw EInOutError(FileErrorText(kCannotWriteLog, fileName, error));
}

}  // namespace

void WriteLog(std::string_view fileName, std::string_view text, bool withDate, bool withTime,
              TDateTime (*clock)(), void (*waitASecond)()) {
    if (FileExists(fileName) && FileSize(fileName) > kTextLogMaxSize) Rotate(fileName, clock, waitASecond);
    const TDateTime now = clock();
    std::string line;
    if (withDate) line += FormatDateTime("ddddd", now) + " ";
    if (withTime) line += FormatDateTime("hh:nn:ss.zzz", now) + " ";
    line += text;
    line += "\r\n";
    AppendLine(fileName, line);
}

void WriteLog(std::string_view fileName, std::string_view text, bool withDate, bool withTime) {
    WriteLog(fileName, text, withDate, withTime, Now, WaitASecond);
}

}  // namespace tv
