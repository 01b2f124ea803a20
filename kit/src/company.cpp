#include "company.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>

#include "catalogue.h"
#include "dates.h"
#include "kit_text.h"

namespace tv::kit {

namespace {

// The kit's own tables beside the generated ones.
constexpr const char* kKitTables =
    "CREATE TABLE kit_company (name TEXT, variant INTEGER NOT NULL, program TEXT NOT NULL);\n"
    "CREATE TABLE kit_users (name TEXT NOT NULL, password TEXT NOT NULL);\n"
    "CREATE TABLE kit_faults (function TEXT NOT NULL, code INTEGER NOT NULL DEFAULT 0, message TEXT,"
    " skip INTEGER NOT NULL DEFAULT 0, times INTEGER NOT NULL DEFAULT -1);\n";

const ProgramVariant* FindVariant(int variant) {
    for (const ProgramVariant& v : kProgramVariants)
        if (v.number == variant) return &v;
    return nullptr;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Join(const std::string& folder, const char* name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Quote(const char* name) {
    return std::string("\"") + name + "\"";
}

KeyValue ReadKey(sqlite3_stmt* st, int col) {
    KeyValue k;
    switch (sqlite3_column_type(st, col)) {
        case SQLITE_INTEGER:
            k.kind = KeyValue::Int, k.i = sqlite3_column_int64(st, col);
            break;
        case SQLITE_FLOAT:
            k.kind = KeyValue::Real, k.d = sqlite3_column_double(st, col);
            break;
        case SQLITE_TEXT:
            k.kind = KeyValue::Text;
            k.s.assign(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                       static_cast<size_t>(sqlite3_column_bytes(st, col)));
            break;
        default:
            break;
    }
    return k;
}

void BindKey(sqlite3_stmt* st, int idx, const KeyValue& k) {
    switch (k.kind) {
        case KeyValue::Int:
            sqlite3_bind_int64(st, idx, k.i);
            break;
        case KeyValue::Real:
            sqlite3_bind_double(st, idx, k.d);
            break;
        case KeyValue::Text:
            sqlite3_bind_text(st, idx, k.s.data(), static_cast<int>(k.s.size()), SQLITE_TRANSIENT);
            break;
    }
}

// A value as the key expression of its field compares it.
KeyValue KeyOf(const TableDef& t, const FieldDef& f, const Value& v) {
    KeyValue k;
    switch (KeyKindOf(t, f)) {
        case KeyKind::Text:
            k.kind = KeyValue::Text, k.s = v.isNull ? "" : FoldKeyText(ApiToStored(v.text));
            break;
        case KeyKind::Flag:
            k.kind = KeyValue::Int, k.i = !v.isNull && v.flag;
            break;
        case KeyKind::Number:
            k.kind = KeyValue::Real, k.d = v.isNull ? -1e308 : v.number;
            break;
        case KeyKind::StampNumber:
            if (v.isNull)
                k.kind = KeyValue::Real, k.d = -1e308;
            else
                k.kind = KeyValue::Int, k.i = v.date + kUnixSecondsAt2000;
            break;
        case KeyKind::DateText:
            k.kind = KeyValue::Text;
            if (!v.isNull)
                k.s = (f.stamp ? DateTimeNumberToText(v.date) : DateNumberToText(v.date)).value_or("");
            break;
    }
    return k;
}

void BindStored(sqlite3_stmt* st, int idx, const TableDef& t, const FieldDef& f, const Value& v) {
    if (v.isNull) {
        sqlite3_bind_null(st, idx);
        return;
    }
    switch (f.type) {
        case FieldType::Char: {
            std::string s = ApiToStored(v.text);
            sqlite3_bind_text(st, idx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
            break;
        }
        case FieldType::Bool:
            sqlite3_bind_int(st, idx, v.flag ? 1 : 0);
            break;
        case FieldType::Date: {
            if (f.stamp && t.stampUnix) {
                sqlite3_bind_int64(st, idx, v.date + kUnixSecondsAt2000);
                break;
            }
            auto text = f.stamp ? DateTimeNumberToText(v.date) : DateNumberToText(v.date);
            if (text)
                sqlite3_bind_text(st, idx, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(st, idx);
            break;
        }
        default:
            sqlite3_bind_double(st, idx, v.number);
            break;
    }
}

Value ReadStored(sqlite3_stmt* st, int col, const TableDef& t, const FieldDef& f) {
    Value v;
    int type = sqlite3_column_type(st, col);
    if (type == SQLITE_NULL) return v;
    v.isNull = false;
    switch (f.type) {
        case FieldType::Char: {
            const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
            v.text = StoredToApi(std::string_view(s, static_cast<size_t>(sqlite3_column_bytes(st, col))));
            break;
        }
        case FieldType::Bool:
            v.flag = sqlite3_column_int(st, col) != 0;
            break;
        case FieldType::Date: {
            std::optional<int32_t> n;
            if (f.stamp && t.stampUnix) {
                int64_t secs = sqlite3_column_int64(st, col) - kUnixSecondsAt2000;
                if (secs >= 0 && secs <= INT32_MAX) n = static_cast<int32_t>(secs);
            } else {
                std::string_view s(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                   static_cast<size_t>(sqlite3_column_bytes(st, col)));
                n = f.stamp ? DateTimeTextToNumber(s) : DateTextToNumber(s);
            }
            if (n)
                v.date = *n;
            else
                v.isNull = true;
            break;
        }
        default:
            v.number = sqlite3_column_double(st, col);
            break;
    }
    return v;
}

// The value a field takes on Add when the caller set none.
Value DefaultOf(const TableDef& t, const FieldDef& f) {
    Value v;
    bool keyPart = t.pkCount > 1 && IsKeyField(t, f.no);
    if (!f.defaultValue && !keyPart) return v;
    std::string_view def = f.defaultValue ? f.defaultValue : "";
    v.isNull = false;
    switch (f.type) {
        case FieldType::Char:
            v.text = std::string(def);
            break;
        case FieldType::Bool:
            v.flag = def == "1";
            break;
        case FieldType::Date:
            if (auto n = DateTextToNumber(def))
                v.date = *n;
            else
                v.isNull = true;
            break;
        default: {
            double d = 0;
            std::from_chars(def.data(), def.data() + def.size(), d);
            v.number = d;
            break;
        }
    }
    return v;
}

// The time-stamp value of a write: the local date and time now.
Value Now() {
    Value v;
    v.isNull = false;
    v.date = NowDateTimeNumber();
    return v;
}

bool IsEmptyKey(const FieldDef& f, const Value& v) {
    if (v.isNull) return true;
    if (f.type == FieldType::Char) return FoldKeyText(ApiToStored(v.text)).empty();
    if (f.type == FieldType::Double) return v.number == 0;
    return false;
}

// A stored value as the company database gives it back: NUMERIC columns keep whole numbers as
// integers, so zero loses its sign, and a date the database cannot hold reads as none.
void ToStoredForm(const TableDef& t, const FieldDef& f, Value& v) {
    if (v.isNull) return;
    switch (f.type) {
        case FieldType::Char:
        case FieldType::Bool:
        case FieldType::Data:
        case FieldType::Unused:
            break;
        case FieldType::Date:
            if (f.stamp ? v.date < 0 : !IsValidDateNumber(v.date)) v = Value{};
            break;
        default:
            if (v.number == 0) v.number = 0;
            break;
    }
}

}  // namespace

// The SQL of one table, made once per open company.
struct Company::TableSql {
    const TableDef* table = nullptr;
    const TableDef* head = nullptr;
    std::vector<const FieldDef*> readFields;          // every stored field (all but the rows field)
    std::vector<int> columnOf;                        // by field number: its column in selectList, or -1
    mutable std::vector<std::string> keyExpressions;  // by field number, made on first use
    std::vector<Value> defaults;                      // by field number: what an unset field takes on Add
    std::string selectList;
    struct Column {
        enum Kind { ParentKey, Position, Field } kind;
        const FieldDef* field;  // the field, or the head's key field
    };
    std::vector<Column> insertColumns;
    std::string insertSql;
    std::vector<const FieldDef*> headKey;  // rows tables: the head's key fields
    std::string parentWhere;               // rows tables: "(cols) = (?, ...)"
    std::string locateSql;                 // heads and registers: rowid by key
    std::string reloadSql;                 // heads and registers: the record by rowid
    // Made on first use: per sort order, the order's key expressions; for a head, the read of its
    // rows; the statements the writes run on every call.
    mutable std::unordered_map<const SortDef*, std::vector<std::string>> orders;
    mutable std::string rowsSql;
    mutable sqlite3_stmt* insert = nullptr;
    mutable sqlite3_stmt* locate = nullptr;
    mutable sqlite3_stmt* reload = nullptr;
    mutable sqlite3_stmt* rows = nullptr;
    // Made on first use: the statements of moves and finds without filters or a range, by sort
    // order and shape (see MoveTo and Lookup).
    mutable std::map<std::pair<const SortDef*, int>, sqlite3_stmt*> moves;
    mutable std::map<std::pair<const SortDef*, int>, sqlite3_stmt*> finds;
};

Company::Company(sqlite3* db, std::string folder, Handles& handles)
    : db_(db), folder_(std::move(folder)), handles_(handles) {}

Company::~Company() {
    CommitHeld();
    for (auto& [sql, st] : statements_) sqlite3_finalize(st);
    sqlite3_close_v2(db_);
}

std::string ProgramVariantList() {
    std::string list;
    for (const ProgramVariant& v : kProgramVariants)
        list += (list.empty() ? "" : ", ") + std::to_string(v.number) + " (" + v.program + ")";
    return list;
}

int32_t Company::Create(const std::string& folder, const std::string& name, int variant,
                        std::string& message) {
    if (folder.empty()) {
        message = "no folder given";
        return ADK_ERR_NO_COMPANY;
    }
    if (!FindVariant(variant)) {
        message = "no program variant " + std::to_string(variant) + "; the variants are " + ProgramVariantList();
        return ADK_ERR_VALUE_REFUSED;
    }
    if (!IsDirectory(folder) && mkdir(folder.c_str(), 0777) != 0) {
        message = "cannot create the folder " + folder + ": " + std::strerror(errno);
        return ADK_ERR_NO_COMPANY;
    }
    std::string path = Join(folder, ADK_COMPANY_DATABASE_NAME);
    if (IsFile(path)) {
        message = path + " exists already";
        return ADK_ERR_DUPLICATE_KEY;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        return ADK_ERR_STORAGE;
    }
    std::string script = "PRAGMA journal_mode=WAL;\nBEGIN;\n";
    script += CompanyDdl();
    script += kKitTables;
    script += "PRAGMA user_version=" + std::to_string(kCompanySchemaVersion) + ";\n";
    script += "COMMIT;\n";
    char* error = nullptr;
    int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    if (rc == SQLITE_OK) {
        // The company's one record of each settings table, and what the kit tells about itself.
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, "INSERT INTO kit_company (name, variant, program) VALUES (?, ?, ?)", -1,
                                &st, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, variant);
            sqlite3_bind_text(st, 3, FindVariant(variant)->program, -1, SQLITE_STATIC);
            rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
        }
        sqlite3_finalize(st);
    }
    if (rc != SQLITE_OK) {
        message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        sqlite3_close_v2(db);
        std::remove(path.c_str());
        return ADK_ERR_STORAGE;
    }
    sqlite3_close_v2(db);
    std::string ini = Join(folder, ADK_COMPANY_SETTINGS_NAME);
    if (!IsFile(ini)) {
        std::ofstream out(ini, std::ios::binary);
        out << "[Company]\r\nExclusive=0\r\n";
        if (!out) {
            message = "cannot write " + ini;
            return ADK_ERR_STORAGE;
        }
    }
    return ADK_OK;
}

int32_t Company::Open(const std::string& folder, Handles& handles, std::unique_ptr<Company>& company,
                      std::string& message) {
    std::string path = Join(folder, ADK_COMPANY_DATABASE_NAME);
    if (folder.empty() || !IsDirectory(folder) || !IsFile(path)) {
        message = "no company database in " + folder;
        return ADK_ERR_NO_COMPANY;
    }
    sqlite3* db = nullptr;
    // The connection is only used under the kit's process-wide lock, so SQLite need not lock it again.
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        return ADK_ERR_NO_COMPANY;
    }
    std::unique_ptr<Company> c(new Company(db, folder, handles));
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* st = c->Prepare("PRAGMA user_version");
    int version = st && sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    if (st) sqlite3_reset(st);
    if (version < 0) {
        message = sqlite3_errmsg(db);
        return ADK_ERR_NO_COMPANY;
    }
    if (version != kCompanySchemaVersion) {
        message = "company database version " + std::to_string(version);
        return version > kCompanySchemaVersion ? ADK_ERR_COMPANY_NEWER : ADK_ERR_COMPANY_OLDER;
    }
    std::string checkpoint = "PRAGMA wal_autocheckpoint=" + std::to_string(kCheckpointPages);
    if (c->Exec("PRAGMA journal_mode=WAL") || c->Exec("PRAGMA synchronous=NORMAL") ||
        c->Exec("PRAGMA cache_size=-32768") || c->Exec("PRAGMA temp_store=MEMORY") ||
        c->Exec(checkpoint.c_str()) || !(c->begin_ = c->Prepare("BEGIN IMMEDIATE")) ||
        !(c->commit_ = c->Prepare("COMMIT")) || !(c->rollback_ = c->Prepare("ROLLBACK")) ||
        !(c->beginRead_ = c->Prepare("BEGIN")) || !(c->savepoint_ = c->Prepare("SAVEPOINT kit_write")) ||
        !(c->release_ = c->Prepare("RELEASE kit_write")) ||
        !(c->rollbackTo_ = c->Prepare("ROLLBACK TO kit_write"))) {
        message = c->lastError_;
        return ADK_ERR_STORAGE;
    }
    st = c->Prepare("SELECT variant, program FROM kit_company LIMIT 1");
    if (!st) {
        message = c->lastError_;
        return ADK_ERR_STORAGE;
    }
    if (sqlite3_step(st) == SQLITE_ROW) {
        c->variant_ = sqlite3_column_int(st, 0);
        const unsigned char* p = sqlite3_column_text(st, 1);
        c->programName_ = p ? reinterpret_cast<const char*>(p) : "";
    }
    sqlite3_reset(st);
    st = c->Prepare("SELECT function, code, ifnull(message, ''), skip, times FROM kit_faults");
    if (!st) {
        message = c->lastError_;
        return ADK_ERR_STORAGE;
    }
    while (sqlite3_step(st) == SQLITE_ROW)
        c->faults_[reinterpret_cast<const char*>(sqlite3_column_text(st, 0))] =
            FaultRule{sqlite3_column_int(st, 1), reinterpret_cast<const char*>(sqlite3_column_text(st, 2)),
                      sqlite3_column_int(st, 3), sqlite3_column_int(st, 4)};
    sqlite3_reset(st);
    company = std::move(c);
    return ADK_OK;
}

sqlite3_stmt* Company::Prepare(const std::string& sql) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        lastError_ = std::string(sqlite3_errmsg(db_)) + " in: " + sql.substr(0, 200);
        sqlite3_finalize(st);
        return nullptr;
    }
    statements_[sql] = st;
    return st;
}

