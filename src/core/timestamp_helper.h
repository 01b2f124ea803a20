#pragma once
// The store of named time stamps, "timestamps.xml": a root "quorvelprefs" with one element per
// name whose text is the time as a number of days (the process's number format). Job scripts keep
// the time of their last export there (GetTimestampByName / SaveTimestampByName of the central
// data module).

#include <string>
#include <string_view>

#include "platform/rtl/date_time.h"

namespace tv {

inline constexpr std::string_view kTimestampRoot = "quorvelprefs";

class TTimestampHelper {
public:
    // The time stored under `title` (letter case counts), or `defValue` when the file, the name or
    // a number is missing or the file cannot be read (the reason is logged at debug level). A
    // stored time may have "," or "." as its decimal mark, whatever the process's format.
    static TDateTime GetLastTimeStamp(const std::string& fileName, std::string_view title,
                                      TDateTime defValue);
    // Stores `aValue` under `title`. A name already holding the same text is left alone; one holding
    // another value gets `aValue` plus 1.5 seconds. Raises when the file cannot be read or written or
    // the name is no XML element name.
    static void SaveTimeStamp(const std::string& fileName, std::string_view title, TDateTime aValue);
    // Writes a new file holding only the empty root.
    static void CreateNewFile(const std::string& fileName);
};

}  // namespace tv
