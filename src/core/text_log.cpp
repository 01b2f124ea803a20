#include "core/text_log.h"

#include <chrono>
#include <string>
#include <thread>

#include "platform/rtl/date_format.h"
#include "platform/rtl/files.h"
#include "platform/rtl/streams.h"

namespace tv {
namespace {

constexpr int kRotationAttempts = 3;

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
            if (attempt == kRotationAttempts) throw;
        }
        waitASecond();
    }
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
    TFileStream file(fileName, FileExists(fileName) ? fmOpenWrite : fmCreate);
    file.Seek(0, soEnd);
    file.WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
}

void WriteLog(std::string_view fileName, std::string_view text, bool withDate, bool withTime) {
    WriteLog(fileName, text, withDate, withTime, Now, WaitASecond);
}

}  // namespace tv