int32_t Company::Fail(int rc) {
    lastError_ = sqlite3_errmsg(db_);
    if (NoticeHeldUndone()) return HeldWritesLost();
    return (rc & 0xff) == SQLITE_CONSTRAINT ? ADK_ERR_DUPLICATE_KEY : ADK_ERR_STORAGE;
}

int32_t Company::Exec(const char* sql) {
    char* error = nullptr;
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
    if (rc == SQLITE_OK) return ADK_OK;
    lastError_ = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    NoticeHeldUndone();
    return ADK_ERR_STORAGE;
}

const Company::TableSql& Company::Sql(const TableDef& t) {
    auto& slot = tableSql_[t.no];
    if (slot) return *slot;
    auto ts = std::make_unique<TableSql>();
    ts->table = &t;
    std::vector<std::string> parentColumns;
    if (t.parentTable >= 0) {
        ts->head = FindTable(t.parentTable);
        for (uint8_t i = 0; i < ts->head->pkCount; ++i) {
            const FieldDef* k = FindField(*ts->head, ts->head->pk[i]);
            ts->headKey.push_back(k);
            parentColumns.push_back(k->column);
            ts->insertColumns.push_back({TableSql::Column::ParentKey, k});
        }
        bool positionIsField = false;
        for (uint16_t i = 0; i < t.fieldCount; ++i)
            positionIsField |= std::strcmp(t.fields[i].column ? t.fields[i].column : "", "radnr") == 0;
        if (!positionIsField) ts->insertColumns.push_back({TableSql::Column::Position, nullptr});
        std::string lhs, rhs;
        for (size_t i = 0; i < parentColumns.size(); ++i) {
            lhs += (i ? ", " : "") + Quote(parentColumns[i].c_str());
            rhs += i ? ", ?" : "?";
        }
        ts->parentWhere = "(" + lhs + ") = (" + rhs + ")";
    }
    ts->defaults.resize(static_cast<size_t>(t.maxField) + 1);
    ts->columnOf.assign(static_cast<size_t>(t.maxField) + 1, -1);
    ts->keyExpressions.resize(static_cast<size_t>(t.maxField) + 1);
    for (uint16_t i = 0; i < t.fieldCount; ++i) {
        const FieldDef& f = t.fields[i];
        if (f.type == FieldType::Data) continue;
        ts->defaults[static_cast<size_t>(f.no)] = DefaultOf(t, f);
        ts->columnOf[static_cast<size_t>(f.no)] = static_cast<int>(ts->readFields.size());
        ts->selectList += (ts->readFields.empty() ? "" : ", ") + Quote(f.column);
        ts->readFields.push_back(&f);
        bool shared = std::find(parentColumns.begin(), parentColumns.end(), f.column) != parentColumns.end();
        if (shared) continue;
        bool position = t.parentTable >= 0 && std::strcmp(f.column, "radnr") == 0;
        ts->insertColumns.push_back({position ? TableSql::Column::Position : TableSql::Column::Field, &f});
    }
    std::string cols, marks;
    for (size_t i = 0; i < ts->insertColumns.size(); ++i) {
        const auto& c = ts->insertColumns[i];
        cols += (i ? ", " : "") +
                (c.kind == TableSql::Column::Position ? std::string("\"radnr\"") : Quote(c.field->column));
        marks += i ? ", ?" : "?";
    }
    ts->insertSql = "INSERT INTO " + Quote(t.sqlName) + " (" + cols + ") VALUES (" + marks + ")";
    if (t.pkCount) {
        std::string lhs, rhs;
        for (uint8_t i = 0; i < t.pkCount; ++i) {
            lhs += (i ? ", " : "") + KeyExpressionOf(t, *FindField(t, t.pk[i]));
            rhs += i ? ", ?" : "?";
        }
        ts->locateSql =
            "SELECT rowid FROM " + Quote(t.sqlName) + " WHERE (" + lhs + ") = (" + rhs + ") LIMIT 1";
    } else if (t.single) {
        ts->locateSql = "SELECT rowid FROM " + Quote(t.sqlName) + " ORDER BY rowid LIMIT 1";
    }
    ts->reloadSql = "SELECT " + ts->selectList + ", rowid FROM " + Quote(t.sqlName) + " WHERE rowid = ?";
    slot = std::move(ts);
    return *slot;
}

