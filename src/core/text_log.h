#pragma once
// A plain log file written a line at a time, as the rule editor keeps one: UTF-8 lines ended by
// CR LF, the file renamed aside once it has grown past 8 MiB.

#include <string_view>

#include "platform/rtl/date_time.h"

namespace tv {

inline constexpr int64_t kTextLogMaxSize = 8388608;

// Appends `text` to `fileName` (creating it), after the date ("ddddd") and a blank with
// `withDate`, and the time ("hh:nn:ss.zzz") and a blank with `withTime`. A file larger than
// kTextLogMaxSize is first renamed to its name with the extension replaced by a blank, the time
// as "yyyy-mm-dd hhnnss" and the old extension; when that name is taken the rename is tried again
// a few times as the clock moves on, and then the failure raises; a file another writer renamed
// aside meanwhile is simply started anew. Each line is appended in one write, so the lines of
// several writers at once never land on each other.
void WriteLog(std::string_view fileName, std::string_view text, bool withDate, bool withTime);
// The same with the clock and the wait between rename attempts given (tests).
void WriteLog(std::string_view fileName, std::string_view text, bool withDate, bool withTime,
              TDateTime (*clock)(), void (*waitASecond)());

}  // namespace tv
