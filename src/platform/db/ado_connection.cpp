#include "platform/db/ado_connection.h"

#include "platform/data/db_error.h"
#include "platform/db/connection_string.h"
#include "platform/db/foxpro_functions.h"
#include "platform/db/sqlite_runner.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"

#include <sqlite3.h>

namespace tv {

namespace {

constexpr std::string_view kOpenConnection = "Operation is not allowed when the object is open";
constexpr std::string_view kNoConnectionString = "Missing Connection or ConnectionString";
constexpr std::string_view kNoProvider = "The connection string names no provider";
constexpr std::string_view kUnknownProvider = "The provider \"%s\" is not supported";
constexpr std::string_view kNoCompanyFolder = "The connection string names no company folder";
constexpr std::string_view kNoDataSource = "The connection string names no data source";
constexpr std::string_view kMissingFolder = "The company folder \"%s\" does not exist";
constexpr std::string_view kMissingFile = "The database \"%s\" does not exist";
constexpr std::string_view kServerDatabase =
    "Server databases are not supported on this machine yet (data source \"%s\"); give the path of a "
    "database "
    "file";
constexpr std::string_view kUriName = "A database named as a URI (\"%s\") is not accepted";
constexpr std::string_view kCannotOpen = "Cannot open the database \"%s\": %s";
constexpr std::string_view kNoWal = "Cannot put the database \"%s\" into WAL mode: %s";
constexpr std::string_view kClosed = "The connection is not open";

// "VFPOLEDB.1" and "VFPOLEDB" alike.
bool IsProvider(std::string_view provider, std::string_view name) {
    if (provider.size() > 2 && provider.substr(provider.size() - 2) == ".1") provider.remove_suffix(2);
    return SameTextAscii(provider, name);
}

// A data source that names a file rather than a server: a path, or a name with a database
// file's extension.
bool IsFilePath(std::string_view source) {
    if (source.find('/') != std::string_view::npos) return true;
    const std::string upper = AsciiUpperText(source);
    for (std::string_view ext : {".SQLITE", ".SQLITE3", ".DB"})
        if (upper.size() > ext.size() && upper.compare(upper.size() - ext.size(), ext.size(), ext) == 0)
            return true;
    return false;
}

std::string CompanyDatabase(const std::string& folder) {
    if (folder.empty()) DatabaseError(kNoCompanyFolder);
    if (!DirectoryExists(folder)) DatabaseError(kMissingFolder, {folder});
    return IncludeTrailingPathDelimiter(folder) + std::string(kCompanyDatabaseName);
}

}  // namespace

const TClassInfo& TADOConnection::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TADOConnection>("TADOConnection")
            .Published("ConnectionString", &TADOConnection::ConnectionString,
                       &TADOConnection::SetConnectionString)
            .Published("Connected", &TADOConnection::Connected, &TADOConnection::SetConnected)
            .Published("LoginPrompt", &TADOConnection::LoginPrompt, &TADOConnection::SetLoginPrompt)
            .Build();
    return info;
}

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection() {
    if (db_) sqlite3_close_v2(db_);
}

void TADOConnection::SetConnectionString(std::string connectionString) {
    if (Connected()) DatabaseError(kOpenConnection);
    connectionString_ = std::move(connectionString);
}

std::string TADOConnection::ResolveDatabaseFile() const {
    const TConnectionString cs(connectionString_);
    const std::string provider = cs.Value("Provider");
    if (provider.empty()) DatabaseError(kNoProvider);
    if (IsProvider(provider, "VFPOLEDB")) return CompanyDatabase(cs.Value("Data Source"));
    if (IsProvider(provider, "MSDASQL")) {
        std::string folder = cs.Value("SourceDB");
        if (folder.empty() && cs.Has("Extended Properties"))
            folder = TConnectionString(cs.Value("Extended Properties")).Value("SourceDB");
        return CompanyDatabase(folder);
    }
    if (IsProvider(provider, "SQLOLEDB")) {
        const std::string source = cs.Value("Data Source");
        if (source.empty()) DatabaseError(kNoDataSource);
        if (!IsFilePath(source)) DatabaseError(kServerDatabase, {source});
        return source;
    }
    DatabaseError(kUnknownProvider, {provider});
}

void TADOConnection::Open() {
    if (Connected()) return;
    if (connectionString_.empty()) DatabaseError(kNoConnectionString);
    const std::string file = ResolveDatabaseFile();
    if (AsciiUpperText(file.substr(0, 5)) == "FILE:") DatabaseError(kUriName, {file});
    if (!FileExists(file)) DatabaseError(kMissingFile, {file});
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string reason = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        DatabaseError(kCannotOpen, {file, reason});
    }
    try {
        sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
        sqlite3_stmt* stmt = nullptr;
        std::string mode;
        if (sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        if (!SameTextAscii(mode, "wal")) DatabaseError(kNoWal, {file, sqlite3_errmsg(db)});
        RegisterFoxProFunctions(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    databaseFile_ = file;
}

void TADOConnection::Close() {
    if (!db_) return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3* TADOConnection::StatementHandle() const {
    if (OnBeforeStatement) OnBeforeStatement();
    return Handle();
}

sqlite3* TADOConnection::Handle() const {
    if (!db_) DatabaseError(kClosed);
    return db_;
}

void TADOConnection::ExecuteDirect(const char* sql) {
    if (sqlite3_exec(StatementHandle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        db_detail::RaiseSqliteError(db_);
}

void TADOConnection::BeginTrans() {
    ExecuteDirect("BEGIN");
}
void TADOConnection::CommitTrans() {
    ExecuteDirect("COMMIT");
}
void TADOConnection::RollbackTrans() {
    ExecuteDirect("ROLLBACK");
}

bool TADOConnection::InTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

}  // namespace tv