namespace {

// The fields whose key expressions order a table under a sort order (without the final rowid).
std::vector<std::string> OrderExpressions(const TableDef& t, const SortDef* sort) {
    std::vector<std::string> out;
    if (sort) {
        for (uint8_t i = 0; i < sort->orderCount; ++i)
            out.push_back(KeyExpressionOf(t, *FindField(t, sort->order[i])));
    } else if (t.parentTable >= 0) {
        const TableDef& head = *FindTable(t.parentTable);
        for (uint8_t i = 0; i < head.pkCount; ++i)
            out.push_back(KeyExpressionOf(head, *FindField(head, head.pk[i])));
        out.push_back("\"radnr\"");
    } else {
        for (uint8_t i = 0; i < t.pkCount; ++i) out.push_back(KeyExpressionOf(t, *FindField(t, t.pk[i])));
    }
    return out;
}

// The fields that order a register or head under a sort order (without the final rowid).
template <typename Visit>
void ForEachOrderField(const TableDef& t, const SortDef* sort, Visit visit) {
    if (sort)
        for (uint8_t i = 0; i < sort->orderCount; ++i) visit(*FindField(t, sort->order[i]));
    else
        for (uint8_t i = 0; i < t.pkCount; ++i) visit(*FindField(t, t.pk[i]));
}

// Whether a read folds the cursor keys from the stored columns itself instead of selecting the
// order's key expressions: always but for rows in their stored order, whose head key columns are not
// among the columns read. Folding here spares the database evaluating the expressions per read.
bool FoldsCursorKeys(const TableDef& t, const SortDef* sort) {
    return sort || t.parentTable < 0;
}

// The values of a register's or head's order expressions for a record: the cursor keys a read of the
// stored record would give.
std::vector<KeyValue> OrderKeys(const TableDef& t, const SortDef* sort, const std::vector<Value>& values) {
    std::vector<KeyValue> keys;
    ForEachOrderField(
        t, sort, [&](const FieldDef& f) { keys.push_back(KeyOf(t, f, values[static_cast<size_t>(f.no)])); });
    return keys;
}

// What the key expression of a field gives for the stored column `col` (see sql_expr.h): the folded
// text, or the column's own value with the expression's stand-in for none.
KeyValue StoredKey(sqlite3_stmt* st, int col, const TableDef& t, const FieldDef& f) {
    bool none = sqlite3_column_type(st, col) == SQLITE_NULL;
    KeyValue k;
    switch (KeyKindOf(t, f)) {
        case KeyKind::Text:
            k.kind = KeyValue::Text;
            if (!none)
                k.s = FoldKeyText(std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                               static_cast<size_t>(sqlite3_column_bytes(st, col))));
            return k;
        case KeyKind::Number:
        case KeyKind::StampNumber:
            if (none && !IsKeyField(t, f.no)) k.kind = KeyValue::Real, k.d = -1e308;
            return none ? k : ReadKey(st, col);
        case KeyKind::Flag:
            return none ? k : ReadKey(st, col);
        case KeyKind::DateText:
            k.kind = KeyValue::Text;
            return none ? k : ReadKey(st, col);
    }
    return k;
}

}  // namespace

void Company::LoadRecord(Record& r, sqlite3_stmt* st, const TableSql& ts, int64_t rowid, int keyColumn) {
    const TableDef& t = *r.table;
    std::fill(r.values.begin(), r.values.end(), Value{});
    for (size_t i = 0; i < ts.readFields.size(); ++i)
        r.values[static_cast<size_t>(ts.readFields[i]->no)] =
            ReadStored(st, static_cast<int>(i), t, *ts.readFields[i]);
    HoldStored(r, rowid);
    int count = sqlite3_column_count(st);
    for (int c = keyColumn; c < count - 1; ++c) r.cursorKeys.push_back(ReadKey(st, c));
}

void Company::HoldStored(Record& r, int64_t rowid) {
    handles_.ForgetRows(r.rows);
    r.rows.clear();
    std::fill(r.set.begin(), r.set.end(), 0);
    r.loaded = true;
    r.rowsDirty = false;
    r.hasCursor = true;
    r.cursorRowid = rowid;
    r.cursorSort = r.sort;
    r.cursorKeys.clear();
}

const std::string& Company::CachedKeyExpression(const TableDef& t, int field) {
    const TableSql& ts = Sql(t);
    std::string& e = ts.keyExpressions[static_cast<size_t>(field)];
    if (e.empty()) e = KeyExpressionOf(t, *FindField(t, field));
    return e;
}

