#include "platform/db/result_fields.h"

#include "platform/data/key_compare.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/date_time.h"

#include <algorithm>
#include <limits>

namespace tv::db_detail {

namespace {

constexpr int kLongestString = 8000;

enum class Want { Auto, Integer, Largeint, Float, Currency, Text, Memo, Blob, Date, DateTime, Boolean };

bool Has(const std::string& upper, std::string_view part) {
    return upper.find(part) != std::string::npos;
}

Want FromDeclared(const std::string& declared) {
    const std::string t = AsciiUpperText(declared);
    if (t.empty()) return Want::Auto;
    if (Has(t, "DATETIME") || Has(t, "TIMESTAMP")) return Want::DateTime;
    if (Has(t, "DATE")) return Want::Date;
    if (Has(t, "BOOL") || t == "BIT") return Want::Boolean;
    if (Has(t, "MONEY") || Has(t, "CURRENCY")) return Want::Currency;
    if (Has(t, "BIGINT")) return Want::Largeint;
    if (Has(t, "INT")) return Want::Integer;
    if (Has(t, "CLOB") || Has(t, "MEMO")) return Want::Memo;
    if (Has(t, "CHAR") || Has(t, "TEXT")) return Want::Text;
    if (Has(t, "BLOB")) return Want::Blob;
    if (Has(t, "REAL") || Has(t, "FLOA") || Has(t, "DOUB") || Has(t, "NUMERIC") || Has(t, "DECIMAL"))
        return Want::Float;
    return Want::Auto;
}

// The size in "CHAR(30)", or 0.
int DeclaredSize(const std::string& declared) {
    const size_t open = declared.find('(');
    if (open == std::string::npos) return 0;
    int size = 0;
    for (size_t i = open + 1; i < declared.size() && declared[i] >= '0' && declared[i] <= '9'; ++i)
        size = std::min(size * 10 + (declared[i] - '0'), 1 << 20);
    return size;
}

struct ColumnFacts {
    bool any = false, integers = false, reals = false, texts = false, blobs = false;
    bool allIso = true, anyTime = false, fits32 = true, onlyZeroOne = true;
    size_t longest = 0;
};

ColumnFacts Inspect(const ResultSet& result, size_t column) {
    ColumnFacts f;
    for (const auto& row : result.rows) {
        const Cell& cell = row[column];
        switch (cell.kind) {
            case TValueView::Kind::Null:
                continue;
            case TValueView::Kind::Integer:
                f.integers = true;
                f.allIso = false;
                if (cell.integer < std::numeric_limits<std::int32_t>::min() ||
                    cell.integer > std::numeric_limits<std::int32_t>::max())
                    f.fits32 = false;
                if (cell.integer != 0 && cell.integer != 1) f.onlyZeroOne = false;
                f.longest = std::max<size_t>(f.longest, std::to_string(cell.integer).size());
                break;
            case TValueView::Kind::Float:
                f.reals = true;
                f.allIso = false;
                f.onlyZeroOne = false;
                f.longest = std::max<size_t>(f.longest, 24);
                break;
            case TValueView::Kind::Text: {
                (cell.blob ? f.blobs : f.texts) = true;
                f.onlyZeroOne = false;
                double value;
                bool hasTime = false;
                if (cell.blob || !ParseIsoDateTime(cell.text, value, &hasTime))
                    f.allIso = false;
                else if (hasTime)
                    f.anyTime = true;
                f.longest = std::max(f.longest, Utf8Length(cell.text));
                break;
            }
        }
        f.any = true;
    }
    return f;
}

Want Reconcile(Want want, const ColumnFacts& f) {
    const bool numbersOnly = !f.texts && !f.blobs;
    switch (want) {
        case Want::Date:
        case Want::DateTime:
            return !f.any || f.allIso ? want : Want::Auto;
        case Want::Boolean:
            return !f.reals && numbersOnly && f.onlyZeroOne ? want : Want::Auto;
        case Want::Integer:
        case Want::Largeint:
            if (!numbersOnly) return Want::Auto;
            return f.reals ? Want::Float : want;
        case Want::Float:
        case Want::Currency:
            return numbersOnly ? want : Want::Auto;
        case Want::Text:
        case Want::Memo:
            if (f.blobs) return Want::Blob;
            if (f.any && f.allIso) return Want::DateTime;
            return want;
        default:
            return want;
    }
}

}  // namespace

bool ParseIsoDateTime(std::string_view text, double& value, bool* hasTime) {
    auto digits = [&](size_t at, size_t count, int& out) {
        if (at + count > text.size()) return false;
        out = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    int year, month, day, hour = 0, minute = 0, second = 0, millisecond = 0;
    if (!digits(0, 4, year) || text.size() < 10 || text[4] != '-' || !digits(5, 2, month) || text[7] != '-' ||
        !digits(8, 2, day))
        return false;
    size_t pos = 10;
    const bool timed = pos < text.size();
    if (timed) {
        if ((text[pos] != ' ' && text[pos] != 'T') || !digits(pos + 1, 2, hour) || pos + 3 >= text.size() ||
            text[pos + 3] != ':' || !digits(pos + 4, 2, minute))
            return false;
        pos += 6;
        if (pos < text.size()) {
            if (text[pos] != ':' || !digits(pos + 1, 2, second)) return false;
            pos += 3;
        }
        if (pos < text.size()) {
            if (text[pos] != '.' || pos + 1 >= text.size() || text.size() - pos - 1 > 3) return false;
            int fraction = 0;
            if (!digits(pos + 1, text.size() - pos - 1, fraction)) return false;
            for (size_t n = text.size() - pos - 1; n < 3; ++n) fraction *= 10;
            millisecond = fraction;
        }
    }
    double date, time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, millisecond, time))
        return false;
    value = ComposeDateTime(date, time);
    if (hasTime) *hasTime = timed;
    return true;
}

