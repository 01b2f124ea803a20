#pragma once
// ADO connection strings: "key=value" pairs parted by ";". Keys compare without regard to case;
// a value that holds ";" or quotes is written in double (or single) quotes, a quote inside doubled.
// Errors never quote the text: a connection string may hold a password.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

// One "key=value" pair as it stands in a text: the key's extent and the value's (from just after
// "=" to just before ";" or the end); `quoted` when the value, blanks aside, begins with a quote.
struct TConnectionStringPair {
    size_t keyBegin, keyEnd;
    size_t valueBegin, valueEnd;
    bool quoted;
};

// The pairs of a text, read leniently (a quote left open runs to the end); `errorAt` receives the
// position of the first fault (a pair without "=", an empty key, a quote left open, text after a
// closing quote) or npos for a well-formed text.
std::vector<TConnectionStringPair> ScanConnectionString(std::string_view text, size_t* errorAt = nullptr);

// The value text of a pair: quotes removed and inner doubled quotes made single, or the plain
// value trimmed of blanks.
std::string ConnectionStringValueText(std::string_view text, const TConnectionStringPair& pair);

// The value as it must be written into a connection string: in double quotes (inner double quotes
// doubled) when it holds ";" or a double quote, begins with a single quote or has blanks around it.
std::string QuoteConnectionStringValue(std::string_view value);

// A parsed connection string. A malformed text raises EDatabaseError "The connection string is
// malformed at character N".
class TConnectionString {
public:
    explicit TConnectionString(std::string_view text);
    bool Has(std::string_view key) const;
    // The value of the key (the last one when it is given twice), or empty.
    std::string Value(std::string_view key) const;

private:
    struct Item {
        std::string key, value;
    };
    std::vector<Item> items_;
};

}  // namespace tv
