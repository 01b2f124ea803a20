#include "adk/connection_strings.h"

#include "platform/db/connection_string.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/files.h"

#include <vector>

namespace tv {

namespace {

constexpr std::string_view kExtendedProperties = "Extended Properties";
constexpr std::string_view kSourceDB = "SourceDB";
constexpr std::string_view kMask = "***";

bool StartsWithKey(std::string_view text, size_t at, std::string_view key) {
    if (at + key.size() + 1 > text.size() || text[at + key.size()] != '=') return false;
    return SameTextAscii(text.substr(at, key.size()), key);
}

// Where the value of the first "key=" outside quoted values begins, or npos.
size_t FindValue(std::string_view text, std::string_view key) {
    if (key.empty()) return std::string_view::npos;
    const auto pairs = ScanConnectionString(text);
    for (size_t at = 0; at + key.size() < text.size(); ++at) {
        bool insideQuotes = false;
        for (const auto& pair : pairs)
            if (pair.quoted && at >= pair.valueBegin && at < pair.valueEnd) insideQuotes = true;
        if (!insideQuotes && StartsWithKey(text, at, key)) return at + key.size() + 1;
    }
    return std::string_view::npos;
}

// Where the value that begins at `begin` ends: the next ";" or the end, after a closing quote when
// the value is quoted.
size_t ValueEnd(std::string_view text, size_t begin) {
    for (const auto& pair : ScanConnectionString(text))
        if (pair.quoted && pair.valueBegin <= begin && begin < pair.valueEnd) return pair.valueEnd;
    const size_t end = text.find(';', begin);
    return end == std::string_view::npos ? text.size() : end;
}

// The text of the value of `key` as found by FindValue, or nothing.
bool ValueText(std::string_view text, std::string_view key, std::string& value) {
    const size_t begin = FindValue(text, key);
    if (begin == std::string_view::npos) return false;
    const size_t end = ValueEnd(text, begin);
    TConnectionStringPair pair{0, 0, begin, end, false};
    for (const auto& scanned : ScanConnectionString(text))
        if (scanned.valueBegin == begin) pair.quoted = scanned.quoted;
    value = ConnectionStringValueText(text, pair);
    return true;
}

std::string Replace(std::string_view text, size_t begin, size_t end, std::string_view written) {
    std::string result(text.substr(0, begin));
    result += written;
    result += text.substr(end);
    return result;
}

}  // namespace

std::string SetConnectionStringValue(std::string_view connectionString, std::string_view key,
                                     std::string_view value) {
    const size_t begin = FindValue(connectionString, key);
    if (begin == std::string_view::npos) return std::string(connectionString);
    return Replace(connectionString, begin, ValueEnd(connectionString, begin),
                   QuoteConnectionStringValue(value));
}

std::string MakeSQLServerConnectionString(std::string_view connectionString, std::string_view server,
                                          std::string_view database, bool windowsAuthentication,
                                          std::string_view password, std::string_view user) {
    std::string result(connectionString.empty()
                           ? (windowsAuthentication ? kSqlServerWindowsTemplate : kSqlServerPasswordTemplate)
                           : connectionString);
    result = SetConnectionStringValue(result, "Source", server);
    result = SetConnectionStringValue(result, "Initial Catalog", database);
    if (!windowsAuthentication) {
        result = SetConnectionStringValue(result, "User ID", user);
        result = SetConnectionStringValue(result, "Password", password);
    }
    return result;
}

std::string MakeCompanyConnectionString(std::string_view connectionString, std::string_view path, int mode) {
    std::string result(connectionString);
    if (result.empty()) {
        if (mode == 0) result = kVfpConnectionTemplate;
        if (mode == 1) result = kOdbcConnectionTemplate;
        if (mode == 2) result = kSqlServerWindowsTemplate;
    }
    switch (mode) {
        case 0:
            return SetConnectionStringValue(result, "Data Source", path);
        case 1: {
            // The ODBC source takes the folder inside its quoted "Extended Properties".
            std::string inner;
            if (FindValue(result, kSourceDB) == std::string_view::npos &&
                ValueText(result, kExtendedProperties, inner))
                return SetConnectionStringValue(result, kExtendedProperties,
                                                SetConnectionStringValue(inner, kSourceDB, path));
            return SetConnectionStringValue(result, kSourceDB, path);
        }
        case 2: {
            const TIniFile ini(IncludeTrailingPathDelimiter(path) + std::string(kCompanySettingsFile));
            return MakeSQLServerConnectionString(
                result, ini.ReadString(kDataSourceSection, kDBInstanceKey, ""),
                ini.ReadString(kDataSourceSection, kDBNameKey, ""), true, "", "");
        }
        default:
            return result;
    }
}

std::string MaskConnectionStringPasswords(std::string_view connectionString) {
    std::string result(connectionString);
    const auto pairs = ScanConnectionString(result);
    // From the last pair to the first, so that earlier positions stay right.
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
        const std::string_view key(result.data() + it->keyBegin, it->keyEnd - it->keyBegin);
        if (SameTextAscii(key, "Password") || SameTextAscii(key, "PWD")) {
            result = Replace(result, it->valueBegin, it->valueEnd, kMask);
        } else if (SameTextAscii(key, kExtendedProperties)) {
            const std::string inner = ConnectionStringValueText(result, *it);
            result = Replace(result, it->valueBegin, it->valueEnd,
                             QuoteConnectionStringValue(MaskConnectionStringPasswords(inner)));
        }
    }
    return result;
}

}  // namespace tv
