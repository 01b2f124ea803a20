#pragma once
// The company's SQLite file opened straight, past the kit: what the export tests check the kit
// left behind (marks) or change beneath it (faults to inject).

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace tv::test {

// Runs statements on the company's database, or reads one column of a query as "a,b,c".
class CompanyDatabase {
public:
    explicit CompanyDatabase(const std::string& company) {
        if (sqlite3_open((company + "/company.sqlite").c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open the company");
    }
    ~CompanyDatabase() { sqlite3_close(db_); }
    CompanyDatabase(const CompanyDatabase&) = delete;
    CompanyDatabase& operator=(const CompanyDatabase&) = delete;

    void Exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    std::string Column(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        std::string values;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            if (!values.empty()) values += ",";
            const unsigned char* text = sqlite3_column_text(statement, 0);
            values += text ? reinterpret_cast<const char*>(text) : "-";
        }
        sqlite3_finalize(statement);
        return values;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace tv::test