std::string Company::Conditions(const TableDef& t, const SortDef* sort, const std::vector<Condition>& extra) {
    std::string where;
    if (sort && sort->filter != SortFilter::None)
        where += " AND " + CachedKeyExpression(t, sort->filterField) +
                 (sort->filter == SortFilter::QuantityZero ? " = 0" : " <> 0");
    for (const Condition& c : extra) where += " AND " + CachedKeyExpression(t, c.field) + " = ?";
    return where;
}

void Company::FoldCursorKeys(Record& r, sqlite3_stmt* st, const TableSql& ts) {
    const TableDef& t = *r.table;
    ForEachOrderField(t, r.sort, [&](const FieldDef& f) {
        r.cursorKeys.push_back(StoredKey(st, ts.columnOf[static_cast<size_t>(f.no)], t, f));
    });
}

sqlite3_stmt* Company::Cached(sqlite3_stmt*& slot, const std::string& sql) {
    if (!slot) return slot = Prepare(sql);
    sqlite3_reset(slot);
    sqlite3_clear_bindings(slot);
    return slot;
}

int32_t Company::LoadRows(Record& head) {
    const TableDef& t = *head.table;
    if (t.rowsTable < 0) return ADK_OK;
    const TableDef& rt = *FindTable(t.rowsTable);
    const TableSql& rs = Sql(rt);
    if (rs.rowsSql.empty())
        rs.rowsSql = "SELECT " + rs.selectList + ", rowid FROM " + Quote(rt.sqlName) + " WHERE " +
                     rs.parentWhere + " ORDER BY \"radnr\"";
    sqlite3_stmt* st = Cached(rs.rows, rs.rowsSql);
    if (!st) return ADK_ERR_STORAGE;
    for (size_t i = 0; i < rs.headKey.size(); ++i)
        BindStored(st, static_cast<int>(i + 1), t, *rs.headKey[i],
                   head.values[static_cast<size_t>(rs.headKey[i]->no)]);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        auto row = std::make_unique<Record>(rt);
        for (size_t i = 0; i < rs.readFields.size(); ++i)
            row->values[static_cast<size_t>(rs.readFields[i]->no)] =
                ReadStored(st, static_cast<int>(i), rt, *rs.readFields[i]);
        row->loaded = true;
        head.rows.push_back(std::move(row));
    }
    sqlite3_reset(st);
    return rc == SQLITE_DONE ? ADK_OK : Fail(rc);
}

const std::vector<std::string>& Company::Order(const TableDef& t, const SortDef* sort) {
    const TableSql& ts = Sql(t);
    auto it = ts.orders.find(sort);
    if (it == ts.orders.end()) it = ts.orders.emplace(sort, OrderExpressions(t, sort)).first;
    return it->second;
}

int32_t Company::ReloadByRowid(Record& r, int64_t rowid) {
    const TableDef& t = *r.table;
    const TableSql& ts = Sql(t);
    sqlite3_stmt* st = Cached(ts.reload, ts.reloadSql);
    if (!st) return ADK_ERR_STORAGE;
    sqlite3_bind_int64(st, 1, rowid);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        return rc == SQLITE_DONE ? ADK_ERR_RECORD_MISSING : Fail(rc);
    }
    LoadRecord(r, st, ts, rowid, static_cast<int>(ts.readFields.size()));
    FoldCursorKeys(r, st, ts);
    sqlite3_reset(st);
    return LoadRows(r);
}

template <typename Read>
int32_t Company::HeldRead(Read read) {
    HoldForRead();
    const int32_t rc = read();
    // A commit that fails matters more than what the read found.
    const int32_t committed = AfterHeldCall();
    return committed ? committed : rc;
}

int32_t Company::Navigate(Record& r, Move move) {
    return HeldRead([&] { return MoveTo(r, move); });
}

int32_t Company::Find(Record& r) {
    return HeldRead([&] { return Lookup(r); });
}

int32_t Company::MoveTo(Record& r, Move move) {
    const TableDef& t = *r.table;
    const TableSql& ts = Sql(t);
    const auto& order = Order(t, r.sort);
    bool forward = move == Move::First || move == Move::Next;
    bool fromCursor = (move == Move::Next || move == Move::Previous) && r.hasCursor;
    if (fromCursor && r.cursorSort != r.sort) {
        // The cursor record's keys under the order now in force.
        std::string sql = "SELECT ";
        for (const auto& e : order) sql += e + ", ";
        sql += "rowid FROM " + Quote(t.sqlName) + " WHERE rowid = ?";
        sqlite3_stmt* st = Prepare(sql);
        if (!st) return ADK_ERR_STORAGE;
        sqlite3_bind_int64(st, 1, r.cursorRowid);
        if (sqlite3_step(st) == SQLITE_ROW) {
            r.cursorKeys.clear();
            for (size_t i = 0; i < order.size(); ++i)
                r.cursorKeys.push_back(ReadKey(st, static_cast<int>(i)));
            r.cursorSort = r.sort;
        } else {
            fromCursor = false;
            r.hasCursor = false;
        }
        sqlite3_reset(st);
    }
    bool fold = FoldsCursorKeys(t, r.sort);
    // The record after (before) the cursor in the order. SQLite seeks an index only on a bound of a
    // single key expression, never on a row value of expressions with the rowid, so the first key
    // gets a bound of its own, implied by the row value: without it every move scanned the order's
    // index from its start.
    bool bounded = fromCursor && !order.empty() && !r.cursorKeys.empty();
    auto moveSql = [&] {
        std::string sql = "SELECT " + ts.selectList;
        if (!fold)
            for (const auto& e : order) sql += ", " + e;
        sql += ", rowid FROM " + Quote(t.sqlName) + " WHERE 1" + Conditions(t, r.sort, r.filters) +
               Conditions(t, nullptr, r.range);
        if (bounded) sql += " AND " + order.front() + (forward ? " >= ?" : " <= ?");
        if (fromCursor) {
            sql += " AND (";
            for (const auto& e : order) sql += e + ", ";
            sql += "rowid) " + std::string(forward ? ">" : "<") + " (";
            for (size_t i = 0; i < order.size(); ++i) sql += "?, ";
            sql += "?)";
        }
        sql += " ORDER BY ";
        for (const auto& e : order) sql += e + (forward ? "" : " DESC") + ", ";
        return sql + "rowid" + (forward ? "" : " DESC") + " LIMIT 1";
    };
    // A walk makes the same move record after record: its statement is kept by its shape, so the
    // move neither writes nor looks up its SQL again.
    sqlite3_stmt* st = nullptr;
    if (r.filters.empty() && r.range.empty()) {
        sqlite3_stmt*& kept = ts.moves[{r.sort, (fromCursor ? 1 : 0) | (bounded ? 2 : 0) | (forward ? 4 : 0)}];
        st = kept ? Cached(kept, {}) : (kept = Prepare(moveSql()));
    } else {
        st = Prepare(moveSql());
    }
    if (!st) return ADK_ERR_STORAGE;
    int idx = 1;
    for (const Condition& c : r.filters) BindKey(st, idx++, c.key);
    for (const Condition& c : r.range) BindKey(st, idx++, c.key);
    if (bounded) BindKey(st, idx++, r.cursorKeys.front());
    if (fromCursor) {
        for (const KeyValue& k : r.cursorKeys) BindKey(st, idx++, k);
        sqlite3_bind_int64(st, idx++, r.cursorRowid);
    }
    return StepAndLoad(
        r, st, ts, fold ? 0 : order.size(),
        move == Move::First || move == Move::Previous ? ADK_ERR_BEGIN_OF_TABLE : ADK_ERR_END_OF_TABLE);
}

int32_t Company::StepAndLoad(Record& r, sqlite3_stmt* st, const TableSql& ts, size_t orderCount,
                             int32_t noRecord) {
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        return rc == SQLITE_DONE ? noRecord : Fail(rc);
    }
    int keyColumn = static_cast<int>(ts.readFields.size());
    LoadRecord(r, st, ts, sqlite3_column_int64(st, keyColumn + static_cast<int>(orderCount)), keyColumn);
    if (FoldsCursorKeys(*r.table, r.sort)) FoldCursorKeys(r, st, ts);
    sqlite3_reset(st);
    return LoadRows(r);
}

