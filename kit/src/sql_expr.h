#pragma once
// How the company database orders and compares key values. The generator writes the indexes with
// these expressions and the kit queries with the very same text, so SQLite uses the indexes.
// Text keys compare case-insensitively with trailing blanks ignored: the expression upper-cases
// ASCII with upper() and the letters of kKeyFoldPairs (platform/rtl/key_fold.h) with replace(),
// using only SQLite's built-in functions, so every connection to the file can read and write it.

#include <string>
#include <string_view>

#include "platform/rtl/key_fold.h"

namespace tv::kit {

enum class KeyKind { Text, Number, Flag, DateText, StampNumber };

// The expression a key column is ordered and compared by. Unset values order first.
inline std::string KeyExpression(std::string_view column, KeyKind kind, bool neverNull = false) {
    std::string col = "\"" + std::string(column) + "\"";
    switch (kind) {
        case KeyKind::Text: {
            std::string e = col;
            for (const auto& pair : kKeyFoldPairs)
                e = "replace(" + e + ",'" + std::string(pair[0]) + "','" + std::string(pair[1]) + "')";
            return "ifnull(rtrim(upper(" + e + "),' '),'')";
        }
        case KeyKind::Number:
        case KeyKind::StampNumber:
            return neverNull ? col : "ifnull(" + col + ",-1e308)";
        case KeyKind::Flag:
            return "ifnull(" + col + ",0)";
        case KeyKind::DateText:
            return "ifnull(" + col + ",'')";
    }
    return col;
}

}  // namespace tv::kit
