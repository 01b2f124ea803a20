#pragma once
// The FoxPro functions that the system's default SQL uses, registered on every connection of the
// company database: val(text), the number at the start of a text.

struct sqlite3;

#include <cstdint>
#include <string_view>

namespace tv {

// VAL(): leading blanks are skipped; then an optional sign, digits, an optional "." with digits
// and an optional exponent ("1.5E3") are read up to the first other character; no digits give 0.
// A whole number that fits 64 bits stays an integer. Allocates nothing and never raises, as SQLite
// calls it from C.
struct TFoxProNumber {
    bool isInteger = true;
    std::int64_t integer = 0;
    double real = 0;
};
TFoxProNumber FoxProVal(std::string_view text) noexcept;

// Registers val() on a connection; raises EDatabaseError when SQLite refuses.
void RegisterFoxProFunctions(sqlite3* db);

}  // namespace tv