int32_t Company::Lookup(Record& r) {
    const TableDef& t = *r.table;
    const TableSql& ts = Sql(t);
    std::vector<Condition> keys;
    int keysSet = 0;  // which of the order's keys the find is by, one bit each
    if (r.sort)
        for (uint8_t i = 0; i < r.sort->keyCount; ++i) {
            int f = r.sort->keys[i];
            if (!r.set[static_cast<size_t>(f)]) continue;
            keys.push_back({f, KeyOf(t, *FindField(t, f), r.values[static_cast<size_t>(f)])});
            keysSet |= 1 << i;
        }
    if (t.range) {
        r.range = keys;
        // A parcel found again with its own number set beside its order's lands on that parcel; the
        // range stays on the order, so the walk goes on from there.
        for (uint8_t i = 0; i < t.pkCount; ++i) {
            int f = t.pk[i];
            bool inKeys = false;
            for (const Condition& c : r.range) inKeys = inKeys || c.field == f;
            if (!inKeys && r.set[static_cast<size_t>(f)])
                keys.push_back({f, KeyOf(t, *FindField(t, f), r.values[static_cast<size_t>(f)])});
        }
    }
    const auto& order = Order(t, r.sort);
    bool fold = FoldsCursorKeys(t, r.sort);
    auto findSql = [&] {
        std::string sql = "SELECT " + ts.selectList;
        if (!fold)
            for (const auto& e : order) sql += ", " + e;
        sql += ", rowid FROM " + Quote(t.sqlName) + " WHERE 1" + Conditions(t, r.sort, r.filters) +
               Conditions(t, nullptr, keys) + " ORDER BY ";
        for (const auto& e : order) sql += e + ", ";
        return sql + "rowid LIMIT 1";
    };
    // A find per record repeats one shape: its statement is kept, as a move's is.
    sqlite3_stmt* st = nullptr;
    if (!t.range && r.filters.empty()) {
        sqlite3_stmt*& kept = ts.finds[{r.sort, keysSet}];
        st = kept ? Cached(kept, {}) : (kept = Prepare(findSql()));
    } else {
        st = Prepare(findSql());
    }
    if (!st) return ADK_ERR_STORAGE;
    int idx = 1;
    for (const Condition& c : r.filters) BindKey(st, idx++, c.key);
    for (const Condition& c : keys) BindKey(st, idx++, c.key);
    return StepAndLoad(r, st, ts, fold ? 0 : order.size(), ADK_ERR_NOT_FOUND);
}

int32_t Company::LocateByKey(const Record& r, int64_t& rowid, bool& found) {
    const TableDef& t = *r.table;
    const TableSql& ts = Sql(t);
    found = false;
    if (ts.locateSql.empty()) return ADK_ERR_NOT_SUPPORTED;
    sqlite3_stmt* st = Cached(ts.locate, ts.locateSql);
    if (!st) return ADK_ERR_STORAGE;
    for (uint8_t i = 0; i < t.pkCount; ++i) {
        size_t f = static_cast<size_t>(t.pk[i]);
        const Value& v = r.values[f];
        if ((!r.set[f] && !r.loaded) || v.isNull) {
            if (t.pkCount == 1) return ADK_ERR_KEY_MISSING;
            // An unset part of a longer key means its empty value, as Add stores it.
            BindKey(st, i + 1, KeyOf(t, *FindField(t, t.pk[i]), DefaultOf(t, *FindField(t, t.pk[i]))));
            continue;
        }
        BindKey(st, i + 1, KeyOf(t, *FindField(t, t.pk[i]), v));
    }
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        rowid = sqlite3_column_int64(st, 0);
        found = true;
    }
    sqlite3_reset(st);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? ADK_OK : Fail(rc);
}

int32_t Company::InsertRecord(const TableDef& t, const std::vector<Value>& values,
                              const std::vector<Value>* head, int position, int64_t& rowid) {
    const TableSql& ts = Sql(t);
    sqlite3_stmt* st = Cached(ts.insert, ts.insertSql);
    if (!st) return ADK_ERR_STORAGE;
    int idx = 1;
    for (const auto& c : ts.insertColumns) {
        switch (c.kind) {
            case TableSql::Column::ParentKey:
                BindStored(st, idx, *ts.head, *c.field, (*head)[static_cast<size_t>(c.field->no)]);
                break;
            case TableSql::Column::Position:
                sqlite3_bind_int(st, idx, position);
                break;
            case TableSql::Column::Field:
                BindStored(st, idx, t, *c.field, values[static_cast<size_t>(c.field->no)]);
                break;
        }
        ++idx;
    }
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) return Fail(rc);
    rowid = sqlite3_last_insert_rowid(db_);
    return ADK_OK;
}

int32_t Company::InsertRows(const std::vector<Value>& head, size_t from,
                            const std::vector<std::unique_ptr<Record>>& rows) {
    std::vector<Value> values;
    for (size_t i = from; i < rows.size(); ++i) {
        EffectiveValues(*rows[i], values);
        int64_t rowid;
        if (int32_t rc = InsertRecord(*rows[i]->table, values, &head, static_cast<int>(i + 1), rowid))
            return rc;
    }
    return ADK_OK;
}

void Company::EffectiveValues(const Record& r, std::vector<Value>& out) {
    const TableSql& ts = Sql(*r.table);
    out.assign(r.values.size(), Value{});
    for (const FieldDef* f : ts.readFields) {
        size_t n = static_cast<size_t>(f->no);
        out[n] = r.set[n] || r.loaded ? r.values[n] : ts.defaults[n];
    }
}

int32_t Company::NextNumber(const TableDef& t, Value& key) {
    const FieldDef& f = *FindField(t, t.pk[0]);
    auto it = lastNumbers_.find(t.no);
    if (it == lastNumbers_.end()) {
        double highest = 0;
        sqlite3_stmt* st =
            Prepare("SELECT " + Quote(f.column) + " FROM " + Quote(t.sqlName) +
                    (f.type == FieldType::Char ? "" : " ORDER BY " + Quote(f.column) + " DESC LIMIT 1"));
        if (!st) return ADK_ERR_STORAGE;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            if (f.type != FieldType::Char) {
                highest = std::max(highest, sqlite3_column_double(st, 0));
                continue;
            }
            const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            size_t n = s ? std::strlen(s) : 0;
            if (n == 0 || n > 15 || !std::all_of(s, s + n, [](char c) { return c >= '0' && c <= '9'; }))
                continue;
            highest = std::max(highest, std::strtod(s, nullptr));
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) return Fail(rc);
        it = lastNumbers_.emplace(t.no, highest).first;
    }
    double next = std::floor(it->second) + 1;
    key = Value{};
    key.isNull = false;
    if (f.type == FieldType::Char)
        key.text = std::to_string(static_cast<int64_t>(next));
    else
        key.number = next;
    return ADK_OK;
}

