#include "platform/db/connection_string.h"

#include "platform/data/db_error.h"
#include "platform/rtl/ascii_case.h"

namespace tv {

namespace {

constexpr std::string_view kMalformed = "The connection string is malformed at character %d";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

size_t SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

}  // namespace

std::vector<TConnectionStringPair> ScanConnectionString(std::string_view text, size_t* errorAt) {
    std::vector<TConnectionStringPair> pairs;
    size_t error = std::string_view::npos;
    auto fault = [&](size_t at) {
        if (error == std::string_view::npos) error = at;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = SkipBlanks(text, pos);
        if (start >= text.size()) break;
        if (text[start] == ';') {  // an empty pair
            pos = start + 1;
            continue;
        }
        size_t eq = start;
        while (eq < text.size() && text[eq] != '=' && text[eq] != ';') ++eq;
        if (eq >= text.size() || text[eq] == ';') {
            fault(start);
            pos = eq + 1;
            continue;
        }
        size_t keyEnd = eq;
        while (keyEnd > start && IsBlank(text[keyEnd - 1])) --keyEnd;
        if (keyEnd == start) fault(start);
        TConnectionStringPair pair{start, keyEnd, eq + 1, eq + 1, false};
        const size_t valueStart = SkipBlanks(text, eq + 1);
        if (valueStart < text.size() && (text[valueStart] == '"' || text[valueStart] == '\'')) {
            pair.quoted = true;
            const char quote = text[valueStart];
            size_t i = valueStart + 1;
            bool closed = false;
            while (i < text.size()) {
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                ++i;
            }
            if (!closed) fault(valueStart);
            const size_t after = SkipBlanks(text, i);
            if (after < text.size() && text[after] != ';') fault(after);
            size_t end = after;
            while (end < text.size() && text[end] != ';') ++end;
            pair.valueEnd = end;
            pos = end + 1;
        } else {
            size_t end = eq + 1;
            while (end < text.size() && text[end] != ';') ++end;
            pair.valueEnd = end;
            pos = end + 1;
        }
        pairs.push_back(pair);
    }
    if (errorAt) *errorAt = error;
    return pairs;
}

std::string ConnectionStringValueText(std::string_view text, const TConnectionStringPair& pair) {
    std::string_view raw = text.substr(pair.valueBegin, pair.valueEnd - pair.valueBegin);
    while (!raw.empty() && IsBlank(raw.front())) raw.remove_prefix(1);
    while (!raw.empty() && IsBlank(raw.back())) raw.remove_suffix(1);
    if (!pair.quoted || raw.empty()) return std::string(raw);
    const char quote = raw.front();
    std::string value;
    for (size_t i = 1; i < raw.size(); ++i) {
        if (raw[i] == quote) {
            if (i + 1 < raw.size() && raw[i + 1] == quote) {
                value += quote;
                ++i;
                continue;
            }
            break;
        }
        value += raw[i];
    }
    return value;
}

std::string QuoteConnectionStringValue(std::string_view value) {
    const bool needsQuotes =
        value.find(';') != std::string_view::npos || value.find('"') != std::string_view::npos ||
        (!value.empty() && (value.front() == '\'' || IsBlank(value.front()) || IsBlank(value.back())));
    if (!needsQuotes) return std::string(value);
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

TConnectionString::TConnectionString(std::string_view text) {
    size_t errorAt = std::string_view::npos;
    const auto pairs = ScanConnectionString(text, &errorAt);
    if (errorAt != std::string_view::npos) DatabaseError(kMalformed, {std::to_string(errorAt + 1)});
    for (const auto& pair : pairs)
        items_.push_back({std::string(text.substr(pair.keyBegin, pair.keyEnd - pair.keyBegin)),
                          ConnectionStringValueText(text, pair)});
}

bool TConnectionString::Has(std::string_view key) const {
    for (const auto& item : items_)
        if (SameTextAscii(item.key, key)) return true;
    return false;
}

std::string TConnectionString::Value(std::string_view key) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (SameTextAscii(it->key, key)) return it->value;
    return {};
}

}  // namespace tv
