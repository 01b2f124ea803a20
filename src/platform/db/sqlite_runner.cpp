#include "platform/db/sqlite_runner.h"

#include "platform/data/db_error.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format_settings.h"

#include <sqlite3.h>

namespace tv::db_detail {

namespace {

constexpr std::string_view kForeignParameter =
    "The SQL text holds the parameter \"%s\", which is not of the form :name";
constexpr std::string_view kParameterDateFormat = "yyyy-mm-dd hh:nn:ss";

const TFormatSettings& Neutral() {
    static const TFormatSettings settings;
    return settings;
}

class Statement {
public:
    Statement(sqlite3* db, const char*& tail, const char* end) : db_(db) {
        if (sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &stmt_, &tail) != SQLITE_OK)
            RaiseSqliteError(db);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Bind(sqlite3_stmt* stmt, int index, const TParameter& parameter) {
    const Variant& v = parameter.Value();
    if (v.IsEmpty() || v.IsNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (parameter.DataType()) {
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
        case TFieldType::ftLargeint:
            sqlite3_bind_int64(stmt, index, v.AsInt64(&Neutral()));
            break;
        case TFieldType::ftBoolean:
            sqlite3_bind_int64(stmt, index, v.AsBoolean(&Neutral()) ? 1 : 0);
            break;
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
            sqlite3_bind_double(stmt, index, v.AsDouble(&Neutral()));
            break;
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            // The company database keeps date-times as this text, which sorts and compares.
            BindText(stmt, index, FormatDateTime(kParameterDateFormat, v.AsDate(&Neutral()), Neutral()));
            break;
        default:
            BindText(stmt, index, v.AsUtf8(&Neutral()));
            break;
    }
}

void ReadRow(sqlite3_stmt* stmt, int columns, std::vector<Cell>& row) {
    row.resize(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        Cell& cell = row[static_cast<size_t>(c)];
        switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                cell.kind = TValueView::Kind::Integer;
                cell.integer = sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                cell.kind = TValueView::Kind::Float;
                cell.number = sqlite3_column_double(stmt, c);
                break;
            case SQLITE_NULL:
                cell.kind = TValueView::Kind::Null;
                break;
            default: {
                cell.blob = sqlite3_column_type(stmt, c) == SQLITE_BLOB;
                const void* data = cell.blob ? sqlite3_column_blob(stmt, c) : sqlite3_column_text(stmt, c);
                const int bytes = sqlite3_column_bytes(stmt, c);
                cell.kind = TValueView::Kind::Text;
                cell.text.assign(static_cast<const char*>(data ? data : ""),
                                 data ? static_cast<size_t>(bytes) : 0);
                break;
            }
        }
    }
}

}  // namespace

void RaiseSqliteError(sqlite3* db) {
    throw EDatabaseError(sqlite3_errmsg(db));
}

ResultSet RunStatements(sqlite3* db, const TParsedSql& sql, const TParameters& parameters, int* changes) {
    if (!sql.foreignParameter.empty()) DatabaseError(kForeignParameter, {sql.foreignParameter});
    ResultSet result;
    const char* tail = sql.text.data();
    const char* end = sql.text.data() + sql.text.size();
    int changed = 0;
    while (tail < end) {
        Statement statement(db, tail, end);
        if (!statement) continue;  // blanks or a comment after the last statement
        sqlite3_stmt* stmt = statement.get();
        const int count = sqlite3_bind_parameter_count(stmt);
        for (int i = 1; i <= count; ++i)
            if (sqlite3_bind_parameter_name(stmt, i)) Bind(stmt, i, parameters.Items(i - 1));
        const int columns = sqlite3_column_count(stmt);
        if (columns > 0) {
            result = ResultSet{};
            result.hasColumns = true;
            for (int c = 0; c < columns; ++c) {
                const char* name = sqlite3_column_name(stmt, c);
                const char* declared = sqlite3_column_decltype(stmt, c);
                result.names.emplace_back(name ? name : "");
                result.declaredTypes.emplace_back(declared ? declared : "");
            }
        }
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) RaiseSqliteError(db);
            if (columns > 0) {
                result.rows.emplace_back();
                ReadRow(stmt, columns, result.rows.back());
            }
        }
        changed = sqlite3_stmt_readonly(stmt) ? 0 : sqlite3_changes(db);
    }
    if (changes) *changes = changed;
    return result;
}

}  // namespace tv::db_detail
