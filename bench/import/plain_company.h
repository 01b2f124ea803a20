#pragma once
// The import benchmarks' yardstick: a fresh company's database written with plain SQLite (WAL,
// synchronous NORMAL, as the kit opens it) through prepared statements. Every call is checked, so
// that a statement that fails never passes for a fast one.

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tv::bench {

class TPlainCompany {
public:
    explicit TPlainCompany(const std::string& companyFolder) {
        if (sqlite3_open((companyFolder + "/company.sqlite").c_str(), &db_) != SQLITE_OK) Fail();
        Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    }
    ~TPlainCompany() { Close(); }
    TPlainCompany(const TPlainCompany&) = delete;
    TPlainCompany& operator=(const TPlainCompany&) = delete;

    void Exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
    }
    // A statement finalized when the company closes.
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) Fail();
        statements_.push_back(statement);
        return statement;
    }
    // Runs a bound insert and makes it ready for the next values.
    void Step(sqlite3_stmt* statement) {
        if (sqlite3_step(statement) != SQLITE_DONE) Fail();
        sqlite3_reset(statement);
    }
    // Finalizes the statements and closes the database (outside the timed part, as the caller pauses).
    void Close() {
        for (sqlite3_stmt* statement : statements_) sqlite3_finalize(statement);
        statements_.clear();
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    [[noreturn]] void Fail() { throw std::runtime_error(db_ ? sqlite3_errmsg(db_) : "sqlite3_open failed"); }

    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

}  // namespace tv::bench