void Company::NoteNumber(const TableDef& t, const Value& key) {
    auto it = lastNumbers_.find(t.no);
    if (it == lastNumbers_.end() || key.isNull) return;
    double n = key.number;
    if (FindField(t, t.pk[0])->type == FieldType::Char) {
        const std::string& s = key.text;
        if (s.empty() || s.size() > 15 ||
            !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return;
        n = std::strtod(s.c_str(), nullptr);
    }
    it->second = std::max(it->second, n);
}

int32_t Company::SetRowCount(const Record& head, int64_t headRowid) {
    const TableDef& t = *head.table;
    const TableDef& rt = *FindTable(t.rowsTable);
    std::string match;
    for (uint8_t i = 0; i < t.pkCount; ++i) {
        std::string col = Quote(FindField(t, t.pk[i])->column);
        match += std::string(i ? " AND " : "") + Quote(rt.sqlName) + "." + col + " = " + Quote(t.sqlName) +
                 "." + col;
    }
    sqlite3_stmt* st =
        Prepare("UPDATE " + Quote(t.sqlName) + " SET " + Quote(FindField(t, t.countField)->column) +
                " = (SELECT count(*) FROM " + Quote(rt.sqlName) + " WHERE " + match + ") WHERE rowid = ?");
    if (!st) return ADK_ERR_STORAGE;
    sqlite3_bind_int64(st, 1, headRowid);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc == SQLITE_DONE ? ADK_OK : Fail(rc);
}

int32_t Company::StampHead(const TableDef& t, int64_t rowid) {
    if (t.stampField < 0) return ADK_OK;
    const FieldDef& f = *FindField(t, t.stampField);
    sqlite3_stmt* st =
        Prepare("UPDATE " + Quote(t.sqlName) + " SET " + Quote(f.column) + " = ? WHERE rowid = ?");
    if (!st) return ADK_ERR_STORAGE;
    BindStored(st, 1, t, f, Now());
    sqlite3_bind_int64(st, 2, rowid);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc == SQLITE_DONE ? ADK_OK : Fail(rc);
}

// One write's transaction: rolled back unless it was committed. Inside a batch or a held
// transaction a write of several statements is a savepoint, and a write of one statement runs as it
// is: a refused statement undoes itself and leaves the transaction as it was.
class Company::Transaction {
public:
    Transaction(Company& c, Statements statements) : c_(c) {
        if (c_.batch_) {
            // Inside a batch the database undid: a write now would be stored on its own.
            c_.NoticeHeldUndone();
            lost_ = c_.batchUndone_;
            if (lost_) return;
        } else if (c_.holdWrites_) {
            // After held writes were lost no write is answered as done until the loss is.
            c_.NoticeHeldUndone();
            lost_ = c_.heldLost_;
            if (lost_ || !c_.HoldForWrite()) return;
        }
        inside_ = c_.batch_ || c_.held_;
        savepoint_ = inside_ && statements == Statements::Several;
        ok_ = savepoint_ ? Run(c_.savepoint_) : inside_ || Run(c_.begin_);
        c_.unsynced_ = c_.unsynced_ || ok_;
    }
    ~Transaction() {
        if (!ok_ || done_) return;
        if (savepoint_) {
            Run(c_.rollbackTo_);
            Run(c_.release_);
        } else if (!inside_) {
            Run(c_.rollback_);
        }
    }
    bool Begun() const { return ok_; }
    // The answer of a write that could not begin.
    int32_t Refused() { return lost_ ? c_.HeldWritesLost() : c_.Fail(sqlite3_errcode(c_.db_)); }
    int32_t Commit() {
        done_ = savepoint_ ? Run(c_.release_) : inside_ || Run(c_.commit_);
        if (!done_) return c_.Fail(sqlite3_errcode(c_.db_));
        if (c_.batch_) return ADK_OK;
        if (inside_) c_.heldWritten_ = true;
        return c_.AfterHeldCall();
    }

private:
    Company& c_;
    bool ok_ = false, done_ = false, inside_ = false, savepoint_ = false, lost_ = false;
};

bool Company::Run(sqlite3_stmt* st) {
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc == SQLITE_DONE;
}

bool Company::HoldForWrite() {
    if (held_ && heldForWrite_) return true;
    if (held_ && EndHeld() != ADK_OK) return false;
    if (!Run(begin_)) return false;
    held_ = heldForWrite_ = true;
    heldCalls_ = 0;
    heldSince_ = std::chrono::steady_clock::now();
    return true;
}

void Company::HoldForRead() {
    NoticeHeldUndone();
    if (!holdWrites_ || batch_ || held_) return;
    // When it cannot be begun the read runs on its own, as it would without holding.
    if (!Run(beginRead_)) return;
    held_ = true;
    heldForWrite_ = false;
    heldCalls_ = 0;
    heldSince_ = std::chrono::steady_clock::now();
}

int32_t Company::AfterHeldCall() {
    if (!held_ || batch_) return ADK_OK;
    if (++heldCalls_ >= kMostHeldCalls || std::chrono::steady_clock::now() - heldSince_ >= kMostHeldTime) {
        if (int32_t rc = EndHeld()) return heldLost_ ? HeldWritesLost() : rc;
    }
    return ADK_OK;
}

int32_t Company::BeginBatch() {
    if (batch_) return ADK_ERR_VALUE_REFUSED;
    if (int32_t rc = CommitHeld()) return rc;
    if (int32_t rc = Exec("BEGIN IMMEDIATE")) return rc;
    batch_ = true;
    unsynced_ = true;
    return ADK_OK;
}

int32_t Company::EndBatch(bool commit) {
    if (!batch_) return ADK_ERR_VALUE_REFUSED;
    NoticeHeldUndone();
    batch_ = false;
    if (batchUndone_) {
        // Nothing of the batch is stored: an undo asked for is done, a commit is answered the loss.
        const int32_t rc = commit ? HeldWritesLost() : ADK_OK;
        batchUndone_ = false;
        return rc;
    }
    // Numbers given inside an undone batch were never stored: they are counted afresh.
    if (!commit) lastNumbers_.clear();
    return Exec(commit ? "COMMIT" : "ROLLBACK");
}

int32_t Company::HoldWrites(bool hold) {
    holdWrites_ = hold;
    return hold ? ADK_OK : CommitHeld();
}

int32_t Company::CommitHeld() {
    const int32_t rc = EndHeld();
    return heldLost_ ? HeldWritesLost() : rc;
}

int32_t Company::EndHeld() {
    NoticeHeldUndone();
    if (!held_) return ADK_OK;
    const bool written = heldWritten_;
    held_ = heldForWrite_ = heldWritten_ = false;
    heldCalls_ = 0;
    if (int32_t rc = Exec("COMMIT")) {
        // Nothing held was stored: numbers given meanwhile are counted afresh.
        std::string why = lastError_;
        Exec("ROLLBACK");
        lastError_ = why;
        lastNumbers_.clear();
        if (written && !heldLost_) {
            heldLost_ = true;
            heldLostReason_ = why;
        }
        return rc;
    }
    return ADK_OK;
}

bool Company::NoticeHeldUndone() {
    if (batch_) {
        if (batchUndone_ || !sqlite3_get_autocommit(db_)) return false;
        batchUndone_ = true;
        heldLostReason_ = sqlite3_errmsg(db_);
        lastNumbers_.clear();
        return true;
    }
    if (!held_ || !sqlite3_get_autocommit(db_)) return false;
    const bool lost = heldWritten_ && !heldLost_;
    if (lost) {
        heldLost_ = true;
        heldLostReason_ = sqlite3_errmsg(db_);
    }
    held_ = heldForWrite_ = heldWritten_ = false;
    heldCalls_ = 0;
    // Numbers given in the undone writes were never stored: they are counted afresh.
    lastNumbers_.clear();
    return lost;
}

int32_t Company::HeldWritesLost() {
    lastError_ = std::string("the database undid the ") + (batch_ || batchUndone_ ? "batch" : "held transaction") +
                 " after a failure (" + heldLostReason_ + "): writes answered as done since the last commit are not stored";
    return ADK_ERR_HELD_WRITES_LOST;
}

int32_t Company::Sync() {
    if (int32_t rc = CommitHeld()) {
        // The sync is the point before work is reported done: once it has answered the loss, the
        // work that lost it fails, and later work starts afresh.
        heldLost_ = false;
        return rc;
    }
    // Nothing to wait for when neither this connection nor another committed since the last sync:
    // an export that saves a file per record asks before every file.
    sqlite3_stmt* st = Prepare("PRAGMA data_version");
    if (!st) return ADK_ERR_STORAGE;
    const int64_t version = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_reset(st);
    if (!unsynced_ && version == syncedVersion_) return ADK_OK;
    // Every commit is in the write-ahead log (a checkpoint syncs what it copies into the database
    // before the log starts again), so the log on the disk is everything committed.
    sqlite3_file* log = nullptr;
    if (int rc = sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log); rc != SQLITE_OK)
        return Fail(rc);
    if (log && log->pMethods) {
        if (int rc = log->pMethods->xSync(log, SQLITE_SYNC_NORMAL); rc != SQLITE_OK) {
            lastError_ = "the company's write-ahead log could not be written to the disk (SQLite code " +
                         std::to_string(rc) + ")";
            return ADK_ERR_STORAGE;
        }
    }
    unsynced_ = false;
    syncedVersion_ = version;
    return ADK_OK;
}

