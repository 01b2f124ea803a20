#pragma once
// The small text helpers the settings store, the jobs and the engines share: tokens, quoting, C-style
// escaping (one record per line in the text tables), names safe for files, characters stripped
// from a text, and blocks of lines for scripts.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/string_list.h"

namespace tv {

// Token number `index` (from 0) of `text` split at every character of `separators`; consecutive
// separators give empty tokens; an index past the last token gives "".
std::string ExtractToken(std::string_view text, std::string_view separators, int index);

// Codes 7-13 and 27 as "\a \b \t \n \v \f \r \e", '"' as "\"" and '\' as "\\"; the rest unchanged.
std::string EscapeCString(std::string_view text);
// The inverse in one pass; a backslash before any other character stays as it is. Every text
// EscapeCString writes comes back exactly, a character of code 1 included.
std::string UnescapeCString(std::string_view text);

// `text` in single quotes, a quote inside it doubled: "it's" gives "'it''s'".
std::string QuotedStr(std::string_view text);

// `text` without ":", '"', "/", "\", "?", "<", ">", "|", "*" and the characters of code 0 to 31.
std::string MakeSafeFileName(std::string_view text);

// The text without the characters (codes up to 255) in the set; `set` is indexed by code.
std::string StripCharsInSet(std::string_view text, const std::array<bool, 256>& set);
// Without the control characters but line feed and carriage return, and without code 127: the
// characters an XML document cannot carry, which the export leaves out of a refused value.
std::string StripCharsInSet2(std::string_view text);

inline constexpr std::string_view kGetChunkFailed = "GetChunk : [%s] ";

// Lines chunkno × size to chunkno × size + size - 1 of `source` (fewer at its end; none when size
// is 0 or less, or chunkno is negative). A failure is logged at fatal level with kGetChunkFailed
// and the lines gathered so far are returned.
std::unique_ptr<TStringList> GetChunk(const TStrings& source, int chunkno, int size);

}  // namespace tv
