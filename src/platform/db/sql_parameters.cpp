#include "platform/db/sql_parameters.h"

#include "platform/rtl/ascii_case.h"

namespace tv {

namespace {

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           u >= 0x80;
}

// Copies a literal or comment that begins at `pos` and answers the position after it.
size_t SkipQuoted(std::string_view sql, size_t pos, char close, std::string& out) {
    out += sql[pos++];
    while (pos < sql.size()) {
        out += sql[pos];
        if (sql[pos++] == close) {
            if (close != ']' && pos < sql.size() && sql[pos] == close) {  // a doubled quote
                out += sql[pos++];
                continue;
            }
            break;
        }
    }
    return pos;
}

}  // namespace

TParsedSql ParseSqlParameters(std::string_view sql) {
    TParsedSql parsed;
    std::string& out = parsed.text;
    out.reserve(sql.size());
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '`') {
            i = SkipQuoted(sql, i, c, out);
        } else if (c == '[') {
            i = SkipQuoted(sql, i, ']', out);
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const size_t end = sql.find('\n', i);
            const size_t stop = end == std::string_view::npos ? sql.size() : end;
            out.append(sql.substr(i, stop - i));
            i = stop;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const size_t end = sql.find("*/", i + 2);
            const size_t stop = end == std::string_view::npos ? sql.size() : end + 2;
            out.append(sql.substr(i, stop - i));
            i = stop;
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            out += "::";
            i += 2;
        } else if (c == ':' && i + 1 < sql.size() && IsNameChar(sql[i + 1])) {
            size_t end = i + 1;
            while (end < sql.size() && IsNameChar(sql[end])) ++end;
            const std::string_view name = sql.substr(i + 1, end - i - 1);
            size_t index = 0;
            while (index < parsed.names.size() && !SameTextAscii(parsed.names[index], name)) ++index;
            if (index == parsed.names.size()) parsed.names.emplace_back(name);
            out += '?';
            out += std::to_string(index + 1);
            i = end;
        } else {
            const bool foreign =
                c == '?' || ((c == '@' || c == '$') && i + 1 < sql.size() && IsNameChar(sql[i + 1]));
            if (foreign && parsed.foreignParameter.empty()) {
                size_t end = i + 1;
                while (end < sql.size() && IsNameChar(sql[end])) ++end;
                parsed.foreignParameter = std::string(sql.substr(i, end - i));
            }
            out += c;
            ++i;
        }
    }
    return parsed;
}

}  // namespace tv
