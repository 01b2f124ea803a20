#include "platform/db/foxpro_functions.h"

#include "platform/data/db_error.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>

namespace tv {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void Val(sqlite3_context* context, int, sqlite3_value** args) {
    switch (sqlite3_value_type(args[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(context);
        case SQLITE_INTEGER:
            return sqlite3_result_int64(context, sqlite3_value_int64(args[0]));
        case SQLITE_FLOAT:
            return sqlite3_result_double(context, sqlite3_value_double(args[0]));
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
            const int bytes = sqlite3_value_bytes(args[0]);
            const TFoxProNumber n =
                FoxProVal(std::string_view(text ? text : "", text ? static_cast<size_t>(bytes) : 0));
            if (n.isInteger) return sqlite3_result_int64(context, n.integer);
            return sqlite3_result_double(context, n.real);
        }
    }
}

}  // namespace

TFoxProNumber FoxProVal(std::string_view text) noexcept {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    bool whole = true;
    size_t digits = i - digitsStart;
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j > i + 1) {  // "12." stays the whole number 12
            digits += j - i - 1;
            whole = false;
            i = j;
        }
    }
    if (digits == 0) return {};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            whole = false;
            i = j;
        }
    }
    // from_chars reads no "+": the number starts after it.
    std::string_view number = text.substr(start, i - start);
    if (number.front() == '+') number.remove_prefix(1);
    TFoxProNumber result;
    if (whole) {
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), result.integer);
        if (error == std::errc() && end == number.data() + number.size()) return result;
    }
    result.isInteger = false;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result.real);
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: a negative exponent underflows to 0, anything else is infinite.
        const size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        result.real = tiny ? 0.0 : (number.front() == '-' ? -HUGE_VAL : HUGE_VAL);
    }
    return result;
}

void RegisterFoxProFunctions(sqlite3* db) {
    if (sqlite3_create_function_v2(db, "val", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &Val, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        DatabaseError("Cannot register the SQL function val(): %s", {sqlite3_errmsg(db)});
}

}  // namespace tv