std::vector<TResultField> DescribeResult(const ResultSet& result) {
    std::vector<TResultField> fields;
    for (size_t c = 0; c < result.names.size(); ++c) {
        const ColumnFacts f = Inspect(result, c);
        Want want = Reconcile(FromDeclared(result.declaredTypes[c]), f);
        if (want == Want::Auto) {
            if (f.blobs)
                want = Want::Blob;
            else if (f.texts)
                want = f.allIso && !f.integers && !f.reals ? Want::DateTime : Want::Text;
            else if (f.reals)
                want = Want::Float;
            else if (f.integers)
                want = f.fits32 ? Want::Integer : Want::Largeint;
            else
                want = Want::Text;
        }
        if (want == Want::Integer && !f.fits32) want = Want::Largeint;
        if (want == Want::DateTime && !f.anyTime && f.any) want = Want::Date;
        const int size = std::max({DeclaredSize(result.declaredTypes[c]), static_cast<int>(f.longest), 1});
        if (want == Want::Text && size > kLongestString) want = Want::Memo;

        TResultField field;
        field.column.Name = result.names[c];
        field.column.Size = 0;
        switch (want) {
            case Want::Integer:
                field.column.DataType = TFieldType::ftInteger;
                break;
            case Want::Largeint:
                field.column.DataType = TFieldType::ftLargeint;
                break;
            case Want::Float:
                field.column.DataType = TFieldType::ftFloat;
                break;
            case Want::Currency:
                field.column.DataType = TFieldType::ftCurrency;
                break;
            case Want::Boolean:
                field.column.DataType = TFieldType::ftBoolean;
                break;
            case Want::Date:
            case Want::DateTime:
                field.column.DataType = want == Want::Date ? TFieldType::ftDate : TFieldType::ftDateTime;
                field.isoDates = true;
                break;
            case Want::Memo:
                field.column.DataType = TFieldType::ftMemo;
                break;
            case Want::Blob:
                field.column.DataType = TFieldType::ftBlob;
                break;
            default:
                field.column.DataType = TFieldType::ftString;
                field.column.Size = size;
                break;
        }
        fields.push_back(std::move(field));
    }
    // Names repeated in a result (a join of two tables) get "_1", "_2" ...
    for (size_t i = 0; i < fields.size(); ++i) {
        int n = 0;
        std::string name = fields[i].column.Name;
        auto taken = [&](const std::string& candidate) {
            for (size_t j = 0; j < i; ++j)
                if (SameFieldText(fields[j].column.Name, candidate)) return true;
            return false;
        };
        while (name.empty() || taken(name)) name = fields[i].column.Name + "_" + std::to_string(++n);
        fields[i].column.Name = name;
    }
    return fields;
}

TValueView CellValue(const Cell& cell, const TResultField& field) {
    switch (cell.kind) {
        case TValueView::Kind::Null:
            return {};
        case TValueView::Kind::Integer:
            return TValueView::FromInteger(cell.integer);
        case TValueView::Kind::Float:
            return TValueView::FromFloat(cell.number);
        case TValueView::Kind::Text:
            if (field.isoDates) {
                double value = 0;
                if (ParseIsoDateTime(cell.text, value)) return TValueView::FromFloat(value);
            }
            return TValueView::FromText(cell.text);
    }
    return {};
}

}  // namespace tv::db_detail