int32_t Company::Add(Record& r) {
    const TableDef& t = *r.table;
    if (t.parentTable >= 0) return ADK_ERR_NOT_SUPPORTED;
    const TableSql& ts = Sql(t);
    std::vector<Value>& values = addValues_;
    EffectiveValues(r, values);
    if (t.single) {
        int64_t rowid;
        bool found;
        if (int32_t rc = LocateByKey(Record(t), rowid, found)) return rc;
        if (found) return ADK_ERR_DUPLICATE_KEY;
    }
    if (t.pkCount) {
        size_t key = static_cast<size_t>(t.pk[0]);
        const FieldDef& kf = *FindField(t, t.pk[0]);
        if (t.numbering && IsEmptyKey(kf, values[key])) {
            if (int32_t rc = NextNumber(t, values[key])) return rc;
        }
        bool allEmpty = true;
        for (uint8_t i = 0; i < t.pkCount; ++i)
            allEmpty &= IsEmptyKey(*FindField(t, t.pk[i]), values[static_cast<size_t>(t.pk[i])]);
        if (allEmpty || values[key].isNull) return ADK_ERR_KEY_MISSING;
    }
    if (t.stampField >= 0) values[static_cast<size_t>(t.stampField)] = Now();
    if (t.rowsTable >= 0) {
        Value& c = values[static_cast<size_t>(t.countField)];
        c = Value{};
        c.isNull = false;
        c.number = static_cast<double>(r.rows.size());
    }
    Transaction tx(*this, t.rowsTable >= 0 ? Statements::Several : Statements::One);
    if (!tx.Begun()) return tx.Refused();
    int64_t rowid;
    if (int32_t rc = InsertRecord(t, values, nullptr, 0, rowid)) return rc;
    if (t.rowsTable >= 0)
        if (int32_t rc = InsertRows(values, 0, r.rows)) return rc;
    if (int32_t rc = tx.Commit()) return rc;
    if (t.pkCount) NoteNumber(t, values[static_cast<size_t>(t.pk[0])]);
    // The structure holds the stored record with its rows and the cursor on it. The values are the
    // ones just stored, in the form a read gives them; only the rows are read back.
    for (const FieldDef* f : ts.readFields) ToStoredForm(t, *f, values[static_cast<size_t>(f->no)]);
    r.values.swap(values);
    HoldStored(r, rowid);
    r.cursorKeys = OrderKeys(t, r.sort, r.values);
    return LoadRows(r);
}

int32_t Company::LocateStored(const Record& r, int64_t& rowid) {
    if (r.table->parentTable >= 0) return ADK_ERR_NOT_SUPPORTED;
    bool found;
    if (int32_t rc = LocateByKey(r, rowid, found)) return rc;
    return found ? ADK_OK : ADK_ERR_RECORD_MISSING;
}

int32_t Company::Update(Record& r) {
    const TableDef& t = *r.table;
    int64_t rowid;
    if (int32_t rc = LocateStored(r, rowid)) return rc;
    const bool rowsChanged =
        t.rowsTable >= 0 && (r.rowsDirty || std::any_of(r.rows.begin(), r.rows.end(),
                                                        [](const auto& row) { return row->AnySet(); }));
    Transaction tx(*this, rowsChanged ? Statements::Several : Statements::One);
    if (!tx.Begun()) return tx.Refused();
    std::string sets;
    std::vector<const FieldDef*> written;
    for (uint16_t i = 0; i < t.fieldCount; ++i) {
        const FieldDef& f = t.fields[i];
        // The key identifies the record and is never rewritten: "a100 " finds "A100" and leaves it.
        if (f.type == FieldType::Data || f.no == t.countField || f.no == t.stampField ||
            IsKeyField(t, f.no) || !r.set[static_cast<size_t>(f.no)])
            continue;
        sets += (written.empty() ? "" : ", ") + Quote(f.column) + " = ?";
        written.push_back(&f);
    }
    // The time stamp is written by the same statement.
    const FieldDef* stamp = t.stampField >= 0 ? FindField(t, t.stampField) : nullptr;
    if (stamp) sets += (written.empty() ? "" : ", ") + Quote(stamp->column) + " = ?";
    if (!sets.empty()) {
        sqlite3_stmt* st = Prepare("UPDATE " + Quote(t.sqlName) + " SET " + sets + " WHERE rowid = ?");
        if (!st) return ADK_ERR_STORAGE;
        int idx = 1;
        for (const FieldDef* f : written) BindStored(st, idx++, t, *f, r.values[static_cast<size_t>(f->no)]);
        if (stamp) BindStored(st, idx++, t, *stamp, Now());
        sqlite3_bind_int64(st, idx, rowid);
        int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) return Fail(rc);
    }
    if (rowsChanged) {
        // The stored head's key (as stored) links its rows; row i of the structure changes stored
        // row i in the fields it set, rows beyond the stored ones are added.
        Record head(t);
        if (int32_t rc = ReloadByRowid(head, rowid)) return rc;
        const TableDef& rt = *FindTable(t.rowsTable);
        const TableSql& rs = Sql(rt);
        sqlite3_stmt* st = Prepare("SELECT rowid FROM " + Quote(rt.sqlName) + " WHERE " + rs.parentWhere +
                                   " ORDER BY \"radnr\"");
        if (!st) return ADK_ERR_STORAGE;
        for (size_t i = 0; i < rs.headKey.size(); ++i)
            BindStored(st, static_cast<int>(i + 1), t, *rs.headKey[i],
                       head.values[static_cast<size_t>(rs.headKey[i]->no)]);
        std::vector<int64_t> storedRows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) storedRows.push_back(sqlite3_column_int64(st, 0));
        sqlite3_reset(st);
        handles_.ForgetRows(head.rows);
        if (rc != SQLITE_DONE) return Fail(rc);
        for (size_t i = 0; i < std::min(storedRows.size(), r.rows.size()); ++i) {
            const Record& row = *r.rows[i];
            std::string rowSets;
            std::vector<const FieldDef*> rowFields;
            for (const FieldDef* f : rs.readFields) {
                if (!row.set[static_cast<size_t>(f->no)] ||
                    (rt.parentTable >= 0 && std::strcmp(f->column, "radnr") == 0))
                    continue;
                bool shared = std::any_of(rs.headKey.begin(), rs.headKey.end(), [&](const FieldDef* k) {
                    return std::strcmp(k->column, f->column) == 0;
                });
                if (shared) continue;
                rowSets += (rowFields.empty() ? "" : ", ") + Quote(f->column) + " = ?";
                rowFields.push_back(f);
            }
            if (rowFields.empty()) continue;
            sqlite3_stmt* us =
                Prepare("UPDATE " + Quote(rt.sqlName) + " SET " + rowSets + " WHERE rowid = ?");
            if (!us) return ADK_ERR_STORAGE;
            int idx = 1;
            for (const FieldDef* f : rowFields)
                BindStored(us, idx++, rt, *f, row.values[static_cast<size_t>(f->no)]);
            sqlite3_bind_int64(us, idx, storedRows[i]);
            int urc = sqlite3_step(us);
            sqlite3_reset(us);
            if (urc != SQLITE_DONE) return Fail(urc);
        }
        if (int32_t irc = InsertRows(head.values, storedRows.size(), r.rows)) return irc;
        if (int32_t crc = SetRowCount(head, rowid)) return crc;
    }
    if (int32_t rc = tx.Commit()) return rc;
    return ReloadByRowid(r, rowid);
}

int32_t Company::Delete(Record& r) {
    const TableDef& t = *r.table;
    int64_t rowid;
    if (int32_t rc = LocateStored(r, rowid)) return rc;
    Transaction tx(*this, t.rowsTable >= 0 ? Statements::Several : Statements::One);
    if (!tx.Begun()) return tx.Refused();
    if (t.rowsTable >= 0) {
        Record head(t);
        if (int32_t rc = ReloadByRowid(head, rowid)) return rc;
        handles_.ForgetRows(head.rows);
        const TableDef& rt = *FindTable(t.rowsTable);
        const TableSql& rs = Sql(rt);
        sqlite3_stmt* st = Prepare("DELETE FROM " + Quote(rt.sqlName) + " WHERE " + rs.parentWhere);
        if (!st) return ADK_ERR_STORAGE;
        for (size_t i = 0; i < rs.headKey.size(); ++i)
            BindStored(st, static_cast<int>(i + 1), t, *rs.headKey[i],
                       head.values[static_cast<size_t>(rs.headKey[i]->no)]);
        int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) return Fail(rc);
    }
    sqlite3_stmt* st = Prepare("DELETE FROM " + Quote(t.sqlName) + " WHERE rowid = ?");
    if (!st) return ADK_ERR_STORAGE;
    sqlite3_bind_int64(st, 1, rowid);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) return Fail(rc);
    if (int32_t crc = tx.Commit()) return crc;
    handles_.ForgetRows(r.rows);
    r.rows.clear();
    return ADK_OK;
}

int32_t Company::DeleteRow(Record& head, int32_t index) {
    const TableDef& t = *head.table;
    if (index < 0) return ADK_ERR_ROW_INDEX;
    auto dropFromStructure = [&](double count) {
        if (static_cast<size_t>(index) < head.rows.size()) {
            std::vector<std::unique_ptr<Record>> gone;
            gone.push_back(std::move(head.rows[static_cast<size_t>(index)]));
            handles_.ForgetRows(gone);
            head.rows.erase(head.rows.begin() + index);
        }
        const TableDef& rt = *FindTable(t.rowsTable);
        for (uint16_t i = 0; i < rt.fieldCount; ++i)
            if (rt.fields[i].column && std::strcmp(rt.fields[i].column, "radnr") == 0)
                for (size_t n = 0; n < head.rows.size(); ++n) {
                    Value& v = head.rows[n]->values[static_cast<size_t>(rt.fields[i].no)];
                    v = Value{};
                    v.isNull = false;
                    v.number = static_cast<double>(n + 1);
                }
        Value& c = head.values[static_cast<size_t>(t.countField)];
        c = Value{};
        c.isNull = false;
        c.number = count;
    };
    int64_t rowid = 0;
    bool found = false;
    int32_t located = LocateByKey(head, rowid, found);
    if (located && located != ADK_ERR_KEY_MISSING) return located;
    if (!found) {
        // A head that is not stored yet: only the structure holds its rows.
        if (static_cast<size_t>(index) >= head.rows.size()) return ADK_ERR_ROW_INDEX;
        dropFromStructure(static_cast<double>(head.rows.size() - 1));
        return ADK_OK;
    }
    Record stored(t);
    if (int32_t rc = ReloadByRowid(stored, rowid)) return rc;
    size_t count = stored.rows.size();
    handles_.ForgetRows(stored.rows);
    if (static_cast<size_t>(index) >= count) return ADK_ERR_ROW_INDEX;
    const TableDef& rt = *FindTable(t.rowsTable);
    const TableSql& rs = Sql(rt);
    Transaction tx(*this, Statements::Several);
    if (!tx.Begun()) return tx.Refused();
    const std::string table = Quote(rt.sqlName);
    const char* steps[] = {"DELETE FROM %T WHERE %P AND \"radnr\" = ?",
                           "UPDATE %T SET \"radnr\" = -(\"radnr\" - 1) WHERE %P AND \"radnr\" > ?",
                           "UPDATE %T SET \"radnr\" = -\"radnr\" WHERE %P AND \"radnr\" < ?"};
    for (int s = 0; s < 3; ++s) {
        std::string sql = steps[s];
        sql.replace(sql.find("%T"), 2, table);
        sql.replace(sql.find("%P"), 2, rs.parentWhere);
        sqlite3_stmt* st = Prepare(sql);
        if (!st) return ADK_ERR_STORAGE;
        int idx = 1;
        for (const FieldDef* k : rs.headKey)
            BindStored(st, idx++, t, *k, stored.values[static_cast<size_t>(k->no)]);
        sqlite3_bind_int(st, idx, s == 2 ? 0 : index + 1);
        int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) return Fail(rc);
    }
    if (int32_t rc = SetRowCount(stored, rowid)) return rc;
    if (int32_t rc = StampHead(t, rowid)) return rc;
    if (int32_t rc = tx.Commit()) return rc;
    dropFromStructure(static_cast<double>(count - 1));
    return ADK_OK;
}

int32_t Company::VatPercent(const std::string& article, double& percent) {
    sqlite3_stmt* st = Prepare("SELECT \"momskod\" FROM \"art\" WHERE " +
                               KeyExpressionOf(*FindTable(1), *FindField(*FindTable(1), 0)) + " = ?");
    if (!st) return ADK_ERR_STORAGE;
    std::string key = FoldKeyText(ApiToStored(article));
    sqlite3_bind_text(st, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(st);
    std::string code = rc == SQLITE_ROW && sqlite3_column_text(st, 0)
                           ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0))
                           : "";
    sqlite3_reset(st);
    if (rc == SQLITE_DONE) return ADK_ERR_RECORD_MISSING;
    if (rc != SQLITE_ROW) return Fail(rc);
    // The VAT codes of the company: 1 standard rate, 2 and 3 the reduced rates, 4 exempt.
    percent = code == "2" ? 12 : code == "3" ? 6 : code == "4" ? 0 : 25;
    return ADK_OK;
}

int32_t Company::CustomerPrice(const std::string& customer, const std::string& article, double quantity,
                               bool includingVat, double& price) {
    price = 0;
    const TableDef& kund = *FindTable(0);
    sqlite3_stmt* st = Prepare("SELECT ifnull(\"prislista\", '') FROM \"kund\" WHERE " +
                               KeyExpressionOf(kund, *FindField(kund, 0)) + " = ?");
    if (!st) return ADK_ERR_STORAGE;
    std::string key = FoldKeyText(ApiToStored(customer));
    sqlite3_bind_text(st, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(st);
    std::string list = rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
    sqlite3_reset(st);
    if (rc == SQLITE_DONE) return ADK_ERR_RECORD_MISSING;
    if (rc != SQLITE_ROW) return Fail(rc);
    double vat = 0;
    if (int32_t vrc = VatPercent(article, vat)) return vrc;
    const TableDef& pris = *FindTable(37);
    st = Prepare("SELECT \"pris\" FROM \"forspris\" WHERE " + KeyExpressionOf(pris, *FindField(pris, 0)) +
                 " = ? AND " + KeyExpressionOf(pris, *FindField(pris, 1)) +
                 " = ? AND \"antal\" <= ? ORDER BY \"antal\" DESC LIMIT 1");
    if (!st) return ADK_ERR_STORAGE;
    std::string listKey = FoldKeyText(list), articleKey = FoldKeyText(ApiToStored(article));
    sqlite3_bind_text(st, 1, listKey.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, articleKey.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(st, 3, quantity);
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) price = sqlite3_column_double(st, 0);
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc);
    if (includingVat) price *= 1 + vat / 100;
    return ADK_OK;
}

bool Company::CheckLogin(const std::string& user, const std::string& password) {
    sqlite3_stmt* st = Prepare("SELECT count(*), sum(name = ?1 AND password = ?2) FROM kit_users");
    if (!st) return false;
    sqlite3_bind_text(st, 1, user.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, password.c_str(), -1, SQLITE_TRANSIENT);
    bool ok = false;
    if (sqlite3_step(st) == SQLITE_ROW) ok = sqlite3_column_int(st, 0) == 0 || sqlite3_column_int(st, 1) > 0;
    sqlite3_reset(st);
    return ok;
}

bool Company::NextFault(const std::string& function, Fault& fault) {
    auto it = faults_.find(function);
    if (it == faults_.end()) return false;
    FaultRule& rule = it->second;
    if (rule.skip > 0) {
        --rule.skip;
        return false;
    }
    if (rule.times == 0) return false;
    if (rule.times > 0) --rule.times;
    fault.code = rule.code;
    fault.message = rule.message;
    return true;
}

}  // namespace tv::kit
